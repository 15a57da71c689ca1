#include <cmath>

#include "flight/companion_record.h"
#include "flightscreen/joystick_link.h"
#include "platform/devices/joystick.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"
#include "shell/shell_state.h"
#include "platform/runtime/program_state.h"

namespace zarv::flightscreen {
namespace {

// Trim steps are a third of a degree; the setting is first snapped to the
// step grid.
constexpr double kTrimStepsPerRadian = 171.9;

double StepTrim(double setting, int steps) {
  return (std::floor(setting * kTrimStepsPerRadian + 0.5) + steps) / kTrimStepsPerRadian;
}

// The guard compares in single precision, as the interval clock is kept.
bool After(double now, double mark, double wait) {
  return static_cast<float>(now) > static_cast<float>(mark + wait);
}

}  // namespace

JoystickLink& Joystick() { return ProgramWide<JoystickLink>(); }

void DispatchJoyButtons(const JoyDispatchContext& c) {
  const double now = Timer();
  if (!After(now, c.UiDeadline, 0.3) || !After(now, c.TaskStartTime, 1.0) || c.DeviceDialogActive) return;

  flight::FlightState& s = c.State;
  const aircraft::AircraftData& a = c.Aircraft;
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  const int arm = Sgn(a.TailplaneArm);
  const auto held = static_cast<int32_t>(c.State.Pilot.JoyButtons);
  auto acts = [&](int function) {
    const int32_t mask = c.Map.Entries[static_cast<size_t>(function)];
    return mask != 0 && mask == held;
  };

  if (acts(kJoyTakeoff)) c.Commands.TakeoffCommand();
  if (acts(kJoySteeringOrGun)) {
    if (!powered) {
      if (s.Pilot.MouseSteering == 0) {
        s.Pilot.MouseSteering = 1;
      } else {
        s.Pilot.MouseSteering = 0;
        s.Controls.RudderDemand = 0;
      }
    } else if (c.CompanionSampleCount > 0) {
      c.Commands.FireGunBurst();
    }
  }
  if (acts(kJoyBrakeHold)) s.Pilot.BrakeOn = s.Pilot.BrakeOn == 0 ? 1 : 0;
  if (acts(kJoyTrimNoseUp)) s.Controls.ElevatorCommand = StepTrim(s.Controls.ElevatorCommand, -arm);
  if (acts(kJoyTrimNoseDown)) s.Controls.ElevatorCommand = StepTrim(s.Controls.ElevatorCommand, arm);
  if (acts(kJoyFinTrimLeft)) s.Pilot.RudderCommand = StepTrim(s.Pilot.RudderCommand, 1);
  if (acts(kJoyFinTrimRight)) s.Pilot.RudderCommand = StepTrim(s.Pilot.RudderCommand, -1);
  if (powered) {
    if (acts(kJoyGear)) c.Commands.ToggleGear();
    if (acts(kJoyFlapsUp)) c.Commands.FlapUp();
    if (acts(kJoyFlapsDown)) c.Commands.FlapDown();
    if (acts(kJoyFuelDump)) c.Commands.ToggleFuelDump();
    if (acts(kJoyTvc)) {
      if (s.Engine.TvcOn == 0) {
        if (s.Engine.TvcCapability > 0) s.Engine.TvcOn = 1;
      } else if (s.Engine.TvcOn == 1) {
        s.Engine.TvcOn = 0;
      }
    }
  }
  c.UiDeadline = static_cast<float>(now);
}

void DispatchJoystickButtons() {
  JoystickLink& link = Joystick();
  const shell::ShellState& sh = shell::Shell();
  const JoyDispatchContext c{flight::State(),
                             aircraft::Aircraft(),
                             JoyMap(),
                             flight::Companion().CompanionSampleCount,
                             link.Deadline(),
                             sh.TaskStartTime,
                             sh.FormActiveFlags[shell::kSlotDevice] != 0,
                             link.Commands};
  DispatchJoyButtons(c);
}

void PollJoystick(flight::FlightState& s) {
  JOYINFO info{s.Pilot.JoyXpos, s.Pilot.JoyYpos, s.Pilot.JoyZpos, s.Pilot.JoyButtons};
  joyGetPos(0, &info);
  s.Pilot.JoyXpos = info.wXpos;
  s.Pilot.JoyYpos = info.wYpos;
  s.Pilot.JoyZpos = info.wZpos;
  s.Pilot.JoyButtons = info.wButtons;
}

void FillJoystickSeams(flight::FlightSeams& seams) {
  seams.PollJoystick = [] { PollJoystick(flight::State()); };
  seams.DispatchJoystickButtons = [] { DispatchJoystickButtons(); };
}

}  // namespace zarv::flightscreen
