#include <gtest/gtest.h>

#include <cmath>

#include "model/companion_draw.h"
#include "platform/runtime/numeric.h"
#include "polygon_test_airframe.h"

namespace zarv::model {
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
  // Beyond the tips and between the wing and the tailplane: sky.
  ExpectSky(picture, f.ScreenOf(8.5, -0.2, testing::kBodyAxisZ));
  ExpectSky(picture, f.ScreenOf(-8.5, -0.2, testing::kBodyAxisZ));
  ExpectSky(picture, f.ScreenOf(3.0, -2.5, testing::kBodyAxisZ));
  // The tailplane behind the body.
  ExpectShaded(picture, f.ScreenOf(1.2, -4.35, testing::kBodyAxisZ));
}

TEST(CompanionDraw, DrawnOnlyWithMoreThanTenSamplesAndARecord) {
  for (const int count : {10, 11}) {
    CompanionScene f(0, 40, 50, 90, 0, 0, 50);
    f.Companion->CompanionSampleCount = count;
    Surface picture(1024, 768, kSky);
    f.Draw(picture);
    if (count == 10) {
      EXPECT_EQ(CountPainted(picture), 0);
    } else {
      EXPECT_GT(CountPainted(picture), 50);
    }
  }
  // No record yet: not placed, not painted, even with the objects on.
  CompanionScene f(0, 40, 50, 90, 0, 0, 50);
  f.Settings.RecordCount = 0;
  f.Settings.ShowObjects = 1;
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  EXPECT_EQ(CountPainted(picture), 0);
}

TEST(CompanionDraw, ReadoutForTheHeadUpDisplay) {
  CompanionScene f(0, 40, 50, 90, 0, 0, 50);
  f.Readout.PuffScreenX10 = -7;
  f.Readout.PuffScreenY10 = -7;
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  const PolygonList& l = *f.List;
  const int last = l.PolyDrawOrder[static_cast<std::size_t>(l.PolyCount - 1)];
  EXPECT_EQ(f.Readout.CameraDistance, l.PolyDepth[static_cast<std::size_t>(last)]);
  EXPECT_NEAR(f.Readout.CameraDistance, 40, 8);
  // The companion sits in the middle of the view: the marker moves onto it.
  EXPECT_NEAR(f.Readout.PuffScreenX10, 512, 150 * 1.6);
  EXPECT_NEAR(f.Readout.PuffScreenY10, 384, 150 * 1.6);

  // Far off to the side the marker is left where it was.
  CompanionScene side(-300, 200, 50, 90, 0, 0, 50);
  side.Prisms.LastPrismIndex = -1;  // the block stands in the middle
  side.Readout.PuffScreenX10 = -7;
  side.Readout.PuffScreenY10 = -7;
  Surface picture2(1024, 768, kSky);
  side.Draw(picture2);
  EXPECT_GT(side.List->PolyDrawnCount, 0);
  EXPECT_EQ(side.Readout.PuffScreenX10, -7);
  EXPECT_EQ(side.Readout.PuffScreenY10, -7);
}

TEST(CompanionDraw, EyeInsideTheCompanionPaintsNoSmears) {
  // The eye just behind the wing root, above the body: much of the aircraft
  // lies behind it.
  CompanionScene f(0, 0, 49.5, 0, 0, 0, 50.3);
  Surface picture(1024, 768, kSky);
  f.Draw(picture);
  const PolygonList& l = *f.List;
  int behind = 0;
  for (int n = 1; n < l.PolyCount; ++n) {
    const auto k = static_cast<std::size_t>(n);
    behind += l.PolyBehindEye[k];
    if (l.PolyColour[k] == 0) continue;
    for (std::size_t v = 0; v < 3; ++v) {
      EXPECT_LT(std::abs(l.PolyScreenX[k][v] - 512), 901 * 1.6) << n;
      EXPECT_LT(std::abs(l.PolyScreenY[k][v] - 384), 901 * 1.6) << n;
    }
  }
  EXPECT_GT(behind, 100);
}

// The control surfaces: with zero attitude at the eye's position the view
// points are the moved body points themselves.
struct AtOrigin : CompanionScene {
  AtOrigin() : CompanionScene(0, 0, 0, 0, 0, 0, 0) {}
  flightscreen::CompanionSample& Now() { return Companion->Samples[5]; }
  void Place() { ASSERT_TRUE(PlaceCompanion(*Companion, Settings, *Scene, Projection)); }
};

TEST(CompanionDraw, ControlSurfacesMove) {
  AtOrigin f;
  const auto& o = f.Companion->Outline;
  f.Now().CompanionFlap = 20;
  f.Now().CompanionAileron = 10;
  f.Now().CompanionNozzle = 0;
  f.Now().CompanionRudder = 10;
  f.Place();
  // Flaps down on both sides, ailerons in opposite senses (degrees / 57.0).
  const double cf = o.WingY(2, 7) - o.WingY(2, 0);
  EXPECT_NEAR(f.Scene->WingLeftView(2, 0).ViewZ, o.WingZ(2, 0) + cf * std::sin(-20 / 57.0), 1e-12);
  EXPECT_NEAR(f.Scene->WingRightView(2, 0).ViewZ, o.WingZ(2, 0) + cf * std::sin(-20 / 57.0), 1e-12);
  const double ca = o.WingY(4, 7) - o.WingY(4, 0);
  EXPECT_NEAR(f.Scene->WingRightView(4, 0).ViewZ, o.WingZ(4, 0) + ca * std::sin(10 / 57.0), 1e-12);
  EXPECT_NEAR(f.Scene->WingLeftView(4, 0).ViewZ, o.WingZ(4, 0) - ca * std::sin(10 / 57.0), 1e-12);
  // Nozzle 0: the ring closes by half its height, mirrored on the left.
  const double r = std::abs(o.NacelleZ(10, 0) - o.NacelleZ(10, 5)) / 2;
  const double a = 30 * 2 / 57.3;
  EXPECT_NEAR(f.Scene->NacelleRightView(10, 2).ViewX, o.NacelleX(10, 2) - r * std::sin(a), 1e-12);
  EXPECT_NEAR(f.Scene->NacelleLeftView(10, 2).ViewX, -(o.NacelleX(10, 2) - r * std::sin(a)), 1e-12);
  // A light aircraft's fin turns whole by 10 / 57.3 ...
  const double fy = o.Pivots.FinHingeY;
  EXPECT_NEAR(f.Scene->TailView(7, 3).ViewY, std::cos(10 / 57.3) * o.TailY(7, 3) + fy, 1e-12);
  // ... a powered aircraft's only at its trailing edge, by 10 / 25.
  f.Settings.LaunchSpeed = 50;
  f.Now().CompanionNozzle = 100;
  f.Place();
  const double c = o.TailY(7, 0) - o.TailY(7, 1);
  EXPECT_NEAR(f.Scene->TailView(7, 0).ViewX, o.TailX(7, 0) + c * std::sin(10 / 25.0), 1e-12);
  EXPECT_NEAR(f.Scene->TailView(7, 3).ViewY, o.TailY(7, 3) + fy, 1e-12);
  EXPECT_EQ(f.Scene->NacelleRightView(10, 2).ViewZ, o.NacelleZ(10, 2));
}

TEST(CompanionDraw, TailSurfacesTurnAboutTheirHinges) {
  AtOrigin f;
  auto& o = f.Companion->Outline;
  auto& pv = o.Pivots;
  pv.FinHingeX = 0.2;
  f.Now().CompanionElevator = 10;
  f.Now().CompanionRudder = 10;
  f.Place();
  // The elevator adds both products in both lines: the trailing edge
  // (Y -0.45, Z 0 about the hinge) goes to Z = sin e * -0.45 + hinge Z.
  const double e = 10 / 57.3;
  EXPECT_NEAR(f.Scene->TailView(4, 0).ViewZ, std::sin(e) * -0.45 + pv.TailplaneHingeZ, 1e-12);
  EXPECT_NEAR(f.Scene->TailView(4, 1).ViewY,
              std::cos(e) * -0.15 + std::sin(e) * 0.03 + pv.TailplaneHingeY, 1e-12);
  // Whole fin: every point turns and the hinge X is added.
  const double r = 10 / 57.3;
  EXPECT_NEAR(f.Scene->TailView(7, 3).ViewX, o.TailX(7, 3) + std::sin(r) * o.TailY(7, 3) + 0.2, 1e-12);

  // The first fin standing beyond 1 m: still whole without a tailplane, otherwise
  // only the trailing edge swings and the hinge X stays out.
  for (int s = 6; s <= 11; ++s) {
    for (int p = 0; p < 6; ++p) o.TailX(s, p) += 2.5;
  }
  f.Settings.TailplaneArea = 0;
  f.Place();
  EXPECT_NEAR(f.Scene->TailView(7, 3).ViewX, o.TailX(7, 3) + std::sin(r) * o.TailY(7, 3) + 0.2, 1e-12);
  f.Settings.TailplaneArea = 1;
  f.Place();
  const double c = o.TailY(7, 0) - o.TailY(7, 1);
  EXPECT_NEAR(f.Scene->TailView(7, 0).ViewX, o.TailX(7, 0) + c * std::sin(10 / 25.0), 1e-12);
  EXPECT_NEAR(f.Scene->TailView(7, 0).ViewY, o.TailY(7, 1) + c * std::cos(10 / 25.0) + pv.FinHingeY, 1e-12);
  EXPECT_EQ(f.Scene->TailView(7, 3).ViewX, o.TailX(7, 3));
}

TEST(CompanionData, RecordIndexBeyondTheRecordHoldsTheLastSample) {
  AtOrigin f;
  f.Companion->Samples.back().CompanionHeading = 90;
  f.Settings.RecordCount = 70000;
  f.Place();
  EXPECT_EQ(f.Projection.Attitude.HeadingSin, std::sin(90 / 57.3));

  f.Companion->Reset();
  EXPECT_EQ(f.Companion->Samples.size(), 60004u);
  EXPECT_EQ(f.Companion->Samples.back().CompanionHeading, 0);
  EXPECT_EQ(f.Companion->CompanionSampleCount, 0);
  EXPECT_EQ(f.Companion->Outline.WingX(3, 3), 0);
}

}  // namespace
}  // namespace zarv::model
