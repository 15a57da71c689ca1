#include "flight/tail.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "flight/wind.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

void UpdateTailAndTotals(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o) {
  const double alpha = s.AngleOfAttack;
  const double beta = s.Sideslip;
  const double v = s.AirSpeed;
  const double q = s.DynamicPressure;
  const double ca = std::cos(alpha);
  const double sa = std::sin(alpha);
  const double cosBeta = std::cos(beta);
  const double sinBeta = std::sin(beta);
  const double lf = s.LiftSlopeMachFactor;
  const double eff = s.SweepAreaFactor;

  // 1. Wing wake over the tailplane (light aircraft). Without a hinge point
  // or a tail arm there is no wake geometry and so no wake.
  s.WakeFactor = 0;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && o.TailplaneHingeY != 0 && a.TailplaneArm != 0) {
    const double hy = o.TailplaneHingeY;
    const double e0 = -std::atan(o.TailplaneHingeZ / hy);
    const double d = std::atan(std::tan(alpha) + a.WingHeight / hy) - e0;
    const double w = std::fabs(sa) * (a.WingArea / a.WingSpan) / a.TailplaneArm * s.StallRatio / 2;
    if (ca > 0 && alpha > 0 && std::fabs(d) < w) {
      s.WakeFactor = std::pow((std::cos(kPi * d / w) + 1) / 2, 0.2);
    }
  }

  // 2. Pitch-rate angle at the tailplane.
  s.PitchRateAngle =
      std::atan(ca * ((a.TailplaneArm - s.CgX) * s.PitchRate + a.TailplaneArm * s.RearFuselageBendRate / 2) / v) -
      alpha * s.WakeFactor;

  // 3. Sideways flow at the tailplane and at the fin.
  const auto sideFlow = [&](double arm) {
    const double yaw = (s.RearFuselageSideBendRate / 2 + s.YawRate) * cosBeta * (arm - s.CgX) / v;
    return FlowAngle(s.BodyAirY - GuardedDiv(yaw, ca), s.BodyAirX);
  };
  s.TailFlowAngle = sideFlow(a.TailplaneArm);
  s.FinFlowAngle = sideFlow(a.FinArm);

  // 4. Updraft at the aircraft, relative to the last wing panel's.
  const double here = UpdraftSpeedAt(s, s.PosX, s.PosY);
  const double r = std::sqrt(Sq(s.PosX + 113) + Sq(s.PosY - 625));
  if (r < s.UpdraftRadius) s.TailUpdraft = here - s.VerticalWind;

  // 5. Tailplane angle of attack, reduced into (-pi, pi].
  double t = (s.RearFuselageBend + s.ElevatorAngle) -
             AtnRatio((s.BodyAirZ - s.PitchRateAngle) - s.ViewRollCos * s.TailUpdraft / v, s.BodyAirX);
  t = t - 2 * kPi * Int(t / kPi / 2);
  if (t > kPi) t = t - 6.2831852;
  s.TailAngle = t;

  // 6-7. Local dynamic pressures.
  const double tailArm = a.TailplaneArm - s.CgX;
  s.TailDynamicPressure = (Sq(s.PitchRate * sa * tailArm + v) + Sq(s.RearFuselageBendRate * ca * a.TailplaneArm) +
                           Sq(ca * s.PitchRate * tailArm)) *
                          s.AirDensity / 2 * (1 - s.WakeFactor);
  s.FinAngle = s.RudderAngle + s.FinFlowAngle;
  double v2 = Sq(a.FinArm * s.RearFuselageSideBendRate) + Sq((a.FinArm - s.CgX) * s.YawRate);
  if (v2 > v * v) v2 = v * v;
  s.SideDynamicPressure = (v * v + v2) * s.AirDensity / 2;

  // 8. Propeller slipstream over the tail.
  if (s.EngineType == aircraft::EngineKind::Piston && s.Throttle > 0.1 && s.Distance > 0 && s.GroundSpeed > 1) {
    const double slip = Sq(2 * s.SlipstreamSpeed / v - 2);
    s.ElevatorSlipstreamArea = slip * a.TailplaneArea * 6.28 * s.TailLiftSlope * eff * s.ElevatorAngle;
    s.FinSideTerm2 = slip * (s.RearFuselageSideBend + s.RudderAngle) * a.FinArea * 5;
  } else {
    s.ElevatorSlipstreamArea = 0;
    s.FinSideTerm2 = 0;
  }

  // 9-11. Tailplane lift and drag.
  const double offset = s.TailAngleOffset;
  const double c = std::cos(s.TailFlowAngle) * lf * eff * 6.28 *
                   (s.TailLiftSlope * std::sin(2 * (offset + t)) / 2 + s.TailLiftOffset);
  // With no sweep (area factor 1) the drag's stall power is the lift's.
  const double liftStallArg = std::fabs(std::sqrt(eff) * (s.TailLiftSlope * t + offset));
  const double liftStallPow = std::pow(liftStallArg, s.TailStallExponent);
  s.TailplaneLiftArea = Sgn(ca) * a.TailplaneArea * c / (1 + s.TailStallCoefficient * liftStallPow);
  const double dragStallArg = std::fabs(s.TailLiftSlope * t + offset);
  const double dragStallPow =
      dragStallArg == liftStallArg ? liftStallPow : std::pow(dragStallArg, s.TailStallExponent);
  const double dt = t - s.TailMinDragAngle;
  const double tailDrag =
      (1 - 1 / (1 + s.TailStallCoefficient * dragStallPow)) *
          std::pow(std::fabs(std::sin(offset + t)), s.TailReynoldsFactor) +
      (5 * Sq(std::sin(t)) + dt * dt * s.TailDragRise / (1 + std::pow(std::fabs(dt), 3.5) * s.TailDragRiseLimit) +
       s.TailProfileDrag) /
          s.TailReynoldsFactor;
  s.TailDragArea = (c * c / 3.14 / 4 + tailDrag * s.MachFactor) * a.TailplaneArea;
  s.TailLiftArea = GuardedDiv((ca * s.TailplaneLiftArea + s.TailDragArea * sa) * s.TailDynamicPressure, q);

  // 12. Fin in the shadow of wing and fuselage (powered aircraft).
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
    s.FinShield = 1;
  } else {
    const double kDen = ((a.FinHalfSpacing + 1) * a.FinArm / a.WingArea) * a.WingSpan;
    if (alpha <= 0) {
      s.FinShield = 1;
    } else if (kDen != 0 && alpha < kPi / (9 / kDen)) {
      s.FinShield = 1 - (1 - std::cos(9 / kDen * alpha)) / 2;
    } else {
      s.FinShield = 0;
    }
  }

  // 13. Fin forces.
  const double fa = s.FinAngle;
  const double sdq = s.SideDynamicPressure;
  const double sinFa = std::sin(fa);
  s.FinSideTerm = GuardedDiv(s.FinShield * sdq, q) * a.FinArea * 4.5 * lf * std::sin(2 * fa) / 2 /
                  (1 + std::pow(std::fabs(fa), 4) * 200);
  s.FinDragArea = GuardedDiv((5 * Sq(sinFa) + Sq(sinFa) / 2 + 0.009 * s.MachFactor) * a.FinArea * sdq, q);
  const double e = fa - beta;
  const double cosE = std::cos(e);
  const double sinE = std::sin(e);
  s.FinSideArea = GuardedDiv(cosE * s.FinSideTerm * sdq + s.FinDragArea * sinE * sdq, q);
  s.FinDragArea = cosE * s.FinDragArea + s.FinSideTerm * sinE;
  s.FinSideTerm = cosBeta * s.FinSideArea + s.FinDragArea * sinBeta;

  // 14-16. Side forces.
  const auto& p = s.Panels;
  const double dSin[3] = {s.InnerDihedralSin, s.OuterDihedralSin, s.TipDihedralSin};
  double dihedral = 0;
  for (int k = 0; k < 3; ++k) {
    const auto& l = p[2 * k + 1];
    const auto& rt = p[2 * k + 2];
    dihedral += GuardedDiv((l.PanelPressure * l.PanelLiftCoeff - rt.PanelPressure * rt.PanelLiftCoeff) * dSin[k], q);
  }
  s.DihedralSideTerm = dihedral;
  s.BodySideTerm = s.BodySideArea * sinBeta * ca;
  s.TotalSideArea = s.FinSideTerm2 + s.FinSideArea + s.DihedralSideTerm + s.BodySideTerm;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) s.BodySideTerm = -s.BodySideTerm;

  // 17-18. Lift and drag totals.
  s.TotalLiftArea = s.TailplaneLiftArea + s.WingLift + s.ElevatorSlipstreamArea;
  s.TotalLiftArea = s.TotalLiftArea + GuardedDiv(s.Thrust * sa, q);
  s.DragArea = (Sq(s.BodySideTerm) / 3.14 + (s.GearValue + 1) * a.ParasiteDragArea * s.MachFactorTransonic +
                s.FinDragArea + s.TailDragArea) /
                   s.ReynoldsFactor +
               s.WingDrag;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    s.DragArea = s.DragArea + GuardedDiv(Sq(sa) * a.ParasiteDragArea * a.OverallLength, s.BodyHeight);
  }
  if (s.Altitude > 130000) s.DragArea = a.WingArea / 3;

  // 19. Centre of gravity, % of the mean chord.
  const double x = aircraft::LaunchAbove10(a.LaunchSpeed)
                       ? (s.PilotArm * a.PilotWeight + s.StructureMoment + s.FuelQuantity * s.TrimCentre) / s.Mass
                       : (a.PilotWeight * s.TrimCentre + s.StructureMoment) / s.DryMass;
  s.CentreOfGravity = ((x - s.WingAcOffset) / a.WingArea) * a.WingSpan * 100 + 25;

  // 20-21. Wing pitching moment and centre of pressure.
  if (s.StallRatio > 0 && s.DryMass > 2) {
    s.WingMomentTerm = (Sgn(a.TailplaneArea) * 0.05 * (s.EffectiveAspectRatio - s.GeometricAspectRatio * lf) /
                            s.EffectiveAspectRatio +
                        s.WingPitchMoment / s.StallRatio + s.MachSpanTerm + s.FlapAngle / 5) *
                       a.WingArea * q;
  }
  if (std::fabs(s.WingLift) > 0 && q != 0) {
    double cp = (s.WingMomentTerm / s.WingLift / q) * 100 + 25;
    if (std::fabs(cp) > 99) cp = 99.0 * Sgn(cp);
    s.CentreOfPressure = cp;
  }
}

}  // namespace zarv::flight
