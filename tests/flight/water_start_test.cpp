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
#include "flight/translation.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class WaterStart : public zarv::testing::ProgramTest {};

// A light aircraft with no platform under it (1 m or less) starts afloat as
// at 0: still until the take-off key; its clock and record start at the key,
// whatever it does after; at rest on the water, and just off it, its path is
// level. Whatever the wind and the pedals it ends: where it comes back down
// on the water after flying a metre clear of it, at rest once moved off, or a
// minute after the key. Before, at 0.5 m or 1 m
// it dropped off behind its line and sat under the water for ever, a wind
// drifted it on for ever, the clock and log counted 100 s before the key, a
// second key threw the record away, and at rest its path read 90 degrees.
TEST_F(WaterStart, EveryStartAfloatEndsAndCountsFromTheKey) {
  enum class End { Rest, Down, Limit };
  constexpr double kTail = 1.57, kHead = 4.71, kFiled = -1;
  const struct {
    const char* Name;
    const char* Height;
    double Speed, Wind, WindDirection, KeyAt;
    const char* Keys;
    End Ends;
    double EndsAt = 0, EndsAtDistance = 0;  // s after the key, m: where it rests or comes down
  } rows[] = {
      // Still air, let go and left alone: it stays where it floats.
      {"MardenⅡ", "0", 0, 0, kFiled, 0.5, "0.5:Return", End::Limit},
      {"MardenⅡ", "0.0005", 0, 0, kFiled, 0.5, "0.5:Return", End::Limit},
      {"MardenⅡ", "0.5", 0, 0, kFiled, 0.5, "0.5:Return", End::Limit},
      {"MardenⅡ", "1", 0, 0, kFiled, 0.5, "0.5:Return", End::Limit},
      {"Marden98", "0", 0, 0, kFiled, 60, "60:Return", End::Limit},  // waits a minute first
      // Drifted by a tail wind, held by a head wind, in its filed wind.
      {"Super ZarvⅣ", "0", 0, 4, kTail, 0.5, "0.5:Return", End::Limit},
      {"Super ZarvⅣ", "0", 0, 4, kHead, 0.5, "0.5:Return", End::Limit},
      {"Marden７", "0", 0, 6, kFiled, 0.5, "0.5:Return", End::Limit},
      {"Marden７", "0", 10, kFiled, kFiled, 0.5, "0.5:Return", End::Limit},
      // Pedalled along the surface and braked; pedalled, stopped, braked,
      // the brake set and let go again on the way.
      {"Super ZarvⅣ", "0", 0, 0, kFiled, 0.5, "0.5:Return,1+40:A,45+3:Z,60:Return", End::Limit},
      {"Super ZarvⅣ", "0", 0, 0, kFiled, 0.5, "0.5:Return,12+20:A,35+3:Z,40:Return", End::Rest, 46.25, 173.31},
      {"Super ZarvⅣ", "0", 0, 0, kFiled, 0.5, "0.5:Return,10:Return,11:Return,12+20:A,35+3:Z,40:Return", End::Rest,
       46.25, 173.30},
      // Blown up on their wings by a gale, and back down on the water. A
      // body a metre up with a wing end in the water has not flown clear:
      // MardenⅣ, which climbs so to 2.5 m and ended at 3.15 s, 1.08 m up
      // and climbing; Marden７ in 20 m/s ends back on the water by its wing
      // end alone, its body 1.8 m up. Super ZarvⅣ from 1 m, lifted off its
      // spring by a head wind at no ground speed, read a path of 90 degrees.
      {"MardenⅡ", "0", 0, 14, kFiled, 0.5, "0.5:Return", End::Rest, 8.5, 1.70},
      {"MardenⅢ", "0", 0, 14, kFiled, 0.5, "0.5:Return", End::Down, 8.4, -9.90},
      {"Super ZarvⅣ", "0", 10, 14, kFiled, 0.5, "0.5:Return", End::Rest, 9.625, 8.37},
      {"MardenⅣ", "0", 0, 14, kFiled, 3, "3:Return", End::Rest, 6.5, 11.24},
      {"Marden７", "0", 0, 20, kFiled, 0.5, "0.5:Return", End::Down, 10.95, 56.41},
      {"Super ZarvⅣ", "1", 0, 12, 4.71238898038469, 0.39, "0.39:Return", End::Down, 13.225, -1.45},
  };
  for (const auto& r : rows) {
    aircraft::AircraftData a = testing::SampleAt(r.Name, r.Height, "0");
    if (r.Speed > 0) a.LaunchSpeed = r.Speed;
    a.WindSpeed = r.Wind >= 0 ? r.Wind : testing::Sample(r.Name).WindSpeed;
    if (r.WindDirection >= 0) a.WindDirection = r.WindDirection;
    HeadlessFlight f(a, *ParseKeyScript(r.Keys));
    int filed = 0;
    f.Seams.EndFlight = [&] { ++filed; };
    SCOPED_TRACE(r.Name + std::string(" at ") + r.Height + " m, " + r.Keys);
    const BodyMotion& b = f.State.Body;
    const GroundState& g = f.State.Ground;
    ASSERT_TRUE(f.Step());
    const BodyMotion start = b;
    double held = 0, lowest = b.Altitude, snap = 0, drift = 0, pathAtRest = 0;
    for (BodyMotion before = b; f.Step() && f.State.Loop.FlightTime < 200; before = b) {
      // The first second runs at 24 steps: the key has surely come only later.
      if (f.State.Loop.FlightTime < r.KeyAt - 0.2) {
        for (double moved : {b.PosX - start.PosX, b.PosY - start.PosY, b.Altitude - start.Altitude,
                             b.PitchAngle - start.PitchAngle, b.BankAngle - start.BankAngle})
          held = std::max(held, std::fabs(moved));
      }
      drift = std::max(drift, std::hypot(b.PosX - start.PosX, b.PosY - start.PosY));
      const double rest = f.State.Loop.StopSpeed;
      if (g.Afloat == AfloatStart::LetGo && b.GroundSpeed < rest && std::fabs(b.VelZ) < rest && b.Altitude < 1)
        pathAtRest = std::max(pathAtRest, std::fabs(b.PathAngle));
      lowest = std::min(lowest, b.Altitude);
      snap = std::max({snap, std::fabs(b.PitchAngle - before.PitchAngle) / 0.2, std::fabs(b.Altitude - before.Altitude) / 0.25});
    }
    EXPECT_LT(held, 1e-4);
    EXPECT_GT(lowest, 0);
    EXPECT_LT(snap, 1);  // 0.2 rad of pitch or 0.25 m of height in a step
    EXPECT_EQ(f.EndWord(), "water");
    EXPECT_EQ(filed, 1);
    // The clock runs from the key; the record holds nothing from before it.
    EXPECT_NEAR(g.LaunchTime, r.KeyAt, 0.2);
    EXPECT_NEAR(f.Record.Samples[0].Time, g.LaunchTime, 0.1);
    const double flown = f.State.Loop.FlightTime - g.LaunchTime;
    EXPECT_LE(flown, kAfloatRunLimit + 0.1);
    EXPECT_EQ(pathAtRest, 0);
    switch (r.Ends) {
      case End::Limit:
        EXPECT_GE(flown, kAfloatRunLimit);
        EXPECT_EQ(g.Afloat, AfloatStart::LetGo);
        if (r.Wind == 0 && std::string(r.Keys).find('A') == std::string::npos) {
          EXPECT_LT(drift, 1e-3);
        }
        break;
      case End::Rest:
        EXPECT_EQ(g.Afloat, AfloatStart::LetGo);
        EXPECT_TRUE(g.StartLeft);
        EXPECT_LT(b.GroundSpeed, f.State.Loop.StopSpeed);
        break;
      case End::Down:
        EXPECT_EQ(g.Afloat, AfloatStart::Flown);
        break;
    }
    if (r.Ends != End::Limit) {
      EXPECT_NEAR(flown, r.EndsAt, 0.01);
      EXPECT_NEAR(b.Distance, r.EndsAtDistance, 0.01);
    }
  }
}

// A gale presses the nose of a hull afloat into the water: its reference
// floats from a few millimetres to 0.31 m under the surface. That is no end: Marden７ in 16 and
// 25 m/s ended there at 14.7 and 3.3 s without having moved, and MardenⅣ
// from 1 m at 28 s, 227 m out at 4.5 m/s. They float on to their minute after
// the key, and Esc, by the cancel's own height, still ends and files one.
TEST_F(WaterStart, AGaleThatPressesTheHullUnderEndsItNotTheCancel) {
  const struct {
    const char *Name, *Height;
    double Wind, WindDirection;
    const char *Keys, *End;
  } rows[] = {
      {"Marden７", "0", 16, 5.49738, "0.5:Return", "water"},
      {"Marden７", "0", 25, 5.49738, "0.5:Return", "water"},
      {"MardenⅣ", "1", 25, 3.141361, "0.082:Return", "water"},
      {"Marden７", "0", 25, 5.49738, "0.5:Return,20:Escape", "cancel"},
  };
  for (const auto& r : rows) {
    aircraft::AircraftData a = testing::SampleAt(r.Name, r.Height, "0");
    a.WindSpeed = r.Wind;
    a.WindDirection = r.WindDirection;
    HeadlessFlight f(a, *ParseKeyScript(r.Keys));
    int filed = 0;
    f.Seams.EndFlight = [&] { ++filed; };
    SCOPED_TRACE(r.Name + std::string(" at ") + r.Height + " m, " + r.Keys);
    const uint64_t clockStart = f.Clock.MonotonicMs();
    double lowest = 0;
    bool downUnder = false;
    while (f.Step() && f.State.Loop.FlightTime < 200) {
      lowest = std::min(lowest, f.State.Body.Altitude);
      const FlightState& s = f.State;
      if (s.Body.Altitude < 0 && !AfloatStartEnded(s.Body, s.Ground, s.Loop)) downUnder = downUnder || FlightIsDown(s);
    }
    EXPECT_EQ(f.EndWord(), r.End);
    EXPECT_EQ(filed, 1);
    const double flown = f.State.Loop.FlightTime - f.State.Ground.LaunchTime;
    if (*r.End == 'w') {
      EXPECT_LT(lowest, 0);  // the gale did press it under
      // The first pass head past the minute, and that pass's step.
      EXPECT_NEAR(flown, kAfloatRunLimit + 0.05, 0.01);
    } else {
      // Esc at 20 s of real time; the next pass head ends it.
      EXPECT_NEAR(f.State.Loop.FlightTime, 20.025, 0.03);
    }
    // Floating under the surface it is not down until its end: not drawn and
    // paced on every pass (a quarter of real speed, its keys four times
    // early) nor recorded on every pass (each sample twice in its log). The
    // last pass records the end once more.
    EXPECT_FALSE(downUnder);
    EXPECT_NEAR((f.Clock.MonotonicMs() - clockStart) / 1000.0, f.State.Loop.FlightTime, 0.2);
    int uneven = 0;
    for (int32_t i = 1; i < f.Record.RecordCount; ++i)
      uneven += std::fabs(f.Record.Samples[i].Time - f.Record.Samples[i - 1].Time - 0.05) > 1e-4;
    EXPECT_EQ(uneven, 0);
  }

  // Let go and still under way, a hull under the surface at 0.1 m/s floats
  // on: its own tests end it (the cancel's height, or at rest once moved
  // off), and then it is down, as a glider come down from its deck is at once.
  const auto none = AfloatStart::None, letGo = AfloatStart::LetGo;
  const struct {
    AfloatStart Stage;
    double Altitude;
    bool Moved, Ended, Down;
  } heights[] = {
      {letGo, -0.005, false, false, false}, {letGo, -0.31, false, false, false},
      {letGo, -49.9, false, false, false},  {letGo, -50, false, true, true},
      {letGo, kCancelAltitude, false, true, true},
      {letGo, -0.31, true, true, true},  // moved off and at rest
      {none, -0.31, false, false, true},
  };
  for (const auto& h : heights) {
    FlightState s;
    s.Body.Altitude = s.Ground.BodyBottomHeight = h.Altitude;
    s.Body.GroundSpeed = 0.1;
    s.Ground.Afloat = h.Stage;
    s.Ground.StartLeft = h.Moved;
    const aircraft::AircraftData light = testing::Sample("Marden７");
    if (h.Stage != none) {
      EXPECT_EQ(AfloatStartEnded(s.Body, s.Ground, s.Loop), h.Ended) << h.Altitude;
    }
    EXPECT_EQ(DownInWater(s.Body, s.Ground, s.Loop, light), h.Down) << h.Altitude;
    EXPECT_EQ(AtRestInWater(s.Body, s.Ground, s.Loop), h.Down) << h.Altitude;
    EXPECT_EQ(FlightIsDown(s), h.Down) << h.Altitude;
    s.Loop.FlightEnded = true;  // the pass on which its end test fired
    EXPECT_TRUE(DownInWater(s.Body, s.Ground, s.Loop, light)) << h.Altitude;
  }
}

// Flown clear is a metre up with nothing of it in the water; back on the
// water is the hull under the surface, the spring pressed, or a wing end more
// than 0.1 m in the water. Worked by hand: a 20 m span, no dihedral, the wing
// at the body's height, banked to sin b = -0.2: the outer panel ends 10 sin b
// = 2 m under the body. Before, a body a metre up with a wing end in the
// water had flown, and ended on the next pass while it climbed. Let go, it
// has left its start once it moves at 1 m/s or has climbed a metre, clear of
// the water or not.
TEST_F(WaterStart, FlownClearAndBackOnTheWaterByHand) {
  aircraft::AircraftData a;
  a.WingSpan = 20;
  SetUpConstants setup;
  ControlState controls;
  const double bank = -std::asin(0.2);
  const auto held = AfloatStart::Held, letGo = AfloatStart::LetGo, flown = AfloatStart::Flown;
  const struct {
    AfloatStart Stage;
    double Altitude, Bank, Bottom, Gear, Speed;
    AfloatStart After;
    bool Left, Ended;
  } rows[] = {
      {letGo, 1, 0, 1, 0, 0, flown, true, false},  // a metre up at no speed: it has left its start
      {letGo, 0.99, 0, 0.99, 0, 0, letGo, false, false},
      {letGo, 1.89, bank, 1.89, 0, 0, letGo, true, false},  // a wing end 0.11 m in
      {letGo, 1.91, bank, 1.91, 0, 0, flown, true, false},  // 0.09 m in: clear
      {letGo, 1.5, 0, 1.5, 0.01, 0, letGo, true, false},    // the spring still pressed
      {letGo, 1.5, 0, -0.01, 0, 0, letGo, true, false},     // the hull still in
      {letGo, 0.07, 0, 0.07, 0.01, 0.99, letGo, false, false},
      {letGo, 0.07, 0, 0.07, 0.01, 1, letGo, true, false},  // 1 m/s on the water
      {held, 1.5, 0, 1.5, 0, 2, held, false, false},        // not let go yet
      {flown, 1.91, bank, 1.91, 0, 0, flown, true, false},
      {flown, 1.89, bank, 1.89, 0, 0, flown, true, true},
      {flown, 0.5, 0, 0.5, 0, 0, flown, false, false},  // low over the water, clear of it
      {flown, 0.5, 0, -0.01, 0, 0, flown, false, true},
      {flown, 0.5, 0, 0.5, 0.01, 0, flown, false, true},
  };
  for (const auto& r : rows) {
    BodyMotion body;
    body.Altitude = r.Altitude;
    body.GroundSpeed = r.Speed;
    body.BankAngle = r.Bank;
    body.ViewRollSin = std::sin(r.Bank);
    body.ViewRollCos = std::cos(r.Bank);
    GroundState ground;
    ground.Afloat = r.Stage;
    ground.BodyBottomHeight = r.Bottom;
    ground.GearContactDepth = r.Gear;
    WingState wing;
    CheckWingEnds(setup, body, controls, a, wing, ground);
    MarkAfloatProgress(body, ground);
    EXPECT_EQ(ground.Afloat, r.After) << r.Altitude << " m, bank " << r.Bank << ", bottom " << r.Bottom;
    EXPECT_EQ(ground.StartLeft, r.Left) << r.Altitude << " m at " << r.Speed << " m/s";
    if (r.Stage == flown) {
      EXPECT_EQ(AfloatStartEnded(body, ground, LoopTiming{}), r.Ended) << r.Altitude;
    }
  }
}

// At rest on the water the path is level, whatever the aircraft: on the
// water, just off it (its gear less than a metre up) moving up or down
// slower than the rest speed, or held at its start from the surface. Falling
// or climbing clear of it, it reads its motion. Before, a start afloat let go
// read level at any height while it fell or climbed (Marden98 falling at
// 2.49 m/s 0.12 m up), and a powered aircraft at rest read up to 89.9
// degrees. Worked by hand: rest speed 0.3 m/s, the gear 0.1 m under a light
// aircraft's reference and 2.5 m under a jet's.
TEST_F(WaterStart, PathLevelOnlyAtRestOnTheWater) {
  const struct {
    const char* Case;
    double Gear, Time, Speed, Climb, Altitude, Bottom, Depth;
    bool Wing;
    double Path;
  } rows[] = {
      {"afloat on its spring", 0.1, 5, 0.1, 0.2, 0.07, 0.07, 0.01, false, 0},
      {"hull in, sinking", 0.1, 5, 0.1, -2, 0.02, -0.05, 0, false, 0},
      {"a wing end in, the body climbing", 0.1, 5, 0.1, 1, 1.5, 1.5, 0, true, 0},
      {"lifted just off by a head wind", 0.1, 5, 0.1, 0.17, 0.28, 0.28, 0, false, 0},
      {"falling clear", 0.1, 5, 0.2, -2.49, 0.12, 0.12, 0, false, -1.4906471},
      {"climbing clear", 0.1, 5, 0.1, 0.58, 0.5, 0.5, 0, false, 1.4000611},
      {"climbing at the rest speed", 0.1, 5, 0.1, 0.3, 0.5, 0.5, 0, false, 1.2490458},
      {"on the water at the rest speed", 0.1, 5, 0.3, 0.03, 0.07, 0.07, 0.01, false, 0.0996687},
      {"hovering 5 m up", 0.1, 5, 0.2, 0.1, 5, 5, 0, false, 0.4636476},
      {"a jet bobbing off its spring", 2.5, 5, 0.0004, -0.2, 3.4, 0, 0, false, 0},
      {"a jet hovering 1.1 m over its gear", 2.5, 5, 0.2, 0.1, 3.6, 0, 0, false, 0.4636476},
      {"held at its start, 1.6 m up", 2.5, 0.5, 0.5, -0.41, 4.1, 0, 0, false, 0},
      {"let go of its hold", 2.5, 1, 0.5, -0.41, 4.1, 0, 0, false, -0.6868176},
  };
  aircraft::AircraftData a = testing::Sample("Marden７");
  a.LaunchHeight = 0;
  for (const auto& r : rows) {
    FlightState s;
    s.Setup.GearHeight = r.Gear;
    s.Loop.FlightTime = r.Time;
    s.Body.GroundSpeed = r.Speed;
    s.Body.VelZ = r.Climb;
    s.Body.Altitude = r.Altitude;
    s.Body.PathAngle = 9;
    s.Ground.BodyBottomHeight = r.Bottom;
    s.Ground.GearContactDepth = r.Depth;
    s.Ground.WingEndInWater = r.Wing;
    UpdatePathAngle(s.Setup, s.Loop, s.Ground, a, s.Body);
    EXPECT_NEAR(s.Body.PathAngle, r.Path, 1e-7) << r.Case;
  }

  // Whole flights from the water, no wind: powered aircraft held still for
  // their first second (they read 65 to 68 degrees), the rocket at rest on
  // its gear after its drop (up to 89.9); Marden98 in 14 m/s, let go, reads
  // its climb off the water at no ground speed.
  for (const char* file : {"TestJet.brd", "TestPiston.brd", "TestRocket.brd"}) {
    aircraft::AircraftData powered = testing::DataAircraft(file);
    powered.LaunchHeight = 0;
    powered.WindSpeed = 0;
    HeadlessFlight f(powered, 0.5);
    double held = 0, resting = 0;
    while (f.Step() && f.State.Loop.FlightTime < 8) {
      const double t = f.State.Loop.FlightTime, path = std::fabs(f.State.Body.PathAngle);
      if (t < 1) held = std::max(held, path);
      if (t > 3 && f.State.Body.GroundSpeed < 0.01) resting = std::max(resting, path);
    }
    EXPECT_EQ(held, 0) << file;
    EXPECT_EQ(resting, 0) << file;
  }
  HeadlessFlight glider(testing::SampleAt("Marden98", "0", "14"), 0.5);
  double climbing = 0;
  while (glider.Step() && glider.State.Loop.FlightTime < 20) {
    const BodyMotion& b = glider.State.Body;
    if (b.GroundSpeed < 0.3 && b.VelZ > 0.5 && b.Altitude < 1) climbing = std::max(climbing, b.PathAngle);
  }
  EXPECT_GT(climbing, 1);
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
    s.Ground.Afloat = r.Speed > 10 ? AfloatStart::None : AfloatStart::LetGo;
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
