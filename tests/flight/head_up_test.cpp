// The head-up display's steps: the shots counted up and the gun sight, as
// the flight loop runs them (twice per drawn frame, with or without a screen).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flight/head_up.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "platform/runtime/text.h"

namespace zarv::flight {
namespace {

TEST(HeadUpDisplay, BurstCountsDownOneShotPerDrawnFrame) {
  HeadlessFlight f(testing::Powered(testing::Engine::Jet));
  f.Options.ShowVelocityVector = 1;
  f.State.HeadUp.CompanionSampleCount = 100;
  f.Fly(2);
  f.State.HeadUp.ShotsFiredTarget = 10;  // the gun's first burst
  std::vector<std::string> shown;         // the shots left, as each frame prints them
  f.Seams.DrawFlightFrame = [&] { shown.push_back(Format(300 - f.Record.LaunchMarkTenths, "000")); };
  while (shown.size() < 11 && f.Step()) {
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"299", "298", "297", "296", "295", "294", "293", "292", "291",
                                             "290", "290"}));

  // With the marker switched off nothing counts.
  f.Options.ShowVelocityVector = 0;
  f.State.HeadUp.ShotsFiredTarget = 20;
  f.Fly(f.State.Loop.FlightTime + 1);
  EXPECT_EQ(f.Record.LaunchMarkTenths, 10);
}

TEST(HeadUpDisplay, GunSightClampsBeforeNarrowing) {
  EXPECT_EQ(NextGunSight(0, 320, 1e12, 1.0), 203);  // (406 + 0) / 2
  EXPECT_EQ(NextGunSight(406, 320, -1e300, 1.0), 320);
  EXPECT_EQ(NextGunSight(100, 320, std::nan(""), 1.0), 210);
  // An aim 200 px right: the sight closes half the gap to cx + 86 per step,
  // three quarters per drawn frame.
  int16_t x = 320;
  x = NextGunSight(x, 320, 520, 1.0);
  EXPECT_EQ(x, 363);
  x = NextGunSight(x, 320, 520, 1.0);
  EXPECT_EQ(x, 384);  // 384.5 to even
}

}  // namespace
}  // namespace zarv::flight
