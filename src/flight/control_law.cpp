#include "flight/control_law.h"

#include <algorithm>
#include <cmath>

#include "flight/auto_trim.h"
#include "flight/guarded_math.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double SignLimited(double x, double limit) { return std::fabs(x) > limit ? Sgn(x) * limit : x; }

// Pitch, roll and yaw thrusters of a rocket in air thinner than 0.01225.
void SetThrusterMoments(FlightState& s, const FlightOptions& options, double& e) {
  const double q = s.Air.DynamicPressure;
  const double alpha = s.Air.AngleOfAttack;
  if (q >= 4000) {
    s.Controls.CasPitchMoment = 0;
  } else {
    const double p = std::sqrt(s.Masses.PitchInertia);
    if (s.Pilot.PitchHoldOn == 1) {
      if (std::cos(alpha) <= 0 && Sgn(alpha) != Sgn(e)) {
        // Target and attitude lie on either side of +-pi: the short way round.
        const double d = alpha >= 0 ? (e + kFullTurn) - alpha : e - (alpha + kFullTurn);
        s.Controls.CasPitchMoment = (4 * d - 2 * s.Body.PitchRate) * p * 30000;
      } else {
        s.Controls.CasPitchMoment = (4 * (e - alpha) - s.Body.PitchRate) * p * 30000;
      }
    } else {
      e = SignLimited(e, 0.2);
      s.Controls.CasPitchMoment = (e / 2 - s.Body.PitchRate) * p * 30000;
    }
  }

  if (s.Tail.FinShield < 0.2 || q < 3000) {
    const double r = std::sqrt(s.Masses.RollInertia);
    if (s.Pilot.BrakeOn < 1) {
      s.Controls.CasRollMoment = (-s.Pilot.StickLateral / options.ScreenScale / 250 - 4 * s.Body.RollRate) * r * 10000;
    } else if (std::fabs(s.Body.BankAngle) < kPi / 2) {
      s.Controls.CasRollMoment = (0.0005 - s.Body.BankAngle - 4 * s.Body.RollRate) * r * 10000;  // wings level, upright
    } else {
      if (std::fabs(s.Body.BankAngle) > kPi) s.Body.BankAngle = Sgn(s.Body.BankAngle) * kPi;
      s.Controls.CasRollMoment =
          ((kPi - std::fabs(s.Body.BankAngle)) * (-Sgn(std::sin(s.Body.BankAngle))) + 0.0005 - 4 * s.Body.RollRate) * r * 10000;
    }
  }

  if ((s.Tail.FinShield < 0.2 && q > 30) || (s.Pilot.BrakeOn == 1 && q < 1000)) {
    s.Controls.CasYawMoment = CLng(-(s.Body.YawRate / 2 + s.Air.Sideslip) * std::sqrt(s.Masses.YawInertia) * 30000);
  } else {
    s.Controls.CasYawMoment = 0;
  }
}

}  // namespace

void StepControlLaws(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  double e = s.Controls.ElevatorInput;
  const double alpha = s.Air.AngleOfAttack;
  const double q = s.Air.DynamicPressure;
  const int tail = Sgn(a.TailplaneArm);

  if (s.Body.AirSpeed <= 0) {
    s.Controls.TailplaneCommand = 0;
    return;
  }
  if (s.Air.MachSquared < 2.4 && e > s.Airfoils.MaxAngleOfAttack) e = s.Airfoils.MaxAngleOfAttack;

  if (s.Engine.EngineType == aircraft::EngineKind::Rocket && s.Air.AirDensity < 0.01225) {
    SetThrusterMoments(s, options, e);
  } else {
    s.Controls.CasPitchMoment = 0;
    s.Controls.CasRollMoment = 0;
    s.Controls.CasYawMoment = 0;
  }

  // On the ground with the stick centred the demand goes straight to the tail.
  if (s.Air.SupportAccel < 0 || (s.Air.SupportAccel > 0 && s.Pilot.StickPitch == 0)) {
    s.Controls.TailplaneCommand = -tail * e;
    return;
  }

  if (s.Ground.GearExtension > 0) {
    const double c = s.Setup.GroundPitchLimit - 0.024;
    const double b = c - s.Body.PathAngle;
    if (e > b && s.Body.PathAngle < 0) {
      e = b;
    } else if (e > c) {
      e = c;
    }
  }
  if (e < -0.1) e = -0.1;

  const double excess = s.Body.PitchRate - s.Body.PathAngleRate;
  const double v = SignLimited(excess * std::fabs(excess) * 4, 4);
  s.Controls.NozzlePitchCommand = v;
  const double err = (e - alpha) * a.PitchResponse - a.PitchDamping * v / 2;
  s.Controls.ElevatorDemand = SignLimited(err / q * std::min(s.Masses.PitchInertia, 100000.0) * 4, 0.3);
  s.Controls.NozzlePitchCommand = -err * s.Masses.PitchInertia / (s.Engine.GrossThrust + 1) * 5;

  // Without a tailplane the command trims to the automatic trim's angle of
  // attack, as the augmentation left it.
  double trim = s.Controls.TrimAngleOfAttack;
  if (a.TailplaneArea > 0) {
    s.Controls.TrimTailAngle = BalancingTailAngle(s, a);
    const double w = std::sin(2.5 * s.Body.CouplingAngle);
    const double p2 = s.Body.RollRate * s.Body.RollRate * w;
    const double r2 = s.Body.YawRate * s.Body.YawRate * w;
    s.Controls.TrimTailAngle += 3 * Sgn(w) * std::sqrt(p2 * p2 + r2 * r2) / a.TailplaneArea / a.TailplaneArm;
    trim = s.Controls.TrimTailAngle;
  }

  e = -tail * s.Controls.ElevatorDemand * Sgn(std::cos(alpha)) + trim;

  // Keep the tailplane from stalling near the ground.
  if (std::fabs(alpha + e) > s.Setup.GroundAngleLimit && s.Air.SupportAccel > 0.0001 && s.Body.Altitude < 5) {
    e = Sgn(alpha + e) * s.Setup.GroundAngleLimit - alpha;
  }
  if (s.Engine.EngineType == aircraft::EngineKind::Rocket && q < 4000) e = q * q * e / 4000 / 4000;
  s.Controls.TailplaneCommand = e;
}

}  // namespace zarv::flight
