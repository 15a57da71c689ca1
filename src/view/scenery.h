// The fixed world around the launch platform: the sun, the one scenery
// prism north of the platform, and the scenery points (deck corners, the
// lake shore, the pylon course). World metres: X east, Y north, Z up from
// the water; the platform stands at the origin.
#pragma once

#include <array>
#include <cstdint>

#include "model/polygon_list.h"
#include "model/polygon_shade.h"

namespace zarv::view {

inline constexpr int kSceneryPoints = 40;       // indices 0..39
inline constexpr int kShoreFirst = 6;           // shore segment i joins point i-1 to i
inline constexpr int kShoreLast = 25;
inline constexpr int kCourseFirst = 29;         // pylon k of the course is point 29 + k

struct SceneGeometry {
  double SunAzimuth = 0.0;    // rad, clockwise from north
  double SunElevation = 0.0;  // rad above the horizon
  model::ShadingInputs Shading;  // the sun's four values for the polygon shading
  std::array<double, kSceneryPoints> SceneryX{}, SceneryY{}, SceneryZ{};
  model::SceneryPrismSet Prisms;

  void Reset() { *this = SceneGeometry{}; }
};

// Fills the scene once per load of the flight screen. dryMass picks the
// course (below 1000 kg the small one); a light aircraft without engine
// (launchSpeed below 11, no engine) gets 8 m pylons.
void InitSceneGeometry(double dryMass, double launchSpeed, int engineCount, SceneGeometry& g);

// The deck corners (points 1..4) follow the heading; the flight loop keeps
// them in PlatformOutlineX/Y, this copies them in.
void SetDeckCorners(const std::array<double, 5>& outlineX, const std::array<double, 5>& outlineY,
                    SceneGeometry& g);

}  // namespace zarv::view
