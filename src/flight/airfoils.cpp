#include "flight/airfoils.h"

#include <string_view>

#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

struct WingRow {
  std::string_view Name;
  double ProfileDrag, LiftOffset, PitchMoment, MinDragAngle, DragRise, MaxAngle;
};

// The last row's maximum angle comes from the aircraft's layout instead.
constexpr WingRow kWingRows[] = {
    {"NACA0009", 0.0085, 0, 0.0001, 0, 3.5, 13},
    {"NACA0012", 0.0115, 0, 0.0001, 0, 3.5, 13},
    {"NACA4415", 0.0149, 0.37, 0.07, 0.8, 3.5, 20},
    {"NACA4412", 0.0115, 0.4, 0.07, 0.8, 3.5, 20},
    {"NACA6412", 0.0119, 0.58, 0.13, 1.0, 3.5, 20},
    {"DAE41?", 0.0102, 0.35, 0.065, 0, 2.2, 20},
    {"FX61-126?", 0.0102, 0.35, 0.065, 0, 2.2, 20},
    {"AG-160-21?", 0.0102, 0.77, 0.165, 2.5, 2.2, 20},
    {"NACA64A510?", 0.0085, 0.35, 0.05, 1.5, 1.8, 25},
    {"NACA64A710?", 0.009, 0.55, 0.07, 1.5, 1.8, 25},
    {"NACA64A210?", 0.0085, 0.2, 0.02, 0, 1.8, 25},
    {"NACA64A205?", 0.0052, 0.1, 0.02, 1.0, 1.2, 20},
    {"NACA64A005?", 0.0047, 0, 0.001, 0, 1.2, 15},
};
constexpr std::string_view kLeadingEdgeFlapAirfoil = "NACA64A105LE?";

struct TailRow {
  std::string_view Name;
  double ProfileDrag, LiftOffset, MinDragAngle, DragRise;
};

constexpr TailRow kTailRows[] = {
    {"NACA0009", 0.0085, 0, 0, 3.5},       {"NACA0012", 0.0115, 0, 0, 3.5},
    {"NACA4412", 0.0115, 0.4, 0, 3.5},     {"NACA4415", 0.0149, 0.37, 0, 3.5},
    {"NACA6412", 0.0119, 0.58, 1.0, 3.5},  {"DAE41?", 0.0102, 0.35, 0, 2.2},
    {"FX61-126?", 0.0102, 0.35, 0, 2.2},   {"NACA64A510?", 0.0085, 0.35, 1.5, 1.8},
    {"NACA64A710?", 0.009, 0.55, 1.5, 1.8}, {"NACA64A210?", 0.0085, 0.2, 1.5, 1.8},
    {"NACA64A205?", 0.0052, 0.1, 1.0, 1.2}, {"NACA64A005?", 0.0047, 0, 0, 1.2},
};

}  // namespace

AirfoilLookup SetAirfoilCoefficients(FlightState& s, const aircraft::AircraftData& a) {
  AirfoilLookup found;
  s.Airfoils.WingProfileDrag = 1.0;
  s.Airfoils.TailProfileDrag = 1.0;

  for (const WingRow& row : kWingRows) {
    if (a.WingAirfoil != row.Name) continue;
    s.Airfoils.WingProfileDrag = row.ProfileDrag;
    s.Airfoils.WingLiftOffset = row.LiftOffset;
    s.Airfoils.WingPitchMoment = row.PitchMoment;
    s.Airfoils.WingMinDragAngle = row.MinDragAngle;
    s.Airfoils.WingDragRise = row.DragRise;
    s.Airfoils.MaxAngleOfAttack = row.MaxAngle;
    found.WingFound = true;
  }
  if (a.WingAirfoil == kLeadingEdgeFlapAirfoil) {
    s.Airfoils.WingProfileDrag = 0.005;
    s.Airfoils.WingLiftOffset = 0.05;
    s.Airfoils.WingPitchMoment = 0.01;
    s.Airfoils.WingMinDragAngle = 0.5;
    s.Airfoils.WingDragRise = 1.0;
    s.Airfoils.LeadingEdgeFlaps = 1;
    double angle;
    if (a.TailplaneArm > 0) {
      angle = s.Engine.TvcCapability == 1 ? 35 : 30;
    } else {
      angle = a.CgPosition < 0 ? 20 : 30;
    }
    if (a.EngineModel == "F119-PW100" && angle >= 30) angle = 60;
    s.Airfoils.MaxAngleOfAttack = angle;
    found.WingFound = true;
  }

  if (a.FinHalfSpacing < 1 && s.Airfoils.MaxAngleOfAttack > 25) s.Airfoils.MaxAngleOfAttack = 25;
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    s.Airfoils.MaxAngleOfAttack = 18;
    s.Airfoils.PistonTorqueFactor = s.Engine.EngineRating / (s.Engine.RatedRpm * 6.28) / 2;
  } else if (s.Engine.EngineType == aircraft::EngineKind::Rocket && s.Masses.DryMass > 19000) {
    s.Airfoils.MaxAngleOfAttack = 50;
  }

  for (const TailRow& row : kTailRows) {
    if (a.TailAirfoil != row.Name) continue;
    s.Airfoils.TailProfileDrag = row.ProfileDrag;
    s.Airfoils.TailLiftOffset = row.LiftOffset;
    s.Airfoils.TailMinDragAngle = row.MinDragAngle;
    s.Airfoils.TailDragRise = row.DragRise;
    found.TailFound = true;
  }

  // A tailplane behind the wing flies its camber upside down; a canard keeps it.
  const int sign = Sgn(a.TailplaneArm);
  s.Airfoils.TailLiftOffset = sign == 0 ? 0.0 : -sign * s.Airfoils.TailLiftOffset;
  double w = -sign * s.Airfoils.TailDragRise;
  if (w < 1) w = 1;
  const double y = 5 / (w * w);
  s.Airfoils.TailDragRiseLimit = y * 100;
  s.Airfoils.TailDragRise = y * s.Airfoils.TailProfileDrag * 90;
  return found;
}

}  // namespace zarv::flight
