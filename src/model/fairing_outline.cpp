#include "model/fairing_outline.h"

#include <cmath>

#include "model/light_outline_parts.h"
#include "model/outline_build_parts.h"

namespace zarv::model {

namespace {

using light_outline::GuardedRatio;

// The streamline section of every slice: chordwise and half-width, both as
// fractions of the slice chord; the half-widths are widened by 1.2.
constexpr double kFairingChord[8] = {-0.75, -0.45, -0.17, 0.03, 0.11, 0.17, 0.21, 0.25};
constexpr double kFairingThick[8] = {0.0, 0.09, 0.12, 0.11, 0.095, 0.07, 0.05, 0.0};

struct Slice {
  double Chord;
  double Offset;  // forward shift; < 0 means 0.75 c - 1.0 (rear point at -1)
  double HeightFactor;
};

// Slices 1 to 11, from 0.86 of the wing height down to the body bottom.
constexpr Slice kSlices[11] = {
    {1.5, -1, 0.86},      {1.83, -1, 0.73},     {2.13, -1, 0.6},     {2.41, -1, 0.47},
    {2.64, 0.98, 0.34},   {2.71, 1.0325, 0.28}, {2.73, 1.0475, 0.22}, {2.51, 1.0825, 0.16},
    {2.1, 1.125, 0.1},    {1.5, 1.125, 0.04},   {0.02, 0.615, 0.0},
};

void WriteFairing(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                  AirframeOutline& o) {
  SectionTemplateData& t = o.SectionTemplate;
  for (std::size_t p = 0; p < 8; ++p) {
    t.Chordwise[p] = kFairingChord[p];
    t.Thickness[p] = kFairingThick[p];
  }
  for (double& th : t.Thickness) th = th * 1.2;

  // Slice 0 has the root's chord and place; its heights follow the root's
  // lower surface from leading edge to trailing edge while its points run
  // from rear to front, so its rearmost point takes the leading edge's
  // height. That lower surface is level but for the leading edge: only the
  // two rearmost points rise a little. The outlines that flight logs carry
  // (and a companion is drawn from) are built this way, so it stays.
  const double cr = o.WingY(0, 4) - o.WingY(0, 0);
  const double r = sizes.RootExtension;
  for (int p = 0; p < 8; ++p) {
    o.FrontFuselageX(0, p) = cr * t.Thickness[static_cast<std::size_t>(p)];
    o.FrontFuselageY(0, p) = cr * t.Chordwise[static_cast<std::size_t>(p)] + r;
  }
  o.FrontFuselageZ(0, 0) = o.WingZ(0, 4);
  o.FrontFuselageZ(0, 1) = (o.WingZ(0, 5) + o.WingZ(0, 4)) / 2;
  o.FrontFuselageZ(0, 2) = o.WingZ(0, 5);
  o.FrontFuselageZ(0, 3) = (o.WingZ(0, 6) + o.WingZ(0, 5)) / 2;
  o.FrontFuselageZ(0, 4) = o.WingZ(0, 6);
  o.FrontFuselageZ(0, 5) = (o.WingZ(0, 7) + o.WingZ(0, 6)) / 2;
  o.FrontFuselageZ(0, 6) = o.WingZ(0, 7);
  o.FrontFuselageZ(0, 7) = o.WingZ(0, 0);

  const double h = a.WingHeight;
  for (int s = 1; s <= 11; ++s) {
    const Slice& slice = kSlices[s - 1];
    const double c = slice.Chord;
    const double b = s <= 4 ? 0.75 * c - 1.0 : slice.Offset;
    const double z = s == 11 ? 0.0 : slice.HeightFactor * h;
    for (int p = 0; p < 8; ++p) {
      o.FrontFuselageX(s, p) = c * t.Thickness[static_cast<std::size_t>(p)];
      o.FrontFuselageY(s, p) = c * t.Chordwise[static_cast<std::size_t>(p)] + b;
      o.FrontFuselageZ(s, p) = z;
    }
  }
}

// Boom of a single fin with a tailplane: two rings hanging from the back of
// the fairing, then rings down a straight line to the tail end.
void WriteBoom(const aircraft::AircraftData& a, const OutlineInputs& sizes,
               AirframeOutline& o) {
  const double d = sizes.BodyHeight;
  const double e = sizes.TailPointArm;
  const double ht = a.TailEndHeight;
  const double cf = sizes.FinChord;
  const double wf = sizes.FinSweepOffset;
  const double lf = a.FinArm;

  const double r = o.FrontFuselageX(2, 1);
  const double zc = o.FrontFuselageZ(1, 0) - r;
  const double y1 = o.FrontFuselageY(1, 0);
  // Ring 0 bends forward onto the rear edge of slice 1: each point's Y is
  // taken at its own X on the line from slice 1's rear point to its point 1.
  for (int p = 0; p < 8; ++p) {
    const double phi = outline_build::HalfRingAngle(p);
    o.RearFuselageX(0, p) = r * std::sin(phi);
    o.RearFuselageZ(0, p) = r * std::cos(phi) + zc;
    o.RearFuselageY(0, p) = y1 + GuardedRatio(o.RearFuselageX(0, p), o.FrontFuselageX(1, 1)) *
                                     (o.FrontFuselageY(1, 1) - y1);
  }
  outline_build::WriteHalfRing(o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ, 1, r, r, zc,
                               o.FrontFuselageY(2, 0));

  const double yr = o.FrontFuselageY(9, 0);
  const auto centre = [&](double y) {
    return (d - 0.15) - GuardedRatio(y - yr, e + yr) * (ht - d + 0.15);
  };
  const double ys[3] = {1.3 * 0.25 * cf + 0.35 * wf - lf, 0.35 * wf - lf - 0.2 * cf, -e};
  const double radii[3] = {0.05, 0.05, 0.001};
  for (int i = 0; i < 3; ++i) {
    const int s = i + 2;
    outline_build::WriteHalfRing(o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ, s, radii[i],
                                 radii[i], centre(ys[i]), ys[i]);
  }
}

// Twin fins: +X fin 6-8, -X fin 9-11, each AF / 2 in area, leaning out by the
// fin tilt, standing on boom ring 3 (zero: this layout builds no boom).
void WriteTwinFins(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                   AirframeOutline& o) {
  const double e = a.FinHalfSpacing;
  const double cf = sizes.FinChord;
  const double wf = sizes.FinSweepOffset;
  const double h2 = GuardedRatio(a.FinArea, cf) / 2;
  const double z0 = o.RearFuselageZ(3, 0);
  const double st = std::sin(a.FinTilt);
  const double co = std::cos(a.FinTilt);
  const double rootCos = co != 0.0 ? co : 1.0;
  const SectionTemplateData& t = o.SectionTemplate;
  for (int p = 0; p < 6; ++p) {
    const double ch = t.Chordwise[static_cast<std::size_t>(p)];
    const double th = t.Thickness[static_cast<std::size_t>(p)];
    o.TailX(6, p) = h2 * st + e + 0.001 * th;
    o.TailY(6, p) = 0.001 * ch - 0.65 * wf;
    o.TailZ(6, p) = h2 * co + z0 + 0.001 * th;
    o.TailX(7, p) = 0.6 * cf * th * co + h2 * st + e;
    o.TailY(7, p) = 0.6 * cf * ch - 0.65 * wf;
    o.TailZ(7, p) = h2 * co + z0 + 0.6 * cf * th * st;
    o.TailX(8, p) = 1.4 * cf * th / rootCos + e;
    o.TailY(8, p) = 1.4 * cf * ch + 0.35 * wf;
    o.TailZ(8, p) = z0;
    o.TailX(9, p) = -e - h2 * st + 0.001 * th;
    o.TailY(9, p) = o.TailY(6, p);
    o.TailZ(9, p) = o.TailZ(6, p);
    o.TailX(10, p) = -e - h2 * st + 0.6 * cf * th * co;
    o.TailY(10, p) = o.TailY(7, p);
    o.TailZ(10, p) = o.TailZ(7, p);
    o.TailX(11, p) = 1.4 * cf * th / rootCos - e;
    o.TailY(11, p) = o.TailY(8, p);
    o.TailZ(11, p) = z0;
  }
}

void WritePivots(const aircraft::AircraftData& a, AirframeOutline& o) {
  PartPivotSet& v = o.PartPivots;
  const double e = a.FinHalfSpacing;
  const double wy = o.WingY(1, 6);
  const double wz = o.WingZ(1, 6);
  v.FinPivot2 = {o.TailX(11, 3), o.TailY(11, 3) + o.FinHingeY, o.TailZ(11, 3)};
  v.ForeFrontFuselagePivot = {0.0, wy, wz};
  v.AftFrontFuselagePivot = {0.0, wy, wz - 0.6};
  const double wingZ = v.ForeFrontFuselagePivot.Z + 0.1;
  v.CentreWingPivot = {(o.WingX(1, 6) + o.WingX(0, 6)) / 2, wy, wingZ};
  v.InnerWingPivot = {(o.WingX(3, 6) + o.WingX(2, 6)) / 2, wy, wingZ};
  v.OuterWingPivot = {(o.WingX(8, 6) + o.WingX(4, 6)) / 2, wy, wingZ};
  v.ForeRearFuselagePivot = {e + 0.1, v.ForeFrontFuselagePivot.Y - 0.01, wz};
  v.MidRearFuselagePivot = {e + 0.001, (o.RearFuselageY(1, 0) + o.RearFuselageY(2, 0)) / 2,
                            (o.RearFuselageZ(2, 4) + o.RearFuselageZ(1, 0)) / 2};
  v.AftRearFuselagePivot = {e + 0.001, (o.RearFuselageY(4, 0) + o.RearFuselageY(2, 0)) / 2,
                            (o.RearFuselageZ(3, 4) + o.RearFuselageZ(2, 0)) / 2};
  const OutlinePoint aft = v.AftRearFuselagePivot;
  v.TailplanePivot = {0.5, v.MidRearFuselagePivot.Y, aft.Z + 0.05};
  v.FinPivot1 = {e + 0.1, aft.Y, aft.Z + 0.6};
  v.FinPivot3 = {e + 0.1, aft.Y, aft.Z + 0.6};
}

}  // namespace

void BuildSlicedFairingOutline(const aircraft::AircraftData& a, const OutlineInputs& sizes,
                               AirframeOutline& o) {
  outline_build::ClearForBuild(o);

  WriteFairing(a, sizes, o);

  SectionTemplateData& t = o.SectionTemplate;
  light_outline::WriteTailSection(t);
  const double k = sizes.TailProfileDrag;
  for (double& th : t.Thickness) th = k * th * 100;

  const double area = a.TailplaneArea;
  const double ct = sizes.TailChord;
  const double cf = sizes.FinChord;
  const double ht = a.TailEndHeight;

  if (a.FinHalfSpacing >= 1.0) {
    if (area > 0) light_outline::WriteStraightTailplane(o, a.FinHalfSpacing, ct);
    o.TailplaneHingeY = -a.TailplaneArm;
    o.TailplaneHingeZ = ht;
    WriteTwinFins(a, sizes, o);
    o.FinHingeX = 0.0;
    o.FinHingeY = -a.FinArm;
  } else {
    if (area > 0) {
      WriteBoom(a, sizes, o);
      light_outline::WriteTaperedTailplane(o, GuardedRatio(area, ct) / 2, ct,
                                           sizes.TailplaneSweepOffset);
    }
    o.TailplaneHingeY = -a.TailplaneArm;
    o.TailplaneHingeZ = ht + 0.1;
    const bool tall = ht > 1.0;
    light_outline::WriteCentralFin(o, tall, GuardedRatio(a.FinArea, cf), cf, sizes.FinSweepOffset,
                                   ht);
    o.FinHingeX = tall ? 0.2 : 0.0;
    o.FinHingeY = -a.FinArm;
  }

  WritePivots(a, o);
}

}  // namespace zarv::model
