// Engines, propellers and the fuel, worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "flight/fuel.h"
#include "flight/propulsion.h"

namespace zarv::flight {
namespace {

// A piston engine at sea level, quantities chosen for hand working.
struct Piston {
  FlightState s;
  aircraft::AircraftData a;
  Piston() {
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.EngineRating = 100000;
    s.Engine.Throttle = 1;
    s.Engine.GovernorSetting = 1;
    s.Engine.BoostFactor1 = s.Engine.BoostFactor2 = s.Engine.BoostFactor3 = 1;
    s.Air.DensityRatio = 1;
    s.Air.AirTemperature = 288.15;
    s.Air.AirDensity = 1.225;
    s.Body.AirSpeed = 41.7;
    s.Engine.RotorSpeedRatio = 1;
    s.Engine.RatedRpm = 40;
    s.Engine.PropellerAngle = 2.6;
    s.Engine.PropellerDiameter = 1.6;
    s.Engine.PropellerDiscArea = 1.9;
    s.Engine.FlowFactor = 0.1;
    s.Loop.StepsPerSecond = 40;
  }
};

TEST(Propulsion, PistonStepByHand) {
  Piston p;
  RunPistonEngine(p.s, p.a);
  // All stages 1: full power at rated speed, the engine speeds up by 1/200.
  EXPECT_EQ(p.s.Engine.StageFactor, 1);
  EXPECT_EQ(p.s.Engine.ChargeDensityRatio, 1);
  EXPECT_EQ(p.s.Engine.PowerAvailable, 1);
  EXPECT_EQ(p.s.Engine.RotorSpeedRatio, 1.005);
  // Slipstream sqrt(0.1 (2.6 x 40 x 1.005)^2 + 0.9 x 41.7^2) = 51.55...
  EXPECT_NEAR(p.s.Engine.SlipstreamSpeed, 51.5504, 1e-4);
  EXPECT_NEAR(p.s.Engine.Thrust, 2 * 1.9 * 1.225 * p.s.Engine.SlipstreamSpeed * (p.s.Engine.SlipstreamSpeed - 41.7), 1e-9);

  // No pressure: the stage and power part keeps its last values.
  p.s.Air.DensityRatio = 0;
  p.s.Engine.StageFactor = 7;
  RunPistonEngine(p.s, p.a);
  EXPECT_EQ(p.s.Engine.StageFactor, 7);
}

TEST(Propulsion, IdlePedalAndOverspeed) {
  aircraft::AircraftData a;
  FlightState s;
  s.Loop.StepsPerSecond = 40;
  s.Body.CourseDistance = 100;
  s.Engine.EngineType = aircraft::EngineKind::Piston;
  s.Engine.EngineRating = 300;
  s.Engine.Throttle = 0.05;
  s.Body.AirSpeed = 7;
  s.Engine.Thrust = 50;
  UpdatePropulsion(s, a);
  EXPECT_EQ(s.Engine.Thrust, 0);
  EXPECT_EQ(s.Engine.SlipstreamSpeed, 7);

  // Pedalling: from rest the power is 1.15 N / 0.15; turning, at most 1.1 N / n.
  s.Engine.Throttle = 0.5;
  s.Engine.EngineRating = 300;
  s.Engine.BoostFactor1 = s.Engine.BoostFactor2 = s.Engine.BoostFactor3 = 1;
  s.Air.DensityRatio = 1;
  s.Air.AirTemperature = 288;
  s.Engine.GovernorSetting = 1;
  s.Engine.RotorSpeedRatio = 0;
  RunPistonEngine(s, a);
  EXPECT_NEAR(s.Engine.PowerAvailable, 1.15 * std::sqrt(0.5) / 0.15, 1e-12);
  s.Engine.RotorSpeedRatio = 0.05;
  RunPistonEngine(s, a);
  EXPECT_LE(s.Engine.PowerAvailable, 1.1 * s.Engine.EngineSpeedRatio / 0.05 + 1e-12);

  // A large engine loses all power above 1.01 of its rated speed.
  s.Engine.EngineRating = 200000;
  s.Engine.RotorSpeedRatio = 1.02;
  RunPistonEngine(s, a);
  EXPECT_EQ(s.Engine.PowerAvailable, 0);
}

// The propeller's yawing moment from its two half discs, on the engine above
// (n = 1.005, rpm 40, P 2.6, k 0.1, d 1.6, A 1.9, rho 1.225), Va = cos(a) V.
// (T1 - T2) d / 2 holds as long as the halves' difference stays within the
// whole thrust plus twice a half's braking floor, (|T| + rho A Va^2 / 2) d.
TEST(Propulsion, TheHalfDiscMomentStaysWithinTheDiscsThrust) {
  const struct {
    double Alpha, AirSpeed, Moment;
  } cases[] = {
      // Va 41.4917, V1 54.3196, V2 48.6976: T1 3243.65, T2 1633.48 (T 2370.42).
      {0.1, 41.7, 1288.13},
      // Tail down, slow: T1 5104.29, T2 704.06, both push; over |T| d / 2 = 1926.94.
      {0.26, 41.7, 3520.18},
      // Near zero thrust one half brakes: T1 1900.37, T2 -870.49 (T 308.07).
      {0.2, 100, 2216.69},
      // tan a = 48.08, V1 3084.9, V2 3018.8: T1 4.43e7 N. T 4955.01, Va 0.8671,
      // bound (4955.01 + 0.875) x 1.6.
      {1.55, 41.7, 7929.42},
      {-1.55, 41.7, -7929.42},
  };
  for (const auto& c : cases) {
    Piston p;
    p.a.TailHoldFlag = 1;
    p.a.LaunchSpeed = 50;
    p.s.Air.AngleOfAttack = c.Alpha;
    p.s.Body.AirSpeed = c.AirSpeed;
    RunPistonEngine(p.s, p.a);
    EXPECT_NEAR(p.s.Engine.PFactorMoment, c.Moment, 0.01) << c.Alpha << " " << c.AirSpeed;
  }
}

// A pedalled propeller at rest in a 7.4 m/s flow, its last thrust negative:
// the air drives it. One plain step would throw it to 50 times the speed at
// which its pitch speed (6 m x 5/3 per second x n) meets the inflow.
struct WindmillingPedals {
  FlightState s;
  aircraft::AircraftData a;
  WindmillingPedals() {
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.EngineRating = 300;
    s.Engine.Throttle = 0.1;
    s.Engine.GovernorSetting = 1;
    s.Engine.BoostFactor1 = s.Engine.BoostFactor2 = s.Engine.BoostFactor3 = 1;
    s.Air.DensityRatio = 1;
    s.Air.AirTemperature = 288.15;
    s.Air.AirDensity = 1.225;
    s.Body.AirSpeed = 7.4;
    s.Engine.RatedRpm = 100.0 / 60;
    s.Engine.PropellerAngle = 6;
    s.Engine.PropellerDiameter = 3.2;
    s.Engine.PropellerDiscArea = 7.82;
    s.Engine.FlowFactor = 0.1;
    s.Loop.StepsPerSecond = 40;
    s.Engine.RotorSpeedRatio = 0;
    s.Engine.SlipstreamSpeed = std::sqrt(0.9) * 7.4;
    s.Engine.Thrust = 2 * 7.82 * 1.225 * s.Engine.SlipstreamSpeed * (s.Engine.SlipstreamSpeed - 7.4);
  }
};

TEST(Propulsion, TheAirTurnsAPropellerOnlyUntilItsThrustVanishes) {
  WindmillingPedals w;
  FlightState& s = w.s;
  ASSERT_LT(s.Engine.Thrust, 0);
  RunPistonEngine(s, w.a);
  const double engineShare = s.Engine.PowerAvailable * s.Engine.ChargeDensityRatio / 5 / 40;
  EXPECT_GT(engineShare, 0);
  EXPECT_NEAR(s.Engine.RotorSpeedRatio, 7.4 / 10 + engineShare, 1e-12);
  EXPECT_NEAR(s.Engine.PowerBalance, s.Engine.RotorSpeedRatio * 5 * 40, 1e-9);  // what the torque sees
  // From there the pedals drive it on at a modest thrust (it was 500 kN).
  for (int i = 0; i < 400; ++i) {
    RunPistonEngine(s, w.a);
    ASSERT_LT(s.Engine.RotorSpeedRatio, 2 * 7.4 / 10) << "step " << i;
    ASSERT_LT(std::fabs(s.Engine.Thrust), 300) << "step " << i;
  }

  // A propeller turning near that speed settles by plain steps.
  WindmillingPedals near;
  near.s.Engine.RotorSpeedRatio = 0.7;
  near.s.Engine.Thrust = -5;
  RunPistonEngine(near.s, near.a);
  EXPECT_EQ(near.s.Engine.RotorSpeedRatio, 0.7 + near.s.Engine.PowerBalance / 5 / 40);
}

TEST(Propulsion, JetSpoolsOnlyWhenRunning) {
  FlightState j;
  j.Engine.EngineType = aircraft::EngineKind::Jet;
  j.Engine.EngineRating = 50000;
  j.Engine.AfterburnerMax = 1.6;
  j.Engine.AfterburnerLevel = 1;
  j.Engine.NozzlePosition = 1 / 1.6;
  j.Engine.PropellerAngle = 0.5;
  j.Engine.SlipstreamSpeed = 600;
  j.Engine.FlowFactor = 80;
  j.Air.DensityRatio = 1;
  j.Air.AirTemperature = 288;
  j.Air.AirDensity = 1.225;
  j.Loop.StepsPerSecond = 40;
  j.Body.CourseDistance = -5;
  UpdatePropulsion(j, {});
  EXPECT_EQ(j.Engine.PropellerAngle, 0.5);  // throttle closed on the deck: no spool
  EXPECT_EQ(j.Engine.Thrust, 0);
  j.Body.CourseDistance = 1;
  j.Engine.Throttle = 1;
  UpdatePropulsion(j, {});
  EXPECT_EQ(j.Engine.PropellerAngle, 0.5);  // past the deck's start but not yet flying
  j.Body.CourseDistance = -5;
  UpdatePropulsion(j, {});
  const double p = 0.5 + 0.25 / 40;
  EXPECT_EQ(j.Engine.PropellerAngle, p);
  // Dry with the nozzle at 1 / max: rating x P^2 x charge density.
  EXPECT_NEAR(j.Engine.GrossThrust, 50000 * p * p * j.Engine.ChargeDensityRatio, 1e-9);
}

TEST(Propulsion, RocketReserveAndLag) {
  FlightState s;
  s.Loop.StepsPerSecond = 40;
  s.Engine.EngineType = aircraft::EngineKind::Rocket;
  s.Air.DensityRatio = 1;
  s.Air.AirTemperature = 288;
  s.Engine.EngineRating = 1000;
  s.Masses.DryMass = 1000;
  s.Masses.FuelQuantity = 60;  // below 7 %
  s.Engine.Throttle = 0.3;
  RunRocketEngine(s);
  EXPECT_EQ(s.Engine.Throttle, 0.3);
  EXPECT_NEAR(s.Engine.Thrust, 0.3 / 40 * 1000, 1e-12);
  s.Engine.Throttle = 0.31;
  RunRocketEngine(s);
  EXPECT_EQ(s.Engine.Throttle, 0);
  s.Engine.Throttle = 0.2;
  s.Masses.FuelQuantity = 19;  // below 2 %
  RunRocketEngine(s);
  EXPECT_EQ(s.Engine.Throttle, 0);
}

TEST(InstrumentPanel, FuelBurnsOncePerFourthUpdate) {
  aircraft::AircraftData a;
  a.WingSpan = 20;
  a.WingDeflection = 0.5;
  a.WingWeight = 40;
  FlightState s;
  s.Loop.StepsPerSecond = 40;
  s.Masses.Mass = 100;
  s.Body.Altitude = 100;
  s.Engine.EngineType = aircraft::EngineKind::Rocket;
  s.Engine.RatedFuelFlow = 1;
  s.Engine.RotorSpeedRatio = 0.5;
  s.Masses.FuelQuantity = 10;
  for (int i = 0; i < 3; ++i) UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.Masses.FuelQuantity, 10);
  UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.Masses.FuelQuantity, 10 - 0.5 * 8 * 4 / 40.0);
  EXPECT_EQ(s.Instruments.PanelPhase, 0);
  EXPECT_EQ(s.Instruments.EngineShakeCounter, 4);
  EXPECT_GT(s.Instruments.InnerPanelBend, 0);

  // Exactly empty keeps the engine; below empty stops it.
  s.Engine.Throttle = 0.9;
  s.Masses.FuelQuantity = 0.4;  // one call's burn
  BurnFuel(s);
  EXPECT_EQ(s.Masses.FuelQuantity, 0);
  EXPECT_EQ(s.Engine.Throttle, 0.9);
  BurnFuel(s);
  EXPECT_EQ(s.Masses.FuelQuantity, 0);
  EXPECT_EQ(s.Engine.Throttle, 0);
  EXPECT_EQ(s.Instruments.EngineShakeCounter, 0);
}

TEST(InstrumentPanel, JetFuelFlowAndRocketPullCut) {
  // The flow takes the cube of the spool value: 0.5^3 = 0.125.
  FlightState s;
  s.Loop.StepsPerSecond = 40;
  s.Engine.EngineType = aircraft::EngineKind::Jet;
  s.Engine.AfterburnerLevel = 0.5;
  s.Engine.RatedFuelFlow = 2;
  s.Engine.PropellerAngle = 0.5;
  s.Engine.ChargeDensityRatio = 1;
  s.Air.MachSquared = 1;
  s.Masses.FuelQuantity = 100;
  BurnFuel(s);
  EXPECT_EQ(s.Engine.AfterburnerLevel, 1);
  EXPECT_EQ(s.Instruments.FuelFlow, 2 * 0.125);

  // Above Mach 1 the ram takes a share of the flow, at most all of it: at
  // Mach 2 (600 m/s against 300 m/s) it is (600^2 - 300^2)^0.8 x 0.5 / 2 =
  // 5533.9 against 0.5 x the thrust.
  s.Air.MachSquared = 4;
  s.Body.AirSpeed = 600;
  s.Engine.EngineRating = 30000;
  s.Engine.FlowFactor = 58;  // the air mass flow, once taken for the divisor
  const struct {
    double Thrust, Flow;
  } supersonic[] = {{20000, 0.25 * (1 - 5533.9 / 10000)}, {5000, 0}, {-3600, 0}};
  for (const auto& c : supersonic) {
    s.Engine.Thrust = c.Thrust;
    s.Masses.FuelQuantity = 100;
    BurnFuel(s);
    EXPECT_NEAR(s.Instruments.FuelFlow, c.Flow, 1e-4) << c.Thrust;
    EXPECT_LE(s.Masses.FuelQuantity, 100) << c.Thrust;
  }

  FlightState r;
  r.Loop.StepsPerSecond = 40;
  r.Engine.EngineType = aircraft::EngineKind::Rocket;
  r.Instruments.DragAcceleration = 31;
  r.Engine.Throttle = 0.03;
  r.Masses.FuelQuantity = 100;
  BurnFuel(r);
  EXPECT_EQ(r.Engine.Throttle, 0);
}

}  // namespace
}  // namespace zarv::flight
