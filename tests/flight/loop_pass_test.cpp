#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "flight/flight_loop.h"
#include "flight/flight_record.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/loop_fixture.h"
#include "flight/translation.h"
#include "platform/runtime/numeric.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class FlightLoopPass : public zarv::testing::ProgramTest {};
class FlightRecording : public zarv::testing::ProgramTest {};
class FlightEnd : public zarv::testing::ProgramTest {};
class FlightLoopPacing : public zarv::testing::ProgramTest {};

using testing::Engine;

constexpr double kDt = 1.0 / 40;

std::unique_ptr<HeadlessFlight> FlyTo(const aircraft::AircraftData& a, double seconds) {
  auto f = std::make_unique<HeadlessFlight>(a);
  EXPECT_TRUE(f->Accepted());
  while (f->State.Loop.FlightTime < seconds && f->Step()) {
  }
  return f;
}

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

// One pass of a glider in free flight, worked by hand from the state before
// it: every relation below holds only when the stages ran in their order.
TEST_F(FlightLoopPass, SubStepsRunInTheirOrder) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 6.0);
  const FlightState b = f->State;
  ASSERT_GT(b.Body.CourseDistance, 10);
  ASSERT_GT(b.Body.Altitude, 1);
  ASSERT_EQ(b.Air.SupportAccel, 0);
  ASSERT_EQ(b.Ground.TipContactYawRate, 0);
  ASSERT_LE(b.Ground.TailContactAccel, 0);
  ASSERT_EQ(b.Loop.StepsPerSecond, 40);
  const int32_t sample = f->Record.RecordCount;
  const bool records = b.Loop.StepCounter % 2 == 0;
  ASSERT_TRUE(f->Step());
  const FlightState& s = f->State;
  const aircraft::AircraftData& a = f->Aircraft;

  // The recorder stores the state the previous pass left.
  if (records) {
    EXPECT_EQ(f->Record.Samples[sample].Height, Int(b.Body.Altitude * 1000 + 0.5) / 1000);
    EXPECT_EQ(f->Record.RecordCount, sample + 1);
  }
  EXPECT_EQ(s.Loop.FlightTime, b.Loop.FlightTime + kDt);

  // The climb rate integrates the forces the previous pass left (its lift,
  // drag, air data and attitude).
  const double m = b.Masses.Mass + b.Masses.ApparentMass;
  const double d = b.Tail.DragArea * b.Air.DynamicPressure;
  double vz = b.Body.VelZ;
  vz += ((b.Body.PitchSin * b.Engine.Thrust - b.Air.AirPathSin * d) / m + (b.Air.AirPathCos * b.Loads.LiftAccel - b.Setup.Gravity) * b.Masses.Mass / m) * kDt;
  vz += (b.Body.GroundSpeed + 500) * (b.Body.GroundSpeed + 500) / (b.Setup.EarthRadius + b.Body.Altitude) * kDt;
  EXPECT_EQ(s.Body.VelZ, vz);

  // The rates take this pass's accelerations, the attitude this pass's rates.
  EXPECT_EQ(s.Body.PitchRate, Limited(b.Body.PitchRate + s.Body.PitchAccel * kDt, 4));
  EXPECT_EQ(s.Body.YawRate, Limited(b.Body.YawRate + s.Body.YawAccel * kDt, 13));
  EXPECT_EQ(s.Body.RollRate, Limited(b.Body.RollRate + s.Body.RollAccel * kDt, 13));
  const double cp = b.Body.PitchCos, sp = b.Body.PitchSin, ch = b.Body.HeadingCos, sh = b.Body.HeadingSin;
  const double cb = b.Body.ViewRollCos, sbk = b.Body.ViewRollSin;
  const double q = s.Body.PitchRate, r = s.Body.YawRate;
  double n[3] = {b.Body.NoseVector[0] + (q * (-cb * sp * sh + ch * sbk) + r * (sh * sbk * sp + ch * cb)) * kDt,
                 b.Body.NoseVector[1] + (q * (-cb * sp * ch - sh * sbk) + r * (-sh * cb + ch * sbk * sp)) * kDt,
                 b.Body.NoseVector[2] + (q * (cb * cp) + r * (-cp * sbk)) * kDt};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.Body.NoseVector[i], n[i] / len);
  EXPECT_EQ(s.Body.PitchAngle, std::atan(s.Body.NoseVector[2] / std::sqrt(n[0] / len * n[0] / len + n[1] / len * n[1] / len)));

  // The air data follow the new attitude.
  const double h = s.Body.Heading, p = s.Body.PitchAngle, bk = s.Body.BankAngle;
  const double x1 = s.Air.AirDirY * std::cos(-h) - s.Air.AirDirX * std::sin(-h);
  const double y1 = s.Air.AirDirY * std::sin(-h) + s.Air.AirDirX * std::cos(-h);
  const double z1 = s.Air.AirPathSin * std::cos(-p) + std::sin(-p) * x1;
  const double x2 = std::cos(-p) * x1 - s.Air.AirPathSin * std::sin(-p) + 0.0001;
  const double z2 = std::cos(-bk) * z1 - std::sin(-bk) * y1;
  ASSERT_GT(x2, 0);
  EXPECT_EQ(s.Air.AngleOfAttack, -std::atan(z2 / x2));
  EXPECT_EQ(s.Air.AoaText, ThroughText(s.Setup.WingIncidenceRad + s.Air.AngleOfAttack));

  // The pilot's demand of this pass drives the tailplane of this pass.
  EXPECT_EQ(s.Controls.TailplaneCommand, Sgn(a.TailplaneArm) * s.Controls.ElevatorDemand);
  const double step = a.SurfaceRate / 57.3 / 40;
  EXPECT_EQ(s.Controls.ElevatorAngle, b.Controls.ElevatorAngle + Limited(s.Controls.TailplaneCommand - b.Controls.ElevatorAngle, step));

  // The loads take this pass's aerodynamics; position and height the new
  // velocities.
  EXPECT_EQ(s.Air.NormalLoad,
            (s.Tail.TotalLiftArea + s.Tail.TailplaneLiftArea) * s.Air.DynamicPressure / (s.Masses.FuelQuantity + s.Masses.DryMass));
  EXPECT_EQ(s.Body.PosX, b.Body.PosX + s.Body.VelX / 40);
  EXPECT_EQ(s.Body.PosY, b.Body.PosY + s.Body.VelY / 40);
  EXPECT_EQ(s.Body.Altitude, b.Body.Altitude + s.Body.VelZ / 40);
  EXPECT_EQ(s.Loop.StepCounter, b.Loop.StepCounter + 1);

  // The atmosphere comes after the air data.
  EXPECT_EQ(s.Air.MachSquared, s.Body.AirSpeed * s.Body.AirSpeed / (s.Air.AirTemperature * 88209 / 216.5));
}

TEST_F(FlightLoopPass, Marden7LeavesTheDeckAfter98Steps) {
  HeadlessFlight f(testing::Sample("Marden７"));
  ASSERT_TRUE(f.Accepted());
  while (!f.TakeoffPressed) ASSERT_TRUE(f.Step());
  EXPECT_NEAR(f.State.Loop.FlightTime, 0.1, 1e-12);
  EXPECT_EQ(f.Record.RecordCount, 0);
  EXPECT_NEAR(f.State.Pilot.TakeoffRunAcceleration, 5.8 / 2.4, 1e-12);
  int steps = 0;
  while (f.State.Body.CourseDistance < 0) {
    ASSERT_TRUE(f.Step());
    ++steps;
    ASSERT_LT(steps, 200);
    // On the deck the runner is never faster than the launch speed.
    if (f.State.Body.CourseDistance < 0) {
      EXPECT_LE(f.State.Body.GroundSpeed, 5.8);
      EXPECT_EQ(f.State.Body.Heading, f.Aircraft.LaunchHeading);
    }
  }
  EXPECT_NEAR(steps, 98, 1);
  EXPECT_NEAR(f.State.Loop.FlightTime, 2.55, 0.03);
}

TEST_F(FlightLoopPass, SameInputsGiveTheSameRecord) {
  auto a = FlyTo(testing::Sample("Marden98"), 1000);
  auto b = FlyTo(testing::Sample("Marden98"), 1000);
  ASSERT_EQ(a->EndWord(), "water");
  ASSERT_EQ(a->Record.RecordCount, b->Record.RecordCount);
  for (int32_t i = 0; i <= a->Record.RecordCount; ++i) {
    ASSERT_TRUE(a->Record.Samples[i] == b->Record.Samples[i]) << "sample " << i;
  }
  EXPECT_EQ(a->State.Body.PosX, b->State.Body.PosX);
  EXPECT_EQ(a->State.Loop.FlightTime, b->State.Loop.FlightTime);
  EXPECT_EQ(a->Passes, b->Passes);
}

TEST_F(FlightRecording, WrapsFrom60000To30000) {
  auto f = FlyTo(testing::Sample("Marden７"), 3.0);
  FlightState s = f->State;
  FlightRecord& r = f->Record;
  s.Loop.StepCounter = 2;
  r.RecordCount = 59999;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, 30000);
  EXPECT_EQ(r.Samples[60000].Height, Int(s.Body.Altitude * 1000 + 0.5) / 1000);
  EXPECT_EQ(r.Samples[60000].Time, r.Samples[59999].Time);

  // Odd steps record nothing; open charts and negative indices skip the write
  // but still advance.
  s.Loop.StepCounter = 3;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, 30000);
  s.Loop.StepCounter = 4;
  FlightOptions charts;
  charts.FlightDataChartsActive = 1;
  r.Row(30000) = FlightSample{};
  RecordFlightSample(s, r, f->Aircraft, charts);
  EXPECT_EQ(r.RecordCount, 30001);
  EXPECT_EQ(r.Samples[30000].Height, 0);
  // The latest sample is the row written last, in the ring too (the skipped
  // row 30000 was none); an index set back starts afresh.
  EXPECT_EQ(r.LastRecorded, 60000);
  s.Loop.StepCounter = 6;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.LastRecorded, 30001);
  r.RecordCount = 1;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.LastRecorded, 1);
  r.RecordCount = -2;
  RecordFlightSample(s, r, f->Aircraft, f->Options);
  EXPECT_EQ(r.RecordCount, -1);
}

// On a high deck the record shows the launch attitude with the run's gait;
// back behind the line after its flight, the aircraft's own.
TEST_F(FlightRecording, BehindTheLineAfterItsFlightTheAttitudeIsItsOwn) {
  aircraft::AircraftData a = testing::Sample("Marden７");  // launch pitch -15 degrees, bank -9
  a.LaunchHeight = 300;
  FlightState s;
  FlightRecord r;
  r.RecordCount = 1;
  s.Body.Distance = s.Body.CourseDistance = -3;
  s.Body.PitchAngle = -0.5;
  s.Body.BankAngle = 0.3;
  RecordFlightSample(s, r, a, FlightOptions{});
  EXPECT_NEAR(r.Samples[1].Pitch, -15, 1e-9);
  s.Ground.StartLeft = true;
  RecordFlightSample(s, r, a, FlightOptions{});
  EXPECT_NEAR(r.Samples[2].Pitch, -28.6, 1e-9);
  EXPECT_NEAR(r.Samples[2].Bank, 17.2, 1e-9);
}

TEST_F(FlightRecording, ASecondFlightAfterALongOneSeesNoStaleSample) {
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

TEST_F(FlightRecording, TimeStepsBy5HundredthsDespiteTheSummedStep) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 10.0);
  const FlightRecord& r = f->Record;
  for (int32_t i = 1; i < r.RecordCount; ++i) {
    ASSERT_EQ(r.Samples[i].Time, static_cast<float>((i + 2) / 20.0)) << i;
  }
}

TEST_F(FlightEnd, NestedRunEndsTheFlightOnce) {
  HeadlessFlight f(testing::Sample("Marden７"));
  int ended = 0;
  f.Seams.EndFlight = [&] { ++ended; };
  // The replay, opened from the yield at 3 s, resumes the flight in a run of
  // its own, which flies it to its end.
  const auto yield = f.Seams.DoEvents;
  bool nested = false;
  f.Seams.DoEvents = [&] {
    yield();
    if (!nested && f.State.Loop.FlightTime > 3) {
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

TEST_F(FlightEnd, CancelEndsALightAircraftOnceItStops) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 5.0);
  f->State.Body.Altitude = kCancelAltitude;
  int passes = 0;
  while (f->Step()) ASSERT_LT(++passes, 10);
  EXPECT_EQ(f->EndWord(), "cancel");
  EXPECT_GE(f->State.Body.GroundSpeed, 0);
}

// At exactly 10 m/s a light aircraft meets the water as any other: its drags
// slow it and it ends. It used to glide on under the surface down to -20 m
// and stay there, and from the water its end was a cancel at -2000 m.
TEST_F(FlightEnd, AtTenMetresASecondTheWaterStopsALightAircraft) {
  const struct { const char* Height; double Speed; const char* Keys; } rows[] = {
      {"", 9.99, "0.5:Return,5.93+1.6:4,7.53+9.43:2"},
      {"", 10, "0.5:Return,5.93+1.6:4,7.53+9.43:2"},
      {"0", 10, "0.5:Return"},
  };
  for (const auto& r : rows) {
    aircraft::AircraftData a = testing::Sample("Marden７");
    if (*r.Height) a.LaunchHeight = 0;
    a.LaunchSpeed = r.Speed;
    a.WindSpeed = 0;
    HeadlessFlight f(a, *ParseKeyScript(r.Keys));
    SCOPED_TRACE(std::to_string(r.Speed) + " m/s from " + (*r.Height ? "the water" : "its deck"));
    double lowest = 0;
    while (f.Step() && f.State.Loop.FlightTime < 300) lowest = std::min(lowest, f.State.Body.Altitude);
    EXPECT_EQ(f.EndWord(), "water");
    EXPECT_LT(f.State.Loop.FlightTime, *r.Height ? 61.0 : 40.0);
    EXPECT_GT(lowest, -2);
  }
}

TEST_F(FlightEnd, FlyingStartEndsOnThePassItIsInTheWater) {
  auto f = FlyTo(testing::Powered(Engine::Piston), 5.0);
  f->State.Body.Altitude = kCancelAltitude;
  int frames = 0;
  f->Seams.DrawFlightFrame = [&] { ++frames; };
  EXPECT_TRUE(f->Step());  // the test fires; the pass runs to its end
  EXPECT_FALSE(f->Step());
  EXPECT_EQ(f->EndWord(), "cancel");
  EXPECT_EQ(f->State.View.ScreenColour, 0x800000u);
  EXPECT_EQ(frames, 0);
}

TEST_F(FlightEnd, NonFiniteStateEndsAsACancelWithAMessage) {
  auto f = FlyTo(testing::Sample("Super ZarvⅣ"), 5.0);
  const int32_t count = f->Record.RecordCount;
  f->State.Body.PitchRate = std::nan("");
  EXPECT_FALSE(f->Step());
  EXPECT_EQ(f->EndWord(), "nonfinite");
  EXPECT_EQ(f->State.Body.Altitude, kCancelAltitude);
  EXPECT_FALSE(f->Message.empty());
  EXPECT_EQ(f->Record.RecordCount, count - 1);
}

TEST_F(FlightEnd, WatchdogStopsACreepingAircraftAfterAMinute) {
  ManualClock clock(100000);
  SetClockSource(&clock);
  FlightState s;
  s.Body.GroundSpeed = 2;  // too fast: the mark follows the clock
  s.Body.Distance = s.Body.CourseDistance = 250;
  s.Loop.FlightTime = 150;
  s.Body.Altitude = 0.5;
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Loop.WatchdogMark, 100.0);
  s.Body.GroundSpeed = 0.8;
  clock.Advance(59000);
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Body.Altitude, 0.5);
  clock.Advance(1500);
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Body.Altitude, kCancelAltitude);
  EXPECT_EQ(s.Loop.EndCause, static_cast<int16_t>(FlightEndCause::Watchdog));

  // Not before 100 s of flight, nor behind the start.
  FlightState early = s;
  early.Body.Altitude = 0.5;
  early.Loop.FlightTime = 100;
  CheckRestWatchdog(early.Loop, early.Ground, early.Body);
  EXPECT_EQ(early.Body.Altitude, 0.5);
  early.Loop.FlightTime = 150;
  early.Body.CourseDistance = -1;
  clock.Advance(100000);
  CheckRestWatchdog(early.Loop, early.Ground, early.Body);
  EXPECT_EQ(early.Body.Altitude, 0.5);
  EXPECT_EQ(early.Loop.WatchdogMark, 260.5);
}

// A hull's buoyancy holds it above the surface, where the end test of the
// water never sees it: nose-down and 196 m out, it lay there for four hours
// until it had drifted past 200 m (launched from 300 m; from 350 m the same
// keys, pressed in time order, leave it 102 m out: from 250 m, 140 m out,
// until the slipstream over the tail became its own pressure and that flight
// ended on the water at 100 s). A start from the surface waiting on its gear
// is not at rest on the water.
TEST_F(FlightEnd, ARestOnTheWaterEndsAnywhereOnceUnderWay) {
  HeadlessFlight f(testing::SampleAt("Super ZarvⅣ", "350", "0"),
                   *ParseKeyScript("0.88:Return,1.09+1.74:Down,1.1:Left,1.26:Up,2.21:Down,2.23+3.62:Down,2.29:Return,"
                                   "2.68:Left,4.17:Left,5.37+1.56:A,5.75+0.47:Down,7.38:Z,7.7:Period,9.16:Period,"
                                   "9.5+1.84:Minus,9.94+0.95:Down,11.09:Right,11.56+3.14:Left,12.23+2.03:Up,"
                                   "13.64:Return,15.88:Left,15.96+2.85:Left,17.67+2.86:Right,28.42:Period"));
  EXPECT_EQ(f.Fly(400), "watchdog");
  EXPECT_LT(f.State.Loop.FlightTime, 300);
  EXPECT_NEAR(f.State.Body.Distance, 102.1, 0.5);

  HeadlessFlight waits(testing::Powered(Engine::Jet, 0), *ParseKeyScript("1:A"));
  EXPECT_EQ(waits.Fly(250), "limit");
  EXPECT_GT(waits.State.Ground.GearContactDepth, 0);

  // Once it has left its start the hull or the gear on the water arms the
  // watchdog at any distance; before, only far out.
  ManualClock clock(100000);
  SetClockSource(&clock);
  FlightState s;
  s.Body.GroundSpeed = 0.3;
  s.Body.Distance = s.Body.CourseDistance = 50;
  s.Loop.FlightTime = 150;
  s.Ground.GearContactDepth = 0.02;
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  clock.Advance(61000);
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Body.Altitude, 0);  // waiting at its start
  s.Ground.StartLeft = true;
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Body.Altitude, 0);  // the minute starts now
  clock.Advance(61000);
  s.Ground.GearContactDepth = 0;
  s.Ground.BodyBottomHeight = -0.01;
  // A start afloat moved off and stopped ends by its own minute, on the
  // flight's clock: on a machine too slow for real time the wall clock's
  // minute comes first. Once it has flown clear the watchdog is its own.
  for (const AfloatStart stage : {AfloatStart::LetGo, AfloatStart::Flown}) {
    FlightState afloat = s;
    afloat.Ground.Afloat = stage;
    CheckRestWatchdog(afloat.Loop, afloat.Ground, afloat.Body);
    EXPECT_EQ(afloat.Body.Altitude, stage == AfloatStart::Flown ? kCancelAltitude : 0);
  }
  CheckRestWatchdog(s.Loop, s.Ground, s.Body);
  EXPECT_EQ(s.Body.Altitude, kCancelAltitude);
}

// A light aircraft that came down on the water behind its start line sat
// there for ever: the end test asked for a positive distance, the watchdog
// for a course distance. Once it has left its start a rest ends wherever it
// is (on its deck too), and the distance stays as it is. At its start it
// never ends. (The flight that found it, from 300 m, no longer comes back:
// this one is blown back over its deck by a 6 m/s headwind, slides off its
// back and comes down 1.56 m behind the line.)
TEST_F(FlightEnd, ARestBehindTheLineEndsOnceTheStartIsLeft) {
  HeadlessFlight f(testing::SampleAt("Marden98", "11", "6"), *ParseKeyScript("0.5:Return,3+3:Down"));
  EXPECT_EQ(f.Fly(400), "water");
  EXPECT_NEAR(f.State.Loop.FlightTime, 28.8, 0.1);
  EXPECT_NEAR(f.State.Body.Distance, -1.556, 0.01);

  FlightState s;
  s.Loop.StopSpeed = 0.3;
  s.Body.Distance = s.Body.CourseDistance = -2.89;
  s.Body.GroundSpeed = 0.2;
  s.Body.Altitude = -0.5;
  EXPECT_FALSE(TestEndOfFlight(s.Body, s.Ground, testing::Sample("Marden７"), s.Loop, s.View));
  s.Ground.StartLeft = true;
  EXPECT_TRUE(TestEndOfFlight(s.Body, s.Ground, testing::Sample("Marden７"), s.Loop, s.View));
  EXPECT_EQ(s.Loop.EndCause, static_cast<int16_t>(FlightEndCause::Water));

  // A hull afloat behind the line, creeping at 0.5 m/s, and a glider stopped
  // on its deck: the watchdog after a minute.
  ManualClock clock(100000);
  SetClockSource(&clock);
  for (const bool onDeck : {false, true}) {
    FlightState rest;
    rest.Ground.StartLeft = true;
    rest.Ground.BodyBottomHeight = onDeck ? 0 : -0.05;
    rest.Body.Distance = rest.Body.CourseDistance = -4;
    rest.Body.GroundSpeed = 0.5;
    rest.Loop.FlightTime = 150;
    CheckRestWatchdog(rest.Loop, rest.Ground, rest.Body, onDeck);
    clock.Advance(61000);
    CheckRestWatchdog(rest.Loop, rest.Ground, rest.Body, onDeck);
    EXPECT_EQ(rest.Body.Altitude, kCancelAltitude) << onDeck;
  }
}

// The monotonic clock passes 2^31 ms after 24 days up: the second's mark and
// pass count must not wrap, or every pass would start a new second.
TEST_F(FlightLoopPacing, OncePerSecondUpdateHoldsPastTwentyFourDaysOfClock) {
  HeadlessFlight f(testing::Sample("Marden７"));
  for (int i = 0; i < 60; ++i) ASSERT_TRUE(f.Step());
  f.Clock.Advance(3'000'000'000);  // about 35 days
  ASSERT_TRUE(f.Step());
  const int64_t mark = f.State.Loop.TimeMark;
  EXPECT_EQ(mark, static_cast<int64_t>(timeGetTime()));
  EXPECT_GT(mark, int64_t{1} << 31);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(f.Step());
  EXPECT_EQ(f.State.Loop.TimeMark, mark);
  EXPECT_EQ(f.State.Loop.PassesThisSecond, 10);
}

TEST_F(FlightLoopPacing, PacedStepsWaitForTheirFrameAndTheFastestModeDoesNot) {
  HeadlessFlight f(testing::Sample("Super ZarvⅣ"));
  f.Seams.Headless = false;
  std::vector<uint64_t> deadlines;
  f.Seams.WaitUntil = [&](uint64_t deadline) {
    deadlines.push_back(deadline);
    if (deadline > timeGetTime()) f.Clock.Advance(deadline - timeGetTime());
  };
  f.Seams.DoEvents = [] {};  // the clock moves only by waiting
  EXPECT_EQ(f.State.Loop.FrameRate, 0);  // not yet measured
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(f.Step());
  EXPECT_GT(f.State.Loop.FrameRate, 0);
  // 4 steps a frame at 40 steps a second: a frame every 100 ms.
  ASSERT_GE(deadlines.size(), 5u);
  for (std::size_t i = 1; i < deadlines.size(); ++i) EXPECT_EQ(deadlines[i] - deadlines[i - 1], 100u);
  EXPECT_LT(f.State.Loop.WaitMs, f.State.Loop.BusyMs);

  deadlines.clear();
  f.State.Loop.SpeedMode = 0;
  for (int i = 0; i < 80; ++i) ASSERT_TRUE(f.Step());
  EXPECT_TRUE(deadlines.empty());
  EXPECT_EQ(f.State.Loop.DisplayDivisor, 36);
  EXPECT_EQ(f.State.Loop.WaitMs, 0);
}

// A flight paced on the manual clock: each frame's work takes the 100 ms of
// a frame at x1 and the pacing wait tops it up to the frame's deadline. The
// keys come at their flight times (0.1 s a frame), as a pilot flying the
// same flight would press them.
struct PacedFlight {
  PacedFlight(const aircraft::AircraftData& a, const std::string& script, int16_t speedMode)
      : f(a, *ParseKeyScript(script)), keys(*ParseKeyScript(script)) {
    f.State.Loop.SpeedMode = speedMode;
    f.Seams.Headless = false;
    f.Seams.WaitUntil = [this](uint64_t deadline) {
      if (deadline > timeGetTime()) f.Clock.Advance(deadline - timeGetTime());
    };
    f.Seams.DoEvents = [this] {
      f.Clock.Advance(100);
      const double from = frames * 100 / 1000.0;
      ++frames;
      for (const ScriptedKey& k : KeysDue(keys, frames == 1 ? -1 : from, frames * 100 / 1000.0)) {
        if (k.KeyCode != 0) FlightKeyDown(k.KeyCode, f.State, f.Aircraft, f.Keyboard, f.Commands);
        if (k.KeyAscii != 0) FlightKeyPress(k.KeyAscii, f.State, f.Aircraft, f.Keyboard, f.Commands);
      }
    };
  }
  HeadlessFlight f;
  std::vector<ScriptedKey> keys;
  int frames = 0;
};

// x1/3 flies at a third of real time: every frame waits three times its
// period, so 5 s of flight take 15 s less the first frame's 200 ms (nothing
// to wait for before it). The flight is the one flown at x1, and the
// watchdog's minute is a minute of it: this one rests on the water 100 m
// out and ends at the same step, after three minutes of real time at x1/3.
// Flown headless (no pacing) at either speed it is the same flight again.
TEST_F(FlightLoopPacing, AThirdFliesTheSameFlightAtAThirdOfRealTime) {
  const aircraft::AircraftData a = testing::SampleAt("Super ZarvⅣ", "350", "0");
  const std::string script =
      "0.88:Return,1.09+1.74:Down,1.1:Left,1.26:Up,2.21:Down,2.23+3.62:Down,2.29:Return,"
      "2.68:Left,4.17:Left,5.37+1.56:A,5.75+0.47:Down,7.38:Z,7.7:Period,9.16:Period,"
      "9.5+1.84:Minus,9.94+0.95:Down,11.09:Right,11.56+3.14:Left,12.23+2.03:Up,"
      "13.64:Return,15.88:Left,15.96+2.85:Left,17.67+2.86:Right,28.42:Period";
  PacedFlight one(a, script, 1), third(a, script, kSpeedModeThird);
  std::vector<uint64_t> deadlines;
  third.f.Seams.WaitUntil = [&](uint64_t deadline) {
    deadlines.push_back(deadline);
    if (deadline > timeGetTime()) third.f.Clock.Advance(deadline - timeGetTime());
  };
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(one.f.Step() && third.f.Step());  // 5 s of 40 steps
  EXPECT_EQ(one.f.Clock.MonotonicMs() - 10000, 5000u);
  EXPECT_EQ(third.f.Clock.MonotonicMs() - 10000, 14800u);
  ASSERT_GE(deadlines.size(), 3u);
  for (std::size_t i = 1; i < deadlines.size(); ++i) EXPECT_EQ(deadlines[i] - deadlines[i - 1], 300u);
  // The rate figure over a second of the flight: 44 steps in 1.1 s of work,
  // at x1 with no wait, at x1/3 in 3.3 s with 2.2 s of it waiting.
  EXPECT_DOUBLE_EQ(one.f.State.Loop.FrameRate, 1.1);
  EXPECT_DOUBLE_EQ(third.f.State.Loop.FrameRate, 1.1);

  EXPECT_EQ(one.f.Fly(400), "watchdog");
  EXPECT_EQ(third.f.Fly(400), "watchdog");
  HeadlessFlight headless(a, *ParseKeyScript(script));
  headless.State.Loop.SpeedMode = kSpeedModeThird;
  EXPECT_EQ(headless.Fly(400), "watchdog");
  for (const HeadlessFlight* g : {&third.f, &headless}) {
    EXPECT_EQ(g->State.Loop.FlightTime, one.f.State.Loop.FlightTime);
    EXPECT_EQ(g->State.Body.Distance, one.f.State.Body.Distance);
    EXPECT_EQ(g->Passes, one.f.Passes);
    ASSERT_EQ(g->Record.RecordCount, one.f.Record.RecordCount);
    for (int32_t i = 0; i <= g->Record.RecordCount; ++i) {
      ASSERT_TRUE(g->Record.Samples[i] == one.f.Record.Samples[i]) << "sample " << i;
    }
  }
  const uint64_t realOne = one.f.Clock.MonotonicMs() - 10000, realThird = third.f.Clock.MonotonicMs() - 10000;
  EXPECT_GT(realOne, 160000u);
  EXPECT_EQ(realThird, 3 * realOne - 200);
}

}  // namespace
}  // namespace zarv::flight
