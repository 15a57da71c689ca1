#include "flight/tail.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "flight/wind.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

void UpdateTailAndTotals(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o) {
  const double alpha = s.Air.AngleOfAttack;
  const double beta = s.Air.Sideslip;
  const double v = s.Body.AirSpeed;
  const double q = s.Air.DynamicPressure;
  const double ca = std::cos(alpha);
  const double sa = std::sin(alpha);
  const double cosBeta = std::cos(beta);
  const double sinBeta = std::sin(beta);
  const double lf = s.Aero.LiftSlopeMachFactor;
  const double eff = s.Setup.SweepAreaFactor;

  // Wing wake over the tailplane (light aircraft). Without a hinge point
  // or a tail arm there is no wake geometry and so no wake.
  s.Tail.WakeFactor = 0;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && o.TailplaneHingeY != 0 && a.TailplaneArm != 0) {
    const double hy = o.TailplaneHingeY;
    const double e0 = -std::atan(o.TailplaneHingeZ / hy);
    const double d = std::atan(std::tan(alpha) + a.WingHeight / hy) - e0;
    const double w = std::fabs(sa) * (a.WingArea / a.WingSpan) / a.TailplaneArm * s.Wing.StallRatio / 2;
    if (ca > 0 && alpha > 0 && std::fabs(d) < w) {
      s.Tail.WakeFactor = std::pow((std::cos(kPi * d / w) + 1) / 2, 0.2);
    }
  }

  // Pitch-rate angle at the tailplane.
  s.Tail.TailPitchRateAngle =
      std::atan(ca * ((a.TailplaneArm - s.Masses.CgX) * s.Body.PitchRate + a.TailplaneArm * s.Controls.RearFuselageBendRate / 2) / v) -
      alpha * s.Tail.WakeFactor;

  // Sideways flow at the tailplane and at the fin.
  const auto sideFlow = [&](double arm) {
    const double yaw = (s.Controls.RearFuselageSideBendRate / 2 + s.Body.YawRate) * cosBeta * (arm - s.Masses.CgX) / v;
    return FlowAngle(s.Air.BodyAirY - GuardedDiv(yaw, ca), s.Air.BodyAirX);
  };
  s.Tail.TailFlowAngle = sideFlow(a.TailplaneArm);
  s.Tail.FinFlowAngle = sideFlow(a.FinArm);

  // Updraft at the aircraft, relative to the last wing panel's.
  const double here = UpdraftSpeedAt(s, s.Body.PosX, s.Body.PosY);
  const double r = std::sqrt(Sq(s.Body.PosX + 113) + Sq(s.Body.PosY - 625));
  if (r < s.Air.UpdraftRadius) s.Air.TailUpdraft = here - s.Air.VerticalWind;

  // Tailplane angle of attack, reduced into (-pi, pi].
  double t = (s.Controls.RearFuselageBend + s.Controls.ElevatorAngle) -
             AtnRatio((s.Air.BodyAirZ - s.Tail.TailPitchRateAngle) - s.Body.ViewRollCos * s.Air.TailUpdraft / v, s.Air.BodyAirX);
  t = t - 2 * kPi * Int(t / kPi / 2);
  if (t > kPi) t = t - kFullTurn;
  s.Tail.TailAngle = t;

  // Dynamic pressures at the tailplane (with the pitch and bend rates, less
  // the wake) and at the fin (with the yaw and side-bend rates).
  const double tailArm = a.TailplaneArm - s.Masses.CgX;
  s.Tail.TailDynamicPressure = (Sq(s.Body.PitchRate * sa * tailArm + v) + Sq(s.Controls.RearFuselageBendRate * ca * a.TailplaneArm) +
                           Sq(ca * s.Body.PitchRate * tailArm)) *
                          s.Air.AirDensity / 2 * (1 - s.Tail.WakeFactor);
  s.Tail.FinAngle = s.Controls.RudderAngle + s.Tail.FinFlowAngle;
  double v2 = Sq(a.FinArm * s.Controls.RearFuselageSideBendRate) + Sq((a.FinArm - s.Masses.CgX) * s.Body.YawRate);
  if (v2 > v * v) v2 = v * v;
  s.Tail.SideDynamicPressure = (v * v + v2) * s.Air.AirDensity / 2;

  // Propeller slipstream over the tail: its own dynamic pressure,
  // rho/2 (2 SlipstreamSpeed - 2 v)^2, as a share of q, by which its terms
  // are multiplied. With q the free stream's this is (2 SlipstreamSpeed / v
  // - 2)^2; a share of the free stream times a q raised by the roll and yaw
  // rates would grow without bound at almost no airspeed.
  if (s.Engine.EngineType == aircraft::EngineKind::Piston && s.Engine.Throttle > 0.1 && s.Body.Distance > 0 && s.Body.GroundSpeed > 1) {
    const double slip = GuardedDiv(s.Air.AirDensity / 2 * Sq(2 * s.Engine.SlipstreamSpeed - 2 * v), q);
    s.Tail.ElevatorSlipstreamArea = slip * a.TailplaneArea * 6.28 * s.Aero.TailLiftSlope * eff * s.Controls.ElevatorAngle;
    s.Tail.FinSideTerm2 = slip * (s.Controls.RearFuselageSideBend + s.Controls.RudderAngle) * a.FinArea * 5;
  } else {
    s.Tail.ElevatorSlipstreamArea = 0;
    s.Tail.FinSideTerm2 = 0;
  }

  // Tailplane lift and drag.
  const double offset = s.Airfoils.TailAngleOffset;
  const double c = std::cos(s.Tail.TailFlowAngle) * lf * eff * 6.28 *
                   (s.Aero.TailLiftSlope * std::sin(2 * (offset + t)) / 2 + s.Airfoils.TailLiftOffset);
  // With no sweep (area factor 1) the drag's stall power is the lift's.
  const double liftStallArg = std::fabs(std::sqrt(eff) * (s.Aero.TailLiftSlope * t + offset));
  const double liftStallPow = std::pow(liftStallArg, s.Aero.TailStallExponent);
  s.Tail.TailplaneLiftArea = Sgn(ca) * a.TailplaneArea * c / (1 + s.Aero.TailStallCoefficient * liftStallPow);
  const double dragStallArg = std::fabs(s.Aero.TailLiftSlope * t + offset);
  const double dragStallPow =
      dragStallArg == liftStallArg ? liftStallPow : std::pow(dragStallArg, s.Aero.TailStallExponent);
  const double dt = t - s.Airfoils.TailMinDragAngle;
  const double tailDrag =
      (1 - 1 / (1 + s.Aero.TailStallCoefficient * dragStallPow)) *
          std::pow(std::fabs(std::sin(offset + t)), s.Aero.TailReynoldsFactor) +
      (5 * Sq(std::sin(t)) + dt * dt * s.Airfoils.TailDragRise / (1 + std::pow(std::fabs(dt), 3.5) * s.Airfoils.TailDragRiseLimit) +
       s.Airfoils.TailProfileDrag) /
          s.Aero.TailReynoldsFactor;
  s.Tail.TailDragArea = (c * c / 3.14 / 4 + tailDrag * s.Aero.MachFactor) * a.TailplaneArea;
  s.Tail.TailLiftArea = GuardedDiv((ca * s.Tail.TailplaneLiftArea + s.Tail.TailDragArea * sa) * s.Tail.TailDynamicPressure, q);

  // Fin in the shadow of wing and fuselage (powered aircraft).
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
    s.Tail.FinShield = 1;
  } else {
    const double kDen = ((a.FinHalfSpacing + 1) * a.FinArm / a.WingArea) * a.WingSpan;
    if (alpha <= 0) {
      s.Tail.FinShield = 1;
    } else if (kDen != 0 && alpha < kPi / (9 / kDen)) {
      s.Tail.FinShield = 1 - (1 - std::cos(9 / kDen * alpha)) / 2;
    } else {
      s.Tail.FinShield = 0;
    }
  }

  // Fin forces.
  const double fa = s.Tail.FinAngle;
  const double sdq = s.Tail.SideDynamicPressure;
  const double sinFa = std::sin(fa);
  s.Tail.FinSideTerm = GuardedDiv(s.Tail.FinShield * sdq, q) * a.FinArea * 4.5 * lf * std::sin(2 * fa) / 2 /
                  (1 + std::pow(std::fabs(fa), 4) * 200);
  s.Tail.FinDragArea = GuardedDiv((5 * Sq(sinFa) + Sq(sinFa) / 2 + 0.009 * s.Aero.MachFactor) * a.FinArea * sdq, q);
  const double e = fa - beta;
  const double cosE = std::cos(e);
  const double sinE = std::sin(e);
  s.Tail.FinSideArea = GuardedDiv(cosE * s.Tail.FinSideTerm * sdq + s.Tail.FinDragArea * sinE * sdq, q);
  s.Tail.FinWindDragArea = cosE * s.Tail.FinDragArea + s.Tail.FinSideTerm * sinE;
  s.Tail.FinBodySideArea = cosBeta * s.Tail.FinSideArea + s.Tail.FinWindDragArea * sinBeta;

  // Side forces.
  const auto& p = s.Wing.Panels;
  const double dSin[3] = {s.Setup.InnerDihedralSin, s.Setup.OuterDihedralSin, s.Setup.TipDihedralSin};
  double dihedral = 0;
  for (int k = 0; k < 3; ++k) {
    const auto& l = p[2 * k + 1];
    const auto& rt = p[2 * k + 2];
    dihedral += GuardedDiv((l.PanelPressure * l.PanelLiftCoeff - rt.PanelPressure * rt.PanelLiftCoeff) * dSin[k], q);
  }
  s.Tail.DihedralSideTerm = dihedral;
  s.Tail.BodySideTerm = s.Setup.BodySideArea * sinBeta * ca;
  s.Tail.TotalSideArea = s.Tail.FinSideTerm2 + s.Tail.FinSideArea + s.Tail.DihedralSideTerm + s.Tail.BodySideTerm;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) s.Tail.BodySideTerm = -s.Tail.BodySideTerm;

  // Lift and drag totals.
  s.Tail.TotalLiftArea = s.Tail.TailplaneLiftArea + s.Wing.WingLift + s.Tail.ElevatorSlipstreamArea;
  s.Tail.TotalLiftArea = s.Tail.TotalLiftArea + GuardedDiv(s.Engine.Thrust * sa, q);
  s.Tail.DragArea = (Sq(s.Tail.BodySideTerm) / 3.14 + (s.Controls.GearValue + 1) * a.ParasiteDragArea * s.Aero.MachFactorTransonic +
                s.Tail.FinWindDragArea + s.Tail.TailDragArea) /
                   s.Aero.ReynoldsFactor +
               s.Wing.WingDrag;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    s.Tail.DragArea = s.Tail.DragArea + GuardedDiv(Sq(sa) * a.ParasiteDragArea * a.OverallLength, s.Setup.BodyHeight);
  }
  if (s.Body.Altitude > 130000) s.Tail.DragArea = a.WingArea / 3;

  // Centre of gravity, % of the mean chord.
  const double x = aircraft::LaunchAbove10(a.LaunchSpeed)
                       ? (s.Masses.PilotArm * a.PilotWeight + s.Masses.StructureMoment + s.Masses.FuelQuantity * s.Masses.TrimCentre) / s.Masses.Mass
                       : (a.PilotWeight * s.Masses.TrimCentre + s.Masses.StructureMoment) / s.Masses.DryMass;
  s.Masses.CentreOfGravity = ((x - s.Masses.WingAcOffset) / a.WingArea) * a.WingSpan * 100 + 25;

  // Wing pitching moment and centre of pressure.
  if (s.Wing.StallRatio > 0 && s.Masses.DryMass > 2) {
    s.Tail.WingMomentTerm = (Sgn(a.TailplaneArea) * 0.05 * (s.Aero.EffectiveAspectRatio - s.Setup.GeometricAspectRatio * lf) /
                            s.Aero.EffectiveAspectRatio +
                        s.Airfoils.WingPitchMoment / s.Wing.StallRatio + s.Aero.MachSpanTerm + s.Controls.FlapAngle / 5) *
                       a.WingArea * q;
  }
  if (std::fabs(s.Wing.WingLift) > 0 && q != 0) {
    double cp = (s.Tail.WingMomentTerm / s.Wing.WingLift / q) * 100 + 25;
    if (std::fabs(cp) > 99) cp = 99.0 * Sgn(cp);
    s.Masses.CentreOfPressure = cp;
  }
}

}  // namespace zarv::flight
