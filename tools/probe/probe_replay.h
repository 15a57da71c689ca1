// The probe's "replay" command: flies an aircraft file with no screen for a
// while, then draws one replay frame of the recorded flight off-screen.
#pragma once

#include <ostream>

namespace zarv::replay {

// Parses "replay FILE.brd --seconds T --frame N [--size 640|800|1024]
// [--vortex] [--wireframe] [--camera EAST,NORTH,HEIGHTINDEX] --out PICTURE.bmp"
// (args without the program name and the command word) and runs it; 2 on a
// usage error.
int ReplayCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zarv::replay
