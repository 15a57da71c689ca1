// Pieces every outline builder uses: the clearing before a build, the
// eight-point half ring and the fit of the wing root into the body's half
// rings. Internal to the builders.
#pragma once

#include <cmath>

#include "model/outline.h"
#include "platform/runtime/angles.h"

namespace zarv::model::outline_build {

// A builder starts from the zero outline of a fresh program, except for what
// the flight set-up has just written: the wing grid and the section template
// (whose elements 6 and 7 the pod builder keeps). No cell of an earlier
// build survives.
inline void ClearForBuild(AirframeOutline& o) {
  o.FrontFuselageX.Clear();
  o.FrontFuselageY.Clear();
  o.FrontFuselageZ.Clear();
  o.RearFuselageX.Clear();
  o.RearFuselageY.Clear();
  o.RearFuselageZ.Clear();
  o.TailX.Clear();
  o.TailY.Clear();
  o.TailZ.Clear();
  o.NacelleX.Clear();
  o.NacelleY.Clear();
  o.NacelleZ.Clear();
  o.PartPivots = PartPivotSet{};
  o.TailplaneHingeY = 0.0;
  o.TailplaneHingeZ = 0.0;
  o.FinHingeX = 0.0;
  o.FinHingeY = 0.0;
  o.OutlineZMax = 0.0;
  o.OutlineZMin = 0.0;
}

// Ring angle of point p of a half ring: 0, 30, 60, 90, 90, 120, 150, 180
// degrees (points 3 and 4 share the side). Degrees go to radians by 57.3.
inline double HalfRingAngle(int p) {
  const int index = p < 4 ? p : p - 1;
  return 30.0 * index / kDegreesPerRadian;
}

// Station s of a half-ring grid: half-width w, half-height h, centre height
// zc, all points at Y = ys.
template <int S, int P>
void WriteHalfRing(OutlineGrid<S, P>& x, OutlineGrid<S, P>& y, OutlineGrid<S, P>& z, int s,
                   double w, double h, double zc, double ys) {
  for (int p = 0; p < 8; ++p) {
    const double a = HalfRingAngle(p);
    x(s, p) = w * std::sin(a);
    y(s, p) = ys;
    z(s, p) = h * std::cos(a) + zc;
  }
}

// Lays the wing root section into front fuselage stations first to
// first + 4, trailing edge last: one upper and one lower body point take the
// root's upper and lower surface, chosen by where the root's surfaces stand
// against the half ring of station first + 1. A wing above that ring instead
// keeps its lower points only, put on point 1 of body stations 5 to 7 (which
// move onto the root). Returns the lower body point, 0 for a wing above.
inline int FitWingRootToBody(AirframeOutline& o, int first) {
  auto& FX = o.FrontFuselageX;
  auto& FY = o.FrontFuselageY;
  auto& FZ = o.FrontFuselageZ;
  auto& WX = o.WingX;
  const auto& WY = o.WingY;
  const auto& WZ = o.WingZ;
  const double zu = FZ(first + 1, 2);
  const double zl = FZ(first + 1, 5);
  if (zu < WZ(0, 5)) {
    for (int p = 0; p <= 4; ++p) WX(0, p) = 0.0;
    for (int p = 5; p <= 7; ++p) {
      WX(0, p) = FX(p, 1);
      FY(p, 1) = WY(0, p);
      FZ(p, 1) = WZ(0, p);
    }
    return 0;
  }
  int upper = 3;
  int lower = 4;
  if (zu < WZ(0, 2)) {
    upper = 2;
    lower = 3;
  } else if (WZ(0, 6) < zl) {
    upper = 4;
    lower = 5;
  }
  static constexpr int kUpperRoot[5] = {4, 3, 2, 1, 0};
  static constexpr int kLowerRoot[5] = {4, 5, 6, 7, 0};
  for (int i = 0; i < 5; ++i) {
    const int s = first + i;
    FX(s, upper) = WX(0, kUpperRoot[i]);
    FY(s, upper) = WY(0, kUpperRoot[i]);
    FZ(s, upper) = WZ(0, kUpperRoot[i]);
    FX(s, lower) = WX(0, kLowerRoot[i]);
    FY(s, lower) = WY(0, kLowerRoot[i]);
    FZ(s, lower) = WZ(0, kLowerRoot[i]);
  }
  return lower;
}

}  // namespace zarv::model::outline_build
