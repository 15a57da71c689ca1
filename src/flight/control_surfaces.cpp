#include "flight/control_surfaces.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/angles.h"
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
  if (tail * s.Controls.ElevatorCommand > 0.1745) s.Controls.ElevatorCommand = 10.0 * tail / kDegreesPerRadian;
  if (tail * s.Controls.ElevatorCommand < -0.2617) s.Controls.ElevatorCommand = -15.0 * tail / kDegreesPerRadian;
  if (std::fabs(s.Pilot.RudderCommand) > 0.1745) s.Pilot.RudderCommand = Sgn(s.Pilot.RudderCommand) * 0.1745;
}

bool UsesControlAugmentation(const LoopTiming& loop, const BodyMotion& body, const AirData& air,
                             const PilotControls& pilot, const aircraft::AircraftData& a) {
  if (pilot.CasOn != 1) return false;
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) return air.DynamicPressure > 0;
  return loop.FlightTime > 3.5 && body.Distance > 1;
}

void ApplyDirectControl(const PilotControls& pilot, const aircraft::AircraftData& a, MassProperties& masses,
                        ControlState& controls) {
  const int tail = Sgn(a.TailplaneArm);
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  if (!powered && pilot.PitchHoldOn == 1) {
    masses.TrimPosition = masses.TrimCentre = masses.PilotArm;
    controls.TailplaneCommand = a.TailplaneIncidence / kDegreesPerRadian;
  } else {
    controls.TailplaneCommand = tail * controls.ElevatorDemand;
  }
  if (a.FinFixed != 0 || powered) controls.RudderDemand = pilot.RudderCommand;
  controls.AileronDemand = (powered && pilot.StickLateral != 0) ? -4 * pilot.StickLateral / pilot.PixelsPerRadian : 0.0;
  controls.NozzlePitchCommand = -tail * controls.TailplaneCommand;
}

void DriveControlSurfaces(FlightState& s, const aircraft::AircraftData& a) {
  const double n = s.Loop.StepsPerSecond;
  const int tail = Sgn(a.TailplaneArm);
  const double incidence = a.TailplaneIncidence / kDegreesPerRadian;

  // Balance mass: the pilot shifts (or the fuel is pumped) at 0.3 m/s.
  Follow(s.Masses.TrimCentre, s.Masses.TrimPosition, 0.3 / n);
  if (s.Masses.TrimCentre < s.Masses.TrimMin) {
    s.Masses.TrimCentre = s.Masses.TrimMin;
  } else if (s.Masses.TrimCentre > s.Masses.TrimMax) {
    s.Masses.TrimCentre = s.Masses.TrimMax;
  }

  // Automatic leading-edge flap.
  if (s.Airfoils.LeadingEdgeFlaps == 1) {
    const double w = s.Air.AoaText;
    if (w > 0) {
      s.Airfoils.WingAngleOffsetNow = s.Airfoils.WingAngleOffset - w;
      const double floor = -0.2 * Sq(s.Setup.SweepAreaFactor);
      if (s.Airfoils.WingAngleOffsetNow < floor) s.Airfoils.WingAngleOffsetNow = floor;
    }
    s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset - (s.Airfoils.WingAngleOffsetNow - s.Airfoils.WingAngleOffset) * s.Aero.LiftSlope;
  } else {
    s.Airfoils.WingAngleOffsetNow = s.Airfoils.WingAngleOffset;
    s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset;
  }

  // Tailplane.
  if (a.LaunchPitch > 0.1745 && s.Loop.FlightTime < 3 && a.TailplaneArm > 0) s.Controls.TailplaneCommand = -0.3;  // ramp hold
  if (a.TailplaneFixed == 1 && s.Pilot.PitchHoldOn == 1) s.Controls.TailplaneCommand = tail * incidence;
  if (s.Engine.EngineType == aircraft::EngineKind::Rocket) {
    s.Controls.TailplaneCommand = SignLimited(s.Controls.TailplaneCommand, 1);
  } else if (s.Controls.TailplaneCommand < s.Setup.MinAngleOfAttack) {
    s.Controls.TailplaneCommand = s.Setup.MinAngleOfAttack;
  }
  if (s.Controls.TailplaneCommand > 0.4) s.Controls.TailplaneCommand = 0.4;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.Pilot.PitchHoldOn == 1) s.Controls.ElevatorAngle = s.Controls.TailplaneCommand;
  double d = s.Controls.TailplaneCommand - s.Controls.ElevatorAngle;
  const double tailStep = a.SurfaceRate / kDegreesPerRadian / n;
  if (std::fabs(d) > tailStep) d = Sgn(d) * tailStep;
  s.Controls.ElevatorAngle += d;

  // Afterburner opening: a first-order lag of about a second.
  double x = s.Engine.NozzlePosition;
  const double minimum = GuardedDiv(1, s.Engine.AfterburnerMax);
  if (s.Engine.AfterburnerLevel > 1) {
    x = (GuardedDiv(GuardedDiv(s.Engine.EngineSpeedRatio, s.Engine.PropellerAngle) * s.Engine.AfterburnerLevel, s.Engine.AfterburnerMax) + n * x) /
        (n + 1);
  } else if (s.Engine.Throttle > 0.1) {
    x = (n * x + minimum) / (n + 1);
  } else {
    x = (n * x + 1) / (n + 1);
  }
  if (x < minimum) {
    x = minimum;
  } else if (x > 1) {
    x = 1;
  }
  s.Engine.NozzlePosition = x;

  // Thrust vectoring.
  if (s.Engine.TvcOn == 0) {
    s.Controls.NozzlePitch = 0;
    s.Controls.NozzleYaw = 0;
  } else {
    if (s.Air.SupportAccel > 0 && s.Pilot.StickPitch == 0) {
      s.Controls.NozzlePitch = (s.Body.PitchAngle - a.LaunchPitch) + s.Body.PitchRate;  // holds the launch attitude on the run
      s.Controls.NozzleYaw = 0;
    } else if (s.Pilot.CasOn != 0 && s.Air.DynamicPressure >= 100) {
      const double g = 3 * s.Controls.NozzlePitchCommand;
      if (0.6 / n > std::fabs(g - s.Controls.NozzlePitch) / (s.Air.DynamicPressure / 2000 + 0.5)) {
        s.Controls.NozzlePitch = g;
      } else {
        s.Controls.NozzlePitch += Sgn(g - s.Controls.NozzlePitch) * 0.6 / n;
      }
    } else {
      const double g = tail * s.Controls.ElevatorAngle;
      if (0.5 / n > std::fabs(g - s.Controls.NozzlePitch)) {
        s.Controls.NozzlePitch = g;
      } else {
        s.Controls.NozzlePitch += Sgn(g - s.Controls.NozzlePitch) * 0.6 / n;
      }
    }
    s.Controls.NozzlePitch = SignLimited(s.Controls.NozzlePitch, 0.25);
  }

  // Fin: a powered aircraft's rudder moves at a third of its rate at low
  // dynamic pressure.
  if (std::fabs(s.Controls.RudderDemand) >= 0.1745) s.Controls.RudderDemand = Sgn(s.Controls.RudderDemand) * 0.1745;
  const double finRate =
      (aircraft::LaunchAbove10(a.LaunchSpeed) && s.Air.DynamicPressure < 1500) ? a.SurfaceRate / 3 / kDegreesPerRadian : a.SurfaceRate / kDegreesPerRadian;
  Follow(s.Controls.RudderAngle, s.Controls.RudderDemand, finRate / n);

  // Flaps: notches 0, 1/4, 1/2 and full.
  s.Controls.FlapTarget = s.Pilot.FlapNotch == 3 ? a.FlapMax : s.Pilot.FlapNotch / 4.0 * a.FlapMax;
  if (s.Controls.FlapAngle != s.Controls.FlapTarget) Follow(s.Controls.FlapAngle, s.Controls.FlapTarget, 0.15 / std::pow(a.WingArea, 0.3) / n);

  // Ailerons.
  s.Controls.AileronDemand = SignLimited(s.Controls.AileronDemand, 0.8);
  Follow(s.Controls.AileronAngle, s.Controls.AileronDemand, a.SurfaceRate / 30 / n);
}

}  // namespace zarv::flight
