// Starting another program, detached from this one.
#pragma once

#include <sys/resource.h>

#include <string>

namespace zarv {

// Starts the executable at path `exe` (bytes, whatever their encoding) with
// no arguments, in the folder `dir`, as a process of its own that outlives
// this one. It gets this process's environment and standard input, output
// and error, and no other open handle of it. True once the executable runs;
// false when it could not be started (missing, not executable, no such
// folder). `pid` receives the new process's id.
bool StartDetachedProcess(const std::string& exe, const std::string& dir, int* pid = nullptr);

// What the start does where the kernel has no close_range, for tests: marks
// every handle from `from` up close-on-exec: those the process's handle
// listing names, or, where the listing cannot be read, every number up to
// the handle limit. Only async-signal-safe calls, so that it runs between
// fork and exec.
void MarkCloseOnExecFrom(int from);
// The numbers handles lie below under the soft limit `softLimit`, however
// high it is.
int HandleNumberTop(rlim_t softLimit);

}  // namespace zarv
