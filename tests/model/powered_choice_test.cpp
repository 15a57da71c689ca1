#include <gtest/gtest.h>

#include "model/powered_outline.h"

namespace zarv::model {
namespace {

shell::AircraftData TwinFinJet() {
  shell::AircraftData a;
  a.LaunchSpeed = 100;
  a.WingHeight = 0.5;
  a.EngineCount = 2;
  a.FinHalfSpacing = 2.0;
  a.CgPosition = 0.3;
  return a;
}

TEST(OutlineBuilderChoice, LightAircraftByWingHeight) {
  auto a = TwinFinJet();
  a.LaunchSpeed = 9.99;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::Pod);
  a.WingHeight = 0.9;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::SlicedFairing);
  // 10 m/s exactly is powered for this choice.
  a.LaunchSpeed = 10;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::NarrowNacelle);
}

TEST(OutlineBuilderChoice, PoweredBoundaries) {
  auto a = TwinFinJet();
  a.EngineCount = 1;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::None);
  a.EngineCount = 2;
  a.FinHalfSpacing = 1.0;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 1), OutlineBuilder::SingleFinJet);
  a.FinHalfSpacing = 1.0001;
  EXPECT_NE(ChooseOutlineBuilder(a, 1, 1.0001), OutlineBuilder::SingleFinJet);
  a.FinHalfSpacing = 2.0;
  a.CgPosition = 0.2699;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::UnderwingNacelle);
  a.CgPosition = 0.27;
  EXPECT_EQ(ChooseOutlineBuilder(a, 1, 2), OutlineBuilder::NarrowNacelle);
}

TEST(OutlineBuilderChoice, WideWhenTheNacelleReachesTheFinPlane) {
  auto a = TwinFinJet();
  // 1.05 x 1.0 + 0.4 = 1.45: equal to the half-span is still wide.
  EXPECT_EQ(ChooseOutlineBuilder(a, 1.0, 1.0 * 1.05 + 0.4), OutlineBuilder::WideNacelle);
  EXPECT_EQ(ChooseOutlineBuilder(a, 1.0, 1.46), OutlineBuilder::NarrowNacelle);
  EXPECT_EQ(ChooseOutlineBuilder(a, 1.0, 1.44), OutlineBuilder::WideNacelle);
}

}  // namespace
}  // namespace zarv::model
