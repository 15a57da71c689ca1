#include <gtest/gtest.h>

#include "platform/runtime/clock.h"
#include "platform/runtime/text.h"
#include "program_test.h"

namespace zarv {
namespace {

class RuntimeClock : public zarv::testing::ProgramTest {};

TEST_F(RuntimeClock, ManualClockDrivesEveryReading) {
  ManualClock clock(1000, DateTime{2024, 12, 31, 23, 59, 58});
  SetClockSource(&clock);
  EXPECT_EQ(timeGetTime(), 1000u);
  EXPECT_DOUBLE_EQ(Timer(), 1.0);

  clock.Advance(1500);
  EXPECT_EQ(timeGetTime(), 2500u);
  EXPECT_DOUBLE_EQ(Timer(), 2.5);
  EXPECT_EQ(TimeText(), "23:59:59");

  // Crossing midnight and the year end moves the date; intervals measured on
  // the monotonic counter are unaffected.
  const double mark = Timer();
  clock.Advance(600);
  EXPECT_EQ(DateText(), "01-01-2025");
  EXPECT_EQ(TimeText(), "00:00:00");
  EXPECT_NEAR(Timer() - mark, 0.6, 1e-12);

  clock.SetNow(DateTime{2024, 2, 28, 12, 0, 0});
  EXPECT_EQ(timeGetTime(), 3100u);
  clock.Advance(86400u * 1000u);
  EXPECT_EQ(Now(), (DateTime{2024, 2, 29, 12, 0, 0}));
  EXPECT_EQ(FormatDate(Now(), "mm-dd-yyyy   hh:mm:ss"), "02-29-2024   12:00:00");
}

TEST_F(RuntimeClock, SystemClockIsMonotonicAndSane) {
  const uint64_t a = timeGetTime();
  const double t = Timer();
  const uint64_t b = timeGetTime();
  EXPECT_LE(a, b);
  EXPECT_GE(t, 0.0);
  const DateTime now = Now();
  EXPECT_GE(now.year, 2000);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_EQ(DateText().size(), 10u);
  EXPECT_EQ(TimeText().size(), 8u);
}

TEST_F(RuntimeClock, DateArithmetic) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(AddSeconds(DateTime{2024, 3, 1, 0, 0, 5}, -10), (DateTime{2024, 2, 29, 23, 59, 55}));
  EXPECT_EQ(AddSeconds(DateTime{1999, 12, 31, 23, 0, 0}, 3600), (DateTime{2000, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace zarv
