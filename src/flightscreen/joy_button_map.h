// The joystick button map: which button (or chord of buttons) triggers each
// flight function, and the throttle-lever detent of military thrust. Read
// from Temp/joy.ini when the flight screen sets up, written by the device
// dialog's Done.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "flight/flight_state.h"

namespace zarv::flightscreen {

// Map entries 0..11 are the functions, in the dialog's row order.
enum JoyFunction : int {
  kJoyTakeoff = 0,       // take-off run, or wheel brake
  kJoySteeringOrGun = 1, // steering change; gun burst with a companion
  kJoyBrakeHold = 2,
  kJoyTrimNoseUp = 3,
  kJoyTrimNoseDown = 4,
  kJoyFinTrimLeft = 5,
  kJoyFinTrimRight = 6,
  kJoyGear = 7,
  kJoyFlapsUp = 8,
  kJoyFlapsDown = 9,
  kJoyFuelDump = 10,
  kJoyTvc = 11,
};
inline constexpr int kJoyFunctionCount = 12;
inline constexpr int kJoyMapSize = 16;    // 12..14 unused, carried through the file
inline constexpr int kJoyDetentEntry = 15;
// The flight loop divides by the detent: never less than this.
inline constexpr int32_t kMinThrottleDetent = 10;

struct JoyButtonMap {
  std::array<int32_t, kJoyMapSize> Entries{};

  JoyButtonMap() { Reset(); }
  // Start values: nothing assigned, the lowest detent.
  void Reset() {
    Entries.fill(0);
    Entries[kJoyDetentEntry] = kMinThrottleDetent;
  }
  int32_t Detent() const { return Entries[kJoyDetentEntry]; }
  // Stores a lever reading as the detent, raised to the lowest allowed.
  void SetDetent(int32_t lever);
};

// The program-wide map.
JoyButtonMap& JoyMap();

int32_t SafeDetent(int32_t detent);

// Temp/joy.ini below the program folder.
std::string JoyFilePath();
// Sixteen short lines: a file far larger is no joystick file.
inline constexpr int64_t kMaxJoyFileBytes = 4 * 1024;

// Reads the map: one entry a line, at most 16 lines, each read leniently
// (0 when a line holds no number). Entries the file does not reach take
// their start values; an unreadable file (also one larger than
// kMaxJoyFileBytes, or no regular file) gives all start values. A missing
// file leaves the map as it is and returns false. The detent comes out at
// 10 or more in every case.
bool ReadJoyFile(const std::string& path, JoyButtonMap& map);

// Writes the 16 lines (" 1", " 0", ..., CR LF each) in place of any earlier
// file, through a temporary file. The detent is raised first. False when the
// file could not be written; an earlier file then stays as it was.
[[nodiscard]] bool WriteJoyFile(const std::string& path, JoyButtonMap& map);

// The flight screen's set-up: reads the file into the program-wide map and
// hands the detent to the flight loop.
void LoadJoyButtonMap(flight::FlightState& s);

}  // namespace zarv::flightscreen
