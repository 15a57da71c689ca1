#include <gtest/gtest.h>

#include <cmath>

#include "model/powered_outline.h"
#include "powered_fixture.h"

namespace zarv::model {
namespace {

using test::Config;
using test::MakeAircraft;
using test::PoweredAircraft;

constexpr double kTol = 1e-9;

double ZMid(const AirframeOutline& o) { return (o.OutlineZMin + o.OutlineZMax) / 2; }

// Midpoint and radius of a 12-point ring from two opposite points (opposite
// only to about 1e-4 through the 57.3 degrees per radian).
constexpr double kRingTol = 1e-4;
struct RingFit {
  double x, z, r;
};
RingFit FitRing(const AirframeOutline& o, int s) {
  const double x0 = o.NacelleX(s, 0), z0 = o.NacelleZ(s, 0);
  const double x6 = o.NacelleX(s, 6), z6 = o.NacelleZ(s, 6);
  return {(x0 + x6) / 2, (z0 + z6) / 2 + ZMid(o), std::hypot(x0 - x6, z0 - z6) / 2};
}

// Engine 1 m, wing root at 1.2 m, body side 0.5 m, tail end 6 m back, root
// aft upper point at 1.2 m height, root leading edge at Y = 0.6.
PoweredAircraft WorkedWingRoot() {
  PoweredAircraft a = MakeAircraft(Config::WingRoot);
  a.aircraft.FinHalfSpacing = 1.6;
  a.state.WingRootOffset = 1.6;
  a.state.EngineDiameter = 1;
  a.state.BodyHalfWidth = 0.5;
  a.state.TailPointArm = 6;
  a.state.CgChordFraction = 0.25;  // no fore-and-aft shift
  test::FillWingGrid(a);
  a.outline.WingZ(0, 1) = 1.2;
  a.outline.WingY(0, 4) = 0.6;
  BuildUnderwingNacelleOutline(a.aircraft, a.state, a.outline);
  return a;
}

TEST(WingRootNacelleOutline, WorkedExample) {
  const PoweredAircraft a = WorkedWingRoot();
  const AirframeOutline& o = a.outline;
  const double zm = ZMid(o);

  // Duct box from the body side to the wing root.
  EXPECT_NEAR(o.NacelleX(3, 0), 1.2, kTol);
  EXPECT_NEAR(o.NacelleX(3, 9), 0.5, kTol);
  EXPECT_NEAR(o.NacelleZ(3, 0) + zm, 1.055, kTol);
  EXPECT_NEAR(o.NacelleY(3, 0), 1.3, kTol);
  EXPECT_NEAR(o.NacelleZ(3, 5) + zm, 0.145, kTol);
  EXPECT_NEAR(o.NacelleY(3, 5), -0.6, kTol);
  // Inner lip, 0.9 as wide.
  EXPECT_NEAR(o.NacelleY(2, 0), 1.6, kTol);
  EXPECT_NEAR(o.NacelleY(2, 8), 0.0, kTol);
  EXPECT_NEAR(o.NacelleZ(2, 11) + zm, 0.985, kTol);
  EXPECT_NEAR(o.NacelleZ(2, 4) + zm, 0.245, kTol);
  EXPECT_NEAR((o.NacelleX(2, 0) - o.NacelleX(2, 6)) / 2, 0.315, kTol);
  // Duct ring and its floor.
  const RingFit r1 = FitRing(o, 1);
  EXPECT_NEAR(r1.x, 0.85, kRingTol);
  EXPECT_NEAR(r1.z, 0.705, kRingTol);
  EXPECT_NEAR(r1.r, 0.2835, kRingTol);
  EXPECT_NEAR(o.NacelleY(1, 7), -0.3, kTol);
  EXPECT_NEAR(o.NacelleY(0, 3), -0.3, kTol);
  EXPECT_NEAR(FitRing(o, 0).r, 0.001, kRingTol);
  // Body, rim and nozzle.
  const double ys[5] = {-4.2, -4.45, -5.05, -4.2, -4.2};
  for (int s = 8; s <= 12; ++s) {
    const RingFit f = FitRing(o, s);
    EXPECT_NEAR(f.x, 0.675, kRingTol) << s;
    EXPECT_NEAR(f.z, 0.675, kRingTol) << s;
    EXPECT_NEAR(o.NacelleY(s, 4), ys[s - 8], kTol) << s;
  }
  EXPECT_NEAR(FitRing(o, 12).r, 0.001, kRingTol);
  // Station 8's top point reaches the root's aft upper point.
  EXPECT_NEAR(o.NacelleZ(8, 0) + zm, 1.2, kTol);
  // Lower inboard points meet the fuselage bottom.
  EXPECT_EQ(o.NacelleZ(4, 8), o.FrontFuselageZ(7, 5));
  EXPECT_EQ(o.NacelleZ(5, 8), o.FrontFuselageZ(8, 5));
}

// The front fuselage of the worked example (H = 1.4), heights from the nacelle's lower
// inboard point of station 6: Zr = 0.575 + 0.525 cos(255 / 57.3).
TEST(WingRootNacelleOutline, FrontFuselageOnTheNacelle) {
  const PoweredAircraft a = WorkedWingRoot();
  const AirframeOutline& o = a.outline;
  const double zm = ZMid(o);
  const double zr = 0.575 + 0.525 * std::cos(255 / 57.3);
  ASSERT_NEAR(o.NacelleZ(6, 8) + zm, zr, kTol);
  // Nose tip at 16 - 6 = 10; the nose stations fill 10 down to Yj = -0.3.
  EXPECT_NEAR(o.FrontFuselageY(0, 5), 10, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(0, 0) + zm, zr + 0.014 + 0.001, kTol);
  EXPECT_NEAR(o.FrontFuselageY(1, 0), -0.3 + 0.91 * 10.3, kTol);
  EXPECT_NEAR(o.FrontFuselageY(6, 7), -0.3 + 0.15 * 10.3, kTol);
  // Flat-sided station 3: bottom 0.13 H under Zr, 1.03 H tall, side 0.442.
  EXPECT_NEAR(o.FrontFuselageZ(3, 0) + zm, zr - 0.182 + 1.442, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(3, 7) + zm, zr - 0.182, 1e-6);
  EXPECT_NEAR(o.FrontFuselageZ(3, 3) - o.FrontFuselageZ(3, 4), 0.442, kTol);
  EXPECT_NEAR(o.FrontFuselageX(3, 4), 0.5 * std::sin(90 / 57.3), kTol);
  // Junction station 7 on the intake rear (a = 0.5 at Y = -0.3).
  const double zn = o.NacelleZ(4, 9);
  EXPECT_NEAR(o.FrontFuselageY(7, 2), -0.3, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(7, 0), zn + 0.25, kTol);
  EXPECT_EQ(o.FrontFuselageZ(7, 3), zn);  // raised to the nacelle point
  EXPECT_NEAR(o.FrontFuselageZ(7, 6) + zm, zr - 0.084, kTol);
  EXPECT_EQ(o.FrontFuselageX(7, 7), 0.0);
  // Centre body: station 8 at the nacelle's flat top (1.2 m), bottom 0.014
  // under Zr; its side at the nacelle's inboard top corner, 1.2 - 0.97.
  EXPECT_NEAR(o.FrontFuselageX(8, 0), 0.001 + 0.001 * std::sin(90 / 57.3), kTol);
  EXPECT_NEAR(o.FrontFuselageZ(8, 2) + zm, 1.2, 1e-6);
  EXPECT_NEAR(o.FrontFuselageX(8, 4), 0.23, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(8, 5) + zm, zr - 0.014, kTol);
  EXPECT_EQ(o.FrontFuselageX(9, 5), o.NacelleX(6, 9));
  EXPECT_NEAR(o.FrontFuselageZ(9, 7) + zm, zr, kTol);
  // Tail station flat at the boom's inboard point; side points at Y -4.2.
  for (int p = 0; p < 8; ++p) EXPECT_EQ(o.FrontFuselageZ(11, p), o.NacelleZ(8, 9)) << p;
  EXPECT_NEAR(o.FrontFuselageY(11, 3), -4.2, kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 5), -4.7, kTol);
  EXPECT_NEAR(o.FrontFuselageX(11, 1), 0.7 * o.NacelleX(7, 9) + 0.001 * std::sin(30 / 57.3), kTol);
}

TEST(WingRootNacelleOutline, CrestRowAndKeelJoin) {
  PoweredAircraft a = MakeAircraft(Config::WingRoot);
  const AirframeOutline before = a.outline;
  BuildUnderwingNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  // Crest points of stations 0 to 2 on the line through stations 3 and 2.
  const double x0 = before.WingX(0, 2), x2 = before.WingX(2, 2), x3 = before.WingX(3, 2);
  const double y2 = before.WingY(2, 2), y3 = before.WingY(3, 2);
  const double ystar = y3 + (x0 - x3) * (y2 - y3) / (x2 - x3);
  const double dY = (a.state.CgChordFraction - 0.25) * a.state.MeanChord;
  for (int s = 0; s <= 2; ++s) {
    EXPECT_NEAR(o.WingX(s, 2), x0, kTol);
    EXPECT_NEAR(o.WingY(s, 2), ystar + dY, kTol);
    EXPECT_NEAR(o.WingZ(s, 2), before.WingZ(s, 2) - ZMid(o), kTol);
  }
  // The root's lower point closes the front of the keel body.
  for (int s = 0; s <= 1; ++s) {
    for (int p = 3; p <= 5; ++p) {
      EXPECT_NEAR(o.RearFuselageX(s, p), o.WingX(0, 7), kTol);
      EXPECT_NEAR(o.RearFuselageY(s, p), o.WingY(0, 7), kTol);
      EXPECT_NEAR(o.RearFuselageZ(s, p), o.WingZ(0, 7), kTol);
    }
  }
}

TEST(TwinBoomNacelleOutline, LowerCornersOfTheFlatTopSection) {
  PoweredAircraft a = MakeAircraft(Config::Wide);
  a.state.EngineDiameter = 1;
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const double S = a.state.WingRootOffset;
  const double xc = S - 0.45;
  const double zc = (o.WingZ(1, 0) - 1.1) + 0.45;  // the raised trailing edge
  const double dx[6] = {0.458, 0.398, 0.293, -0.293, -0.398, -0.458};
  const double dz[6] = {-0.293, -0.398, -0.458, -0.458, -0.398, -0.293};
  for (int p = 3; p <= 8; ++p) {
    EXPECT_NEAR(o.NacelleX(5, p) - xc, dx[p - 3], 5e-4) << p;
    EXPECT_NEAR(o.NacelleZ(5, p) - zc, dz[p - 3], 5e-4) << p;
  }
  // Root: trailing edge at the nacelle's inboard side, the rest at the body.
  EXPECT_NEAR(o.WingX(0, 0), S - 1.05, kTol);
  for (int p = 1; p < 8; ++p) EXPECT_NEAR(o.WingX(0, p), a.state.BodyHalfWidth, kTol) << p;
  // The keel is a web in the fin plane.
  for (int i = 0; i < RearFuselageGrid::kCells; ++i) EXPECT_EQ(o.RearFuselageX[i], S);
  // Outboard top corners drop to the keel's inboard edge.
  for (int p = 0; p < 3; ++p) {
    EXPECT_EQ(o.NacelleZ(5, p), o.RearFuselageZ(1, 5));
    EXPECT_EQ(o.NacelleZ(6, p), o.RearFuselageZ(2, 5));
  }
}

TEST(TwinBoomNacelleOutline, NarrowIsTheWideMovedInboard) {
  PoweredAircraft wide = MakeAircraft(Config::Wide);
  PoweredAircraft narrow = wide;
  BuildWideNacelleOutline(wide.aircraft, wide.state, wide.outline);
  BuildNarrowNacelleOutline(narrow.aircraft, narrow.state, narrow.outline);
  const AirframeOutline& w = wide.outline;
  const AirframeOutline& n = narrow.outline;
  for (int s = 0; s < 13; ++s) {
    for (int p = 0; p < 12; ++p) {
      EXPECT_NEAR(n.NacelleY(s, p), w.NacelleY(s, p), kTol);
      EXPECT_NEAR(n.NacelleZ(s, p) + ZMid(n), w.NacelleZ(s, p) + ZMid(w), kTol);
      if (s >= 5) {
        EXPECT_NEAR(n.NacelleX(s, p), w.NacelleX(s, p) - 0.4, kTol);
      }
    }
  }
  EXPECT_NEAR(n.WingX(0, 0), w.WingX(0, 0) - 0.4, kTol);
  EXPECT_NEAR(n.NacelleX(3, 0), w.NacelleX(3, 0) - 0.4, kTol);
  EXPECT_NEAR(n.NacelleX(3, 9), w.NacelleX(3, 9), kTol);
  // The narrow nose droops half as far.
  const double H = wide.state.BodyHeight;
  EXPECT_NEAR(n.WingZ(0, 6) - (n.FrontFuselageZ(0, 0) - 0.001), (std::sin(1.5) / 4 - 0.14) * H, kTol);
  EXPECT_NEAR(w.WingZ(0, 6) - (w.FrontFuselageZ(0, 0) - 0.001), (std::sin(1.5) / 2 - 0.14) * H, kTol);
}

TEST(TwinBoomOutline, FrontFuselageClosingStationAndWaist) {
  PoweredAircraft a = MakeAircraft(Config::Wide);
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const double W = a.state.BodyHalfWidth;
  // Station 8's upper half from the root's aft upper point (X = W there).
  EXPECT_NEAR(o.FrontFuselageX(8, 2), 0.72 * W * std::sin(60 / 57.3), kTol);
  EXPECT_NEAR(o.FrontFuselageZ(8, 0) - o.WingZ(0, 1), W / 2, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(8, 7) - o.WingZ(0, 7), -0.2, kTol);
  // Waist point 3 of station 7: X and Y of root point 2, height of point 1.
  EXPECT_EQ(o.FrontFuselageX(7, 3), o.WingX(0, 2));
  EXPECT_EQ(o.FrontFuselageY(7, 3), o.WingY(0, 2));
  EXPECT_EQ(o.FrontFuselageZ(7, 3), o.WingZ(0, 1));
  EXPECT_EQ(o.FrontFuselageZ(6, 5), o.WingZ(0, 5));
  // Closing station flat at the boom's inboard height, out to the boom.
  for (int p = 0; p < 8; ++p) EXPECT_EQ(o.FrontFuselageZ(11, p), o.NacelleZ(8, 9)) << p;
  EXPECT_EQ(o.FrontFuselageY(11, 4), o.NacelleY(8, 0));
  EXPECT_NEAR(o.FrontFuselageY(11, 6), o.NacelleY(8, 0) - 0.5, kTol);
  EXPECT_NEAR(o.FrontFuselageX(11, 3), o.NacelleX(7, 9) + 0.001 * std::sin(90 / 57.3), kTol);
}

TEST(TwinBoomOutline, NarrowKeelBodyIsAnOctagonBehindTheWing) {
  PoweredAircraft a = MakeAircraft(Config::Narrow);  // S = 2, D = 1
  BuildNarrowNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const double dY = (a.state.CgChordFraction - 0.25) * a.state.MeanChord;
  const double zt = o.WingZ(1, 0);  // raised trailing edge; keel 0.5 below
  EXPECT_NEAR(o.RearFuselageY(3, 5) - dY, 1.3 - a.state.TailPointArm, kTol);
  const double xs[8] = {1.95, 2, 2, 1.95, 1.65, 1.6, 1.6, 1.75};
  const double zs[8] = {-0.2, -0.25, -0.53, -0.58, -0.58, -0.53, -0.35, -0.2};
  for (int p = 0; p < 8; ++p) {
    EXPECT_NEAR(o.RearFuselageX(3, p), xs[p], kTol) << p;
    EXPECT_NEAR(o.RearFuselageZ(3, p) - zt, zs[p], kTol) << p;
  }
  // A point at the leading edge of station 1, inboard, at the lower surface.
  EXPECT_NEAR(o.RearFuselageX(0, 4), 1.6, kTol);
  EXPECT_EQ(o.RearFuselageY(0, 4), o.WingY(1, 4));
  EXPECT_EQ(o.RearFuselageZ(0, 4), o.WingZ(1, 6));
  EXPECT_NEAR(o.RearFuselageZ(2, 2) - zt, -0.45, kTol);
  EXPECT_NEAR(o.RearFuselageX(2, 3), 1.95, kTol);
}

// The tail of the worked example: b = e = 2, tailplane 6 m2 of chord 1.5
// swept back 0.6, fins of 8 m2 (chord 1.6, sweep 1.08) tilted 0.2 rad.
PoweredAircraft ExampleTail() {
  PoweredAircraft a = MakeAircraft(Config::Wide);
  a.aircraft.FinTilt = 0.2;
  a.state.TailChord = 1.5;
  a.state.TailplaneSweepOffset = 0.6;
  a.state.TailProfileDrag = 0.01;
  return a;
}

TEST(TwinFinTail, WorkedTailplaneAndFin) {
  PoweredAircraft a = ExampleTail();
  ASSERT_DOUBLE_EQ(a.state.FinChord, 1.6);
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  // Tailplane, relative to its hinge.
  EXPECT_NEAR(o.TailX(2, 3), -2, kTol);
  EXPECT_NEAR(o.TailY(2, 3), 0.76125, kTol);
  EXPECT_NEAR(o.TailY(2, 0), -1.44375, kTol);
  EXPECT_NEAR(o.TailX(1, 3), -4.075, kTol);
  EXPECT_NEAR(o.TailY(1, 3), -0.19125, kTol);
  EXPECT_NEAR(o.TailX(1, 0), -3.775, kTol);
  EXPECT_NEAR(o.TailY(1, 0), -0.98625, kTol);
  EXPECT_NEAR(o.TailX(0, 3), -4.1277, 1e-4);
  EXPECT_NEAR(o.TailY(0, 3), -0.39, kTol);
  EXPECT_NEAR(o.TailX(0, 0), -4.0084, 1e-4);
  EXPECT_NEAR(o.TailY(0, 0), -0.7875, kTol);
  EXPECT_NEAR(o.TailZ(0, 1), 0.00005, kTol);
  EXPECT_NEAR(o.TailX(5, 3), 4.1277, 1e-4);
  // Left fin tip's leading edge, Y from the hinge line.
  EXPECT_NEAR(o.TailX(7, 3), -2.3742, 1e-4);
  EXPECT_NEAR(o.TailY(7, 3), -0.61, kTol);
  EXPECT_NEAR(o.TailZ(7, 3) - o.RearFuselageZ(2, 0), 2.4502, 1e-4);
  // Root faces stand exactly on the fin planes.
  EXPECT_NEAR(o.TailX(8, 4), -2, kTol);
  EXPECT_NEAR(o.TailX(8, 5), -2, kTol);
  EXPECT_NEAR(o.TailX(11, 1), 2, kTol);
  EXPECT_NEAR(o.TailX(11, 2), 2, kTol);
  // The tail section left in the template.
  EXPECT_DOUBLE_EQ(o.SectionTemplate.Chordwise[2], 0.02);
  EXPECT_NEAR(o.SectionTemplate.Thickness[1], 0.05, kTol);
  EXPECT_NEAR(o.SectionTemplate.Thickness[5], -0.05, kTol);
}

TEST(TwinFinTail, FinHingeAtTheArmWhenTheRootClearsTheWing) {
  PoweredAircraft a = ExampleTail();
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const double dY = (a.state.CgChordFraction - 0.25) * a.state.MeanChord;
  EXPECT_NEAR(a.outline.FinHingeY, -a.aircraft.FinArm + dY, kTol);
  EXPECT_NEAR(a.outline.TailplaneHingeY, dY - a.aircraft.TailplaneArm, kTol);
  EXPECT_EQ(a.outline.FinHingeX, 0.0);
}

TEST(TwinFinTail, FinPulledBackOntoTheWingTrailingEdge) {
  PoweredAircraft a = ExampleTail();
  a.aircraft.FinArm = 0.5;  // root midpoint well ahead of the trailing edge
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  // Root point 2 stands on the trailing edge; point 3 was slid back onto it.
  EXPECT_NEAR(o.TailY(8, 2) + o.FinHingeY, o.WingY(2, 0), kTol);
  EXPECT_NEAR(o.TailY(8, 3) + o.FinHingeY, o.WingY(0, 0), kTol);
  EXPECT_EQ(o.TailX(11, 3), -o.TailX(8, 3));
  EXPECT_EQ(o.TailY(11, 3), o.TailY(8, 3));
  EXPECT_EQ(o.TailZ(11, 3), o.TailZ(8, 3));
  // The second fin's pivot keeps the root point from before the slide.
  EXPECT_NEAR(o.PartPivots.FinPivot2.Y, 1.5 * 1.6 * 0.25 + 0.35 * 1.08 + o.FinHingeY, kTol);
}

}  // namespace
}  // namespace zarv::model
