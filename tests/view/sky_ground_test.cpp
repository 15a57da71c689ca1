#include <gtest/gtest.h>

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

struct Frame {
  SkyTables Sky = FixedSky();
  HorizonState State;
  Surface Picture{642, 482, kBackground};

  void Draw(double pitch, double bank, double altitude = 0, double launchSpeed = 8,
            int16_t wireframe = 0) {
    HorizonInputs in;
    in.View = Attitude(pitch, bank);
    in.Altitude = altitude;
    in.LaunchSpeed = launchSpeed;
    in.SurfaceColour = kLake;
    in.WireframeView = wireframe;
    in.Sky = &Sky;
    DrawHorizonAndGround(in, State, Picture);
  }
  Color At(int x, int y) const { return Picture.Point(x, y); }
  Color Table(int i) const { return Sky.SkyColourTable[static_cast<std::size_t>(i)]; }
};

// Band edges at 640 x 480: 0 4 9 15 22 30 40 52 66 83 104 129 159 195 238.
TEST_F(Horizon, LevelAtTheWater) {
  Frame f;
  f.Draw(0, 0);
  EXPECT_EQ(f.State.HorizonRefX, 320);
  EXPECT_EQ(f.State.HorizonRefY, 240);
  EXPECT_EQ(f.At(320, 240 - 2), f.Table(1));     // band 1: 0..4 px up
  EXPECT_EQ(f.At(320, 240 - 140), f.Table(12));  // band 12: 129..159
  EXPECT_EQ(f.At(320, 240 - 200), f.Table(14));  // band 14: 195..238
  EXPECT_EQ(f.At(320, 1), f.Table(14));          // sky polygon beyond it
  EXPECT_EQ(f.At(320, 300), kLake);
  EXPECT_EQ(f.At(5, 470), kLake);
}

TEST_F(Horizon, PoweredAircraftFliesOverOpenSea) {
  Frame f;
  f.Draw(0, 0, 0, 50);
  EXPECT_EQ(f.At(320, 300), f.Table(15));
}

TEST_F(Horizon, PitchMovesTheHorizonByTenPixelsPerDegree) {
  Frame f;
  f.Draw(0.1, 0);  // nose up: the horizon drops 57.3 px
  EXPECT_EQ(f.State.HorizonRefY, 297);
  EXPECT_EQ(f.At(320, 297 - 46), f.Table(7));  // band 7: 40..52
  EXPECT_EQ(f.At(320, 310), kLake);
  f.Draw(-0.2, 0);  // nose down: it rises 114.6 px
  EXPECT_EQ(f.State.HorizonRefY, 125);
  EXPECT_EQ(f.At(320, 130), kLake);
  EXPECT_EQ(f.At(320, 125 - 60), f.Table(8));
}

TEST_F(Horizon, RightBankRaisesTheRightSide) {
  Frame f;
  const double bank = 30 / 57.2957795;
  f.Draw(0, bank);
  // Through (320, 240) with slope -tan 30: y = 124.5 at x = 520, 355.5 at x = 120.
  EXPECT_EQ(f.At(520, 160), kLake);
  EXPECT_EQ(f.At(520, 60), f.Table(8));   // 55.9 px from the line: band 8
  EXPECT_EQ(f.At(120, 300), f.Table(7));  // 48.1 px: band 7
  EXPECT_EQ(f.At(120, 400), kLake);
}

TEST_F(Horizon, UpsideDownPutsTheSkyBelow) {
  Frame f;
  f.Draw(0, 3.1316);  // 0.01 rad short of inverted
  EXPECT_EQ(f.At(320, 100), kLake);
  EXPECT_EQ(f.At(320, 240 + 60), f.Table(8));
  EXPECT_EQ(f.At(320, 470), f.Table(14));
  // Nose up while inverted: the horizon moves up the screen.
  f.Draw(0.1, 3.1316);
  EXPECT_LT(f.State.HorizonRefY, 240 - 50);
}

TEST_F(Horizon, SteepPitchFillsTheViewWithOneColour) {
  Frame f;
  f.Draw(1.0, 0);
  EXPECT_EQ(f.At(0, 0), f.Table(14));
  EXPECT_EQ(f.At(639, 479), f.Table(14));
  f.Draw(-1.0, 0);
  EXPECT_EQ(f.At(0, 0), kLake);
  EXPECT_EQ(f.At(639, 479), kLake);
  f.Draw(1.0, 3.14159);  // nose up but upside down: ground
  EXPECT_EQ(f.At(320, 240), kLake);
}

TEST_F(Horizon, SkyDarkensWithHeightAndIndexStaysInTheTable) {
  Frame f;
  f.Draw(0, 0, 30000);  // index 8
  EXPECT_EQ(f.State.ShadeIndex, 8);
  EXPECT_EQ(f.At(320, 2), f.Table(22));
  f.Draw(0, 0, 70000);
  EXPECT_EQ(f.State.ShadeIndex, 16);
  EXPECT_EQ(f.At(320, 2), f.Table(30));
  // Far below the water the index holds at -1 (sky entry 13), where the
  // first band above the horizon reads entry 0 and no earlier one.
  f.Draw(0, 0, -9000);
  EXPECT_EQ(f.State.ShadeIndex, -1);
  EXPECT_EQ(f.At(320, 1), f.Table(13));
}

TEST_F(Horizon, LevelAndKnifeEdgeEndsAreFinite) {
  // Level: no cotangent is taken; 90 degrees of bank: no tangent.
  ViewGeometry v = Attitude(0, 0);
  HorizonLine l = HorizonEnds(v, 320, 240);
  EXPECT_EQ(l.P1.x, -10);
  EXPECT_EQ(l.P1.y, 240);
  EXPECT_EQ(l.P2.x, 650);
  EXPECT_EQ(l.P2.y, 240);
  v.ViewRollSin = 1;
  v.ViewRollCos = 0;
  l = HorizonEnds(v, 320, 240);
  EXPECT_EQ(l.P1.x, 320);
  EXPECT_EQ(l.P2.x, 320);
  EXPECT_EQ(std::min(l.P1.y, l.P2.y), -10);
  EXPECT_EQ(std::max(l.P1.y, l.P2.y), 490);
  Frame f;
  f.Draw(0, 3.1415926 / 2);
  EXPECT_EQ(f.At(330, 240), kLake);       // right of the vertical horizon
  EXPECT_EQ(f.At(300, 240), f.Table(4));  // 20 px left: band 4 (15..22)
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
  ViewGeometry v = Attitude(2.5, 0);  // 1432 px below the centre
  HorizonReference(v, x, y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 320 - 400);  // cos(pitch) < 0: the sign turns it upwards
}

TEST_F(Horizon, WireframeDrawsOnlyTheLine) {
  Frame f;
  f.Draw(0, 0, 0, 8, 1);
  EXPECT_EQ(f.At(320, 240), Color{0xFF8800});
  EXPECT_EQ(f.At(320, 100), kBackground);
  EXPECT_EQ(f.At(320, 300), kBackground);
  EXPECT_EQ(f.Picture.FillStyle(), vbFSTransparent);
}

}  // namespace
}  // namespace zarv::view
