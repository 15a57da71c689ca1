// The posed model: control surfaces, nozzle ring and fins as recorded, seen
// level from the ground camera so that body offsets show as view offsets.
#include <gtest/gtest.h>

#include <cmath>

#include "replay/replay_fixture.h"
#include "program_test.h"

namespace zarv::replay {
namespace {

class ReplayModel : public zarv::testing::ProgramTest {};

using testing::ReplayFixture;

struct ModelFixture : ReplayFixture {
  explicit ModelFixture(double launchSpeed) : ReplayFixture(100, launchSpeed) {
    // One chord of 1 m at station 4 and 5, trailing edge at Y 0.
    for (int s = 0; s < 9; ++s) {
      for (int p = 0; p < 8; ++p) {
        Outline.WingX(s, p) = 0.5 * s;
        Outline.WingY(s, p) = p / 7.0;
      }
    }
    // A fin section with its trailing edge 0.5 m behind point 1.
    for (int s = 6; s < 12; ++s) {
      Outline.TailY(s, 0) = -0.5;
      Outline.TailY(s, 1) = 0;
      Outline.TailZ(s, 0) = 1;
    }
    // A nozzle ring of radius 0.3 m.
    for (int p = 0; p < 12; ++p) {
      const double a = (30 * p + 15) / 57.3;
      Outline.NacelleX(10, p) = 0.3 * std::sin(a);
      Outline.NacelleZ(10, p) = 0.3 * std::cos(a);
    }
    Open(0, -50, 5);
    Camera(0, -50, 5);  // 11 m camera, the model 50 m north at 10 m
  }
  const model::ModelScene& Placed(double position) {
    Aim(position);
    Player->PlaceModel();
    return model::Scene();
  }
};

TEST_F(ReplayModel, AileronsMoveTheTrailingEdgesOppositeWays) {
  ModelFixture f(50);
  const model::ModelScene& sc = f.Placed(10);
  const double rightZ = sc.WingRightView(4, 0).ViewZ, leftZ = sc.WingLeftView(4, 0).ViewZ;
  f.Record.Row(10).AileronDeg = 10;
  f.Placed(10);
  EXPECT_NEAR(sc.WingRightView(4, 0).ViewZ - rightZ, std::sin(10 / 57.0), 1e-9);
  EXPECT_NEAR(sc.WingLeftView(4, 0).ViewZ - leftZ, -std::sin(10 / 57.0), 1e-9);
  // The flaps (stations 2, 3) do not move with the ailerons.
  f.Record.Row(10).AileronDeg = 0;
  f.Placed(10);
  EXPECT_NEAR(sc.WingRightView(4, 0).ViewZ, rightZ, 1e-12);
}

TEST_F(ReplayModel, LightAircraftNozzleRingCollapsesToItsCentre) {
  ModelFixture f(5);
  const model::ModelScene& sc = f.Placed(10);
  for (int p = 1; p < 12; ++p) {
    EXPECT_NEAR(sc.NacelleRightView(10, p).ViewX, sc.NacelleRightView(10, 0).ViewX, 1e-12);
    EXPECT_NEAR(sc.NacelleRightView(10, p).ViewZ, sc.NacelleRightView(10, 0).ViewZ, 1e-12);
  }
  // Fully open, the ring has its stored radius.
  f.Record.Row(10).NozzleOpening = 100;
  f.Placed(10);
  EXPECT_NEAR(sc.NacelleRightView(10, 0).ViewZ - sc.NacelleRightView(10, 6).ViewZ, 2 * 0.3 * std::cos(15 / 57.3),
              1e-3);
}

TEST_F(ReplayModel, FinsTurnAsRudderOrWholeFinByAircraft) {
  // Powered: only the trailing edge turns, by FinAngle / 25.
  ModelFixture powered(50);
  powered.Record.Row(10).FinAngle = 10;
  const model::ModelScene& sc = powered.Placed(10);
  EXPECT_NEAR(sc.TailView(6, 0).ViewX - sc.TailView(6, 1).ViewX, -0.5 * std::sin(0.4), 1e-9);
  // Light with a single fin: the whole fin turns by FinAngle / 57.0 about its hinge.
  ModelFixture light(5);
  light.Record.Row(10).FinAngle = 10;
  const model::ModelScene& lc = light.Placed(10);
  EXPECT_NEAR(lc.TailView(6, 0).ViewX - lc.TailView(6, 1).ViewX, -0.5 * std::sin(10 / 57.0), 1e-9);
}

TEST_F(ReplayModel, AFlightPathPassingBehindTheCameraDrawsNoSegmentToIt) {
  ReplayFixture f;  // due north at 10 m: the path runs over a 6 m camera
  ReplayPlayer& p = f.Open(0, 100, 3);
  f.Aim(300);  // the aircraft 50 m beyond the camera, half the path behind it
  p.PlaceModel();
  p.TrailPoints();
  Surface picture(660, 480);
  p.PaintModel(picture);
  const model::PolygonList& list = model::Polygons();
  int drawn = 0, offPicture = 0;
  for (int m = 1; m < list.PolyCount; ++m) {
    const auto k = static_cast<std::size_t>(m);
    if (list.PolyVertexCount[k] != 2 || list.PolyColour[k] == 0) continue;
    if (std::abs(list.PolyAzimuth[k]) >= 1.5 || std::abs(list.PolyDepression[k]) >= 1.5) continue;
    ++drawn;
    for (std::size_t v = 0; v < 2; ++v) {
      if (std::abs(list.PolyScreenX[k][v] - 320) > 1000 || std::abs(list.PolyScreenY[k][v] - 240) > 1000)
        ++offPicture;
    }
  }
  EXPECT_GT(drawn, 15);
  EXPECT_EQ(offPicture, 0);
}

}  // namespace
}  // namespace zarv::replay
