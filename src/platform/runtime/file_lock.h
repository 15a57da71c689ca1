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
  // copy that holds it. A copy that ends, killed too, lets it go; one that
  // is stopped does not. Where no lock can be had at all (a read-only
  // folder, a file system without locks) no other copy holds one either,
  // and the caller goes on as it would alone.
  explicit FileLock(const std::string& path, double waitSeconds = 5);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // True when another copy still held the lock when the wait ran out: this
  // one holds none.
  bool TimedOut() const { return timedOut_; }

 private:
  int fd_ = -1;
  bool timedOut_ = false;
};

}  // namespace zarv
