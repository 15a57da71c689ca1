#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/polygon_build.h"
#include "model/tail_triangulate.h"
#include "platform/runtime/numeric.h"
#include "polygon_test_airframe.h"

namespace zarv::model {
namespace {

using testing::CompanionScene;

// Every list position and group appears once in the drawing orders, and the
// groups cover the list without gaps.
void ExpectConsistent(const PolygonList& list) {
  ASSERT_GE(list.PolyCount, 1);
  ASSERT_GE(list.GroupCount, 0);
  EXPECT_EQ(list.GroupLastPoly[0], 0);
  if (list.GroupCount > 0) {
    EXPECT_EQ(list.GroupLastPoly[static_cast<std::size_t>(list.GroupCount)], list.PolyCount - 1);
  }
  for (int g = 1; g <= list.GroupCount; ++g) {
    EXPECT_GE(list.GroupLastPoly[static_cast<std::size_t>(g)],
              list.GroupLastPoly[static_cast<std::size_t>(g - 1)]);
  }
  std::set<int> polys, groups;
  for (int n = 1; n < list.PolyCount; ++n) polys.insert(list.PolyDrawOrder[static_cast<std::size_t>(n)]);
  for (int n = 1; n <= list.GroupCount; ++n) groups.insert(list.GroupDrawOrder[static_cast<std::size_t>(n)]);
  EXPECT_EQ(static_cast<int>(polys.size()), list.PolyCount - 1);
  EXPECT_EQ(static_cast<int>(groups.size()), list.GroupCount);
  if (!polys.empty()) {
    EXPECT_EQ(*polys.begin(), 1);
    EXPECT_EQ(*polys.rbegin(), list.PolyCount - 1);
  }
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

TEST(PolygonBuild, PrismAloneInTheCockpitView) {
  PlacedScene f;
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionSampleCount = 0;
  b.ShowObjects = 1;
  f.Build(b);
  // Four walls of two triangles and a roof of two, five groups.
  EXPECT_EQ(f.List->PolyCount, 11);
  EXPECT_EQ(f.List->GroupCount, 5);
  ExpectConsistent(*f.List);
  // The second triangle of each wall lies 1 mm farther and is drawn first.
  for (int wall = 0; wall < 4; ++wall) {
    const auto a = static_cast<std::size_t>(1 + 2 * wall);
    EXPECT_EQ(f.List->PolyDepth[a + 1], f.List->PolyDepth[a] + 0.001);
    const auto& order = f.List->PolyDrawOrder;
    const auto posA = std::find(order.begin() + 1, order.begin() + 11, a) - order.begin();
    const auto posB = std::find(order.begin() + 1, order.begin() + 11, a + 1) - order.begin();
    EXPECT_LT(posB, posA);
  }

  // Objects off: nothing to draw; the previous groups and orders stay.
  const auto orderBefore = f.List->GroupDrawOrder;
  b.ShowObjects = 0;
  f.Build(b);
  EXPECT_EQ(f.List->PolyCount, 1);
  EXPECT_EQ(f.List->GroupCount, 5);
  EXPECT_EQ(f.List->GroupDrawOrder, orderBefore);
}

TEST(PolygonBuild, AircraftGroupsAndTrailInTheReplay) {
  PlacedScene f;
  auto b = SettingsFor(f, DrawMode::Replay);
  b.LaunchSpeed = 8;
  f.Build(b);
  // 24 aircraft groups, 51 trail segments, 5 prism groups.
  EXPECT_EQ(f.List->GroupCount, 24 + 51 + 5);
  ExpectConsistent(*f.List);
  // A trail segment: two points, grey, no angles.
  const auto k = static_cast<std::size_t>(f.List->GroupLastPoly[24] + 1);
  EXPECT_EQ(f.List->PolyVertexCount[k], 2);
  EXPECT_EQ(f.List->PolyAzimuth[k], 0.0);
  EXPECT_EQ(f.List->PolyColour[k], PolygonList::kDefaultColour);

  // Wing-tip lines, or a powered aircraft: two lines of 25 segments.
  b.VortexLinesSelected = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 50 + 5);
  b.VortexLinesSelected = false;
  b.LaunchSpeed = 10;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 50 + 5);
}

TEST(PolygonBuild, CockpitViewDrawsOnlyAPlacedCompanion) {
  PlacedScene f;
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionPlaced = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 5);
  ExpectConsistent(*f.List);

  // A short companion is never placed: its grids are old and stay out.
  b.CompanionPlaced = false;
  b.CompanionSampleCount = 5;
  b.ShowObjects = 1;
  f.Build(b);
  EXPECT_EQ(f.List->PolyCount, 11);
  EXPECT_EQ(f.List->GroupCount, 5);
}

TEST(PolygonBuild, TailAndFinsAlwaysAddOneHundredTrianglesInSixGroups) {
  for (const bool collapsed : {false, true}) {
    PlacedScene f;
    if (collapsed) f.Scene->TailView = TailViewGrid{};  // every point coincides
    f.List->ClearForBuild();
    f.List->GroupCount = 1;
    PartBuildContext c{*f.List, *f.Scene, f.Projection,
                       {DrawMode::Flight, 512, 384, 1.6}};
    AddLeftTailplanePolygons(c);
    EXPECT_EQ(f.List->PolyCount, 25);
    AddRightTailplanePolygons(c);
    AddFinPolygons1(c);
    AddFinPolygons2(c);
    EXPECT_EQ(f.List->PolyCount, 101) << collapsed;
    EXPECT_EQ(f.List->GroupCount, 7) << collapsed;
    // A fin's end cap is a group of exactly two fan triangles.
    EXPECT_EQ(f.List->GroupLastPoly[4] - f.List->GroupLastPoly[3], 2);
    EXPECT_EQ(f.List->GroupLastPoly[6] - f.List->GroupLastPoly[5], 2);
  }
}

TEST(PolygonBuild, EmptyOutlineStillClosesEveryGroup) {
  // An outline of zeros: every body and nacelle edge is degenerate; the wing
  // is never tested and gives 80 triangles a side; the tail its 100.
  PlacedScene f;
  f.Companion->Outline = flightscreen::CompanionOutline{};
  PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection);
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionPlaced = true;
  f.Build(b);
  EXPECT_EQ(f.List->GroupCount, 24 + 5);
  EXPECT_EQ(f.List->PolyCount - 1, 160 + 100 + 10);
  ExpectConsistent(*f.List);
}

TEST(PolygonBuild, NozzleCellsAreMarked) {
  // Heading north: no ring edge lies along the line of sight's Y axis.
  CompanionScene f(0, 40, 50, 0, 0, 0, 50);
  PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection);
  f.Scene->AfterburnerGlow = 0.5;
  const auto b = SettingsFor(f, DrawMode::Flight);
  // The shading turns the marks into colours; read them straight after the
  // nacelle builder.
  f.List->ClearForBuild();
  f.List->GroupCount = 1;
  PartBuildContext c{*f.List, *f.Scene, f.Projection, b.Mapping};
  AddLeftNacellePolygons(c);
  // 11 columns of 12 cells, 2 triangles each: column 0 unlit, 10 glowing,
  // 11 both.
  ASSERT_EQ(f.List->PolyCount - 1, 11 * 24);
  const std::size_t col0 = 1, col1 = 25, col10 = 9 * 24 + 1, col11 = col10 + 24;
  EXPECT_EQ(std::pair(f.List->PolyColour[col0], f.List->PolyGlow[col0]), std::pair(0, 0.0f));
  EXPECT_EQ(std::pair(f.List->PolyColour[col1], f.List->PolyGlow[col1]),
            std::pair(PolygonList::kDefaultColour, 0.0f));
  EXPECT_EQ(std::pair(f.List->PolyColour[col10], f.List->PolyGlow[col10]),
            std::pair(PolygonList::kDefaultColour, 0.5f));
  EXPECT_EQ(std::pair(f.List->PolyColour[col11], f.List->PolyGlow[col11]), std::pair(0, 0.5f));
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
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionSampleCount = 0;
  b.ShowObjects = 1;
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

TEST(PolygonBuild, PrismWallsOutOfSightAreMarked) {
  // The eye between the prism's corners: walls behind it or at the side
  // are put out of view.
  PlacedScene f;
  testing::LookFrom(f.Projection, 0, 470, 20, 0, 0, 1.6);
  ProjectPrisms(f.Prisms, 512, 384, *f.Scene, f.Projection);
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionSampleCount = 0;
  b.ShowObjects = 1;
  f.Build(b);
  ASSERT_EQ(f.List->PolyCount, 11);
  int hidden = 0;
  for (int n = 1; n <= 8; ++n) {
    const auto k = static_cast<std::size_t>(n);
    if (std::abs(f.List->PolyAzimuth[k]) >= 2) {
      ++hidden;
      EXPECT_EQ(f.List->PolyScreenX[k], (PolygonList::ScreenVertices{0, 0, 0}));
      EXPECT_EQ(f.List->PolyColour[k], 0);
    }
  }
  EXPECT_GT(hidden, 0);
  // A wall reaching behind the eye would be smeared across the view; only
  // walls wholly in front keep a colour.
  for (int n = 1; n < 11; ++n) {
    const auto k = static_cast<std::size_t>(n);
    if (f.List->PolyColour[k] == 0) continue;
    for (int v = 0; v < 3; ++v) {
      EXPECT_LT(std::abs(f.List->PolyScreenX[k][static_cast<std::size_t>(v)] - 512), 901 * 1.6);
      EXPECT_LT(std::abs(f.List->PolyScreenY[k][static_cast<std::size_t>(v)] - 384), 901 * 1.6);
    }
  }
}

TEST(PolygonBuild, PrismWallAcrossTheBackOfTheView) {
  // Corners set by hand: bottom azimuths 0.1, 0.3, 0.2, then a jump to the
  // far side; tops 0.1 rad higher.
  PlacedScene f;
  const double az[4] = {0.1, 0.3, 0.2, 0.2 + 3.1415926};
  for (std::size_t j = 0; j < 4; ++j) {
    f.Scene->PrismBottom[0][j] = {1, 50, 0, 600, 400, 50.0 + j, az[j], 0.05};
    f.Scene->PrismTop[0][j] = {1, 50, 10, 600, 300, 51.0 + j, az[j], -0.05};
  }
  auto b = SettingsFor(f, DrawMode::Flight);
  b.CompanionSampleCount = 0;
  b.ShowObjects = 1;
  f.Build(b);
  ASSERT_EQ(f.List->PolyCount, 11);
  const PolygonList& l = *f.List;
  // Wall 1 (corners 0 and 1): the plain mean of its four corners.
  EXPECT_DOUBLE_EQ(l.PolyAzimuth[3], (0.3 + 0.1 + 0.3 + 0.1) / 4);
  EXPECT_DOUBLE_EQ(l.PolyDepth[3], (51.0 + 50.0 + 52.0 + 51.0) / 4);
  EXPECT_EQ(l.PolyDepression[3], 0.0);
  // Walls 0 and 3 join corner 3: a difference of exactly 3.1415926 already
  // puts the wall at the back, out of sight.
  for (const std::size_t k : {1u, 2u, 7u, 8u}) {
    EXPECT_EQ(l.PolyAzimuth[k], 3.1415926);
    EXPECT_EQ(l.PolyScreenX[k][0], 0);
    EXPECT_EQ(l.PolyColour[k], 0);
  }
  // The roof takes plain means, with no test for the back of the view.
  EXPECT_DOUBLE_EQ(l.PolyAzimuth[10], (0.1 + 0.2 + 0.2 + 3.1415926) / 3);
  EXPECT_DOUBLE_EQ(l.GroupDistance[5], (51.0 + 52.0 + 53.0 + 51.0 + 53.0 + 54.0) / 6);
}

TEST(PolygonBuild, FinApexFollowsTheCallersScreenMapping) {
  PlacedScene f;
  f.Projection.View.ViewZoom = 2;
  // Where the first fin's apex (mirrored) projects.
  const OutlinePoint apex = f.Scene->Reference.Fins[1];
  ProjectionRecords& pr = f.Projection;
  pr.Work = {-apex.X, apex.Y, apex.Z};
  pr.Rotate();
  pr.Work = {pr.Work.X + f.Scene->ModelPosX, pr.Work.Y + f.Scene->ModelPosY, pr.Work.Z + f.Scene->ModelPosZ};
  pr.Project();
  const ProjectionResult at = pr.Result;
  for (const DrawMode mode : {DrawMode::Flight, DrawMode::Replay}) {
    f.List->ClearForBuild();
    f.List->GroupCount = 1;
    PartBuildContext c{*f.List, *f.Scene, f.Projection, {mode, 512, 300, 1.6}};
    AddFinPolygons1(c);
    // Slots 25 and 26 are the fan; its apex is vertex 0 of both.
    for (const std::size_t k : {25u, 26u}) {
      if (mode == DrawMode::Flight) {
        EXPECT_EQ(f.List->PolyScreenX[k][0], CLng(512 + at.ProjX));
        EXPECT_EQ(f.List->PolyScreenY[k][0], CLng(300 + at.ProjY));
      } else {
        EXPECT_EQ(f.List->PolyScreenX[k][0], CLng(2 * at.ProjX + 512));
        EXPECT_EQ(f.List->PolyScreenY[k][0], CLng(2 * at.ProjY + 240 * 1.6));
      }
      EXPECT_EQ(f.List->PolyDepth[k], (at.ProjDistance + f.Scene->TailView(8, k - 23).Distance +
                                       f.Scene->TailView(8, k - 22).Distance) / 3);
    }
    EXPECT_NE(f.List->PolyScreenX[25][0], 0);
  }
}

TEST(PolygonBuild, ScreenMappingOfFlightAndReplay) {
  int32_t x = 0, y = 0;
  MapToScreen({DrawMode::Flight, 320, 240, 1.0}, 2.0, 10.5, -3.5, x, y);
  EXPECT_EQ(std::pair(x, y), std::pair(330, 236));  // halves to even, no zoom
  MapToScreen({DrawMode::Replay, 320, 240, 1.25}, 2.0, 10, -5, x, y);
  EXPECT_EQ(std::pair(x, y), std::pair(340, 290));
}

}  // namespace
}  // namespace zarv::model
