#include "platform/ui/gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/ui/surface_impl.h"

namespace zarv {

bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            uint32_t rop) {
  if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT && rop != SRCINVERT) return false;
  // Clip the block to both images (64-bit so no offset can overflow).
  int64_t dx = x, dy = y, ox = sx, oy = sy, bw = w, bh = h;
  auto clip = [&](int64_t& a, int64_t& b, int64_t& len, int64_t limA, int64_t limB) {
    if (a < 0) { b -= a; len += a; a = 0; }
    if (b < 0) { a -= b; len += b; b = 0; }
    len = std::min({len, limA - a, limB - b});
  };
  clip(dx, ox, bw, dst.Width(), src.Width());
  clip(dy, oy, bh, dst.Height(), src.Height());
  if (bw <= 0 || bh <= 0) return false;

  Surface::Impl& d = dst.impl();
  const Surface::Impl& s = src.impl();
  const size_t rowBytes = size_t(bw) * 4;
  // A blit within one surface reads the whole block before writing.
  std::vector<uint32_t> copy;
  const bool same = &d == &s;
  if (same) {
    copy.resize(size_t(bw) * size_t(bh));
    for (int64_t r = 0; r < bh; ++r)
      std::memcpy(&copy[size_t(r) * size_t(bw)],
                  reinterpret_cast<const uint32_t*>(s.img.constScanLine(int(oy + r))) + ox, rowBytes);
  }
  for (int64_t r = 0; r < bh; ++r) {
    const uint32_t* in =
        same ? &copy[size_t(r) * size_t(bw)]
             : reinterpret_cast<const uint32_t*>(s.img.constScanLine(int(oy + r))) + ox;
    uint32_t* out = d.Row(int(dy + r)) + dx;
    switch (rop) {
      case SRCCOPY:
        std::memcpy(out, in, rowBytes);
        break;
      case SRCAND:
        for (int64_t i = 0; i < bw; ++i) out[i] &= in[i];
        break;
      case SRCPAINT:
        for (int64_t i = 0; i < bw; ++i) out[i] |= in[i];
        break;
      default:  // SRCINVERT
        for (int64_t i = 0; i < bw; ++i) out[i] = (out[i] ^ in[i]) | 0xFF000000u;
        break;
    }
  }
  d.Changed();
  return true;
}

bool Polygon(Surface& s, const PointI* points, int count) {
  if (points == nullptr || count < 2) return false;
  Surface::Impl& d = s.impl();
  if (count == 2) {
    // The closed figure of two points is the line there and back.
    d.Stroke(points[0].x, points[0].y, points[1].x, points[1].y, d.fore, true);
  } else {
    std::vector<PointD> pts;
    pts.reserve(size_t(count));
    for (int i = 0; i < count; ++i) pts.push_back({double(points[i].x), double(points[i].y)});
    const std::optional<Color> brush =
        d.fillStyle == vbFSSolid ? std::optional<Color>(d.fill) : std::nullopt;
    // Outlined in its own fill colour the polygon is one solid shape: it
    // covers every pixel it touches, so that neighbours whose shared edge
    // was rounded apart by a pixel (the sky's bands) leave no gap between them.
    const bool solid = brush && ToArgb(*brush) == ToArgb(d.fore);
    d.Shape(pts, true, d.fore, brush, solid);
  }
  d.Changed();
  return true;
}

}  // namespace zarv
