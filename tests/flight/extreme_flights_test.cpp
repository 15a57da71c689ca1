// Flights the samples do not fly: light aircraft launched from 300 m and
// pitched into a dive or a deep stall. Each pass is looked at, not only the
// recorded samples: a fault can come and go between two of them.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "flight/flight_loop.h"
#include "flight/ground_contact.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/loop_fixture.h"

namespace zarv::flight {
namespace {

struct HighLaunch {
  const char* Name;
  bool Calm;  // wind speed 0 instead of the sample's
  const char* Keys;
};

std::unique_ptr<HeadlessFlight> Launch(const HighLaunch& c) {
  std::vector<std::string> lines = testing::SampleLines(c.Name);
  testing::SetField(lines, 30, "300");
  if (c.Calm) testing::SetField(lines, 46, "0");
  return std::make_unique<HeadlessFlight>(testing::FromLines(lines), *ParseKeyScript(c.Keys));
}

TEST(ExtremeFlights, ADiveIntoTheLakeStaysInTheWater) {
  // The first two bounced out of the water at three times the speed they
  // went in; the third went in and out between two recorded samples.
  const HighLaunch dives[] = {{"Marden98", false, "0.5:Return,3:Up,3.1:Up,3.2:Up,3.3:Up"},
                              {"Ultra Nuvel", false, "0.5:Return,3:Up,3.1:Up,3.2:Up,3.3:Up"},
                              {"MardenⅢ", true, "0.5:Return,2.1:Up,2.2:Up,2.3:Up"}};
  for (const HighLaunch& dive : dives) {
    SCOPED_TRACE(dive.Name);
    auto f = Launch(dive);
    ASSERT_TRUE(f->Accepted());
    const BodyMotion& b = f->State.Body;
    double entrySpeed = -1, entryTime = 0;
    while (f->Step()) {
      ASSERT_LT(f->State.Loop.FlightTime, 300);
      if (entrySpeed < 0) {
        if (b.Altitude < 0) entrySpeed = b.InertialSpeed, entryTime = f->State.Loop.FlightTime;
        continue;
      }
      // The water takes energy away; it never throws the hull back out.
      ASSERT_LE(b.InertialSpeed, entrySpeed) << "pass " << f->Passes;
      ASSERT_LT(b.Altitude, 0.5) << "pass " << f->Passes;
    }
    ASSERT_GT(entrySpeed, 40);  // a real dive
    EXPECT_EQ(f->EndWord(), "water");
    EXPECT_LT(f->State.Loop.FlightTime - entryTime, 5);
  }
}

TEST(ExtremeFlights, ADeepStallKeepsItsMass) {
  // Pitched up hard in calm air, the centre section stalls with negative
  // lift; the air carried along once cancelled the mass and the next sample
  // lay 4.5 km under the lake, far out.
  auto f = Launch({"Marden98", true, "0.5:Return,2:Up,2.1:Up,2.2:Up"});
  ASSERT_TRUE(f->Accepted());
  const FlightState& s = f->State;
  double x = s.Body.PosX, y = s.Body.PosY, z = s.Body.Altitude;
  bool stalled = false;
  while (f->Step()) {
    ASSERT_LT(s.Loop.FlightTime, 300);
    ASSERT_TRUE(FlightStateIsFinite(s)) << "pass " << f->Passes;
    ASSERT_GE(s.Masses.ApparentMass, 0) << "pass " << f->Passes;
    stalled = stalled || s.Wing.StallRatio > 10;
    // One pass moves the aircraft as its speed does, never by a leap.
    const double moved = std::hypot(s.Body.PosX - x, s.Body.PosY - y, s.Body.Altitude - z);
    ASSERT_LT(moved, 3) << "pass " << f->Passes;
    x = s.Body.PosX, y = s.Body.PosY, z = s.Body.Altitude;
  }
  EXPECT_TRUE(stalled);
  EXPECT_EQ(f->EndWord(), "water");
  EXPECT_GT(s.Body.Altitude, -20);
  EXPECT_LT(s.Body.Distance, 300);
}

TEST(ExtremeFlights, TheHullsDampingStopsASinkAtMost) {
  auto f = Launch({"Marden98", false, "0.5:Return"});
  FlightState& s = f->State;
  s.Loop.StepsPerSecond = 40;
  s.Ground.BodyBottomHeight = -1;
  s.Body.CourseDistance = -1;  // leaves the track alone
  // Fast: the damping alone would reverse the sink several times over.
  s.Body.VelZ = -56.6;
  FlightState fast = s;
  TranslateOnSurface(fast, f->Aircraft);
  FlightState still = s;
  still.Body.VelZ = 0;
  TranslateOnSurface(still, f->Aircraft);
  const double buoyancyStep = still.Body.VelZ;  // what the buoyancy alone adds
  ASSERT_GT(buoyancyStep, 0);
  EXPECT_GE(fast.Body.VelZ, 0);
  EXPECT_LE(fast.Body.VelZ, buoyancyStep * (1 + 1e-9));
  // Slow: the damping acts in full (depth x sink rate^2 x 200 / mass).
  s.Body.VelZ = -0.5;
  TranslateOnSurface(s, f->Aircraft);
  EXPECT_NEAR(s.Body.VelZ, -0.5 + buoyancyStep + 0.5 * 0.5 * 200 / s.Masses.Mass / 40, 1e-12);
}

}  // namespace
}  // namespace zarv::flight
