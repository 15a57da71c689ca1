#include <gtest/gtest.h>

#include <cmath>

#include "model/rotation.h"

namespace zarv::model {
namespace {

constexpr double kTol = 1e-12;

AttitudeRotation Attitude(double bank, double pitch, double heading) {
  return {std::sin(bank), std::cos(bank), std::sin(pitch), std::cos(pitch), std::sin(heading), std::cos(heading)};
}

// Eye at (0, 0, 2) looking north and level, 10 px per degree.
ViewSetup LevelView() {
  ViewSetup v;
  v.EyeZ = 2;
  v.ViewHeadingCos = 1;
  v.ViewDepressionCos = 1;
  v.ViewRollCos = 1;
  v.PixelsPerRadian = 573;
  return v;
}

TEST(RotatePointByAttitude, HandWorkedAttitudes) {
  // Positive bank lowers the right wing.
  const double b = 0.3;
  WorkPoint wing{1, 0, 0};
  RotatePointByAttitude(Attitude(b, 0, 0), wing);
  EXPECT_NEAR(wing.X, std::cos(b), kTol);
  EXPECT_NEAR(wing.Z, -std::sin(b), kTol);
  // Bank, then pitch, then heading: banked 90 the right wing points down,
  // pitched up 90 that is forward, and turned to heading 90 it points east.
  WorkPoint tip{1, 0, 0};
  RotatePointByAttitude({1, 0, 1, 0, 1, 0}, tip);
  EXPECT_NEAR(tip.X, 1, kTol);
  EXPECT_NEAR(tip.Y, 0, kTol);
  EXPECT_NEAR(tip.Z, 0, kTol);
}

TEST(ProjectPointToView, OffsetPointAndRolledView) {
  // 1 m right and 1 m up at 10 m: atan(0.1) each way, screen Y downwards.
  ViewSetup v = LevelView();
  ProjectionResult r;
  WorkPoint off{1, 10, 3};
  ProjectPointToView(v, off, r);
  EXPECT_NEAR(r.ProjX, std::atan(0.1) * 573, 1e-9);
  EXPECT_NEAR(r.ProjY, -std::atan(0.1) * 573, 1e-9);
  // With the view rolled 90 degrees a point above the line of sight moves left.
  v.ViewRollSin = 1;
  v.ViewRollCos = 0;
  WorkPoint above{0, 10, 2 + 10 * std::tan(0.1)};
  ProjectPointToView(v, above, r);
  EXPECT_NEAR(r.ProjX, -0.1 * 573, 1e-9);
}

TEST(ProjectPointToView, BehindAtAndBelowTheEye) {
  const ViewSetup v = LevelView();
  ProjectionResult r;
  WorkPoint at{0, 0, 2};  // no division at the eye itself
  ProjectPointToView(v, at, r);
  EXPECT_EQ(r.ProjDistance, 0);
  EXPECT_EQ(r.ProjAzimuth, 0);

  WorkPoint behindRight{0.1, -5, 2};
  ProjectPointToView(v, behindRight, r);
  EXPECT_EQ(r.ProjAzimuth, 3.1415926);  // the program's constant, not pi
  EXPECT_EQ(r.ProjX, 3.1415926 * 573);

  // Below the water the point is measured where it meets the surface.
  WorkPoint under{0, 10, -5};
  ProjectionResult surface;
  WorkPoint onSurface{0, 10, 0};
  ProjectPointToView(v, under, r);
  ProjectPointToView(v, onSurface, surface);
  EXPECT_EQ(under.Z, -7);
  EXPECT_EQ(r.ProjDistance, surface.ProjDistance);
  EXPECT_EQ(r.ProjElevation, surface.ProjElevation);
}

}  // namespace
}  // namespace zarv::model
