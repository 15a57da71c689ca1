// Synthetic aircraft for the outline builder tests: the aircraft record, the
// set-up's derived values and a wing grid laid out the way the flight set-up
// lays it out, for a hand-sized light aircraft and for powered ones.
#pragma once

#include <cmath>

#include "model/outline_inputs.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::model::test {

// Wing section of the flight set-up, thickness already scaled.
inline constexpr double kWingChord[8] = {-0.75, -0.45, 0.03, 0.17, 0.25, 0.17, 0.03, -0.45};
inline constexpr double kWingThick[8] = {0, 0.085, 0.12, 0.075, 0.03, 0, 0, 0};

// Every cell, pivot and hinge of the outline is a number.
inline bool OutlineFinite(const AirframeOutline& o) {
  bool ok = true;
  const auto grid = [&ok](const auto& g) {
    for (double v : g.Cells) ok = ok && std::isfinite(v);
  };
  grid(o.FrontFuselageX), grid(o.FrontFuselageY), grid(o.FrontFuselageZ);
  grid(o.RearFuselageX), grid(o.RearFuselageY), grid(o.RearFuselageZ);
  grid(o.WingX), grid(o.WingY), grid(o.WingZ), grid(o.TailX), grid(o.TailY), grid(o.TailZ);
  grid(o.NacelleX), grid(o.NacelleY), grid(o.NacelleZ);
  for (int i = 0; i < PartPivotSet::kCount; ++i) {
    const OutlinePoint& v = o.PartPivots[i];
    ok = ok && std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
  }
  for (double v : {o.TailplaneHingeY, o.TailplaneHingeZ, o.FinHingeX, o.FinHingeY, o.OutlineZMax, o.OutlineZMin}) {
    ok = ok && std::isfinite(v);
  }
  return ok;
}

// A light aircraft (root chord 1 m, lower surface at the wing height,
// stations 3 to 8 every 1.5 m outboard) for the pod and fairing builders.
struct LightAircraft {
  aircraft::AircraftData Data;
  OutlineInputs State;
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
    const double rootX = Data.WingHeight > State.BodyHeight ? 0.001 : 1.5 * State.BodyHalfWidth;
    for (int s = 0; s < 9; ++s) {
      for (int p = 0; p < 8; ++p) {
        Outline.WingX(s, p) = s == 0 ? rootX : 0.6 + (s < 3 ? 0 : 1.5 * (s - 2));
        Outline.WingY(s, p) = kWingChord[p];
        Outline.WingZ(s, p) = kWingThick[p] * 0.8 + Data.WingHeight;
        Outline.SectionTemplate.Chordwise[static_cast<std::size_t>(p)] = kWingChord[p];
      }
    }
  }
};

struct PoweredAircraft {
  aircraft::AircraftData aircraft;
  OutlineInputs state;
  AirframeOutline outline;
  double rootChordRatio = 1.2;
};

// Wing grid: root station by configuration, stations 1 and 2 at the centre
// section's half-span, then a straight tapered panel out to the tip.
inline void FillWingGrid(PoweredAircraft& a) {
  const auto& ac = a.aircraft;
  const auto& s = a.state;
  auto& o = a.outline;
  const double c = s.MeanChord;
  const double r = a.rootChordRatio;
  const double H = ac.WingHeight;
  const double half = ac.WingSpan / 2;
  for (int p = 0; p < 8; ++p) {
    const double ch = kWingChord[p];
    const double th = kWingThick[p];
    o.SectionTemplate.Chordwise[static_cast<std::size_t>(p)] = ch;
    o.SectionTemplate.Thickness[static_cast<std::size_t>(p)] = th;
    if (ac.FinHalfSpacing > 1 && ac.CgPosition > 0.27) {
      const double f = ((ac.OverallLength - s.TailPointArm) * 0.57 + r * c * 0.75) / c;
      const double ext = (f * c - r * c) * 0.75;
      o.WingX(0, p) = s.BodyHalfWidth;
      o.WingY(0, p) = c * ch * f + ext;
      o.WingZ(0, p) = c * th * f + H;
    } else if (ac.FinHalfSpacing > 1) {
      const double f = ((ac.OverallLength - s.TailPointArm) * 0.36 + r * c * 0.75) / c;
      const double ext = (f * c - r * c) * 0.75;
      o.WingX(0, p) = s.WingRootOffset - 0.4;
      o.WingY(0, p) = ch > 0 ? 1.03 * (ext + c * ch * r) : c * ch * r;
      o.WingZ(0, p) = 1.03 * c * th * r + H;
    } else {
      o.WingX(0, p) = s.WingRootOffset;
      o.WingY(0, p) = c * ch * r;
      o.WingZ(0, p) = c * th * r + H;
    }
    for (int st = 1; st <= 2; ++st) {
      o.WingX(st, p) = s.WingRootOffset;
      o.WingY(st, p) = c * ch * r;
      o.WingZ(st, p) = c * th * r + H;
    }
    for (int st = 3; st <= 8; ++st) {
      const double f = (st - 2) / 6.0;
      const double taper = r + (0.5 - r) * f;
      o.WingX(st, p) = s.WingRootOffset + (half - s.WingRootOffset) * f;
      o.WingY(st, p) = c * ch * taper - 0.3 * f;
      o.WingZ(st, p) = H + 0.4 * f + c * th * taper;
    }
  }
}

// The set-up's derived values for a powered aircraft (tail sizes as the
// set-up computes them for one or for two fins).
inline void DeriveSetup(PoweredAircraft& a) {
  const auto& ac = a.aircraft;
  auto& s = a.state;
  s.MeanChord = ac.WingArea / ac.WingSpan;
  s.GeometricAspectRatio = ac.WingSpan * ac.WingSpan / ac.WingArea;
  if (ac.FinHalfSpacing >= 1) {
    s.FinChord = 0.8 * std::sqrt(ac.FinArea / 2);
    s.FinSweepOffset = s.FinChord * 0.9 * 0.75;
    s.TailChord = std::sqrt(ac.TailplaneArea / std::pow(s.GeometricAspectRatio, 0.8) / 0.9);
    s.TailplaneSweepOffset = std::cos(ac.OuterSweep) * ac.TailplaneArea / 2 / s.TailChord;
  } else {
    s.FinChord = std::sqrt(ac.FinArea / 2);
    s.FinSweepOffset = (ac.FinArea / 2) / s.FinChord * 1.2;
    s.TailChord = std::sqrt(ac.TailplaneArea / 3);
    s.TailplaneSweepOffset = (ac.TailplaneArea / 2) / s.TailChord * 0.9 * 0.75;
  }
  s.TailPointArm = ac.FinArm - 0.35 * s.FinSweepOffset + 0.45 * s.FinChord;
  s.WingRootOffset = ac.FinHalfSpacing > 1.0 ? ac.FinHalfSpacing : s.BodyHalfWidth;
}

enum class Config { WingRoot, Wide, Narrow, SingleFin };

inline PoweredAircraft MakeAircraft(Config config) {
  PoweredAircraft a;
  auto& ac = a.aircraft;
  auto& s = a.state;
  ac.LaunchSpeed = 120;
  ac.EngineCount = 2;
  ac.OverallLength = 16;
  ac.WingSpan = 12;
  ac.WingArea = 30;
  ac.WingHeight = 0.6;
  ac.TailplaneArm = 6;
  ac.FinArm = 6;
  ac.TailplaneArea = 6;
  ac.FinArea = 8;
  ac.FinTilt = 0.1;
  ac.OuterSweep = 0.2;
  ac.FinHalfSpacing = config == Config::SingleFin ? 0.8 : 2.0;
  ac.CgPosition = config == Config::WingRoot ? 0.2 : 0.3;
  s.BodyHeight = 1.4;
  s.BodyHalfWidth = 0.56;
  s.EngineDiameter = config == Config::Narrow ? 1.0 : 1.6;
  s.CgChordFraction = 0.3;
  s.TailProfileDrag = 0.0115;
  s.EngineType = aircraft::EngineKind::Jet;
  DeriveSetup(a);
  FillWingGrid(a);
  return a;
}

}  // namespace zarv::model::test
