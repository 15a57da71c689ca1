#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "model/polygon_build.h"
#include "model/tail_triangulate.h"
#include "model/triangulate.h"
#include "view/companion_scene.h"

namespace zarv::view {
namespace {

using testing::CompanionScene;
using namespace zarv::model;
using namespace zarv::model::testing;

// Every list position and group appears once in the drawing orders, and the
// groups cover the list without gaps.
void ExpectConsistent(const PolygonList& list) {
  ASSERT_GE(list.GroupCount, 1);
  EXPECT_EQ(list.GroupLastPoly[0], 0);
  EXPECT_EQ(list.GroupLastPoly[static_cast<std::size_t>(list.GroupCount)], list.PolyCount - 1);
  std::set<int> polys(list.PolyDrawOrder.begin() + 1, list.PolyDrawOrder.begin() + list.PolyCount);
  std::set<int> groups(list.GroupDrawOrder.begin() + 1, list.GroupDrawOrder.begin() + list.GroupCount + 1);
  EXPECT_EQ(static_cast<int>(polys.size()), list.PolyCount - 1);
  EXPECT_EQ(static_cast<int>(groups.size()), list.GroupCount);
  EXPECT_EQ(*polys.begin(), 1);
  EXPECT_EQ(*polys.rbegin(), list.PolyCount - 1);
}

BuildSettings SettingsFor(const CompanionScene& f, DrawMode mode) {
  BuildSettings b;
  b.Mapping = {mode, f.Settings.ViewCentreX, f.Settings.ViewCentreY, f.Settings.ScreenScale};
  b.CompanionSampleCount = f.Companion->CompanionSampleCount;
  b.LaunchSpeed = f.Settings.LaunchSpeed;
  b.ViewHeading = f.Settings.ViewHeading;
  b.ViewDepression = f.Settings.ViewDepression;
  b.Shading = f.Settings.Shading;
  return b;
}

// The companion placed 40 m ahead, seen from the side, with the prism.
struct PlacedScene : CompanionScene {
  PlacedScene() : CompanionScene(0, 40, 50, 90, 0, 0, 50) {
    PlaceCompanion(*Companion, Settings, *Scene, Projection);
    ProjectPrisms(Prisms, Settings.ViewCentreX, Settings.ViewCentreY, *Scene, Projection);
  }
  void Build(const BuildSettings& b) { BuildAircraftPolygons(b, Prisms, *Scene, Projection, *List); }
};

// Settings that draw the scenery prism alone in the cockpit view.
BuildSettings PrismOnly(const CompanionScene& f) {
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionSampleCount = 0;
  b.ShowObjects = 1;
  return b;
}

TEST(PolygonBuild, PrismWallsAndTrails) {
  PlacedScene f;
  f.Build(PrismOnly(f));
  // Four walls of two triangles and a roof of two, five groups; the second
  // triangle of each wall lies 1 mm farther and is drawn first.
  EXPECT_EQ(f.List->PolyCount, 11);
  EXPECT_EQ(f.List->GroupCount, 5);
  ExpectConsistent(*f.List);
  const auto& order = f.List->PolyDrawOrder;
  for (std::size_t a = 1; a < 9; a += 2) {
    EXPECT_EQ(f.List->PolyDepth[a + 1], f.List->PolyDepth[a] + 0.001);
    EXPECT_LT(std::find(order.begin() + 1, order.begin() + 11, a + 1), std::find(order.begin() + 1, order.begin() + 11, a));
  }
  // Objects off, no companion: nothing to draw.
  auto b = PrismOnly(f);
  b.ShowObjects = 0;
  f.Build(b);
  EXPECT_EQ(f.List->PolyCount, 1);
  // The companion placed: its 24 groups and the prism's 5.
  b = SettingsFor(f, DrawMode::Flight);
  b.CompanionPlaced = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 5);
  ExpectConsistent(*f.List);
  // A companion not placed this frame stays out.
  b.CompanionPlaced = false;
  b.ShowObjects = 1;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 5);
  // The replay's trail: 51 segments of two grey points, or two wing-tip
  // lines of 25.
  b = SettingsFor(f, DrawMode::Replay);
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 51 + 5);
  ExpectConsistent(*f.List);
  const auto segment = static_cast<std::size_t>(f.List->GroupLastPoly[24] + 1);
  EXPECT_EQ(f.List->PolyVertexCount[segment], 2);
  EXPECT_EQ(f.List->PolyColour[segment], RGB(170, 170, 170));
  b.VortexLinesSelected = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 50 + 5);
}

// The tailplane halves and the two fins: 100 triangles in 6 groups, each
// fin's end cap a fan of two, whether or not their points coincide.
TEST(PolygonBuild, TailAndFinsAlwaysAddOneHundredTrianglesInSixGroups) {
  for (const bool collapsed : {false, true}) {
    PlacedScene f;
    if (collapsed) f.Scene->TailView = TailViewGrid{};  // every point coincides
    f.List->ClearForBuild();
    f.List->GroupCount = 1;
    PartBuildContext c{*f.List, *f.Scene, f.Projection, {DrawMode::Flight, 512, 384, 1.6}};
    AddLeftTailplanePolygons(c);
    EXPECT_EQ(f.List->PolyCount, 25);
    AddRightTailplanePolygons(c);
    AddFinPolygons1(c);
    AddFinPolygons2(c);
    EXPECT_EQ(f.List->PolyCount, 101) << collapsed;
    EXPECT_EQ(f.List->GroupCount, 7) << collapsed;
    EXPECT_EQ(f.List->GroupLastPoly[4] - f.List->GroupLastPoly[3], 2);
    EXPECT_EQ(f.List->GroupLastPoly[6] - f.List->GroupLastPoly[5], 2);
  }
}

TEST(PolygonBuild, EmptyOutlineStillClosesEveryGroup) {
  // An outline of zeros: every body and nacelle edge is degenerate; the wing
  // is never tested and gives 80 triangles a side; the tail its 100.
  PlacedScene f;
  f.Companion->Outline = model::CompanionOutline{};
  PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection);
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionPlaced = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 5);
  EXPECT_EQ(f.List->PolyCount - 1, 160 + 100 + 10);
}

TEST(PolygonBuild, CapacitiesStopAppending) {
  // Every prism table slot in use, and an index beyond the table.
  PlacedScene f;
  for (int i = 0; i < SceneryPrismSet::kMaxPrisms; ++i) {
    SceneryPrism& p = f.Prisms.Prisms[static_cast<std::size_t>(i)];
    p = f.Prisms.Prisms[0];
    p.PointCount = 20;  // more corners than a prism holds
    for (int j = 0; j < 8; ++j) {
      p.X[static_cast<std::size_t>(j)] = 20 * std::sin(j * 0.785) + i;
      p.Y[static_cast<std::size_t>(j)] = 300 + 20 * std::cos(j * 0.785);
    }
  }
  f.Prisms.LastPrismIndex = 40;
  ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
  auto b = SettingsFor(f, DrawMode::Replay);
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, PolygonList::kMaxGroups);
  ExpectConsistent(*f.List);

  // The polygon table: one open group takes at most 2000 polygons.
  f.List->ClearForBuild();
  f.List->GroupCount = 1;
  const ViewPoint p{0, 10, 0, 1, 1, 10, 0, 0};
  int appended = 0;
  for (int i = 0; i < 2100; ++i) appended += EmitTriangle(*f.List, p, p, p) > 0;
  EXPECT_EQ(appended, 2000);
  EXPECT_EQ(f.List->PolyCount, 2001);
  EXPECT_TRUE(f.List->CloseGroup(10));
  EXPECT_EQ(f.List->GroupLastPoly[1], 2000);
}

TEST(PolygonBuild, SmallPrismsAndNoZoomNeverDivide) {
  PlacedScene f;
  f.Prisms.Prisms[0].PointCount = 2;  // a wall there and back, no roof
  ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
  auto b = PrismOnly(f);
  f.Build(b);
  EXPECT_EQ(f.List->PolyCount, 5);
  EXPECT_EQ(f.List->GroupCount, 2);
  for (int g = 1; g <= 2; ++g) EXPECT_TRUE(std::isfinite(f.List->GroupDistance[static_cast<std::size_t>(g)]));

  // Zoom 0: no view limit, the walls keep their screen points.
  f.Prisms.Prisms[0].PointCount = 4;
  f.Projection.View.ViewZoom = 0;
  ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
  f.Build(b);
  EXPECT_EQ(f.List->PolyCount, 11);
  for (int n = 1; n < 11; ++n) {
    const auto k = static_cast<std::size_t>(n);
    EXPECT_FALSE(f.List->PolyScreenX[k][0] == 0 && f.List->PolyScreenY[k][0] == 0);
  }
}

TEST(PolygonBuild, PrismWallsBehindTheEyeAreHeldBack) {
  // The eye between the prism's corners: walls behind it or at the side are
  // put out of view.
  PlacedScene f;
  testing::LookFrom(f.Projection, 0, 470, 20, 0, 0, 1.6);
  ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
  f.Build(PrismOnly(f));
  ASSERT_EQ(f.List->PolyCount, 11);
  int hidden = 0;
  for (std::size_t k = 1; k < 11; ++k) {
    if (k <= 8 && std::abs(f.List->PolyAzimuth[k]) >= 2) {
      ++hidden;
      EXPECT_EQ(f.List->PolyScreenX[k], (PolygonList::ScreenVertices{0, 0, 0}));
      EXPECT_EQ(f.List->PolyColour[k], 0);
    }
  }
  EXPECT_GT(hidden, 0);
}

TEST(PolygonBuild, PrismFacesReachingBehindTheEyeAreDrawn) {
  // Right by the prism and looking down, a near face has corners behind the
  // eye, thrown about 2900 px off the centre (a corner ahead goes at most
  // 1440 px); it is still painted, running off the view.
  const struct {
    const char* Where;
    double X, Y, Z, Heading, Depression;
    std::size_t First, Last;  // its triangles in the list
  } cases[] = {
      {"3 m off the south-east wall, 4 m below its top", 7.5 + 3 * 0.47, 454 - 3 * 0.88, 36, -0.49, 0.9, 3, 4},
      {"2 m above the roof", 0, 469, 42, 0, 0.6, 10, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Where);
    PlacedScene f;
    testing::LookFrom(f.Projection, c.X, c.Y, c.Z, c.Heading, c.Depression, 1.6);
    ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
    auto b = PrismOnly(f);
    b.ViewHeading = c.Heading;
    b.ViewDepression = c.Depression;
    f.Build(b);
    ASSERT_EQ(f.List->PolyCount, 11);
    for (std::size_t k = c.First; k <= c.Last; ++k) {
      int thrown = 0;
      for (std::size_t v = 0; v < 3; ++v) {
        thrown += std::abs(f.List->PolyScreenX[k][v] - 512) > 1500 || std::abs(f.List->PolyScreenY[k][v] - 384) > 1500;
      }
      EXPECT_GT(thrown, 0) << k;
      EXPECT_NE(f.List->PolyColour[k], 0) << k;
    }
  }
}

// The replay puts its view centre 240 px down, whatever centre it is given.
TEST(PolygonBuild, ScreenMappingOfFlightAndReplay) {
  int32_t x = 0, y = 0;
  MapToScreen({DrawMode::Flight, 320, 240, 1.0}, 2.0, 10.5, -3.5, x, y);
  EXPECT_EQ(std::pair(x, y), std::pair(330, 236));  // halves to even, no zoom
  MapToScreen({DrawMode::Replay, 320, 0, 1.25}, 2.0, 10, -5, x, y);
  EXPECT_EQ(std::pair(x, y), std::pair(340, 290));
}

// ---------------------------------------------------------------- triangulation

// The companion at the origin with zero attitude, so that eye-relative view
// points are body points less the eye. Eye abeam at (eyeX, 0, 0.5).
struct AbeamScene : CompanionScene {
  explicit AbeamScene(double eyeX) : CompanionScene(0, 0, 0, 0, 0, 0, 0.5) {
    testing::LookFrom(Projection, eyeX, 0, 0.5, eyeX > 0 ? 3 * 1.5707963 : 1.5707963, 0, 1.6);
    Settings.ViewHeading = eyeX > 0 ? 3 * 1.5707963 : 1.5707963;
  }
  void Build() {
    ASSERT_TRUE(PlaceCompanion(*Companion, Settings, *Scene, Projection));
    BuildSettings b;
    b.Mapping = {DrawMode::Flight, 512, 384, 1.6};
    b.CompanionPlaced = true;
    b.CompanionSampleCount = Companion->CompanionSampleCount;
    b.ViewHeading = Settings.ViewHeading;
    b.Shading = Settings.Shading;
    Prisms.LastPrismIndex = -1;
    BuildAircraftPolygons(b, Prisms, *Scene, Projection, *List);
  }
  // Triangles of groups first..last.
  int Count(int first, int last) const {
    return List->GroupLastPoly[static_cast<std::size_t>(last)] - List->GroupLastPoly[static_cast<std::size_t>(first - 1)];
  }
  int Slot(int group) const { return List->GroupLastPoly[static_cast<std::size_t>(group - 1)] + 1; }
};

struct Normal {
  double X, Y, Z;
};

Normal NormalOf(const PolygonList& l, int slot) {
  const auto n = static_cast<std::size_t>(slot);
  const auto &x = l.PolyVertX[n], &y = l.PolyVertY[n], &z = l.PolyVertZ[n];
  const double e1x = x[1] - x[2], e1y = y[1] - y[2], e1z = z[1] - z[2];
  const double e2x = x[0] - x[1], e2y = y[0] - y[1], e2z = z[0] - z[1];
  const double nx = e1y * e2z - e1z * e2y, ny = e1z * e2x - e1x * e2z, nz = e1x * e2y - e1y * e2x;
  const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
  return len > 0 ? Normal{nx / len, ny / len, nz / len} : Normal{0, 0, 0};
}

TEST(PolygonTriangulate, MirroredGridsWindOutwardAndCullTheirBackFaces) {
  for (const double eyeX : {30.0, -30.0}) {
    AbeamScene f(eyeX);
    f.Build();
    ASSERT_EQ(f.List->GroupCount, 24);
    // Groups 1-8: body and rear body about the centre line; 9-10 the left
    // nacelle, 11-12 the right one.
    struct Part {
      int First, Last;
      double AxisX, AxisZ;
    };
    const Part parts[] = {{1, 8, 0, testing::kBodyAxisZ},
                          {9, 10, -testing::kNacelleX, testing::kNacelleZ},
                          {11, 12, testing::kNacelleX, testing::kNacelleZ}};
    int towards = 0, away = 0;
    for (const Part& part : parts) {
      for (int n = f.Slot(part.First); n <= f.List->GroupLastPoly[static_cast<std::size_t>(part.Last)]; ++n) {
        const auto k = static_cast<std::size_t>(n);
        const Normal nv = NormalOf(*f.List, n);
        const double cx = (f.List->PolyVertX[k][0] + f.List->PolyVertX[k][1] + f.List->PolyVertX[k][2]) / 3 + eyeX;
        const double cz = (f.List->PolyVertZ[k][0] + f.List->PolyVertZ[k][1] + f.List->PolyVertZ[k][2]) / 3 + 0.5;
        // Left grids (X negated) and right grids alike point out of the body.
        EXPECT_GT(nv.X * (cx - part.AxisX) + nv.Z * (cz - part.AxisZ), 0) << "slot " << n;
        // Side walls turned to the eye are drawn, those turned away are not.
        const double toEye = eyeX > 0 ? nv.X : -nv.X;
        if (toEye > 0.9) {
          EXPECT_NE(f.List->PolyColour[k], 0) << "slot " << n;
          ++towards;
        } else if (toEye < -0.9) {
          EXPECT_EQ(f.List->PolyColour[k], 0) << "slot " << n;
          ++away;
        }
      }
    }
    EXPECT_GT(towards, 20);
    EXPECT_GT(away, 20);
  }
}

TEST(PolygonTriangulate, CellsWhereOutlinesMeetAreSkipped) {
  AbeamScene plain(30), f(30);
  plain.Build();
  auto& o = f.Companion->Outline;
  // Body point (5, 1) on the wing root's point 1: row 1 of column 5 makes
  // way for row 2, which is drawn once.
  o.FrontFuselageX(5, 1) = o.WingX(0, 1);
  o.FrontFuselageY(5, 1) = o.WingY(0, 1);
  o.FrontFuselageZ(5, 1) = o.WingZ(0, 1);
  // The aft nacelle's last point on the wing root's trailing edge, and a
  // point level with the body side: both sides drop row 11 of columns 3-5
  // (6 triangles) and row 8 of columns 4-5 (4).
  o.NacelleX(7, 11) = o.WingX(0, 0);
  o.NacelleY(7, 11) = o.WingY(0, 0);
  o.NacelleZ(7, 11) = o.WingZ(0, 0);
  o.NacelleZ(4, 8) = o.FrontFuselageZ(7, 5);
  f.Build();
  // Degenerate row 3 (points 3 and 4 coincide) leaves 6 cells of 4 triangles
  // per column of the front body and open half rings of the rear body; the
  // nacelles are whole.
  EXPECT_EQ(plain.Count(1, 1), 9 * 6 * 4);
  EXPECT_EQ(plain.Count(3, 5), 4 * 6 * 2);
  EXPECT_EQ(plain.Count(9, 10), 11 * 12 * 2);
  EXPECT_EQ(plain.Count(11, 12), 11 * 12 * 2);
  EXPECT_EQ(f.Count(1, 1), plain.Count(1, 1) - 4);
  EXPECT_EQ(f.Count(9, 10), plain.Count(9, 10) - 6 - 4);
  EXPECT_EQ(f.Count(11, 12), plain.Count(11, 12) - 6 - 4);
}

// A nacelle's cells by column, 24 triangles each (column 6 between its two
// bodies is never drawn): the first and last columns keep no colour of their
// own (the nozzle's is given them), the last two carry the afterburner glow.
TEST(PolygonTriangulate, NacelleEndsStayUncolouredAndTheNozzleGlows) {
  AbeamScene f(30);
  ASSERT_TRUE(PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection));
  f.Scene->AfterburnerGlow = 0.5;
  const struct {
    int Column;
    bool Uncoloured, Glowing;
  } columns[] = {{0, true, false},  {1, false, false}, {2, false, false}, {3, false, false},
                 {4, false, false}, {5, false, false}, {7, false, false}, {8, false, false},
                 {9, false, false}, {10, false, true}, {11, true, true}};
  for (void (*add)(PartBuildContext&) : {AddLeftNacellePolygons, AddRightNacellePolygons}) {
    f.List->ClearForBuild();
    f.List->GroupCount = 1;
    PartBuildContext c{*f.List, *f.Scene, f.Projection, {DrawMode::Flight, 512, 384, 1.6}};
    add(c);
    ASSERT_EQ(f.List->PolyCount, 1 + 11 * 24);
    int n = 1;
    for (const auto& col : columns) {
      for (int t = 0; t < 24; ++t, ++n) {
        const auto k = static_cast<std::size_t>(n);
        EXPECT_EQ(f.List->PolyColour[k], col.Uncoloured ? 0 : PolygonList::kDefaultColour) << "column " << col.Column;
        EXPECT_EQ(f.List->PolyGlow[k], col.Glowing ? 0.5f : 0.0f) << "column " << col.Column;
      }
    }
  }
}

// The left halves are drawn in order of their own, mirrored, distance.
TEST(PolygonTriangulate, LeftHalvesTakeTheirDistanceMirrored) {
  AbeamScene f(30);
  f.Build();
  const OutlinePoint& w = f.Scene->Reference.Wing[0];
  EXPECT_NEAR(f.List->GroupDistance[13], std::hypot(-w.X - 30, w.Y, w.Z - 0.5), 1e-12);
  EXPECT_NEAR(f.List->GroupDistance[16], std::hypot(w.X - 30, w.Y, w.Z - 0.5), 1e-12);
}

}  // namespace
}  // namespace zarv::view
