#include "flight/augmentation.h"

#include <cmath>

#include "flight/auto_trim.h"
#include "flight/control_law.h"
#include "flight/flight_commands.h"
#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double SignLimited(double x, double limit) { return std::fabs(x) > limit ? Sgn(x) * limit : x; }

}  // namespace

void ApplyControlAugmentation(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  const double q = s.DynamicPressure;
  const double m2 = s.MachSquared;

  s.ElevatorInput = -s.ElevatorDemand;  // the pilot's angle-of-attack demand
  TrimTailForBalance(s, a, 9.8);

  if (s.ViewRollCos > 0 && s.PitchHoldOn == 1) {
    s.ElevatorInput = (powered ? s.PitchHoldAngle : s.ElevatorInput) - s.AirPathAngle;
    if (s.EngineType == aircraft::EngineKind::Rocket && q > 150) {
      // Climb schedule of a rocket by Mach number.
      if (m2 > 292) {
        s.ElevatorInput = s.PitchHoldAngle - s.AirPathAngle;
      } else if (m2 > 3) {
        s.ElevatorInput = s.PitchHoldAngle * std::sin(std::sqrt(m2 - 3) / 17 * 1.57) - s.AirPathAngle;
      } else if (m2 > 1) {
        s.ElevatorInput = (3 - m2) / 2 * (-14.5 / 57.3) - s.AirPathAngle;
      } else {
        s.ElevatorInput = -14.5 / 57.3 - s.AirPathAngle;
        s.TrimTailAngle = (s.TrimTailAngle - 3 * s.AirPathAngle) * (450 - s.Altitude) / 450;
        if (s.ElevatorInput < s.TrimTailAngle) s.ElevatorInput = s.TrimTailAngle;
        TrimTailForBalance(s, a, 22.5);
        if (s.ElevatorInput > s.TrimTailAngle) s.ElevatorInput = s.TrimTailAngle;
      }
    }
    if (s.Altitude < 20 && s.GearExtension == 0) ToggleGear(s, a);  // the gear goes down
  }
  s.ElevatorDemand = -s.ElevatorInput;

  // Load limits: pulling to the engine's figure, pushing to -45 m/s^2.
  if (powered && q > 2000 && m2 < 9) {
    TrimTailForBalance(s, a, s.EngineNoiseLevel);
    if (s.ElevatorInput > s.TrimTailAngle && s.TrimTailAngle > 0) s.ElevatorInput = s.TrimTailAngle;
    TrimTailForBalance(s, a, -45);
    if (s.ElevatorInput < s.TrimTailAngle && s.TrimTailAngle < 0) s.ElevatorInput = s.TrimTailAngle;
  }
  if (std::fabs(s.RollRate) > 1 && s.ElevatorInput < 0) s.ElevatorInput = 0;  // no push while rolling fast

  StepControlLaws(s, a, options);

  if (a.LaunchPitch > 0.174 && s.WheelBrakeSetting > 0.1 && s.SupportAccel > 0 && 0.9 * s.LiftOffSpeed > s.AirSpeed) {
    s.ElevatorInput = -Sgn(a.TailplaneArm) * (s.PitchAngle + 0.05);  // hold the attitude on the ground run
  }

  if (powered) {
    const auto damper = [&](double p) {
      // No damper before the wing has first set its scale.
      return 30 * GuardedDiv(p * s.RollInertia / std::pow(q, 0.8), s.RollDamperScale) / std::pow(a.WingSpan, 3);
    };
    if (s.StickLateral == 0) {
      s.AileronDemand = damper(-s.RollRate);
    } else {
      s.AileronDemand = -s.StickLateral * a.RollRatio / options.ScreenScale / 125;
      if (Sgn(-s.StickLateral) != Sgn(s.RollRate)) s.AileronDemand -= damper(s.RollRate);
    }
  }

  s.RudderDemand = -s.RudderCommand + s.YawDamperGain * (3 * (1.25 * s.RudderCommand + s.Sideslip) + 0.3 * s.YawRate);
}

void FormReactionControl(FlightState& s, const FlightOptions& options) {
  const bool thinAir = s.EngineType == aircraft::EngineKind::Rocket && s.AirDensity < 0.01225;
  const bool active =
      thinAir && (s.DynamicPressure < 3000 || std::fabs(s.ElevatorInput - s.AngleOfAttack) > 0.05);
  if (!active || s.DynamicPressure >= 300) {
    s.CasPitchMoment = 0;
    s.CasRollMoment = 0;
    s.CasYawMoment = 0;
    return;
  }
  s.ElevatorInput = SignLimited(s.ElevatorInput, 0.2);
  s.CasPitchMoment = std::sqrt(s.PitchInertia) * s.ElevatorInput / 2 * 30000;
  s.CasYawMoment = 0;
  s.CasRollMoment = std::sqrt(s.RollInertia) * (-s.StickLateral / options.ScreenScale / 250) * 30000;
}

void HoldBank(FlightState& s, const aircraft::AircraftData& a) {
  if (s.BrakeOn != 1) return;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    if (!(std::cos(s.AngleOfAttack) > 0.2 && s.AirSpeed > 20)) return;
    s.AileronDemand = 0;
    // Levels the wings; past 90 degrees the error fades to 0 at inverted flight.
    const double e = std::fabs(s.BankAngle) < 1.57 ? -s.BankAngle
                                                    : -Sgn(s.ViewRollSin) * (kPi - std::fabs(s.BankAngle));
    const double w = s.AoaText;
    s.AileronDemand = (20 * e / std::sqrt(a.WingWeight) - (w * w + 1) * s.RollRate / 9) * std::cos(s.AngleOfAttack) /
                      a.WingArea * a.WingWeight / s.DynamicPressure * 5000;
    s.AileronDemand = SignLimited(s.AileronDemand, 0.4);
  } else if (s.FlightTime > 3) {
    s.RudderDemand = SignLimited(5 * (s.BankAngle + 0.5 * s.RollRate), 0.087);
  }
}

void LimitReactionMoments(FlightState& s) {
  s.CasPitchMoment = SignLimited(Int(s.CasPitchMoment), 200000);
  if (s.CasYawMoment > 200000) s.CasYawMoment = 200000;
  if (s.CasYawMoment < -200000) s.CasYawMoment = -200000;
  s.CasRollMoment = SignLimited(Int(5 * s.CasRollMoment) / 5, 40000);
}

}  // namespace zarv::flight
