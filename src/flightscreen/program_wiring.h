// The program's wiring: the hooks by which a layer reaches a later one, all
// filled in one place at start-up, and those the flight screen fills for
// each flight; both checked when they have been filled.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zarv::flightscreen {

class FlightFrame;

// Fills every program-wide hook: the shell's start-up and screens, the
// records' screens and the joystick reach the view, the records and the
// flight screen through them. Called once by main before the first screen
// loads (and by tests that run the whole program).
void WireProgram();

// The hooks left empty, by name ("shell::FlightScreen().Show"); with the
// flight screen loaded, also those it fills for its flight. Not listed,
// since a headless run leaves them empty by design: the flight loop's
// seams, the progress hooks of the long tasks and the post-flight screen's
// hooks of a run without the flight screen, and the replay's sounds of the
// probe's pictures; the flight screen's own sets are listed. A set whose
// hook may stay empty says what an empty one means (the pacing waits: real
// time).
std::vector<std::string> UnwiredHooks();
// Those the flight screen fills for its flight: the cockpit view's hooks,
// the panel's, the keys' commands, the flight loop's seams, the gun's hit
// volume, the progress dialog, the post-flight screen and the replay link
// with its sounds.
std::vector<std::string> UnwiredFlightHooks(FlightFrame& f);

// Names the hooks on the error output and ends the program (exit code
// kUnwiredHookExitCode): an unwired hook is a fault of the build, found when
// the hooks have been filled. Nothing when none is named.
inline constexpr int kUnwiredHookExitCode = 70;
void EndForUnwiredHooks(const std::vector<std::string>& unwired);
// The flight screen's check once it has set itself up for a flight.
void CheckFlightScreenWiring();

// Tests: what happens instead of the end (empty: the program ends).
struct UnwiredHookStop {
  std::function<void(const std::vector<std::string>&)> Instead;
};

}  // namespace zarv::flightscreen
