// The probe's "panel" command: flies an aircraft file headless and draws
// the instrument panel and the head-up display over a plain view.
#pragma once

#include <ostream>

namespace zarv::view {

// "panel FILE [--seconds T] [--size 640|800|1024] [--set Name=value ...]
// --out PICTURE.bmp" (args without the program name and the command word).
// 2 on a usage error.
int PanelCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zarv::view
