// A light aircraft started from the water: afloat and still until the
// take-off key lets it go, then on its own forces, ended and filed once it
// has left its start and come to rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "flight/ground_contact.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/loop_fixture.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class WaterStart : public zarv::testing::ProgramTest {};

TEST_F(WaterStart, FloatsStillUntilLetGoAndEndsOnceAtRest) {
  const struct { const char* Name; double Speed, Wind, KeyAt; const char* Keys; bool Ends; } rows[] = {
      // Blown up on their wings they hung in the air and tumbled; launched
      // at 10 m/s they sank to -20 m (speed 0, wind -1: as filed).
      {"MardenⅡ", 0, 14, 0.5, "0.5:Return", true},
      {"Super ZarvⅣ", 10, 14, 0.5, "0.5:Return", true},
      {"Marden７", 10, -1, 0.5, "0.5:Return", false},  // drifts before its wind
      {"Ultra Nuvel", 10, -1, 0.5, "0.5:Return", false},
      // Held 3 s in a strong wind; hopping in it; never let go in still air;
      // pedalled off, and braked again on the way.
      {"MardenⅣ", 0, 14, 3, "3:Return", true},
      {"MardenⅢ", 0, 14, 0.5, "0.5:Return", true},
      {"Marden98", 0, 0, 60, "", false},
      {"MardenⅡ", 0, 0, 0.5, "0.5:Return,1+6:A", false},
      {"MardenⅡ", 0, 0, 0.5, "0.5:Return,1+6:A,4:Return", true},
  };
  for (const auto& r : rows) {
    aircraft::AircraftData a = testing::Sample(r.Name);
    a.LaunchHeight = 0;
    if (r.Speed > 0) a.LaunchSpeed = r.Speed;
    if (r.Wind >= 0) a.WindSpeed = r.Wind;
    auto f = *r.Keys ? std::make_unique<HeadlessFlight>(a, *ParseKeyScript(r.Keys)) : std::make_unique<HeadlessFlight>(a, -1.0);
    int filed = 0;
    f->Seams.EndFlight = [&] { ++filed; };
    SCOPED_TRACE(r.Name + std::string(" ") + r.Keys);
    const BodyMotion& b = f->State.Body;
    ASSERT_TRUE(f->Step());
    const BodyMotion start = b;
    double held = 0, lowest = b.Altitude, snap = 0;
    for (BodyMotion before = b; f->Step() && f->State.Loop.FlightTime < 60; before = b) {
      // The first second runs at 24 steps: the key has surely come only later.
      if (f->State.Loop.FlightTime < r.KeyAt - 0.2) {
        for (double moved : {b.PosX - start.PosX, b.PosY - start.PosY, b.Altitude - start.Altitude,
                             b.PitchAngle - start.PitchAngle, b.BankAngle - start.BankAngle})
          held = std::max(held, std::fabs(moved));
      }
      lowest = std::min(lowest, b.Altitude);
      snap = std::max({snap, std::fabs(b.PitchAngle - before.PitchAngle) / 0.2, std::fabs(b.Altitude - before.Altitude) / 0.25});
    }
    EXPECT_LT(held, 1e-4);
    EXPECT_GT(lowest, 0);
    EXPECT_LT(snap, 1);  // 0.2 rad of pitch or 0.25 m of height in a step
    EXPECT_EQ(f->EndWord(), r.Ends ? "water" : "");
    EXPECT_EQ(filed, r.Ends ? 1 : 0);
    EXPECT_TRUE(!r.Ends || (b.GroundSpeed < f->State.Loop.StopSpeed && f->State.Ground.StartLeft));
  }
}

// The float height, worked by hand, is where the gear's spring carries the
// weight; come down on the water off its heading, the hull keeps only the
// motion along it (a powered aircraft's gear turns it all).
TEST_F(WaterStart, FloatHeightAndWhatTheHullKeeps) {
  aircraft::AircraftData a = testing::Sample("Ultra Nuvel");
  a.LaunchHeight = 0;
  a.GearPosition = -0.2;
  FlightState s;
  s.Setup.GearHeight = 0.1;
  s.Masses.Mass = s.Masses.DryMass = s.Masses.RollInertia = s.Masses.PitchInertia = 100;
  const struct { double Speed, Pitch, Bank, Height, Off, SpeedAfter; } rows[] = {
      // 0.1 cos p + 0.2 sin p + 0.075 + 1.1 |sin b| - 9.8 / 100
      {5, 0.1, 0.3, 0.0995004 + 0.0199667 + 0.075 + 0.3250722 - 0.098, 0, 10},
      {5, 0, -0.2, 0.077 + 0.2185363, 0, 10},
      {5, 0, 0, 0.077, 3.1415926 / 3, 5},
      {5, 0, 0, 0.077, 2, 0.0001},
      {10, 0, 0, 0.077, 3.1415926, 0.0001},
      {50, 0, 0, 0.077, 3.1415926 / 3, 10},
  };
  for (const auto& r : rows) {
    a.LaunchSpeed = r.Speed;
    s.Controls.GearValue = s.Ground.GearExtension = r.Speed > 10 ? 1 : 0;
    s.Body.PitchAngle = r.Pitch;
    s.Body.PitchSin = std::sin(r.Pitch);
    s.Body.PitchCos = std::cos(r.Pitch);
    s.Body.ViewRollSin = std::sin(r.Bank);
    s.Body.Altitude = AfloatHeight(s.Setup, a, r.Pitch, r.Bank);
    s.Body.VelX = s.Body.VelY = s.Body.VelZ = 0;
    s.Body.Heading = 1;
    s.Body.TrackAngle = 1 + r.Off;
    s.Body.GroundSpeed = 10;
    ApplyGroundContactLoads(s, a);
    EXPECT_NEAR(s.Body.Altitude, r.Height, 1e-7) << r.Pitch << " " << r.Bank;
    EXPECT_NEAR(s.Air.SupportAccel, 9.8, 1e-9);
    EXPECT_NEAR(s.Body.GroundSpeed, r.SpeedAfter, 1e-6) << r.Off;
    EXPECT_EQ(s.Body.TrackAngle, 1);
    // The hull's speed goes along the heading at once; the gear leaves it to the translation.
    EXPECT_NEAR(std::hypot(s.Body.VelX, s.Body.VelY), r.Speed <= 10 && r.Off != 0 ? r.SpeedAfter : 0, 1e-6);
  }
}

}  // namespace
}  // namespace zarv::flight
