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
    s.Loop.FlightTime = 2;  // past the first second: the density follows
  }
  const FlightState& At(double h, double v = 0) {
    s.Body.Altitude = h;
    s.Body.AirSpeed = v;
    UpdateAtmosphere(s.Loop, s.Body, a, s.Air);
    return s;
  }
};

TEST(Atmosphere, LayersAndTheirBreaks) {
  Air air(15, 1013);
  // Surface layer, and the same values through the second layer at 10 m.
  EXPECT_DOUBLE_EQ(air.At(9.99).Air.AirTemperature, 288);
  EXPECT_DOUBLE_EQ(air.s.Air.DensityRatio, 1.0);
  EXPECT_DOUBLE_EQ(air.At(10).Air.AirTemperature, 288);
  EXPECT_DOUBLE_EQ(air.s.Air.DensityRatio, 1.0);
  EXPECT_DOUBLE_EQ(air.s.Air.AirDensity, 1.225);

  // Pressure break at 11 010 m: continuous to within the rounding of 0.2236.
  EXPECT_NEAR(air.At(11009).Air.DensityRatio, 0.22363, 1e-5);
  EXPECT_DOUBLE_EQ(air.At(11010).Air.DensityRatio, 0.2236);
  EXPECT_DOUBLE_EQ(air.s.Air.AirTemperature, 216.5);

  // 32 000 m: temperature continuous, density switches to the fixed 216 K
  // while the pressure layer changes only at 32 010 m.
  const double below = air.At(31999).Air.AirDensity;
  EXPECT_DOUBLE_EQ(air.s.Air.AirTemperature, 216.5);
  const double r32 = air.At(32000).Air.DensityRatio;
  EXPECT_DOUBLE_EQ(air.s.Air.AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(air.s.Air.AirDensity, r32 * 288 / 216 * 1.225);
  EXPECT_NEAR(air.s.Air.AirDensity / below, 216.5 / 216, 3e-4);
  const double justBelow = air.At(32009.999).Air.DensityRatio;
  EXPECT_NEAR(air.At(32010).Air.DensityRatio / justBelow, 1.0, 1e-4);

  // Upper layers: the 353 K cap from 45 650 m, falling above 60 000 m to 240 K.
  EXPECT_DOUBLE_EQ(air.At(45650).Air.AirTemperature, 353);
  EXPECT_DOUBLE_EQ(air.At(60000).Air.AirTemperature, 353);
  EXPECT_NEAR(air.At(60100).Air.AirTemperature, 352.35, 1e-9);
  EXPECT_DOUBLE_EQ(air.At(77385).Air.AirTemperature, 240);
  EXPECT_DOUBLE_EQ(air.At(90000).Air.AirTemperature, 240);
}

TEST(Atmosphere, SurfaceConditionsMoveTheFloorAndScaleThePressure) {
  Air hot(40, 1013);
  EXPECT_GT(hot.At(14800).Air.AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(hot.At(14900).Air.AirTemperature, 216.5);
  Air cold(-20, 1013);
  EXPECT_GT(cold.At(5600).Air.AirTemperature, 216.5);
  EXPECT_DOUBLE_EQ(cold.At(5700).Air.AirTemperature, 216.5);
  Air low(15, 700);
  EXPECT_DOUBLE_EQ(low.At(5).Air.DensityRatio, 700.0 / 1013);
  EXPECT_DOUBLE_EQ(low.At(11010).Air.DensityRatio, 0.2236 * 700 / 1013);
}

TEST(Atmosphere, DensityKeptThroughTheFirstSecond) {
  Air air;
  air.s.Air.AirDensity = 1.17;
  air.s.Loop.FlightTime = 1.0;
  air.At(5000);
  EXPECT_DOUBLE_EQ(air.s.Air.AirDensity, 1.17);
  EXPECT_LT(air.s.Air.DensityRatio, 1.0);  // the rest is recomputed
  air.s.Loop.FlightTime = 1.025;
  air.At(5000);
  EXPECT_LT(air.s.Air.AirDensity, 1.0);
}

TEST(Atmosphere, MachNumberAndSkinTemperature) {
  Air air;
  // The speed of sound is 297 m/s at 216.5 K.
  air.At(20000, 297);
  EXPECT_DOUBLE_EQ(air.s.Air.MachSquared, 1.0);
  EXPECT_EQ(air.s.Air.SkinTemperature, 216);  // 216.5 to even
  // Mach 2: a glider gets the full factor 1.66, no thin-air reduction.
  air.a.LaunchSpeed = 8;
  air.At(20000, 594);
  EXPECT_DOUBLE_EQ(air.s.Air.MachSquared, 4.0);
  EXPECT_EQ(air.s.Air.SkinTemperature, CInt(216.5 * 1.66));
  // Far beyond what 16 bits hold, the reading saturates.
  air.At(5, 40000);
  EXPECT_EQ(air.s.Air.SkinTemperature, 32767);
}

TEST(Compressibility, RestValuesAndThresholds) {
  FlightState s;
  s.Setup.SweepAreaFactor = 1.0;
  s.Aero.EffectiveAspectRatio = 20;
  s.Air.MachSquared = 0;
  UpdateCompressibilityFactors(s);
  EXPECT_DOUBLE_EQ(s.Aero.MachFactor, 1.0);
  EXPECT_DOUBLE_EQ(s.Aero.MachFactorTransonic, 1.0);
  EXPECT_NEAR(s.Aero.LiftSlopeMachFactor, 1.0, 1e-5);
  EXPECT_DOUBLE_EQ(s.Aero.MachSpanTerm, 0);

  // P exactly 0.4 and M^2 exactly 0.7 are not above their thresholds.
  s.Setup.SweepAreaFactor = 0.4 / 0.7;
  s.Air.MachSquared = 0.7;
  UpdateCompressibilityFactors(s);
  const double base = 6.28 / (std::sqrt(0.7) + 6.28);
  EXPECT_NEAR(s.Aero.MachFactor, base, 1e-15);
  EXPECT_DOUBLE_EQ(s.Aero.MachFactorTransonic, base);

  // Published curve points of the lift-slope factor.
  s.Setup.SweepAreaFactor = 1.0;
  for (auto [p, expected] : {std::pair{0.5, 1.039}, {1.0, 0.913}, {1.2, 1.054}, {10.0, 0.730}}) {
    s.Air.MachSquared = p;
    UpdateCompressibilityFactors(s);
    EXPECT_NEAR(s.Aero.LiftSlopeMachFactor, expected, 1e-3) << p;
  }
}

}  // namespace
}  // namespace zarv::flight
