// The pilot's keys: the flight screen's two key handlers (virtual-key codes
// and typed characters) as plain functions, so that a headless flight and
// the screen go through the same code. The handlers only change control
// state; the screen's commands are reached through KeyCommands.
#pragma once

#include <cstdint>
#include <functional>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"

namespace zarv::flight {

// Control state of the flight screen that the keys write besides the flight
// state. The screen owns one; tests and the probe their own.
struct KeyboardState {
  int16_t MenuItemCount = 11;      // pop-up menu entries; also the flight phase (6 = in flight)
  int16_t InfoPanelMode = 0;       // 0, 1, 2: which information panels show
  bool SimSpeedNormal = true;      // the "x1" speed option
  int16_t ScreenshotRequest = 0;   // 1 = save the next drawn frame
  double UiDeadline = 0;           // s (Timer) of the last accepted take-off, click or joystick action
  bool ResultPanelVisible = false; // the ranking name-entry panel
  bool DeveloperMode = false;
  double ScreenScale = 1.0;
  int LastKeyCode = 0;             // shown in the key-code box in developer mode

  void Reset() { *this = KeyboardState{}; }
};

// The screen's commands the keys call. A headless flight fills the ones it
// has no screen for with commands that do nothing.
struct KeyCommands {
  std::function<void()> Takeoff;          // Enter, Space, pad 5
  std::function<void()> Ranking;          // F2
  std::function<void()> AirfoilChart;     // F3
  std::function<void()> AircraftChart;    // F4
  std::function<void()> FlightData;       // F5
  std::function<void()> Replay;           // F6
  std::function<void()> Editor;           // F7
  std::function<void()> Registration;     // F8
  std::function<void()> CancelOrPlatform; // F9, Esc
  std::function<void()> ChangeAircraft;   // F10
  std::function<void()> Minimise;         // F11
  std::function<void()> EndNow;           // F11 in developer mode
  std::function<void()> Quit;             // F12
  std::function<void()> HideResultPanel;  // Esc with the panel shown
  std::function<void(bool)> SpeedOptionChanged;  // T: the "x1" option's new value
  std::function<void()> ReadDisplayOptions;      // after a key once the flight has ended
};

inline constexpr int kKeyComma = 188, kKeyPeriod = 190;
inline constexpr int kKeyF1 = 112;

// Key-down with a Windows virtual-key code.
void FlightKeyDown(int keyCode, FlightState& s, aircraft::AircraftData& a, KeyboardState& k,
                   const KeyCommands& c);

// Key-press with the typed character.
void FlightKeyPress(int keyAscii, FlightState& s, aircraft::AircraftData& a, KeyboardState& k,
                    const KeyCommands& c);

// What a held key repeats: the elevator, rudder and throttle keys, and the
// typed trim and stick keys. Every other command (a screen, a print, a
// screenshot, leaving, a switch) acts once a press.
bool KeyDownRepeatsWhenHeld(int keyCode);
bool KeyPressRepeatsWhenHeld(int keyAscii);

enum class TakeoffOutcome { Ignored, Toggled, Started };

// The take-off command with its 0.1 s repeat guard (now and the deadline in
// Timer seconds). Started: the run began, MenuItemCount is 6 and the screen
// shows the in-flight menu.
TakeoffOutcome RunTakeoffCommand(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a,
                                 KeyboardState& k, double now);

// The cancel command's part in flight (Esc, F9, the menu): a flight under
// way, past its line or afloat once the take-off key has let it go (it
// starts behind the line and may float or drift back there), is ended at the
// cancel height and filed; true then. One that has ended but whose results
// are still to come is left as it ended (true: no restart before its log is
// filed). Otherwise the screen starts it again.
bool CancelFlightUnderWay(FlightState& s, const KeyboardState& k);

}  // namespace zarv::flight
