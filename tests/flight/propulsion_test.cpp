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

// A propeller already pulling, 2.7 m across at 40 turns per second, its tips
// just past the speed of sound, 0.1 rad nose up and its moments switched on.
// Worked from the last step's slipstream (55 m/s) and thrust (3840 N):
//   Va = 50 cos 0.1 = 49.7502; a^2 = 288.15 x 88209 / 216.5 = 117401.49
//   tip M^2 = ((3.1415926 x 2.7 x 40)^2 + (49.7502 + 55)^2 / 4) / a^2 = 1.003924
//   compressibility min(1 + (0.02 - 1)^2, 1 + 1.5 / 1.003924) = 1.9604
//   balance 1 - (110 - 49.7502) x 1.9604 x 3840 / 100000 / 1.0001 = -3.535112
//   n = 1 - 3.535112 / 200 = 0.9823244
//   slipstream sqrt(0.1 (2.6 x 40 x n)^2 + 0.9 Va^2) = 57.195079
//   thrust 2 x 5.7 x 1.225 x 57.195079 x (57.195079 - Va) = 5946.436
//   half discs: pitch 2.6 +/- (3.1415926 x 2.7 tan 0.1 - 2.7 sin 0.1) =
//   2.6 +/- 0.581519 give 61.565886 and 53.447325 m/s, 10158.737 and 2759.498 N,
//   P-factor (10158.737 - 2759.498) x 2.7 / 2 = 9988.973
//   torque -(1 + 3.535112) x 100 x 1 = -453.5112
TEST(Propulsion, RunningPropellerStepByHand) {
  Piston p;
  FlightState& s = p.s;
  s.Body.AirSpeed = 50;
  s.Air.AngleOfAttack = 0.1;
  s.Air.MachSquared = 0.02;
  s.Engine.PropellerDiameter = 2.7;
  s.Engine.PropellerDiscArea = 5.7;
  s.Engine.SlipstreamSpeed = 55;
  s.Engine.Thrust = 3840;
  s.Airfoils.PistonTorqueFactor = 100;
  p.a.TailHoldFlag = 1;
  p.a.LaunchSpeed = 50;
  RunPistonEngine(s, p.a);
  const struct {
    const char* Name;
    double Got, Want;
  } rows[] = {
      {"inflow", s.Engine.AxialInflowSpeed, 49.75020826},
      {"tip Mach^2", s.Engine.TipMachSquared, 1.00392431},
      {"compressibility", s.Engine.CompressibilityFactor, 1.9604},
      {"power balance", s.Engine.PowerBalance, -3.53511225},
      {"speed ratio", s.Engine.RotorSpeedRatio, 0.98232444},
      {"slipstream", s.Engine.SlipstreamSpeed, 57.19507886},
      {"thrust", s.Engine.Thrust, 5946.43610},
      {"P-factor", s.Engine.PFactorMoment, 9988.97295},
      {"torque", s.Engine.PropellerTorqueMoment, -453.511225},
  };
  for (const auto& r : rows) EXPECT_NEAR(r.Got, r.Want, 1e-8 * (1 + std::fabs(r.Want))) << r.Name;
  EXPECT_EQ(s.Engine.PropellerSideMoment, 0);
  EXPECT_EQ(s.Engine.PropellerAngle, 2.6);  // fixed pitch

  // A smaller propeller (tip M^2 (201.06^2 + 45.85^2) / a^2 = 0.36) is not
  // slowed by compressibility.
  Piston slow;
  slow.s.Engine.SlipstreamSpeed = 50;
  slow.s.Air.MachSquared = 0.02;
  RunPistonEngine(slow.s, slow.a);
  EXPECT_LT(slow.s.Engine.TipMachSquared, 1);
  EXPECT_EQ(slow.s.Engine.CompressibilityFactor, 1);
}

// Past tip Mach 1 the propeller is slowed by the smaller of two terms, one
// of the flight Mach number, one of the tip's. From the Piston state (40
// turns per second, Va 41.7 m/s) with last slipstream 50 m/s:
//   tip M^2 = ((3.1415926 x D x 40)^2 + 91.7^2 / 4) / 117401.49
//   factor = min(1 + (M^2 - 1)^2, 1 + 1.5 / tip M^2)
TEST(Propulsion, CompressibilityPastTipMachOneTakesTheSmallerTerm) {
  const struct {
    double Diameter, MachSquared, TipMachSquared, Factor;
  } cases[] = {
      {2.7, 0.02, 0.998465018, 1},       // just below: none
      {3.3, 0.02, 1.482691561, 1.9604},  // flight term; the tip's 2.01167
      {3.8, 0.02, 1.960192736, 1.765230874},  // tip term 1 + 1.5 / 1.96019; the flight's 1.9604
      {3.8, 0.5, 1.960192736, 1.25},     // faster flight: its term 1.25 is the smaller
  };
  for (const auto& c : cases) {
    Piston p;
    p.s.Engine.PropellerDiameter = c.Diameter;
    p.s.Air.MachSquared = c.MachSquared;
    p.s.Engine.SlipstreamSpeed = 50;
    RunPistonEngine(p.s, p.a);
    EXPECT_NEAR(p.s.Engine.TipMachSquared, c.TipMachSquared, 1e-9) << c.Diameter;
    EXPECT_NEAR(p.s.Engine.CompressibilityFactor, c.Factor, 1e-9) << c.Diameter << " " << c.MachSquared;
  }
}

// The constant-speed governor, from the Piston state (n = 1, pitch 2.6).
// Unloaded (last thrust 0) the balance is +1 and n becomes 1.005; loaded
// (slipstream 50 m/s, thrust 2000 N) it is 1 - 58.3 x 2000 / 10^5 / 1.0001 =
// -0.165883 and n becomes 0.999171 (tips well below Mach 1). Then: +0.005 for a positive balance,
// +0.01 above the setting, -0.01 where (P - 0.01) / P = 0.99615 lies above
// n / G, and the pitch within its range.
TEST(Propulsion, GovernorFromBothSidesOfItsSetting) {
  const struct {
    double Thrust, Setting, Min, Max, Pitch;
  } cases[] = {
      {0, 1.006, 1, 5, 2.605},     // n / G = 0.99901: the balance alone
      {0, 1, 1, 5, 2.615},         // n / G = 1.005: balance and overspeed
      {0, 1, 1, 2.61, 2.61},       // ... held at the largest pitch
      {0, 1.02, 1, 5, 2.595},      // n / G = 0.98529: + 0.005 - 0.01
      {2000, 0.99, 1, 5, 2.61},    // n / G = 1.00926: overspeed only
      {2000, 1, 1, 5, 2.6},        // n / G = 0.99917: inside the dead band
      {2000, 1.01, 1, 5, 2.59},    // n / G = 0.98928: finer
      {2000, 1.01, 2.595, 5, 2.595},  // ... held at the smallest pitch
  };
  for (const auto& c : cases) {
    Piston p;
    p.s.Engine.ConstantSpeedProp = 1;
    p.s.Engine.GovernorSetting = c.Setting;
    p.s.Engine.MinPropellerPitch = c.Min;
    p.s.Engine.MaxPropellerPitch = c.Max;
    p.s.Engine.Thrust = c.Thrust;
    p.s.Engine.SlipstreamSpeed = c.Thrust > 0 ? 50 : 0;
    RunPistonEngine(p.s, p.a);
    EXPECT_NEAR(p.s.Engine.RotorSpeedRatio, c.Thrust > 0 ? 0.99917058 : 1.005, 1e-8) << c.Thrust << " " << c.Setting;
    EXPECT_NEAR(p.s.Engine.PropellerAngle, c.Pitch, 1e-12) << c.Thrust << " " << c.Setting << " " << c.Max;
  }
}

// Pedal and small-motor power (below 9000 W): (1.15 N - n) / 0.15, at most
// 1.1 N / n once turning; from 9000 W on, 3 N n - 2 n^2. N = sqrt(throttle).
TEST(Propulsion, PedalPowerAndItsLimit) {
  const struct {
    double Rating, Throttle, N, Power;
  } cases[] = {
      {300, 1, 0, 1.15 / 0.15},         // from rest: 7.667
      {300, 1, 0.5, 2.2},               // 4.333 limited to 1.1 / 0.5
      {300, 1, 1, 1},                   // 0.15 / 0.15 below 1.1
      {300, 0.25, 0.1, 0.475 / 0.15},   // 3.167 below 0.55 / 0.1
      {8999, 1, 0.5, 2.2},
      {9000, 1, 0.5, 1},                // 1.5 - 0.5
  };
  for (const auto& c : cases) {
    Piston p;
    p.s.Engine.EngineRating = c.Rating;
    p.s.Engine.Throttle = c.Throttle;
    p.s.Engine.RotorSpeedRatio = c.N;
    RunPistonEngine(p.s, p.a);
    EXPECT_NEAR(p.s.Engine.PowerAvailable, c.Power, 1e-12) << c.Rating << " " << c.Throttle << " " << c.N;
  }
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

// A dry jet at sea level, spool 0.5, nozzle at 1 / its afterburner maximum.
FlightState Jet(double jetSpeed) {
  FlightState j;
  j.Engine.EngineType = aircraft::EngineKind::Jet;
  j.Engine.EngineRating = 50000;
  j.Engine.AfterburnerMax = 1.6;
  j.Engine.AfterburnerLevel = 1;
  j.Engine.NozzlePosition = 1 / 1.6;
  j.Engine.PropellerAngle = 0.5;
  j.Engine.SlipstreamSpeed = jetSpeed;
  j.Engine.FlowFactor = 80;
  j.Air.DensityRatio = 1;
  j.Air.AirTemperature = 288;
  j.Air.AirDensity = 1.225;
  j.Loop.StepsPerSecond = 40;
  return j;
}

TEST(Propulsion, JetSpoolsOnlyWhenRunning) {
  FlightState j = Jet(600);
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

// Ram drag on each side of the jet speed (jet 400 m/s x spool 0.5 = 200 m/s),
// the spool steady (throttle 0.25: 0.5 x 0.5 - 0.5^2 = 0), gross 12500 N x
// charge density, air mass flow factor 80. Faster than the jet: the inlet
// pressure 1 + 1.225 (250^2 - 200^2) / 204000 is held at 1, charge density 1,
// ram (250 - 0.6 x 200) x 80 x 0.5 = 5200. Slower: the pressure
// 1 + 1.225 (150^2 - 200^2) / 204000 = 0.894914 gives a charge density of
// 0.894914^(1 / 1.4) = 0.923758 and a ram of 0.4 x 150^2 / 400 x 80 x it.
TEST(Propulsion, JetRamDragOnBothSidesOfTheJetSpeed) {
  const struct {
    double Speed, Charge, Ram;
  } cases[] = {{250, 1, 5200}, {150, 0.92375786, 1800 * 0.92375786}};
  for (const auto& c : cases) {
    FlightState j = Jet(400);
    j.Engine.Throttle = 0.25;
    j.Air.MachSquared = 0.5;
    j.Body.Distance = 100;
    j.Body.AirSpeed = c.Speed;
    RunJetEngine(j);
    EXPECT_EQ(j.Engine.PropellerAngle, 0.5);
    EXPECT_NEAR(j.Engine.ChargeDensityRatio, c.Charge, 1e-8) << c.Speed;
    EXPECT_NEAR(j.Engine.GrossThrust, 12500 * c.Charge, 1e-4) << c.Speed;
    EXPECT_NEAR(j.Engine.Thrust, 12500 * c.Charge - c.Ram, 1e-4) << c.Speed;
  }
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
