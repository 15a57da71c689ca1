// A hand-sized light aircraft for the light outline builders' tests, with a
// wing grid laid out as the flight set-up lays it (root chord 1 m, lower
// surface at the wing height, stations 3 to 8 every 1.5 m outboard).
#pragma once

#include <cmath>

#include "flight/flight_state.h"
#include "model/outline.h"
#include "shell/aircraft_data.h"

namespace zarv::model::testing {

struct LightAircraft {
  shell::AircraftData Data;
  flight::FlightState State;
  AirframeOutline Outline;

  LightAircraft() {
    Data.OverallLength = 6.0;
    Data.TailplaneArm = 3.5;
    Data.FinArm = 3.6;
    Data.TailplaneArea = 1.5;
    Data.FinArea = 0.8;
    Data.TailEndHeight = 0.8;
    Data.WingHeight = 0.5;
    State.BodyHeight = 0.72;
    State.BodyHalfWidth = 0.36;
    State.MeanChord = 1.0;
    State.TailChord = 0.5;
    State.FinChord = std::sqrt(0.4);
    State.TailPointArm = 4.0;
    State.TailProfileDrag = 0.0085;
  }

  void LayWing() {
    static constexpr double kChord[8] = {-0.75, -0.45, 0.03, 0.17, 0.25, 0.17, 0.03, -0.45};
    static constexpr double kThick[8] = {0, 0.085, 0.12, 0.075, 0.03, 0, 0, 0};
    const double rootX = Data.WingHeight > State.BodyHeight ? 0.001 : 1.5 * State.BodyHalfWidth;
    for (int s = 0; s < 9; ++s) {
      for (int p = 0; p < 8; ++p) {
        Outline.WingX(s, p) = s == 0 ? rootX : 0.6 + (s < 3 ? 0 : 1.5 * (s - 2));
        Outline.WingY(s, p) = kChord[p];
        Outline.WingZ(s, p) = kThick[p] * 0.8 + Data.WingHeight;
        Outline.SectionTemplate.Chordwise[static_cast<std::size_t>(p)] = kChord[p];
      }
    }
  }

  bool OutlineFinite() const {
    const AirframeOutline& o = Outline;
    bool ok = std::isfinite(o.TailplaneHingeY) && std::isfinite(o.TailplaneHingeZ) &&
              std::isfinite(o.FinHingeX) && std::isfinite(o.FinHingeY);
    const auto grid = [&ok](const auto& g) {
      for (double v : g.Cells) ok = ok && std::isfinite(v);
    };
    grid(o.FrontFuselageX), grid(o.FrontFuselageY), grid(o.FrontFuselageZ);
    grid(o.RearFuselageX), grid(o.RearFuselageY), grid(o.RearFuselageZ);
    grid(o.WingX), grid(o.TailX), grid(o.TailY), grid(o.TailZ);
    for (int i = 0; i < PartPivotSet::kCount; ++i) {
      const OutlinePoint& v = o.PartPivots[i];
      ok = ok && std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
    }
    return ok;
  }
};

}  // namespace zarv::model::testing
