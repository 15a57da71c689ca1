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
#include "flight/rotation_dynamics.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class DeckHolds : public zarv::testing::ProgramTest {};

TEST_F(DeckHolds, OnlyWhereTheDeckCanTouchTheAircraft) {
  aircraft::AircraftData light = testing::Sample("Ultra Nuvel");  // a 10.8 m deck
  aircraft::AircraftData powered = light;
  powered.LaunchSpeed = 50;
  light.LaunchPitch = 0;
  FlightState s;
  s.Setup.TailEndArm = 4;
  const double deck = 10.8 + 0.06 * 3;  // the surface 3 m behind the edge
  struct Case {
    const aircraft::AircraftData* Aircraft;
    bool StartLeft;
    DeckContact Contact;
    double CourseDistance, Altitude;
    bool OnDeck;
    double Nose = 0;  // the nose's height component
  };
  const Case cases[] = {
      {&light, false, DeckContact::Body, -3, deck, true},
      {&light, true, DeckContact::Body, -3, deck + 0.9, true},  // back on the deck after a flight
      {&light, true, DeckContact::Body, -3, deck - 0.9, true},
      {&light, true, DeckContact::Body, -3, deck + 1.2, false},  // flying just over it
      {&light, true, DeckContact::Body, -3, deck - 4, false},    // under it
      {&light, true, DeckContact::Body, 0.5, 10.8, false},       // beyond the edge
      // The tail end, 4 m behind, reaches the deck from 4 m under it, until
      // the aircraft is 2.5 m past the edge; from over it only where the
      // nose is up so far that the tail end hangs within reach of the deck.
      {&light, true, DeckContact::TailEnd, 1, 10.8 - 0.06 - 3.9, true},
      {&light, true, DeckContact::TailEnd, 1, 10.8 - 0.06 - 4.1, false},
      {&light, true, DeckContact::TailEnd, 2.6, 10.8 - 0.06 * 2.6, false},
      {&light, true, DeckContact::TailEnd, 1, 10.8 - 0.06 + 0.9, true},
      {&light, true, DeckContact::TailEnd, 1, 10.8 - 0.06 + 3.9, false},
      {&light, true, DeckContact::TailEnd, 1, 10.8 - 0.06 + 3.9, true, 0.8},
      // A powered aircraft only until it has left its start.
      {&powered, false, DeckContact::Body, -3, deck, true},
      {&powered, true, DeckContact::Body, -3, deck, false},
      {&powered, true, DeckContact::TailEnd, 1, 10.8 - 0.06, false},
  };
  for (const Case& c : cases) {
    s.Ground.StartLeft = c.StartLeft;
    s.Body.CourseDistance = c.CourseDistance;
    s.Body.Altitude = c.Altitude;
    s.Body.NoseVector = {0, std::sqrt(1 - c.Nose * c.Nose), c.Nose};
    EXPECT_EQ(OnDeck(s.Setup, s.Body, s.Ground, *c.Aircraft, c.Contact), c.OnDeck)
        << (c.Aircraft == &light ? "light" : "powered") << " left " << c.StartLeft << " at " << c.CourseDistance
        << " m, " << c.Altitude << " m";
  }
}

std::unique_ptr<HeadlessFlight> WithWind(aircraft::AircraftData a, double wind, const char* keys) {
  a.WindSpeed = wind;
  if (keys == nullptr) return std::make_unique<HeadlessFlight>(a);
  return std::make_unique<HeadlessFlight>(a, *ParseKeyScript(keys));
}

// Blown back over their start after leaving it, a flying start 4.6 m over
// its height had its pitch set level and lost 7 m/s in a step, and a glider
// climbing 4.9 m over its deck was put back on it (pitch, heading, speed).
TEST_F(DeckHolds, AFlightBackOverItsStartIsNotHeld) {
  const struct {
    aircraft::AircraftData Aircraft;
    double Wind;
    const char* Keys;
    double Until;
  } flights[] = {
      {testing::DataAircraft("TestPiston.brd"), 10, nullptr, 25},
      {testing::Sample("Ultra Nuvel"), 15,
       "0.11+0.84:Comma,0.98:Plus,1.62:Comma,2.97:Return,3.3+8.21:A,5.37:Return,6.64:Semicolon,6.93+3.16:Up,"
       "7.3+0.9:8,8.08+5.15:R,8.52+2.5:R,8.61+6.39:Semicolon,9.32:0",
       8},
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
// let go of while the tail is over the deck.
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
        // 10.8 m at the edge; the nose moves at most 0.15 a step.
        const double arm = 3.7324264635194591, deck = height > 0 ? 300 : 10.8;
        const double sinPitch = std::sin(std::stod(pitch) / 57.3);
        for (;;) {
          // Where the tail end would rest, from the position the step starts at.
          const double onDeck = sinPitch - (deck - 0.06 * s.Body.CourseDistance - s.Body.Altitude) / arm;
          const double nose = s.Body.NoseVector[2];
          const double level = std::hypot(s.Body.NoseVector[0], s.Body.NoseVector[1]);
          const bool edge = s.Body.CourseDistance > 0;
          if (!f.Step() || s.Loop.FlightTime > 30 || s.Body.CourseDistance > arm - 1.5) break;
          if (!edge || std::fabs(onDeck) > 1) continue;
          ++held;
          // The nose's height before the vector was made a unit one again.
          const auto& n = s.Body.NoseVector;
          const double set = n[2] / std::hypot(n[0], n[1]) * level;
          EXPECT_NEAR(set, std::clamp(onDeck, nose - 0.15, nose + 0.15), 1e-9)
              << where << " pass " << f.Passes << " from " << nose << " toward " << onDeck;
        }
        EXPECT_GT(held, 2) << where;
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

}  // namespace
}  // namespace zarv::flight
