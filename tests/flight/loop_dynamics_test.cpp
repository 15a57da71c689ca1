#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "flight/flight_commands.h"
#include "flight/fuel.h"
#include "flight/ground_contact.h"
#include "flight/launch_run.h"
#include "flight/mass_bending.h"
#include "flight/propulsion.h"
#include "flight/rotation_dynamics.h"
#include "flight/translation.h"

namespace zarv::flight {
namespace {

constexpr double kPiT = 3.1415926;

FlightState Flying() {
  FlightState s;
  s.StepsPerSecond = 40;
  s.CourseDistance = 100;
  s.FlightTime = 5;
  return s;
}

TEST(Attitude, HeadingOfANoseVectorAlongAnAxis) {
  shell::AircraftData a;
  FlightState s = Flying();
  s.NoseVector = {1, 0, 0};
  IntegrateAttitudeVectors(s, a);
  EXPECT_EQ(s.Heading, kPiT / 2);
  s.NoseVector = {-1, 0, 0};
  IntegrateAttitudeVectors(s, a);
  EXPECT_EQ(s.Heading, 3 * kPiT / 2);
  s.NoseVector = {0, 0, 1};
  IntegrateAttitudeVectors(s, a);
  EXPECT_EQ(s.Heading, kPiT);
  EXPECT_NEAR(s.PitchAngle, std::acos(-1) / 2, 1e-15);
}

TEST(Attitude, AngleIntegratorBringsAnglesIntoRange) {
  FlightState s = Flying();
  s.PitchAngle = 3.2;
  s.Heading = -0.1;
  IntegrateAttitudeAngles(s);
  EXPECT_EQ(s.PitchAngle, 3.2 - 6.2831852);
  EXPECT_NEAR(s.Heading, -0.1 + 6.2831852, 1e-15);
  EXPECT_NEAR(s.NoseVector[0] * s.NoseVector[0] + s.NoseVector[1] * s.NoseVector[1] +
                  s.NoseVector[2] * s.NoseVector[2],
              1, 1e-15);
}

TEST(Attitude, VectorIntegratorKeepsUnitVectorsAndFollowsTheRates) {
  shell::AircraftData a;
  FlightState s = Flying();
  s.Heading = 1;
  s.PitchAngle = 0.2;
  s.BankAngle = 0.3;
  IntegrateAttitudeAngles(s);  // vectors from the angles
  s.PitchRate = 0.4;
  for (int i = 0; i < 40; ++i) IntegrateAttitudeVectors(s, a);
  const auto& n = s.NoseVector;
  const auto& t = s.TopVector;
  EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1, 1e-15);
  EXPECT_NEAR(t[0] * t[0] + t[1] * t[1] + t[2] * t[2], 1, 1e-15);
  // Pitching with bank turns the nose up and sideways: pitch rises less
  // than 0.4 rad, heading changes.
  EXPECT_GT(s.PitchAngle, 0.2 + 0.3);
  EXPECT_LT(s.PitchAngle, 0.2 + 0.4);
  EXPECT_GT(s.Heading, 1.05);
}

TEST(Attitude, RateLimitsAreExact) {
  FlightState s = Flying();
  s.YawAccel = 1000;
  s.PitchAccel = -1000;
  s.RollAccel = -1000;
  UpdateBodyRates(s);
  EXPECT_EQ(s.YawRate, 13);
  EXPECT_EQ(s.PitchRate, -4);
  EXPECT_EQ(s.RollRate, -13);
  // Rates imposed by a wing end in the water obey the same limits.
  s.TipContactYawRate = -50;
  s.TipContactRollRate = 50;
  s.ViewRollSin = 0.5;
  s.ViewRollCos = std::sqrt(0.75);
  s.DriftAngle = 0.1;
  UpdateBodyRates(s);
  EXPECT_EQ(s.PitchRate, -4);
  EXPECT_EQ(s.YawRate, -13);
  EXPECT_EQ(s.RollRate, -13);
  EXPECT_NEAR(s.TurnRate, 1.5, 1e-15);
}

TEST(Attitude, CouplingAngleWithoutRoll) {
  shell::AircraftData a;
  a.OverallLength = 5;
  a.WingArea = 10;
  a.WingSpan = 10;
  FlightState s = Flying();
  s.AirSpeed = 10;
  s.YawRate = 2;
  ComputePitchYawAcceleration(s, a);
  EXPECT_EQ(s.CouplingAngle, kPiT / 2);
  // Below 1 m/s of airspeed there is no pitch acceleration.
  s.AirSpeed = 0.5;
  ComputePitchYawAcceleration(s, a);
  EXPECT_EQ(s.PitchAccel, 0);
}

TEST(AirData, FloorsAndFlowFromBehind) {
  shell::AircraftData a;
  a.WindDirection = 0;
  FlightState s = Flying();
  s.VelX = 0.05;
  UpdateAirData(s, a);
  EXPECT_EQ(s.AirSpeed, 0.1);

  // Flying backwards and sinking: the flow comes from behind and below.
  s.VelX = 0;
  s.VelY = -10;
  s.VelZ = -3;
  s.Heading = 0;
  UpdateAirData(s, a);
  EXPECT_GT(s.AngleOfAttack, std::acos(-1) / 2);
  EXPECT_LT(s.AngleOfAttack, std::acos(-1));
  EXPECT_EQ(s.AirTrackAngle, std::atan(0.0 / -10) + kPiT);

  // Climbing vertically: the path angle approaches pi/2 but never reaches it.
  s.VelY = 0;
  s.VelZ = 50;
  UpdateAirData(s, a);
  EXPECT_LT(s.AirPathAngle, std::acos(-1) / 2);
  EXPECT_GT(s.AirPathAngle, 1.57);
}

TEST(Translation, CurvatureAndRotationOfTheEarth) {
  FlightState s = Flying();
  s.GroundSpeed = 100;
  s.Altitude = 1000;
  s.AirPathCos = 1;
  s.LiftAccel = s.Gravity;
  s.Mass = 100;
  s.ApparentMass = 0;
  UpdateVerticalVelocity(s);
  EXPECT_NEAR(s.VelZ, 600.0 * 600 / (6378140 + 1000) / 40, 1e-15);
}

shell::AircraftData Glider() {
  shell::AircraftData a;
  a.WingSpan = 20;
  a.WingArea = 20;
  a.WingWeight = 40;
  a.TailWeight = 3;
  a.PilotWeight = 60;
  a.RearFuselageWeight = 4;
  a.OverallLength = 6;
  a.TailplaneArm = 4;
  a.TailplaneArea = 2;
  a.FinArea = 1;
  a.FinArm = 4;
  a.RearFuselageStiffness = 100;
  a.WingDeflection = 0.5;
  a.LaunchHeight = 10;
  a.LaunchSpeed = 6;
  return a;
}

TEST(MassAndBending, StiffAndSoftRearFuselage) {
  shell::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = s.DryMass = s.InitialDryMass = 107;
  s.AirSpeed = 10;
  s.DynamicPressure = 60;
  s.AirDensity = 1.2;
  s.TailLiftArea = -0.5;
  s.NormalLoad = 9.8;
  // Soft: 100 / 3 / 4 < 1000. Driven hard, it stays within 0.3 rad and 1 rad/s.
  s.TailLiftArea = -50;
  for (int i = 0; i < 400; ++i) {
    BendAirframe(s, a);
    ASSERT_LE(std::fabs(s.RearFuselageBend), 0.3);
    ASSERT_LE(std::fabs(s.RearFuselageBendRate), 1);
  }
  EXPECT_EQ(std::fabs(s.RearFuselageBend), 0.3);

  // Stiff: the static deflection, rate 0, every step.
  a.RearFuselageStiffness = 20000;
  s.TailLiftArea = -0.5;
  BendAirframe(s, a);
  EXPECT_EQ(s.RearFuselageBendRate, 0);
  EXPECT_EQ(s.RearFuselageBend, -1 * ((-0.5 * 60) - 9.8 * 3) / 20000);
}

TEST(MassAndBending, WingBendDecaysAtRestAndYawDamperFloor) {
  shell::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = s.DryMass = s.InitialDryMass = 107;
  s.WingBend = 0.4;
  s.AirSpeed = 0.1;
  BendAirframe(s, a);
  EXPECT_NEAR(s.WingBend, 0.3, 1e-15);

  s.DynamicPressure = 1000;
  UpdateInertias(s, a);
  EXPECT_EQ(s.YawDamperGain, s.YawInertia / 1 / 4 / 1500 * 15);
}

TEST(MassAndBending, DeckHeightAndStepCounter) {
  shell::AircraftData a = Glider();
  FlightState s = Flying();
  s.Distance = -5;
  s.Altitude = 10;
  UpdateAltitude(s, a);
  EXPECT_NEAR(s.Altitude, 10.3, 1e-12);
  a.LaunchSpeed = 10;  // exactly 10: a flying start here
  UpdateAltitude(s, a);
  EXPECT_EQ(s.Altitude, 10);

  s.StepCounter = 3000;
  s.Altitude = 5;
  AdvanceStepCounter(s, a);
  EXPECT_EQ(s.StepCounter, 0);
  s.StepCounter = 7;
  s.Altitude = -0.1;
  s.GroundSpeed = 0.2;
  AdvanceStepCounter(s, a);
  EXPECT_EQ(s.StepCounter, 0);  // down and slow
}

TEST(LaunchRun, TimeMarkAndRunUpToLaunchSpeed) {
  shell::AircraftData a = Glider();
  a.LaunchSpeed = 8;
  FlightState s = Flying();
  s.CourseDistance = -5;
  s.FlightTime = 1.2374;
  MarkLaunchTime(s, a);
  EXPECT_EQ(s.LaunchTime, 1.25);

  FlightRecord& r = Record();
  s.Mass = s.DryMass = 107;
  s.TakeoffRunAcceleration = 8 / 2.4;
  s.GroundSpeed = 0.01;
  for (int i = 0; i < 96; ++i) RunOnPlatform(s, r, a);
  EXPECT_NEAR(s.GroundSpeed, 8, 0.01);
  for (int i = 0; i < 10; ++i) RunOnPlatform(s, r, a);
  EXPECT_EQ(s.GroundSpeed, 8);
  // The platform is 10 m high, not above 10.2: no gait.
  EXPECT_EQ(s.PitchAngle, a.LaunchPitch);
  EXPECT_EQ(s.BankAngle, a.LaunchBank);
}

TEST(GroundContact, WingEndsInTheWater) {
  shell::AircraftData a = Glider();
  a.WingHeight = 0.2;
  FlightState s = Flying();
  s.Altitude = 0.5;
  s.GroundSpeed = 10;
  s.VelZ = -1;
  s.BankAngle = -0.2;  // left wing down: its inner end dips first
  s.ViewRollSin = std::sin(-0.2);
  s.ViewRollCos = std::cos(-0.2);
  s.WingRootOffset = 1;
  CheckWingEnds(s, a);
  ASSERT_EQ(s.Panels[1].PanelHeight, -0.1);
  EXPECT_EQ(s.TipContactYawRate, -10.0 / 20 * 4);
  EXPECT_EQ(s.TipContactRollRate, -1.0 / 20 * 4);
  // Wings level and low: both wings touch, the right one wins.
  s.BankAngle = 0;
  s.ViewRollSin = 0;
  s.ViewRollCos = 1;
  s.Altitude = 0.1;
  s.InnerDihedralLoaded = s.OuterDihedralLoaded = s.TipDihedralLoaded = -0.1;
  CheckWingEnds(s, a);
  EXPECT_EQ(s.TipContactYawRate, 10.0 / 20 * 4);
}

TEST(GroundContact, GearRollFactorAndTooDeep) {
  shell::AircraftData a;
  a.LaunchSpeed = 60;
  a.ParasiteDragArea = 1;
  a.OverallLength = 10;
  FlightState s = Flying();
  s.EngineType = "jet";
  s.GearValue = s.GearExtension = 1;
  s.GearHeight = 1;
  s.RollInertia = 3000;
  s.PitchInertia = 5000;
  s.Mass = 5000;
  s.DryMass = 5000;
  s.ViewRollSin = 0.1;
  s.Altitude = 1.0 + 0.075 - 0.6;  // 0.6 m deep
  s.GroundSpeed = 6;
  s.RunFactorLagged = 0.5;
  s.WheelBrakeSetting = 0.5;
  ApplyGroundContactLoads(s, a);
  EXPECT_EQ(s.SupportAccel, 0);  // too deep at 6 m/s
  const double left = 0.6 - 2 * 0.1, right = 0.6 + 2 * 0.1;
  EXPECT_NEAR(s.RollAccel, (left - right) * 1.25 * (68.5 / std::pow(3000, 0.3)) / 2, 1e-12);
  // The brake still acts.
  EXPECT_NEAR(s.PitchAccel, -5000 * 0.5 * (9.8 - 0) * s.Altitude / 5000, 1e-12);
}

TEST(GroundContact, WaterDragNeverDrivesBackwards) {
  shell::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = 107;
  s.GroundSpeed = 2;
  s.LongAccel = -1000;
  s.TrackAngle = 1;
  TranslateOnSurface(s, a);
  EXPECT_EQ(s.GroundSpeed, 0);
  EXPECT_EQ(s.VelX, 0);
}

TEST(Propulsion, IdlePedalAndOverspeed) {
  shell::AircraftData a;
  FlightState s = Flying();
  s.EngineType = "pist";
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
  s.EngineRating = 199999;
  s.RotorSpeedRatio = 1.02;
  RunPistonEngine(s, a);
  EXPECT_NE(s.PowerAvailable, 0);
}

TEST(Propulsion, RocketReserveAndLag) {
  FlightState s = Flying();
  s.EngineType = "roket";
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
  shell::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = 100;
  s.Altitude = 100;
  s.EngineType = "roket";
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

  // The fastest mode burns 7.2 s of fuel at a time.
  s.DisplayDivisor = 36;
  for (int i = 0; i < 4; ++i) UpdateInstrumentPanelPhysics(s, a);
  EXPECT_NEAR(s.FuelQuantity, 9.6 - 0.5 * 7.2, 1e-12);

  // Exactly empty keeps the engine; below empty stops it.
  s.Throttle = 0.9;
  s.FuelQuantity = 3.6;
  BurnFuel(s);
  EXPECT_EQ(s.FuelQuantity, 0);
  EXPECT_EQ(s.Throttle, 0.9);
  BurnFuel(s);
  EXPECT_EQ(s.FuelQuantity, 0);
  EXPECT_EQ(s.Throttle, 0);
  EXPECT_EQ(s.EngineShakeCounter, 0);

  // At rest in the water every update runs every phase.
  s.Altitude = -0.2;
  s.GroundSpeed = 0.1;
  s.PanelPhase = 1;
  UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.PanelPhase, 0);
  // Below -10 m nothing runs, but the update still counts.
  s.Altitude = -10;
  UpdateInstrumentPanelPhysics(s, a);
  EXPECT_EQ(s.PanelPhase, 1);
}

TEST(InstrumentPanel, JetFuelFlowAndRocketPullCut) {
  FlightState s = Flying();
  s.EngineType = "jet";
  s.AfterburnerLevel = 0.5;
  s.RatedFuelFlow = 2;
  s.PropellerAngle = 0.5;
  s.ChargeDensityRatio = 1;
  s.MachSquared = 1;
  s.FuelQuantity = 100;
  BurnFuel(s);
  EXPECT_EQ(s.AfterburnerLevel, 1);
  EXPECT_EQ(s.FuelFlow, 2 * 0.125);

  FlightState r = Flying();
  r.EngineType = "roket";
  r.DragAcceleration = 31;
  r.Throttle = 0.03;
  r.FuelQuantity = 100;
  BurnFuel(r);
  EXPECT_EQ(r.Throttle, 0);
}

TEST(StartState, StartPointOnTheCourseLine) {
  shell::AircraftData a = Glider();
  a.LaunchSpeed = 5.8;
  FlightState s;
  s.Heading = 1;
  shell::ShellState shell;
  ApplyFlightStartState(s, a, shell);
  EXPECT_NEAR(s.PosX, 2.75 * std::sin(1.0), 1e-15);
  EXPECT_NEAR(s.PosY, 2.75 * std::cos(1.0), 1e-15);
  EXPECT_EQ(s.SteeringPointerY, s.ViewCentreY);

  // A fast aircraft starts on the far side of the origin, 9.9 m out.
  a.LaunchSpeed = 100;
  ApplyFlightStartState(s, a, shell);
  EXPECT_EQ(s.StartRadius, -9.9);
}

}  // namespace
}  // namespace zarv::flight

namespace zarv::flight {
namespace {

// Str keeps 15 significant digits; reading the text back gives the nearest
// double to them.
double ViaText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return std::strtod(buf, nullptr);
}

TEST(AirData, WingAngleTextKeepsFifteenDigits) {
  uint64_t x = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 40000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    const double unit = static_cast<double>(x >> 11) / 9007199254740992.0;  // [0, 1)
    const double v = (unit - 0.5) * std::pow(10.0, static_cast<double>(i % 24) - 10);
    ASSERT_EQ(ThroughText(v), ViaText(v)) << v;
  }
  EXPECT_EQ(ThroughText(0.1 + 0.2), 0.3);
  EXPECT_EQ(ThroughText(-1.0 / 3), -0.333333333333333);
}

}  // namespace
}  // namespace zarv::flight
