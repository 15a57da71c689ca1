#include "flight/flight_commands.h"

#include <cmath>

#include "flight/ground_contact.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

bool ApplyTakeoffCommand(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  s.Pilot.WheelBrakeSetting = s.Pilot.WheelBrakeSetting < 0.1 ? (powered ? 0.5 : 0.15) : 0.0;
  // The gear's depth, not the support: on the platform the support is the
  // deck's, and releasing the brake there must not start the run again.
  // Once the aircraft has left its start the key only works the brake: a
  // new run would throw the flight's time and record away. Afloat, the
  // first key lets it go and is its start, wherever it then drifts.
  const bool afloat = StartedAfloat(s.Ground);
  const bool start = afloat ? LetGoAfloat(s.Ground)
                            : !s.Ground.StartLeft && ((s.Pilot.WheelBrakeSetting == 0 && s.Ground.GearContactDepth > 0) ||
                                                      (aircraft::StartsAboveSurface(a) && s.Body.GroundSpeed < 0.001));
  if (!start) return false;
  s.Ground.RunStarted = true;
  if (afloat) r.RecordCount = 0;  // placed out on the course too: the record starts here
  if (aircraft::StartsAboveSurface(a)) {
    // Row 0 is the aircraft at its start, which the recorder writes 0.1 s
    // after the load (its index starts at -2); the run goes on from row 1.
    // A key before that starts the record at row 0 itself: skipping it
    // would file a row the recorder never wrote.
    r.RecordCount = r.LastRecorded >= 0 ? 1 : 0;
    s.Loop.FlightTime = 0.1;
    s.Body.GroundSpeed = 0.01;
  }
  if (!powered && s.Body.CourseDistance < 0) {
    // The pilot reaches the launch speed 2.4 s after the start.
    s.Pilot.TakeoffRunAcceleration = a.LaunchSpeed / 2.4;
    s.Pilot.WheelBrakeSetting = 0;
    r.RecordCount = 0;
  } else {
    s.Pilot.TakeoffRunAcceleration = a.LaunchSpeed * a.LaunchSpeed / 20;
    s.Pilot.WheelBrakeSetting = 0;
  }
  return true;
}

void ToggleGear(FlightState& s, const aircraft::AircraftData& a) {
  if (s.Engine.EngineType == aircraft::EngineKind::Piston && s.Masses.DryMass < 800) return;
  s.Controls.GearValue = s.Controls.GearValue == 0 ? 2 * std::sqrt(s.Masses.DryMass) / 100 / a.ParasiteDragArea : 0.0;
}

void FlapDown(FlightState& s, const aircraft::AircraftData& a) {
  if (a.FlapMax > 0 && s.Pilot.FlapNotch < 3) ++s.Pilot.FlapNotch;
}

void FlapUp(FlightState& s) {
  if (s.Pilot.FlapNotch > 0) --s.Pilot.FlapNotch;
}

void ToggleFuelDump(FlightState& s, const aircraft::AircraftData& a) {
  const double c = a.FuelCapacity;
  if (s.Masses.FuelQuantity > 0.6 * c) {
    s.Masses.FuelQuantity = 0.6 * c;
  } else if (s.Masses.FuelQuantity > 0.3 * c) {
    s.Masses.FuelQuantity = 0.3 * c;
  } else if (s.Masses.FuelQuantity > 0.1 * c) {
    s.Masses.FuelQuantity = 0.1 * c;
  } else if (s.Engine.EngineType == aircraft::EngineKind::Rocket && s.Masses.FuelQuantity > 0.07 * s.Masses.DryMass) {
    s.Masses.FuelQuantity = 0.07 * s.Masses.DryMass;
  }
}

void ApplyFlightStartState(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const double scale = options.ScreenScale;
  s.Pilot.PixelsPerRadian = 573 * scale;
  s.Pilot.MouseSteering = 1;

  // Engine flags and the start state of the companion loader's closing steps.
  if (s.Engine.EngineType == aircraft::EngineKind::Jet || s.Engine.EngineType == aircraft::EngineKind::Rocket) s.Pilot.CasOn = 1;
  if (s.Masses.DryMass > 800 && a.LaunchHeight < 30) s.Controls.GearValue = std::sqrt(s.Masses.DryMass) / 100 * 6 / a.ParasiteDragArea;
  if (aircraft::StartsOutOnTheLake(a)) {
    s.Ground.GearExtension = s.Controls.GearValue;
    s.Body.PosX = s.Body.PosY = 20;
    s.Body.GroundSpeed = 0.001;
    s.Pilot.TakeoffRunAcceleration = 0;
    s.Pilot.WheelBrakeSetting = 0.5;
    if (a.LaunchPitch < 0.174 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
      s.Body.Altitude = s.Setup.GearHeight + 1.6;
      s.Body.BankAngle = 0.1;
    } else {
      s.Body.Altitude = s.Setup.GearHeight - 0.01;
      s.Body.BankAngle = 0;
    }
  } else if (a.LaunchSpeed < 80) {
    s.Ground.GearExtension = s.Controls.GearValue;
  } else if (a.LaunchHeight > 120000) {
    s.Body.PosX = 0;
    s.Body.PosY = 300;
  }
  BeginAfloatStart(s, a);
  if (s.Body.CourseDistance < 0) s.Pilot.TakeoffRunAcceleration = -50;

  // The start point as the launch-condition controls leave it: on the course
  // line, StartRadius from the origin (behind it for a fast aircraft).
  s.Body.StartRadius = 10 - 1.25 * a.LaunchSpeed;
  if (s.Body.StartRadius < -9.9) s.Body.StartRadius = -9.9;
  if (!(s.Engine.EngineType == aircraft::EngineKind::Rocket && a.LaunchHeight >= 80000) && a.LaunchHeight < 120000) {
    s.Body.PosX = s.Body.StartRadius * std::sin(s.Body.Heading);
    s.Body.PosY = s.Body.StartRadius * std::cos(s.Body.Heading);
  }
  if (aircraft::StartsOutOnTheLake(a)) {
    s.Body.PosX = 70;
    s.Body.PosY = 80;
  }

  // View centre, and the steering pointer resting on it.
  s.View.ViewCentreX = CLng(320 * scale);
  s.View.ViewCentreBaseY = CInt(480 * scale - (a.EngineCount < 1 ? 155 : 210) * scale);
  s.View.ViewCentreY = CLng(a.LaunchPitch > 9 / kDegreesPerRadian ? s.View.ViewCentreBaseY - 50 * scale : s.View.ViewCentreBaseY - 108 * scale);
  s.Pilot.SteeringPointerX = CInt(s.View.ViewCentreX);
  s.Pilot.SteeringPointerY = CInt(s.View.ViewCentreY);
}

}  // namespace zarv::flight
