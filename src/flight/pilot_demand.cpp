#include "flight/pilot_demand.h"

#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

void FormPilotDemand(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const int tail = Sgn(a.TailplaneArm);
  const double ppr = s.Pilot.PixelsPerRadian;
  const double e0 = tail * (a.TailplaneIncidence / kDegreesPerRadian + s.Controls.ElevatorCommand);
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);

  if (s.Pilot.MouseSteering == 1) {
    if (a.TailplaneFixed != 0 && !(a.TailplaneFixed == 1 && s.Pilot.PitchHoldOn == 1)) {
      // Weight shift: the stick moves the pilot; the incidence keeps its sign.
      s.Masses.TrimPosition = s.Masses.PilotArm - s.Pilot.StickPitch / options.ScreenScale / 800;
      s.Controls.ElevatorDemand = tail * s.Controls.ElevatorCommand + a.TailplaneIncidence / kDegreesPerRadian;
    } else if (options.JoystickOn > 0 || (light && s.Pilot.PitchHoldOn != 1)) {
      s.Controls.ElevatorDemand = e0 + s.Pilot.StickPitch * a.PitchRatio / ppr;
    } else {
      s.Controls.ElevatorDemand = s.Pilot.StickPitch / ppr;
      if (!light) s.Controls.ElevatorDemand += e0;
    }
    if (a.FinFixed == 0 && light) s.Controls.RudderDemand = a.RollRatio * s.Pilot.StickLateral / ppr + s.Pilot.RudderCommand;
  } else {
    if (s.Pilot.PitchHoldOn == 1 || a.TailplaneFixed == 1) {
      s.Controls.ElevatorDemand = e0;
    } else {
      s.Controls.ElevatorDemand = e0 + s.Pilot.StickPitch / ppr;
    }
    if (light) s.Controls.RudderDemand = s.Pilot.StickLateral / ppr + s.Pilot.RudderCommand;
  }

  // The speed at which the wing at the ground pitch limit carries the aircraft.
  const double c = (s.Setup.GroundPitchLimit + s.Airfoils.WingAngleOffsetNow) * s.Aero.LiftSlope + (s.Controls.FlapAngle + s.Airfoils.WingLiftOffsetNow);
  if (c > 0 && s.Aero.LiftSlope > 0 && s.Air.AirDensity > 0) {
    s.Controls.LiftOffSpeed = std::sqrt(s.Masses.Mass * 19.6 / a.WingArea / s.Setup.SweepAreaFactor / 6.28 / c / s.Air.AirDensity);
  }
}

}  // namespace zarv::flight
