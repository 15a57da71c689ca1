// Readout texts of the drawn sample for a light and a jet aircraft, the
// shadow and the camera map's click-to-position.
#include <gtest/gtest.h>

#include "replay/camera_map.h"
#include "replay/replay_fixture.h"
#include "program_test.h"

namespace zarv::replay {
namespace {

class ReplayReadouts : public zarv::testing::ProgramTest {};
class ReplayCameraMap : public zarv::testing::ProgramTest {};

using testing::ReplayFixture;

// Runs the seven readout groups on the given position.
void RunGroups(ReplayFixture& f, double position) {
  f.Player->State.ReadoutCycle = 0;
  f.Aim(position);
  for (int i = 0; i < 7; ++i) f.Player->Readouts();
}

// A light aircraft over an 11 m platform, its tail end 4 m behind the
// reference and 0.5 m above the body bottom.
void OnAnElevenMetrePlatform(ReplayFixture& f) {
  f.Aircraft.TailEndArm = 4;
  f.Aircraft.TailEndHeight = 0.5;
  f.Aircraft.LaunchHeight = 11;
}

TEST_F(ReplayReadouts, LightAircraft) {
  ReplayFixture f(400, 5);
  OnAnElevenMetrePlatform(f);
  for (int i = 0; i < 400; ++i) {
    flight::FlightSample& s = f.Record.Row(i);
    s.Height = 10 + 0.05 * i;         // climbing 1 m/s
    s.Airspeed = 8 + 0.098 * i;       // 0.98 m/s over ten samples
    s.Pitch = -12.3;
    s.WingAngleOfAttack = 61;
    s.DistanceFlown = 1.5;
    s.Track = 2 * i;
    s.HeadingDeg = 370;
  }
  f.Open(5, 5, 1);
  RunGroups(f, 100);
  const auto& L = f.Player->State.Labels;
  EXPECT_EQ(L[3], "Time 5.0Sec");
  EXPECT_EQ(L[2], "Zoom 1.00   ");
  EXPECT_EQ(L[4], "Spd 17.8m/s");
  EXPECT_EQ(L[10], "Alt 15.00m");
  EXPECT_EQ(L[7], "Ptc -12°");
  EXPECT_EQ(L[8], "AOA 61ﾟ");
  EXPECT_EQ(L[1], "0Frm/Sec");  // not measured yet
  EXPECT_EQ(L[6], "Hdg 10°");
  EXPECT_EQ(L[5], "Dist 1.5");
  EXPECT_EQ(L[9], "Clm 1.0m/s");
  EXPECT_EQ(L[11], "Acc 196gal");
  EXPECT_EQ(L[12], "G 1.000G");
  EXPECT_EQ(L[15], "Turn 40.0ﾟ/s");
  // Over the platform's last 10 m on an 11 m platform the tail-end height shows.
  ASSERT_EQ(L[18].rfind("尾端高さ", 0), 0u);
  EXPECT_TRUE(f.Player->State.ReadoutBarVisible);

  // Early in the record: climb and turn read 0, the acceleration is kept.
  RunGroups(f, 5);
  EXPECT_EQ(L[9], "Clm 0m/s");
  EXPECT_EQ(L[15], "Turn 0.0ﾟ/s");
  EXPECT_EQ(L[11], "Acc 196gal");
}

// The tail end 4 m behind and 0.5 m above the body bottom, over an 11 m
// platform whose deck falls 0.06 m a metre and stands 10 m at the edge:
// nose down 12.3 degrees the tail rises 4 sin 12.3 = 0.852 m, nose up 8
// degrees it drops 0.557 m. Past the tail end's arm nothing shows.
TEST_F(ReplayReadouts, TailEndHeightAtPitchedAttitudes) {
  const struct {
    double Pitch, Height, Distance;
    const char* Shown;
  } cases[] = {{-12.3, 10.6, 1.5, "尾端高さ1.79"}, {8, 11.2, -5.5, "尾端高さ0.57"}, {0, 10.7, 3.9, "尾端高さ1.19"}, {0, 10.7, 4, ""}};
  for (const auto& c : cases) {
    ReplayFixture f(400, 5);
    OnAnElevenMetrePlatform(f);
    for (int i = 0; i < 400; ++i) {
      flight::FlightSample& s = f.Record.Row(i);
      s.Pitch = c.Pitch;
      s.Height = c.Height;
      s.DistanceFlown = c.Distance;
    }
    f.Open(5, 5, 1);
    RunGroups(f, 100);
    EXPECT_EQ(f.Player->State.Labels[18], c.Shown) << c.Pitch;
  }
}

TEST_F(ReplayReadouts, JetAircraft) {
  ReplayFixture f(400, 150);
  f.Aircraft.EngineType = aircraft::EngineKind::Jet;
  f.Aircraft.LaunchHeight = 11000;
  for (int i = 0; i < 400; ++i) {
    flight::FlightSample& s = f.Record.Row(i);
    s.Height = 11000 + 0.05 * i;
    s.Airspeed = 148.5 + 0.098 * i;
    s.Pitch = -9.9;
    s.LoadFactor = i % 2 == 0 ? 1.0 : 2.0;
  }
  ReplayPlayer& p = f.Open(5, 5, 3);
  EXPECT_EQ(p.State.Labels[11], "GH 0.00G");
  EXPECT_EQ(p.State.Labels[12], "GV 0.0G");
  RunGroups(f, 100);
  const auto& L = p.State.Labels;
  EXPECT_EQ(L[4], "TAS 307.7kt");  // 158.3 m/s
  EXPECT_EQ(L[10], "Alt 36106ft");  // 11005 m
  EXPECT_EQ(L[7], "Ptc -9.9°");
  // Above 11000 m the air is taken at 216.5 K: 297 m/s.
  EXPECT_EQ(L[5], "Mah 0.533");
  EXPECT_EQ(L[9], "Clm 1m/s");  // 1 m/s without a decimal
  EXPECT_EQ(L[11], "Acc0.20G");
  EXPECT_EQ(L[12], "G 1.5G");
  EXPECT_EQ(L[18], "");
}

// A launch speed of exactly 10 m/s still reads in metres.
TEST_F(ReplayReadouts, LaunchSpeedOfExactlyTen) {
  ReplayFixture f(400, 10);
  f.Open(5, 5, 1);
  RunGroups(f, 50);
  EXPECT_EQ(f.Player->State.Labels[4].rfind("TAS ", 0), 0u);
  EXPECT_EQ(f.Player->State.Labels[10], "Alt 10.00m");
  EXPECT_EQ(f.Player->State.Labels[11].rfind("Acc ", 0), 0u);
}

// The shadow grows lighter with height towards red 34, green 170, blue 187
// at 10 m (9.9 m: 33.66, 168.3, 185.13; 5 m: 17, 85, 93.5 to even); on the
// water and in the wireframe view it is black.
TEST_F(ReplayReadouts, ShadowColourByHeight) {
  EXPECT_EQ(ShadowColour(9.9, false), RGB(34, 168, 185));
  EXPECT_EQ(ShadowColour(5, false), RGB(17, 85, 94));
  EXPECT_EQ(ShadowColour(0, false), RGB(0, 0, 0));
  EXPECT_EQ(ShadowColour(-1, false), RGB(0, 0, 0));
  EXPECT_EQ(ShadowColour(5, true), RGB(0, 0, 0));
}

TEST_F(ReplayCameraMap, ClickPlacesTheCameraAndTheReadoutShowsIt) {
  ReplayFixture light;
  ReplayPlayer& p = light.Open(0, 0, 1);
  p.State.CameraX = 0;
  p.State.CameraY = 0;
  Surface map(400, 380);
  const PointI cross = DrawCameraMap(p, map);  // the camera at the origin
  PlaceCameraFromMap(p, cross.x + 10, cross.y - 10);
  EXPECT_EQ(p.State.CameraX, 20.0);
  EXPECT_EQ(p.State.CameraY, 20.0);
  EXPECT_EQ(p.State.ViewZoom, 0.9);
  // Flight-path samples at or above 1 m are cyan, below it red: sample 100
  // is 50 m north of the camera, 25 pixels above the cross.
  p.State.CameraX = p.State.CameraY = 0;
  DrawCameraMap(p, map);
  EXPECT_EQ(map.Point(cross.x, cross.y - 25), RGB(0, 255, 255));
  light.Record.Row(100).Height = 0.99;
  DrawCameraMap(p, map);
  EXPECT_EQ(map.Point(cross.x, cross.y - 25), RGB(255, 0, 0));
  p.State.CameraX = -12.6;
  p.State.CameraY = 5;
  const std::string text = CameraMapReadout(p, cross.x, cross.y);
  EXPECT_EQ(text.rfind("  ｶﾒﾗ位置   x = -0013 y = 0005\n\r  ﾎﾟｲﾝﾀ位置  x = 0000 y = 0000", 0), 0u) << text;

  ReplayFixture powered(400, 50);
  ReplayPlayer& q = powered.Open(0, 0, 1);
  const PointI origin = DrawCameraMap(q, map);
  PlaceCameraFromMap(q, origin.x + 10, origin.y - 10);
  EXPECT_EQ(q.State.CameraX, 300.0);
  EXPECT_EQ(q.State.CameraY, 300.0);
}

// The map's own places, not measured from what the drawing returns: a light
// aircraft's camera at the origin stands on map pixel (270, 250), 2 m a
// pixel, north up; a powered aircraft's on (300, 200), 30 m a pixel.
TEST_F(ReplayCameraMap, WorldPointsLandOnTheWrittenMapPixels) {
  ReplayFixture light;
  ReplayPlayer& p = light.Open(0, 0, 1);
  Surface map(400, 380);
  const PointI cross = DrawCameraMap(p, map);
  EXPECT_EQ(cross.x, 270);
  EXPECT_EQ(cross.y, 250);
  // The cross's arms cover 4 pixels each way of its centre, no more.
  for (int d = -4; d <= 4; ++d) {
    EXPECT_EQ(map.Point(270 + d, 250), vbWhite) << d;
    EXPECT_EQ(map.Point(270, 250 + d), vbWhite) << d;
  }
  const Color navy = RGB(0, 0, 128);
  EXPECT_EQ(map.Point(265, 250), navy);
  EXPECT_EQ(map.Point(275, 250), navy);
  EXPECT_EQ(map.Point(270, 255), navy);  // south of the camera: no path
  // The path runs north from the camera, 0.5 m a sample: sample 100 (50 m)
  // on row 225, sample 396 (198 m) on row 151, the last, 398, half a row on.
  EXPECT_EQ(map.Point(270, 225), RGB(0, 255, 255));
  EXPECT_EQ(map.Point(270, 151), RGB(0, 255, 255));
  EXPECT_EQ(map.Point(270, 149), navy);
  EXPECT_EQ(map.Point(271, 225), navy);
  // A click on pixel (280, 240) puts the camera 20 m east and 20 m north;
  // the cross follows it there.
  PlaceCameraFromMap(p, 280, 240);
  EXPECT_EQ(p.State.CameraX, 20.0);
  EXPECT_EQ(p.State.CameraY, 20.0);
  const PointI moved = DrawCameraMap(p, map);
  EXPECT_EQ(moved.x, 280);
  EXPECT_EQ(moved.y, 240);
  EXPECT_EQ(map.Point(284, 240), vbWhite);
  EXPECT_EQ(map.Point(280, 236), vbWhite);
  EXPECT_EQ(map.Point(270, 250), RGB(0, 255, 255));  // sample 0, no longer under the cross
  // The pointer over the origin's pixel reads the origin, 28 m from the camera.
  const std::string text = CameraMapReadout(p, 270, 250);
  EXPECT_NE(text.find("  ﾎﾟｲﾝﾀ位置  x = 0000 y = 0000 ｶﾒﾗ位置とﾎﾟｲﾝﾀ位置との距離 0028"), std::string::npos) << text;

  ReplayFixture powered(400, 50);
  ReplayPlayer& q = powered.Open(0, 0, 1);
  const PointI far = DrawCameraMap(q, map);
  EXPECT_EQ(far.x, 300);
  EXPECT_EQ(far.y, 200);
  EXPECT_EQ(map.Point(304, 200), vbWhite);
  EXPECT_EQ(map.Point(300, 196), vbWhite);
  EXPECT_EQ(map.Point(305, 200), navy);
  PlaceCameraFromMap(q, 290, 215);
  EXPECT_EQ(q.State.CameraX, -300.0);
  EXPECT_EQ(q.State.CameraY, -450.0);
  const PointI farMoved = DrawCameraMap(q, map);
  EXPECT_EQ(farMoved.x, 290);
  EXPECT_EQ(farMoved.y, 215);
}

}  // namespace
}  // namespace zarv::replay
