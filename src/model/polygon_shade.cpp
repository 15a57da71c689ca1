#include "model/polygon_shade.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/runtime/numeric.h"

namespace zarv::model {

namespace {

constexpr double kCullAngle = 1.5;  // rad off the line of sight

int Component(double v) { return std::clamp(CheckedRound<int>(v), 0, 255); }

int32_t Pack(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// Sort key: a NaN goes last instead of breaking the ordering.
double Key(double v) { return std::isnan(v) ? -std::numeric_limits<double>::infinity() : v; }

}  // namespace

void ShadingInputs::SetSun(double azimuth, double elevation) {
  SunHeadingSin = std::sin(-azimuth);
  SunHeadingCos = std::cos(-azimuth);
  SunElevationSin = std::sin(elevation);
  SunElevationCos = std::cos(elevation);
}

int32_t ShadeColour(const ShadingInputs& in, double nx, double ny, double nz, int32_t mark,
                    float glow) {
  const double g = glow;
  if (mark == 0) {
    // Nozzle interior: its own colour, lit or not.
    return Pack(Component((0.9 * g + 0.2) * 255), Component((0.8 * g + 0.25) * 255),
                Component((0.7 * g + 0.23) * 255));
  }
  double below = -nz / 5;
  if (below < 0) below = 0;
  double sun = in.SunElevationSin * nz +
               in.SunElevationCos * (in.SunHeadingCos * ny - in.SunHeadingSin * nx);
  if (sun < 0) sun = 0;
  const double light = 0.7 * (sun + below);
  if (glow != 0.0f) {
    return Pack(Component((0.4 * (light + 0.5) + 0.8 * g) * 255),
                Component((0.5 * (light + 0.5) + 0.33 * g) * 255),
                Component((0.46 * (light + 0.5) + 0.15 * g) * 255));
  }
  int r = Component((light + 0.5) * 255 * 0.55);
  int gr = Component((light + 0.5) * 255 * 0.7);
  int b = Component((light + 0.5) * 255 * 0.7);
  // Faces into the airflow glow red, then yellow, as the skin heats up.
  double h = in.AirflowElevationSin * nz +
             in.AirflowElevationCos * (in.AirflowHeadingCos * ny - in.AirflowHeadingSin * nx);
  if (h < 0) h = 0;
  const int t = in.SkinTemperature;
  if (t > 700) {
    r = Component(r + (t - 700) * h / 2);
    gr = Component(gr + (t - 700) * h / 9);
    b = Component(b + (t - 700) * h / 18);
  }
  return Pack(r, gr, b);
}

void ShadePolygons(const ShadingInputs& in, double viewHeading, double viewDepression,
                   PolygonList& list) {
  for (int i = 1; i < list.PolyCount; ++i) {
    const auto n = static_cast<std::size_t>(i);
    int32_t& colour = list.PolyColour[n];
    if (std::abs(list.PolyAzimuth[n]) > kCullAngle || std::abs(list.PolyDepression[n]) > kCullAngle) {
      colour = 0;
      continue;
    }
    if (list.PolyVertexCount[n] != 3) continue;  // trail segments keep their grey
    const auto& vx = list.PolyVertX[n];
    const auto& vy = list.PolyVertY[n];
    const auto& vz = list.PolyVertZ[n];
    const double e1x = vx[1] - vx[2], e1y = vy[1] - vy[2], e1z = vz[1] - vz[2];
    const double e2x = vx[0] - vx[1], e2y = vy[0] - vy[1], e2z = vz[0] - vz[1];
    double nx = e1y * e2z - e1z * e2y;
    double ny = e1z * e2x - e1x * e2z;
    double nz = e1x * e2y - e1y * e2x;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0)) {
      colour = 0;
      continue;
    }
    nx /= length;
    ny /= length;
    nz /= length;
    const double h = viewHeading + list.PolyAzimuth[n];
    const double d = viewDepression + list.PolyDepression[n];
    const double facing = (nx * std::sin(h) + ny * std::cos(h)) * std::cos(d) - nz * std::sin(d);
    if (facing > 0) {
      colour = 0;
      continue;
    }
    if (list.PolyScreenX[n][0] == 0 && list.PolyScreenY[n][0] == 0) {
      colour = 0;
      continue;
    }
    colour = ShadeColour(in, nx, ny, nz, colour, list.PolyGlow[n]);
  }
}

void OrderPolygons(PolygonList& list) {
  const int groups = std::clamp<int>(list.GroupCount, 0, PolygonList::kMaxGroups);
  auto* groupOrder = list.GroupDrawOrder.data();
  for (int g = 1; g <= groups; ++g) groupOrder[g] = static_cast<int16_t>(g);
  std::sort(groupOrder + 1, groupOrder + 1 + groups, [&list](int16_t a, int16_t b) {
    const double ka = Key(list.GroupDistance[static_cast<std::size_t>(a)]);
    const double kb = Key(list.GroupDistance[static_cast<std::size_t>(b)]);
    return ka > kb || (ka == kb && a < b);
  });

  auto* polyOrder = list.PolyDrawOrder.data();
  int position = 1;
  for (int k = 1; k <= groups; ++k) {
    const int g = groupOrder[k];
    const int first = list.GroupLastPoly[static_cast<std::size_t>(g - 1)] + 1;
    const int last = std::min<int>(list.GroupLastPoly[static_cast<std::size_t>(g)], list.PolyCount - 1);
    const int start = position;
    for (int p = first; p <= last && position < PolygonList::kSlots; ++p) {
      polyOrder[position++] = static_cast<int16_t>(p);
    }
    std::sort(polyOrder + start, polyOrder + position, [&list](int16_t a, int16_t b) {
      const double ka = Key(list.PolyDepth[static_cast<std::size_t>(a)]);
      const double kb = Key(list.PolyDepth[static_cast<std::size_t>(b)]);
      return ka > kb || (ka == kb && a < b);
    });
  }
}

}  // namespace zarv::model
