#include "platform/runtime/process.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#if __has_include(<linux/close_range.h>)
#include <linux/close_range.h>
#endif
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Kernel headers from before close_range lack these; such a kernel answers
// the call with ENOSYS and the loop below does the work. (The call has the
// same number on every architecture but Alpha.)
#ifndef SYS_close_range
#define SYS_close_range 436
#endif
#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

extern char** environ;

namespace zarv {

namespace {

// What the children report back through the pipe: the grandchild's id, or
// the error that kept it from running the executable.
// No padding: every byte written is set.
struct Report {
  int32_t kind;  // 'p' id, 'e' error
  int32_t value;
};
static_assert(std::has_unique_object_representations_v<Report>);

void Send(int fd, char kind, int value) {
  const Report r{kind, value};
  // One write of a few bytes to a pipe is atomic.
  [[maybe_unused]] const ssize_t n = write(fd, &r, sizeof r);
}

// Every handle from 3 up closes when the executable starts, whether this
// process opened it with close-on-exec or not (sound devices, sockets,
// files a library left open). Only async-signal-safe calls after a fork.
void CloseOnExecFrom3() {
  if (syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  MarkCloseOnExecFrom(3);
}

[[noreturn]] void RunInGrandchild(const char* exe, const char* dir, int report) {
  // No signal blocked, and a broken pipe or a file-size limit ends the
  // program as it normally would: an ignored signal stays ignored across
  // exec.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  signal(SIGXFSZ, SIG_DFL);
  CloseOnExecFrom3();
  if (chdir(dir) != 0) {
    Send(report, 'e', errno);
    _exit(127);
  }
  char* const argv[] = {const_cast<char*>(exe), nullptr};
  execve(exe, argv, environ);
  Send(report, 'e', errno);
  _exit(127);
}

}  // namespace

void PrepareProcess() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

int HandleNumberTop(rlim_t softLimit) {
  return softLimit == RLIM_INFINITY || softLimit > INT_MAX ? INT_MAX : static_cast<int>(softLimit);
}

namespace {

void MarkCloseOnExec(int fd) {
  const int flags = fcntl(fd, F_GETFD);
  if (flags >= 0 && !(flags & FD_CLOEXEC)) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

// Marks the handles from `from` up that the process's own listing names;
// false when the listing cannot be read whole (no /proc, or no handle free
// to open it). Read with getdents64 itself: opendir allocates, and this
// runs between fork and exec.
bool MarkListedHandlesFrom(int from) {
  const int dir = open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  alignas(dirent64) char buffer[4096];
  bool whole = true;
  for (;;) {
    const long n = syscall(SYS_getdents64, dir, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      whole = false;
      break;
    }
    for (long at = 0; at < n;) {
      // dirent64 has the layout of the kernel's records.
      unsigned short length = 0;
      std::memcpy(&length, buffer + at + offsetof(dirent64, d_reclen), sizeof length);
      if (length == 0) {
        whole = false;
        break;
      }
      const char* name = buffer + at + offsetof(dirent64, d_name);
      at += length;
      // "." and "..", and any name that is no handle number, are passed by.
      int fd = 0;
      bool number = *name != '\0';
      for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || fd > (INT_MAX - 9) / 10) {
          number = false;
          break;
        }
        fd = fd * 10 + (*c - '0');
      }
      if (number && fd >= from && fd != dir) MarkCloseOnExec(fd);
    }
    if (!whole) break;
  }
  close(dir);
  return whole;
}

}  // namespace

void MarkCloseOnExecFrom(int from) {
  // The handles held are few; the numbers below the limit may be 2^31.
  if (MarkListedHandlesFrom(from)) return;
  rlimit limit{};
  const int top = getrlimit(RLIMIT_NOFILE, &limit) == 0 ? HandleNumberTop(limit.rlim_cur) : INT_MAX;
  for (int fd = from; fd < top; ++fd) MarkCloseOnExec(fd);
}

bool StartDetachedProcess(const std::string& exe, const std::string& dir, int* pid) {
  if (exe.empty() || exe.find('\0') != std::string::npos || dir.find('\0') != std::string::npos) return false;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  // Twice forked: the new process belongs to no one here and leaves no
  // zombie behind; its own session keeps it apart from this one's terminal.
  const pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return false;
  }
  if (child == 0) {
    close(pipeFds[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) RunInGrandchild(exe.c_str(), dir.empty() ? "." : dir.c_str(), pipeFds[1]);
    Send(pipeFds[1], grandchild < 0 ? 'e' : 'p', grandchild < 0 ? errno : grandchild);
    _exit(grandchild < 0 ? 1 : 0);
  }
  close(pipeFds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe ends when the executable starts (close-on-exec) or its child gives up.
  bool started = false, failed = false;
  int startedPid = 0;
  Report r{};
  for (;;) {
    const ssize_t n = read(pipeFds[0], &r, sizeof r);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof r)) break;
    if (r.kind == 'p') {
      started = true;
      startedPid = r.value;
    } else {
      failed = true;
    }
  }
  close(pipeFds[0]);
  if (!started || failed) return false;
  if (pid) *pid = startedPid;
  return true;
}

}  // namespace zarv
