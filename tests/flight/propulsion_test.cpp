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
    s.EngineType = aircraft::EngineKind::Piston;
    s.EngineRating = 100000;
    s.Throttle = 1;
    s.GovernorSetting = 1;
    s.BoostFactor1 = s.BoostFactor2 = s.BoostFactor3 = 1;
    s.DensityRatio = 1;
    s.AirTemperature = 288.15;
    s.AirDensity = 1.225;
    s.AirSpeed = 41.7;
    s.RotorSpeedRatio = 1;
    s.RatedRpm = 40;
    s.PropellerAngle = 2.6;
    s.PropellerDiameter = 1.6;
    s.PropellerDiscArea = 1.9;
    s.FlowFactor = 0.1;
    s.StepsPerSecond = 40;
  }
};

TEST(Propulsion, PistonStepByHand) {
  Piston p;
  RunPistonEngine(p.s, p.a);
  // All stages 1: full power at rated speed, the engine speeds up by 1/200.
  EXPECT_EQ(p.s.StageFactor, 1);
  EXPECT_EQ(p.s.ChargeDensityRatio, 1);
  EXPECT_EQ(p.s.PowerAvailable, 1);
  EXPECT_EQ(p.s.RotorSpeedRatio, 1.005);
  // Slipstream sqrt(0.1 (2.6 x 40 x 1.005)^2 + 0.9 x 41.7^2) = 51.55...
  EXPECT_NEAR(p.s.SlipstreamSpeed, 51.5504, 1e-4);
  EXPECT_NEAR(p.s.Thrust, 2 * 1.9 * 1.225 * p.s.SlipstreamSpeed * (p.s.SlipstreamSpeed - 41.7), 1e-9);

  // No pressure: the stage and power part keeps its last values.
  p.s.DensityRatio = 0;
  p.s.StageFactor = 7;
  RunPistonEngine(p.s, p.a);
  EXPECT_EQ(p.s.StageFactor, 7);
}

TEST(Propulsion, IdlePedalAndOverspeed) {
  aircraft::AircraftData a;
  FlightState s;
  s.StepsPerSecond = 40;
  s.CourseDistance = 100;
  s.EngineType = aircraft::EngineKind::Piston;
  s.Throttle = 0.05;
  s.AirSpeed = 7;
  s.Thrust = 50;
  UpdatePropulsion(s, a);
  EXPECT_EQ(s.Thrust, 0);
  EXPECT_EQ(s.SlipstreamSpeed, 7);

  // Pedalling: from rest the power is 1.15 N / 0.15; turning, at most 1.1 N / n.
  s.Throttle = 0.5;
  s.EngineRating = 300;
  s.BoostFactor1 = s.BoostFactor2 = s.BoostFactor3 = 1;
  s.DensityRatio = 1;
  s.AirTemperature = 288;
  s.GovernorSetting = 1;
  s.RotorSpeedRatio = 0;
  RunPistonEngine(s, a);
  EXPECT_NEAR(s.PowerAvailable, 1.15 * std::sqrt(0.5) / 0.15, 1e-12);
  s.RotorSpeedRatio = 0.05;
  RunPistonEngine(s, a);
  EXPECT_LE(s.PowerAvailable, 1.1 * s.EngineSpeedRatio / 0.05 + 1e-12);

  // A large engine loses all power above 1.01 of its rated speed.
  s.EngineRating = 200000;
  s.RotorSpeedRatio = 1.02;
  RunPistonEngine(s, a);
  EXPECT_EQ(s.PowerAvailable, 0);
}

TEST(Propulsion, JetSpoolsOnlyWhenRunning) {
  FlightState j;
  j.EngineType = aircraft::EngineKind::Jet;
  j.EngineRating = 50000;
  j.AfterburnerMax = 1.6;
  j.AfterburnerLevel = 1;
  j.NozzlePosition = 1 / 1.6;
  j.PropellerAngle = 0.5;
  j.SlipstreamSpeed = 600;
  j.FlowFactor = 80;
  j.DensityRatio = 1;
  j.AirTemperature = 288;
  j.AirDensity = 1.225;
  j.StepsPerSecond = 40;
  j.CourseDistance = -5;
  UpdatePropulsion(j, {});
  EXPECT_EQ(j.PropellerAngle, 0.5);  // throttle closed on the deck: no spool
  EXPECT_EQ(j.Thrust, 0);
  j.CourseDistance = 1;
  j.Throttle = 1;
  UpdatePropulsion(j, {});
  EXPECT_EQ(j.PropellerAngle, 0.5);  // past the deck's start but not yet flying
  j.CourseDistance = -5;
  UpdatePropulsion(j, {});
  const double p = 0.5 + 0.25 / 40;
  EXPECT_EQ(j.PropellerAngle, p);
  // Dry with the nozzle at 1 / max: rating x P^2 x charge density.
  EXPECT_NEAR(j.GrossThrust, 50000 * p * p * j.ChargeDensityRatio, 1e-9);
}

TEST(Propulsion, RocketReserveAndLag) {
  FlightState s;
  s.StepsPerSecond = 40;
  s.EngineType = aircraft::EngineKind::Rocket;
  s.DensityRatio = 1;
  s.AirTemperature = 288;
  s.EngineRating = 1000;
  s.DryMass = 1000;
  s.FuelQuantity = 60;  // below 7 %
  s.Throttle = 0.3;
  RunRocketEngine(s);
  EXPECT_EQ(s.Throttle, 0.3);
  EXPECT_NEAR(s.Thrust, 0.3 / 40 * 1000, 1e-12);
  s.Throttle = 0.31;
  RunRocketEngine(s);
  EXPECT_EQ(s.Throttle, 0);
  s.Throttle = 0.2;
  s.FuelQuantity = 19;  // below 2 %
  RunRocketEngine(s);
  EXPECT_EQ(s.Throttle, 0);
}

TEST(InstrumentPanel, FuelBurnsOncePerFourthUpdate) {
  aircraft::AircraftData a;
  a.WingSpan = 20;
  a.WingDeflection = 0.5;
  a.WingWeight = 40;
  FlightState s;
  s.StepsPerSecond = 40;
  s.Mass = 100;
  s.Altitude = 100;
  s.EngineType = aircraft::EngineKind::Rocket;
  s.RatedFuelFlow = 1;
  s.RotorSpeedRatio = 0.5;
  s.FuelQuantity = 10;
  for (int i = 0; i < 3; ++i) UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.FuelQuantity, 10);
  UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.FuelQuantity, 10 - 0.5 * 8 * 4 / 40.0);
  EXPECT_EQ(s.PanelPhase, 0);
  EXPECT_EQ(s.EngineShakeCounter, 4);
  EXPECT_GT(s.InnerPanelBend, 0);

  // Exactly empty keeps the engine; below empty stops it.
  s.Throttle = 0.9;
  s.FuelQuantity = 0.4;  // one call's burn
  BurnFuel(s);
  EXPECT_EQ(s.FuelQuantity, 0);
  EXPECT_EQ(s.Throttle, 0.9);
  BurnFuel(s);
  EXPECT_EQ(s.FuelQuantity, 0);
  EXPECT_EQ(s.Throttle, 0);
  EXPECT_EQ(s.EngineShakeCounter, 0);
}

TEST(InstrumentPanel, JetFuelFlowAndRocketPullCut) {
  // The flow takes the cube of the spool value: 0.5^3 = 0.125.
  FlightState s;
  s.StepsPerSecond = 40;
  s.EngineType = aircraft::EngineKind::Jet;
  s.AfterburnerLevel = 0.5;
  s.RatedFuelFlow = 2;
  s.PropellerAngle = 0.5;
  s.ChargeDensityRatio = 1;
  s.MachSquared = 1;
  s.FuelQuantity = 100;
  BurnFuel(s);
  EXPECT_EQ(s.AfterburnerLevel, 1);
  EXPECT_EQ(s.FuelFlow, 2 * 0.125);

  FlightState r;
  r.StepsPerSecond = 40;
  r.EngineType = aircraft::EngineKind::Rocket;
  r.DragAcceleration = 31;
  r.Throttle = 0.03;
  r.FuelQuantity = 100;
  BurnFuel(r);
  EXPECT_EQ(r.Throttle, 0);
}

}  // namespace
}  // namespace zarv::flight
