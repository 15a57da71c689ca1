#include "platform/runtime/angles.h"
#include "view/scenery.h"

namespace zarv::view {

namespace {

struct ScenePoint {
  double X, Y, Z;
};

// Points 0..28: shore (0 repeats 25), deck corners 1..4, prism corners.
constexpr ScenePoint kFixedPoints[29] = {
    {127, -93, 0},      {1.2, -6.9, 10.6},    {-6.9, -2.1, 10.0},   {-1.3, 6.9, 10.0},
    {6.9, 2.1, 10.6},   {132.3, -88.3, 0},    {250, 100, 0},        {95, 165, 0},
    {75, 165, 0},       {13, 385, 0},         {-113, 640, 0},       {7800, 18600, 0},
    {7100, 18500, 0},   {1, 21000, 0},        {-1800, 31800, 0},    {-16800, 21000, 0},
    {-13800, 9000, 0},  {-24000, -6800, 0},   {-24000, -12000, 0},  {-29000, -22500, 0},
    {-26800, -29200, 0}, {-22800, -16700, 0}, {-10000, -9300, 0},   {-3000, -3200, 0},
    {-1, -297, 0},      {127, -93, 0},        {15, 458, 0},         {0, 450, 0},
    {-15, 480, 0},
};

// Course points 29..38 before the shift; 39 (and on the small course 37, 38)
// repeat point 30.
constexpr ScenePoint kSmallCourse[8] = {
    {-1200, 0, 40},    {-1200, 535, 15},  {-1742, 938, 15}, {-2283, 625, 15},
    {-2283, -625, 15}, {-1742, -938, 15}, {-1200, -625, 15}, {-1200, 0, 40},
};
constexpr ScenePoint kLargeCourse[10] = {
    {-1200, 0, 40},     {-1200, 535, 15},   {-2071, 1126, 15},  {-3077, 1126, 15},
    {-6461, -826, 15},  {-6584, -1825, 15}, {-5860, -2523, 15}, {-2041, -1890, 15},
    {-1200, -1387, 15}, {-1200, 0, 40},
};

}  // namespace

void InitSceneGeometry(double dryMass, double launchSpeed, int engineCount, SceneGeometry& g) {
  g.SunAzimuth = 180 / kDegreesPerRadian;
  g.SunElevation = 70 / kDegreesPerRadian;
  g.Shading.SetSun(g.SunAzimuth, g.SunElevation);

  model::SceneryPrism& prism = g.Prisms.Prisms[0];
  prism = model::SceneryPrism{};
  prism.PointCount = 4;
  prism.X = {15, 0, -15, 0};
  prism.Y = {458, 450, 480, 488};
  prism.TopZ = 40;
  prism.BottomZ = 0;
  g.Prisms.LastPrismIndex = 0;

  auto put = [&](int i, const ScenePoint& p) {
    g.SceneryX[static_cast<std::size_t>(i)] = p.X;
    g.SceneryY[static_cast<std::size_t>(i)] = p.Y;
    g.SceneryZ[static_cast<std::size_t>(i)] = p.Z;
  };
  for (int i = 0; i < 29; ++i) put(i, kFixedPoints[i]);
  if (dryMass < 1000) {
    for (int k = 0; k < 8; ++k) put(kCourseFirst + k, kSmallCourse[k]);
    for (int i = 37; i <= 39; ++i) put(i, kSmallCourse[1]);
  } else {
    for (int k = 0; k < 10; ++k) put(kCourseFirst + k, kLargeCourse[k]);
    put(39, kLargeCourse[1]);
  }
  for (int i = kCourseFirst; i < kSceneryPoints; ++i) g.SceneryX[static_cast<std::size_t>(i)] += 850;
  for (int i = kCourseFirst; i < kSceneryPoints; ++i) g.SceneryY[static_cast<std::size_t>(i)] -= 340;
  if (launchSpeed < 11 && engineCount == 0) {
    for (int i = kCourseFirst; i <= 37; ++i) g.SceneryZ[static_cast<std::size_t>(i)] = 8.0;
  }
}

void SetDeckCorners(const std::array<double, 5>& outlineX, const std::array<double, 5>& outlineY,
                    SceneGeometry& g) {
  for (std::size_t i = 1; i <= 4; ++i) {
    g.SceneryX[i] = outlineX[i];
    g.SceneryY[i] = outlineY[i];
  }
}

}  // namespace zarv::view
