#include <gtest/gtest.h>

#include <cmath>

#include "flight/atmosphere.h"
#include "flight/compressibility.h"

namespace zarv::flight {
namespace {

struct Air {
  FlightState s;
  aircraft::AircraftData a;
  Air(double ts = 15, double ps = 1013) {
    a.SurfaceTemperature = ts;
    a.SurfacePressure = ps;
    s.FlightTime = 2;  // past the first second: the density follows
  }
  const FlightState& At(double h, double v = 0) {
    s.Altitude = h;
    s.AirSpeed = v;
    UpdateAtmosphere(s, a);
    return s;
  }
};

TEST(Atmosphere, LayersAndTheirBreaks) {
  Air air(15, 1013);
  // Surface layer, and the same values through the second layer at 10 m.
  EXPECT_DOUBLE_EQ(air.At(9.99).AirTemperature, 288);
  EXPECT_DOUBLE_EQ(air.s.DensityRatio, 1.0);
  EXPECT_DOUBLE_EQ(air.At(10).AirTemperature, 288);
  EXPECT_DOUBLE_EQ(air.s.DensityRatio, 1.0);
  EXPECT_DOUBLE_EQ(air.s.AirDensity, 1.225);

  // Pressure break at 11 010 m: continuous to within the rounding of 0.2236.
  EXPECT_NEAR(air.At(11009).DensityRatio, 0.22363, 1e-5);
  EXPECT_DOUBLE_EQ(air.At(11010).DensityRatio, 0.2236);
  EXPECT_DOUBLE_EQ(air.s.AirTemperature, 216.5);

  // 32 000 m: temperature continuous, density switches to the fixed 216 K
  // while the pressure layer changes only at 32 010 m.
  const double below = air.At(31999).AirDensity;
  EXPECT_DOUBLE_EQ(air.s.AirTemperature, 216.5);
  const double r32 = air.At(32000).DensityRatio;
  EXPECT_DOUBLE_EQ(air.s.AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(air.s.AirDensity, r32 * 288 / 216 * 1.225);
  EXPECT_NEAR(air.s.AirDensity / below, 216.5 / 216, 3e-4);
  const double justBelow = air.At(32009.999).DensityRatio;
  EXPECT_NEAR(air.At(32010).DensityRatio / justBelow, 1.0, 1e-4);

  // Upper layers: the 353 K cap from 45 650 m, falling above 60 000 m to 240 K.
  EXPECT_DOUBLE_EQ(air.At(45650).AirTemperature, 353);
  EXPECT_DOUBLE_EQ(air.At(60000).AirTemperature, 353);
  EXPECT_NEAR(air.At(60100).AirTemperature, 352.35, 1e-9);
  EXPECT_DOUBLE_EQ(air.At(77385).AirTemperature, 240);
  EXPECT_DOUBLE_EQ(air.At(90000).AirTemperature, 240);
}

TEST(Atmosphere, SurfaceConditionsMoveTheFloorAndScaleThePressure) {
  Air hot(40, 1013);
  EXPECT_GT(hot.At(14800).AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(hot.At(14900).AirTemperature, 216.5);
  Air cold(-20, 1013);
  EXPECT_GT(cold.At(5600).AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(cold.At(5700).AirTemperature, 216.5);
  Air low(15, 700);
  EXPECT_DOUBLE_EQ(low.At(5).DensityRatio, 700.0 / 1013);
  EXPECT_DOUBLE_EQ(low.At(11010).DensityRatio, 0.2236 * 700 / 1013);
}

TEST(Atmosphere, DensityKeptThroughTheFirstSecond) {
  Air air;
  air.s.AirDensity = 1.17;
  air.s.FlightTime = 1.0;
  air.At(5000);
  EXPECT_DOUBLE_EQ(air.s.AirDensity, 1.17);
  EXPECT_LT(air.s.DensityRatio, 1.0);  // the rest is recomputed
  air.s.FlightTime = 1.025;
  air.At(5000);
  EXPECT_LT(air.s.AirDensity, 1.0);
}

TEST(Atmosphere, MachNumberAndSkinTemperature) {
  Air air;
  // The speed of sound is 297 m/s at 216.5 K.
  air.At(20000, 297);
  EXPECT_DOUBLE_EQ(air.s.MachSquared, 1.0);
  EXPECT_EQ(air.s.SkinTemperature, 216);  // 216.5 to even
  // Mach 2: a glider gets the full factor 1.66, no thin-air reduction.
  air.a.LaunchSpeed = 8;
  air.At(20000, 594);
  EXPECT_DOUBLE_EQ(air.s.MachSquared, 4.0);
  EXPECT_EQ(air.s.SkinTemperature, CInt(216.5 * 1.66));
  // Far beyond what 16 bits hold, the reading saturates.
  air.At(5, 40000);
  EXPECT_EQ(air.s.SkinTemperature, 32767);
}

TEST(Compressibility, RestValuesAndThresholds) {
  FlightState s;
  s.SweepAreaFactor = 1.0;
  s.EffectiveAspectRatio = 20;
  s.MachSquared = 0;
  UpdateCompressibilityFactors(s);
  EXPECT_DOUBLE_EQ(s.MachFactor, 1.0);
  EXPECT_DOUBLE_EQ(s.MachFactorTransonic, 1.0);
  EXPECT_NEAR(s.LiftSlopeMachFactor, 1.0, 1e-5);
  EXPECT_DOUBLE_EQ(s.MachSpanTerm, 0);

  // P exactly 0.4 and M^2 exactly 0.7 are not above their thresholds.
  s.SweepAreaFactor = 0.4 / 0.7;
  s.MachSquared = 0.7;
  UpdateCompressibilityFactors(s);
  const double base = 6.28 / (std::sqrt(0.7) + 6.28);
  EXPECT_NEAR(s.MachFactor, base, 1e-15);
  EXPECT_DOUBLE_EQ(s.MachFactorTransonic, base);

  // Published curve points of the lift-slope factor.
  s.SweepAreaFactor = 1.0;
  for (auto [p, expected] : {std::pair{0.5, 1.039}, {1.0, 0.913}, {1.2, 1.054}, {10.0, 0.730}}) {
    s.MachSquared = p;
    UpdateCompressibilityFactors(s);
    EXPECT_NEAR(s.LiftSlopeMachFactor, expected, 1e-3) << p;
  }
}

}  // namespace
}  // namespace zarv::flight
