// The last two steps of a polygon build: each polygon's sun-lit fill colour
// (or 0: not drawn), then the painter's order, farthest first.
#pragma once

#include <cstdint>

#include "model/polygon_list.h"

namespace zarv::model {

struct ShadingInputs {
  // sin/cos of minus the sun's bearing, sin/cos of its height.
  double SunHeadingSin = 0.0;
  double SunHeadingCos = 0.0;
  double SunElevationSin = 0.0;
  double SunElevationCos = 0.0;
  // The drawn aircraft's flight direction, set by the replay; all 0 in the
  // cockpit view, which so never shows a heating glow.
  double AirflowHeadingSin = 0.0;
  double AirflowHeadingCos = 0.0;
  double AirflowElevationSin = 0.0;
  double AirflowElevationCos = 0.0;
  int16_t SkinTemperature = 0;  // K

  // The sun's four values from its bearing (clockwise from north) and its
  // height above the horizon, radians.
  void SetSun(double azimuth, double elevation);
};

// The fill colour (&HBBGGRR) of a face with unit normal (nx, ny, nz) in world
// axes. mark is the builder's colour mark (0 for a nozzle cell), glow its
// engine glow.
int32_t ShadeColour(const ShadingInputs& in, double nx, double ny, double nz, int32_t mark,
                    float glow);

// Colours every polygon of the list; 0 for those out of view (on their mean
// angles), turned away, degenerate or left out by the build. viewHeading and
// viewDepression are the line of sight (radians).
void ShadePolygons(const ShadingInputs& in, double viewHeading, double viewDepression,
                   PolygonList& list);

// Writes the drawing order: groups by decreasing distance, then inside each
// group its polygons by decreasing depth; ties keep the lower number first.
void OrderPolygons(PolygonList& list);

}  // namespace zarv::model
