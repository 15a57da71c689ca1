#include "flight/state_listing.h"

#include <string>
#include <string_view>
#include <type_traits>

#include "flight/state_fields.h"
#include "platform/runtime/number_text.h"

namespace zarv::flight {

std::string ListingNumber(double v) { return NumberText(v); }

// Numbers as "Name value" or "Name(i) value", texts as "Name text".
void ListFlightState(std::ostream& out, const FlightState& s) {
  ForEachStateValue(
      s,
      [&](const char* name, int index, double v) {
        out << name;
        if (index >= 0) out << '(' << index << ')';
        out << ' ' << ListingNumber(v) << '\n';
      },
      [&](const char* name, std::string_view text) { out << name << ' ' << text << '\n'; });
}

namespace {

// Every field of the record by its listed name, numbers through num and
// texts through text; A is the record or a const one.
template <typename A, typename Num, typename Text>
void VisitAircraftData(A& a, Num&& num, Text&& text) {
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

}  // namespace

void ListAircraftData(std::ostream& out, const aircraft::AircraftData& a) {
  VisitAircraftData(
      a, [&](const char* name, double v) { out << name << ' ' << ListingNumber(v) << '\n'; },
      [&](const char* name, const std::string& v) { out << name << ' ' << v << '\n'; });
}

bool SetAircraftNumber(aircraft::AircraftData& a, std::string_view name, double v) {
  bool set = false;
  VisitAircraftData(
      a,
      [&](const char* field, auto& value) {
        if constexpr (std::is_same_v<std::remove_reference_t<decltype(value)>, double>) {
          if (name == field) {
            value = v;
            set = true;
          }
        }
      },
      [](const char*, std::string&) {});
  return set;
}

}  // namespace zarv::flight
