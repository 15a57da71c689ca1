#include <gtest/gtest.h>

#include "model/powered_outline.h"
#include "powered_fixture.h"

namespace zarv::model {
namespace {

using test::Config;
using test::MakeAircraft;
using test::PoweredAircraft;

constexpr double kTol = 1e-9;

struct Frame {
  double dy, zmid;
};
Frame FrameOf(const PoweredAircraft& a) {
  return {(a.state.CgChordFraction - 0.25) * a.state.MeanChord,
          (a.outline.OutlineZMin + a.outline.OutlineZMax) / 2};
}

TEST(SingleFinJetOutline, NoseBodyAndTailCone) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  const AirframeOutline wing = a.outline;
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const Frame f = FrameOf(a);
  const double H = a.state.BodyHeight;
  const double B = a.state.BodyHalfWidth;
  const double D = a.state.TailPointArm;
  // Nose tip and the first full section 1.6 body heights behind it.
  EXPECT_NEAR(o.FrontFuselageY(0, 0) - f.dy, a.aircraft.OverallLength - D, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(0, 0) + f.zmid, 0.3 * H + 0.001, kTol);
  EXPECT_NEAR(o.FrontFuselageY(4, 0) - f.dy, a.aircraft.OverallLength - D - 1.6 * H, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(4, 0) + f.zmid, H, kTol);
  EXPECT_NEAR(o.FrontFuselageX(4, 3), B, 1e-6);
  // Behind the root trailing edge.
  const double yte = wing.WingY(0, 0);
  EXPECT_NEAR(o.FrontFuselageY(11, 0) - f.dy, yte - 0.3 * (D + yte), kTol);
  // The cone keeps the top line and ends at the tail end at 0.9 H.
  EXPECT_NEAR(o.RearFuselageZ(2, 0) + f.zmid, H, kTol);
  EXPECT_NEAR(o.RearFuselageY(4, 0) - f.dy, -D, kTol);
  EXPECT_NEAR(o.RearFuselageZ(4, 7) + f.zmid, 0.9 * H - 0.001, 1e-6);
  for (int p = 0; p < 8; ++p) {
    EXPECT_EQ(o.RearFuselageX(0, p), o.FrontFuselageX(10, p));
    EXPECT_EQ(o.RearFuselageY(0, p), o.FrontFuselageY(10, p));
    EXPECT_EQ(o.RearFuselageZ(0, p), o.FrontFuselageZ(10, p));
  }
  // Collapsed nacelle: one 1 mm ring, everything else at the origin.
  EXPECT_NEAR(o.NacelleX(0, 0), 0.001 * std::sin(15 / 57.3) + 0.001, kTol);
  EXPECT_EQ(o.NacelleX(5, 5), 0.0);
  EXPECT_NEAR(o.NacelleZ(5, 5), -f.zmid, kTol);
  EXPECT_LE(o.OutlineZMin, 0.001 * std::cos(165 / 57.3) + 1e-15);
}

TEST(SingleFinJetOutline, SideJunctionPinsTheRootSection) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  // A mid wing: the root section lies between the fuselage shoulders.
  a.aircraft.WingHeight = 0.6;
  test::FillWingGrid(a);
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const int pairs[5][3] = {{6, 4, 4}, {7, 3, 5}, {8, 2, 6}, {9, 1, 7}, {10, 0, 0}};
  for (const auto& st : pairs) {
    EXPECT_EQ(o.FrontFuselageY(st[0], 3), o.WingY(0, st[1])) << st[0];
    EXPECT_EQ(o.FrontFuselageZ(st[0], 3), o.WingZ(0, st[1])) << st[0];
    EXPECT_EQ(o.FrontFuselageZ(st[0], 4), o.WingZ(0, st[2])) << st[0];
    EXPECT_EQ(o.FrontFuselageX(st[0], 4), o.WingX(0, st[2])) << st[0];
  }
}

TEST(SingleFinJetOutline, LowWingJoinsTheLowerShoulder) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  a.aircraft.WingHeight = 0.1;  // root below the lower shoulder of station 7
  test::FillWingGrid(a);
  const AirframeOutline wing = a.outline;
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const Frame f = FrameOf(a);
  const int pairs[5][3] = {{6, 4, 4}, {7, 3, 5}, {8, 2, 6}, {9, 1, 7}, {10, 0, 0}};
  for (const auto& st : pairs) {
    EXPECT_EQ(o.FrontFuselageZ(st[0], 4), o.WingZ(0, st[1])) << st[0];
    EXPECT_EQ(o.FrontFuselageY(st[0], 5), o.WingY(0, st[2])) << st[0];
    EXPECT_EQ(o.FrontFuselageX(st[0], 5), o.WingX(0, st[2])) << st[0];
  }
  // Station 5's side point goes half-way to the root's leading edge.
  const double H = a.state.BodyHeight;
  const double y5 = (a.aircraft.OverallLength - a.state.TailPointArm - 1.6 * H + wing.WingY(0, 4)) / 2;
  EXPECT_NEAR(o.FrontFuselageY(5, 4) - f.dy, (y5 + wing.WingY(0, 4)) / 2, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(5, 4) + f.zmid,
              (0.5 * H + H / 2 * std::cos(90 / 57.3) + wing.WingZ(0, 4)) / 2, kTol);
  EXPECT_NEAR(o.FrontFuselageX(5, 4), (a.state.BodyHalfWidth * std::sin(90 / 57.3) + wing.WingX(0, 4)) / 2,
              kTol);
  // Point 6 of station 7 meets the root's first lower-surface point too.
  EXPECT_EQ(o.FrontFuselageY(7, 6), o.WingY(0, 5));
  EXPECT_EQ(o.FrontFuselageZ(7, 6), o.WingZ(0, 5));
  EXPECT_EQ(o.FrontFuselageX(7, 6), o.WingX(0, 5));
}

TEST(SingleFinJetOutline, WingAboveTheBody) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  a.aircraft.WingHeight = 1.4;  // on top of a 1.4 m body
  test::FillWingGrid(a);
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  for (int q = 0; q <= 4; ++q) EXPECT_EQ(o.WingX(0, q), 0.0);
  for (int p = 5; p <= 7; ++p) {
    EXPECT_EQ(o.WingX(0, p), o.FrontFuselageX(p, 1));
    EXPECT_EQ(o.FrontFuselageZ(p, 1), o.WingZ(0, p));
  }
}

TEST(SingleFinJetOutline, TailplaneLeftOutForRocketsAndLowAspectRatio) {
  for (const auto& [type, aspect, built] :
       {std::tuple{"jet", 4.8, false}, std::tuple{"roket", 2.49, false}, std::tuple{"jet", 2.5, false},
        std::tuple{"jet", 2.49, true}}) {
    PoweredAircraft a = MakeAircraft(Config::SingleFin);
    a.state.GeometricAspectRatio = aspect;
    a.state.EngineType = type;
    BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
    const AirframeOutline& o = a.outline;
    SCOPED_TRACE(type);
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

TEST(SingleFinJetOutline, FinHingesAndPivots) {
  PoweredAircraft a = MakeAircraft(Config::SingleFin);
  BuildSingleFinJetOutline(a.aircraft, a.state, a.outline);
  const AirframeOutline& o = a.outline;
  const Frame f = FrameOf(a);
  EXPECT_NEAR(o.FinHingeY, a.state.FinSweepOffset - a.aircraft.FinArm + f.dy, kTol);
  EXPECT_NEAR(o.TailplaneHingeY, f.dy - a.aircraft.TailplaneArm, kTol);
  EXPECT_EQ(o.TailplaneHingeZ, o.RearFuselageZ(3, 4));
  EXPECT_EQ(o.FinHingeX, 0.0);
  // Fin of FinArea on the top line.
  const double hf = a.aircraft.FinArea / a.state.FinChord;
  EXPECT_NEAR(o.TailZ(7, 3) - o.TailZ(8, 3), hf, kTol);
  EXPECT_EQ(o.TailZ(8, 0), o.RearFuselageZ(2, 0));
  EXPECT_NEAR(o.PartPivots.FinPivot1.X, 0.8, kTol);  // fins 1.6 m apart drawn as one
  EXPECT_NEAR(o.PartPivots.FinPivot2.Y, 0.35 * a.state.FinSweepOffset + 0.001 * 0.25 + o.FinHingeY, kTol);

  // A foreplane takes its hinge height from the front fuselage.
  PoweredAircraft c = MakeAircraft(Config::SingleFin);
  c.aircraft.TailplaneArm = -4;
  BuildSingleFinJetOutline(c.aircraft, c.state, c.outline);
  EXPECT_EQ(c.outline.TailplaneHingeZ, c.outline.FrontFuselageZ(3, 4));
}

}  // namespace
}  // namespace zarv::model
