// The powered builders: the choice among them at its boundaries, points of
// each worked by hand, and what every finished outline has, for each
// configuration and for degenerate tails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/powered_common.h"
#include "model/powered_outline.h"
#include "powered_fixture.h"

namespace zarv::model {
namespace {

using test::Config;
using test::MakeAircraft;
using test::PoweredAircraft;

constexpr double kTol = 1e-9;

// Each row moves one input of a twin-fin jet across a boundary of the table.
TEST(OutlineBuilderChoice, FirstMatchingRowAtItsBoundaries) {
  struct Row {
    double LaunchSpeed, WingHeight;
    int Engines;
    double FinHalfSpacing, CgPosition, WingRootOffset;
    OutlineBuilder Expected;
  };
  const Row rows[] = {
      {9.99, 0.5, 2, 2.0, 0.3, 2, OutlineBuilder::Pod},
      {9.99, 0.9, 2, 2.0, 0.3, 2, OutlineBuilder::SlicedFairing},
      {10, 0.5, 2, 2.0, 0.3, 2, OutlineBuilder::NarrowNacelle},  // 10 m/s is powered here
      {100, 0.5, 1, 2.0, 0.3, 2, OutlineBuilder::None},
      {100, 0.5, 2, 1.0, 0.3, 1, OutlineBuilder::SingleFinJet},
      {100, 0.5, 2, 1.0001, 0.3, 1.0001, OutlineBuilder::WideNacelle},
      {100, 0.5, 2, 2.0, 0.2699, 2, OutlineBuilder::UnderwingNacelle},
      {100, 0.5, 2, 2.0, 0.27, 2, OutlineBuilder::NarrowNacelle},
      // Wide while 1.05 x engine diameter + 0.4 reaches the half-span.
      {100, 0.5, 2, 2.0, 0.3, 1.45, OutlineBuilder::WideNacelle},
      {100, 0.5, 2, 2.0, 0.3, 1.46, OutlineBuilder::NarrowNacelle},
  };
  for (const Row& r : rows) {
    aircraft::AircraftData a;
    a.LaunchSpeed = r.LaunchSpeed;
    a.WingHeight = r.WingHeight;
    a.EngineCount = static_cast<int16_t>(r.Engines);
    a.FinHalfSpacing = r.FinHalfSpacing;
    a.CgPosition = r.CgPosition;
    EXPECT_EQ(ChooseOutlineBuilder(a, 1.0, r.WingRootOffset), r.Expected)
        << r.LaunchSpeed << " " << r.WingHeight << " " << r.Engines << " " << r.FinHalfSpacing << " "
        << r.CgPosition << " " << r.WingRootOffset;
  }
}

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
  // Duct box from the body side to the wing root; inner lip 0.9 as wide.
  EXPECT_NEAR(o.NacelleX(3, 0), 1.2, kTol);
  EXPECT_NEAR(o.NacelleX(3, 9), 0.5, kTol);
  EXPECT_NEAR(o.NacelleZ(3, 0) + zm, 1.055, kTol);
  EXPECT_NEAR((o.NacelleX(2, 0) - o.NacelleX(2, 6)) / 2, 0.315, kTol);
  // Duct ring, and the body down to a 1 mm nozzle.
  const RingFit r1 = FitRing(o, 1);
  EXPECT_NEAR(r1.x, 0.85, kRingTol);
  EXPECT_NEAR(r1.z, 0.705, kRingTol);
  EXPECT_NEAR(r1.r, 0.2835, kRingTol);
  EXPECT_NEAR(FitRing(o, 10).x, 0.675, kRingTol);
  EXPECT_NEAR(o.NacelleY(10, 4), -5.05, kTol);
  EXPECT_NEAR(FitRing(o, 12).r, 0.001, kRingTol);
  // The front fuselage stands on the nacelle's lower inboard point of
  // station 6, Zr = 0.575 + 0.525 cos(255 / 57.3): nose tip at 16 - 6 = 10,
  // flat-sided station 3 from 0.13 H under Zr, 1.03 H tall.
  const double zr = 0.575 + 0.525 * std::cos(255 / 57.3);
  ASSERT_NEAR(o.NacelleZ(6, 8) + zm, zr, kTol);
  EXPECT_NEAR(o.FrontFuselageY(0, 5), 10, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(3, 0) + zm, zr - 0.182 + 1.442, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(8, 2) + zm, 1.2, 1e-6);  // the nacelle's flat top
  EXPECT_EQ(o.FrontFuselageZ(7, 3), o.NacelleZ(4, 9));
  EXPECT_EQ(o.NacelleZ(4, 8), o.FrontFuselageZ(7, 5));
}

TEST(TwinBoomNacelleOutline, WideFlatTopSectionAndKeel) {
  PoweredAircraft a = MakeAircraft(Config::Wide);
  a.state.EngineDiameter = 1;
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const double S = a.state.WingRootOffset;
  const double zc = (o.WingZ(1, 0) - 1.1) + 0.45;  // below the raised trailing edge
  EXPECT_NEAR(o.NacelleX(5, 3) - (S - 0.45), 0.458, 5e-4);
  EXPECT_NEAR(o.NacelleZ(5, 5) - zc, -0.458, 5e-4);
  // Root: trailing edge at the nacelle's inboard side, the rest at the body.
  EXPECT_NEAR(o.WingX(0, 0), S - 1.05, kTol);
  EXPECT_NEAR(o.WingX(0, 4), a.state.BodyHalfWidth, kTol);
  // The keel is a web in the fin plane; the outboard top corners drop to it.
  for (int i = 0; i < RearFuselageGrid::kCells; ++i) EXPECT_EQ(o.RearFuselageX[i], S);
  EXPECT_EQ(o.NacelleZ(5, 0), o.RearFuselageZ(1, 5));
}

TEST(TwinBoomNacelleOutline, NarrowIsTheWideMovedInboardWithAnOctagonKeel) {
  PoweredAircraft wide = MakeAircraft(Config::Wide);
  PoweredAircraft narrow = wide;
  BuildWideNacelleOutline(wide.aircraft, wide.state, wide.outline);
  BuildNarrowNacelleOutline(narrow.aircraft, narrow.state, narrow.outline);
  for (int s = 5; s < 13; ++s) {
    for (int p = 0; p < 12; ++p) EXPECT_NEAR(narrow.outline.NacelleX(s, p), wide.outline.NacelleX(s, p) - 0.4, kTol);
  }
  // S = 2, D = 1: the keel body behind the wing, 0.5 below the trailing edge.
  PoweredAircraft k = MakeAircraft(Config::Narrow);
  BuildNarrowNacelleOutline(k.aircraft, k.state, k.outline);
  const AirframeOutline& o = k.outline;
  EXPECT_NEAR(o.RearFuselageX(3, 4), 1.65, kTol);
  EXPECT_NEAR(o.RearFuselageZ(3, 3) - o.WingZ(1, 0), -0.58, kTol);
}

// Each twin-boom builder on its own aircraft, against numbers worked from
// the body (H 1.4, W 0.56), the boom line S = 2 and the engine: the front
// fuselage's half-widths, the nose droop, and the boom's rings down to the
// nozzle. Angles go through 57.3 degrees a radian.
TEST(TwinBoomNacelleOutline, FrontFuselageAndNozzleWorkedByHandForEachBuilder) {
  const double s90 = std::sin(90 / 57.3);
  struct Row {
    Config config;
    double D, Bx, Xc, NoseBelowRoot;  // Bx = S - b - 1.05 D, Xc = Bx + 0.525 D
  };
  const Row rows[] = {
      {Config::Wide, 1.6, 0.32, 1.16, 0.35875 * 1.4 - 0.001},  // 0.14 - sin 1.5 / 2
      {Config::Narrow, 1.0, 0.55, 1.075, 0.10937 * 1.4 - 0.001},  // 0.14 - sin 1.5 / 4, 0.4 inboard
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.config == Config::Wide ? "wide" : "narrow");
    PoweredAircraft a = MakeAircraft(r.config);
    if (r.config == Config::Wide) {
      BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
    } else {
      BuildNarrowNacelleOutline(a.aircraft, a.state, a.outline);
    }
    const AirframeOutline& o = a.outline;
    // Waist half-widths: 0.3, 0.57 and 0.73 H / 2, then 0.93 W and W, the
    // upper half along the root 0.72 W.
    const double waist[9] = {0.001, 0.21, 0.399, 0.511, 0.5208, 0.56, 0.56, 0.56, 0.4032};
    for (int s = 0; s < 9; ++s) {
      if (s == 7) continue;
      EXPECT_NEAR(o.FrontFuselageX(s, 3), waist[s] * s90, kTol) << s;
    }
    EXPECT_NEAR(o.FrontFuselageX(7, 3), 0.56, kTol);  // the root's point
    EXPECT_NEAR(o.FrontFuselageX(8, 5), 0.56, kTol);
    // Behind the root out to the booms' inboard side.
    EXPECT_NEAR(o.FrontFuselageX(9, 4), r.Bx, kTol);
    EXPECT_NEAR(o.FrontFuselageX(11, 3), r.Bx + 0.001 * s90, kTol);
    EXPECT_NEAR(o.FrontFuselageX(11, 1), 0.7 * r.Bx + 0.001 * std::sin(30 / 57.3), kTol);
    // The nose tip's top, below the root's lower point 6 by the droop.
    EXPECT_NEAR(o.FrontFuselageZ(0, 0) - o.WingZ(0, 6), -r.NoseBelowRoot, 1e-4);
    // Rings about (Xc, Zc): boom D / 2, nozzle exit 0.85 D / 2 with its
    // point 0 straight up, the floor ring 0.3 D at 30 p - 15 degrees.
    const double zc = o.NacelleZ(10, 0) - 0.425 * r.D;
    EXPECT_NEAR(o.NacelleX(10, 0), r.Xc, kTol);
    EXPECT_NEAR(o.NacelleX(10, 3), r.Xc + 0.425 * r.D * s90, kTol);
    EXPECT_NEAR(o.NacelleZ(10, 6), zc + 0.425 * r.D * std::cos(180 / 57.3), kTol);
    EXPECT_NEAR(o.NacelleX(9, 2), r.Xc + 0.5 * r.D * std::sin(75 / 57.3), kTol);
    EXPECT_NEAR(o.NacelleZ(9, 0), zc + 0.5 * r.D * std::cos(15 / 57.3), kTol);
    EXPECT_NEAR(o.NacelleX(11, 3), r.Xc + 0.3 * r.D * std::sin(75 / 57.3), kTol);
    EXPECT_NEAR(o.NacelleX(12, 3), r.Xc + 0.001 * r.D * std::sin(75 / 57.3), kTol);
  }
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

TEST(TwinFinTail, WorkedTailplaneFinAndHinges) {
  PoweredAircraft a = ExampleTail();
  ASSERT_DOUBLE_EQ(a.state.FinChord, 1.6);
  BuildWideNacelleOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  // Tailplane, relative to its hinge.
  EXPECT_NEAR(o.TailY(2, 3), 0.76125, kTol);
  EXPECT_NEAR(o.TailX(1, 0), -3.775, kTol);
  EXPECT_NEAR(o.TailX(0, 3), -4.1277, 1e-4);
  EXPECT_NEAR(o.TailY(0, 0), -0.7875, kTol);
  // Left fin tip's leading edge; the root faces stand on the fin planes.
  EXPECT_NEAR(o.TailX(7, 3), -2.3742, 1e-4);
  EXPECT_NEAR(o.TailZ(7, 3) - o.RearFuselageZ(2, 0), 2.4502, 1e-4);
  EXPECT_NEAR(o.TailX(8, 4), -2, kTol);
  // The tail section left in the template for the stages after.
  EXPECT_DOUBLE_EQ(o.SectionTemplate.Chordwise[2], 0.02);
  // The root clears the wing: fin hinge at the arm.
  const double dY = (a.state.CgChordFraction - 0.25) * a.state.MeanChord;
  EXPECT_NEAR(o.FinHingeY, -a.aircraft.FinArm + dY, kTol);
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
  // The second fin's pivot keeps the root point from before the slide.
  EXPECT_NEAR(o.PartPivots.FinPivot2.Y, 1.5 * 1.6 * 0.25 + 0.35 * 1.08 + o.FinHingeY, kTol);
}

struct Frame {
  double dy, zmid;
};
Frame FrameOf(const PoweredAircraft& a) {
  return {(a.state.CgChordFraction - 0.25) * a.state.MeanChord, ZMid(a.outline)};
}

TEST(SingleFinJetOutline, NoseBodyTailConeAndFin) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const Frame f = FrameOf(a);
  const double H = a.state.BodyHeight;
  const double D = a.state.TailPointArm;
  // Nose tip, and the first full section 1.6 body heights behind it.
  EXPECT_NEAR(o.FrontFuselageY(0, 0) - f.dy, a.aircraft.OverallLength - D, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(0, 0) + f.zmid, 0.3 * H + 0.001, kTol);
  EXPECT_NEAR(o.FrontFuselageY(4, 0) - f.dy, a.aircraft.OverallLength - D - 1.6 * H, kTol);
  // The cone keeps the top line and ends at the tail end at 0.9 H.
  EXPECT_NEAR(o.RearFuselageZ(2, 0) + f.zmid, H, kTol);
  EXPECT_NEAR(o.RearFuselageY(4, 0) - f.dy, -D, kTol);
  EXPECT_NEAR(o.RearFuselageZ(4, 7) + f.zmid, 0.9 * H - 0.001, 1e-6);
  // Collapsed nacelle: one 1 mm ring, everything else at the origin.
  EXPECT_NEAR(o.NacelleX(0, 0), 0.001 * std::sin(15 / 57.3) + 0.001, kTol);
  EXPECT_EQ(o.NacelleX(5, 5), 0.0);
  // A fin of FinArea on the top line, hinged at its sweep; fins 1.6 m apart
  // drawn as one.
  EXPECT_NEAR(o.FinHingeY, a.state.FinSweepOffset - a.aircraft.FinArm + f.dy, kTol);
  EXPECT_NEAR(o.TailZ(7, 3) - o.TailZ(8, 3), a.aircraft.FinArea / a.state.FinChord, kTol);
  EXPECT_NEAR(o.PartPivots.FinPivot1.X, 0.8, kTol);
  EXPECT_EQ(o.TailplaneHingeZ, o.RearFuselageZ(3, 4));
}

// Which body points meet the root section depends on the wing height: a
// mid wing between the shoulders, a low wing on the lower shoulder, a wing
// above the body leaves the body alone and moves its root.
TEST(SingleFinJetOutline, RootJunctionByWingHeight) {
  const int pairs[5][3] = {{6, 4, 4}, {7, 3, 5}, {8, 2, 6}, {9, 1, 7}, {10, 0, 0}};
  for (const double height : {0.6, 0.1, 1.4}) {
    SCOPED_TRACE(height);
    PoweredAircraft a = MakeAircraft(Config::SingleFin);
    a.aircraft.WingHeight = height;
    test::FillWingGrid(a);
    BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
    const AirframeOutline& o = a.outline;
    for (const auto& st : pairs) {
      if (height == 0.6) {
        EXPECT_EQ(o.FrontFuselageZ(st[0], 3), o.WingZ(0, st[1])) << st[0];
        EXPECT_EQ(o.FrontFuselageX(st[0], 4), o.WingX(0, st[2])) << st[0];
      } else if (height == 0.1) {
        EXPECT_EQ(o.FrontFuselageZ(st[0], 4), o.WingZ(0, st[1])) << st[0];
        EXPECT_EQ(o.FrontFuselageX(st[0], 5), o.WingX(0, st[2])) << st[0];
      }
    }
    if (height == 1.4) {
      for (int q = 0; q <= 4; ++q) EXPECT_EQ(o.WingX(0, q), 0.0);
      for (int p = 5; p <= 7; ++p) EXPECT_EQ(o.FrontFuselageZ(p, 1), o.WingZ(0, p));
    }
  }
}

TEST(SingleFinJetOutline, TailplaneLeftOutForRocketsAndLowAspectRatio) {
  for (const auto& [type, aspect, built] :
       {std::tuple{aircraft::EngineKind::Jet, 4.8, false}, std::tuple{aircraft::EngineKind::Rocket, 2.49, false},
        std::tuple{aircraft::EngineKind::Jet, 2.5, false}, std::tuple{aircraft::EngineKind::Jet, 2.49, true}}) {
    PoweredAircraft a = MakeAircraft(Config::SingleFin);
    a.state.GeometricAspectRatio = aspect;
    a.state.EngineType = type;
    BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
    const AirframeOutline& o = a.outline;
    SCOPED_TRACE(std::string(aircraft::EngineKindText(type)));
    SCOPED_TRACE(aspect);
    if (built) {
      EXPECT_EQ(o.TailX(3, 0), a.state.WingRootOffset);
      EXPECT_NEAR(o.PartPivots.TailplanePivot.X, a.state.WingRootOffset + 0.3, kTol);
    } else {
      for (int r = 0; r < 6; ++r) {
        for (int j = 0; j < 6; ++j) EXPECT_EQ(o.TailX(r, j) + o.TailY(r, j) + o.TailZ(r, j), 0.0);
      }
      EXPECT_EQ(o.PartPivots.TailplanePivot.X, 0.3);
    }
  }
}

using Builder = void (*)(const aircraft::AircraftData&, const OutlineInputs&, AirframeOutline&);

struct Case {
  const char* name;
  Config config;
  Builder build;
};

const Case kCases[] = {
    {"wing-root nacelle", Config::WingRoot, &BuildUnderwingNacelleOutline},
    {"wide nacelle", Config::Wide, &BuildWideNacelleOutline},
    {"narrow nacelle", Config::Narrow, &BuildNarrowNacelleOutline},
    {"single fin", Config::SingleFin, &BuildSingleFinJetOutline},
};

TEST(PoweredOutlineInvariants, EveryConfiguration) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    PoweredAircraft a = MakeAircraft(c.config);
    c.build(a.aircraft, a.state, a.outline);
    const AirframeOutline& o = a.outline;
    EXPECT_TRUE(test::OutlineFinite(o));

    // Centred on the height range of the scanned grids.
    double lo = 1e9, hi = -1e9;
    const auto range = [&](const auto& g) {
      for (double v : g.Cells) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    };
    range(o.FrontFuselageZ), range(o.RearFuselageZ), range(o.WingZ), range(o.NacelleZ);
    EXPECT_NEAR(hi, -lo, 1e-12);
    EXPECT_NEAR(hi - lo, o.OutlineZMax - o.OutlineZMin, 1e-12);

    if (c.config == Config::SingleFin) continue;
    // Stations the builders copy (the twin-boom keel join later lowers
    // station 6's top corners only).
    for (int p = 0; p < 12; ++p) {
      EXPECT_EQ(o.NacelleX(7, p), o.NacelleX(6, p));
      if (c.config == Config::WingRoot || (p >= 3 && p <= 8)) {
        EXPECT_EQ(o.NacelleZ(7, p), o.NacelleZ(6, p));
      }
      EXPECT_EQ(o.NacelleY(12, p), o.NacelleY(11, 0));
    }
    for (int p = 0; p < 8; ++p) {
      EXPECT_EQ(o.RearFuselageZ(4, p), o.RearFuselageZ(4, 0));
      if (c.config == Config::WingRoot) {
        EXPECT_EQ(o.FrontFuselageZ(10, p), o.FrontFuselageZ(9, p));
        EXPECT_EQ(o.RearFuselageZ(1, p), o.RearFuselageZ(0, p));
      } else {
        EXPECT_EQ(o.FrontFuselageY(10, p), o.FrontFuselageY(9, p));
      }
    }
    // The right fin mirrors the left with its thickness side reversed.
    const int mirror[6] = {0, 5, 4, 3, 2, 1};
    for (int s = 6; s <= 8; ++s) {
      for (int j = 0; j < 6; ++j) {
        EXPECT_NEAR(o.TailX(s + 3, mirror[j]), -o.TailX(s, j), 1e-12) << s << "," << j;
        EXPECT_NEAR(o.TailY(s + 3, mirror[j]), o.TailY(s, j), 1e-12) << s << "," << j;
        if (s != 8) {
          EXPECT_NEAR(o.TailZ(s + 3, mirror[j]), o.TailZ(s, j), 1e-12) << s << "," << j;
        }
      }
    }
    // Tailplane halves mirror likewise.
    for (int s = 0; s <= 2; ++s) {
      for (int j = 0; j < 6; ++j) EXPECT_EQ(o.TailX(5 - s, j), -o.TailX(s, j)) << s << "," << j;
    }
  }
}

TEST(PoweredOutlineInvariants, DegenerateTailsStayFinite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    // No tailplane and no fin: chords 0, sweeps 0/0 as the set-up leaves them.
    PoweredAircraft a = MakeAircraft(c.config);
    a.aircraft.TailplaneArea = 0;
    a.aircraft.FinArea = 0;
    a.state.TailChord = 0;
    a.state.FinChord = 0;
    a.state.TailplaneSweepOffset = nan;
    a.state.FinSweepOffset = nan;
    c.build(a.aircraft, a.state, a.outline);
    EXPECT_TRUE(test::OutlineFinite(a.outline));
    // Surfaces of no chord: nothing to draw.
    for (int j = 0; j < 6; ++j) {
      EXPECT_EQ(a.outline.TailY(7, j), 0.0);
      EXPECT_EQ(a.outline.TailY(8, j), 0.0);
      if (c.config != Config::SingleFin) {
        EXPECT_EQ(a.outline.TailY(2, j), 0.0);
      }
    }

    // Fins tilted flat and a keel whose stations meet.
    PoweredAircraft b = MakeAircraft(c.config);
    b.aircraft.FinTilt = 3.1415926 / 2;
    b.state.EngineDiameter = (b.state.TailPointArm + b.outline.WingY(1, 0)) / 1.3;
    c.build(b.aircraft, b.state, b.outline);
    EXPECT_TRUE(test::OutlineFinite(b.outline));
  }
}

TEST(PoweredOutlineInvariants, RebuildLeavesNothingOfAnEarlierBuild) {
  PoweredAircraft fresh = MakeAircraft(Config::SingleFin);
  fresh.state.EngineType = aircraft::EngineKind::Rocket;  // no tailplane rows
  PoweredAircraft reused = fresh;
  BuildSingleFinJetOutline(fresh.aircraft, fresh.state, fresh.outline);

  PoweredAircraft other = MakeAircraft(Config::Wide);
  reused.outline = other.outline;
  BuildWideNacelleOutline(other.aircraft, other.state, reused.outline);
  test::FillWingGrid(reused);
  BuildSingleFinJetOutline(reused.aircraft, reused.state, reused.outline);

  const AirframeOutline& f = fresh.outline;
  const AirframeOutline& r = reused.outline;
  for (int i = 0; i < TailGrid::kCells; ++i) EXPECT_EQ(r.TailX[i], f.TailX[i]) << i;
  for (int i = 0; i < NacelleGrid::kCells; ++i) {
    EXPECT_EQ(r.NacelleX[i], f.NacelleX[i]) << i;
    EXPECT_EQ(r.NacelleZ[i], f.NacelleZ[i]) << i;
  }
  EXPECT_EQ(r.OutlineZMax, f.OutlineZMax);
  EXPECT_EQ(r.OutlineZMin, f.OutlineZMin);
}

TEST(PoweredOutlineInterpolation, CoincidentStationsGiveTheNearerValue) {
  EXPECT_DOUBLE_EQ(powered::Interpolate(1.5, 1, 10, 2, 20), 15);
  EXPECT_DOUBLE_EQ(powered::Interpolate(3, 1, 10, 2, 20), 30);  // extended, not clamped
  EXPECT_DOUBLE_EQ(powered::Interpolate(3, 1, 10, 1, 20), 10);
  EXPECT_DOUBLE_EQ(powered::SafeRatio(1, 0), 0);
}

}  // namespace
}  // namespace zarv::model
