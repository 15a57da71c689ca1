#include <gtest/gtest.h>

#include <cmath>

#include "view/companion_draw.h"
#include "view/companion_scene.h"

namespace zarv::view {
namespace {

using testing::CompanionScene;

constexpr Color kSky = 0x00FF00;  // no shaded colour is pure green

// A lit aircraft surface: green and blue equal, red at 0.55 / 0.7 of them.
void ExpectShaded(const Surface& s, PointI p) {
  const Color c = s.Point(p.x, p.y);
  ASSERT_NE(c, kSky) << p.x << "," << p.y;
  EXPECT_EQ(GreenOf(c), BlueOf(c)) << p.x << "," << p.y;
  EXPECT_NEAR(RedOf(c), GreenOf(c) * 0.55 / 0.7, 1.5) << p.x << "," << p.y;
}

void ExpectSky(const Surface& s, PointI p) { EXPECT_EQ(s.Point(p.x, p.y), kSky) << p.x << "," << p.y; }

int CountPainted(const Surface& s) {
  int n = 0;
  for (int y = 0; y < s.Height(); y += 4) {
    for (int x = 0; x < s.Width(); x += 4) n += s.Point(x, y) != kSky;
  }
  return n;
}

TEST(CompanionDraw, SideViewCoversBodyAndFins) {
  // 40 m ahead at eye height, flying east: its right side faces the eye.
  CompanionScene f(0, 40, 50, 90, 0, 0, 50);
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  EXPECT_GT(f.List->PolyDrawnCount, 100);
  // Body side halfway up, forward and aft of the wing; the right fin.
  // (The nacelle hides the lower half of the body beside the wing.)
  ExpectShaded(picture, f.ScreenOf(0.3, 1.5, testing::kBodyAxisZ));
  ExpectShaded(picture, f.ScreenOf(0.3, 0.0, testing::kBodyAxisZ + 0.3));
  ExpectShaded(picture, f.ScreenOf(0.3, -2.5, testing::kBodyAxisZ));
  ExpectShaded(picture, f.ScreenOf(testing::kFinX, -4.45, 1.3));
  // Nose points east: right of the centre; the fins left of it and higher.
  const PointI nose = f.ScreenOf(0, 2.0, testing::kBodyAxisZ);
  const PointI fin = f.ScreenOf(testing::kFinX, -4.45, 1.3);
  EXPECT_GT(nose.x, 512);
  EXPECT_LT(fin.x, 512);
  EXPECT_LT(fin.y, nose.y);
  // Clear sky above the body, ahead of the nose and far off.
  ExpectSky(picture, f.ScreenOf(0, 0.5, 3.0));
  ExpectSky(picture, f.ScreenOf(0, 3.5, testing::kBodyAxisZ));
  ExpectSky(picture, {100, 100});
  ExpectSky(picture, {1000, 700});
}

TEST(CompanionDraw, PlanViewFromAboveCoversTheWings) {
  // 40 m below the eye, nose north, the eye looking straight down.
  CompanionScene f(0, 0, 50, 0, 0, 0, 90, 0, 3.1415926 / 2);
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  const PointI right = f.ScreenOf(5.0, -0.2, testing::kBodyAxisZ + 0.05);
  const PointI left = f.ScreenOf(-5.0, -0.2, testing::kBodyAxisZ + 0.05);
  ExpectShaded(picture, right);
  ExpectShaded(picture, left);
  EXPECT_GT(right.x, 512 + 100);
  EXPECT_LT(left.x, 512 - 100);
  // Upper surfaces seen from above: the light falls on them from the sun.
  EXPECT_GT(GreenOf(picture.Point(right.x, right.y)), 180);
  // Beyond the tip and between the wing and the tailplane: sky.
  ExpectSky(picture, f.ScreenOf(8.5, -0.2, testing::kBodyAxisZ));
  ExpectSky(picture, f.ScreenOf(3.0, -2.5, testing::kBodyAxisZ));
  // The tailplane behind the body.
  ExpectShaded(picture, f.ScreenOf(1.2, -4.35, testing::kBodyAxisZ));
}

TEST(CompanionDraw, NotDrawnWithoutARecord) {
  // No record yet: not placed, not painted, even with the objects on.
  CompanionScene f(0, 40, 50, 90, 0, 0, 50);
  f.Settings.RecordCount = 0;
  f.Settings.ShowObjects = 1;
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  EXPECT_EQ(CountPainted(picture), 0);
}

TEST(CompanionDraw, NearFacesReachingBehindTheEyeAreDrawnOffThePicture) {
  // The eye just behind the wing root, above the body: much of the aircraft
  // lies behind it. The faces that reach from ahead of the eye to behind it
  // are drawn, their far corners thrown off the picture, unless they are
  // turned away or lie out of the view on average.
  CompanionScene f(0, 0, 49.5, 0, 0, 0, 50.3);
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  const PolygonList& l = *f.List;
  int reaching = 0;
  for (int n = 1; n < l.PolyCount; ++n) {
    const auto k = static_cast<std::size_t>(n);
    if (l.PolyColour[k] == 0) continue;
    EXPECT_LE(std::abs(l.PolyAzimuth[k]), 1.5) << n;
    for (std::size_t v = 0; v < 3; ++v) reaching += std::abs(l.PolyScreenX[k][v] - 512) > 901 * 1.6;
  }
  EXPECT_GT(reaching, 0);
  EXPECT_GT(CountPainted(picture), 256 * 192 / 2);  // more than half the view
}

// With zero attitude at the eye's position the view points are the body
// points themselves.
struct AtOrigin : CompanionScene {
  AtOrigin() : CompanionScene(0, 0, 0, 0, 0, 0, 0) {}
  flight::CompanionSample& Now() { return Companion->Samples[5]; }
  void Place() { ASSERT_TRUE(PlaceCompanion(*Companion, Settings, *Scene, Projection)); }
};

TEST(CompanionData, RecordIndexBeyondTheRecordHoldsTheLastSample) {
  AtOrigin f;
  f.Companion->Samples.back().CompanionHeading = 90;
  f.Settings.RecordCount = 70000;
  f.Place();
  EXPECT_EQ(f.Projection.Attitude.HeadingSin, std::sin(90 / 57.3));
}

// Each moving surface at a deflection: flaps 20, ailerons 10, elevator 12,
// rudder 10 degrees, the nozzle closed (0 %); the fin hinge 0.1 m off the
// centre plane. Worked by hand from the test airframe.
TEST(CompanionData, EachSurfaceAtADeflection) {
  AtOrigin f;
  f.Companion->Outline.Pivots.FinHingeX = 0.1;
  flight::CompanionSample& now = f.Now();
  now.CompanionFlap = 20;
  now.CompanionAileron = 10;
  now.CompanionElevator = 12;
  now.CompanionRudder = 10;
  now.CompanionNozzle = 0;
  struct Point {
    const char* What;
    const ViewPoint& At;
    double X, Y, Z;
  };
  auto expect = [](const std::vector<Point>& points) {
    for (const Point& p : points) {
      EXPECT_NEAR(p.At.ViewX, p.X, 1e-12) << p.What;
      EXPECT_NEAR(p.At.ViewY, p.Y, 1e-12) << p.What;
      EXPECT_NEAR(p.At.ViewZ, p.Z, 1e-12) << p.What;
    }
  };
  // A light aircraft's own fin, TailX(6, 0) at -1.0: the fins turn whole.
  f.Place();
  ModelScene& sc = *f.Scene;
  expect({
      {"flap, right, station 2", sc.WingRightView(2, 0), 1.2, -0.826414835777679, 0.383539005018603},
      {"flap, left, station 2", sc.WingLeftView(2, 0), -1.2, -0.826414835777679, 0.383539005018603},
      {"flap, right, station 3", sc.WingRightView(3, 0), 3, -0.710200249496443, 0.399916332437862},
      {"aileron, right, station 4", sc.WingRightView(4, 0), 3, -0.723471641225002, 0.550821946545244},
      {"aileron, left, station 4", sc.WingLeftView(4, 0), -3, -0.723471641225002, 0.449178053454756},
      {"aileron, right, station 5", sc.WingRightView(5, 0), 5, -0.591931342820456, 0.541581592627927},
      {"aileron, left, station 5", sc.WingLeftView(5, 0), -5, -0.591931342820456, 0.458418407372073},
      {"elevator, section 1 point 1", sc.TailView(1, 1), -0.8, -4.44048572315126, 0.498160034024518},
      {"elevator, section 4 point 0", sc.TailView(4, 0), 0.8, -4.74016786358237, 0.406446529357081},
      {"whole fin, section 7 point 1", sc.TailView(7, 1), -0.894727103512692, -4.49696199704922, 1.2},
      {"whole fin, section 10 point 0", sc.TailView(10, 0), 0.995818689461925, -4.89088599114767, 1.2},
      {"nozzle, right, point 3", sc.NacelleRightView(10, 3), 2.20001497464546, -1, 0.235299896543863},
      {"nozzle, left, point 3", sc.NacelleLeftView(10, 3), -2.20001497464546, -1, 0.235299896543863},
      {"nozzle, right, point 0", sc.NacelleRightView(10, 0), 2.26470010475564, -1, 0.300007488938992},
  });
  // A powered own aircraft: only the rudder's trailing edge turns, by
  // degrees / 25, and the hinge's X is not added.
  f.Settings.LaunchSpeed = 50;
  f.Place();
  expect({
      {"rudder, section 7 point 0", sc.TailView(7, 0), -1.15576733692346, -4.86842439760115, 1.2},
      {"rudder, section 7 point 1", sc.TailView(7, 1), -0.96, -4.5, 1.2},
      {"rudder, section 10 point 0", sc.TailView(10, 0), 0.84423266307654, -4.86842439760115, 1.2},
  });
}

}  // namespace
}  // namespace zarv::view
