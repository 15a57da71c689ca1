#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "flight/flight_loop.h"
#include "flight/flight_record.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "flight/translation.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

using testing::Engine;

constexpr double kDt = 1.0 / 40;

std::unique_ptr<HeadlessFlight> FlyTo(const aircraft::AircraftData& a, double seconds) {
  auto f = std::make_unique<HeadlessFlight>(a);
  EXPECT_TRUE(f->Accepted());
  while (f->State.FlightTime < seconds && f->Step()) {
  }
  return f;
}

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

// One pass of a glider in free flight, worked by hand from the state before
// it: every relation below holds only when the stages ran in their order.
TEST(FlightLoopPass, SubStepsRunInTheirOrder) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 6.0);
  const FlightState b = f->State;
  ASSERT_GT(b.CourseDistance, 10);
  ASSERT_GT(b.Altitude, 1);
  ASSERT_EQ(b.SupportAccel, 0);
  ASSERT_EQ(b.TipContactYawRate, 0);
  ASSERT_LE(b.TailContactAccel, 0);
  ASSERT_EQ(b.StepsPerSecond, 40);
  const int32_t sample = f->Record.RecordCount;
  const bool records = b.StepCounter % 2 == 0;
  ASSERT_TRUE(f->Step());
  const FlightState& s = f->State;
  const aircraft::AircraftData& a = f->Aircraft;

  // The recorder stores the state the previous pass left.
  if (records) {
    EXPECT_EQ(f->Record.Samples[sample].Height, Int(b.Altitude * 1000 + 0.5) / 1000);
    EXPECT_EQ(f->Record.RecordCount, sample + 1);
  }
  EXPECT_EQ(s.FlightTime, b.FlightTime + kDt);

  // The climb rate integrates the forces the previous pass left (its lift,
  // drag, air data and attitude).
  const double m = b.Mass + b.ApparentMass;
  const double d = b.DragArea * b.DynamicPressure;
  double vz = b.VelZ;
  vz += ((b.PitchSin * b.Thrust - b.AirPathSin * d) / m + (b.AirPathCos * b.LiftAccel - b.Gravity) * b.Mass / m) * kDt;
  vz += (b.GroundSpeed + 500) * (b.GroundSpeed + 500) / (b.EarthRadius + b.Altitude) * kDt;
  EXPECT_EQ(s.VelZ, vz);

  // The rates take this pass's accelerations, the attitude this pass's rates.
  EXPECT_EQ(s.PitchRate, Limited(b.PitchRate + s.PitchAccel * kDt, 4));
  EXPECT_EQ(s.YawRate, Limited(b.YawRate + s.YawAccel * kDt, 13));
  EXPECT_EQ(s.RollRate, Limited(b.RollRate + s.RollAccel * kDt, 13));
  const double cp = b.PitchCos, sp = b.PitchSin, ch = b.HeadingCos, sh = b.HeadingSin;
  const double cb = b.ViewRollCos, sbk = b.ViewRollSin;
  const double q = s.PitchRate, r = s.YawRate;
  double n[3] = {b.NoseVector[0] + (q * (-cb * sp * sh + ch * sbk) + r * (sh * sbk * sp + ch * cb)) * kDt,
                 b.NoseVector[1] + (q * (-cb * sp * ch - sh * sbk) + r * (-sh * cb + ch * sbk * sp)) * kDt,
                 b.NoseVector[2] + (q * (cb * cp) + r * (-cp * sbk)) * kDt};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.NoseVector[i], n[i] / len);
  EXPECT_EQ(s.PitchAngle, std::atan(s.NoseVector[2] / std::sqrt(n[0] / len * n[0] / len + n[1] / len * n[1] / len)));

  // The air data follow the new attitude.
  const double h = s.Heading, p = s.PitchAngle, bk = s.BankAngle;
  const double x1 = s.AirDirY * std::cos(-h) - s.AirDirX * std::sin(-h);
  const double y1 = s.AirDirY * std::sin(-h) + s.AirDirX * std::cos(-h);
  const double z1 = s.AirPathSin * std::cos(-p) + std::sin(-p) * x1;
  const double x2 = std::cos(-p) * x1 - s.AirPathSin * std::sin(-p) + 0.0001;
  const double z2 = std::cos(-bk) * z1 - std::sin(-bk) * y1;
  ASSERT_GT(x2, 0);
  EXPECT_EQ(s.AngleOfAttack, -std::atan(z2 / x2));
  EXPECT_EQ(s.AoaText, ThroughText(s.WingIncidenceRad + s.AngleOfAttack));

  // The pilot's demand of this pass drives the tailplane of this pass.
  EXPECT_EQ(s.ElevatorInput, Sgn(a.TailplaneArm) * s.ElevatorDemand);
  const double step = a.SurfaceRate / 57.3 / 40;
  EXPECT_EQ(s.ElevatorAngle, b.ElevatorAngle + Limited(s.ElevatorInput - b.ElevatorAngle, step));

  // The loads take this pass's aerodynamics; position and height the new
  // velocities.
  EXPECT_EQ(s.NormalLoad,
            (s.TotalLiftArea + s.TailplaneLiftArea) * s.DynamicPressure / (s.FuelQuantity + s.DryMass));
  EXPECT_EQ(s.PosX, b.PosX + s.VelX / 40);
  EXPECT_EQ(s.PosY, b.PosY + s.VelY / 40);
  EXPECT_EQ(s.Altitude, b.Altitude + s.VelZ / 40);
  EXPECT_EQ(s.StepCounter, b.StepCounter + 1);

  // The atmosphere comes after the air data.
  EXPECT_EQ(s.MachSquared, s.AirSpeed * s.AirSpeed / (s.AirTemperature * 88209 / 216.5));
}

TEST(FlightLoopPass, Marden7LeavesTheDeckAfter98Steps) {
  HeadlessFlight f(testing::Sample("Marden７"));
  ASSERT_TRUE(f.Accepted());
  while (!f.TakeoffPressed) ASSERT_TRUE(f.Step());
  EXPECT_NEAR(f.State.FlightTime, 0.1, 1e-12);
  EXPECT_EQ(f.Record.RecordCount, 0);
  EXPECT_NEAR(f.State.TakeoffRunAcceleration, 5.8 / 2.4, 1e-12);
  int steps = 0;
  while (f.State.CourseDistance < 0) {
    ASSERT_TRUE(f.Step());
    ++steps;
    ASSERT_LT(steps, 200);
    // On the deck the runner is never faster than the launch speed.
    if (f.State.CourseDistance < 0) {
      EXPECT_LE(f.State.GroundSpeed, 5.8);
      EXPECT_EQ(f.State.Heading, f.Aircraft.LaunchHeading);
    }
  }
  EXPECT_NEAR(steps, 98, 1);
  EXPECT_NEAR(f.State.FlightTime, 2.55, 0.03);
}

TEST(FlightLoopPass, SameInputsGiveTheSameRecord) {
  auto a = FlyTo(testing::Sample("Marden98"), 1000);
  auto b = FlyTo(testing::Sample("Marden98"), 1000);
  ASSERT_EQ(a->EndWord(), "water");
  ASSERT_EQ(a->Record.RecordCount, b->Record.RecordCount);
  for (int32_t i = 0; i <= a->Record.RecordCount; ++i) {
    ASSERT_TRUE(a->Record.Samples[i] == b->Record.Samples[i]) << "sample " << i;
  }
  EXPECT_EQ(a->State.PosX, b->State.PosX);
  EXPECT_EQ(a->State.FlightTime, b->State.FlightTime);
  EXPECT_EQ(a->Passes, b->Passes);
}

TEST(FlightRecord, WrapsFrom60000To30000) {
  auto f = FlyTo(testing::Sample("Marden７"), 3.0);
  FlightState s = f->State;
  FlightRecord& r = f->Record;
  s.StepCounter = 2;
  r.RecordCount = 59999;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, 30000);
  EXPECT_EQ(r.Samples[60000].Height, Int(s.Altitude * 1000 + 0.5) / 1000);
  EXPECT_EQ(r.Samples[60000].Time, r.Samples[59999].Time);

  // Odd steps record nothing; open charts and negative indices skip the write
  // but still advance.
  s.StepCounter = 3;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, 30000);
  s.StepCounter = 4;
  FlightOptions charts;
  charts.FlightDataChartsActive = 1;
  r.Samples[30000] = FlightSample{};
  RecordFlightSample(s, r, f->Aircraft, charts);
  EXPECT_EQ(r.RecordCount, 30001);
  EXPECT_EQ(r.Samples[30000].Height, 0);
  r.RecordCount = -2;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, -1);
}

TEST(FlightRecord, ASecondFlightAfterALongOneSeesNoStaleSample) {
  // A new record reads as cleared throughout.
  FlightRecord fresh;
  EXPECT_EQ(fresh.RowsInUse, 0);
  ASSERT_TRUE(std::all_of(fresh.Samples.begin(), fresh.Samples.end(),
                          [](const FlightSample& x) { return x == FlightSample{}; }));

  auto first = FlyTo(testing::Powered(testing::Engine::Jet), 60);
  FlightRecord reused = std::move(first->Record);
  ASSERT_GT(reused.RecordCount, 1000);
  EXPECT_GE(reused.RowsInUse, reused.RecordCount);
  reused.RecordCount = 40;
  reused.LogRowCount = 7;
  reused.Reset();
  EXPECT_EQ(reused.RecordCount, -2);
  EXPECT_EQ(reused.LogRowCount, 0);
  EXPECT_EQ(reused.RowsInUse, 0);

  // The short flight on the reset record keeps exactly what it does on a new one.
  HeadlessFlight second(testing::Sample("Marden７"));
  second.Record = std::move(reused);
  HeadlessFlight alone(testing::Sample("Marden７"));
  ASSERT_EQ(second.Fly(0), "water");
  ASSERT_EQ(alone.Fly(0), "water");
  ASSERT_EQ(second.Record.RecordCount, alone.Record.RecordCount);
  for (size_t i = 0; i < second.Record.Samples.size(); ++i) {
    ASSERT_TRUE(second.Record.Samples[i] == alone.Record.Samples[i]) << "sample " << i;
  }
}

TEST(FlightRecord, TimeStepsBy5HundredthsDespiteTheSummedStep) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 10.0);
  const FlightRecord& r = f->Record;
  for (int32_t i = 1; i < r.RecordCount; ++i) {
    ASSERT_EQ(r.Samples[i].Time, static_cast<float>((i + 2) / 20.0)) << i;
  }
}

TEST(FlightEnd, NestedRunEndsTheFlightOnce) {
  HeadlessFlight f(testing::Sample("Marden７"));
  int ended = 0;
  f.Seams.EndFlight = [&] { ++ended; };
  // The replay, opened from the yield at 3 s, resumes the flight in a run of
  // its own, which flies it to its end.
  const auto yield = f.Seams.DoEvents;
  bool nested = false;
  f.Seams.DoEvents = [&] {
    yield();
    if (!nested && f.State.FlightTime > 3) {
      nested = true;
      FlightLoop inner = f.Loop();
      RunFlight(inner);
    }
  };
  EXPECT_EQ(f.Fly(0), "water");
  EXPECT_TRUE(nested);
  EXPECT_EQ(ended, 1);
  const int32_t last = f.Record.RecordCount;
  EXPECT_GT(f.Record.Samples[last].Time, 5.0f);
  EXPECT_EQ(f.Record.Samples[last + 1].Time, 0.0f);
}

TEST(FlightEnd, CancelEndsALightAircraftOnceItStops) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 5.0);
  f->State.Altitude = kCancelAltitude;
  int passes = 0;
  while (f->Step()) ASSERT_LT(++passes, 10);
  EXPECT_EQ(f->EndWord(), "cancel");
  EXPECT_GE(f->State.GroundSpeed, 0);
}

TEST(FlightEnd, FlyingStartEndsOnThePassItIsInTheWater) {
  auto f = FlyTo(testing::Powered(Engine::Piston), 5.0);
  f->State.Altitude = kCancelAltitude;
  int frames = 0;
  f->Seams.DrawFlightFrame = [&] { ++frames; };
  EXPECT_TRUE(f->Step());  // the test fires; the pass runs to its end
  EXPECT_FALSE(f->Step());
  EXPECT_EQ(f->EndWord(), "cancel");
  EXPECT_EQ(f->State.ScreenColour, 0x800000u);
  EXPECT_EQ(frames, 0);
}

TEST(FlightEnd, NonFiniteStateEndsAsACancelWithAMessage) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 5.0);
  const int32_t count = f->Record.RecordCount;
  f->State.PitchRate = std::nan("");
  EXPECT_FALSE(f->Step());
  EXPECT_EQ(f->EndWord(), "nonfinite");
  EXPECT_EQ(f->State.Altitude, kCancelAltitude);
  EXPECT_FALSE(f->Message.empty());
  EXPECT_EQ(f->Record.RecordCount, count - 1);
}

TEST(FlightEnd, WatchdogStopsACreepingAircraftAfterAMinute) {
  ManualClock clock(100000);
  SetClockSource(&clock);
  FlightState s;
  s.GroundSpeed = 2;  // too fast: the mark follows the clock
  s.Distance = s.CourseDistance = 250;
  s.FlightTime = 150;
  s.Altitude = 0.5;
  CheckRestWatchdog(s);
  EXPECT_EQ(s.WatchdogMark, 100.0);
  s.GroundSpeed = 0.8;
  clock.Advance(59000);
  CheckRestWatchdog(s);
  EXPECT_EQ(s.Altitude, 0.5);
  clock.Advance(1500);
  CheckRestWatchdog(s);
  EXPECT_EQ(s.Altitude, kCancelAltitude);
  EXPECT_EQ(s.EndCause, static_cast<int16_t>(FlightEndCause::Watchdog));

  // Not before 100 s of flight, nor behind the start.
  FlightState early = s;
  early.Altitude = 0.5;
  early.FlightTime = 100;
  CheckRestWatchdog(early);
  EXPECT_EQ(early.Altitude, 0.5);
  early.FlightTime = 150;
  early.CourseDistance = -1;
  clock.Advance(100000);
  CheckRestWatchdog(early);
  EXPECT_EQ(early.Altitude, 0.5);
  EXPECT_EQ(early.WatchdogMark, 260.5);
  ResetClockSource();
}

// The monotonic clock passes 2^31 ms after 24 days up: the second's mark and
// pass count must not wrap, or every pass would start a new second.
TEST(FlightLoopPacing, OncePerSecondUpdateHoldsPastTwentyFourDaysOfClock) {
  HeadlessFlight f(testing::Sample("Marden７"));
  for (int i = 0; i < 60; ++i) ASSERT_TRUE(f.Step());
  f.Clock.Advance(3'000'000'000);  // about 35 days
  ASSERT_TRUE(f.Step());
  const int64_t mark = f.State.TimeMark;
  EXPECT_EQ(mark, static_cast<int64_t>(timeGetTime()));
  EXPECT_GT(mark, int64_t{1} << 31);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(f.Step());
  EXPECT_EQ(f.State.TimeMark, mark);
  EXPECT_EQ(f.State.PassesThisSecond, 10);
}

TEST(FlightLoopPacing, PacedStepsWaitForTheirFrameAndTheFastestModeDoesNot) {
  HeadlessFlight f(testing::Sample("Super ZarvⅣ"));
  f.Seams.Headless = false;
  std::vector<uint64_t> deadlines;
  f.Seams.WaitUntil = [&](uint64_t deadline) {
    deadlines.push_back(deadline);
    if (deadline > timeGetTime()) f.Clock.Advance(deadline - timeGetTime());
  };
  f.Seams.DoEvents = [] {};  // the clock moves only by waiting
  EXPECT_EQ(f.State.FrameRate, 0);  // not yet measured
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(f.Step());
  EXPECT_GT(f.State.FrameRate, 0);
  // 4 steps a frame at 40 steps a second: a frame every 100 ms.
  ASSERT_GE(deadlines.size(), 5u);
  for (std::size_t i = 1; i < deadlines.size(); ++i) EXPECT_EQ(deadlines[i] - deadlines[i - 1], 100u);
  EXPECT_LT(f.State.WaitMs, f.State.BusyMs);

  deadlines.clear();
  f.State.SpeedMode = 0;
  for (int i = 0; i < 80; ++i) ASSERT_TRUE(f.Step());
  EXPECT_TRUE(deadlines.empty());
  EXPECT_EQ(f.State.DisplayDivisor, 36);
  EXPECT_EQ(f.State.WaitMs, 0);
}

}  // namespace
}  // namespace zarv::flight
