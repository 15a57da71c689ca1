// The pilot's keys, the take-off command, key scripts and the sound level.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "flight/flight_keys.h"
#include "flight/flight_sound.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/loop_fixture.h"

namespace zarv::flight {
namespace {

constexpr int kUp = 38, kDown = 40, kLeft = 37, kEsc = 27, kF2 = 113, kF9 = 120;

struct Keys {
  FlightState s;
  aircraft::AircraftData a;
  KeyboardState k;
  KeyCommands c;
  int ranking = 0, cancels = 0, panelHides = 0;
  bool speedOption = true;
  Keys() {
    a.LaunchSpeed = 5;
    a.TailplaneArm = 3;
    c.Ranking = [this] { ++ranking; };
    c.CancelOrPlatform = [this] { ++cancels; };
    c.HideResultPanel = [this] { ++panelHides; };
    c.SpeedOptionChanged = [this](bool on) { speedOption = on; };
  }
  void Down(int key) { FlightKeyDown(key, s, a, k, c); }
  void Press(char ch) { FlightKeyPress(ch, s, a, k, c); }
  void MakeJet() {
    a.LaunchSpeed = 150;
    s.Engine.EngineType = aircraft::EngineKind::Jet;
    s.Engine.AfterburnerMax = 2.5;
    s.Masses.FuelQuantity = 100;
  }
};

TEST(FlightKeys, ThrottleAndAfterburnerSteps) {
  Keys t;
  t.MakeJet();
  t.s.Engine.Throttle = 0.95;
  t.s.Engine.AfterburnerLevel = 2.0;
  t.Down('A');  // reaches full throttle and lowers the afterburner in the same press
  EXPECT_DOUBLE_EQ(t.s.Engine.Throttle, 1.0);
  EXPECT_DOUBLE_EQ(t.s.Engine.AfterburnerLevel, 1.5);
  t.Down('Q');
  t.Down('Q');
  t.Down('Q');
  EXPECT_DOUBLE_EQ(t.s.Engine.AfterburnerLevel, 2.5);  // at most the maximum
  t.Down('Z');
  EXPECT_DOUBLE_EQ(t.s.Engine.AfterburnerLevel, 1.0);
  EXPECT_NEAR(t.s.Engine.Throttle, 0.95, 1e-12);
  for (int i = 0; i < 30; ++i) t.Down('Z');
  EXPECT_DOUBLE_EQ(t.s.Engine.Throttle, 0.1);  // a jet with fuel keeps 10 %

  t.s.Masses.FuelQuantity = 0;
  t.Down('A');
  EXPECT_DOUBLE_EQ(t.s.Engine.Throttle, 0.1);  // no fuel: throttle keys do nothing

  Keys rocket;
  rocket.MakeJet();
  rocket.s.Engine.EngineType = aircraft::EngineKind::Rocket;
  rocket.s.Engine.Throttle = 0.05;
  rocket.Down('Z');
  rocket.Down('Z');
  EXPECT_DOUBLE_EQ(rocket.s.Engine.Throttle, 0.0);

  Keys stopped;
  stopped.MakeJet();
  stopped.s.Engine.Throttle = 0;  // an engine stopped for lack of fuel stays stopped
  stopped.Down('A');
  EXPECT_DOUBLE_EQ(stopped.s.Engine.Throttle, 0.0);
}

TEST(FlightKeys, GovernorStepsForPiston) {
  Keys t;
  t.MakeJet();
  t.s.Engine.EngineType = aircraft::EngineKind::Piston;
  t.s.Engine.Throttle = 0.5;
  t.s.Engine.GearRatio = 1;
  t.s.Engine.RatedRpm = 1.66667 * 10;  // a step of 0.1
  t.s.Engine.GovernorSetting = 0.95;
  t.s.Engine.GovernorMinimum = 0.3;
  t.Down('W');
  EXPECT_DOUBLE_EQ(t.s.Engine.GovernorSetting, 1.0);
  for (int i = 0; i < 10; ++i) t.Down('S');
  EXPECT_DOUBLE_EQ(t.s.Engine.GovernorSetting, 0.3);
}

TEST(FlightKeys, ElevatorAndRudderSteps) {
  Keys t;
  t.s.Controls.ElevatorCommand = 0.4 / 171.9;  // between two steps: snapped, then stepped
  t.Down(kUp);
  EXPECT_NEAR(t.s.Controls.ElevatorCommand, 1 / 171.9, 1e-15);
  t.Down(kDown);
  t.Down(kDown);
  EXPECT_NEAR(t.s.Controls.ElevatorCommand, -1 / 171.9, 1e-15);
  for (int i = 0; i < 100; ++i) t.Down(kUp);
  EXPECT_NEAR(t.s.Controls.ElevatorCommand, 10 / 57.3, 1e-12);  // limited to 10 degrees up

  Keys canard;
  canard.a.TailplaneArm = -2;
  canard.Down(kUp);  // the tail sign: Up lowers the command of a foreplane
  EXPECT_NEAR(canard.s.Controls.ElevatorCommand, -1 / 171.9, 1e-15);

  t.Down(kLeft);
  EXPECT_NEAR(t.s.Pilot.RudderCommand, 1 / 171.9, 1e-15);
  t.Down(kKeyComma);  // ten degrees, just over the limit
  EXPECT_NEAR(t.s.Pilot.RudderCommand, 0.1745, 1e-15);
  t.Down(kKeyPeriod);
  EXPECT_NEAR(t.s.Pilot.RudderCommand, 0.0, 1e-15);
  t.Down(kKeyPeriod);
  EXPECT_NEAR(t.s.Pilot.RudderCommand, -0.1745, 1e-15);
}

TEST(FlightKeys, Switches) {
  Keys light;
  light.Down('P');  // a light aircraft holds pitch without CAS
  EXPECT_EQ(light.s.Pilot.PitchHoldOn, 1);
  light.Down('C');
  EXPECT_EQ(light.a.TailplaneFixed, 1);
  light.Down('C');
  EXPECT_EQ(light.a.TailplaneFixed, 0);
  light.Down('O');
  EXPECT_EQ(light.k.InfoPanelMode, 1);
  light.Down('O');
  EXPECT_EQ(light.k.InfoPanelMode, 0);  // light aircraft: 1 -> 0
  light.a.FinFixed = 1;
  light.Down('B');
  EXPECT_EQ(light.s.Pilot.BrakeOn, 0);  // a fixed fin cannot set the brake hold
  light.Down('V');
  EXPECT_EQ(light.s.Engine.TvcOn, 0);  // no thrust vectoring

  Keys jet;
  jet.MakeJet();
  jet.Down('P');
  EXPECT_EQ(jet.s.Pilot.PitchHoldOn, 0);  // powered without CAS ignores P
  jet.s.Engine.EngineRating = 9000;
  jet.Down('I');
  jet.Down('P');
  EXPECT_EQ(jet.s.Pilot.PitchHoldOn, 1);
  jet.Down('I');  // CAS off ends the pitch hold of a PCAS aircraft
  EXPECT_EQ(jet.s.Pilot.PitchHoldOn, 0);
  jet.Down('C');
  EXPECT_EQ(jet.a.TailplaneFixed, 0);
  for (int i = 0; i < 3; ++i) jet.Down('O');
  EXPECT_EQ(jet.k.InfoPanelMode, 0);  // powered: 0 -> 1 -> 2 -> 0
  jet.Down('T');
  EXPECT_FALSE(jet.k.SimSpeedNormal);
  EXPECT_FALSE(jet.speedOption);
}

TEST(FlightKeys, ScreenCommandsByPhase) {
  Keys t;
  t.k.MenuItemCount = 6;  // in flight
  t.Down(kF2);
  EXPECT_EQ(t.ranking, 0);
  t.k.MenuItemCount = 11;
  t.Down(kF2);
  EXPECT_EQ(t.ranking, 1);
  t.k.ResultPanelVisible = true;
  t.Down(kEsc);  // first only hides the result panel
  EXPECT_EQ(t.cancels, 0);
  EXPECT_EQ(t.panelHides, 1);
  t.Down(kEsc);
  t.Down(kF9);
  EXPECT_EQ(t.cancels, 2);
  t.Down('L');
  EXPECT_EQ(t.k.ScreenshotRequest, 1);
}

TEST(FlightKeys, TrimStickAndSteeringSwitch) {
  Keys t;
  t.s.Masses.PilotArm = 0.1;
  t.s.Masses.TrimStep = 0.02;
  t.s.Masses.TrimMin = 0.1 - 7 * 0.02;
  t.s.Masses.TrimMax = 0.1 + 15 * 0.02;
  t.s.Masses.TrimPosition = 0.1 + 0.013;  // off the grid
  t.Press('-');
  EXPECT_NEAR(t.s.Masses.TrimPosition, 0.1, 1e-12);  // grid point below the nearest one
  t.s.Masses.TrimPosition = 0.1 + 0.013;
  t.Press('0');
  EXPECT_NEAR(t.s.Masses.TrimPosition, 0.1 + 0.033, 1e-12);  // "0" keeps the offset
  for (int i = 0; i < 30; ++i) t.Press('0');
  EXPECT_DOUBLE_EQ(t.s.Masses.TrimPosition, t.s.Masses.TrimMax);

  t.s.Pilot.MouseSteering = 1;
  t.Press('8');
  EXPECT_EQ(t.s.Pilot.StickPitch, 0);  // the mouse steers: no stick keys
  t.Press(';');
  EXPECT_EQ(t.s.Pilot.MouseSteering, 0);
  // Standing light aircraft: stick, tail demand and trim back to balance.
  EXPECT_DOUBLE_EQ(t.s.Masses.TrimPosition, t.s.Masses.PilotArm);
  EXPECT_DOUBLE_EQ(t.s.Masses.TrimCentre, t.s.Masses.PilotArm);
  t.Press('8');
  EXPECT_EQ(t.s.Pilot.StickPitch, CInt(1 / 57.3 * t.s.Pilot.PixelsPerRadian));
  for (int i = 0; i < 20; ++i) t.Press('4');
  EXPECT_DOUBLE_EQ(t.s.Pilot.StickLateral, 100);
  t.Press('+');
  EXPECT_EQ(t.s.Pilot.MouseSteering, 1);
  EXPECT_DOUBLE_EQ(t.s.Pilot.StickLateral, 0);
}

TEST(FlightKeys, TakeoffSequence) {
  FlightState s;
  auto r = std::make_unique<FlightRecord>();
  aircraft::AircraftData a;
  a.LaunchSpeed = 6;
  a.LaunchHeight = 10;
  KeyboardState k;
  k.UiDeadline = 100;
  s.Body.CourseDistance = -5;
  EXPECT_EQ(RunTakeoffCommand(s, *r, a, k, 100.05), TakeoffOutcome::Ignored);  // within 0.1 s of the last
  EXPECT_EQ(RunTakeoffCommand(s, *r, a, k, 100.2), TakeoffOutcome::Started);
  EXPECT_EQ(k.MenuItemCount, 6);
  EXPECT_DOUBLE_EQ(s.Pilot.WheelBrakeSetting, 0);
  EXPECT_DOUBLE_EQ(s.Pilot.TakeoffRunAcceleration, 6 / 2.4);
  EXPECT_EQ(r->RecordCount, 0);
  EXPECT_DOUBLE_EQ(s.Loop.FlightTime, 0.1);

  // A powered aircraft standing on its gear: Enter releases the brake and
  // starts the run; a second Enter sets the brake without a new start.
  FlightState g;
  aircraft::AircraftData p;
  p.LaunchSpeed = 50;
  KeyboardState gk;
  g.Pilot.WheelBrakeSetting = 0.5;
  g.Ground.GearContactDepth = 0.05;
  EXPECT_EQ(RunTakeoffCommand(g, *r, p, gk, 10), TakeoffOutcome::Started);
  EXPECT_DOUBLE_EQ(g.Pilot.TakeoffRunAcceleration, 50.0 * 50 / 20);
  gk.MenuItemCount = 11;
  EXPECT_EQ(RunTakeoffCommand(g, *r, p, gk, 11), TakeoffOutcome::Toggled);
  EXPECT_DOUBLE_EQ(g.Pilot.WheelBrakeSetting, 0.5);
  EXPECT_EQ(gk.MenuItemCount, 11);
}

// Through the loop: on the platform the second and third Enter only set
// and release the brake (which acts on the gear alone), so the flight is
// the one a single Enter gives; a powered aircraft on its gear starts its
// run by the brake's release.
TEST(FlightKeys, TakeoffKeyAgainDuringTheRunKeepsTheRun) {
  const aircraft::AircraftData light = testing::Sample("Marden７");
  HeadlessFlight once(light, *ParseKeyScript("0.5:Return"));
  HeadlessFlight thrice(light, *ParseKeyScript("0.5:Return,1.0:Return,1.5:Return"));
  EXPECT_EQ(once.Fly(2.5), "limit");
  EXPECT_EQ(thrice.Fly(2.5), "limit");
  EXPECT_EQ(thrice.Record.RecordCount, once.Record.RecordCount);
  EXPECT_EQ(thrice.State.Body.Distance, once.State.Body.Distance);
  EXPECT_EQ(thrice.State.Body.GroundSpeed, once.State.Body.GroundSpeed);

  HeadlessFlight rolls(testing::Powered(testing::Engine::Jet, 0), *ParseKeyScript("3:Return"));
  EXPECT_EQ(rolls.Fly(2.9), "limit");  // settled on its gear
  EXPECT_GT(rolls.State.Ground.GearContactDepth, 0);
  EXPECT_DOUBLE_EQ(rolls.State.Pilot.WheelBrakeSetting, 0.5);
  EXPECT_EQ(rolls.Fly(3.5), "limit");
  EXPECT_DOUBLE_EQ(rolls.State.Pilot.TakeoffRunAcceleration, 150.0 * 150 / 20);
  EXPECT_EQ(rolls.Keyboard.MenuItemCount, 6);
}

// Under way, the key only works the brake. Pressed twice as the gear meets
// the water 3.9 km out, it started a new run: the jet stopped dead, the
// time went back to 0.1 s and the record was thrown away (or, a little
// earlier, the jet sat on the water until the watchdog ended it).
TEST(FlightKeys, TakeoffKeyUnderWayOnlyWorksTheBrake) {
  aircraft::AircraftData jet = testing::DataAircraft("TestJet.brd");
  jet.WindSpeed = 10;
  for (const char* keys : {"0.5:Return,5:G,74.95:Return,75.15:Return", "0.5:Return,5:G,74.9:Return,75.1:Return"}) {
    HeadlessFlight f(jet, *ParseKeyScript(keys));
    EXPECT_EQ(f.Fly(0), "water") << keys;
    EXPECT_GT(f.State.Loop.FlightTime, 74) << keys;
    EXPECT_NEAR(f.State.Body.Distance, 3960.8, 1) << keys;
    EXPECT_GT(f.Record.RecordCount, 1400) << keys;
  }

  // Standing on its gear again after it has left its start: no new run.
  FlightState s;
  auto r = std::make_unique<FlightRecord>();
  r->RecordCount = 500;
  s.Loop.FlightTime = 60;
  s.Pilot.WheelBrakeSetting = 0.5;
  s.Ground.GearContactDepth = 0.05;
  s.Ground.StartLeft = true;
  KeyboardState k;
  EXPECT_EQ(RunTakeoffCommand(s, *r, jet, k, 10), TakeoffOutcome::Toggled);
  EXPECT_EQ(s.Pilot.WheelBrakeSetting, 0);
  EXPECT_EQ(s.Loop.FlightTime, 60);
  EXPECT_EQ(r->RecordCount, 500);
}

// At 20 frames a second a key comes after every second step, a row apart
// (40 steps a second). Row 0 is written on the fifth pass, at 4 steps of
// 1/40 s: 0.1 s. The take-off key at 0.125 s comes after it and before row
// 1: row 0 stays the aircraft at its start, the key's own pass writes row 1,
// the start again at the take-off's 0.1 s, and the run goes on a row every
// 0.05 s. TestPiston starts heading east 9.9 m behind the origin: 0.1 m
// behind the 10 m circle.
TEST(FlightKeys, TakeoffKeyJustAfterRowZeroKeepsItAndRunsFromRowOne) {
  HeadlessFlight f(testing::DataAircraft("TestPiston.brd"), *ParseKeyScript("0.125:Return"));
  f.Options.FrameRate20 = true;
  EXPECT_EQ(f.Fly(0.6), "limit");
  for (int row : {0, 1}) {
    const FlightSample& x = f.Record.Row(row);
    EXPECT_FLOAT_EQ(x.Time, 0.1f) << row;
    EXPECT_DOUBLE_EQ(x.DistanceFlown, -0.1) << row;
    EXPECT_DOUBLE_EQ(x.East, -9.9) << row;
  }
  for (int row = 2; row <= 10; ++row) {
    EXPECT_FLOAT_EQ(f.Record.Row(row).Time, static_cast<float>(0.1 + (row - 1) * 0.05)) << row;
    EXPECT_GT(f.Record.Row(row).East, -9.9) << row;
  }
}

TEST(KeyScript, ParsesAndRepeatsHeldKeys) {
  std::string error;
  const auto keys = ParseKeyScript("0.5:Return,2+0.2:Up,3:a,4:F10,5:8", &error);
  ASSERT_TRUE(keys) << error;
  ASSERT_EQ(keys->size(), 5u);
  EXPECT_EQ((*keys)[0].KeyCode, 13);
  EXPECT_EQ((*keys)[1].KeyCode, 38);
  EXPECT_DOUBLE_EQ((*keys)[1].Hold, 0.2);
  EXPECT_EQ((*keys)[2].KeyCode, 'A');
  EXPECT_EQ((*keys)[2].KeyAscii, 'a');
  EXPECT_EQ((*keys)[3].KeyCode, 121);
  EXPECT_EQ((*keys)[4].KeyAscii, '8');
  EXPECT_EQ(KeysDue(*keys, 1.9, 2.3).size(), 5u);  // the held Up at 2.0, 2.05 ... 2.2
  EXPECT_EQ(KeysDue(*keys, -1, 0.5).size(), 1u);
  for (const char* bad : {"1:Nope", "x:A", "1+:A", "1A", "-1:A", "1:F13"}) EXPECT_FALSE(ParseKeyScript(bad)) << bad;
}

// The presses due within one frame come by time, not as written; equal
// times (a held key's summed repeats too) as written.
TEST(KeyScript, KeysDueComeInTimeOrder) {
  const struct {
    const char* Keys;
    double From, To;
    std::vector<int> Codes;
  } rows[] = {
      {"0.021:Return,0.017:Escape", 0, 0.1, {27, 13}},
      {"0.017:Escape,0.021:Return", 0, 0.1, {27, 13}},
      {"0.5:A,0.5:B", 0.4, 0.5, {'A', 'B'}},
      {"0.5:B,0.5:A", 0.4, 0.5, {'B', 'A'}},
      {"3:C,1:A,2:B", 0, 3, {'A', 'B', 'C'}},
      {"0+0.1:Up,0.05:Down", 0.01, 0.2, {38, 40, 38}},        // Up at 0.05 and 0.1
      {"0+0.2:Up,0.15:Down", 0.12, 0.2, {38, 40, 38}},        // Up at 0.15 and 0.2
      {"0.15:Down,0+0.2:Up", 0.12, 0.2, {40, 38, 38}},
  };
  for (const auto& r : rows) {
    std::vector<int> codes;
    for (const ScriptedKey& k : KeysDue(*ParseKeyScript(r.Keys), r.From, r.To)) codes.push_back(k.KeyCode);
    EXPECT_EQ(codes, r.Codes) << r.Keys;
  }
}

TEST(KeyScript, HeadlessFlightGoesThroughTheKeys) {
  const aircraft::AircraftData a = testing::Sample("Marden７");
  HeadlessFlight waits(a, *ParseKeyScript("1:A"));
  EXPECT_EQ(waits.Fly(5), "limit");
  EXPECT_LT(waits.State.Body.Distance, 0);  // no take-off key: still on the platform

  HeadlessFlight flies(a, *ParseKeyScript("0.5:Return,4:F9"));
  EXPECT_EQ(flies.Fly(0), "cancel");  // F9 past the edge cancels the flight
  EXPECT_GT(flies.State.Body.Distance, 0);
  EXPECT_EQ(flies.Keyboard.MenuItemCount, 6);

  // Esc cancels and files a flight under way. Afloat (no platform under it
  // at 0.5 m) it starts about 7 m behind the line: under way from the
  // take-off key on, wherever it floats. Before its key, and on a platform
  // behind its line, the cancel is the screen's restart (here nothing).
  const struct { const char *Height, *Keys, *End; } rows[] = {
      {"0.5", "0.5:Return,12:Escape", "cancel"},
      {"0.5", "0.5:Return,1:Escape", "cancel"},
      {"0.5", "0.3:Escape,0.5:Return", "limit"},
      {"0.5", "0.5:Escape", "limit"},
      // One frame (0 to 0.1 s) holds both keys: Esc at 0.017 s comes first
      // however they are written.
      {"0", "0.021:Return,0.017:Escape", "limit"},
      {"0", "0.017:Escape,0.021:Return", "limit"},
      {"11", "0.5:Return,0.6:Escape", "water"},  // flies on off its deck
  };
  for (const auto& r : rows) {
    HeadlessFlight f(testing::SampleAt("Marden７", r.Height, "0"), *ParseKeyScript(r.Keys));
    int filed = 0;
    f.Seams.EndFlight = [&] { ++filed; };
    const std::string end = f.Fly(14);
    EXPECT_EQ(end, r.End) << r.Height << " m, " << r.Keys;
    if (end == "cancel") {
      EXPECT_LT(f.State.Body.Distance, 0) << r.Keys;  // filed behind the line
      EXPECT_EQ(filed, 1) << r.Keys;
    }
  }
}

TEST(KeyScript, TheCancelEndsOnlyAFlightStillUnderWay) {
  // Esc in the tenth of a second between the end in the water and the
  // results (the menu then grows to 8 or more) once took the ranking place
  // and the last log row of a flight already over.
  const struct {
    const char* Case;
    double Distance;
    AfloatStart Afloat;
    int16_t Menu;
    bool Ended;
    double Altitude, Left;
    bool Handled;
  } rows[] = {
      {"in flight past the line", 50, AfloatStart::None, 6, false, 10, -2000, true},
      {"ended, results to come", 50, AfloatStart::None, 6, true, -0.12, -0.12, true},
      {"results made: the restart", 50, AfloatStart::None, 8, true, -0.12, -0.12, false},
      {"on the platform behind the line", -3, AfloatStart::None, 6, false, 2, 2, false},
      {"afloat, let go behind the line", -7, AfloatStart::LetGo, 6, false, 0.1, -2000, true},
      {"afloat, ended at rest", -7, AfloatStart::LetGo, 6, true, 0.05, 0.05, true},
  };
  for (const auto& r : rows) {
    FlightState s;
    KeyboardState k;
    s.Body.Distance = r.Distance;
    s.Ground.Afloat = r.Afloat;
    k.MenuItemCount = r.Menu;
    s.Loop.FlightEnded = r.Ended;
    s.Body.Altitude = r.Altitude;
    EXPECT_EQ(CancelFlightUnderWay(s, k), r.Handled) << r.Case;
    EXPECT_EQ(s.Body.Altitude, r.Left) << r.Case;
  }
}

TEST(WindSound, LevelsOnWaterAndInFlight) {
  FlightState s;
  aircraft::AircraftData a;
  s.Body.Altitude = -0.1;
  s.Body.AirSpeed = 4;
  WindSoundLevels l = ComputeWindSound(s, a, 40000);
  EXPECT_DOUBLE_EQ(l.Ratio, 0.5);
  EXPECT_EQ(l.Left, 20000);
  EXPECT_EQ(l.Right, 20000);
  EXPECT_FALSE(l.EngineLevelSet);
  s.Body.AirSpeed = 9;
  l = ComputeWindSound(s, a, 40000);
  EXPECT_DOUBLE_EQ(l.Ratio, 1.0);
  EXPECT_EQ(l.Left, 40000);

  // A jet slipping to the right: the low half gets 1 + sin(beta).
  a.LaunchSpeed = 150;
  a.EngineCount = 1;
  a.ParasiteDragArea = 0.5;
  s.Engine.EngineType = aircraft::EngineKind::Jet;
  s.Body.Altitude = 1000;
  s.Body.AirSpeed = 150;
  s.Air.DynamicPressure = 10000;
  s.Air.TotalDragArea = 1;
  s.Masses.DryMass = 5000;
  s.Engine.EngineRating = 50000;
  s.Engine.AfterburnerMax = 1;
  s.Engine.Thrust = 20000;
  s.Engine.EngineNoiseLevel = 88;
  s.Air.Sideslip = 0.2;
  l = ComputeWindSound(s, a, 30000);
  EXPECT_GT(l.Left, l.Right);
  EXPECT_LE(l.Left, 30000);
  EXPECT_GT(l.EngineLevel, 0);
  EXPECT_NEAR(l.PanSine, std::sin(0.2), 1e-15);

  EXPECT_EQ(PackWaveVolume(70000, -5), 65535u);
  EXPECT_EQ(PackWaveVolume(1, 2), 2u * 65536 + 1);
}

// The airborne levels of each engine kind, worked by hand at a user's volume
// of 40000: the light aircraft's airflow (each side of its smaller term), the
// piston's slipstream (faster and slower than the aircraft), the jet's and the
// rocket's engine share; the recorded ratio is (3 E^2 + W) / 2.
TEST(WindSound, AirborneLevelsOfEachEngineKind) {
  using aircraft::EngineKind;
  const struct Case {
    const char* name;
    EngineKind kind;
    double launch, V, Vs, beta, P, Cd, G, M, q, thrust, ab, abMax, classNumber;
    double c1, c2, c3;  // rocket thrusters
    int32_t left, right;
    double ratio, engine;
  } cases[] = {
      // W = (9 (P^3 + 1) |Vs^2 - V^2| + min(4, 24.47) + 50) rho / M S 0.05 = 243.189 / 1000
      {"light", EngineKind::None, 8, 10, 11, 0.3, 0.1, 0.3, 0, 500, 0, 0, 1, 1, 0, 0, 0, 0, 12602, 6853, 0.1215945, 0},
      // the other term the smaller: min(28, 20); W = 259.189 / 1000
      {"light, sideslip term", EngineKind::None, 8, 10, 11, 0, 0.1, 1.5, 0, 500, 0, 0, 1, 1, 0, 0, 0, 0, 10368, 10368,
       0.1295945, 0},
      // k = 1: W = 0.25 sqrt((1.0 x 1600 + 300 x 0.1 x 10 x 1) / 1900) = 0.25
      {"piston, slipstream faster", EngineKind::Piston, 150, 30, 40, -0.2, 0.2, 0.5, 0.3, 1900, 0, 0, 1, 1, 0, 0, 0, 0,
       8013, 11987, 0.125, 0},
      // k = 5: W = 0.25 sqrt((1.0 x 400 + 300 x 0.1 x 10 x 5) / 1900) = 0.25
      {"piston, slipstream slower", EngineKind::Piston, 150, 30, 20, 0, 0.2, 0.5, 0.3, 1900, 0, 0, 1, 1, 0, 0, 0, 0,
       10000, 10000, 0.125, 0},
      // W = 0.1 sqrt(0.02 x 20000 x (3 x 0.5 + 1) / 90000^0.667) = 0.0704304;
      // x = (40000 + 10000) / 2 / 50000 = 0.5, E = 1.3 x 0.5^1.3 = 0.5279641
      {"jet", EngineKind::Jet, 150, 500, 0, 0.1, 0.3, 0.7, 0.5, 90000, 20000, 40000, 1, 1, 90, 0, 0, 0, 24217, 23655,
       0.4533343, 0.5279641},
      // afterburner 4 of 2: x = (80000 / 2 + 10000) / 2 / 50000 / 2 = 0.25;
      // E = 1.3 x 0.25^1.3 x sqrt(45 / 90) = 0.1516179
      {"jet, afterburner", EngineKind::Jet, 150, 500, 0, 0, 0.3, 0.7, 0.5, 90000, 20000, 80000, 4, 2, 45, 0, 0, 0, 8882,
       8882, 0.0696972, 0.1516179},
      // W = 0.1 sqrt(0.02 x 20000 x 1.0 / 10000^0.667) = 0.0926894; thrusters
      // 20000 of 20000: E = 1.5, each side held at the user's volume
      {"rocket, thrusters", EngineKind::Rocket, 150, 300, 0, 0, 0.3, 0.7, 0, 10000, 20000, 0, 1, 1, 0, 10000, -6000,
       4000, 40000, 40000, 3.4213447, 1.5},
      // thrust 20000 / 10000 kg / 10 = 0.2: E = 1.5 x 0.2^0.7 = 0.4861970
      {"rocket, thrust", EngineKind::Rocket, 150, 300, 0, -0.1, 0.3, 0.7, 0, 10000, 20000, 20000, 1, 1, 0, 0, 0, 0, 22785,
       23526, 0.4009259, 0.4861970},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FlightState s;
    aircraft::AircraftData a;
    a.LaunchSpeed = c.launch;
    a.EngineCount = c.kind == EngineKind::None ? 0 : 1;
    a.ParasiteDragArea = c.P;
    a.WingArea = 10;
    s.Engine.EngineType = c.kind;
    s.Body.Altitude = 100;
    s.Body.AirSpeed = c.V;
    s.Engine.SlipstreamSpeed = c.Vs;
    s.Air.Sideslip = c.beta;
    s.Air.TotalDragArea = c.Cd;
    s.Air.AirDensity = 1.0;
    s.Air.DynamicPressure = c.q;
    s.Ground.GearExtension = c.G;
    s.Masses.DryMass = c.M;
    s.Engine.PropellerDiscArea = 0.1;
    s.Engine.Thrust = c.thrust;
    s.Engine.AfterburnerLevel = c.ab;
    s.Engine.AfterburnerMax = c.abMax;
    s.Engine.EngineRating = 50000;
    s.Engine.EngineNoiseLevel = c.classNumber;
    s.Controls.CasPitchMoment = c.c1;
    s.Controls.CasRollMoment = c.c2;
    s.Controls.CasYawMoment = static_cast<int32_t>(c.c3);
    const WindSoundLevels l = ComputeWindSound(s, a, 40000);
    EXPECT_EQ(l.Left, c.left);
    EXPECT_EQ(l.Right, c.right);
    EXPECT_NEAR(l.Ratio, c.ratio, 1e-7);
    EXPECT_NEAR(l.EngineLevel, c.engine, 1e-7);
    EXPECT_TRUE(l.EngineLevelSet);
  }
}

}  // namespace
}  // namespace zarv::flight
