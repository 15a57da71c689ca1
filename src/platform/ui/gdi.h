// Stand-ins for the two GDI calls the program makes on picture boxes'
// device contexts: BitBlt between surfaces and Polygon with the surface's
// pen (ForeColor, DrawWidth) and brush (FillColor, FillStyle).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/surface.h"

namespace zarv {

// A device-context point (GDI POINT).
struct PointI {
  int32_t x = 0;
  int32_t y = 0;
};

// Raster operations of BitBlt.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;    // dst = src
inline constexpr uint32_t SRCPAINT = 0x00EE0086;   // dst = dst OR src
inline constexpr uint32_t SRCAND = 0x008800C6;     // dst = dst AND src
inline constexpr uint32_t SRCINVERT = 0x00660046;  // dst = dst XOR src

// Copies the w x h block at (sx, sy) of src onto dst at (x, y), combining
// per colour channel as rop says. The block is clipped to both surfaces;
// src may be dst (overlapping blocks copy as if through a buffer).
// False for an unknown rop or an empty block.
bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            uint32_t rop);

// GDI Polygon: the closed polygon through count points, filled (alternate
// rule) with FillColor when FillStyle is solid and outlined with ForeColor
// at DrawWidth. Two points draw a line with both end pixels. False when
// count < 2.
bool Polygon(Surface& s, const PointI* points, int count);
inline bool Polygon(Surface& s, const std::vector<PointI>& points) {
  return Polygon(s, points.data(), static_cast<int>(points.size()));
}

}  // namespace zarv
