#include "flight/pilot_demand.h"

#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::flight {

void FormPilotDemand(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const int tail = Sgn(a.TailplaneArm);
  const double ppr = s.PixelsPerRadian;
  const double e0 = tail * (a.TailplaneIncidence / 57.3 + s.ElevatorCommand);
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);

  if (s.MouseSteering == 1) {
    if (a.TailplaneFixed != 0 && !(a.TailplaneFixed == 1 && s.PitchHoldOn == 1)) {
      // Weight shift: the stick moves the pilot; the incidence keeps its sign.
      s.TrimPosition = s.PilotArm - s.StickPitch / options.ScreenScale / 800;
      s.ElevatorDemand = tail * s.ElevatorCommand + a.TailplaneIncidence / 57.3;
    } else if (options.JoystickOn > 0 || (light && s.PitchHoldOn != 1)) {
      s.ElevatorDemand = e0 + s.StickPitch * a.PitchRatio / ppr;
    } else {
      s.ElevatorDemand = s.StickPitch / ppr;
      if (!light) s.ElevatorDemand += e0;
    }
    if (a.FinFixed == 0 && light) s.RudderDemand = a.RollRatio * s.StickLateral / ppr + s.RudderCommand;
  } else {
    if (s.PitchHoldOn == 1 || a.TailplaneFixed == 1) {
      s.ElevatorDemand = e0;
    } else {
      s.ElevatorDemand = e0 + s.StickPitch / ppr;
    }
    if (light) s.RudderDemand = s.StickLateral / ppr + s.RudderCommand;
  }

  // The speed at which the wing at the ground pitch limit carries the aircraft.
  const double c = (s.GroundPitchLimit + s.WingAngleOffsetNow) * s.LiftSlope + (s.FlapAngle + s.WingLiftOffsetNow);
  if (c > 0 && s.LiftSlope > 0 && s.AirDensity > 0) {
    s.LiftOffSpeed = std::sqrt(s.Mass * 19.6 / a.WingArea / s.SweepAreaFactor / 6.28 / c / s.AirDensity);
  }
}

}  // namespace zarv::flight
