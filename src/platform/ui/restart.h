// Starting the program anew: the restart between flights and screen sizes.
#pragma once

#include <functional>
#include <string>

namespace zarv {

// Closes every open file (committing what was written), starts the
// program's own executable as a new process in the program folder, and ends
// this one (End). In developer mode it only ends. When the new process
// cannot be started nothing ends and false is returned, so the caller can
// tell the user (and then end).
bool Restart();

// The executable of this process (for the restart).
std::string OwnExecutable();

// Developer mode: a restart starts no new process.
void SetDeveloperMode(bool on);
bool DeveloperMode();

// Test hook: starts the process instead of the system (executable, working
// folder); returns whether it started. nullptr restores the real start.
void SetProcessStarter(std::function<bool(const std::string& exe, const std::string& dir)> starter);

}  // namespace zarv
