#include <gtest/gtest.h>

#include <cmath>

#include "view/ground_lines.h"
#include "view/view_fixture.h"

namespace zarv::view {
namespace {

long Near(double v) { return static_cast<long>(std::nearbyint(v)); }

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
  ScreenLines lines;
  Surface picture(640, 480, vbBlack);
  EXPECT_EQ(DrawGroundLines(Inputs(1, 8), lines, picture), 6);
  for (int i = 0; i < 6; ++i) {
    const double f = 1 / std::tan(0.26) + 6 * i;
    const double half = 1.35 / std::sqrt(f * f + 0.01) * 573;
    const auto k = static_cast<std::size_t>(i);
    EXPECT_EQ(lines.Y1[k], Near(240 + 1.5 / f * 573)) << i;
    EXPECT_EQ(lines.Y1[k], lines.Y2[k]) << i;  // level: across the view
    EXPECT_NEAR(lines.X1[k] - 320, half, 0.5) << i;
    EXPECT_NEAR(320 - lines.X2[k], half, 0.5) << i;
  }
  EXPECT_EQ(picture.Point(320, lines.Y1[0]), vbWhite);
  // Four metres on, the set has moved 4 m nearer; at six it starts again.
  ScreenLines later;
  DrawGroundLines(Inputs(1, 8, 4), later, picture);
  EXPECT_EQ(later.Y1[1], Near(240 + 1.5 / (1 / std::tan(0.26) + 2) * 573));
  ScreenLines again;
  DrawGroundLines(Inputs(1, 8, 6), again, picture);
  EXPECT_EQ(again.Y1[0], lines.Y1[0]);
}

TEST(GroundLines, PoweredSpacingAndBankTurnsThem) {
  ScreenLines lines;
  Surface picture(640, 480, vbBlack);
  GroundLineInputs in = Inputs(20, 50);
  in.View = Attitude(0, 0.3);
  DrawGroundLines(in, lines, picture);
  const double f0 = 20 / std::tan(0.26);
  const double depression = 20.5 / f0, lateral = 5 / std::sqrt(f0 * f0 + 0.01);
  const double c = std::cos(0.3), n = std::sin(0.3);
  EXPECT_EQ(lines.X1[0], Near(320 + (lateral * c + depression * n) * 573));
  EXPECT_EQ(lines.Y1[0], Near(240 + (-lateral * n + depression * c) * 573));
  EXPECT_EQ(lines.Y2[0], Near(240 + (lateral * n + depression * c) * 573));
  const double f1 = f0 + 30;
  EXPECT_EQ(lines.X2[1], Near(320 + (-5 / std::sqrt(f1 * f1 + 0.01) * c + 20.5 / f1 * n) * 573));
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

}  // namespace
}  // namespace zarv::view
