#include "model/pod_outline.h"

#include <cmath>

#include "model/light_outline_parts.h"
#include "model/outline_build_parts.h"
#include "platform/runtime/angles.h"

namespace zarv::model {

namespace {

using light_outline::GuardedRatio;
using outline_build::WriteHalfRing;

void FrontRing(AirframeOutline& o, int s, double w, double h, double z, double y) {
  WriteHalfRing(o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ, s, w, h, z, y);
}

void BoomHalfRing(AirframeOutline& o, int s, double w, double h, double z, double y) {
  WriteHalfRing(o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ, s, w, h, z, y);
}

// Full ring of the right boom, points at 22.5 + 45 p degrees round (xc, z).
void BoomFullRing(AirframeOutline& o, int s, double w, double h, double xc, double z,
                  double y) {
  for (int p = 0; p < 8; ++p) {
    const double b = (22.5 + 45.0 * p) / kDegreesPerRadian;
    o.RearFuselageX(s, p) = w * std::sin(b) + xc;
    o.RearFuselageY(s, p) = y;
    o.RearFuselageZ(s, p) = h * std::cos(b) + z;
  }
}

// Body stations 7 to 11 and the boom of a single central boom, then the
// tapered tailplane, its hinge and the central fin.
void BuildCentralTail(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                      AirframeOutline& o, double yn) {
  const double H = sizes.BodyHeight;
  const double W = sizes.BodyHalfWidth;
  const double yr0 = o.WingY(0, 0);
  const double back = 1.3 * yn + yr0;
  FrontRing(o, 7, W, H / 2, 0.5 * H, o.WingY(0, 1));
  FrontRing(o, 8, W, H / 2, H - H / 2, yr0);
  FrontRing(o, 9, 0.6 * W, 0.25, H - 0.25, yr0 - 0.25 * back);
  FrontRing(o, 10, 0.45 * W, 0.2, H - 0.2, yr0 - 0.375 * back);
  FrontRing(o, 11, 0.3 * W, 0.15, H - 0.15, yr0 - 0.5 * back);

  const double ct = sizes.TailChord;
  const double et = sizes.TailplaneSweepOffset;
  const double cf = sizes.FinChord;
  const double ef = sizes.FinSweepOffset;
  const double d = sizes.TailPointArm;
  const double e = a.TailEndHeight;

  if (a.TailplaneArea > 0) {
    // Boom centres run straight from just under the body top at station 9
    // down (or up) to the tail-end height at the rear end.
    const double y9 = o.FrontFuselageY(9, 0);
    const auto zline = [&](double y) {
      return (H - 0.15) - GuardedRatio(y - y9, d + y9) * (e - H + 0.15);
    };
    BoomHalfRing(o, 0, 0.3 * W, 0.15, H - 0.15, o.FrontFuselageY(11, 0));
    const double y1 = 1.3 * 0.25 * ct + 0.35 * et - a.TailplaneArm;
    BoomHalfRing(o, 1, 0.05, 0.05, zline(y1), y1);
    const double y2 = 1.3 * 0.25 * cf + 0.35 * ef - a.FinArm;
    BoomHalfRing(o, 2, 0.05, 0.05, zline(y2), y2);
    const double y3 = 0.35 * ef - a.FinArm - 0.2 * cf;
    BoomHalfRing(o, 3, 0.05, 0.05, zline(y3), y3);
    BoomHalfRing(o, 4, 0.001, 0.001, zline(-d), -d);

    light_outline::WriteTaperedTailplane(o, GuardedRatio(a.TailplaneArea, ct) / 2, ct, et);
  }

  o.TailplaneHingeY = -a.TailplaneArm;
  o.TailplaneHingeZ = e + 0.1;

  const bool tall = e > 1.3;
  light_outline::WriteCentralFin(o, tall, GuardedRatio(a.FinArea, cf), cf, ef, e);
  o.FinHingeX = tall ? 0.2 : 0.0;
  o.FinHingeY = -a.FinArm;
}

// Body stations 7 to 11 with flat rear sides, the right boom, the straight
// tailplane between the booms, its hinge and the two tilted fins.
void BuildTwinBoomTail(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                       AirframeOutline& o) {
  const double H = sizes.BodyHeight;
  const double W = sizes.BodyHalfWidth;
  const double cbar = sizes.MeanChord;
  const double yr0 = o.WingY(0, 0);
  const auto flatSides = [&](int s, double x) {
    o.FrontFuselageX(s, 3) = x;
    o.FrontFuselageX(s, 4) = x;
  };
  FrontRing(o, 7, W, 0.9 * H / 2, 0.5 * H, o.WingY(0, 1));
  FrontRing(o, 8, 0.9 * W, 0.8 * H / 2, 0.45 * H, yr0);
  flatSides(8, W);
  FrontRing(o, 9, 0.6 * W, 0.6 * H / 2, 0.4 * H, yr0 - (1.8 * cbar + yr0) / 2);
  flatSides(9, 0.85 * W);
  FrontRing(o, 10, 0.3 * W, 0.3 * H / 2, 0.34 * H, (o.FrontFuselageY(9, 0) - 2 * cbar) / 2);
  flatSides(10, 0.4 * W);
  FrontRing(o, 11, 0.001, 0.001, 0.3 * H, -2 * cbar);

  const double hs = a.FinHalfSpacing;
  const double ct = sizes.TailChord;
  const double cf = sizes.FinChord;
  const double ef = sizes.FinSweepOffset;
  const double d = sizes.TailPointArm;
  const double e = a.TailEndHeight;

  if (a.TailplaneArea > 0) {
    // The boom's front fits the wing's thickness near the trailing edge of
    // wing station 1; ring 0 lies in the plane of the wing surface there.
    const double wz0 = o.WingZ(1, 0);
    const double wy0 = o.WingY(1, 0);
    const double hb = ((o.WingZ(1, 1) - wz0) / 2) / std::cos(22.5 / kDegreesPerRadian);
    const double zb = wz0 + hb;
    const double slope = GuardedRatio(o.WingY(1, 1) - wy0, o.WingZ(1, 1) - wz0);
    for (int p = 0; p < 8; ++p) {
      const double b = (22.5 + 45.0 * p) / kDegreesPerRadian;
      o.RearFuselageX(0, p) = 0.05 * std::sin(b) + (hs + 0.03);
      o.RearFuselageZ(0, p) = hb * std::cos(b) + zb;
      o.RearFuselageY(0, p) = wy0 + slope * (o.RearFuselageZ(0, p) - wz0);
    }
    BoomFullRing(o, 1, 0.1, hb, hs + 0.03, zb, wy0);
    BoomFullRing(o, 2, 0.04, 0.03, hs, e, 1.3 * cf - d);
    BoomFullRing(o, 3, 0.04, 0.03, hs, e, -d + 0.05);
    BoomFullRing(o, 4, 0.001, 0.001, hs, e, -d);

    light_outline::WriteStraightTailplane(o, hs, ct);
  }

  o.TailplaneHingeY = -a.TailplaneArm;
  o.TailplaneHingeZ = e;

  // Left fin 6-8, right fin 9-11, standing on boom ring 3 and leaning out.
  const double hh = GuardedRatio(a.FinArea, cf) / 2;
  const double zr = o.RearFuselageZ(3, 0);
  const double st = std::sin(a.FinTilt);
  const double co = std::cos(a.FinTilt);
  const double rootCos = co != 0.0 ? co : 1.0;
  const SectionTemplateData& t = o.SectionTemplate;
  for (int p = 0; p < 6; ++p) {
    const double c = t.Chordwise[static_cast<std::size_t>(p)];
    const double th = t.Thickness[static_cast<std::size_t>(p)];
    o.TailX(6, p) = -hs - hh * st + 0.001 * th;
    o.TailY(6, p) = 0.001 * c - 0.65 * ef;
    o.TailZ(6, p) = hh * co + zr + 0.001 * th;
    o.TailX(7, p) = -hs - hh * st + 0.6 * cf * th * co;
    o.TailY(7, p) = 0.6 * cf * c - 0.65 * ef;
    o.TailZ(7, p) = hh * co + zr + 0.6 * cf * th * st;
    o.TailX(8, p) = -hs - 1.4 * cf * th / rootCos;
    o.TailY(8, p) = 1.4 * cf * c + 0.35 * ef;
    o.TailZ(8, p) = zr;
    o.TailX(9, p) = hs + hh * st + 0.001 * th;
    o.TailY(9, p) = o.TailY(6, p);
    o.TailZ(9, p) = o.TailZ(6, p);
    o.TailX(10, p) = hs + hh * st + 0.6 * cf * th * co;
    o.TailY(10, p) = o.TailY(7, p);
    o.TailZ(10, p) = o.TailZ(7, p);
    o.TailX(11, p) = hs + 1.4 * cf * th / rootCos;
    o.TailY(11, p) = o.TailY(8, p);
    o.TailZ(11, p) = zr;
  }
  o.FinHingeX = 0.0;
  o.FinHingeY = -a.FinArm;
}

void WritePivots(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                 AirframeOutline& o) {
  PartPivotSet& v = o.PartPivots;
  const double hs = a.FinHalfSpacing;
  const double wy = o.WingY(1, 6);
  const double wz = o.WingZ(1, 6);
  v.FinPivot2 = {o.TailX(11, 3), o.TailY(11, 3) + o.FinHingeY, o.TailZ(11, 3)};
  v.ForeFrontFuselagePivot = {0.0, wy, wz};
  v.AftFrontFuselagePivot = {0.0, -0.75 * sizes.MeanChord, wz};
  v.CentreWingPivot = {(o.WingX(1, 6) + o.WingX(0, 6)) / 2, wy, wz};
  v.InnerWingPivot = {(o.WingX(3, 6) + o.WingX(2, 6)) / 2, wy, wz};
  v.OuterWingPivot = {(o.WingX(8, 6) + o.WingX(4, 6)) / 2, wy, wz};
  v.ForeRearFuselagePivot = {hs + 0.001, (o.RearFuselageY(0, 0) + o.RearFuselageY(1, 0)) / 2,
                             (o.RearFuselageZ(1, 4) + o.RearFuselageZ(0, 0)) / 2};
  v.MidRearFuselagePivot = {hs + 0.001, (o.RearFuselageY(2, 0) + o.RearFuselageY(1, 0)) / 2,
                            (o.RearFuselageZ(2, 4) + o.RearFuselageZ(1, 0)) / 2};
  v.AftRearFuselagePivot = {hs + 0.001, (o.RearFuselageY(4, 0) + o.RearFuselageY(2, 0)) / 2,
                            (o.RearFuselageZ(3, 4) + o.RearFuselageZ(2, 0)) / 2};
  const OutlinePoint aft = v.AftRearFuselagePivot;
  v.TailplanePivot = {0.5, aft.Y, aft.Z + 0.001};
  v.FinPivot1 = {hs + 0.1, aft.Y, aft.Z + 0.6};
  v.FinPivot3 = {hs + 0.1, aft.Y, aft.Z + 0.6};
}

}  // namespace

void BuildPodOutline(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                     AirframeOutline& o) {
  outline_build::ClearForBuild(o);

  const double H = sizes.BodyHeight;
  const double W = sizes.BodyHalfWidth;
  const double yn = a.OverallLength - sizes.TailPointArm;  // the nose

  // Nose to the wing's trailing edge.
  const double yr2 = o.WingY(0, 2);
  const double yr3 = o.WingY(0, 3);
  const double yr4 = o.WingY(0, 4);
  const double yr5 = o.WingY(0, 5);
  FrontRing(o, 0, 0.001, 0.001, 0.15 * H, yn);
  FrontRing(o, 1, 0.3 * W, H * 0.25 / 2, 0.2 * H, yr5 + 0.9 * (yn - yr5));
  FrontRing(o, 2, 0.55 * W, H * 0.45 / 2, 0.28 * H, yr5 + 0.74 * (yn - yr5));
  FrontRing(o, 3, 0.8 * W, H * 0.7 / 2, 0.37 * H, yr4 + 0.45 * (yn - yr4));
  FrontRing(o, 4, W, H * 0.83 / 2, 0.43 * H, (o.FrontFuselageY(3, 0) + yr4) / 2);
  FrontRing(o, 5, W, H * 0.93 / 2, 0.47 * H, yr3);
  FrontRing(o, 6, W, H * 1.0 / 2, 0.5 * H, yr2);

  light_outline::WriteTailSection(o.SectionTemplate);
  const double scale = sizes.TailProfileDrag * 100;
  for (double& th : o.SectionTemplate.Thickness) th = th * scale;

  if (a.FinHalfSpacing < 1.0) {
    BuildCentralTail(a, sizes, o, yn);
  } else {
    BuildTwinBoomTail(a, sizes, o);
  }

  // The wing root fits into body stations 4 to 8.
  if (sizes.BodyHeight >= a.WingHeight) outline_build::FitWingRootToBody(o, 4);

  WritePivots(a, sizes, o);
}

}  // namespace zarv::model
