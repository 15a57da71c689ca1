// What a reader may hold: a file of nothing but line ends to feed it, and a
// measure of how far reading it raises the resident size.
//
// The measure runs in a fresh run of the test program, which repeats only the
// calling test up to the measure: within one process a peak an earlier test
// reached, or memory it freed and left resident for reuse, would hide growth
// below it, so that a shuffled order could let a reader that holds the whole
// file pass.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace zarv::testing {

// A line of /proc/self/status in KiB ("VmRSS:" the resident size of this
// process image, "VmHWM:" its peak since the exec or the last reset); -1
// when there is none.
inline long StatusKiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
  }
  return -1;
}

// mebibytes MiB of the byte c, written a MiB at a time.
inline void WriteRepeatedByte(const std::string& path, char c, int mebibytes) {
  std::ofstream out(path, std::ios::binary);
  const std::string block(size_t{1} << 20, c);
  for (int i = 0; i < mebibytes; ++i) out << block;
}

// The fresh run's side: the peak is set back to what is resident now (where
// the kernel lets it; else it stays the fresh run's own, small, peak), hold
// runs, and the run ends with status 0 when the peak grew by less than
// limitKiB. The scratch folder the run's set-up made goes with it.
[[noreturn]] inline void MeasureResidentGrowthAndExit(long limitKiB, const std::string& scratch,
                                                      const std::function<void()>& hold) {
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKiB("VmHWM:");
  hold();
  const long grown = StatusKiB("VmHWM:") - before;
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  std::fprintf(stderr, "the resident size grew by %ld KiB (limit %ld KiB)\n", grown, limitKiB);
  std::fflush(stderr);
  _exit(before >= 0 && grown < limitKiB ? 0 : 1);
}

// Fails unless hold raises the resident size by less than limitKiB, measured
// in a fresh run of this test program (gtest's threadsafe death-test style
// starts it anew and runs the calling test up to here). Call it before
// anything in the test that may hold much; scratch is the folder the test
// made before the call, which the fresh run removes.
inline void ExpectResidentGrowthBelow(long limitKiB, const std::string& scratch, const std::function<void()>& hold) {
  const std::string style = GTEST_FLAG_GET(death_test_style);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(MeasureResidentGrowthAndExit(limitKiB, scratch, hold), ::testing::ExitedWithCode(0), "")
      << "reading held more than " << limitKiB << " KiB";
  GTEST_FLAG_SET(death_test_style, style);
}

}  // namespace zarv::testing
