// The process itself: what every program of ours does first, and starting
// another program, detached from this one.
#pragma once

#include <sys/resource.h>

#include <string>

namespace zarv {

// Called first thing in every main (the program, the probes, the tests, the
// benchmarks). A write past the file-size limit (`ulimit -f`) then fails
// with EFBIG, and the save that made it reports it as it does a full disk,
// instead of the kernel ending the process in the middle of the write.
void PrepareProcess();

// Starts the executable at path `exe` (bytes, whatever their encoding) with
// no arguments, in the folder `dir`, as a process of its own that outlives
// this one. It gets this process's environment and standard input, output
// and error and no other open handle of it; no signal is blocked, and a
// broken pipe and the file-size limit end it as by default. True once the
// executable runs; false when it could not be started (missing, not
// executable, no such folder). `pid` receives the new process's id.
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
