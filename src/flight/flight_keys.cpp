#include "flight/flight_keys.h"

#include <algorithm>
#include <cmath>

#include "flight/control_surfaces.h"
#include "flight/flight_commands.h"
#include "flight/flight_loop.h"
#include "flight/ground_contact.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

constexpr int kKeyReturn = 13, kKeySpace = 32, kKeyEscape = 27, kKeyPad5 = 101;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr double kArrowSteps = 171.9;  // steps per radian: a third of a degree
constexpr double kCoarseSteps = 5.73;  // ten degrees

void ThrottleKeys(int key, FlightState& s, bool light) {
  const bool rocket = s.Engine.EngineType == aircraft::EngineKind::Rocket;
  if (rocket || light) {
    if (key == 'A') s.Engine.Throttle = std::min(s.Engine.Throttle + 0.05, 1.0);
    if (key == 'Z') s.Engine.Throttle = std::max(s.Engine.Throttle - 0.05, 0.0);
    return;
  }
  if (s.Masses.FuelQuantity <= 0) return;  // an engine out of fuel stays stopped
  if (key == 'A' && s.Engine.Throttle > 0) s.Engine.Throttle = std::min(s.Engine.Throttle + 0.05, 1.0);
  if (key == 'Z' && s.Engine.Throttle > 0) {
    s.Engine.AfterburnerLevel = 1.0;
    s.Engine.Throttle = std::max(s.Engine.Throttle - 0.05, 0.1);
  }
  const double afterburnerStep = (s.Engine.AfterburnerMax - 1) / 3;
  if (key == 'Q' && s.Engine.Throttle > 0.99 && s.Engine.AfterburnerMax > 1.02)
    s.Engine.AfterburnerLevel = std::min(s.Engine.AfterburnerLevel + afterburnerStep, s.Engine.AfterburnerMax);
  // A at full throttle lowers the afterburner, also on the press that just
  // reached full throttle.
  if (key == 'A' && s.Engine.Throttle > 0.99) s.Engine.AfterburnerLevel = std::max(s.Engine.AfterburnerLevel - afterburnerStep, 1.0);
  const double governorStep = s.Engine.RatedRpm != 0 ? s.Engine.GearRatio * 1.66667 / s.Engine.RatedRpm : 0.0;
  if (key == 'W' && s.Engine.Throttle > 0) s.Engine.GovernorSetting = std::min(s.Engine.GovernorSetting + governorStep, 1.0);
  if (key == 'S' && s.Engine.Throttle > 0) s.Engine.GovernorSetting = std::max(s.Engine.GovernorSetting - governorStep, s.Engine.GovernorMinimum);
}

}  // namespace

void FlightKeyDown(int key, FlightState& s, aircraft::AircraftData& a, KeyboardState& k, const KeyCommands& c) {
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  k.LastKeyCode = key;
  if (key == kKeyReturn || key == kKeySpace || (key == kKeyPad5 && s.Body.InertialSpeed < 0.01)) c.Takeoff();
  if (key == 'I') {
    if (s.Pilot.CasOn == 0) {
      s.Pilot.CasOn = 1;
    } else {
      s.Pilot.CasOn = 0;
      if (s.Engine.EngineRating >= 9000) s.Pilot.PitchHoldOn = 0;
    }
  }
  if (key == 'B') s.Pilot.BrakeOn = (s.Pilot.BrakeOn == 0 && a.FinFixed == 0) ? 1 : 0;
  if (key == 'P') {
    if (s.Pilot.PitchHoldOn != 0) {
      s.Pilot.PitchHoldOn = 0;
    } else if (s.Pilot.CasOn != 0 || light) {
      s.Pilot.PitchHoldOn = 1;
      s.Pilot.PitchHoldAngle = s.Body.PitchAngle;
    }
  }
  if (key == 'G') ToggleGear(s, a);
  if (std::fabs(s.Pilot.RudderCommand) > 0.1745) s.Pilot.RudderCommand = Sgn(s.Pilot.RudderCommand) * 0.1745;
  if (key == 'V') s.Engine.TvcOn = (s.Engine.TvcOn == 0 && s.Engine.TvcCapability > 0) ? 1 : 0;
  if (key == 'F') FlapDown(s, a);
  if (key == 'R') FlapUp(s);
  if (key == 'D') ToggleFuelDump(s, a);
  if (key == 'C' && light) a.TailplaneFixed = a.TailplaneFixed == 1 ? 0 : 1;
  if (key == 'A' || key == 'Z' || key == 'Q' || key == 'W' || key == 'S') ThrottleKeys(key, s, light);
  if (key == 'O') {
    if (k.InfoPanelMode == 0) {
      k.InfoPanelMode = 1;
    } else if (k.InfoPanelMode == 1) {
      k.InfoPanelMode = light ? 0 : 2;
    } else {
      k.InfoPanelMode = 0;
    }
  }
  if (key == 'T') {
    k.SimSpeedNormal = !k.SimSpeedNormal;
    c.SpeedOptionChanged(k.SimSpeedNormal);
  }
  const int tail = Sgn(a.TailplaneArm);
  if (key == kKeyUp || key == kKeyDown) {
    const double step = key == kKeyUp ? tail : -tail;
    s.Controls.ElevatorCommand = (Int(s.Controls.ElevatorCommand * kArrowSteps + 0.5) + step) / kArrowSteps;
  }
  if (key == kKeyLeft || key == kKeyRight)
    s.Pilot.RudderCommand = (Int(s.Pilot.RudderCommand * kArrowSteps + 0.5) + (key == kKeyLeft ? 1 : -1)) / kArrowSteps;
  if (key == kKeyComma || key == kKeyPeriod)
    s.Pilot.RudderCommand = (Int(s.Pilot.RudderCommand * kCoarseSteps + 0.5) + (key == kKeyComma ? 1 : -1)) / kCoarseSteps;
  LimitControlDeflections(s, a);
  if (k.MenuItemCount > 6) {
    if (key == kKeyF1 + 1) c.Ranking();
    if (key == kKeyF1 + 2) c.AirfoilChart();
    if (key == kKeyF1 + 3) c.AircraftChart();
    if (key == kKeyF1 + 6) c.Editor();
    if (key == kKeyF1 + 7) c.Registration();
  }
  if (key == kKeyF1 + 4) c.FlightData();
  if (key == kKeyF1 + 5) c.Replay();
  if (key == kKeyF1 + 8) c.CancelOrPlatform();
  if (key == kKeyF1 + 9) c.ChangeAircraft();
  if (key == kKeyF1 + 10) (k.DeveloperMode ? c.EndNow : c.Minimise)();
  if (key == kKeyF1 + 11) c.Quit();
  if (key == kKeyEscape) {
    if (!k.ResultPanelVisible) c.CancelOrPlatform();
    if (k.ResultPanelVisible) {
      k.ResultPanelVisible = false;
      c.HideResultPanel();
    }
  }
  if (key == 'L') k.ScreenshotRequest = 1;
  if (FlightIsDown(s)) c.ReadDisplayOptions();
}

void FlightKeyPress(int keyAscii, FlightState& s, aircraft::AircraftData& a, KeyboardState& k,
                    const KeyCommands& c) {
  const char ch = static_cast<char>(keyAscii);
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  if (s.Pilot.MouseSteering == 0 || a.TailplaneFixed == 0) {
    if (ch == '-') {
      s.Masses.TrimPosition = Int((s.Masses.TrimPosition - s.Masses.PilotArm) / s.Masses.TrimStep + 0.5) * s.Masses.TrimStep + s.Masses.PilotArm - s.Masses.TrimStep;
      if (s.Masses.TrimPosition < s.Masses.TrimMin) s.Masses.TrimPosition = s.Masses.TrimMin;
    }
    if (ch == '0') s.Masses.TrimPosition = std::min(s.Masses.TrimPosition + s.Masses.TrimStep, s.Masses.TrimMax);
  }
  if (s.Pilot.MouseSteering == 0 && a.TailplaneFixed == 0 && (ch == '8' || ch == '2')) {
    const int tail = Sgn(a.TailplaneArm);
    const double degrees = Int(s.Pilot.StickPitch / s.Pilot.PixelsPerRadian * kDegreesPerRadian + 0.5) + (ch == '8' ? tail : -tail);
    s.Pilot.StickPitch = CInt(degrees / kDegreesPerRadian * s.Pilot.PixelsPerRadian);
  }
  if (s.Pilot.MouseSteering == 0 && a.FinFixed == 0) {
    const double step = 10 * k.ScreenScale, limit = 100 * k.ScreenScale;
    if (ch == '4') s.Pilot.StickLateral = std::min(s.Pilot.StickLateral + step, limit);
    if (ch == '6') s.Pilot.StickLateral = std::max(s.Pilot.StickLateral - step, -limit);
  }
  LimitControlDeflections(s, a);
  if (ch == ';' || ch == '+') {
    if (s.Pilot.MouseSteering == 0) {
      s.Pilot.MouseSteering = 1;
      s.Pilot.StickLateral = 0;
    } else {
      s.Pilot.MouseSteering = 0;
      s.Pilot.StickLateral = 0;
      s.Controls.RudderDemand = 0;
      if (s.Body.GroundSpeed < s.Loop.StopSpeed && light) {
        s.Pilot.StickPitch = 0;
        s.Controls.ElevatorDemand = (a.TailplaneIncidence / kDegreesPerRadian + s.Controls.ElevatorCommand) * Sgn(a.TailplaneArm);
        s.Masses.TrimPosition = s.Masses.TrimCentre = s.Masses.PilotArm;
      }
    }
  }
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) s.Engine.AfterburnerLevel = 1.0;
  if (FlightIsDown(s)) c.ReadDisplayOptions();
}

bool KeyDownRepeatsWhenHeld(int key) {
  switch (key) {
    case kKeyLeft:
    case kKeyUp:
    case kKeyRight:
    case kKeyDown:
    case kKeyComma:
    case kKeyPeriod:
    case 'A':
    case 'Z':
    case 'Q':
    case 'W':
    case 'S':
      return true;
    default:
      return false;
  }
}

bool KeyPressRepeatsWhenHeld(int keyAscii) { return keyAscii != ';' && keyAscii != '+'; }

TakeoffOutcome RunTakeoffCommand(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, KeyboardState& k,
                                 double now) {
  if (!(static_cast<float>(now) > static_cast<float>(k.UiDeadline + 0.1))) return TakeoffOutcome::Ignored;
  const bool started = ApplyTakeoffCommand(s, r, a);
  if (started) k.MenuItemCount = 6;
  k.UiDeadline = now;
  return started ? TakeoffOutcome::Started : TakeoffOutcome::Toggled;
}

bool CancelFlightUnderWay(FlightState& s, const KeyboardState& k) {
  const bool underWay = s.Body.Distance > 0 || AfloatUnderWay(s.Ground);
  if (!underWay || k.MenuItemCount >= 8) return false;
  // Already ended, its results not yet made: nothing is left to cancel, and
  // the cancel height would take its ranking place and its last log row.
  if (!s.Loop.FlightEnded) s.Body.Altitude = kCancelAltitude;
  return true;
}

}  // namespace zarv::flight
