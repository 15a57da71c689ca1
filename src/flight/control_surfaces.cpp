#include "flight/control_surfaces.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Moves `position` towards `demand` by at most `step`; the demand is taken
// when it is no further than one step away.
void Follow(double& position, double demand, double step) {
  const double d = demand - position;
  if (std::fabs(d) > step) {
    position += Sgn(d) * step;
  } else {
    position = demand;
  }
}

double SignLimited(double x, double limit) { return std::fabs(x) > limit ? Sgn(x) * limit : x; }

}  // namespace

void LimitControlDeflections(FlightState& s, const aircraft::AircraftData& a) {
  const int tail = Sgn(a.TailplaneArm);
  if (tail * s.ElevatorCommand > 0.1745) s.ElevatorCommand = 10.0 * tail / 57.3;
  if (tail * s.ElevatorCommand < -0.2617) s.ElevatorCommand = -15.0 * tail / 57.3;
  if (std::fabs(s.RudderCommand) > 0.1745) s.RudderCommand = Sgn(s.RudderCommand) * 0.1745;
}

bool UsesControlAugmentation(const FlightState& s, const aircraft::AircraftData& a) {
  if (s.CasOn != 1) return false;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) return s.DynamicPressure > 0;
  return s.FlightTime > 3.5 && s.Distance > 1;
}

void ApplyDirectControl(FlightState& s, const aircraft::AircraftData& a) {
  const int tail = Sgn(a.TailplaneArm);
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  if (!powered && s.PitchHoldOn == 1) {
    s.TrimPosition = s.TrimCentre = s.PilotArm;
    s.ElevatorInput = a.TailplaneIncidence / 57.3;
  } else {
    s.ElevatorInput = tail * s.ElevatorDemand;
  }
  if (a.FinFixed != 0 || powered) s.RudderDemand = s.RudderCommand;
  s.AileronDemand = (powered && s.StickLateral != 0) ? -4 * s.StickLateral / s.PixelsPerRadian : 0.0;
  s.NozzlePitchCommand = -tail * s.ElevatorInput;
}

void DriveControlSurfaces(FlightState& s, const aircraft::AircraftData& a) {
  const double n = s.StepsPerSecond;
  const int tail = Sgn(a.TailplaneArm);
  const double incidence = a.TailplaneIncidence / 57.3;

  // Balance mass: the pilot shifts (or the fuel is pumped) at 0.3 m/s.
  Follow(s.TrimCentre, s.TrimPosition, 0.3 / n);
  if (s.TrimCentre < s.TrimMin) {
    s.TrimCentre = s.TrimMin;
  } else if (s.TrimCentre > s.TrimMax) {
    s.TrimCentre = s.TrimMax;
  }

  // Automatic leading-edge flap.
  if (s.LeadingEdgeFlaps == 1) {
    const double w = s.AoaText;
    if (w > 0) {
      s.WingAngleOffsetNow = s.WingAngleOffset - w;
      const double floor = -0.2 * Sq(s.SweepAreaFactor);
      if (s.WingAngleOffsetNow < floor) s.WingAngleOffsetNow = floor;
    }
    s.WingLiftOffsetNow = s.WingLiftOffset - (s.WingAngleOffsetNow - s.WingAngleOffset) * s.LiftSlope;
  } else {
    s.WingAngleOffsetNow = s.WingAngleOffset;
    s.WingLiftOffsetNow = s.WingLiftOffset;
  }

  // Tailplane.
  if (a.LaunchPitch > 0.1745 && s.FlightTime < 3 && a.TailplaneArm > 0) s.ElevatorInput = -0.3;  // ramp hold
  if (a.TailplaneFixed == 1 && s.PitchHoldOn == 1) s.ElevatorInput = tail * incidence;
  if (s.EngineType == aircraft::EngineKind::Rocket) {
    s.ElevatorInput = SignLimited(s.ElevatorInput, 1);
  } else if (s.ElevatorInput < s.MinAngleOfAttack) {
    s.ElevatorInput = s.MinAngleOfAttack;
  }
  if (s.ElevatorInput > 0.4) s.ElevatorInput = 0.4;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.PitchHoldOn == 1) s.ElevatorAngle = s.ElevatorInput;
  double d = s.ElevatorInput - s.ElevatorAngle;
  const double tailStep = a.SurfaceRate / 57.3 / n;
  if (std::fabs(d) > tailStep) d = Sgn(d) * tailStep;
  s.ElevatorAngle += d;

  // Afterburner opening: a first-order lag of about a second.
  double x = s.NozzlePosition;
  const double minimum = GuardedDiv(1, s.AfterburnerMax);
  if (s.AfterburnerLevel > 1) {
    x = (GuardedDiv(GuardedDiv(s.EngineSpeedRatio, s.PropellerAngle) * s.AfterburnerLevel, s.AfterburnerMax) + n * x) /
        (n + 1);
  } else if (s.Throttle > 0.1) {
    x = (n * x + minimum) / (n + 1);
  } else {
    x = (n * x + 1) / (n + 1);
  }
  if (x < minimum) {
    x = minimum;
  } else if (x > 1) {
    x = 1;
  }
  s.NozzlePosition = x;

  // Thrust vectoring.
  if (s.TvcOn == 0) {
    s.NozzlePitch = 0;
    s.NozzleYaw = 0;
  } else {
    if (s.SupportAccel > 0 && s.StickPitch == 0) {
      s.NozzlePitch = (s.PitchAngle - a.LaunchPitch) + s.PitchRate;  // holds the launch attitude on the run
      s.NozzleYaw = 0;
    } else if (s.CasOn != 0 && s.DynamicPressure >= 100) {
      const double g = 3 * s.NozzlePitchCommand;
      if (0.6 / n > std::fabs(g - s.NozzlePitch) / (s.DynamicPressure / 2000 + 0.5)) {
        s.NozzlePitch = g;
      } else {
        s.NozzlePitch += Sgn(g - s.NozzlePitch) * 0.6 / n;
      }
    } else {
      const double g = tail * s.ElevatorAngle;
      if (0.5 / n > std::fabs(g - s.NozzlePitch)) {
        s.NozzlePitch = g;
      } else {
        s.NozzlePitch += Sgn(g - s.NozzlePitch) * 0.6 / n;
      }
    }
    s.NozzlePitch = SignLimited(s.NozzlePitch, 0.25);
  }

  // Fin: a powered aircraft's rudder moves at a third of its rate at low
  // dynamic pressure.
  if (std::fabs(s.RudderDemand) >= 0.1745) s.RudderDemand = Sgn(s.RudderDemand) * 0.1745;
  const double finRate =
      (aircraft::LaunchAbove10(a.LaunchSpeed) && s.DynamicPressure < 1500) ? a.SurfaceRate / 3 / 57.3 : a.SurfaceRate / 57.3;
  Follow(s.RudderAngle, s.RudderDemand, finRate / n);

  // Flaps: notches 0, 1/4, 1/2 and full.
  s.FlapTarget = s.FlapNotch == 3 ? a.FlapMax : s.FlapNotch / 4.0 * a.FlapMax;
  if (s.FlapAngle != s.FlapTarget) Follow(s.FlapAngle, s.FlapTarget, 0.15 / std::pow(a.WingArea, 0.3) / n);

  // Ailerons.
  s.AileronDemand = SignLimited(s.AileronDemand, 0.8);
  Follow(s.AileronAngle, s.AileronDemand, a.SurfaceRate / 30 / n);
}

}  // namespace zarv::flight
