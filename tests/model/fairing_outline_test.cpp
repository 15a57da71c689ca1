#include <gtest/gtest.h>

#include <cmath>

#include "model/fairing_outline.h"
#include "pod_test_aircraft.h"

namespace zarv::model {
namespace {

constexpr double kTol = 1e-12;

class FairingOutlineTest : public ::testing::Test {
 protected:
  FairingOutlineTest() {
    ac.Data.WingHeight = 0.9;
    ac.State.BodyHeight = 0.9;  // raised to the wing height by the set-up
  }
  void Build() {
    ac.LayWing();
    BuildSlicedFairingOutline(ac.Data, ac.State, ac.Outline);
  }
  testing::LightAircraft ac;
  const AirframeOutline& o = ac.Outline;
};

TEST_F(FairingOutlineTest, SingleFinAircraftByHand) {
  ac.State.RootExtension = 0.1;
  ac.LayWing();
  const AirframeOutline wingOnly = ac.Outline;
  Build();
  EXPECT_EQ(o.WingZ.Cells, wingOnly.WingZ.Cells);  // never writes the wing
  // Slices at fixed fractions of the wing height; 1 to 7 share the rear line.
  const double z[11] = {0.774, 0.657, 0.54, 0.423, 0.306, 0.252, 0.198, 0.144, 0.09, 0.036, 0};
  for (int s = 1; s <= 11; ++s) EXPECT_NEAR(o.FrontFuselageZ(s, 5), z[s - 1], kTol);
  for (int s = 1; s <= 7; ++s) EXPECT_NEAR(o.FrontFuselageY(s, 0), -1.0, kTol);
  EXPECT_NEAR(o.FrontFuselageX(7, 2), 0.39312, kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 0), 0.6, kTol);
  EXPECT_NEAR(o.FrontFuselageY(11, 7), 0.62, kTol);
  // Slice 0: the root's chord and place; heights reversed fore and aft.
  EXPECT_NEAR(o.FrontFuselageY(0, 0), -0.65, kTol);
  EXPECT_NEAR(o.FrontFuselageX(0, 2), 0.144, kTol);
  EXPECT_EQ(o.FrontFuselageZ(0, 0), o.WingZ(0, 4));
  EXPECT_EQ(o.FrontFuselageZ(0, 7), o.WingZ(0, 0));
  // Boom ring 0 bent onto slice 1's rear edge; ring 4 closes at the tail end.
  const double side = 0.19764 * std::sin(90 / 57.3);
  EXPECT_NEAR(o.RearFuselageZ(0, 0), 0.86 * 0.9, kTol);
  EXPECT_NEAR(o.RearFuselageY(0, 0), -1.0, kTol);
  EXPECT_NEAR(o.RearFuselageY(0, 3), -1.0 + side * 0.45 / 0.162, 1e-9);
  EXPECT_NEAR(o.RearFuselageY(4, 0), -4.0, kTol);
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.801, kTol);
  // Tailplane and the fin standing on the tail end.
  EXPECT_NEAR(o.TailX(5, 3), 1.7, kTol);
  EXPECT_NEAR(o.SectionTemplate.Thickness[1], 0.0425, kTol);
  EXPECT_NEAR(o.TailplaneHingeZ, 0.9, kTol);
  EXPECT_DOUBLE_EQ(o.FinHingeX, 0.0);
  EXPECT_NEAR(o.PartPivots.AftFrontFuselagePivot.Z, 0.9 - 0.6, kTol);
  EXPECT_NEAR(o.PartPivots.ForeRearFuselagePivot.Y, 0.03 - 0.01, kTol);
}

TEST_F(FairingOutlineTest, TallFinAboveOneMetre) {
  ac.Data.TailEndHeight = 1.0;
  Build();
  EXPECT_DOUBLE_EQ(o.FinHingeX, 0.0);
  EXPECT_NEAR(o.TailplaneHingeZ, 1.1, kTol);
  ac.Data.TailEndHeight = 1.01;
  Build();
  EXPECT_DOUBLE_EQ(o.FinHingeX, 0.2);
  EXPECT_NEAR(o.TailZ(11, 2), 1.01 - 0.3 * 0.8 / std::sqrt(0.4) - 0.05, kTol);
}

TEST_F(FairingOutlineTest, WithoutBoomPivotsComeFromTheZeroGrid) {
  ac.Data.TailplaneArea = 0;
  ac.Data.FinHalfSpacing = 0.99;
  ac.Outline.RearFuselageZ(2, 4) = 5;  // leftover of an earlier build
  Build();
  for (double v : o.RearFuselageZ.Cells) EXPECT_EQ(v, 0.0);
  EXPECT_NEAR(o.PartPivots.MidRearFuselagePivot.X, 0.991, kTol);
  EXPECT_EQ(o.PartPivots.MidRearFuselagePivot.Y, 0.0);
  EXPECT_NEAR(o.PartPivots.TailplanePivot.Z, 0.05, kTol);
  EXPECT_NEAR(o.PartPivots.FinPivot1.X, 1.09, kTol);
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
  EXPECT_TRUE(ac.OutlineFinite());
  EXPECT_NEAR(o.RearFuselageZ(4, 0), 0.751, kTol);
  ac.Data.FinHalfSpacing = 2;
  ac.Data.FinTilt = 3.1415926 / 2;
  Build();
  EXPECT_TRUE(ac.OutlineFinite());
}

}  // namespace
}  // namespace zarv::model
