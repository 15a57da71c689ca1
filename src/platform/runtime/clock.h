// Clocks: a monotonic millisecond counter for intervals and the local wall
// clock for dates. Everything reads the current clock source, so tests can
// install a ManualClock and step time by hand.
#pragma once

#include <cstdint>
#include <string>

namespace zarv {

struct DateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual uint64_t MonotonicMs() = 0;
  // Local wall-clock time.
  virtual DateTime LocalNow() = 0;
};

// Clock stepped by hand. Advance also moves the wall clock forward.
class ManualClock : public ClockSource {
 public:
  explicit ManualClock(uint64_t startMs = 0, DateTime now = {});
  uint64_t MonotonicMs() override;
  DateTime LocalNow() override;
  void Advance(uint64_t ms);
  // Sets the wall clock only; the monotonic counter goes on unchanged.
  void SetNow(const DateTime& now);

 private:
  uint64_t ms_;
  DateTime now_;
  uint64_t subSecondMs_ = 0;  // ms advanced since the wall clock last ticked a second
};

// Installs a clock source (not owned; nullptr restores the system clock).
void SetClockSource(ClockSource* source);
void ResetClockSource();

// Monotonic milliseconds since the program started (64-bit: never wraps).
uint64_t timeGetTime();
// Monotonic seconds since the program started. Stands in for the runtime's
// seconds-since-midnight timer in every interval and blink test, so intervals
// never break at midnight; the values stay small, so they keep their
// precision even in single precision.
double Timer();
// Local date and time.
DateTime Now();
// The runtime's Date$ and Time$: "mm-dd-yyyy" and "hh:mm:ss" (24-hour) of
// Now(), as flight results and ranking lines carry them.
std::string DateText();
std::string TimeText();

// Helpers for date arithmetic.
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Adds seconds (may be negative) with carry through days, months and years.
DateTime AddSeconds(const DateTime& t, int64_t seconds);

}  // namespace zarv
