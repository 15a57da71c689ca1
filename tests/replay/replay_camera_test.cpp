// The ground camera: line of sight, distance, horizon row, zoom and heights.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime/numeric.h"
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
  auto bearing = [&](double east, double north) {
    f.Record.Row(50).East = east;
    f.Record.Row(50).North = north;
    f.Aim(50);
    return p.State.ViewHeading;
  };
  EXPECT_NEAR(bearing(0, 100), 0.0, 1e-12);
  EXPECT_NEAR(bearing(0, -100), 3.1415926, 1e-12);
  EXPECT_NEAR(bearing(100, 0), std::atan(100 / 0.001), 1e-12);
  EXPECT_NEAR(bearing(-100, 0), 6.2831852 + std::atan(-100 / 0.001), 1e-12);
  EXPECT_NEAR(bearing(100, 100), std::atan(100 / 100.001), 1e-12);
}

TEST_F(ReplayCamera, DepressionDistanceAndHorizonForAWorkedPosition) {
  ReplayFixture f;
  f.Aircraft.BodyHeight = 1.0;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);  // light index 0: 1 m camera
  for (int32_t i = 0; i < flight::kRecordCapacity; ++i) f.Record.Row(i).Height = 31.5;
  f.Record.Row(100).North = 30;
  f.Aim(100);
  // 30 m away, 31 m above the camera's 1 m (half the body height taken off).
  const double dep = std::atan((1 - 31.5 - 0.5) / 30);
  EXPECT_NEAR(p.State.ViewDepression, dep, 1e-12);
  EXPECT_NEAR(p.State.CameraDistance, 30 / std::cos(dep), 1e-9);
  Surface picture(660, 480);
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, CLng(240 - dep * 573));

  // Looking up steeply with a large zoom puts the horizon below the picture.
  p.State.ViewZoom = 10;
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, 720);
  p.State.ViewDepression = 0.5;
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, -240);
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
  EXPECT_TRUE(std::isfinite(p.State.ViewHeading));
  EXPECT_NEAR(p.State.ViewHeading, 3.1415926, 1e-6);
}

TEST_F(ReplayCamera, AutomaticAndManualZoom) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  for (int32_t i = 0; i < flight::kRecordCapacity; ++i) f.Record.Row(i).Height = 1;  // level with the 1 m camera
  f.Record.Row(10).North = 100;
  f.Aim(10);
  p.ZoomStep(1000);
  const double base = 2 * std::pow(100.0, 0.85) / 10;
  EXPECT_NEAR(p.State.ViewZoom, base, 1e-9);
  p.State.AutoZoomOffset = 3;
  p.ZoomStep(1000);
  EXPECT_NEAR(p.State.ViewZoom, 8 * base, 1e-9);
  // Within half a second of the opening the picture stays unzoomed.
  p.ZoomStep(499);
  EXPECT_EQ(p.State.ViewZoom, 1.0);
  // One metre away the base is raised to 1.
  p.State.AutoZoomOffset = 0;
  f.Record.Row(10).North = 1;
  f.Aim(10);
  p.ZoomStep(1000);
  EXPECT_EQ(p.State.ViewZoom, 1.0);
  p.State.ManualZoom = true;
  p.State.ZoomIndex = 10;
  p.ZoomStep(1000);
  EXPECT_NEAR(p.State.ViewZoom, std::pow(1.5, 10), 1e-9);
  // Page Up never passes step 10, nor the automatic offset 3.
  p.ChangeZoom(+1);
  EXPECT_EQ(p.State.ZoomIndex, 10);
  p.State.ManualZoom = false;
  for (int i = 0; i < 6; ++i) p.ChangeZoom(+1);
  EXPECT_EQ(p.State.AutoZoomOffset, 3.0);
  for (int i = 0; i < 9; ++i) p.ChangeZoom(-1);
  EXPECT_EQ(p.State.AutoZoomOffset, -1.0);
}

TEST_F(ReplayCamera, AModelOfNoSizeGetsAFiniteZoom) {
  ReplayFixture f;
  f.Aircraft.OverallLength = 0;
  f.Aircraft.WingSpan = 0;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  f.Record.Row(10).North = 100;
  f.Aim(10);
  p.ZoomStep(1000);
  EXPECT_TRUE(std::isfinite(p.State.ViewZoom));
  EXPECT_LT(p.State.ViewZoom, 20000000.0);
  EXPECT_GT(p.State.ViewZoom, 1.0);
}

TEST_F(ReplayCamera, HeightTablesCaptionsAndClampedIndex) {
  ReplayFixture light;
  ReplayPlayer& p = light.Open(5, 5, 0);
  p.State.CameraHeightIndex = 0;
  p.SetCameraHeight();
  EXPECT_EQ(p.State.CameraHeightCaption, "ｶﾒﾗ高度1m");
  // An index saved for a powered aircraft is held inside the light table.
  p.State.CameraHeightIndex = 12;
  p.SetCameraHeight();
  EXPECT_EQ(p.State.CameraHeightIndex, 9);
  EXPECT_EQ(p.State.CameraHeight, 60.0);
  p.ChangeCameraHeight(+1);
  EXPECT_EQ(p.State.CameraHeightIndex, 9);

  ReplayFixture powered(400, 50);
  ReplayPlayer& q = powered.Open(5, 5, 3);
  EXPECT_EQ(q.State.CameraHeightCaption, "ｶﾒﾗ高度500m");
  for (int i = 0; i < 20; ++i) q.ChangeCameraHeight(+1);
  EXPECT_EQ(q.State.CameraHeightIndex, 13);
  EXPECT_EQ(q.State.CameraHeightCaption, "ｶﾒﾗ高度30000m");
  q.State.ViewZoom = 0.9;  // a map click: height keys wait for the next zoom
  q.ChangeCameraHeight(-1);
  EXPECT_EQ(q.State.CameraHeightIndex, 13);
}

TEST_F(ReplayCamera, ClickOnTheViewResetsOrMovesTheCamera) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open(40, 40, 2);
  p.State.HorizonScreenY = 200;
  p.State.ViewHeading = 0;
  p.State.ViewDepression = 0;
  p.State.ViewZoom = 1;
  p.ClickView(320, 200);  // on the horizon: back to the default camera
  EXPECT_NEAR(p.State.CameraX, 9 * std::sin(-0.3), 1e-12);
  EXPECT_NEAR(p.State.CameraY, 9 * std::cos(-0.3), 1e-12);
  EXPECT_EQ(p.State.CameraHeightIndex, 5);  // launch height 10 m
  const double x0 = p.State.CameraX, y0 = p.State.CameraY;
  // 57.3 pixels below the centre row: 0.1 rad down from an 11 m camera.
  p.ClickView(320, 240 + 57.3);
  EXPECT_NEAR(p.State.CameraY - y0, 11 / std::tan(0.1), 1e-9);
  EXPECT_NEAR(p.State.CameraX, x0, 1e-9);
  // Just below the horizon at a high zoom: no farther than the limit.
  const double x1 = p.State.CameraX, y1 = p.State.CameraY;
  p.State.ViewZoom = 1000;
  p.ClickView(320, 241);
  EXPECT_NEAR(p.State.CameraY - y1, 1000000, 1e-6);
  EXPECT_NEAR(p.State.CameraX, x1, 1e-6);
  // Looking steeply down, a ray past straight down meets the water behind
  // the camera: it moves back, not a million metres ahead.
  const double y2 = p.State.CameraY;
  p.State.ViewZoom = 1;
  p.State.ViewDepression = 1.5;
  p.State.HorizonScreenY = -620;
  p.ClickView(320, 240 + 0.2 * 573);
  EXPECT_NEAR(p.State.CameraY - y2, 11 / std::tan(1.7), 1e-9);
  EXPECT_LT(p.State.CameraY, y2);
}

}  // namespace
}  // namespace zarv::replay
