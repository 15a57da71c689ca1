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

// The camera 1 m up, the aircraft 30 m north at 31.5 m with a body 1 m
// high: the line of sight aims half the body lower, 31 m above the camera,
// 0.8018 rad up and 43.14 m long; the horizon 0.8018 x 573 px below the
// centre row.
TEST_F(ReplayCamera, DepressionDistanceAndHorizonForAWorkedPosition) {
  ReplayFixture f;
  f.Aircraft.BodyHeight = 1.0;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  for (int32_t i = 0; i < flight::kRecordCapacity; ++i) f.Record.Row(i).Height = 31.5;
  f.Record.Row(100).North = 30;
  f.Aim(100);
  EXPECT_NEAR(p.State.ViewDepression, -0.80179, 1e-5);
  EXPECT_NEAR(p.State.CameraDistance, 43.1393, 1e-4);
  Surface picture(660, 480);
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, 699);

  // Looking up steeply with a large zoom puts the horizon 480 px below the
  // centre row, looking down 480 px above it.
  p.State.ViewZoom = 10;
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, 720);
  p.State.ViewDepression = 0.5;
  p.Background(picture, nullptr);
  EXPECT_EQ(p.State.HorizonScreenY, -240);
  // In the wireframe view the horizon is a line in light blue on black.
  p.State.WireframeBackground = 1;
  p.State.ViewZoom = 1;
  p.State.ViewDepression = 0;
  p.Background(picture, nullptr);
  EXPECT_EQ(picture.Point(100, 240), Color{0xFF8800});
  EXPECT_EQ(picture.Point(100, 100), picture.BackColor());
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

// 100 m from a model 10 m long: 2 x 100^0.85 / 10 = 10.02, eight times
// that three steps up; 1 m away the base 0.2 is raised to 1; manual step 10
// is 1.5^10.
TEST_F(ReplayCamera, AutomaticAndManualZoom) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open();
  f.Camera(0, 0, 0);
  for (int32_t i = 0; i < flight::kRecordCapacity; ++i) f.Record.Row(i).Height = 1;  // level with the 1 m camera
  f.Record.Row(10).North = 100;
  f.Aim(10);
  p.ZoomStep(1000);
  EXPECT_NEAR(p.State.ViewZoom, 10.0237, 1e-4);
  p.State.AutoZoomOffset = 3;
  p.ZoomStep(1000);
  EXPECT_NEAR(p.State.ViewZoom, 80.1900, 1e-4);
  p.State.AutoZoomOffset = 0;
  f.Record.Row(10).North = 1;
  f.Aim(10);
  p.ZoomStep(1000);
  EXPECT_EQ(p.State.ViewZoom, 1.0);
  p.State.ManualZoom = true;
  p.State.ZoomIndex = 10;
  p.ZoomStep(1000);
  EXPECT_NEAR(p.State.ViewZoom, 57.6650, 1e-4);
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

TEST_F(ReplayCamera, HeightTablesCaptionsAndIndexHeldInsideItsTable) {
  // An index saved for a powered aircraft is held inside the light table.
  ReplayFixture light;
  ReplayPlayer& p = light.Open(5, 5, 12);
  EXPECT_EQ(p.State.CameraHeightIndex, 9);
  EXPECT_EQ(p.State.CameraHeight, 60.0);
  p.ChangeCameraHeight(+1);
  EXPECT_EQ(p.State.CameraHeightIndex, 9);
  const double lightHeights[] = {1, 2, 4, 6, 8, 11, 15, 20, 30, 60};
  for (int16_t i = 0; i < 10; ++i) {
    p.State.CameraHeightIndex = i;
    p.SetCameraHeight();
    EXPECT_EQ(p.State.CameraHeight, lightHeights[i]) << i;
  }
  p.State.CameraHeightIndex = 0;
  p.SetCameraHeight();
  EXPECT_EQ(p.State.CameraHeightCaption, "ｶﾒﾗ高度1m");
  ReplayFixture powered(400, 50);
  ReplayPlayer& q = powered.Open(5, 5, 3);
  EXPECT_EQ(q.State.CameraHeightCaption, "ｶﾒﾗ高度500m");
  const double poweredHeights[] = {1, 5, 15, 500, 1500, 3000, 4500, 6000, 9000, 12000, 15000, 20000, 25000, 30000};
  for (int16_t i = 0; i < 14; ++i) {
    q.State.CameraHeightIndex = i;
    q.SetCameraHeight();
    EXPECT_EQ(q.State.CameraHeight, poweredHeights[i]) << i;
  }
  for (int i = 0; i < 20; ++i) q.ChangeCameraHeight(+1);
  EXPECT_EQ(q.State.CameraHeightIndex, 13);
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
  EXPECT_NEAR(p.State.CameraX, -2.66, 0.005);  // 9 m off, 0.3 rad left of north
  EXPECT_NEAR(p.State.CameraY, 8.60, 0.005);
  EXPECT_EQ(p.State.CameraHeightIndex, 5);  // launch height 10 m
  const double x0 = p.State.CameraX, y0 = p.State.CameraY;
  // 57.3 pixels below the centre row: 0.1 rad down from the 11 m camera,
  // the water 109.6 m ahead.
  p.ClickView(320, 240 + 57.3);
  EXPECT_NEAR(p.State.CameraY - y0, 109.63, 0.01);
  EXPECT_NEAR(p.State.CameraX, x0, 1e-9);
  // Just below the horizon at a high zoom: no farther than the limit.
  const double x1 = p.State.CameraX, y1 = p.State.CameraY;
  p.State.ViewZoom = 1000;
  p.ClickView(320, 241);
  EXPECT_NEAR(p.State.CameraY - y1, 1000000, 1e-6);
  EXPECT_NEAR(p.State.CameraX, x1, 1e-6);
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
