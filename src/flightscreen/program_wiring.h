// The program's wiring: the hooks by which a layer reaches a later one, all
// filled in one place at start-up.
#pragma once

#include <string>
#include <vector>

namespace zarv::flightscreen {

// Fills every program-wide hook: the shell's start-up and screens, the
// records' screens and the joystick reach the view, the records and the
// flight screen through them. Called once by main before the first screen
// loads (and by tests that run the whole program).
void WireProgram();

// The hooks left empty, by name ("shell::FlightScreen().Show"); with the
// flight screen loaded, also those it fills for its flight (cockpit view,
// panel, keys, replay link). Not listed, since a headless run leaves them
// empty by design: the flight loop's seams, the progress hooks of the long
// tasks and the post-flight screen's hooks; nor the replay's WaitUntil
// (empty: real time). The panel's developer-mode ReadWaveVolume, which a
// headless picture leaves empty too, is listed for the flight screen, which
// fills it.
std::vector<std::string> UnwiredHooks();

}  // namespace zarv::flightscreen
