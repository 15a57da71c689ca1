#include "flight/mass_bending.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

// One explicit Euler step of a bending mode with its limits (the kept
// acceleration is the limited one).
void IntegrateBend(double& accel, double& rate, double& bend, double n) {
  accel = Limited(accel, 1);
  rate = Limited(rate + accel / n, 1);
  bend = Limited(bend + rate / n, 0.3);
}

}  // namespace

void UpdateInertias(FlightState& s, const aircraft::AircraftData& a) {
  const double c = a.WingArea / a.WingSpan;
  const double x = s.CgX;
  const double l = a.OverallLength;
  const double wing = a.WingWeight * (Sq(0.3 * c) + 0.45 * Sq(x) + 0.4 * Sq(s.InnerPanelSweepOffset - x) +
                                      0.15 * Sq(s.OuterPanelSweepOffset - x));
  const double pilot = a.PilotWeight * (Sq(s.BodyHeight / 2) + l * l / 40 + Sq(s.PilotArm - x));
  const double rear = a.RearFuselageWeight * Sq((a.TailplaneArm - x) / 2);
  const double tail = a.TailWeight * Sq(a.TailplaneArm - x);
  const double wingSpan = a.WingWeight * (0.35 * Sq(s.WingRootOffset / 2) + 0.35 * Sq(s.InnerPanelSpanPos) +
                                          0.25 * Sq(s.OuterPanelSpanPos));
  s.PitchInertia = wing + s.ApparentMass * Sq(l) / 4 + pilot + rear + tail + s.DryMass * Sq(l) / 32;
  s.RollInertia = wingSpan + Sq(s.BodyHeight / 4) * (a.RearFuselageWeight + a.PilotWeight) +
                  Sq(a.WingSpan / 4) * s.ApparentMass + a.WingSpan * a.WingSpan * s.DryMass / 32;
  s.YawInertia = pilot + wingSpan + rear + tail + Sq(a.WingSpan / 4) * s.ApparentMass + l * l * s.DryMass / 32;
  const double q = s.DynamicPressure > 1500 ? s.DynamicPressure : 1500.0;
  s.YawDamperGain = GuardedDiv(GuardedDiv(s.YawInertia, a.FinArea), a.FinArm) / q * 15;
}

void UpdateLoads(FlightState& s) {
  const double q = s.DynamicPressure;
  const double m = s.Mass + s.ApparentMass;
  s.LiftVerticalForce = s.TotalLiftArea * q * s.ViewRollCos - s.TotalSideArea * s.SideDynamicPressure * s.ViewRollSin;
  s.LiftLateralForce = s.TotalLiftArea * q * s.ViewRollSin + s.TotalSideArea * s.SideDynamicPressure * s.ViewRollCos;
  s.LiftAccel = (s.ApparentMass * 9.8 + s.LiftVerticalForce) / m;
  s.SideAccel = s.LiftLateralForce / m;
  s.NormalLoad = (s.TotalLiftArea + s.TailplaneLiftArea) * q / (s.FuelQuantity + s.DryMass);
  s.SideLoadRatio = -s.TotalSideArea / (m * s.SupportAccel / q + s.TotalLiftArea + 0.0001);
}

void UpdatePosition(FlightState& s, const aircraft::AircraftData& a) {
  const double n = s.StepsPerSecond;
  s.PosX += s.VelX / n;
  s.PosY += s.VelY / n;
  if (s.Altitude < 213) {
    s.LowFlightDistance += s.GroundSpeed / n;
  } else {
    s.LowFlightDistance = 0;
  }
  s.Distance = std::sqrt(s.PosX * s.PosX + s.PosY * s.PosY) - 10;
  s.CourseDistance = a.LaunchHeight < 120000
                         ? s.Distance
                         : std::sqrt(Sq(s.CourseOffsetX + s.PosX) + Sq(s.PosY - 300)) - 10;
}

void BendAirframe(FlightState& s, const aircraft::AircraftData& a) {
  if (!((s.FlightTime > 0 && a.LaunchHeight > 0) || s.FlightTime > 0.1)) return;
  const double n = s.StepsPerSecond;
  const double q = s.DynamicPressure;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);

  // Wing.
  if (s.AirSpeed > 0.1) {
    s.WingBend = ((s.TotalLiftArea * q / s.InitialDryMass - s.WingMassShare * s.SupportAccel) / 9.8 * a.WingDeflection +
                  s.WingBend) /
                 2;
  } else {
    s.WingBend = 3.0 / 4 * s.WingBend;
  }
  s.WingBend = Limited(s.WingBend, a.WingSpan / 4);

  // Rear fuselage in pitch.
  const double sign = Sgn(a.TailplaneArm);
  const double tailLoad = (s.TailLiftArea + s.ElevatorSlipstreamArea) * q;
  if (a.TailplaneArea > 0) {
    const double m = -s.RearFuselageBend * sign * a.RearFuselageStiffness +
                     (s.SupportAccel + s.NormalLoad) * a.TailWeight - tailLoad;
    s.RearFuselageBendAccel =
        2 * m / (std::sqrt(a.TailplaneArea) / 4 * 2 * a.TailplaneArea * s.AirDensity + a.TailWeight) / a.TailplaneArm -
        50 * s.RearFuselageBendRate;
  }
  s.RearFuselageBendAccel -= 5 * s.RearFuselageBendRate;
  const double softness =
      std::fabs(a.RearFuselageStiffness) / (std::fabs(a.TailWeight) + 0.001) / (std::fabs(a.TailplaneArm) + 0.001);
  if (softness < 1000 && light && s.Mass > 20) {
    IntegrateBend(s.RearFuselageBendAccel, s.RearFuselageBendRate, s.RearFuselageBend, n);
    if (s.AirSpeed < 0.1) s.RearFuselageBend = 0;
  } else {
    s.RearFuselageBendRate = 0;
    s.RearFuselageBend =
        -sign * GuardedDiv(tailLoad - (s.SupportAccel + s.NormalLoad) * a.TailWeight, a.RearFuselageStiffness);
  }

  // Rear fuselage sideways.
  if (a.FinArea > 0) {
    s.RearFuselageSideBendAccel =
        2 * (-s.RearFuselageSideBend * a.RearFuselageStiffness * 30 - a.TailWeight * s.SideAccel - s.FinSideArea * q) /
            (a.FinArea * s.ApparentMass / a.WingArea + a.TailWeight) / a.TailplaneArm -
        7 * s.RearFuselageSideBendRate;
  }
  const double sideSoftness = std::fabs(30 * a.RearFuselageStiffness) / (std::fabs(a.TailWeight) + 0.001) /
                              (std::fabs(a.TailplaneArm) + 0.001);
  if (sideSoftness < 1000 && light && a.TailplaneArm > 0 && s.Mass > 20) {
    IntegrateBend(s.RearFuselageSideBendAccel, s.RearFuselageSideBendRate, s.RearFuselageSideBend, n);
    s.FinSideTerm = -GuardedDiv(s.RearFuselageSideBend * a.RearFuselageStiffness, q);
    s.TotalSideArea = s.DihedralSideTerm + s.FinSideTerm + s.BodySideTerm;
  } else {
    s.RearFuselageSideBend = 0;
    s.RearFuselageSideBendRate = 0;
    s.RearFuselageSideBendAccel = 0;
  }
  if (a.TailplaneArea == 0) s.RearFuselageBend = 0;
}

void UpdateLoadedDihedral(FlightState& s, const aircraft::AircraftData& a) {
  if (!(a.WingDeflection > 0)) {
    // A wing that does not bend keeps its static dihedral.
    s.InnerDihedralLoaded = a.InnerDihedral;
    s.OuterDihedralLoaded = a.OuterDihedral;
    s.TipDihedralLoaded = a.TipDihedral;
    return;
  }
  const double h = a.WingSpan / 2 - a.TipLength - s.WingRootOffset;
  const double l = h / 2;
  const double k = s.WingBend / a.WingDeflection * s.Mass / s.DryMass;
  s.InnerDihedralLoaded = k * std::atan((s.InnerPanelBend / l) / (1 - Sq(s.InnerPanelBend / h / 2))) + a.InnerDihedral;
  s.OuterDihedralLoaded = k * std::atan((s.OuterPanelBend / l) / (1 - Sq(s.OuterPanelBend / h / 2))) + a.OuterDihedral;
  if (a.TipLength > 0) {
    s.TipDihedralLoaded =
        k * std::atan((s.TipPanelBend / a.TipLength) / (1 - s.TipPanelBend / a.TipLength)) + a.TipDihedral;
  }
}

void UpdateAltitude(FlightState& s, const aircraft::AircraftData& a) {
  if (s.Distance <= 0 && s.Altitude >= 6 && s.Altitude <= 13 && a.LaunchHeight >= 1) {
    // The deck falls 6 % towards the edge.
    s.Altitude = aircraft::LaunchBelow10(a.LaunchSpeed) ? a.LaunchHeight - 0.06 * s.Distance : a.LaunchHeight;
  } else {
    s.Altitude += s.VelZ / s.StepsPerSecond;
  }
}

void AdvanceStepCounter(FlightState& s, const aircraft::AircraftData& a) {
  ++s.StepCounter;
  if (s.StepCounter > kStepCounterWrap) s.StepCounter = 0;
  const bool down = aircraft::LaunchAtMost10(a.LaunchSpeed) ? (s.Altitude < 0 && s.GroundSpeed < s.StopSpeed) : s.Altitude < 0;
  if (down) s.StepCounter = 0;
}

}  // namespace zarv::flight
