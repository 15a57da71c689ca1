// An advisory lock that running copies of the program take in turns before
// they read a shared file again and rewrite it.
#pragma once

#include <string>

namespace zarv {

class FileLock {
 public:
  // Takes the lock of the file at path: a hidden lock file beside it,
  // ".NAME.lock" (created when missing and left there; a link, FIFO or
  // folder of that name is never opened), waiting up to waitSeconds for a
  // copy that holds it. Where it cannot be taken (a read-only folder, or a
  // holder that never lets go) the caller goes on as it would alone.
  explicit FileLock(const std::string& path, double waitSeconds = 5);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace zarv
