#include "flight/control_law.h"

#include <algorithm>
#include <cmath>

#include "flight/auto_trim.h"
#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double SignLimited(double x, double limit) { return std::fabs(x) > limit ? Sgn(x) * limit : x; }

// Pitch, roll and yaw thrusters of a rocket in air thinner than 0.01225.
void SetThrusterMoments(FlightState& s, const FlightOptions& options, double& e) {
  const double q = s.DynamicPressure;
  const double alpha = s.AngleOfAttack;
  if (q >= 4000) {
    s.CasPitchMoment = 0;
  } else {
    const double p = std::sqrt(s.PitchInertia);
    if (s.PitchHoldOn == 1) {
      if (std::cos(alpha) <= 0 && Sgn(alpha) != Sgn(e)) {
        // Target and attitude lie on either side of +-pi: the short way round.
        const double d = alpha >= 0 ? (e + 6.2831852) - alpha : e - (alpha + 6.2831852);
        s.CasPitchMoment = (4 * d - 2 * s.PitchRate) * p * 30000;
      } else {
        s.CasPitchMoment = (4 * (e - alpha) - s.PitchRate) * p * 30000;
      }
    } else {
      e = SignLimited(e, 0.2);
      s.CasPitchMoment = (e / 2 - s.PitchRate) * p * 30000;
    }
  }

  if (s.FinShield < 0.2 || q < 3000) {
    const double r = std::sqrt(s.RollInertia);
    if (s.BrakeOn < 1) {
      s.CasRollMoment = (-s.StickLateral / options.ScreenScale / 250 - 4 * s.RollRate) * r * 10000;
    } else if (std::fabs(s.BankAngle) < kPi / 2) {
      s.CasRollMoment = (0.0005 - s.BankAngle - 4 * s.RollRate) * r * 10000;  // wings level, upright
    } else {
      if (std::fabs(s.BankAngle) > kPi) s.BankAngle = Sgn(s.BankAngle) * kPi;
      s.CasRollMoment =
          ((kPi - std::fabs(s.BankAngle)) * (-Sgn(std::sin(s.BankAngle))) + 0.0005 - 4 * s.RollRate) * r * 10000;
    }
  }

  if ((s.FinShield < 0.2 && q > 30) || (s.BrakeOn == 1 && q < 1000)) {
    s.CasYawMoment = CLng(-(s.YawRate / 2 + s.Sideslip) * std::sqrt(s.YawInertia) * 30000);
  } else {
    s.CasYawMoment = 0;
  }
}

}  // namespace

void StepControlLaws(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  double e = s.ElevatorInput;
  const double alpha = s.AngleOfAttack;
  const double q = s.DynamicPressure;
  const int tail = Sgn(a.TailplaneArm);

  if (s.AirSpeed <= 0) {
    s.ElevatorInput = 0;
    return;
  }
  if (s.MachSquared < 2.4 && e > s.MaxAngleOfAttack) e = s.MaxAngleOfAttack;

  if (s.EngineType == aircraft::EngineKind::Rocket && s.AirDensity < 0.01225) {
    SetThrusterMoments(s, options, e);
  } else {
    s.CasPitchMoment = 0;
    s.CasRollMoment = 0;
    s.CasYawMoment = 0;
  }

  // On the ground with the stick centred the demand goes straight to the tail.
  if (s.SupportAccel < 0 || (s.SupportAccel > 0 && s.StickPitch == 0)) {
    s.ElevatorInput = -tail * e;
    return;
  }

  if (s.GearExtension > 0) {
    const double c = s.GroundPitchLimit - 0.024;
    const double b = c - s.PathAngle;
    if (e > b && s.PathAngle < 0) {
      e = b;
    } else if (e > c) {
      e = c;
    }
  }
  if (e < -0.1) e = -0.1;

  const double excess = s.PitchRate - s.PathAngleRate;
  const double v = SignLimited(excess * std::fabs(excess) * 4, 4);
  s.NozzlePitchCommand = v;
  const double err = (e - alpha) * a.PitchResponse - a.PitchDamping * v / 2;
  s.ElevatorDemand = SignLimited(err / q * std::min(s.PitchInertia, 100000.0) * 4, 0.3);
  s.NozzlePitchCommand = -err * s.PitchInertia / (s.GrossThrust + 1) * 5;

  if (a.TailplaneArea > 0) {
    s.TrimTailAngle = BalancingTailAngle(s, a);
    const double w = std::sin(2.5 * s.CouplingAngle);
    const double p2 = s.RollRate * s.RollRate * w;
    const double r2 = s.YawRate * s.YawRate * w;
    s.TrimTailAngle += 3 * Sgn(w) * std::sqrt(p2 * p2 + r2 * r2) / a.TailplaneArea / a.TailplaneArm;
  }

  e = -tail * s.ElevatorDemand * Sgn(std::cos(alpha)) + s.TrimTailAngle;

  // Keep the tailplane from stalling near the ground.
  if (std::fabs(alpha + e) > s.GroundAngleLimit && s.SupportAccel > 0.0001 && s.Altitude < 5) {
    e = Sgn(alpha + e) * s.GroundAngleLimit - alpha;
  }
  if (s.EngineType == aircraft::EngineKind::Rocket && q < 4000) e = q * q * e / 4000 / 4000;
  s.ElevatorInput = e;
}

}  // namespace zarv::flight
