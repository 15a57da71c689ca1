#include "flight/flight_commands.h"

#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::flight {

bool ApplyTakeoffCommand(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  s.WheelBrakeSetting = s.WheelBrakeSetting < 0.1 ? (powered ? 0.5 : 0.15) : 0.0;
  const bool start = (s.WheelBrakeSetting == 0 && s.SupportAccel > 0) || (a.LaunchHeight > 0 && s.GroundSpeed < 0.001);
  if (!start) return false;
  if (a.LaunchHeight > 0.001) {
    r.RecordCount = 1;
    s.FlightTime = 0.1;
    s.GroundSpeed = 0.01;
  }
  if (!powered && s.CourseDistance < 0) {
    // The pilot reaches the launch speed 2.4 s after the start.
    s.TakeoffRunAcceleration = a.LaunchSpeed / 2.4;
    s.WheelBrakeSetting = 0;
    r.RecordCount = 0;
  } else {
    s.TakeoffRunAcceleration = a.LaunchSpeed * a.LaunchSpeed / 20;
    s.WheelBrakeSetting = 0;
  }
  return true;
}

void ToggleGear(FlightState& s, const aircraft::AircraftData& a) {
  if (s.EngineType == aircraft::EngineKind::Piston && s.DryMass < 800) return;
  s.GearValue = s.GearValue == 0 ? 2 * std::sqrt(s.DryMass) / 100 / a.ParasiteDragArea : 0.0;
}

void FlapDown(FlightState& s, const aircraft::AircraftData& a) {
  if (a.FlapMax > 0 && s.FlapNotch < 3) ++s.FlapNotch;
}

void FlapUp(FlightState& s) {
  if (s.FlapNotch > 0) --s.FlapNotch;
}

void ToggleFuelDump(FlightState& s, const aircraft::AircraftData& a) {
  const double c = a.FuelCapacity;
  if (s.FuelQuantity > 0.6 * c) {
    s.FuelQuantity = 0.6 * c;
  } else if (s.FuelQuantity > 0.3 * c) {
    s.FuelQuantity = 0.3 * c;
  } else if (s.FuelQuantity > 0.1 * c) {
    s.FuelQuantity = 0.1 * c;
  } else if (s.EngineType == aircraft::EngineKind::Rocket && s.FuelQuantity > 0.07 * s.DryMass) {
    s.FuelQuantity = 0.07 * s.DryMass;
  }
}

void ApplyFlightStartState(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const double scale = options.ScreenScale;
  s.PixelsPerRadian = 573 * scale;
  s.MouseSteering = 1;

  // Engine flags and the start state of the companion loader's closing steps.
  if (s.EngineType == aircraft::EngineKind::Jet || s.EngineType == aircraft::EngineKind::Rocket) s.CasOn = 1;
  if (s.DryMass > 800 && a.LaunchHeight < 30) s.GearValue = std::sqrt(s.DryMass) / 100 * 6 / a.ParasiteDragArea;
  if (a.LaunchHeight == 0 && (a.LaunchSpeed < 1.1 || aircraft::LaunchAbove10(a.LaunchSpeed))) {
    s.GearExtension = s.GearValue;
    s.PosX = s.PosY = 20;
    s.GroundSpeed = 0.001;
    s.TakeoffRunAcceleration = 0;
    s.WheelBrakeSetting = 0.5;
    if (a.LaunchPitch < 0.174 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
      s.Altitude = s.GearHeight + 1.6;
      s.BankAngle = 0.1;
    } else {
      s.Altitude = s.GearHeight - 0.01;
      s.BankAngle = 0;
    }
  } else if (a.LaunchSpeed < 80) {
    s.GearExtension = s.GearValue;
  } else if (a.LaunchHeight > 120000) {
    s.PosX = 0;
    s.PosY = 300;
  }
  if (s.CourseDistance < 0) s.TakeoffRunAcceleration = -50;

  // The start point as the launch-condition controls leave it: on the course
  // line, StartRadius from the origin (behind it for a fast aircraft).
  s.StartRadius = 10 - 1.25 * a.LaunchSpeed;
  if (s.StartRadius < -9.9) s.StartRadius = -9.9;
  if (!(s.EngineType == aircraft::EngineKind::Rocket && a.LaunchHeight >= 80000) && a.LaunchHeight < 120000) {
    s.PosX = s.StartRadius * std::sin(s.Heading);
    s.PosY = s.StartRadius * std::cos(s.Heading);
  }
  if (a.LaunchHeight == 0 && (a.LaunchSpeed < 1.1 || aircraft::LaunchAbove10(a.LaunchSpeed))) {
    s.PosX = 70;
    s.PosY = 80;
  }

  // View centre, and the steering pointer resting on it.
  s.ViewCentreX = CLng(320 * scale);
  s.ViewCentreBaseY = CInt(480 * scale - (a.EngineCount < 1 ? 155 : 210) * scale);
  s.ViewCentreY = CLng(a.LaunchPitch > 9 / 57.3 ? s.ViewCentreBaseY - 50 * scale : s.ViewCentreBaseY - 108 * scale);
  s.SteeringPointerX = CInt(s.ViewCentreX);
  s.SteeringPointerY = CInt(s.ViewCentreY);
}

}  // namespace zarv::flight
