#include <gtest/gtest.h>

#include <cmath>

#include "model/pod_outline.h"
#include "pod_test_aircraft.h"

namespace zarv::model {
namespace {

constexpr double kTol = 1e-12;

class PodOutlineTest : public ::testing::Test {
 protected:
  void Build() {
    ac.LayWing();
    BuildPodOutline(ac.Data, ac.State, ac.Outline);
  }
  testing::LightAircraft ac;
  const AirframeOutline& o = ac.Outline;
};

// Every point of tail section a has a partner in section b at -X, same Y.
void ExpectMirrored(const AirframeOutline& o, int a, int b) {
  for (int p = 0; p < 6; ++p) {
    bool found = false;
    for (int q = 0; q < 6; ++q)
      found = found || (std::abs(o.TailX(b, q) + o.TailX(a, p)) < kTol &&
                        std::abs(o.TailY(b, q) - o.TailY(a, p)) < kTol);
    EXPECT_TRUE(found) << "section " << a << " point " << p;
  }
}

TEST_F(PodOutlineTest, CentralBoomAircraftByHand) {
  Build();
  // Nose at 6 - 4 = 2 m; body stations shrink towards the body top from 8 on.
  EXPECT_NEAR(o.FrontFuselageY(0, 0), 2.0, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(0, 0), 0.109, kTol);
  EXPECT_NEAR(o.FrontFuselageY(1, 4), 1.817, kTol);
  EXPECT_NEAR(o.FrontFuselageY(4, 0), 0.64375, kTol);
  EXPECT_NEAR(o.FrontFuselageX(3, 3), 0.8 * 0.36 * std::sin(90 / 57.3), kTol);
  const double ys[4] = {-0.75, -1.2125, -1.44375, -1.675};
  for (int s = 8; s <= 11; ++s) {
    EXPECT_NEAR(o.FrontFuselageY(s, 0), ys[s - 8], kTol);
    EXPECT_NEAR(o.FrontFuselageZ(s, 0), 0.72, kTol);
  }
  // Boom centres on the line from H - 0.15 at station 9 to the tail end.
  EXPECT_NEAR(o.RearFuselageY(1, 0), -3.3375, kTol);
  EXPECT_NEAR(o.RearFuselageZ(1, 0) - 0.05, 0.57 + 2.125 / 2.7875 * 0.23, 1e-9);
  EXPECT_NEAR(o.RearFuselageY(4, 0), -4.0, kTol);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.801, kTol);
  // Tail section thickness 0.05 x 0.0085 x 100; elements 6, 7 keep the wing's.
  EXPECT_NEAR(o.SectionTemplate.Thickness[1], 0.0425, kTol);
  EXPECT_DOUBLE_EQ(o.SectionTemplate.Chordwise[6], 0.03);
  // Tailplane: half-span 1.5, tips 0.2 beyond; fin on the tail end.
  EXPECT_NEAR(o.TailX(0, 2), -1.7, kTol);
  EXPECT_NEAR(o.TailX(4, 2), 1.5, kTol);
  EXPECT_NEAR(o.TailY(2, 3), 0.1625, kTol);
  EXPECT_NEAR(o.TailY(0, 0), -0.22825, kTol);
  ExpectMirrored(o, 0, 5);
  ExpectMirrored(o, 1, 4);
  EXPECT_DOUBLE_EQ(o.TailplaneHingeY, -3.5);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.9, kTol);
  EXPECT_DOUBLE_EQ(o.FinHingeX, 0.0);
  EXPECT_NEAR(o.TailZ(6, 0), 0.8 / std::sqrt(0.4) + 1.12, kTol);
  EXPECT_NEAR(o.TailZ(11, 0), 0.9, kTol);
  // Pivots.
  const PartPivotSet& v = o.PartPivots;
  EXPECT_NEAR(v.FinPivot2.Y, 0.00025 - 3.6, kTol);
  EXPECT_NEAR(v.AftFrontFuselagePivot.Y, -0.75, kTol);
  EXPECT_NEAR(v.CentreWingPivot.X, 0.57, kTol);
  EXPECT_NEAR(v.OuterWingPivot.X, 6.6, kTol);
  EXPECT_NEAR(v.ForeRearFuselagePivot.Y, (-1.675 - 3.3375) / 2, kTol);
  EXPECT_NEAR(v.TailplanePivot.Z, v.AftRearFuselagePivot.Z + 0.001, kTol);
}

TEST_F(PodOutlineTest, TallFinAboveOnePointThree) {
  ac.Data.TailEndHeight = 1.31;
  Build();
  EXPECT_DOUBLE_EQ(o.FinHingeX, 0.2);
  EXPECT_NEAR(o.TailZ(8, 2), 1.31, kTol);
  EXPECT_NEAR(o.TailZ(6, 0) - o.TailZ(7, 0), 0.2, kTol);
}

// Which ring points meet the wing root depends on where the root lies
// against station 5's ring; a wing above the body leaves the rings alone.
TEST_F(PodOutlineTest, WingRootJunctionCases) {
  struct Case { double WingHeight; int Upper, Lower; };  // -1: the root moves
  for (const Case c : {Case{0.6, -1, -1}, Case{0.5, 2, 3}, Case{0.1, 4, 5}, Case{0.3, 3, 4}}) {
    SCOPED_TRACE(c.WingHeight);
    ac.Data.WingHeight = c.WingHeight;
    Build();
    if (c.Upper < 0) {
      EXPECT_EQ(o.WingX(0, 4), 0.0);
      EXPECT_EQ(o.WingX(0, 6), o.FrontFuselageX(6, 1));
      EXPECT_EQ(o.FrontFuselageZ(6, 1), o.WingZ(0, 6));
      continue;
    }
    const int upperRoot[5] = {4, 3, 2, 1, 0};
    const int lowerRoot[5] = {4, 5, 6, 7, 0};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(o.FrontFuselageZ(4 + i, c.Upper), o.WingZ(0, upperRoot[i]));
      EXPECT_EQ(o.FrontFuselageY(4 + i, c.Lower), o.WingY(0, lowerRoot[i]));
    }
  }
  ac.Data.WingHeight = 0.8;
  Build();
  EXPECT_NEAR(o.FrontFuselageX(5, 2), 0.36 * std::sin(60 / 57.3), kTol);
}

TEST_F(PodOutlineTest, TwinBoomsByHand) {
  ac.Data.FinHalfSpacing = 1.0;  // exactly 1 takes the twin booms
  ac.Data.FinTilt = 0.2;
  ac.State.TailChord = 1.5 / 2.9;
  ac.State.FinChord = 0.8 * std::sqrt(0.4);
  ac.State.FinSweepOffset = 0.675 * ac.State.FinChord;
  Build();
  EXPECT_DOUBLE_EQ(o.FrontFuselageX(9, 3), 0.85 * 0.36);  // flat rear sides
  EXPECT_NEAR(o.FrontFuselageY(10, 0), -1.6375, kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 0), -2.0, kTol);
  // Boom ring 0 lies in the plane of the wing surface behind station 1.
  const double slope = (o.WingY(1, 1) - o.WingY(1, 0)) / (o.WingZ(1, 1) - o.WingZ(1, 0));
  for (int p = 0; p < 8; ++p)
    EXPECT_NEAR(o.RearFuselageY(0, p), -0.75 + slope * (o.RearFuselageZ(0, p) - 0.5), kTol);
  EXPECT_NEAR(o.RearFuselageX(4, 0), 1.0, 0.001);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.8, 0.001);
  EXPECT_NEAR(o.TailX(0, 1), -0.96, kTol);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.8, kTol);
  for (int s = 0; s < 3; ++s) ExpectMirrored(o, s, 5 - s);
  for (int s = 6; s < 9; ++s) ExpectMirrored(o, s, s + 3);  // left and right fins
  EXPECT_DOUBLE_EQ(o.TailZ(8, 1), o.RearFuselageZ(3, 0));
  EXPECT_NEAR(o.PartPivots.FinPivot1.X, 1.1, kTol);
}

TEST_F(PodOutlineTest, NoTailplaneStartsFromAnEmptyOutline) {
  ac.Data.TailplaneArea = 0;
  ac.Outline.RearFuselageY(2, 3) = 99;  // leftovers of an earlier build
  ac.Outline.TailX(1, 1) = 99;
  Build();
  for (double v : o.RearFuselageY.Cells) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(o.TailX(1, 1), 0.0);
  EXPECT_NEAR(o.TailZ(11, 0), 0.9, kTol);
  EXPECT_NEAR(o.PartPivots.FinPivot3.Z, 0.6, kTol);
}

TEST_F(PodOutlineTest, DegenerateAircraftStayFinite) {
  ac.Data.FinArea = 0;
  ac.State.FinChord = 0;
  Build();
  EXPECT_TRUE(ac.OutlineFinite());
  // Twin booms on a wing of no thickness, fins at 90 degrees.
  ac.Data.FinHalfSpacing = 1.5;
  ac.Data.FinTilt = 90 / 57.3;
  ac.LayWing();
  for (int p = 0; p < 8; ++p) ac.Outline.WingZ(1, p) = 0.5;
  BuildPodOutline(ac.Data, ac.State, ac.Outline);
  EXPECT_TRUE(ac.OutlineFinite());
  EXPECT_NEAR(o.RearFuselageY(0, 5), o.WingY(1, 0), kTol);
}

}  // namespace
}  // namespace zarv::model
