// The light aircraft's outline builders (pod and sliced fairing) at points
// worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "model/fairing_outline.h"
#include "model/pod_outline.h"
#include "powered_fixture.h"

namespace zarv::model {
namespace {

constexpr double kTol = 1e-12;

class PodOutlineTest : public ::testing::Test {
 protected:
  void Build() {
    ac.LayWing();
    BuildPodOutline(ac.Data, ac.State, ac.Outline);
  }
  test::LightAircraft ac;
  const AirframeOutline& o = ac.Outline;
};

// The sliced fairing of a wing raised to the top of the body.
class FairingOutlineTest : public PodOutlineTest {
 protected:
  FairingOutlineTest() {
    ac.Data.WingHeight = 0.9;
    ac.State.BodyHeight = 0.9;  // raised to the wing height by the set-up
  }
  void Build() {
    ac.LayWing();
    BuildSlicedFairingOutline(ac.Data, ac.State, ac.Outline);
  }
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
  EXPECT_NEAR(o.FrontFuselageX(3, 3), 0.8 * 0.36 * std::sin(90 / 57.3), kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 0), -1.675, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(11, 0), 0.72, kTol);
  // Boom centres on the line from H - 0.15 at station 9 to the tail end.
  EXPECT_NEAR(o.RearFuselageY(1, 0), -3.3375, kTol);
  EXPECT_NEAR(o.RearFuselageZ(1, 0) - 0.05, 0.57 + 2.125 / 2.7875 * 0.23, 1e-9);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.801, kTol);
  // Tail section thickness 0.05 x 0.0085 x 100.
  EXPECT_NEAR(o.SectionTemplate.Thickness[1], 0.0425, kTol);
  // Tailplane: half-span 1.5, tips 0.2 beyond; fin on the tail end.
  EXPECT_NEAR(o.TailX(0, 2), -1.7, kTol);
  EXPECT_NEAR(o.TailY(0, 0), -0.22825, kTol);
  ExpectMirrored(o, 0, 5);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.9, kTol);
  EXPECT_NEAR(o.TailZ(6, 0), 0.8 / std::sqrt(0.4) + 1.12, kTol);
  EXPECT_NEAR(o.PartPivots.FinPivot2.Y, 0.00025 - 3.6, kTol);
  EXPECT_NEAR(o.PartPivots.ForeRearFuselagePivot.Y, (-1.675 - 3.3375) / 2, kTol);
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
}

TEST_F(PodOutlineTest, TwinBoomsByHand) {
  ac.Data.FinHalfSpacing = 1.0;  // exactly 1 takes the twin booms
  ac.Data.FinTilt = 0.2;
  ac.State.TailChord = 1.5 / 2.9;
  ac.State.FinChord = 0.8 * std::sqrt(0.4);
  ac.State.FinSweepOffset = 0.675 * ac.State.FinChord;
  Build();
  EXPECT_DOUBLE_EQ(o.FrontFuselageX(9, 3), 0.85 * 0.36);  // flat rear sides
  // Boom ring 0 lies in the plane of the wing surface behind station 1.
  const double slope = (o.WingY(1, 1) - o.WingY(1, 0)) / (o.WingZ(1, 1) - o.WingZ(1, 0));
  for (int p = 0; p < 8; ++p)
    EXPECT_NEAR(o.RearFuselageY(0, p), -0.75 + slope * (o.RearFuselageZ(0, p) - 0.5), kTol);
  EXPECT_NEAR(o.RearFuselageX(4, 0), 1.0, 0.001);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.8, 0.001);
  EXPECT_NEAR(o.TailX(0, 1), -0.96, kTol);
  for (int s = 6; s < 9; ++s) ExpectMirrored(o, s, s + 3);  // left and right fins
  EXPECT_NEAR(o.PartPivots.FinPivot1.X, 1.1, kTol);
}

TEST_F(PodOutlineTest, NoTailplaneStartsFromAnEmptyOutline) {
  ac.Data.TailplaneArea = 0;
  ac.Outline.RearFuselageY(2, 3) = 99;  // leftovers of an earlier build
  ac.Outline.TailX(1, 1) = 99;
  Build();
  for (double v : o.RearFuselageY.Cells) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(o.TailX(1, 1), 0.0);
}

TEST_F(PodOutlineTest, DegenerateAircraftStayFinite) {
  ac.Data.FinArea = 0;
  ac.State.FinChord = 0;
  Build();
  EXPECT_TRUE(test::OutlineFinite(o));
  // Twin booms on a wing of no thickness, fins at 90 degrees.
  ac.Data.FinHalfSpacing = 1.5;
  ac.Data.FinTilt = 90 / 57.3;
  ac.LayWing();
  for (int p = 0; p < 8; ++p) ac.Outline.WingZ(1, p) = 0.5;
  BuildPodOutline(ac.Data, ac.State, ac.Outline);
  EXPECT_TRUE(test::OutlineFinite(o));
  EXPECT_NEAR(o.RearFuselageY(0, 5), o.WingY(1, 0), kTol);
}

TEST_F(FairingOutlineTest, SingleFinAircraftByHand) {
  ac.State.RootExtension = 0.1;
  ac.LayWing();
  const AirframeOutline wingOnly = ac.Outline;
  Build();
  EXPECT_EQ(o.WingZ.Cells, wingOnly.WingZ.Cells);  // never writes the wing
  // Slices at fixed fractions of the wing height; 1 to 7 share the rear line.
  EXPECT_NEAR(o.FrontFuselageZ(1, 5), 0.774, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(6, 5), 0.252, kTol);
  EXPECT_NEAR(o.FrontFuselageZ(11, 5), 0, kTol);
  EXPECT_NEAR(o.FrontFuselageY(7, 0), -1.0, kTol);
  EXPECT_NEAR(o.FrontFuselageX(7, 2), 0.39312, kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 7), 0.62, kTol);
  // Slice 0: the root's chord and place; heights reversed fore and aft.
  EXPECT_NEAR(o.FrontFuselageY(0, 0), -0.65, kTol);
  EXPECT_EQ(o.FrontFuselageZ(0, 0), o.WingZ(0, 4));
  EXPECT_EQ(o.FrontFuselageZ(0, 7), o.WingZ(0, 0));
  // Boom ring 0 bent onto slice 1's rear edge; ring 4 closes at the tail end.
  const double side = 0.19764 * std::sin(90 / 57.3);
  EXPECT_NEAR(o.RearFuselageZ(0, 0), 0.86 * 0.9, kTol);
  EXPECT_NEAR(o.RearFuselageY(0, 3), -1.0 + side * 0.45 / 0.162, 1e-9);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.801, kTol);
  // Tailplane and the fin standing on the tail end.
  EXPECT_NEAR(o.TailX(5, 3), 1.7, kTol);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.9, kTol);
  EXPECT_NEAR(o.PartPivots.ForeRearFuselagePivot.Y, 0.03 - 0.01, kTol);
}

TEST_F(FairingOutlineTest, WithoutBoomTheGridIsClearedAndPivotsComeFromIt) {
  ac.Data.TailplaneArea = 0;
  ac.Data.FinHalfSpacing = 0.99;
  ac.Outline.RearFuselageZ(2, 4) = 5;  // leftover of an earlier build
  Build();
  for (double v : o.RearFuselageZ.Cells) EXPECT_EQ(v, 0.0);
  EXPECT_NEAR(o.PartPivots.MidRearFuselagePivot.X, 0.991, kTol);
  EXPECT_EQ(o.PartPivots.MidRearFuselagePivot.Y, 0.0);
}

TEST_F(FairingOutlineTest, TwinFinsStandOnTheBodyBottom) {
  ac.Data.FinHalfSpacing = 1.0;
  ac.Data.FinTilt = 10 / 57.3;
  ac.State.FinChord = 0.8 * std::sqrt(0.4);
  Build();
  EXPECT_NEAR(o.TailX(0, 2), -0.96, kTol);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.8, kTol);
  const double h2 = 0.8 / ac.State.FinChord / 2;
  EXPECT_NEAR(o.TailX(6, 0), h2 * std::sin(10 / 57.3) + 1.0, kTol);
  EXPECT_NEAR(o.TailZ(6, 0), h2 * std::cos(10 / 57.3), kTol);
  for (int p = 0; p < 6; ++p) {
    EXPECT_EQ(o.TailZ(11, p), 0.0);
    EXPECT_NEAR(o.TailX(6, p) + o.TailX(9, p), 0.002 * o.SectionTemplate.Thickness[p], kTol);
  }
}

TEST_F(FairingOutlineTest, DegenerateAircraftStayFinite) {
  // Tail end exactly at slice 9's rear point: the boom line has no length.
  ac.State.TailPointArm = -(2.1 * -0.75 + 1.125);
  ac.Data.FinArea = 0;
  ac.State.FinChord = 0;
  ac.State.TailChord = 0;
  Build();
  EXPECT_TRUE(test::OutlineFinite(o));
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.751, kTol);
  ac.Data.FinHalfSpacing = 2;
  ac.Data.FinTilt = 3.1415926 / 2;
  Build();
  EXPECT_TRUE(test::OutlineFinite(o));
}

}  // namespace
}  // namespace zarv::model
