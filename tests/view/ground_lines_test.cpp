#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "view/ground_lines.h"
#include "view/view_fixture.h"

namespace zarv::view {
namespace {

using testing::Attitude;

GroundLineInputs Inputs(double altitude, double launchSpeed, double odometer = 0) {
  GroundLineInputs in;
  in.View = Attitude(0, 0);
  in.Altitude = altitude;
  in.CourseDistance = 50;
  in.TrackOdometer = odometer;
  in.EyeHeight = 0.5;
  in.LaunchSpeed = launchSpeed;
  in.HorizonRefX = 320;
  in.HorizonRefY = 240;
  return in;
}

TEST(GroundLines, LightAircraftOneMetreUp) {
  // The nearest line where the sight line 0.26 rad down meets the water,
  // 3.76 m out and 1.5 m below the eye: 229 px below the horizon, 2.7 m long.
  ScreenLines lines;
  Surface picture(640, 480, vbBlack);
  EXPECT_EQ(DrawGroundLines(Inputs(1, 8), lines, picture), 6);
  // The six lines 6 m apart, 3.76 to 33.76 m out: rows and right ends.
  const int rows[] = {469, 328, 295, 280, 271, 265}, rightEnds[] = {526, 399, 369, 356, 348, 343};
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(lines.Y1[k], rows[k]) << k;
    EXPECT_EQ(lines.Y1[k], lines.Y2[k]) << k;  // level: across the view
    EXPECT_EQ(lines.X1[k], rightEnds[k]) << k;
    EXPECT_EQ(lines.X1[k] + lines.X2[k], 640) << k;
  }
  EXPECT_EQ(picture.Point(320, lines.Y1[0]), vbWhite);
  // Four metres on, the set has moved 4 m nearer (the second line 5.76 m
  // out); at six it starts again.
  ScreenLines later;
  DrawGroundLines(Inputs(1, 8, 4), later, picture);
  EXPECT_EQ(later.Y1[1], 240 + 149);
  ScreenLines again;
  DrawGroundLines(Inputs(1, 8, 6), again, picture);
  EXPECT_EQ(again.Y1[0], lines.Y1[0]);
}

TEST(GroundLines, PoweredSpacingAndBankTurnsThem) {
  // 20 m up: lines 75.2 m and 105.2 m out, 10 m long.
  ScreenLines lines;
  Surface picture(640, 480, vbBlack);
  DrawGroundLines(Inputs(20, 50), lines, picture);
  EXPECT_EQ(lines.Y1[0], 240 + 156);
  EXPECT_EQ(lines.Y1[1], 240 + 112);
  EXPECT_EQ(lines.X1[0], 320 + 38);
  // Banked 0.3 rad right: the lines turn with the horizon, right end up.
  GroundLineInputs in = Inputs(20, 50);
  in.View = Attitude(0, 0.3);
  DrawGroundLines(in, lines, picture);
  EXPECT_NEAR(std::atan2(lines.Y1[0] - lines.Y2[0], lines.X1[0] - lines.X2[0]), -0.3, 0.03);
}

TEST(GroundLines, NoneOutsideTheirBand) {
  Surface picture(640, 480, vbBlack);
  ScreenLines lines;
  EXPECT_EQ(DrawGroundLines(Inputs(213, 8), lines, picture), 0);
  EXPECT_EQ(DrawGroundLines(Inputs(-10, 8), lines, picture), 0);
  GroundLineInputs before = Inputs(1, 8);
  before.CourseDistance = 0;
  EXPECT_EQ(DrawGroundLines(before, lines, picture), 0);
  // The sight line parallel to the water: no lines that frame, no fault.
  GroundLineInputs flat = Inputs(1, 8);
  flat.View = Attitude(0.26, 0);
  EXPECT_EQ(DrawGroundLines(flat, lines, picture), 0);
  EXPECT_EQ(lines.X1[0], 0);
  // Nose high: the nearer lines lie behind the eye, their far angles are
  // not recomputed and the table keeps its old values.
  GroundLineInputs high = Inputs(1, 8);
  high.View = Attitude(0.5, 0);
  lines.Y1[0] = 12345;
  DrawGroundLines(high, lines, picture);
  EXPECT_EQ(lines.Y1[0], 12345);
}

// A line with an end that cannot be placed is not drawn: its entries hold
// another frame's or another drawing's values, here a line along the top.
TEST(GroundLines, ALineWithAnEndOutOfReachIsLeftOut) {
  const struct {
    const char* what;
    double altitude, pitch;
  } cases[] = {
      // Afloat: the nearest line lies under the eye (F = 0), all four of
      // its angles out of reach; the other five are drawn.
      {"afloat", 0, 0},
      // Nose 0.5 rad up: the nearest line 4.08 m behind the sight point,
      // its ends 0.33 rad aside (x 131 and 509) but 2 rad down.
      {"nose high", 1, 0.5},
  };
  for (const auto& k : cases) {
    GroundLineInputs in = Inputs(k.altitude, 8);
    in.View = Attitude(k.pitch, 0);
    ScreenLines lines;
    lines.X1[0] = 639;
    lines.Y1[0] = 0;
    lines.X2[0] = 0;
    lines.Y2[0] = 0;
    Surface picture(640, 480, vbBlack);
    EXPECT_EQ(DrawGroundLines(in, lines, picture), 5) << k.what;
    EXPECT_EQ(picture.Point(320, 0), vbBlack) << k.what;
  }
}

// Only the far end of the nearest line out of reach: its start is placed,
// and still it is not drawn. A banked dive 7.6 m up, the nose 0.5254 rad
// down (the sight line meets the water 7.6 m out), 3.1 m past a grid line:
// the nearest line 4.5 m out, 8.1 / 4.5 = 1.8 rad down and
// 1.35 / sqrt(20.26) = 0.29993 rad either side.
TEST(GroundLines, ALineWhoseFarEndAloneIsOutOfReachIsLeftOut) {
  const struct {
    double bankDegrees;
    int x1, y1, x2, y2;  // -1: not placed, the old value kept
  } cases[] = {
      // 0.29993 c + 1.8 n = 1.15974, -0.29993 n + 1.8 c = 1.40888 (start);
      // -0.29993 c + 1.8 n = 0.64026, 0.29993 n + 1.8 c = 1.70881 (end).
      {30, 985, 1047, 687, -1},
      // -1.40888, 1.15974 (start); -1.70881, 0.64026 (end).
      {-60, -487, 905, -1, 607},
  };
  for (const auto& k : cases) {
    GroundLineInputs in = Inputs(7.6, 8, 3.1);
    in.View = Attitude(0.26 - std::atan(1.0), k.bankDegrees * M_PI / 180);
    ScreenLines lines;
    lines.X2[0] = lines.Y2[0] = 100;  // another frame's end
    Surface picture(640, 480, vbBlack);
    EXPECT_EQ(DrawGroundLines(in, lines, picture), 5) << k.bankDegrees;
    EXPECT_EQ((std::vector<int32_t>{lines.X1[0], lines.Y1[0], lines.X2[0], lines.Y2[0]}),
              (std::vector<int32_t>{k.x1, k.y1, k.x2 < 0 ? 100 : k.x2, k.y2 < 0 ? 100 : k.y2}))
        << k.bankDegrees;
  }
}

}  // namespace
}  // namespace zarv::view
