#include "view/sky_ground.h"

#include <cmath>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/numeric.h"

namespace zarv::view {

namespace {

double Sign(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// Moves ends beyond the top or bottom edge along the line onto them. Only
// called while |sin bank| > 0.001, so cos/sin stays finite.
void ClipEnds(double x0, double y0, double cotBank, double bottom, PointI& p1, PointI& p2) {
  auto lower = [&](PointI& p) {
    if (p.y > bottom + 10) {
      p.y = CLng(bottom + 10);
      p.x = CLng(x0 - cotBank * (p.y - y0));
    }
  };
  auto upper = [&](PointI& p) {
    if (p.y < -10) {
      p.y = -10;
      p.x = CLng(x0 - cotBank * (-10 - y0));
    }
  };
  lower(p1);
  upper(p1);
  lower(p2);
  upper(p2);
}

void FillPolygon(Surface& picture, Color c, const PointI* pts, int n) {
  picture.SetForeColor(c);
  picture.SetFillColor(c);
  Polygon(picture, pts, n);
}

}  // namespace

Color SurfaceColourOf(const aircraft::AircraftData& a) {
  return aircraft::NoPlatformUnder(a.LaunchSpeed, a.LaunchHeight) ? 0xAAAAAA : 0xBBAA22;
}

void HorizonReference(const ViewGeometry& v, int16_t& refX, int16_t& refY) {
  const double sigma = Sign(v.PitchAngleCos);
  const double x = v.ViewCentreX + sigma * v.ViewRollSin * v.PitchAngle * v.PixelsPerRadian;
  const double y = v.ViewCentreY + sigma * v.PitchAngle * v.ViewRollCos * v.PixelsPerRadian;
  auto limit = [&](double value) -> int16_t {
    const int32_t r = CLng(value);
    if (std::fabs(static_cast<double>(r) - 320) > 1000 || !std::isfinite(value))
      return CInt(320 + Sign(value - 320) * 400 * v.ScreenScale);
    return CInt(r);
  };
  refX = limit(x);
  refY = limit(y);
}

HorizonLine HorizonEnds(const ViewGeometry& v, int16_t refX, int16_t refY) {
  const double s = v.ScreenScale;
  const double x0 = refX, y0 = refY;
  const int32_t right = CLng(640 * s + 10), bottom = CLng(480 * s + 10);
  HorizonLine l;
  if (std::fabs(v.PitchAngleSin) >= 0.8) {
    const int32_t y = v.PitchAngleSin > 0 ? bottom : -10;
    l.P1 = {-10, y};
    l.P2 = {right, y};
    return l;
  }
  if (std::fabs(v.ViewRollCos) > 0.7) {
    const double t = v.ViewRollSin / v.ViewRollCos;
    l.P1 = {-10, CLng(y0 - t * (-10 - x0))};
    l.P2 = {right, CLng(y0 - t * (right - x0))};
  } else {
    const double c = v.ViewRollCos / v.ViewRollSin;
    const double sg = Sign(v.ViewRollCos) * v.ViewRollSin;
    const PointI top{CLng(x0 + c * y0), -10};
    const PointI low{CLng(x0 - c * (480 * s - y0)), bottom};
    l.P1 = sg < 0 ? top : low;
    l.P2 = sg < 0 ? low : top;
  }
  if (std::fabs(v.ViewRollSin) > 0.001)
    ClipEnds(x0, y0, v.ViewRollCos / v.ViewRollSin, 480 * s, l.P1, l.P2);
  return l;
}

void DrawHorizonAndGround(const HorizonInputs& in, HorizonState& st, Surface& picture) {
  const ViewGeometry& v = in.View;
  const SkyTables& sky = *in.Sky;
  const double s = v.ScreenScale;
  picture.SetFillStyle(vbFSSolid);
  HorizonReference(v, st.HorizonRefX, st.HorizonRefY);
  const HorizonLine l = HorizonEnds(v, st.HorizonRefX, st.HorizonRefY);
  const PointI p1 = l.P1, p2 = l.P2;

  if (in.WireframeView != 0) {
    picture.Cls();
    picture.SetFillStyle(vbFSTransparent);
    picture.Line(p1.x, p1.y, p2.x, p2.y, Color{0xFF8800});
    return;
  }

  const double w640 = 640 * s, h480 = 480 * s;
  const PointI tl{0, 0}, tr{CLng(w640), 0}, br{CLng(w640), CLng(h480)}, bl{0, CLng(h480)};
  auto set = [&](std::array<PointI, 5>& list, PointI a, PointI b, PointI c, PointI d, PointI e) {
    list = {a, b, c, d, e};
  };
  auto& A = st.ListA;
  auto& B = st.ListB;
  if (p2.x > w640 && p1.x < 0) {
    set(A, p1, p2, tr, tl, tl);
    set(B, p1, p2, br, bl, bl);
  } else if (p2.y > h480 && p1.y < 0) {
    set(A, p1, p2, br, tr, tr);
    set(B, p1, p2, bl, tl, tl);
  } else if (p1.y > h480 && p2.y < 0) {
    set(A, p1, p2, tl, bl, bl);
    set(B, p1, p2, tr, br, br);
  } else if (p1.x < 0 && p2.y < 0) {
    set(A, p1, p2, tl, tl, tl);
    set(B, p1, p2, tr, br, bl);
  } else if (p2.x > w640 && p1.y < 0) {
    set(A, p1, p2, tr, tr, tr);
    set(B, p1, p2, br, bl, tl);
  } else if (p1.y > h480 && p2.x > w640) {
    set(A, p1, p2, tr, tl, bl);
    set(B, p2, p1, br, br, br);
  } else if (p2.y > h480 && p1.x < 0) {
    set(A, p1, p2, br, tr, tl);
    set(B, p1, p2, bl, bl, bl);
  }

  // Shade index: 16 at the top of the table; never below -1, where the
  // first band above the horizon would read before the table's start.
  int k = CInt(in.Altitude * 16 / 60000);
  if (k > 16) k = 16;
  if (k < -1) k = -1;
  st.ShadeIndex = static_cast<int16_t>(k);

  const bool upright = v.ViewRollCos > 0;
  FillPolygon(picture, sky.SkyColourTable[static_cast<std::size_t>(14 + k)],
              upright ? A.data() : B.data(), 5);
  const Color ground = aircraft::LaunchAbove10(in.LaunchSpeed) ? sky.SkyColourTable[15] : in.SurfaceColour;
  FillPolygon(picture, ground, upright ? B.data() : A.data(), 5);

  if (std::fabs(v.PitchAngleSin) >= 0.8) return;
  const int32_t right = CLng(640 * s + 10), bottom = CLng(480 * s + 10);
  const bool shallow = std::fabs(v.ViewRollCos) > 0.7;
  const double sg = Sign(v.ViewRollCos) * v.ViewRollSin;
  auto band = [&](Color colour, double d1, double d2) {
    const double x0 = st.HorizonRefX - d1 * v.ViewRollSin;
    const double y0 = st.HorizonRefY - d1 * v.ViewRollCos;
    PointI q1, q2;
    if (shallow) {
      const double t = v.ViewRollSin / v.ViewRollCos;
      q1 = {-10, CLng(y0 - t * (-10 - x0))};
      q2 = {right, CLng(y0 - t * (right - x0))};
    } else {
      const double c = v.ViewRollCos / v.ViewRollSin;
      const int32_t ya = sg > 0 ? -10 : bottom, yb = sg > 0 ? bottom : -10;
      q1 = {CLng(x0 - c * (ya - y0)), ya};
      q2 = {CLng(x0 - c * (yb - y0)), yb};
    }
    if (std::fabs(v.ViewRollSin) > 0.001)
      ClipEnds(x0, y0, v.ViewRollCos / v.ViewRollSin, 480 * s, q1, q2);
    const double dx = (d1 - d2) * v.ViewRollSin, dy = (d1 - d2) * v.ViewRollCos;
    const PointI quad[4] = {q1, {CLng(q1.x + dx), CLng(q1.y + dy)},
                            {CLng(q2.x + dx), CLng(q2.y + dy)}, q2};
    FillPolygon(picture, colour, quad, 4);
  };
  for (int i = 1; i <= 14; ++i) {
    const double e0 = sky.HorizonBandOffset[static_cast<std::size_t>(i - 1)];
    const double e1 = sky.HorizonBandOffset[static_cast<std::size_t>(i)];
    band(sky.SkyColourTable[static_cast<std::size_t>(k + i)], e0 * (17 - k) / 17, e1 * (17 - k) / 17);
    band(sky.SkyColourTable[static_cast<std::size_t>(i)], -e0 * k / 20, -e1 * k / 20);
  }
}

}  // namespace zarv::view
