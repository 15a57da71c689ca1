#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "view/sky_ground.h"
#include "view/view_fixture.h"
#include "program_test.h"

namespace zarv::view {
namespace {

class Horizon : public zarv::testing::ProgramTest {};

using testing::Attitude;
using testing::FixedSky;

constexpr Color kLake = 0xBBAA22;
constexpr Color kBackground = 0x123456;
constexpr int kWater = -1;

struct Frame {
  SkyTables Sky = FixedSky();
  HorizonState State;
  Surface Picture{642, 482, kBackground};

  void Draw(double pitch, double bank, double altitude = 0, double launchSpeed = 8, int16_t wireframe = 0) {
    HorizonInputs in;
    in.View = Attitude(pitch, bank);
    in.Altitude = altitude;
    in.LaunchSpeed = launchSpeed;
    in.SurfaceColour = kLake;
    in.WireframeView = wireframe;
    in.Sky = &Sky;
    DrawHorizonAndGround(in, State, Picture);
  }
};

// What a pixel shows for an attitude and height: the lake or a sky table
// entry. Band edges at 640 x 480, in pixels from the horizon:
// 0 4 9 15 22 30 40 52 66 83 104 129 159 195 238; 573 px per radian.
TEST_F(Horizon, PixelsByAttitudeAndHeight) {
  const struct {
    const char* what;
    double pitch, bank, altitude, launchSpeed;
    int x, y, entry;
  } cases[] = {
      {"level", 0, 0, 0, 8, 320, 238, 1},
      {"level", 0, 0, 0, 8, 320, 100, 12},
      {"level", 0, 0, 0, 8, 320, 40, 14},
      {"level, sky beyond the bands", 0, 0, 0, 8, 320, 1, 14},
      {"level", 0, 0, 0, 8, 320, 300, kWater},
      {"level", 0, 0, 0, 8, 5, 470, kWater},
      {"powered: open sea", 0, 0, 0, 50, 320, 300, 15},
      {"nose up: horizon 57 px down", 0.1, 0, 0, 8, 320, 251, 7},
      {"nose up", 0.1, 0, 0, 8, 320, 310, kWater},
      {"nose down: 115 px up", -0.2, 0, 0, 8, 320, 130, kWater},
      {"nose down", -0.2, 0, 0, 8, 320, 65, 8},
      {"bank right 30", 0, 0.5235988, 0, 8, 520, 160, kWater},
      {"bank right 30: 55.9 px from the line", 0, 0.5235988, 0, 8, 520, 60, 8},
      {"bank right 30: 48.1 px", 0, 0.5235988, 0, 8, 120, 300, 7},
      {"bank right 30", 0, 0.5235988, 0, 8, 120, 400, kWater},
      {"nearly inverted", 0, 3.1316, 0, 8, 320, 100, kWater},
      {"nearly inverted", 0, 3.1316, 0, 8, 320, 300, 8},
      {"nearly inverted", 0, 3.1316, 0, 8, 320, 470, 14},
      {"knife edge: 20 px left", 0, 1.5707963, 0, 8, 300, 240, 4},
      {"knife edge", 0, 1.5707963, 0, 8, 330, 240, kWater},
      {"steep climb", 1.0, 0, 0, 8, 0, 0, 14},
      {"steep dive", -1.0, 0, 0, 8, 0, 0, kWater},
      {"climbing inverted", 1.0, 3.14159, 0, 8, 320, 240, kWater},
      // Shade 2: the bands above at 15/17 of their width, those below at 2/20
      // of the edges (band 10 from 8.3 to 10.4 px, band 14 from 19.5 to 23.8).
      {"6 km up: first band above", 0, 0, 6000, 8, 320, 238, 3},
      {"6 km up: tenth band below", 0, 0, 6000, 8, 320, 249, 10},
      {"6 km up: last band below", 0, 0, 6000, 8, 320, 262, 14},
      {"6 km up: below the bands", 0, 0, 6000, 8, 320, 266, kWater},
      {"30 km up: shade 8", 0, 0, 30000, 8, 320, 2, 22},
      {"70 km up: shade 16", 0, 0, 70000, 8, 320, 2, 30},
      {"far below the water: shade -1, entry 13 and none before", 0, 0, -9000, 8, 320, 1, 13},
  };
  for (const auto& c : cases) {
    Frame f;
    f.Draw(c.pitch, c.bank, c.altitude, c.launchSpeed);
    const Color want = c.entry == kWater ? kLake : f.Sky.SkyColourTable[static_cast<std::size_t>(c.entry)];
    EXPECT_EQ(f.Picture.Point(c.x, c.y), want) << c.what << " at " << c.x << "," << c.y;
  }
  // Nose up while inverted: the horizon moves up the screen.
  Frame f;
  f.Draw(0.1, 3.1316);
  EXPECT_LT(f.State.HorizonRefY, 240 - 50);
  // Nose up in a 30 degree right bank: 57.3 px down the banked vertical.
  f.Draw(0.1, 0.5235988);
  EXPECT_EQ(f.State.HorizonRefX, 320 + 29);
  EXPECT_EQ(f.State.HorizonRefY, 240 + 50);
}

// Under a light aircraft let go from the platform the lake; under one that
// starts with no platform beneath it, grey.
TEST_F(Horizon, SurfaceColourByLaunchHeight) {
  const struct {
    double launchHeight;
    Color colour;
  } cases[] = {{10, kLake}, {3.5, kLake}, {1.01, kLake}, {1, 0xAAAAAA}, {0.5, 0xAAAAAA}, {0, 0xAAAAAA}, {-2, 0xAAAAAA}};
  for (const auto& c : cases) {
    aircraft::AircraftData a;
    a.LaunchSpeed = 8;
    a.LaunchHeight = c.launchHeight;
    EXPECT_EQ(SurfaceColourOf(a), c.colour) << c.launchHeight;
  }
}

TEST_F(Horizon, LevelAndKnifeEdgeEndsAreFinite) {
  // Level: no cotangent is taken; 90 degrees of bank: no tangent.
  // The ends lie 10 px beyond the picture's edges.
  ViewGeometry v = Attitude(0, 0);
  HorizonLine l = HorizonEnds(v, 320, 240);
  EXPECT_EQ(l.P1.x, -10);
  EXPECT_EQ(l.P2.x, 650);
  EXPECT_EQ(l.P1.y, 240);
  EXPECT_EQ(l.P2.y, 240);
  v.ViewRollSin = 1;
  v.ViewRollCos = 0;
  l = HorizonEnds(v, 320, 240);
  EXPECT_EQ(l.P1.x, 320);
  EXPECT_EQ(l.P2.x, 320);
  EXPECT_EQ(std::min(l.P1.y, l.P2.y), -10);
  EXPECT_EQ(std::max(l.P1.y, l.P2.y), 490);
}

// The bands are rounded and clipped one by one, so neighbours do not share
// their edges exactly; filled polygons must still leave no sky or lake
// pixel between them (no seam), whatever the bank. (The ends of the bands
// are cut on the slant just outside the view, which can leave the sky
// showing at its edges: those are the bands' own shape, not seams.)
TEST_F(Horizon, BandsLeaveNoSeamsWhenBanked) {
  const struct {
    double bank, altitude, scale;
  } cases[] = {{0.5, 0, 1.0},  {0.5, 20000, 1.0}, {-0.3, 0, 1.0},  {0.2, 40000, 1.25},
               {1.0, 10000, 1.6}, {1.3, 0, 1.0},  {-2.0, 30000, 1.0}, {2.9, 0, 1.25}};
  for (const auto& c : cases) {
    SkyTables sky = FixedSky(c.scale);
    for (int i = 0; i < 31; ++i) sky.SkyColourTable[static_cast<std::size_t>(i)] = Color(0x010000 * (i + 1));
    HorizonState state;
    const int w = static_cast<int>(std::lround(640 * c.scale)), h = static_cast<int>(std::lround(480 * c.scale));
    Surface picture(w, h, kBackground);
    HorizonInputs in;
    in.View = Attitude(0.02, c.bank, c.scale);
    in.Altitude = c.altitude;
    in.LaunchSpeed = 8;
    in.SurfaceColour = kLake;
    in.Sky = &sky;
    DrawHorizonAndGround(in, state, picture);
    // Between the horizon (where zero-wide bands stroke the line) and the
    // last band, whose colour is the sky's.
    const int k = state.ShadeIndex;
    const double up = sky.HorizonBandOffset[13] * (17.0 - k) / 17, down = sky.HorizonBandOffset[14] * k / 20.0;
    const Color skyColour = sky.SkyColourTable[static_cast<std::size_t>(14 + k)];
    const int inset = static_cast<int>(60 * c.scale);
    int seams = 0;
    for (int y = inset; y < h - inset; ++y) {
      for (int x = inset; x < w - inset; ++x) {
        // Distance towards the sky from the horizon line.
        const double d = -(x - state.HorizonRefX) * in.View.ViewRollSin - (y - state.HorizonRefY) * in.View.ViewRollCos;
        const Color p = picture.Point(x, y);
        if ((d > 2 && d < up - 2 && p == skyColour) || (d < -2 && d > -down + 2 && p == kLake)) ++seams;
      }
    }
    EXPECT_EQ(seams, 0) << "bank " << c.bank << " altitude " << c.altitude << " scale " << c.scale;
  }
}

TEST_F(Horizon, FarPitchIsLimitedAroundTheCentre) {
  int16_t x = 0, y = 0;
  ViewGeometry v = Attitude(2.5, 0);  // 1432 px from the centre
  HorizonReference(v, x, y);
  EXPECT_EQ(x, 320);
  // cos(pitch) < 0: the sign turns it upwards; more than 1000 px from 320,
  // it is held 400 px from 320.
  EXPECT_EQ(y, 320 - 400);
}

TEST_F(Horizon, WireframeDrawsOnlyTheLine) {
  Frame f;
  f.Draw(0, 0, 0, 8, 1);
  EXPECT_EQ(f.Picture.Point(320, 240), Color{0xFF8800});  // light blue
  EXPECT_EQ(f.Picture.Point(320, 100), kBackground);
  EXPECT_EQ(f.Picture.Point(320, 300), kBackground);
  EXPECT_EQ(f.Picture.FillStyle(), vbFSTransparent);
}

}  // namespace
}  // namespace zarv::view
