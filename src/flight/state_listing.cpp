#include "flight/state_listing.h"

#include <array>
#include <string>

#include "flight/state_fields.h"
#include "platform/runtime/number_text.h"

namespace zarv::flight {

std::string ListingNumber(double v) { return NumberText(v); }

namespace {

// Prints one field: numbers (and enums) as "Name value", arrays element by
// element as "Name(i) value", the wing panels field by field per panel.
struct ListingVisitor {
  std::ostream& out;
  void Line(const char* name, int index, double v) {
    out << name;
    if (index >= 0) out << '(' << index << ')';
    out << ' ' << ListingNumber(v) << '\n';
  }
  template <class T>
  void operator()(const char* name, const T& v) {
    Line(name, -1, static_cast<double>(v));
  }
  void operator()(const char* name, const std::string& v) { out << name << ' ' << v << '\n'; }
  void operator()(const char* name, aircraft::EngineKind v) {
    out << name << ' ' << aircraft::EngineKindText(v) << '\n';
  }
  template <class T, std::size_t N>
  void operator()(const char* name, const std::array<T, N>& v) {
    for (std::size_t i = 0; i < N; ++i) Line(name, static_cast<int>(i), static_cast<double>(v[i]));
  }
  void operator()(const char*, const std::array<WingPanel, kWingPanelCount + 1>& panels) {
    for (int i = 0; i <= kWingPanelCount; ++i) {
      const WingPanel& w = panels[static_cast<std::size_t>(i)];
      Line("PanelAirspeed", i, w.PanelAirspeed);
      Line("PanelPressure", i, w.PanelPressure);
      Line("Angle", i, w.Angle);
      Line("RawLift", i, w.RawLift);
      Line("IncompressibleLift", i, w.IncompressibleLift);
      Line("StalledLift", i, w.StalledLift);
      Line("Drag", i, w.Drag);
      Line("PanelLiftArea", i, w.PanelLiftArea);
      Line("PanelDragArea", i, w.PanelDragArea);
      Line("PanelLiftCoeff", i, w.PanelLiftCoeff);
      Line("PanelDragCoeff", i, w.PanelDragCoeff);
      Line("PanelHeight", i, w.PanelHeight);
      Line("PanelAspectRatio", i, w.PanelAspectRatio);
      Line("PanelLiftSlope", i, w.PanelLiftSlope);
    }
  }
};

}  // namespace

void ListFlightState(std::ostream& out, const FlightState& s) { ForEachStateField(s, ListingVisitor{out}); }

void ListAircraftData(std::ostream& out, const aircraft::AircraftData& a) {
  const auto num = [&](const char* name, double v) { out << name << ' ' << ListingNumber(v) << '\n'; };
  const auto text = [&](const char* name, const std::string& v) { out << name << ' ' << v << '\n'; };
  text("AircraftTag", a.AircraftTag);
  text("AircraftName", a.AircraftName);
  num("PilotWeight", a.PilotWeight);
  num("WingWeight", a.WingWeight);
  num("TailWeight", a.TailWeight);
  num("RearFuselageWeight", a.RearFuselageWeight);
  num("OverallLength", a.OverallLength);
  num("TailplaneArm", a.TailplaneArm);
  num("FinArm", a.FinArm);
  num("RearFuselageStiffness", a.RearFuselageStiffness);
  num("WingDeflection", a.WingDeflection);
  num("ParasiteDragArea", a.ParasiteDragArea);
  num("WingSpan", a.WingSpan);
  num("WingArea", a.WingArea);
  num("TipWashout", a.TipWashout);
  num("WingIncidence", a.WingIncidence);
  num("FlapMax", a.FlapMax);
  num("InnerDihedral", a.InnerDihedral);
  num("InnerSweep", a.InnerSweep);
  num("InnerTaper", a.InnerTaper);
  num("OuterDihedral", a.OuterDihedral);
  num("OuterSweep", a.OuterSweep);
  num("OuterTaper", a.OuterTaper);
  num("TipLength", a.TipLength);
  num("TipDihedral", a.TipDihedral);
  num("TipSweep", a.TipSweep);
  num("TipTaper", a.TipTaper);
  num("TailplaneArea", a.TailplaneArea);
  num("TailplaneIncidence", a.TailplaneIncidence);
  num("FinArea", a.FinArea);
  num("FinTilt", a.FinTilt);
  num("FinHalfSpacing", a.FinHalfSpacing);
  num("CgPosition", a.CgPosition);
  num("TailEndHeight", a.TailEndHeight);
  num("GearPosition", a.GearPosition);
  num("WingHeight", a.WingHeight);
  num("LaunchHeight", a.LaunchHeight);
  text("WingAirfoil", a.WingAirfoil);
  text("TailAirfoil", a.TailAirfoil);
  num("FinFixed", a.FinFixed);
  num("TailplaneFixed", a.TailplaneFixed);
  num("EngineCount", a.EngineCount);
  num("FuelCapacity", a.FuelCapacity);
  text("EngineFamily", a.EngineFamily);
  text("EngineModel", a.EngineModel);
  num("RollRatio", a.RollRatio);
  num("PitchRatio", a.PitchRatio);
  num("SurfaceRate", a.SurfaceRate);
  num("PitchResponse", a.PitchResponse);
  num("PitchDamping", a.PitchDamping);
  num("LaunchSpeed", a.LaunchSpeed);
  num("WindSpeed", a.WindSpeed);
  num("LaunchHeading", a.LaunchHeading);
  num("LaunchBank", a.LaunchBank);
  num("LaunchPitch", a.LaunchPitch);
  num("WindDirection", a.WindDirection);
  num("SurfacePressure", a.SurfacePressure);
  num("SurfaceTemperature", a.SurfaceTemperature);
  num("TailHoldFlag", a.TailHoldFlag);
  num("EyeHeight", a.EyeHeight);
}

}  // namespace zarv::flight
