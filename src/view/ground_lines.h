// Six short white lines lying across the line of flight on the water ahead,
// evenly spaced over the ground, that stream towards the pilot: a sense of
// height and speed over the featureless lake.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/surface.h"
#include "view/sky_ground.h"

namespace zarv::view {

// Screen coordinates of projected line ends, shared by the frame's drawing:
// 0..5 ground lines, 6..25 shore, 29..39 pylons (foot in 1, top in 2); the
// deck lettering uses the first twelve as a buffer.
struct ScreenLines {
  static constexpr int kCount = 40;
  std::array<int32_t, kCount> X1{}, Y1{}, X2{}, Y2{};
};

struct GroundLineInputs {
  ViewGeometry View;
  double Altitude = 0.0;
  double CourseDistance = 0.0;
  double TrackOdometer = 0.0;  // m over the ground since last at 213 m or higher
  double EyeHeight = 0.0;
  double LaunchSpeed = 0.0;
  int16_t HorizonRefX = 0, HorizonRefY = 0;
};

// Draws the lines (white) when -10 < Altitude < 213 and past the platform
// edge. A coordinate whose angle reaches 1.57 rad keeps its previous value,
// and its line is not drawn.
// Returns the number of lines drawn.
int DrawGroundLines(const GroundLineInputs& in, ScreenLines& lines, Surface& picture);

}  // namespace zarv::view
