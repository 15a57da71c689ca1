#include "flight/flight_load.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "flight/aircraft_setup.h"
#include "flight/airfoils.h"
#include "flight/characteristic_charts.h"
#include "flight/engines.h"
#include "flight/state_fields.h"
#include "model/outline_print.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Half-width of the wing's centre section as the set-up first takes it.
double InitialCentreHalfSpan(const aircraft::AircraftData& a) {
  if (a.WingSpan < 3 && a.FinHalfSpacing == 0) return 0.05;
  if (a.WingSpan < 10 && a.FinHalfSpacing == 0) return 0.4;
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) return (std::fabs(a.InnerDihedral) > 0 && a.WingHeight > 1.2) ? 0.2 : 1.5;
  return a.FinHalfSpacing;
}

// Root chord / mean chord that makes the planform's area the wing area
// (tapers as read, relative to the root chord).
double RootChordRatioOf(const aircraft::AircraftData& a, double centreHalfSpan) {
  const double b = a.WingSpan;
  const double t = a.TipLength;
  const double c = centreHalfSpan;
  const double span = b / 2 - t - c;
  const double half = c + span * (1 + a.InnerTaper) / 4 + span * (a.InnerTaper + a.OuterTaper) / 4 +
                      t * (a.OuterTaper + a.TipTaper) / 2;
  return b / (2 * half);
}

// A throttle already open at the load idles for a start above the water; a
// powered aircraft's is judged on its height as filed, so one filed a few
// metres up idles although it starts on the water.
bool IdlesAtLoad(const aircraft::AircraftData& a, double filedHeight) {
  return aircraft::StartsAboveSurface(a) || (aircraft::LaunchAbove10(a.LaunchSpeed) && filedHeight > 0);
}

std::string Refusal(const std::string& field, const std::string& problem) {
  return "機体データの「" + field + "」" + problem + "ため、この機体では飛行できません。";
}

}  // namespace

// The quantities are named as the probe's set-up listing names them; texts are skipped.
std::string CheckDerivedQuantities(const FlightState& s, const model::AirframeOutline& o,
                                   const ModelEvaluation& chart) {
  std::string name;
  ForEachStateValue(
      s,
      [&](const char* field, int index, double v) {
        if (!name.empty() || std::isfinite(v)) return;
        name = index < 0 ? std::string(field) : std::string(field).append("(").append(std::to_string(index)).append(")");
      },
      [](const char*, std::string_view) {});
  if (name.empty()) name = model::FirstNonFiniteLine(o);
  const std::pair<const char*, double> chartValues[] = {{"MaxLiftAngle", chart.MaxLiftAngle},
                                                        {"LiftAtBestGlide", chart.LiftAtBestGlide},
                                                        {"ReferenceSpeed", chart.ReferenceSpeed},
                                                        {"TailAngleFactor", chart.TailAngleFactor}};
  for (const auto& [field, v] : chartValues)
    if (name.empty() && !std::isfinite(v)) name = field;
  if (name.empty()) return {};
  return "機体データから求めた「" + name + "」が有限の値にならないため、この機体では飛行できません。";
}

std::string CheckAircraftForFlight(const aircraft::AircraftData& a) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  if (!(a.WingSpan > 0)) return Refusal("主翼幅(ｍ)", "が 0 以下の");
  if (!(a.WingArea > 0)) return Refusal("主翼面積(㎡)", "が 0 以下の");
  const std::string pilot = powered ? "前部胴体重量(kg)" : "パイロット重量(kg)";
  if (a.PilotWeight == 0) return Refusal(pilot, "が 0 の");
  const double dryMass = a.TailWeight + a.WingWeight + a.RearFuselageWeight + a.PilotWeight;
  if (!(dryMass > 0)) return Refusal(pilot + "・主翼重量・尾翼重量・後部胴体重量", "の合計が 0 以下の");
  if (!(dryMass + a.FuelCapacity > 0)) return Refusal("Fuel(kg)", "を加えた総重量が 0 以下の");
  if (a.TailplaneArea != 0 && a.TailplaneArm == 0) {
    return Refusal("水平尾翼モーメントアーム(ｍ)", "が 0 で水平尾翼面積が 0 でない");
  }
  if (a.FinArea != 0 && a.FinArm == 0) {
    return Refusal("垂直尾翼モーメントアーム(ｍ)", "が 0 で垂直尾翼面積が 0 でない");
  }
  if (!(a.WingSpan / 2 - InitialCentreHalfSpan(a) - a.TipLength > 0)) {
    return Refusal("主翼幅(ｍ)", "が中央部と翼端部の幅に足りない");
  }
  const double r = RootChordRatioOf(a, InitialCentreHalfSpan(a));
  if (!std::isfinite(r) || r <= 0) return Refusal("内翼テーパー比・外翼テーパー比・翼端部長さ", "から翼弦が求まらない");
  if (a.InnerTaper * r == 0) return Refusal("内翼テーパー比", "が 0 の");
  if (a.OuterTaper * r == 0) return Refusal("外翼テーパー比", "が 0 の");
  return {};
}

void ClampSurfaceConditions(aircraft::AircraftData& a) {
  if (!(a.SurfaceTemperature >= -20)) a.SurfaceTemperature = std::isnan(a.SurfaceTemperature) ? 15 : -20;
  if (a.SurfaceTemperature > 50) a.SurfaceTemperature = 50;
  if (!(a.SurfacePressure >= 700)) a.SurfacePressure = std::isnan(a.SurfacePressure) ? 1013 : 700;
  if (a.SurfacePressure > 1050) a.SurfacePressure = 1050;
}

double SurfaceRateAtLoad(const aircraft::AircraftData& a) {
  if (a.SurfaceRate != 0) return a.SurfaceRate;
  return std::min(30 / (std::sqrt(a.TailplaneArea) + 5) * kDegreesPerRadian, 60.0);
}

FlightLoadResult PrepareFlightScreenLoad(aircraft::AircraftData& a, FlightState& s, model::AirframeOutline& o,
                                         ModelEvaluation& chart) {
  FlightLoadResult result;
  result.RefusalMessage = CheckAircraftForFlight(a);
  if (!result.RefusalMessage.empty()) {
    result.Accepted = false;
    return result;
  }
  ClampSurfaceConditions(a);
  // From here on the flight's own height: with no platform under it a light
  // aircraft starts afloat exactly as one filed at 0 does.
  const double filedHeight = a.LaunchHeight;
  a.LaunchHeight = aircraft::LaunchHeightFlown(a);

  // Launch attitude.
  s.Body.BankAngle = a.LaunchBank;
  s.Body.Heading = a.LaunchHeading;
  s.Body.PitchAngle = a.LaunchPitch;
  s.Air.WindDirectionAtLoad = a.WindDirection;

  // The screen's set-up: masses, engine and airfoils, centre section, chords.
  s.Masses.DryMass = a.TailWeight + a.WingWeight + a.RearFuselageWeight + a.PilotWeight;
  // An engine the catalogue does not list, or none at all, gives no rating:
  // the aircraft flies without thrust.
  LookUpEngine(s, a);
  const AirfoilLookup airfoils = SetAirfoilCoefficients(s, a);
  if (!airfoils.WingFound) result.Notices.push_back("主翼翼型「" + a.WingAirfoil + "」は翼型表にありません。");
  if (!airfoils.TailFound) result.Notices.push_back("水平尾翼翼型「" + a.TailAirfoil + "」は翼型表にありません。");
  if (s.Airfoils.WingProfileDrag < 0.0001) s.Airfoils.WingProfileDrag = 0.0001;
  double width = s.Airfoils.WingDragRise;
  if (width < 1) width = 1;
  const double y = 5 / (width * width);
  s.Airfoils.WingDragRiseLimit = y * 100;
  s.Airfoils.WingDragRise = y * s.Airfoils.WingProfileDrag * 90;
  s.Engine.RatedRpm = s.Engine.GearRatio * s.Engine.RatedRpm / 60;
  if (s.Engine.Throttle > 0 && IdlesAtLoad(a, filedHeight)) s.Engine.Throttle = 0.096;
  s.Setup.WingRootOffset = InitialCentreHalfSpan(a);
  s.Setup.RootChordRatio = RootChordRatioOf(a, s.Setup.WingRootOffset);
  a.InnerTaper *= s.Setup.RootChordRatio;
  a.OuterTaper *= s.Setup.RootChordRatio;
  if (a.TipLength == 0) {
    a.TipTaper = a.OuterTaper;
  } else {
    a.TipTaper *= s.Setup.RootChordRatio;
  }

  // Engine and record state.
  a.FlapMax = a.FlapMax / 300;
  s.Engine.EngineSpeedRatio = std::sqrt(s.Engine.Throttle);
  s.Engine.AfterburnerLevel = 1.0;
  s.Engine.Thrust = 0;
  s.Loop.FlightTime = 0;

  // Airfoils in working form.
  s.Airfoils.WingLiftOffset = s.Airfoils.WingLiftOffset / 6.28;
  s.Airfoils.WingAngleOffset = -0.3 * s.Airfoils.WingLiftOffset;
  s.Airfoils.WingAngleOffsetNow = s.Airfoils.WingAngleOffset;
  s.Airfoils.WingLiftOffset = 1.3 * s.Airfoils.WingLiftOffset;
  s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset;
  s.Airfoils.WingMinDragAngle = s.Airfoils.WingMinDragAngle / kDegreesPerRadian;
  s.Airfoils.MaxAngleOfAttack = s.Airfoils.MaxAngleOfAttack / kDegreesPerRadian;
  s.Airfoils.TailLiftOffset = s.Airfoils.TailLiftOffset / 6.28;
  s.Airfoils.TailAngleOffset = -0.3 * s.Airfoils.TailLiftOffset;
  s.Airfoils.TailLiftOffset = 1.3 * s.Airfoils.TailLiftOffset;
  s.Air.DensityRatio = 1.0;

  // Dihedral terms (the dihedrals as read), atmosphere start values.
  const double b = a.WingSpan;
  const double area = a.WingArea;
  const double rise = 2 * a.WingHeight / b;
  s.Setup.InnerDihedralSin = std::sin(a.InnerDihedral - rise);
  s.Setup.InnerDihedralCos = std::cos(a.InnerDihedral - rise);
  s.Setup.OuterDihedralSin = std::sin(a.OuterDihedral - rise);
  s.Setup.OuterDihedralCos = std::cos(a.OuterDihedral - rise);
  s.Setup.TipDihedralSin = std::sin(a.TipDihedral - rise);
  s.Setup.TipDihedralCos = std::cos(a.TipDihedral - rise);
  s.Loop.StepsPerSecond = 24;
  s.Air.AirTemperature = 280;
  s.Air.AirDensity = 354.025 / 306 * 1025 / 1013;

  // Wing panels.
  const double chord = area / b;
  const double h = s.Setup.WingRootOffset;
  const double r = s.Setup.RootChordRatio;
  const double t = a.TipLength;
  const double p = (b / 2 - t - h) / 2;
  const double li = a.InnerTaper, lo = a.OuterTaper, lt = a.TipTaper;
  s.Setup.CentrePanelArea = chord * r * 2 * h;
  s.Setup.InnerPanelArea = (li + r) * chord / 2 * p;
  s.Setup.OuterPanelArea = (lo + li) * chord / 2 * p;
  s.Setup.TipPanelArea = (lt + lo) * chord / 2 * t;
  s.Setup.InnerPanelSpanPos = (li / (6 * r) + 1.0 / 3) * p + h;
  s.Setup.OuterPanelSpanPos = (lo / (6 * li) + 1.0 / 3) * p + p + h;
  s.Setup.TipPanelSpanPos = (lt / (6 * lo) + 1.0 / 3) * t + b / 2 - t;
  s.Setup.InnerPanelSweepOffset = (s.Setup.InnerPanelSpanPos - h) * std::tan(a.InnerSweep);
  s.Setup.OuterPanelSweepOffset = (s.Setup.OuterPanelSpanPos - h - p) * std::tan(a.OuterSweep) + p * std::tan(a.InnerSweep);
  s.Setup.TipPanelSweepOffset = p * std::tan(a.OuterSweep) + p * std::tan(a.InnerSweep) +
                          (s.Setup.TipPanelSpanPos - (b / 2 - t)) * std::tan(a.TipSweep);

  // Masses and the pilot position for a quarter-chord centre of gravity.
  s.Masses.FuelQuantity = a.FuelCapacity;
  s.Setup.HalfWashout = a.TipWashout / 2;
  s.Masses.DryMass = a.TailWeight + a.WingWeight + a.RearFuselageWeight + a.PilotWeight;
  s.Masses.InitialDryMass = s.Masses.DryMass;
  s.Masses.Mass = s.Masses.DryMass + a.FuelCapacity;
  s.Masses.StructureMoment = (b / 2 - 3) * a.WingWeight / b * s.Setup.InnerPanelSweepOffset +
                      0.4 * a.WingWeight * s.Setup.OuterPanelSweepOffset + a.TailplaneArm * a.RearFuselageWeight / 2 +
                      a.TailplaneArm * a.TailWeight;
  const double acOffset = (2 * s.Setup.InnerPanelArea * s.Setup.InnerPanelSweepOffset +
                           2 * s.Setup.OuterPanelArea * s.Setup.OuterPanelSweepOffset +
                           2 * s.Setup.TipPanelArea * s.Setup.TipPanelSweepOffset) /
                          area;
  s.Masses.CgChordFraction = acOffset / chord + a.CgPosition;
  s.Masses.PilotArm = (-s.Masses.StructureMoment - chord * (0.25 - s.Masses.CgChordFraction) * s.Masses.DryMass) / a.PilotWeight;
  s.Masses.TrimPosition = s.Masses.PilotArm;
  s.Controls.ElevatorCommand = 0;
  s.Controls.ElevatorAngle = s.Controls.ElevatorDemand = a.TailplaneIncidence / kDegreesPerRadian;
  s.Setup.WingIncidenceRad = a.WingIncidence / kDegreesPerRadian;
  s.Controls.RudderAngle = 0;
  s.Body.TrackAngle = s.Body.Heading;
  s.Body.Altitude = a.LaunchHeight;
  s.Body.RollRate = 0;
  s.Pilot.TakeoffRunAcceleration = -50;
  s.Setup.InnerSweepCos = std::cos(a.InnerSweep);
  s.Setup.OuterSweepCos = std::cos(a.OuterSweep);
  s.Setup.TipSweepCos = std::cos(a.TipSweep);
  s.Setup.SweepAreaFactor = (s.Setup.CentrePanelArea + 2 * s.Setup.InnerSweepCos * s.Setup.InnerPanelArea +
                       2 * s.Setup.OuterSweepCos * s.Setup.OuterPanelArea + 2 * s.Setup.TipSweepCos * s.Setup.TipPanelArea) /
                      area;
  s.Setup.GeometricAspectRatio = b * b / area;
  s.Controls.AileronAngle = 0;
  if (a.FuelCapacity == 0) {
    s.Masses.TrimCentre = s.Masses.TrimPosition = s.Masses.PilotArm;
    s.Masses.TrimStep = a.TailplaneArea == 0 ? 0.01 : 0.02;
    s.Masses.TrimMax = s.Masses.PilotArm + 15 * s.Masses.TrimStep;
    s.Masses.TrimMin = s.Masses.PilotArm - 7 * s.Masses.TrimStep;
  } else {
    s.Masses.TrimCentre = s.Masses.TrimPosition = (s.Masses.CgChordFraction - 0.25) * chord;
    s.Masses.TrimStep = chord / 100 * s.Masses.Mass / a.FuelCapacity;
    s.Masses.TrimMax = s.Masses.TrimCentre + 10 * s.Masses.TrimStep;
    s.Masses.TrimMin = s.Masses.TrimCentre - 10 * s.Masses.TrimStep;
  }
  s.Body.StartRadius = 10 - 1.25 * a.LaunchSpeed;
  if (s.Body.StartRadius < 0.001) s.Body.StartRadius = 0.001;
  s.Body.AirSpeed = 0.01;
  s.Body.Heading = s.Body.TrackAngle;
  s.Loop.TimeMark = 0;
  s.Masses.WingAcOffset = acOffset;

  // Derived airframe quantities and the outline.
  result.Builder = PrepareAircraftForFlight(a, s, o);
  if (!(a.WingSpan / 2 - s.Setup.WingRootOffset - a.TipLength > 0)) {
    // The centre section widened to the body, the engines or the fins.
    result.Accepted = false;
    result.RefusalMessage = Refusal("主翼幅(ｍ)", "が胴体・エンジン・垂直尾翼の間隔と翼端部の幅に足りない");
    return result;
  }

  s.Loop.TimeMark = CheckedRound<int64_t>(static_cast<double>(timeGetTime()) / 1000);
  s.Loop.PassesThisSecond = 0;
  a.SurfaceRate = SurfaceRateAtLoad(a);

  const double ar = s.Setup.GeometricAspectRatio;
  s.Aero.EffectiveAspectRatio = b * b / area;
  s.Air.DynamicPressure = 0.001;
  s.Air.TotalDragArea = 0.001;
  s.Air.EyeAltitude = aircraft::LaunchAbove10(a.LaunchSpeed) ? 2.0 : s.Setup.DihedralRise + s.Body.Altitude - a.EyeHeight;
  s.Aero.EffectiveAspectRatio = ar;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    s.Wing.Panels[i].PanelAspectRatio = ar;
    s.Wing.Panels[i].PanelLiftSlope = 1.0;
  }
  s.Aero.LiftSlope = 1.0;
  s.Aero.TailLiftSlope = 1.0;
  s.Aero.ReynoldsFactor = 1.0;
  s.Aero.TailReynoldsFactor = 1.0;
  s.Aero.MachFactor = 1.0;
  s.Aero.MachFactorTransonic = 1.0;
  s.Aero.LiftSlopeMachFactor = 1.0;
  s.Loop.PassCount = 0;
  s.Loop.DisplayDivisor = 4;

  // Centre of gravity along the body axis; the light aircraft's term in the
  // pitch sine sees the sine as it stands before the launch attitude is set.
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) {
    s.Masses.CgX = (((s.Setup.DragAreaLength / 2 - s.Setup.DihedralRise) * s.Body.PitchSin + s.Masses.TrimCentre) * a.PilotWeight +
             s.Masses.StructureMoment) /
            s.Masses.Mass;
  } else {
    s.Masses.CgX = (s.Masses.PilotArm * a.PilotWeight + s.Masses.StructureMoment + s.Masses.TrimCentre * s.Masses.FuelQuantity) / s.Masses.Mass;
  }

  // Attitude terms of the launch attitude.
  const double st = std::sin(s.Body.PitchAngle), ct = std::cos(s.Body.PitchAngle);
  const double sp = std::sin(s.Body.Heading), cp = std::cos(s.Body.Heading);
  const double sb = std::sin(s.Body.BankAngle), cb = std::cos(s.Body.BankAngle);
  s.Body.PitchSin = st;
  s.Body.PitchCos = ct;
  s.Body.HeadingSin = sp;
  s.Body.HeadingCos = cp;
  s.Body.ViewRollSin = sb;
  s.Body.ViewRollCos = cb;
  s.Body.NoseVector = {sp * ct, cp * ct, st};
  s.Body.TopVector = {cp * ct * sb - sp * st * cb, -sp * ct * sb - cp * st * cb, cb * ct};

  // The aircraft chart's hidden load: the model evaluation, the summary and
  // the limits.
  LoadAircraftChartValues(s, a, o, chart);

  // The loaded dihedrals start at the static ones, so the first pass's wing
  // and wing-end check see the real dihedral.
  s.Controls.InnerDihedralLoaded = a.InnerDihedral;
  s.Controls.OuterDihedralLoaded = a.OuterDihedral;
  s.Controls.TipDihedralLoaded = a.TipDihedral;

  // What the field ranges let through must still give a finite set-up:
  // refuse here rather than stop the flight at its first pass.
  result.RefusalMessage = CheckDerivedQuantities(s, o, chart);
  result.Accepted = result.RefusalMessage.empty();
  return result;
}

}  // namespace zarv::flight
