#include "platform/runtime/clock.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace zarv {

namespace {

class SystemClock : public ClockSource {
 public:
  SystemClock() : start_(std::chrono::steady_clock::now()) {}
  uint64_t MonotonicMs() override {
    const auto d = std::chrono::steady_clock::now() - start_;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
  }
  DateTime LocalNow() override {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                    tm.tm_hour, tm.tm_min, tm.tm_sec};
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

SystemClock& System() {
  static SystemClock clock;
  return clock;
}

std::atomic<ClockSource*> g_source{nullptr};

ClockSource& Source() {
  ClockSource* s = g_source.load(std::memory_order_acquire);
  return s ? *s : System();
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

ManualClock::ManualClock(uint64_t startMs, DateTime now) : ms_(startMs), now_(now) {}

uint64_t ManualClock::MonotonicMs() { return ms_; }
DateTime ManualClock::LocalNow() { return now_; }

void ManualClock::Advance(uint64_t ms) {
  ms_ += ms;
  subSecondMs_ += ms;
  if (subSecondMs_ >= 1000) {
    now_ = AddSeconds(now_, static_cast<int64_t>(subSecondMs_ / 1000));
    subSecondMs_ %= 1000;
  }
}

void ManualClock::SetNow(const DateTime& now) {
  now_ = now;
  subSecondMs_ = 0;
}

void SetClockSource(ClockSource* source) { g_source.store(source, std::memory_order_release); }
void ResetClockSource() { SetClockSource(nullptr); }

uint64_t timeGetTime() { return Source().MonotonicMs(); }
double Timer() { return static_cast<double>(Source().MonotonicMs()) / 1000.0; }
DateTime Now() { return Source().LocalNow(); }

std::string DateText() {
  const DateTime t = Now();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.month, t.day, t.year);
  return buf;
}

std::string TimeText() {
  const DateTime t = Now();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 30;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

DateTime AddSeconds(const DateTime& t, int64_t seconds) {
  int64_t total = DaysFromCivil(t.year, t.month, t.day) * 86400 +
                  t.hour * 3600 + t.minute * 60 + t.second + seconds;
  int64_t days = total / 86400;
  int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  DateTime r;
  CivilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600);
  r.minute = static_cast<int>(rest / 60 % 60);
  r.second = static_cast<int>(rest % 60);
  return r;
}

}  // namespace zarv
