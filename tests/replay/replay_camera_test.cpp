// The ground camera: line of sight, distance, horizon row, zoom and heights.
#include <gtest/gtest.h>

#include <cmath>

#include "replay/replay_fixture.h"
#include "program_test.h"

namespace zarv::replay {
namespace {

class ReplayCamera : public zarv::testing::ProgramTest {};

using testing::ReplayFixture;

TEST_F(ReplayCamera, BearingToTheAircraftByQuadrant) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  p.State.CameraHeight = 10;  // level with the aircraft
  const double pi = 3.1415926;
  const double cases[][3] = {{0, 100, 0}, {0, -100, pi}, {100, 0, pi / 2}, {-100, 0, 1.5 * pi}, {100, 100, pi / 4}};
  for (const auto& c : cases) {
    f.Record.Row(50).East = c[0];
    f.Record.Row(50).North = c[1];
    f.Aim(50);
    EXPECT_NEAR(p.State.ViewHeading, c[2], 1e-4) << c[0] << "," << c[1];
  }
}

TEST_F(ReplayCamera, StraightBelowTheModelTheViewKeepsItsAngles) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open(0, 50, 3);
  f.Aim(50);  // the model stands at (0, 25): looking south
  const double heading = p.State.ViewHeading, depression = p.State.ViewDepression;
  p.State.CameraY = 25;  // now exactly below it
  f.Aim(50);
  EXPECT_EQ(p.State.ViewHeading, heading);
  EXPECT_EQ(p.State.ViewDepression, depression);
  EXPECT_TRUE(std::isfinite(p.State.CameraDistance));
  // Just south of the divisor's zero the bearing comes from atan2.
  p.State.CameraY = 25.001;
  f.Aim(50);
  EXPECT_NEAR(p.State.ViewHeading, 3.1415926, 1e-6);
}

TEST_F(ReplayCamera, ZoomLimitsAndAModelOfNoSize) {
  ReplayFixture f;
  f.Aircraft.OverallLength = f.Aircraft.WingSpan = 0;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  f.Record.Row(10).North = 100;
  f.Aim(10);
  p.ZoomStep(1000);
  EXPECT_TRUE(std::isfinite(p.State.ViewZoom));
  EXPECT_GT(p.State.ViewZoom, 1.0);
  // Within half a second of the opening the picture stays unzoomed.
  p.ZoomStep(499);
  EXPECT_EQ(p.State.ViewZoom, 1.0);
  // Page Up never passes step 10, nor the automatic offset 3; Page Down not -1.
  p.State.ManualZoom = true;
  for (int i = 0; i < 12; ++i) p.ChangeZoom(+1);
  EXPECT_EQ(p.State.ZoomIndex, 10);
  p.State.ManualZoom = false;
  for (int i = 0; i < 6; ++i) p.ChangeZoom(+1);
  EXPECT_EQ(p.State.AutoZoomOffset, 3.0);
  for (int i = 0; i < 9; ++i) p.ChangeZoom(-1);
  EXPECT_EQ(p.State.AutoZoomOffset, -1.0);
}

TEST_F(ReplayCamera, HeightIndexHeldInsideItsTable) {
  // An index saved for a powered aircraft is held inside the light table.
  ReplayFixture light;
  ReplayPlayer& p = light.Open(5, 5, 12);
  EXPECT_EQ(p.State.CameraHeightIndex, 9);
  p.ChangeCameraHeight(+1);
  EXPECT_EQ(p.State.CameraHeightIndex, 9);
  ReplayFixture powered(400, 50);
  ReplayPlayer& q = powered.Open(5, 5, 3);
  for (int i = 0; i < 20; ++i) q.ChangeCameraHeight(+1);
  EXPECT_EQ(q.State.CameraHeightCaption, "ｶﾒﾗ高度30000m");
  q.State.ViewZoom = 0.9;  // a map click: height keys wait for the next zoom
  q.ChangeCameraHeight(-1);
  EXPECT_EQ(q.State.CameraHeightCaption, "ｶﾒﾗ高度30000m");
}

TEST_F(ReplayCamera, ClickOnTheViewResetsOrMovesTheCamera) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open(40, 40, 2);
  p.State.HorizonScreenY = 200;
  p.State.ViewHeading = 0;
  p.State.ViewDepression = 0;
  p.State.ViewZoom = 1;
  p.ClickView(320, 200);  // on the horizon: back to the default camera
  EXPECT_EQ(p.State.CameraHeightIndex, 5);  // launch height 10 m
  const double x0 = p.State.CameraX, y0 = p.State.CameraY;
  // 57.3 pixels below the centre row: 0.1 rad down from the 11 m camera,
  // the water 109.6 m ahead.
  p.ClickView(320, 240 + 57.3);
  EXPECT_NEAR(p.State.CameraY - y0, 109.63, 0.01);
  EXPECT_NEAR(p.State.CameraX, x0, 1e-9);
  // Just below the horizon at a high zoom: no farther than the limit.
  const double y1 = p.State.CameraY;
  p.State.ViewZoom = 1000;
  p.ClickView(320, 241);
  EXPECT_NEAR(p.State.CameraY - y1, 1000000, 1e-6);
  // Looking steeply down, a ray past straight down meets the water behind
  // the camera: 1.7 rad down, 1.43 m back, not a million metres ahead.
  const double y2 = p.State.CameraY;
  p.State.ViewZoom = 1;
  p.State.ViewDepression = 1.5;
  p.State.HorizonScreenY = -620;
  p.ClickView(320, 240 + 0.2 * 573);
  EXPECT_NEAR(p.State.CameraY - y2, -1.43, 0.01);
}

}  // namespace
}  // namespace zarv::replay
