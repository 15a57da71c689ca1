// Starting another program, detached from this one.
#pragma once

#include <string>

namespace zarv {

// Starts the executable at path `exe` (bytes, whatever their encoding) with
// no arguments, in the folder `dir`, as a process of its own that outlives
// this one. It gets this process's environment and standard input, output
// and error, and no other open handle of it. True once the executable runs;
// false when it could not be started (missing, not executable, no such
// folder). `pid` receives the new process's id.
bool StartDetachedProcess(const std::string& exe, const std::string& dir, int* pid = nullptr);

}  // namespace zarv
