#include "platform/runtime/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace zarv {

FileLock::FileLock(const std::string& path, double waitSeconds) {
  // Not the file itself: a rewrite renames a new file over it, and a lock on
  // the old one would guard nothing.
  const size_t slash = path.find_last_of('/');
  const std::string lockPath = slash == std::string::npos ? "." + path + ".lock"
                                                          : path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".lock";
  // Read access is enough for flock, and opens a lock file that is already
  // there in a folder that may no longer be written.
  fd_ = open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd_ < 0) return;
  struct stat st{};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
  for (;;) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    // A file system without locks: no copy can hold one either.
    if (errno != EWOULDBLOCK && errno != EINTR) return;
    if (std::chrono::steady_clock::now() >= until) {
      timedOut_ = true;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

FileLock::~FileLock() {
  // Closing the last descriptor lets the lock go; so does the end of a
  // killed process.
  if (fd_ >= 0) close(fd_);
}

}  // namespace zarv
