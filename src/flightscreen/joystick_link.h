// What the joystick code needs of the flight screen, and what it gives it:
// the flight loop's joystick seams, the button dispatcher and the device
// dialog's opening. The commands and the screen's hooks are wired at
// start-up; the flight screen points the link at its options when it loads.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"
#include "flight/flight_seams.h"
#include "flight/flight_state.h"
#include "flightscreen/joy_button_map.h"

namespace zarv::flightscreen {

// The flight-screen commands the buttons carry out.
struct JoyCommands {
  std::function<void()> TakeoffCommand;  // take-off run / wheel brake
  std::function<void()> FireGunBurst;
  std::function<void()> ToggleGear;
  std::function<void()> FlapUp;
  std::function<void()> FlapDown;
  std::function<void()> ToggleFuelDump;
};

struct JoystickLink {
  // The flight options the flight loop reads (JoystickOn, the dialog's
  // active flag); nullptr until the flight screen has them.
  flight::FlightOptions* Options = nullptr;
  // The time of the last accepted take-off command, mouse click or joystick
  // action (seconds of Timer()), shared with the screen's own guards. Until
  // the screen points it at its own value, OwnUiDeadline serves.
  double* UiDeadline = nullptr;
  double OwnUiDeadline = 0;
  JoyCommands Commands;
  // Value of the flight screen's joystick check box (0 unticked).
  std::function<int()> JoystickBoxValue;
  // Top-left corner of the flight screen (twips), where the dialog opens.
  std::function<std::pair<double, double>()> FlightScreenTopLeft;

  double& Deadline() { return UiDeadline != nullptr ? *UiDeadline : OwnUiDeadline; }
  void Reset() { *this = JoystickLink{}; }
};

// The program-wide link.
JoystickLink& Joystick();

// Everything one dispatch reads and writes.
struct JoyDispatchContext {
  flight::FlightState& State;
  const aircraft::AircraftData& Aircraft;
  const JoyButtonMap& Map;
  int32_t CompanionSampleCount;
  double& UiDeadline;
  double TaskStartTime;      // seconds of Timer() at the start of the load or long task
  bool DeviceDialogActive;
  const JoyCommands& Commands;
};

// Carries out the functions whose mask equals the buttons held now
// (State.Pilot.JoyButtons), at most once every 0.3 s, not within 1 s of a task's
// start and not while the device dialog is active. Times are Timer().
void DispatchJoyButtons(const JoyDispatchContext& c);

// The dispatcher on the program-wide state: the flight loop calls it while a
// button is down; the click on the bank-angle caption calls it too.
void DispatchJoystickButtons();

// Polls joystick 0 into the state's joystick record; without a joystick the
// record keeps its last contents.
void PollJoystick(flight::FlightState& s);

// Fills the flight loop's PollJoystick and DispatchJoystickButtons seams.
void FillJoystickSeams(flight::FlightSeams& seams);

// The device-settings command of the flight screen: loads and shows the
// device dialog (modeless).
void OpenDeviceDialog();

}  // namespace zarv::flightscreen
