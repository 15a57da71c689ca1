// The deck's holds: where the deck touches an aircraft, the tail hold at
// the edge, and flights that come back over their start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "flight/flight_loop.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/launch_run.h"
#include "flight/loop_fixture.h"
#include "flight/mass_bending.h"
#include "flight/rotation_dynamics.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class DeckHolds : public zarv::testing::ProgramTest {};

TEST_F(DeckHolds, OnlyWhereTheDeckCanTouchTheAircraft) {
  aircraft::AircraftData light = testing::Sample("Ultra Nuvel");  // a 10.8 m deck
  light.LaunchPitch = 0;
  light.LaunchHeading = 0;  // the deck runs north from the origin, 5 m to each side
  aircraft::AircraftData powered = light;
  powered.LaunchSpeed = 50;
  aircraft::AircraftData surface = light;  // a start from the water: no deck to come back to
  surface.LaunchHeight = 1;
  FlightState s;
  s.Setup.TailEndArm = 4;
  const double deck = 10.8 + 0.06 * 3;  // the surface 3 m behind the edge
  struct Case {
    const aircraft::AircraftData* Aircraft;
    bool StartLeft;
    DeckContact Contact;
    double East, North, Altitude;
    bool OnDeck;
    double Nose = 0;  // the nose's height component
  };
  const Case cases[] = {
      {&light, false, DeckContact::Body, 0, 7, deck, true},
      {&light, false, DeckContact::Body, 0, 7, deck + 0.9, true},  // the run's first step off it
      {&light, true, DeckContact::Body, 0, 7, deck + 0.05, true},  // back on the deck after a flight
      {&light, true, DeckContact::Body, 0, 7, deck - 0.9, true},
      {&light, true, DeckContact::Body, 0, 7, deck + 0.9, false},  // flying just over it
      {&light, true, DeckContact::Body, 0, 7, deck - 4, false},    // under it
      {&light, true, DeckContact::Body, 0, 10.5, 10.8, false},     // beyond the edge
      {&light, true, DeckContact::Body, 7.36, 0.6, deck, false},   // beside it, 7 m from the origin
      {&light, false, DeckContact::Body, -5.5, 4.2, deck, false},
      {&light, true, DeckContact::Body, 4.9, 5, deck, true},       // at its side
      {&light, true, DeckContact::Body, 0, -7, deck, false},       // behind it
      {&light, false, DeckContact::Body, 0, -2.5, 10.8 + 0.45, true},  // a fast launch starts there
      // The tail end, 4 m behind, reaches the deck from under its surface,
      // within a metre (deeper it is under the deck), until the aircraft is
      // 2.5 m past the edge; from over it, never.
      {&light, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 - 0.9, true},
      {&light, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 - 1.2, false},
      {&light, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 - 3.9, false},
      {&light, true, DeckContact::TailEnd, 0, 12.6, 10.8 - 0.06 * 2.6 - 0.5, false},
      {&light, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 + 0.1, false},
      {&light, true, DeckContact::TailEnd, 5.5, 9.5, 10.24, false},  // beside the deck, 0.5 m under it
      // Nosed up to 0.5, 1.5 m over the deck's line: its tail end 0.5 m under
      // the surface, 3.46 m back; nosed up to 0.95 at 11.4 m out, 3.3 m over
      // it: 0.5 m under it, but 1.25 m back, out past the edge.
      {&light, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 + 1.5, true, 0.5},
      {&light, true, DeckContact::TailEnd, 0, 11.4, 10.8 - 0.06 * 1.4 + 3.3, false, 0.95},
      // A powered aircraft only until it has left its start, where it starts.
      {&powered, false, DeckContact::Body, 0, 7, deck, true},
      {&powered, false, DeckContact::Body, 0, -9.9, 10.8 + 0.006, true},
      {&powered, true, DeckContact::Body, 0, 7, deck, false},
      {&powered, true, DeckContact::TailEnd, 0, 11, 10.8 - 0.06 - 0.5, false},
      // No platform under a light aircraft at 1 m or less: nothing to touch.
      {&surface, false, DeckContact::Body, 0, 7, 0.18, false},
      {&surface, true, DeckContact::Body, 0, 7, 0.18, false},
  };
  for (const Case& c : cases) {
    s.Ground.StartLeft = c.StartLeft;
    s.Body.PosX = c.East;
    s.Body.PosY = c.North;
    s.Body.CourseDistance = std::hypot(c.East, c.North) - 10;
    s.Body.Altitude = c.Altitude;
    s.Body.NoseVector = {0, std::sqrt(1 - c.Nose * c.Nose), c.Nose};
    EXPECT_EQ(OnDeck(s.Setup, s.Body, s.Ground, *c.Aircraft, c.Contact), c.OnDeck)
        << (c.Aircraft == &light ? "light" : c.Aircraft == &powered ? "powered" : "surface") << " left " << c.StartLeft << " at " << c.East << ", "
        << c.North << " m, " << c.Altitude << " m";
  }
}

std::unique_ptr<HeadlessFlight> WithWind(aircraft::AircraftData a, double wind, const char* keys) {
  a.WindSpeed = wind;
  if (keys == nullptr) return std::make_unique<HeadlessFlight>(a);
  return std::make_unique<HeadlessFlight>(a, *ParseKeyScript(keys));
}

// Blown back over their start after leaving it, a flying start 4.6 m over
// its height had its pitch set level and lost 7 m/s in a step, and a glider
// 15 m over its deck was put back on it (pitch, heading, speed).
TEST_F(DeckHolds, AFlightBackOverItsStartIsNotHeld) {
  const struct {
    aircraft::AircraftData Aircraft;
    double Wind;
    const char* Keys;
    double Until;
  } flights[] = {
      {testing::DataAircraft("TestPiston.brd"), 10, nullptr, 25},
      {testing::Sample("Ultra Nuvel"), 15, "0.61:Return,5.77+0.51:Period,7.96+2.13:Comma,8.17+1.33:Comma", 10},
  };
  for (const auto& c : flights) {
    auto f = WithWind(c.Aircraft, c.Wind, c.Keys);
    ASSERT_TRUE(f->Accepted());
    const BodyMotion& b = f->State.Body;
    bool back = false;  // over the start again, clear of its height
    double pitch = b.PitchAngle, speed = b.AirSpeed;
    while (f->Step() && f->State.Loop.FlightTime < c.Until) {
      const bool away = f->State.Ground.StartLeft && b.Altitude > c.Aircraft.LaunchHeight + 1.5;
      if (away) {
        EXPECT_LT(std::fabs(b.PitchAngle - pitch), 0.1) << c.Aircraft.AircraftName << " pass " << f->Passes;
        EXPECT_LT(std::fabs(b.AirSpeed - speed), 1.5) << c.Aircraft.AircraftName << " pass " << f->Passes;
      }
      back = back || (away && b.CourseDistance < 0);
      pitch = b.PitchAngle;
      speed = b.AirSpeed;
    }
    EXPECT_TRUE(back) << c.Aircraft.AircraftName;
  }
}

// At the edge the tail end rests on the deck: from either end of the launch
// speed and pitch bars and from the sample's deck and a high one, the nose
// is brought to where the tail touches the deck, never in a snap and never
// let go of while the tail end is on or just under the deck's surface.
TEST_F(DeckHolds, TheTailHoldsTheNoseAtEveryLaunch) {
  for (const double height : {0.0, 300.0}) {
    for (const char* speed : {"1", "8"}) {
      for (const char* pitch : {"12.5", "-15"}) {
        std::vector<std::string> lines = testing::SampleLines("Ultra Nuvel");
        if (height > 0) testing::SetField(lines, 30, "300");
        testing::SetField(lines, 45, speed);
        testing::SetField(lines, 49, pitch);
        HeadlessFlight f(testing::FromLines(lines));
        ASSERT_TRUE(f.Accepted());
        const FlightState& s = f.State;
        const std::string where = std::string(height > 0 ? "300 m" : "sample's deck") + ", " + speed + " m/s, " + pitch;
        int held = 0;
        // The sample's tail end: 0.75 x its tailplane chord sqrt(1.56 / 6)
        // behind the fin arm of 3.35 m. Its deck falls 0.06 m a metre from
        // 10.8 m at the edge; the high one as the run went down it, by the
        // path angle's tangent from 300 m at the start point, 10 - 1.25 x
        // the launch speed from the origin. The nose moves at most 0.15 a step.
        const double arm = 3.7324264635194591;
        const double start = 10 - 1.25 * std::stod(speed);
        const double sinPitch = std::sin(std::stod(pitch) / 57.3);
        for (;;) {
          // Where the tail end would rest, from the position the step starts at.
          const double d = s.Body.CourseDistance;
          const double deck = height > 0 ? 300 - std::tan(0.06) * (d + 10 - start) : 10.8 - 0.06 * d;
          const double onDeck = sinPitch - (deck - s.Body.Altitude) / arm;
          const double nose = s.Body.NoseVector[2];
          const double level = std::hypot(s.Body.NoseVector[0], s.Body.NoseVector[1]);
          const bool edge = s.Body.CourseDistance > 0;
          const bool tailOverDeck =
              std::hypot(s.Body.PosX - arm * s.Body.NoseVector[0], s.Body.PosY - arm * s.Body.NoseVector[1]) < 10;
          if (!f.Step() || s.Loop.FlightTime > 30 || s.Body.CourseDistance > arm - 1.5) break;
          // Held only where the tail end starts over the deck, on or under its
          // surface within a metre.
          if (!edge || !tailOverDeck || std::fabs(onDeck) > 1 || nose < onDeck || nose > onDeck + 1 / arm) continue;
          ++held;
          // The nose's height before the vector was made a unit one again.
          const auto& n = s.Body.NoseVector;
          const double set = n[2] / std::hypot(n[0], n[1]) * level;
          EXPECT_NEAR(set, std::clamp(onDeck, nose - 0.15, nose + 0.15), 1e-9)
              << where << " pass " << f.Passes << " from " << nose << " toward " << onDeck;
        }
        // A fast start at the steepest pitch climbs off the edge: the deck
        // never pulls its tail end down to it.
        if (std::string(speed) == "8" && std::string(pitch) == "12.5") {
          EXPECT_LE(held, 2) << where;
        } else {
          EXPECT_GT(held, 2) << where;
        }
      }
    }
  }
}

// The end test fires on the water and the rest of the pass lifts the hull
// back to the surface (a bob of the waves here): the flight is down and
// filed all the same.
TEST_F(DeckHolds, AFlightWhoseEndTestFiredIsFiled) {
  HeadlessFlight f(testing::Sample("MardenⅡ"));
  ASSERT_TRUE(f.Accepted());
  int filed = 0;
  f.Seams.EndFlight = [&filed] { ++filed; };
  BodyMotion& b = f.State.Body;
  while (f.Step() && b.Distance < 30) {
  }
  ASSERT_GE(b.Distance, 30);
  b.Altitude = -0.011;
  b.GroundSpeed = b.VelX = b.VelY = 0;
  b.VelZ = 2;
  ASSERT_TRUE(f.Step());  // the pass of the end test runs to its end
  EXPECT_FALSE(f.Step());
  EXPECT_EQ(f.EndWord(), "water");
  EXPECT_GE(b.Altitude, 0);  // the case
  EXPECT_TRUE(FlightIsDown(f.State));
  EXPECT_EQ(filed, 1);
}


// Once the start is left the deck carries what comes down onto it, wherever
// on it, on the sample's own deck as on a high one (both run north from the
// origin); beside it, or before the start is left, nothing is put on its
// surface. On its own deck the start's pin held everything there: a landing
// kept sinking at 2 m/s, a glider 6 cm over it was snapped down, a lift-off
// was held on the surface.
TEST_F(DeckHolds, TheDeckCarriesWhatComesDownOnIt) {
  aircraft::AircraftData a = testing::Sample("MardenⅡ");
  a.LaunchHeading = 0;
  struct Case {
    double Deck;
    bool StartLeft;
    double East, North, Altitude, VelZ;
    double AltitudeAfter, VelZAfter;
  };
  // 6 m from the origin the 11 m deck is 11.24 m high; the 300 m deck,
  // run down from a start point 2 m from the origin, 4 x tan 0.06 = 0.2403 m
  // under 300 m: 299.7597 m. A pass at -2 m/s sinks 0.05 m.
  const Case cases[] = {
      {11, true, 0, 6, 11.26, -2, 11.24, 0},            // lands
      {11, true, 0, 6, 11.30, -2, 11.25, -2},           // not yet down
      {11, true, 0, 6, 11.24, 1, 11.265, 1},            // lifts off
      {11, true, 6, 0, 11.26, -2, 11.21, -2},           // beside it
      {11, false, 0, 6, 11.26, -2, 11.24, -2},          // at the start the pin holds it
      {300, true, 0, 6, 299.7797, -2, 299.7597, 0},
      {300, true, 0, 6, 299.8197, -2, 299.7697, -2},
      {300, true, 0, 6, 299.7597, 1, 299.7847, 1},
      {300, true, 6, 0, 299.7797, -2, 299.7297, -2},
      {300, false, 0, 6, 299.7797, -2, 299.7297, -2},   // at the start the run carries it
  };
  for (const Case& c : cases) {
    a.LaunchHeight = c.Deck;
    FlightState s;
    s.Loop.StepsPerSecond = 40;
    s.Body.StartRadius = 2;
    s.Ground.StartLeft = c.StartLeft;
    s.Body.PosX = c.East;
    s.Body.PosY = c.North;
    s.Body.Distance = s.Body.CourseDistance = std::hypot(c.East, c.North) - 10;
    s.Body.Altitude = c.Altitude;
    s.Body.VelZ = c.VelZ;
    UpdateAltitude(s.Setup, s.Loop, s.Ground, a, s.Body);
    const std::string where = std::to_string(c.East) + ", " + std::to_string(c.North) + ", " + std::to_string(c.Altitude);
    EXPECT_NEAR(s.Body.Altitude, c.AltitudeAfter, 1e-4) << where;
    EXPECT_EQ(s.Body.VelZ, c.VelZAfter) << where;
  }
}

// Back down on its deck after its flight, a glider was launched again: the
// launch heading, pitch and speed in one pass, then a second take-off run.
// It keeps its own pitch (only the rates are held while the deck carries it)
// and is not run along it again; at its start the deck sets the launch pitch
// and runs it.
TEST_F(DeckHolds, BackOnItsDeckItKeepsItsOwnPitch) {
  aircraft::AircraftData a = testing::Sample("MardenⅡ");  // launch pitch 0
  a.LaunchHeight = 300;
  a.LaunchHeading = 0;
  for (const bool left : {false, true}) {
    FlightState s;
    s.Ground.StartLeft = left;
    s.Body.StartRadius = 6;
    s.Body.PosY = 6;
    s.Body.CourseDistance = -4;
    s.Body.Altitude = 300;  // on the surface, at the start point the run went down from
    s.Body.GroundSpeed = 5;
    s.Body.PitchAngle = -0.3;
    s.Body.PitchRate = 0.5;
    s.Loads.LiftAccel = 5;
    HoldRatesOnPlatform(s.Setup, s.Engine, s.Loads, s.Pilot, s.Ground, a, s.Body);
    EXPECT_EQ(s.Body.PitchAngle, left ? -0.3 : 0) << left;
    EXPECT_EQ(s.Body.PitchRate, 0) << left;
    EXPECT_EQ(IsOnPlatform(s.Setup, s.Body, s.Ground, s.Loads, a), !left) << left;
  }
}

// The surface the deck's holds use is where the start ran the aircraft: on
// the sample's 10.8 m deck pinned to its slope, on a lower or higher one run
// down the slope from its start point, level under a pilot too light to run.
// Sloping from the edge's height at every height, it lay 0.44 m over the
// start point of a high deck, and held a glider back there that far over
// where it had run.
TEST_F(DeckHolds, ItsSurfaceIsWhereTheRunWentAtEveryHeight) {
  for (const char* height : {"", "4", "30", "300"}) {
    for (const char* speed : {"1", "8"}) {
      for (const char* pilot : {"", "25"}) {
        std::vector<std::string> lines = testing::SampleLines("Ultra Nuvel");
        if (*height) testing::SetField(lines, 30, height);
        if (*pilot) testing::SetField(lines, 1, pilot);
        testing::SetField(lines, 45, speed);
        HeadlessFlight f(testing::FromLines(lines), *ParseKeyScript("0.5:Return"));
        ASSERT_TRUE(f.Accepted());
        const FlightState& s = f.State;
        int passes = 0;
        double worst = 0;
        while (f.Step() && !s.Ground.StartLeft && s.Loop.FlightTime < 30) {
          if (!s.Body.OnPlatform || s.Body.CourseDistance >= 0) continue;
          ++passes;
          worst = std::max(worst, std::fabs(s.Body.Altitude - DeckSurfaceHeight(f.Aircraft, s.Body)));
        }
        // Off the pinned deck the aircraft stands a step's fall, 9.8 / 40^2
        // = 6 mm, under it: its first pass is flown before the deck holds it.
        const std::string where = std::string(*height ? height : "10.8") + " m, " + speed + " m/s, pilot " + (*pilot ? pilot : "as filed");
        EXPECT_GT(passes, 20) << where;
        EXPECT_LT(worst, 0.007) << where;
      }
    }
  }
}

}  // namespace
}  // namespace zarv::flight
