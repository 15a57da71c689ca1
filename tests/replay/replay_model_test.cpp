// The posed model as recorded, seen level from the ground camera so that
// body offsets show as view offsets, and its trail.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "flight/flight_load.h"
#include "flight/loop_fixture.h"
#include "replay/replay_fixture.h"
#include "program_test.h"

namespace zarv::replay {
namespace {

class ReplayModel : public zarv::testing::ProgramTest {};

using testing::ReplayFixture;

// A wing of one 1 m chord at each station (trailing edge at Y 0), a fin
// with its trailing edge 0.5 m behind its hinge and a nozzle ring of radius
// 0.3 m, 50 m north of an 11 m camera.
struct ModelFixture : ReplayFixture {
  explicit ModelFixture(double launchSpeed) : ReplayFixture(100, launchSpeed) {
    for (int s = 0; s < 9; ++s) {
      for (int p = 0; p < 8; ++p) {
        Outline.WingX(s, p) = 0.5 * s;
        Outline.WingY(s, p) = p / 7.0;
      }
    }
    for (int s = 6; s < 12; ++s) {
      Outline.TailY(s, 0) = -0.5;
      Outline.TailZ(s, 0) = 1;
    }
    for (int p = 0; p < 12; ++p) Outline.NacelleZ(10, p) = 0.3 * std::cos((30 * p + 15) / 57.3);
    Open(0, -50, 5);
    Camera(0, -50, 5);
  }
  const model::ModelScene& Placed() {
    Aim(10);
    Player->PlaceModel();
    return model::Scene();
  }
};

TEST_F(ReplayModel, ControlSurfacesAndNozzleAsRecorded) {
  ModelFixture jet(50);
  const model::ModelScene& sc = jet.Placed();
  const double right = sc.WingRightView(4, 0).ViewZ, left = sc.WingLeftView(4, 0).ViewZ;
  // Ailerons 10 degrees: the 1 m chords' trailing edges 0.174 m up and down.
  jet.Record.Row(10).AileronDeg = 10;
  jet.Placed();
  EXPECT_NEAR(sc.WingRightView(4, 0).ViewZ - right, 0.174, 0.001);
  EXPECT_NEAR(sc.WingLeftView(4, 0).ViewZ - left, -0.174, 0.001);
  // Powered: the rudder turns by a 25th of the recorded fin angle.
  jet.Record.Row(10).FinAngle = 10;
  jet.Placed();
  EXPECT_NEAR(sc.TailView(6, 0).ViewX - sc.TailView(6, 1).ViewX, -0.5 * std::sin(0.4), 1e-9);
  // Fully open, the nozzle ring has its stored radius.
  jet.Record.Row(10).NozzleOpening = 100;
  jet.Placed();
  EXPECT_NEAR(sc.NacelleRightView(10, 0).ViewZ - sc.NacelleRightView(10, 6).ViewZ, 0.6 * std::cos(15 / 57.3), 1e-3);

  // Light with a single fin: the whole fin turns by the angle in degrees;
  // a closed nozzle ring collapses to its centre.
  ModelFixture light(5);
  light.Record.Row(10).FinAngle = 10;
  const model::ModelScene& lc = light.Placed();
  EXPECT_NEAR(lc.TailView(6, 0).ViewX - lc.TailView(6, 1).ViewX, -0.5 * std::sin(10 / 57.0), 1e-9);
  for (int p = 1; p < 12; ++p) {
    EXPECT_NEAR(lc.NacelleRightView(10, p).ViewX, lc.NacelleRightView(10, 0).ViewX, 1e-12) << p;
    EXPECT_NEAR(lc.NacelleRightView(10, p).ViewZ, lc.NacelleRightView(10, 0).ViewZ, 1e-12) << p;
  }
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

// Each trail point is the recorded place of its sample, projected: the
// flight path from sample 25 to the last (N = 100: 25 + 1.5 j, halves to
// even), or each tip's place over the last 25 samples, tip A in points 0
// to 25 and tip B in 26 to 51, held from sample 1. Every coordinate of
// every sample differs from every other.
TEST_F(ReplayModel, TrailPointsAreTheRecordedPlacesOfTheirSamples) {
  enum Line { Path, TipA, TipB };
  const struct {
    double launchSpeed;
    bool vortexChosen;
    double position;
    int point, sample;
    Line line;
  } cases[] = {
      {5, false, 30, 0, 25, Path},   {5, false, 30, 1, 26, Path},   {5, false, 30, 3, 30, Path},
      {5, false, 30, 49, 98, Path},  {5, false, 30, 50, 99, Path},  {5, false, 30, 51, 99, Path},
      {5, true, 30, 0, 30, TipA},    {5, true, 30, 25, 5, TipA},    {5, true, 30, 26, 30, TipB},
      {5, true, 30, 51, 5, TipB},    {5, true, 2.5, 0, 2, TipA},    {5, true, 2.5, 1, 2, TipA},
      {5, true, 2.5, 2, 1, TipA},    {5, true, 2.5, 25, 1, TipA},   {5, true, 2.5, 27, 2, TipB},
      {5, true, 2.5, 28, 1, TipB},   {5, true, 99, 0, 99, TipA},    {5, true, 99, 26, 99, TipB},
      {10, false, 30, 0, 30, TipA},  {10, false, 30, 26, 30, TipB}, {50, false, 30, 40, 16, TipB},
  };
  for (const auto& c : cases) {
    ReplayFixture f(100, c.launchSpeed);
    for (int k = 0; k < 100; ++k) {
      flight::FlightSample& s = f.Record.Row(k);
      s.East = -2 + 0.01 * k;
      s.Height = 10 + 0.02 * k;
      s.TipAEast = 3 + 0.01 * k, s.TipANorth = 0.5 * k - 1, s.TipAHeight = 10.5 + 0.01 * k;
      s.TipBEast = -3 - 0.01 * k, s.TipBNorth = 0.5 * k - 1.25, s.TipBHeight = 9.5 + 0.01 * k;
    }
    ReplayPlayer& p = f.Open(0, -50, 5);
    p.State.VortexLines = c.vortexChosen;
    f.Aim(c.position);
    p.TrailPoints();
    const flight::FlightSample& s = f.Record.Samples[static_cast<std::size_t>(c.sample)];
    model::WorkPoint at = c.line == Path   ? model::WorkPoint{s.East, s.North, s.Height}
                          : c.line == TipA ? model::WorkPoint{s.TipAEast, s.TipANorth, s.TipAHeight}
                                           : model::WorkPoint{s.TipBEast, s.TipBNorth, s.TipBHeight};
    model::ProjectionResult r;
    model::ProjectPointToView(model::Projection().View, at, r);
    const model::TrailPoint& t = model::Scene().ReplayTrail[static_cast<std::size_t>(c.point)];
    const std::string what = "point " + std::to_string(c.point) + " at " + std::to_string(c.position);
    EXPECT_EQ(t.Distance, r.ProjDistance) << what;
    EXPECT_EQ(t.Azimuth, r.ProjAzimuth) << what;
    EXPECT_EQ(t.Depression, -r.ProjElevation) << what;
    // At zoom 1, from the view's centre at (320, 240).
    EXPECT_EQ(t.ScreenX, std::lrint(320 + r.ProjX)) << what;
    EXPECT_EQ(t.ScreenY, std::lrint(240 + r.ProjY)) << what;
  }
}

// The shadow is drawn below 10 m only, black on the water and lighter with
// height: red, green and blue of 34, 170 and 187 times the height over
// 10 m, rounded, halves to even (9.9 m: 33.66, 168.3, 185.13; 0.5 m: 1.7,
// 8.5, 9.35).
TEST_F(ReplayModel, TheShadowBelowTenMetresInTheColourOfItsHeight) {
  const struct {
    double height;
    bool drawn;
    Color colour;
  } cases[] = {{9.9, true, RGB(34, 168, 185)}, {5, true, RGB(17, 85, 94)},  {0.5, true, RGB(2, 8, 9)},
               {0, true, RGB(0, 0, 0)},        {10, false, 0},              {12, false, 0}};
  for (const auto& c : cases) {
    ModelFixture light(5);
    light.Record.Row(10).Height = c.height;
    light.Placed();
    Surface picture(660, 480, RGB(255, 0, 255));
    light.Player->Shadow(picture);
    int shadow = 0, other = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 660; ++x) {
        const Color at = picture.Point(x, y);
        shadow += at == c.colour;
        other += at != c.colour && at != RGB(255, 0, 255);
      }
    EXPECT_EQ(shadow > 20, c.drawn) << c.height << " m: " << shadow << " pixels";
    EXPECT_EQ(other, 0) << c.height << " m";
  }
}

// The outline the flight set-up builds for an aircraft.
model::AirframeOutline OutlineOf(aircraft::AircraftData a) {
  auto s = std::make_unique<flight::FlightState>();
  auto chart = std::make_unique<flight::ModelEvaluation>();
  model::AirframeOutline o;
  EXPECT_TRUE(flight::PrepareFlightScreenLoad(a, *s, o, *chart).Accepted);
  return o;
}

// A twin jet with 1.18 m engines: fin spacing and centre of gravity choose
// between one fin, nacelles at the wing roots and wide or narrow booms.
model::AirframeOutline TwinJetOutline(double finSpacing, double cgPosition) {
  aircraft::AircraftData a = flight::testing::Powered(flight::testing::Engine::Jet);
  a.FinHalfSpacing = finSpacing / 2;
  a.CgPosition = cgPosition;
  a.EngineModel = "F110-GE129";
  return OutlineOf(a);
}

// Which triangles the model is made of: how many each part group holds.
std::vector<int> TrianglesOf(const model::AirframeOutline& outline, double launchSpeed, double headingDeg,
                             double pitchDeg, double bankDeg) {
  ReplayFixture f(100, launchSpeed);
  f.Outline = outline;
  for (int i = 0; i < 100; ++i) {
    flight::FlightSample& s = f.Record.Row(i);
    s.HeadingDeg = headingDeg;
    s.Pitch = pitchDeg;
    s.Bank = bankDeg;
    s.NozzleOpening = 100;
  }
  f.Open(0, -50, 5);
  f.Camera(-30, -40, 5);
  f.Aim(10);
  f.Player->PlaceModel();
  Surface picture(660, 480);
  f.Player->PaintModel(picture);
  const model::PolygonList& list = model::Polygons();
  std::vector<int> counts;
  for (int g = 1; g <= list.GroupCount; ++g)
    counts.push_back(list.GroupLastPoly[static_cast<std::size_t>(g)] - list.GroupLastPoly[static_cast<std::size_t>(g) - 1]);
  return counts;
}

// A face too small to show is one whose edge is short in space, wherever
// the aircraft points: east and west a flat section's edges lie along the
// north axis, and the model must not lose them there.
TEST_F(ReplayModel, TheModelIsMadeOfTheSameTrianglesAtEveryHeading) {
  struct Layout {
    std::string name;
    model::AirframeOutline outline;
    double launchSpeed;
  };
  std::vector<Layout> layouts = {{"one fin", TwinJetOutline(0, 0.27), 150},
                                 {"wing-root nacelles", TwinJetOutline(5, 0.2), 150},
                                 {"wide booms", TwinJetOutline(2.6, 0.3), 150},
                                 {"narrow booms", TwinJetOutline(6, 0.3), 150}};
  for (const std::string& name : flight::testing::SampleNames()) {
    const aircraft::AircraftData a = flight::testing::Sample(name);
    layouts.push_back({name, OutlineOf(a), a.LaunchSpeed});
  }
  for (const Layout& l : layouts) {
    // Level, and climbing in a bank.
    for (const double attitude : {0.0, 1.0}) {
      const double pitch = 7 * attitude, bank = -25 * attitude;
      const std::vector<int> north = TrianglesOf(l.outline, l.launchSpeed, 0, pitch, bank);
      int total = 0;
      for (int n : north) total += n;
      EXPECT_GT(total, 150) << l.name;
      for (const double heading : {45.0, 90.0, 180.0, 270.0}) {
        EXPECT_EQ(TrianglesOf(l.outline, l.launchSpeed, heading, pitch, bank), north)
            << l.name << " at " << heading << (attitude > 0 ? ", climbing in a bank" : ", level");
      }
    }
  }
}

}  // namespace
}  // namespace zarv::replay
