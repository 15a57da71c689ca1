#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "model/polygon_shade.h"
#include "model/triangulate.h"
#include "polygon_test_airframe.h"

namespace zarv::model {
namespace {

constexpr int32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

TEST(PolygonShade, ColoursOfKnownNormals) {
  const ShadingInputs in = testing::StandardShading();
  const int32_t grey = PolygonList::kDefaultColour;
  EXPECT_EQ(ShadeColour(in, 0, 0, 1, grey, 0), 0xCFCFA2);
  EXPECT_EQ(ShadeColour(in, 0, 0, -1, grey, 0), Rgb(90, 114, 114));
  EXPECT_EQ(ShadeColour(in, 0, 1, 0, grey, 0), Rgb(70, 89, 89));
  // Nozzle interiors: a fixed dark colour, or the glow (clipped at 255).
  EXPECT_EQ(ShadeColour(in, 0, 0, 1, 0, 0), 0x3B4033);
  EXPECT_EQ(ShadeColour(in, 0, 0, 1, 0, 1.0f), Rgb(255, 255, 237));
  EXPECT_EQ(ShadeColour(in, 0, 0, 1, 0, 0.5f), Rgb(166, 166, 148));
}

// A hot skin (900 K) glows where the airflow meets the face. The face turned
// east and up, n = (0.6, 0, 0.8), takes 0.7 x 0.7518 of the sun: (144, 183,
// 183). Flying east, level (h = 0.6), climbing at atan(4/3) straight into
// it (h = 1), diving at 1.2 rad (h < 0, no glow): red gains 200 h / 2,
// green 200 h / 9 and blue 200 h / 18.
TEST(PolygonShade, HotFaceAtThreeAirflowAngles) {
  ShadingInputs in = testing::StandardShading();
  in.SkinTemperature = 900;
  in.AirflowHeadingSin = -1;  // sin of minus the heading, east
  in.AirflowHeadingCos = 0;
  const struct {
    double Elevation;
    int32_t Colour;
  } cases[] = {{0, Rgb(204, 196, 190)}, {std::atan2(0.8, 0.6), Rgb(244, 205, 194)}, {-1.2, Rgb(144, 183, 183)}};
  for (const auto& c : cases) {
    in.AirflowElevationSin = std::sin(c.Elevation);
    in.AirflowElevationCos = std::cos(c.Elevation);
    EXPECT_EQ(ShadeColour(in, 0.6, 0, 0.8, PolygonList::kDefaultColour, 0), c.Colour) << c.Elevation;
  }
}

// A list with one triangle whose vertices are given eye-relative.
struct OneTriangle {
  std::unique_ptr<PolygonList> List = std::make_unique<PolygonList>();
  OneTriangle(ViewPoint a, ViewPoint b, ViewPoint c) {
    List->ClearForBuild();
    List->GroupCount = 1;
    EmitTriangle(*List, a, b, c);
    List->CloseGroup(1);
  }
  int32_t Shade(double viewHeading = 0, double viewDepression = 0) {
    ShadePolygons(testing::StandardShading(), viewHeading, viewDepression, *List);
    return List->PolyColour[1];
  }
};

ViewPoint At(double x, double y, double z, double azimuth = 0, double depression = 0) {
  return {x, y, z, 100, 100, std::sqrt(x * x + y * y + z * z), azimuth, depression};
}

TEST(PolygonShade, FacingCullAndLeftOutPolygons) {
  // Upright wall 10 m north, its face turned south towards the eye.
  const ViewPoint a = At(0, 10, 1), b = At(1, 10, 0), c = At(-1, 10, 0);
  EXPECT_NE(OneTriangle(a, b, c).Shade(), 0);
  // The same wall wound the other way faces away.
  EXPECT_EQ(OneTriangle(a, c, b).Shade(), 0);
  // Two equal vertices: no normal.
  EXPECT_EQ(OneTriangle(a, a, c).Shade(), 0);
  // Screen point (0, 0) at vertex 0 marks a polygon left out.
  ViewPoint out = a;
  out.ScreenX = out.ScreenY = 0;
  EXPECT_EQ(OneTriangle(out, b, c).Shade(), 0);
}

TEST(PolygonShade, AngularCullKeepsExactlyOnePointFive) {
  for (const double azimuth : {1.5, 1.5000001}) {
    OneTriangle t(At(0, 10, 1), At(1, 10, 0), At(-1, 10, 0));
    t.List->PolyAzimuth[1] = azimuth;
    EXPECT_EQ(t.Shade() != 0, azimuth == 1.5);
  }
}

TEST(PolygonShade, TriangleReachingBehindTheEyeIsDrawnUnlessItsMeanLeavesTheView) {
  // Two corners ahead, one behind it with its azimuth thrown to -3.1415926:
  // the mean stays inside the view and the face is turned to the eye, so it
  // is drawn, running off the picture.
  const ViewPoint a = At(0, 10, 1, 0, -0.1);
  const ViewPoint b = At(1, 10, 0, 0.1, 0);
  OneTriangle reaching(a, b, At(-1, -10, 0, -3.1415926, 0));
  EXPECT_LT(std::abs(reaching.List->PolyAzimuth[1]), 1.5);
  EXPECT_NE(reaching.Shade(), 0);
  // A corner straight behind the eye has both angles 0.
  EXPECT_NE(OneTriangle(a, b, At(-1, -10, 0, 0, 0)).Shade(), 0);
  // Two corners thrown behind pull the mean out of the view: culled.
  EXPECT_EQ(OneTriangle(a, At(1, -10, 0, 3.1415926, 0), At(-1, -10, 0, 3.1415926, 0)).Shade(), 0);
}

TEST(PolygonOrder, FartherGroupsFirstTiesToTheLowerNumber) {
  auto list = std::make_unique<PolygonList>();
  list->ClearForBuild();
  list->GroupCount = 1;
  const ViewPoint p = At(0, 10, 0);
  // Group 1: depths 5, 7, 7; group 2: empty; group 3: 1; group 4: 2, 9.
  const double groupDistance[] = {20, 50, 20, 30};
  const std::vector<std::vector<double>> depths = {{5, 7, 7}, {}, {1}, {2, 9}};
  for (std::size_t g = 0; g < 4; ++g) {
    for (const double d : depths[g]) {
      const int n = EmitTriangle(*list, p, p, p);
      list->PolyDepth[static_cast<std::size_t>(n)] = d;
    }
    list->CloseGroup(groupDistance[g]);
  }
  list->GroupCount = static_cast<int16_t>(list->GroupCount - 1);
  OrderPolygons(*list);
  const std::vector<int> groups(list->GroupDrawOrder.begin() + 1, list->GroupDrawOrder.begin() + 5);
  EXPECT_EQ(groups, (std::vector<int>{2, 4, 1, 3}));
  const std::vector<int> polys(list->PolyDrawOrder.begin() + 1, list->PolyDrawOrder.begin() + 7);
  EXPECT_EQ(polys, (std::vector<int>{6, 5, 2, 3, 1, 4}));
}

}  // namespace
}  // namespace zarv::model
