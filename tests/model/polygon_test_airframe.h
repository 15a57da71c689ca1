// A complete hand-made airframe for the polygon model's tests and benchmarks:
// a round body on the centre plane, a tapered wing, twin fins, a tailplane
// and two nacelles, so that every part builder has triangles to cut. Also
// the view set-ups the tests look at it from.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/companion_outline.h"
#include "model/polygon_build.h"
#include "model/polygon_list.h"
#include "model/rotation.h"

namespace zarv::model::testing {

inline constexpr double kRingDegrees[8] = {0, 30, 60, 90, 90, 120, 150, 180};
inline constexpr double kWingChord[8] = {-0.75, -0.45, 0.03, 0.17, 0.25, 0.17, 0.03, -0.45};
inline constexpr double kWingThick[8] = {0, 0.07, 0.1, 0.06, 0.02, -0.01, -0.01, 0};
inline constexpr double kTailChord[6] = {-0.75, -0.25, 0.1, 0.25, 0.1, -0.25};
inline constexpr double kTailThick[6] = {0, 0.05, 0.04, 0, -0.04, -0.05};

inline constexpr double kBodyAxisZ = 0.5;     // body centre line above the bottom
inline constexpr double kNacelleX = 2.2;      // nacelle centre line, right side
inline constexpr double kNacelleZ = 0.3;
inline constexpr double kNacelleRadius = 0.25;
inline constexpr double kFinX = 1.0;          // twin fins at +-kFinX

// Half-width of the body at a front-fuselage station.
inline double FrontRadius(int s) { return 0.05 + 0.35 * std::min(1.0, s / 4.0); }
inline double RearRadius(int s) { return 0.4 - 0.07 * s; }

inline CompanionOutline MakeTestAirframe() {
  CompanionOutline o;
  for (int s = 0; s < 12; ++s) {
    for (int p = 0; p < 8; ++p) {
      const double a = kRingDegrees[p] / 57.3;
      o.FrontFuselageX(s, p) = FrontRadius(s) * std::sin(a);
      o.FrontFuselageY(s, p) = 2.0 - 0.3 * s;
      o.FrontFuselageZ(s, p) = FrontRadius(s) * std::cos(a) + kBodyAxisZ;
    }
  }
  for (int s = 0; s < 5; ++s) {
    for (int p = 0; p < 8; ++p) {
      const double a = kRingDegrees[p] / 57.3;
      o.RearFuselageX(s, p) = RearRadius(s) * std::sin(a);
      o.RearFuselageY(s, p) = -1.3 - 0.8 * s;
      o.RearFuselageZ(s, p) = RearRadius(s) * std::cos(a) + kBodyAxisZ;
    }
  }
  // Panels between stations (0, 1), (2, 3), (4, 5), (6, 7), (7, 8); the
  // stations of neighbouring panels coincide.
  constexpr double kWingStationX[9] = {0.4, 1.2, 1.2, 3.0, 3.0, 5.0, 5.0, 6.2, 7.2};
  for (int s = 0; s < 9; ++s) {
    const double x = kWingStationX[s];
    const double chord = 1.2 - 0.6 * (x - 0.4) / 6.8;
    for (int p = 0; p < 8; ++p) {
      o.WingX(s, p) = x;
      o.WingY(s, p) = kWingChord[p] * chord;
      o.WingZ(s, p) = kBodyAxisZ + kWingThick[p] * chord;
    }
  }
  // Tailplane, left tip to right tip; Y and Z relative to its hinge.
  constexpr double kTailplaneX[6] = {-1.6, -0.8, -0.05, 0.05, 0.8, 1.6};
  for (int s = 0; s < 6; ++s) {
    for (int p = 0; p < 6; ++p) {
      o.TailX(s, p) = kTailplaneX[s];
      o.TailY(s, p) = kTailChord[p] * 0.6;
      o.TailZ(s, p) = kTailThick[p] * 0.6;
    }
  }
  // Twin fins, first the left one; X and Y relative to the fin hinge.
  constexpr double kFinZ[3] = {0.6, 1.2, 1.8};
  for (int s = 6; s < 12; ++s) {
    const double side = s < 9 ? -kFinX : kFinX;
    for (int p = 0; p < 6; ++p) {
      o.TailX(s, p) = side + kTailThick[p] * 0.8;
      o.TailY(s, p) = kTailChord[p] * 0.8;
      o.TailZ(s, p) = kFinZ[(s - 6) % 3];
    }
  }
  for (int s = 0; s < 13; ++s) {
    for (int p = 0; p < 12; ++p) {
      const double a = (30 * p + 15) / 57.3;
      o.NacelleX(s, p) = kNacelleX + kNacelleRadius * std::sin(a);
      o.NacelleY(s, p) = 1.0 - 0.2 * s;
      o.NacelleZ(s, p) = kNacelleZ + kNacelleRadius * std::cos(a);
    }
  }
  auto& pv = o.Pivots;
  pv.TailplaneHingeY = -4.3;
  pv.TailplaneHingeZ = kBodyAxisZ;
  pv.FinHingeY = -4.3;
  auto& pt = pv.Points;
  pt.ForeFrontFuselagePivot = {0, 1.0, kBodyAxisZ};
  pt.AftFrontFuselagePivot = {0, -0.8, kBodyAxisZ};
  pt.ForeRearFuselagePivot = {0, -1.7, kBodyAxisZ};
  pt.MidRearFuselagePivot = {0, -2.5, kBodyAxisZ};
  pt.AftRearFuselagePivot = {0, -3.8, kBodyAxisZ};
  pt.CentreWingPivot = {0.8, 0, kBodyAxisZ};
  pt.InnerWingPivot = {2.5, 0, kBodyAxisZ};
  pt.OuterWingPivot = {5.5, 0, kBodyAxisZ};
  pt.TailplanePivot = {0.8, -4.4, kBodyAxisZ};
  pt.FinPivot1 = {kFinX, -4.4, 1.2};
  pt.FinPivot2 = {kFinX, -4.35, 1.85};
  pt.FinPivot3 = {kFinX, -4.35, 1.8};
  pt.NacellePivot1 = {kNacelleX, 0.0, kNacelleZ};
  pt.NacellePivot2 = {kNacelleX, -1.2, kNacelleZ};
  return o;
}

// The diamond block north of the platform.
inline SceneryPrismSet MakeTestPrisms() {
  SceneryPrismSet set;
  set.LastPrismIndex = 0;
  SceneryPrism& p = set.Prisms[0];
  p.PointCount = 4;
  p.X = {15, 0, -15, 0};
  p.Y = {458, 450, 480, 488};
  p.BottomZ = 0;
  p.TopZ = 40;
  return set;
}

// The eye at (x, y, z) looking along heading / depression (radians), no roll.
inline void LookFrom(ProjectionRecords& pr, double x, double y, double z, double heading,
                     double depression, double screenScale) {
  ViewSetup& v = pr.View;
  v.EyeX = x;
  v.EyeY = y;
  v.EyeZ = z;
  v.ViewHeadingSin = std::sin(-heading);
  v.ViewHeadingCos = std::cos(-heading);
  v.ViewDepressionSin = std::sin(depression);
  v.ViewDepressionCos = std::cos(depression);
  v.ViewRollSin = 0;
  v.ViewRollCos = 1;
  v.PixelsPerRadian = 573 * screenScale;
  v.ViewZoom = 1.0;
}

inline ShadingInputs StandardShading() {
  ShadingInputs in;
  in.SetSun(180 / 57.3, 70 / 57.3);
  return in;
}

}  // namespace zarv::model::testing
