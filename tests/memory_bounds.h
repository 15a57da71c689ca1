// What a reader may hold: a file of nothing but line ends to feed it, and
// the process's peak resident size to read before and after. (A peak reached
// earlier can hide growth below it, never show growth that did not happen.)
#pragma once

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace zarv::testing {

inline long PeakResidentKiB() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return use.ru_maxrss;
}

// mebibytes MiB of the byte c, written a MiB at a time.
inline void WriteRepeatedByte(const std::string& path, char c, int mebibytes) {
  std::ofstream out(path, std::ios::binary);
  const std::string block(size_t{1} << 20, c);
  for (int i = 0; i < mebibytes; ++i) out << block;
}

}  // namespace zarv::testing
