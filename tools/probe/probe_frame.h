// The probe's "frame" command: one complete cockpit-view frame of an
// aircraft file, flown headless for a while, written as a bitmap.
#pragma once

#include <ostream>

namespace zarv::view {

// Parses "frame FILE [--seconds T] [--size 640|800|1024] [--set Name=value
// ...] --out PICTURE.bmp" (args without the program name and the command
// word) and runs it; 2 on a usage error.
int FrameCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zarv::view
