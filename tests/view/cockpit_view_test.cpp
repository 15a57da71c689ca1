#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/bmp.h"
#include "view/cockpit_view.h"
#include "view/instrument_panel.h"
#include "view/view_fixture.h"
#include "program_test.h"

namespace zarv::view {
namespace {

class Frame : public zarv::testing::ProgramTest {};
class Scene : public zarv::testing::ProgramTest {};

namespace fs = std::filesystem;

TEST_F(Frame, ElapsedTimeCaption) {
  EXPECT_EQ(ElapsedTimeCaption(12.34), "経過時間 12.3Sec   ");
  EXPECT_EQ(ElapsedTimeCaption(60.0), "経過時間 60.0Sec   ");
  EXPECT_EQ(ElapsedTimeCaption(61.0), "経過時間 00:01:01.0   ");
  EXPECT_EQ(ElapsedTimeCaption(3661.5), "経過時間 01:01:01.5   ");
  // Rounded to tenths before the split: never a 60th second.
  EXPECT_EQ(ElapsedTimeCaption(119.96), "経過時間 00:02:00.0   ");
  EXPECT_EQ(ElapsedTimeCaption(3599.97), "経過時間 01:00:00.0   ");
}

// A frame's worth of state: level at 100 m, heading north, light aircraft.
struct FrameFixture {
  SkyTables Sky = testing::FixedSky();
  flight::FlightState S;
  aircraft::AircraftData A;
  CockpitView View;
  FrameInputs In;
  zarv::ScratchFolder Scratch;
  fs::path Folder = Scratch.path();

  explicit FrameFixture(double scale = 1.0) {
    A.LaunchSpeed = 8;
    A.LaunchHeight = 10;
    A.EyeHeight = 0.5;
    S.Pilot.PixelsPerRadian = 573 * scale;
    S.View.ViewCentreX = static_cast<int32_t>(std::lround(320 * scale));
    S.View.ViewCentreY = static_cast<int32_t>(std::lround(240 * scale));
    S.Body.Altitude = 100;
    S.View.EyeZ = 100.5;
    S.Body.Distance = 200;
    S.Body.CourseDistance = 200;
    S.Loop.StepsPerSecond = 40;
    S.Loop.DisplayDivisor = 2;
    InitCockpitView(View, scale, 1.0, S, A, Folder.string());
    View.Hooks.DrawPanelMeters = View.Hooks.DrawHeadUpDisplay = [](Surface&) {};
    In.Sky = &Sky;
  }
  void Draw(Surface& target) { DrawCockpitFrame(View, S, A, In, target); }
};

TEST_F(Frame, ComposesAtEachScreenSize) {
  for (double scale : {1.0, 1.25, 1.6}) {
    FrameFixture f(scale);
    const int w = static_cast<int>(std::lround(640 * scale)), h = static_cast<int>(std::lround(480 * scale));
    Surface target(w, h, vbBlack);
    std::vector<std::string> calls;
    f.View.Hooks.DrawPanelMeters = [&](Surface&) { calls.push_back("panel"); };
    f.View.Hooks.DrawHeadUpDisplay = [&](Surface&) { calls.push_back("hud"); };
    f.Draw(target);
    EXPECT_EQ(calls, (std::vector<std::string>{"panel", "hud"}));
    const int cy = f.S.View.ViewCentreY;
    EXPECT_EQ(target.Point(w / 2, cy - 2), f.Sky.SkyColourTable[1]) << scale;
    EXPECT_EQ(target.Point(w / 2, h - 2), f.In.SurfaceColour) << scale;
    EXPECT_EQ(target.Point(2, 0), f.Sky.SkyColourTable[14]) << scale;
  }
}

TEST_F(Frame, HotAirframeTintsTheView) {
  // From 700 K on, full at 1700 K; halfway 127.5 and 63.5 round to even.
  FrameFixture f;
  Surface target(640, 480, vbBlack);
  const Color sky = f.Sky.SkyColourTable[14];
  for (const auto& [kelvin, tint] : {std::pair(700, RGB(0, 0, 0)), std::pair(1200, RGB(128, 0, 64)),
                                     std::pair(2500, RGB(255, 0, 127))}) {
    f.S.Air.SkinTemperature = static_cast<int16_t>(kelvin);
    f.Draw(target);
    EXPECT_EQ(target.Point(2, 0), sky | tint) << kelvin;
  }
  f.In.WireframeView = 1;  // no tint over the wireframe view
  f.Draw(target);
  EXPECT_EQ(target.Point(2, 0), vbBlack);
}

TEST_F(Frame, ScreenshotsTakeTheNextFreeNumber) {
  FrameFixture f(1.0);
  for (const char* name : {"cam000.bmp", "cam001.bmp", "cam003.bmp"})
    std::ofstream(f.Folder / name) << "x";
  f.View.ScreenshotCounter = 0;
  Surface target(640, 480, vbBlack);
  f.View.ScreenshotRequest = 1;
  f.Draw(target);
  EXPECT_TRUE(fs::exists(f.Folder / "cam002.bmp"));
  EXPECT_EQ(f.View.ScreenshotRequest, 0);
  f.View.ScreenshotRequest = 1;
  f.Draw(target);
  EXPECT_TRUE(fs::exists(f.Folder / "cam004.bmp"));  // 003 is kept
  EXPECT_EQ(fs::file_size(f.Folder / "cam003.bmp"), 1u);
  EXPECT_EQ(f.View.ScreenshotCounter, 5);
  // No request: nothing new.
  f.Draw(target);
  EXPECT_FALSE(fs::exists(f.Folder / "cam005.bmp"));
  Surface shot;
  ASSERT_TRUE(LoadBmp(shot, (f.Folder / "cam004.bmp").string()));
  EXPECT_EQ(shot.Width(), f.View.Picture1.Width());
  // The load starts the counter at the lowest free number.
  EXPECT_EQ(NextFreeScreenshot(f.Folder.string(), 0), 5);
  EXPECT_EQ(ScreenshotName(7), "cam007.bmp");
  EXPECT_EQ(ScreenshotName(1234), "cam1234.bmp");
}

// The shore lines follow the objects option: off, neither projected nor
// drawn; on, projected and drawn in the sky's fifth shade less 0x200020;
// at 2, drawn where they were last projected.
TEST_F(Frame, ShoreLinesFollowTheObjectsOption) {
  FrameFixture f;
  Surface target(640, 480, vbBlack);
  const Color shore = f.Sky.SkyColourTable[5] - 0x200020;
  auto count = [&] {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) n += target.Point(x, y) == shore;
    return n;
  };
  f.In.ShowObjects = 0;
  f.Draw(target);
  EXPECT_EQ(count(), 0);
  for (std::size_t i = 6; i <= 25; ++i) EXPECT_EQ(f.View.Lines.X1[i] | f.View.Lines.Y1[i], 0) << i;
  f.In.ShowObjects = 1;
  f.Draw(target);
  EXPECT_GT(count(), 20);
  const auto projected = f.View.Lines;
  f.In.ShowObjects = 2;
  f.S.Body.Heading = 1.0;  // turned: the lines stay where they were
  f.Draw(target);
  EXPECT_GT(count(), 20);
  for (std::size_t i = 6; i <= 25; ++i) EXPECT_EQ(f.View.Lines.X1[i], projected.X1[i]) << i;
}

TEST_F(Frame, ShoreSegmentAheadAndBehind) {
  FrameFixture f;
  f.S.View.EyeX = 0;
  f.S.View.EyeY = 0;
  f.S.View.EyeZ = 10;
  f.S.Body.PitchCos = 1;
  // 100 m ahead, 10 m to either side and below the eye: 57 px off the
  // centre; at equal depth the left end stays first.
  ProjectShoreSegment(f.View, f.S, 1.0, 6, -10, 100, 0, 10, 100, 0);
  EXPECT_EQ(f.View.Lines.X1[6], 320 - 57);
  EXPECT_EQ(f.View.Lines.X2[6], 320 + 57);
  EXPECT_EQ(f.View.Lines.Y1[6], 240 + 57);
  // Wholly behind the eye: collapsed onto the view centre.
  ProjectShoreSegment(f.View, f.S, 1.0, 7, -10, -100, 0, 10, -100, 0);
  EXPECT_EQ(f.View.Lines.X1[7], 320);
  EXPECT_EQ(f.View.Lines.Y2[7], 240);
  // An end exactly at the eye's depth does not divide by zero.
  ProjectShoreSegment(f.View, f.S, 1.0, 8, 5, 0, 0, 10, 100, 0);
  EXPECT_TRUE(std::isfinite(f.View.ClipRatio2));
  EXPECT_LT(std::abs(f.View.Lines.X1[8] - 320), 2000);
}

// Shore segments of the scenery table seen from (-20, 100, 50.5), turned,
// pitched and banked: both ends in view, then one end beyond the side edge
// moved onto it (x = 2y). Worked with the heading turn, the pitch tilt and
// the bank's turn of (azimuth, elevation) x 573 px.
TEST_F(Frame, ShorePointsAtABankedPitchedAttitude) {
  const struct {
    std::size_t From;
    double Heading, Pitch, Bank;
    int32_t X1, Y1, X2, Y2;
  } cases[] = {{10, 0.3, -0.2, 0.4, 50, 294, 219, 269},
               {6, 2.0, -0.15, -0.5, 93, 151, 526, 404},
               {9, 1.5, -0.1, 0.3, 104, 529, -205, 689}};
  for (const auto& c : cases) {
    FrameFixture f;
    f.S.View.EyeX = -20;
    f.S.View.EyeY = 100;
    f.S.View.EyeZ = 50.5;
    f.S.Body.Heading = c.Heading;
    f.S.Body.PitchSin = std::sin(c.Pitch);
    f.S.Body.PitchCos = std::cos(c.Pitch);
    f.S.Body.ViewRollSin = std::sin(c.Bank);
    f.S.Body.ViewRollCos = std::cos(c.Bank);
    const SceneGeometry& g = f.View.Scene;
    const std::size_t i = c.From, k = i - 1;
    ProjectShoreSegment(f.View, f.S, 1.0, static_cast<int>(i), g.SceneryX[k], g.SceneryY[k], g.SceneryZ[k],
                        g.SceneryX[i], g.SceneryY[i], g.SceneryZ[i]);
    const auto& l = f.View.Lines;
    EXPECT_EQ((std::array<int32_t, 4>{l.X1[i], l.Y1[i], l.X2[i], l.Y2[i]}), (std::array<int32_t, 4>{c.X1, c.Y1, c.X2, c.Y2}))
        << "segment to point " << i;
  }
}

// The small course: the start line is y = -340 m.
TEST_F(Frame, RaceTimesAppendLapAfterLap) {
  FrameFixture f;
  f.S.Engine.EngineType = aircraft::EngineKind::Piston;
  f.S.Engine.EngineRating = 100000;
  f.S.Body.TrackAngle = 0;
  f.S.Body.GroundSpeed = 100;
  f.S.View.EyeY = -340;
  f.S.View.EyeX = 500;
  f.S.Loop.FlightTime = 12.35;
  f.View.PylonAzimuth[0] = 2;  // the start pylon is behind
  UpdatePylonRace(f.View, f.S, f.A, 0.5);
  EXPECT_EQ(f.View.RaceText, "  12.35Sec\r\n");
  EXPECT_EQ(f.View.NextPylon, 1);
  f.View.NextPylon = 0;
  f.View.PylonAzimuth[0] = 2;
  f.S.Loop.FlightTime = 112.35;
  UpdatePylonRace(f.View, f.S, f.A, 0.5);
  EXPECT_EQ(f.View.RaceText, "  12.35Sec\r\n 100.00Sec  111.89mph\r\n");
  EXPECT_EQ(f.View.PylonCrossings, 2);
  // Flying east past the start: counted neither as a time nor a crossing.
  f.View.NextPylon = 0;
  f.View.PylonAzimuth[0] = 2;
  f.S.Body.TrackAngle = 3.1415926 / 2;
  UpdatePylonRace(f.View, f.S, f.A, 0.5);
  EXPECT_EQ(f.View.PylonCrossings, 2);
  EXPECT_EQ(f.View.NextPylon, 1);
}

TEST_F(Frame, PylonRightBelowTheEyeKeepsTheWidthBounded) {
  FrameFixture f;
  f.S.Engine.EngineType = aircraft::EngineKind::Jet;
  const auto& g = f.View.Scene;
  f.S.View.EyeX = g.SceneryX[30] + 1e-9;
  f.S.View.EyeY = g.SceneryY[30];
  f.S.Body.Altitude = 5;
  f.View.NextPylon = 0;
  UpdatePylonRace(f.View, f.S, f.A, 0.5);
  EXPECT_LE(f.View.PylonWidth[1], 32000);
  f.S.View.EyeX = g.SceneryX[30];  // exactly above: skipped this frame
  f.View.PylonWidth[1] = 7;
  UpdatePylonRace(f.View, f.S, f.A, 0.5);
  EXPECT_EQ(f.View.PylonWidth[1], 7);
  // Drawing that pylon wide open keeps the pen in range.
  f.View.PylonAzimuth[1] = 0;
  f.View.PylonWidth[1] = 40;
  f.A.LaunchSpeed = 50;
  f.In.ShowPylonOrHangMeter = 1;
  Surface target(640, 480, vbBlack);
  f.Draw(target);
  EXPECT_EQ(f.View.Picture1.DrawWidth(), 1);
}

TEST_F(Frame, ShakeFollowsTheLoadAndStopsBehindTheStart) {
  FrameFixture f;
  f.S.Loop.SpeedMode = 1;
  f.S.Air.NormalLoad = 9.8 * 8;
  f.S.Wing.StallRatio = 5;
  f.S.Body.CourseDistance = 100;
  EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), 2);  // toggled frame, limited to 2
  EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), 0);  // the other frame
  f.S.Body.CourseDistance = -3;
  EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), 0);
  f.S.Loop.SpeedMode = 0;  // other modes: never toggled
  f.S.Body.CourseDistance = 100;
  EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), 0);
  EXPECT_EQ(f.View.FrameToggle, 0);
}

// Below a stall ratio of 3 the wing buffets: (ratio - 1) x q / 200 pixels
// on top of the load's shake, held to 4 either way.
TEST_F(Frame, BuffetShakesBelowAStallRatioOfThree) {
  struct Row {
    double Load, Stall, Q;
    int Shake;
  };
  const Row rows[] = {
      {0, 1.5, 800, 2},        // 0.5 x 800 / 200
      {0, 2.5, 800, 4},        // 6, held to 4
      {0, 2.9, 100, 1},        // 0.95
      {0, 3, 800, 0},          // no buffet at 3
      {0, 1, 800, 0},          // unstalled
      {9.8 * 8, 1.5, 400, 3},  // load's 2 (3.6 held) + 1
      {-9.8 * 8, 1.5, 400, -1},
      {9.8 * 8, 2.5, 400, 4},  // 2 + 3, held to 4
  };
  for (const Row& r : rows) {
    FrameFixture f;
    f.S.Loop.SpeedMode = 1;
    f.S.Air.NormalLoad = r.Load;
    f.S.Wing.StallRatio = r.Stall;
    f.S.Air.DynamicPressure = r.Q;
    EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), r.Shake) << r.Load << " " << r.Stall << " " << r.Q;
    EXPECT_EQ(ComputeViewShake(f.View, f.S, f.A), 0) << "untoggled frame " << r.Stall;
  }
}

// The deck and its lettering lie ahead of an aircraft at its start on the
// deck's centre line; back behind the line after its flight, on the water
// under the deck's height, it is not there to be drawn over the horizon.
TEST_F(Frame, TheDeckShowsOnlyAtTheStart) {
  for (const bool left : {false, true}) {
    FrameFixture f;
    f.In.ShowObjects = 1;
    f.S.Body.Distance = f.S.Body.CourseDistance = -8;  // GNIDRAOB: cells 1 to 8, 14 polygons
    f.S.Body.Altitude = left ? -0.5 : 10.48;
    f.S.Ground.StartLeft = left;
    Surface target(640, 480, vbBlack);
    f.Draw(target);
    EXPECT_EQ(f.View.Deck.LettersDrawn, left ? 0 : 14) << left;
  }
}

TEST_F(Frame, HangMeterTurnsTheSameToggleSoALightAircraftNeverShakes) {
  FrameFixture f;
  f.S.Loop.SpeedMode = 1;
  f.S.Air.NormalLoad = 9.8 * 8;
  f.S.Wing.StallRatio = 5;
  PanelView panel;
  PanelSurfaces surfaces;
  const flight::FlightOptions o;
  f.View.Hooks.DrawPanelMeters = [&](Surface& pic) {
    DrawPanelMeters(panel, f.S, f.A, o, surfaces, pic, f.View.FrameToggle);
  };
  Surface target(640, 480, vbBlack);
  auto shakenFrames = [&](int16_t meter, int frames) {
    panel.Screen.ShowPylonOrHangMeter = meter;
    int shaken = 0;
    for (int i = 0; i < frames; ++i) {
      f.Draw(target);
      shaken += f.View.ViewShake != 0;
    }
    return shaken;
  };
  EXPECT_EQ(shakenFrames(1, 4), 0);
  EXPECT_EQ(shakenFrames(0, 3), 2);  // without the meter every other frame
  // Switched on again where the view left the toggle at 1.
  EXPECT_EQ(f.View.FrameToggle, 1);
  EXPECT_EQ(shakenFrames(1, 4), 0);
}

TEST_F(Frame, RoundsShowDuringABurstAndShrunkRoundsDrawNothing) {
  FrameFixture f;
  flight::GunState& rounds = f.S.Gun;
  f.In.RecordCount = 100;
  f.In.ClockSeconds = 1001;
  f.S.Sound.TriggerTime = 1000;
  f.S.Loop.StepsSinceTrigger = 40;
  for (std::size_t i = 0; i < 10; ++i) {
    rounds.RoundScreenX[i] = static_cast<int16_t>(100 + 40 * i);
    rounds.RoundScreenY[i] = 200;
    rounds.RoundVelY[i] = 800;
    rounds.RoundDistance[i] = 50;
  }
  rounds.RoundDistance[9] = 3;  // too near the eye
  // Round 8 has stopped (hit) just now: its radius is below zero.
  rounds.RoundVelY[8] = 0;
  rounds.RoundHitTime[8] = 1001;
  f.View.Picture1.SetFillStyle(vbFSSolid);
  f.View.Picture1.Cls();
  EXPECT_EQ(DrawGunRounds(f.View, f.S, f.In), 8);
  EXPECT_NEAR(f.View.ShotRadius[0], 3.0, 1e-9);  // 150 / 50 px
  EXPECT_GT(f.View.ShotRadius[8], 0);
  EXPECT_EQ(f.View.Picture1.Point(100, 200), Color{0x0080FF});
  EXPECT_NE(f.View.Picture1.Point(420, 200), Color{0x0080FF});
  // Two seconds after the burst and no hit: none.
  f.In.ClockSeconds = 1002.5;
  EXPECT_EQ(DrawGunRounds(f.View, f.S, f.In), 0);
}

// The telling points of the scenery table as seen from the platform: the
// distance (m) and the bearing clockwise from north (deg) of the shore's
// ends (5 and 25, which repeats point 0) and bends round the lake, the deck
// corners (0.6 m higher at the rear edge than at the front) and three prism
// corners (26 to 28). The sun stands in the south, 70 degrees up, both
// angles over 57.3.
TEST_F(Scene, TellingPointsAndTheSun) {
  SceneGeometry g;
  InitSceneGeometry(500, 8, 0, g);
  const struct {
    std::size_t i;
    double Distance, Bearing, Height;
  } points[] = {{0, 157.410, 126.215, 0},    {1, 7.004, 170.134, 10.6},    {2, 7.212, 253.072, 10},
                {3, 7.021, 349.330, 10},     {4, 7.212, 73.072, 10.6},     {5, 159.060, 123.720, 0},
                {6, 269.258, 68.199, 0},     {9, 385.219, 1.934, 0},       {10, 649.899, 349.987, 0},
                {11, 20169.284, 22.751, 0},  {14, 31850.903, 356.760, 0},  {17, 24944.739, 254.181, 0},
                {19, 36704.904, 232.193, 0}, {20, 39634.329, 222.546, 0},  {24, 297.002, 180.193, 0},
                {25, 157.410, 126.215, 0},   {26, 458.246, 1.876, 0},      {27, 450.000, 0.000, 0},
                {28, 480.234, 358.210, 0}};
  for (const auto& p : points) {
    const double x = g.SceneryX[p.i], y = g.SceneryY[p.i];
    EXPECT_NEAR(std::hypot(x, y), p.Distance, 1e-3) << p.i;
    EXPECT_NEAR(std::fmod(std::atan2(x, y) * 180 / std::acos(-1) + 360, 360), p.Bearing, 1e-3) << p.i;
    EXPECT_EQ(g.SceneryZ[p.i], p.Height) << p.i;
  }
  EXPECT_NEAR(g.SunAzimuth, 3.1413613, 1e-7);
  EXPECT_NEAR(g.SunElevation, 1.2216405, 1e-7);
  EXPECT_NEAR(g.Shading.SunHeadingSin, -0.0002314, 1e-7);
  EXPECT_NEAR(g.Shading.SunHeadingCos, -1.0, 1e-7);
  EXPECT_NEAR(g.Shading.SunElevationSin, 0.9396618, 1e-7);
  EXPECT_NEAR(g.Shading.SunElevationCos, 0.3421047, 1e-7);
}

// Facing the sun with the nose 60 degrees up, the sun's disc stands 10
// degrees (100 px) above the view centre.
TEST_F(Frame, TheSunStandsInTheSouthSeventyDegreesUp) {
  FrameFixture f;
  f.S.Body.Heading = 180 / 57.3;
  f.S.Body.PitchAngle = 60 / 57.3;
  f.S.Body.PitchSin = std::sin(f.S.Body.PitchAngle);
  f.S.Body.PitchCos = std::cos(f.S.Body.PitchAngle);
  Surface target(640, 480, vbBlack);
  f.Draw(target);
  double n = 0, sx = 0, sy = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (f.View.Picture1.Point(x, y) != Color{0x00FFFF}) continue;
      ++n;
      sx += x;
      sy += y;
    }
  }
  ASSERT_GT(n, 10);
  EXPECT_NEAR(sx / n, 320, 0.5);
  EXPECT_NEAR(sy / n, 140, 0.5);
}

TEST_F(Scene, CourseAndPylonHeightsByAircraft) {
  // Below a tonne the small course and a light aircraft's low pylons; from
  // a tonne on, with an engine, the large course and tall pylons.
  SceneGeometry g, big;
  InitSceneGeometry(999, 8, 0, g);
  InitSceneGeometry(1000, 10.9, 1, big);
  EXPECT_GT(g.SceneryX[31], big.SceneryX[31]);
  EXPECT_LT(g.SceneryZ[29], big.SceneryZ[29]);
  // Pylon 31 and the start pylon as stored, after the shift of 850 m east
  // and 340 m south; 8 m pylons for an engineless aircraft below 11 m/s.
  EXPECT_EQ(std::make_pair(g.SceneryX[31], g.SceneryY[31]), std::make_pair(-892.0, 598.0));
  EXPECT_EQ(std::make_pair(big.SceneryX[31], big.SceneryY[31]), std::make_pair(-1221.0, 786.0));
  EXPECT_EQ(g.SceneryZ[29], 8.0);
  EXPECT_EQ(big.SceneryZ[29], 40.0);
  EXPECT_EQ(big.SceneryZ[31], 15.0);
  // The shore's ends, points 5 and 25, lie 7.08 m apart: it is not closed.
  EXPECT_NEAR(std::hypot(big.SceneryX[5] - big.SceneryX[25], big.SceneryY[5] - big.SceneryY[25]), 7.08, 0.01);
  // One prism.
  EXPECT_EQ(big.Prisms.Count(), 1);
}

}  // namespace
}  // namespace zarv::view
