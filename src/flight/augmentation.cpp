#include "flight/augmentation.h"

#include <cmath>

#include "flight/auto_trim.h"
#include "flight/control_law.h"
#include "flight/flight_commands.h"
#include "flight/guarded_math.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double SignLimited(double x, double limit) { return std::fabs(x) > limit ? Sgn(x) * limit : x; }

}  // namespace

void ApplyControlAugmentation(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  const double q = s.Air.DynamicPressure;
  const double m2 = s.Air.MachSquared;

  s.Controls.ElevatorInput = -s.Controls.ElevatorDemand;  // the pilot's angle-of-attack demand
  TrimTailForBalance(s, a, 9.8);

  if (s.Body.ViewRollCos > 0 && s.Pilot.PitchHoldOn == 1) {
    s.Controls.ElevatorInput = (powered ? s.Pilot.PitchHoldAngle : s.Controls.ElevatorInput) - s.Air.AirPathAngle;
    if (s.Engine.EngineType == aircraft::EngineKind::Rocket && q > 150) {
      // Climb schedule of a rocket by Mach number.
      if (m2 > 292) {
        s.Controls.ElevatorInput = s.Pilot.PitchHoldAngle - s.Air.AirPathAngle;
      } else if (m2 > 3) {
        s.Controls.ElevatorInput = s.Pilot.PitchHoldAngle * std::sin(std::sqrt(m2 - 3) / 17 * 1.57) - s.Air.AirPathAngle;
      } else if (m2 > 1) {
        s.Controls.ElevatorInput = (3 - m2) / 2 * (-14.5 / kDegreesPerRadian) - s.Air.AirPathAngle;
      } else {
        s.Controls.ElevatorInput = -14.5 / kDegreesPerRadian - s.Air.AirPathAngle;
        s.Controls.TrimAngleOfAttack = (s.Controls.TrimAngleOfAttack - 3 * s.Air.AirPathAngle) * (450 - s.Body.Altitude) / 450;
        if (s.Controls.ElevatorInput < s.Controls.TrimAngleOfAttack) s.Controls.ElevatorInput = s.Controls.TrimAngleOfAttack;
        TrimTailForBalance(s, a, 22.5);
        if (s.Controls.ElevatorInput > s.Controls.TrimAngleOfAttack) s.Controls.ElevatorInput = s.Controls.TrimAngleOfAttack;
      }
    }
    if (s.Body.Altitude < 20 && s.Ground.GearExtension == 0) ToggleGear(s, a);  // the gear goes down
  }
  s.Controls.ElevatorDemand = -s.Controls.ElevatorInput;

  // Load limits: pulling to the engine's figure, pushing to -45 m/s^2.
  if (powered && q > 2000 && m2 < 9) {
    TrimTailForBalance(s, a, s.Engine.EngineNoiseLevel);
    if (s.Controls.ElevatorInput > s.Controls.TrimAngleOfAttack && s.Controls.TrimAngleOfAttack > 0) s.Controls.ElevatorInput = s.Controls.TrimAngleOfAttack;
    TrimTailForBalance(s, a, -45);
    if (s.Controls.ElevatorInput < s.Controls.TrimAngleOfAttack && s.Controls.TrimAngleOfAttack < 0) s.Controls.ElevatorInput = s.Controls.TrimAngleOfAttack;
  }
  if (std::fabs(s.Body.RollRate) > 1 && s.Controls.ElevatorInput < 0) s.Controls.ElevatorInput = 0;  // no push while rolling fast

  StepControlLaws(s, a, options);

  if (a.LaunchPitch > 0.174 && s.Pilot.WheelBrakeSetting > 0.1 && s.Air.SupportAccel > 0 && 0.9 * s.Controls.LiftOffSpeed > s.Body.AirSpeed) {
    s.Controls.TailplaneCommand = -Sgn(a.TailplaneArm) * (s.Body.PitchAngle + 0.05);  // hold the attitude on the ground run
  }

  if (powered) {
    const auto damper = [&](double p) {
      // No damper before the wing has first set its scale.
      return 30 * GuardedDiv(p * s.Masses.RollInertia / std::pow(q, 0.8), s.Wing.RollDamperScale) / std::pow(a.WingSpan, 3);
    };
    if (s.Pilot.StickLateral == 0) {
      s.Controls.AileronDemand = damper(-s.Body.RollRate);
    } else {
      s.Controls.AileronDemand = -s.Pilot.StickLateral * a.RollRatio / options.ScreenScale / 125;
      if (Sgn(-s.Pilot.StickLateral) != Sgn(s.Body.RollRate)) s.Controls.AileronDemand -= damper(s.Body.RollRate);
    }
  }

  s.Controls.RudderDemand = -s.Pilot.RudderCommand + s.Controls.YawDamperGain * (3 * (1.25 * s.Pilot.RudderCommand + s.Air.Sideslip) + 0.3 * s.Body.YawRate);
}

void FormReactionControl(const EngineState& engine, const MassProperties& masses, const AirData& air,
                         const PilotControls& pilot, const FlightOptions& options, ControlState& controls) {
  const bool thinAir = engine.EngineType == aircraft::EngineKind::Rocket && air.AirDensity < 0.01225;
  const bool active =
      thinAir && (air.DynamicPressure < 3000 || std::fabs(controls.TailplaneCommand - air.AngleOfAttack) > 0.05);
  if (!active || air.DynamicPressure >= 300) {
    controls.CasPitchMoment = 0;
    controls.CasRollMoment = 0;
    controls.CasYawMoment = 0;
    return;
  }
  controls.TailplaneCommand = SignLimited(controls.TailplaneCommand, 0.2);
  controls.CasPitchMoment = std::sqrt(masses.PitchInertia) * controls.TailplaneCommand / 2 * 30000;
  controls.CasYawMoment = 0;
  controls.CasRollMoment = std::sqrt(masses.RollInertia) * (-pilot.StickLateral / options.ScreenScale / 250) * 30000;
}

void HoldBank(const LoopTiming& loop, const BodyMotion& body, const AirData& air,
              const PilotControls& pilot, const aircraft::AircraftData& a, ControlState& controls) {
  if (pilot.BrakeOn != 1) return;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    if (!(std::cos(air.AngleOfAttack) > 0.2 && body.AirSpeed > 20)) return;
    controls.AileronDemand = 0;
    // Levels the wings; past 90 degrees the error fades to 0 at inverted flight.
    const double e = std::fabs(body.BankAngle) < 1.57 ? -body.BankAngle
                                                    : -Sgn(body.ViewRollSin) * (kPi - std::fabs(body.BankAngle));
    const double w = air.AoaText;
    controls.AileronDemand = (20 * e / std::sqrt(a.WingWeight) - (w * w + 1) * body.RollRate / 9) * std::cos(air.AngleOfAttack) /
                      a.WingArea * a.WingWeight / air.DynamicPressure * 5000;
    controls.AileronDemand = SignLimited(controls.AileronDemand, 0.4);
  } else if (loop.FlightTime > 3) {
    controls.RudderDemand = SignLimited(5 * (body.BankAngle + 0.5 * body.RollRate), 0.087);
  }
}

void LimitReactionMoments(ControlState& controls) {
  controls.CasPitchMoment = SignLimited(Int(controls.CasPitchMoment), 200000);
  if (controls.CasYawMoment > 200000) controls.CasYawMoment = 200000;
  if (controls.CasYawMoment < -200000) controls.CasYawMoment = -200000;
  controls.CasRollMoment = SignLimited(Int(5 * controls.CasRollMoment) / 5, 40000);
}

}  // namespace zarv::flight
