#include <gtest/gtest.h>

#include <cmath>

#include "model/polygon_build.h"
#include "view/companion_scene.h"

namespace zarv::view {
namespace {

using testing::CompanionScene;
using namespace zarv::model;
using namespace zarv::model::testing;

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
  EXPECT_EQ(f.Count(1, 1), plain.Count(1, 1) - 4);
  EXPECT_EQ(f.Count(9, 10), plain.Count(9, 10) - 6 - 4);
  EXPECT_EQ(f.Count(11, 12), plain.Count(11, 12) - 6 - 4);
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
