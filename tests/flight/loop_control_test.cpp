#include <gtest/gtest.h>

#include <cmath>

#include "flight/augmentation.h"
#include "flight/auto_trim.h"
#include "flight/control_law.h"
#include "flight/control_surfaces.h"
#include "flight/flight_commands.h"
#include "flight/loop_input.h"
#include "flight/pilot_demand.h"

namespace zarv::flight {
namespace {

// A tailed aircraft in level flight, the numbers chosen for hand working.
struct TrimCase {
  FlightState s;
  shell::AircraftData a;
  TrimCase() {
    a.TailplaneArea = 2;
    a.TailplaneArm = 4;
    a.WingArea = 20;
    s.CgX = 0.1;
    s.WingAcOffset = 0.05;
    s.WingLift = 10;
    s.WingMomentTerm = -300;
    s.DynamicPressure = 1000;
    s.TailLiftSlope = 0.9;
    s.SweepAreaFactor = 1;
    s.AngleOfAttack = 0.05;
    s.MinAngleOfAttack = -0.3;
    s.Mass = 100;
    s.LiftSlopeMachFactor = 1;
    s.LiftSlope = 0.9;
    s.WingAngleOffsetNow = -0.02;
    s.WingLiftOffsetNow = 0.08;
    s.WingIncidenceRad = 0.05;
    s.HalfWashout = 0.01;
  }
};

TEST(AutomaticTrim, AngleOfAttackForALoadByHand) {
  TrimCase c;
  TrimTailForBalance(c.s, c.a, 9.8);
  // Balance: M = (0.05 - 0.1)(-10) + 300 / 1000 = 0.8; l k = 3.9 x 11.304.
  const double lk = 3.9 * (2 * 0.9 * 6.28);
  const double tail = (0.8 - lk * 0.05) / lk;
  EXPECT_NEAR(tail, -0.0318535, 1e-6);
  const double x = (tail + 0.05) * 6.28 * 0.9 * 2 * 1000;
  const double want = (980 - x) / 0.9 / 20 / 1000 / 6.28 - 0.10;
  EXPECT_NEAR(c.s.TrimTailAngle, want, 1e-15);

  // Twice the acceleration: the step is Mass a / (slope area q 6.28).
  TrimTailForBalance(c.s, c.a, 19.6);
  EXPECT_NEAR(c.s.TrimTailAngle - want, 980 / (0.9 * 20 * 1000 * 6.28), 1e-12);
}

TEST(AutomaticTrim, WithoutTailplaneTheLimitActsOnTheLastAngle) {
  TrimCase c;
  c.a.TailplaneArea = 0;
  c.s.TrimTailAngle = 0.5;
  TrimTailForBalance(c.s, c.a, -45);
  // The tail carries nothing; the wing alone gives the push.
  EXPECT_NEAR(c.s.TrimTailAngle, -4500 / 0.9 / 20 / 1000 / 6.28 - 0.10, 1e-12);
}

// Inputs for which the control law's output is minus its bounded demand:
// q = 1000, pitch inertia 250, no tail balance, no damping.
struct LawCase {
  FlightState s;
  shell::AircraftData a;
  shell::ShellState shell;
  LawCase() {
    a.TailplaneArm = 4;
    a.PitchResponse = 1;
    a.PitchDamping = 0;
    s.AirSpeed = 40;
    s.AirDensity = 1.2;
    s.DynamicPressure = 1000;
    s.PitchInertia = 250;
    s.MaxAngleOfAttack = 1.0;
    s.GroundAngleLimit = 0.45;
    s.Altitude = 100;
    s.EngineType = "jet";
  }
  double Run(double demand) {
    s.ElevatorInput = demand;
    StepControlLaws(s, a, shell);
    return s.ElevatorInput;
  }
};

TEST(ControlLaw, DemandBoundsByHand) {
  LawCase c;
  EXPECT_NEAR(c.Run(0.25), -0.25, 1e-15);
  EXPECT_NEAR(c.Run(-0.3), 0.1, 1e-15);  // lower bound -0.1

  // Gear down, descending: c = 0.2, b = 0.3.
  c.s.GearExtension = 1;
  c.s.GroundPitchLimit = 0.224;
  c.s.PathAngle = -0.1;
  EXPECT_NEAR(c.Run(0.25), -0.2, 1e-15);
  EXPECT_NEAR(c.Run(0.35), -0.3, 1e-15);
  c.s.GearExtension = 0;

  // The angle-of-attack limiter is off from Mach^2 2.4 on.
  c.s.MaxAngleOfAttack = 0.2;
  c.s.MachSquared = 2.39;
  EXPECT_NEAR(c.Run(0.25), -0.2, 1e-15);
  c.s.MachSquared = 2.4;
  EXPECT_NEAR(c.Run(0.25), -0.25, 1e-15);
}

TEST(ControlLaw, RateDampingAndInertiaCap) {
  LawCase c;
  c.a.PitchDamping = 0.1;
  c.s.PitchRate = 1.5;  // excess 1.5 rad/s: 9, limited to 4
  EXPECT_NEAR(c.Run(0), 0.2, 1e-15);
  EXPECT_NEAR(c.s.NozzlePitchCommand, 0.2 * 250 / 1 * 5, 1e-12);

  LawCase big;
  big.s.PitchInertia = 250000;
  big.s.DynamicPressure = 4e6;
  big.Run(0.1);
  EXPECT_NEAR(big.s.ElevatorDemand, 0.1 / 4e6 * 100000 * 4, 1e-15);
  EXPECT_NEAR(big.s.NozzlePitchCommand, -0.1 * 250000 * 5, 1e-9);
}

TEST(ControlLaw, GroundAirSpeedAndRocketFade) {
  LawCase c;
  c.s.ElevatorDemand = 0.123;
  c.s.AirSpeed = 0;
  EXPECT_EQ(c.Run(0.2), 0);
  EXPECT_EQ(c.s.ElevatorDemand, 0.123);

  LawCase ground;
  ground.s.SupportAccel = 9;
  EXPECT_EQ(ground.Run(0.15), -0.15);  // stick centred: straight to the tail

  LawCase rocket;
  rocket.s.EngineType = "roket";
  rocket.s.DynamicPressure = 2000;
  rocket.s.PitchInertia = 500;  // keeps the unfaded output -E
  EXPECT_NEAR(rocket.Run(0.2), -0.2 / 4, 1e-15);
}

TEST(ControlLaw, RocketThrustersInThinAir) {
  LawCase c;
  c.s.EngineType = "roket";
  c.s.AirDensity = 0.012;
  c.s.DynamicPressure = 3999;
  c.s.PitchInertia = 400;
  c.s.RollInertia = 100;
  c.s.YawInertia = 100;
  c.Run(0.1);
  EXPECT_NEAR(c.s.CasPitchMoment, 0.1 / 2 * 20 * 30000, 1e-6);
  c.s.DynamicPressure = 4000;
  c.Run(0.1);
  EXPECT_EQ(c.s.CasPitchMoment, 0);

  // Pitch hold across +-pi takes the short way round.
  c.s.MaxAngleOfAttack = 5;
  c.s.DynamicPressure = 10;
  c.s.PitchHoldOn = 1;
  c.s.AngleOfAttack = -3.0;
  c.Run(3.0);
  EXPECT_NEAR(c.s.CasPitchMoment, 4 * (3.0 - (-3.0 + 6.2831852)) * 20 * 30000, 1e-6);

  // Fin in the shadow at 10 Pa, no brake: roll thruster, no yaw thruster.
  c.s.FinShield = 0.1;
  c.s.StickLateral = -250;
  c.Run(0);
  EXPECT_NEAR(c.s.CasRollMoment, 1.0 * 10 * 10000, 1e-6);
  EXPECT_EQ(c.s.CasYawMoment, 0);

  LawCase jet;
  jet.s.AirDensity = 0.012;
  jet.s.CasPitchMoment = jet.s.CasRollMoment = 7;
  jet.s.CasYawMoment = 7;
  jet.Run(0.1);
  EXPECT_EQ(jet.s.CasPitchMoment, 0);
  EXPECT_EQ(jet.s.CasRollMoment, 0);
  EXPECT_EQ(jet.s.CasYawMoment, 0);
}

TEST(ControlAugmentation, LoadLimitsAndRollingPush) {
  // A jet at 3000 Pa: the pull stops at the trim angle for its load limit.
  TrimCase c;
  shell::ShellState shell;
  c.a.LaunchSpeed = 100;
  c.a.WingSpan = 10;
  c.s.DynamicPressure = 3000;
  c.s.EngineNoiseLevel = 64;
  c.s.Mass = 2000;
  c.s.AirSpeed = 70;
  c.s.EngineType = "jet";
  c.a.PitchResponse = 1;
  c.s.ElevatorDemand = -1.0;  // a hard pull
  FlightState probe = c.s;
  TrimTailForBalance(probe, c.a, 64);
  const double limit = probe.TrimTailAngle;
  ASSERT_GT(limit, 0);
  ASSERT_LT(limit, 1.0);
  // Watch the demand as it reaches the control law.
  c.s.MaxAngleOfAttack = 5;
  c.s.PitchInertia = 1e9;
  ApplyControlAugmentation(c.s, c.a, shell);
  EXPECT_NEAR(c.s.NozzlePitchCommand * -1 / (c.s.PitchInertia / (c.s.GrossThrust + 1) * 5),
              (limit - c.s.AngleOfAttack) * c.a.PitchResponse, 1e-9);

  // Rolling faster than 1 rad/s a push becomes 0 before the control law.
  TrimCase r;
  r.a.LaunchSpeed = 100;
  r.a.WingSpan = 10;
  r.a.PitchResponse = 1;
  r.s.AirSpeed = 70;
  r.s.ElevatorDemand = 0.2;
  r.s.RollRate = 1.5;
  r.s.MaxAngleOfAttack = 5;
  r.s.PitchInertia = 1e9;
  ApplyControlAugmentation(r.s, r.a, shell);
  EXPECT_NEAR(r.s.NozzlePitchCommand * -1 / (r.s.PitchInertia / (r.s.GrossThrust + 1) * 5), 0 - r.s.AngleOfAttack,
              1e-9);
}

TEST(ControlAugmentation, BankHold) {
  FlightState s;
  shell::AircraftData a;
  s.BrakeOn = 1;
  s.FlightTime = 4;
  s.BankAngle = 0.5;
  s.RollRate = 0.2;
  HoldBank(s, a);
  EXPECT_EQ(s.RudderDemand, 0.087);  // 5 x 0.6 limited

  // Powered: 120 degrees of bank give the error of 60.
  a.LaunchSpeed = 100;
  a.WingWeight = 100;
  a.WingArea = 10;
  s.AirSpeed = 50;
  s.DynamicPressure = 1e6;
  s.RollRate = 0;
  s.AoaText = 0;
  s.BankAngle = 120 / 57.3;
  s.ViewRollSin = std::sin(s.BankAngle);
  HoldBank(s, a);
  const double at120 = s.AileronDemand;
  s.BankAngle = 3.1415926 - 120 / 57.3;
  s.ViewRollSin = std::sin(s.BankAngle);
  HoldBank(s, a);
  EXPECT_NEAR(at120, s.AileronDemand, 1e-12);
  EXPECT_NEAR(at120, 20 * (-(3.1415926 - 120 / 57.3)) / 10 / 10 * 100 / 1e6 * 5000, 1e-12);
}

TEST(ReactionControl, MomentLimits) {
  FlightState s;
  s.CasPitchMoment = 250000.7;
  s.CasYawMoment = -300000;
  s.CasRollMoment = 12.37;
  LimitReactionMoments(s);
  EXPECT_EQ(s.CasPitchMoment, 200000);
  EXPECT_EQ(s.CasYawMoment, -200000);
  EXPECT_EQ(s.CasRollMoment, 12.2);
  s.CasRollMoment = -90000;
  LimitReactionMoments(s);
  EXPECT_EQ(s.CasRollMoment, -40000);
}

TEST(ControlSurfaces, LimitsOfTheHeldCommands) {
  FlightState s;
  shell::AircraftData a;
  s.ElevatorCommand = 1;  // no tailplane arm: never limited
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.ElevatorCommand, 1);
  a.TailplaneArm = 3;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.ElevatorCommand, 10 / 57.3);
  s.ElevatorCommand = -0.3;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.ElevatorCommand, -15 / 57.3);
  a.TailplaneArm = -1;  // foreplane: the signs turn over
  s.ElevatorCommand = -0.2;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.ElevatorCommand, -10 / 57.3);
  s.RudderCommand = -0.5;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.RudderCommand, -0.1745);
}

struct ChainCase {
  FlightState s;
  shell::AircraftData a;
  ChainCase() {
    a.SurfaceRate = 40;
    a.WingArea = 16;
    a.FlapMax = 0.1;
    a.TailplaneArm = 4;
    s.StepsPerSecond = 40;
    s.MinAngleOfAttack = -0.6;
    s.TrimMin = -1;
    s.TrimMax = 1;
    s.AfterburnerMax = 1;
    s.NozzlePosition = 1;
  }
};

TEST(ControlSurfaces, RatesLimitsAndNotches) {
  ChainCase c;
  const double step = 40 / 57.3 / 40;
  c.s.ElevatorInput = step;  // exactly one step away: reached
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.ElevatorAngle, step);
  c.s.ElevatorInput = 0.5;  // limited to 0.4, moved one step
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.ElevatorInput, 0.4);
  EXPECT_EQ(c.s.ElevatorAngle, 2 * step);

  c.s.EngineType = "roket";
  c.s.ElevatorInput = -1.3;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.ElevatorInput, -1);

  c.s.FlapNotch = 3;
  for (int i = 0; i < 200; ++i) DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.FlapAngle, 0.1);
  c.s.FlapNotch = 2;
  for (int i = 0; i < 200; ++i) DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.FlapAngle, 0.05);

  // A powered aircraft's rudder moves at a third of its rate below 1500 Pa.
  ChainCase p;
  p.a.LaunchSpeed = 100;
  p.s.RudderDemand = 0.5;
  p.s.DynamicPressure = 1000;
  DriveControlSurfaces(p.s, p.a);
  EXPECT_EQ(p.s.RudderDemand, 0.1745);
  EXPECT_NEAR(p.s.RudderAngle, 40.0 / 3 / 57.3 / 40, 1e-15);
  p.s.DynamicPressure = 2000;
  DriveControlSurfaces(p.s, p.a);
  EXPECT_NEAR(p.s.RudderAngle, 40.0 / 3 / 57.3 / 40 + 40 / 57.3 / 40, 1e-15);
}

TEST(ControlSurfaces, AfterburnerOpeningSettles) {
  ChainCase c;
  for (int i = 0; i < 500; ++i) DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.NozzlePosition, 1);
  c.s.AfterburnerMax = 1.5;
  c.s.Throttle = 0.8;
  for (int i = 0; i < 2000; ++i) DriveControlSurfaces(c.s, c.a);
  EXPECT_NEAR(c.s.NozzlePosition, 1 / 1.5, 1e-9);
  c.s.Throttle = 0.1;
  for (int i = 0; i < 2000; ++i) DriveControlSurfaces(c.s, c.a);
  EXPECT_NEAR(c.s.NozzlePosition, 1, 1e-9);
}

TEST(PilotDemand, StickWeightShiftAndLiftOffSpeed) {
  FlightState s;
  shell::AircraftData a;
  shell::Settings settings;
  shell::ShellState shell;
  a.TailplaneArm = 3;
  a.PitchRatio = 1;
  a.WingArea = 10;
  s.PixelsPerRadian = 573;
  s.StickPitch = 100;
  settings.JoystickOn = 1;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_NEAR(s.ElevatorDemand, 100 / 573.0, 1e-15);

  // Weight shift: the stick moves the pilot; a foreplane keeps the incidence.
  a.TailplaneFixed = 2;
  a.TailplaneArm = -1;
  a.TailplaneIncidence = 2;
  s.PilotArm = 0.3;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_NEAR(s.TrimPosition, 0.3 - 0.125, 1e-15);
  EXPECT_NEAR(s.ElevatorDemand, 2 / 57.3, 1e-15);

  // Lift-off speed; a negative lift term leaves it as it was.
  s.Mass = 100;
  s.SweepAreaFactor = 1;
  s.LiftSlope = 1;
  s.AirDensity = 1.2;
  s.GroundPitchLimit = 0.1;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_NEAR(s.LiftOffSpeed, std::sqrt(100 * 19.6 / 10 / 6.28 / 0.1 / 1.2), 1e-12);
  s.FlapAngle = -1;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_NEAR(s.LiftOffSpeed, std::sqrt(100 * 19.6 / 10 / 6.28 / 0.1 / 1.2), 1e-12);
}

TEST(LoopInput, LateralStickShaping) {
  EXPECT_EQ(ShapeLateralStick(4.9, 1), 0);
  EXPECT_EQ(ShapeLateralStick(15, 1), 5);
  EXPECT_EQ(ShapeLateralStick(-15 * 1.6, 1.6), -5 * 1.6);
  EXPECT_EQ(ShapeLateralStick(120, 1), 100);
  EXPECT_NEAR(ShapeLateralStick(10, 1), 1.25, 1e-15);
}

struct JoystickCase {
  FlightState s;
  FlightRecord& r = Record();
  shell::AircraftData a;
  shell::Settings settings;
  shell::ShellState shell;
  FlightSeams seams;
  JoystickCase() {
    a.LaunchSpeed = 100;
    settings.JoystickOn = 1;
    s.EngineType = "jet";
    s.AfterburnerMax = 1.6;
    s.ThrottleDetent = 100;
    s.Throttle = 0.5;
    s.JoyXpos = s.JoyYpos = 32767;
  }
  // The lever position that reads as axis value v.
  void Lever(int v) {
    s.JoyZpos = static_cast<uint32_t>(std::lround((2 - v / 128.0) * 32767));
    ProcessLoopInput(s, r, a, settings, shell, seams);
    EXPECT_EQ(s.ThrottleAxisValue, v);
  }
};

TEST(LoopInput, ThrottleLeverWithAfterburnerDetent) {
  JoystickCase c;
  c.Lever(100);
  EXPECT_NEAR(c.s.Throttle, 1.0, 1e-15);
  EXPECT_EQ(c.s.AfterburnerLevel, 1.0);
  c.Lever(110);
  EXPECT_EQ(c.s.AfterburnerLevel, 1.0);
  c.Lever(245);
  EXPECT_NEAR(c.s.AfterburnerLevel, 1.6, 1e-15);

  // A rocket's lever reads 0.07 lower and never below 0; a jet's never below
  // 0.1.
  JoystickCase rocket;
  rocket.s.EngineType = "roket";
  rocket.s.AfterburnerMax = 1;
  rocket.Lever(3);
  EXPECT_EQ(rocket.s.Throttle, 0);
  JoystickCase jet;
  jet.s.AfterburnerMax = 1;
  jet.Lever(3);
  EXPECT_EQ(jet.s.Throttle, 0.1);

  // A throttle cut below 0.1 comes back only with a clear move of the lever.
  jet.s.Throttle = 0.05;
  jet.Lever(5);
  EXPECT_EQ(jet.s.Throttle, 0.05);
  jet.Lever(150);
  EXPECT_NEAR(jet.s.Throttle, 150 / 245.0 + 0.05, 1e-15);

  // Pitch dead zone: 10 pixels for a powered aircraft.
  JoystickCase dz;
  dz.s.ViewCentreY = 200;
  dz.s.JoyYpos = 32767 + 250 * 15;
  dz.Lever(100);
  EXPECT_EQ(dz.s.StickPitch, -5);
}

TEST(FlightCommands, TakeoffOnThePlatformAndOnTheGear) {
  FlightRecord& r = Record();
  FlightState s;
  shell::AircraftData a;
  a.LaunchSpeed = 10;  // exactly 10 counts as light
  a.LaunchHeight = 10;
  s.CourseDistance = -5;
  s.GroundSpeed = 1e-5;
  EXPECT_TRUE(ApplyTakeoffCommand(s, r, a));
  EXPECT_EQ(s.WheelBrakeSetting, 0);
  EXPECT_EQ(s.TakeoffRunAcceleration, 10 / 2.4);
  EXPECT_EQ(r.RecordCount, 0);
  EXPECT_EQ(s.FlightTime, 0.1);
  EXPECT_EQ(s.GroundSpeed, 0.01);

  FlightState g;
  shell::AircraftData p;
  p.LaunchSpeed = 60;
  p.LaunchHeight = 0;
  g.WheelBrakeSetting = 0.5;
  g.SupportAccel = 3;
  g.GroundSpeed = 0.001;
  EXPECT_TRUE(ApplyTakeoffCommand(g, r, p));  // brake released: the run starts
  EXPECT_EQ(g.TakeoffRunAcceleration, 60.0 * 60 / 20);
  EXPECT_FALSE(ApplyTakeoffCommand(g, r, p));  // sets the brake again
  EXPECT_EQ(g.WheelBrakeSetting, 0.5);
}

TEST(FlightCommands, GearFlapsAndFuelDump) {
  FlightState s;
  shell::AircraftData a;
  a.ParasiteDragArea = 0.5;
  s.EngineType = "pist";
  s.DryMass = 500;
  ToggleGear(s, a);
  EXPECT_EQ(s.GearValue, 0);  // fixed gear
  s.EngineType = "jet";
  s.DryMass = 10000;
  ToggleGear(s, a);
  EXPECT_EQ(s.GearValue, 2 * 100.0 / 100 / 0.5);
  ToggleGear(s, a);
  EXPECT_EQ(s.GearValue, 0);

  FlapDown(s, a);
  EXPECT_EQ(s.FlapNotch, 0);  // no flaps
  FlapUp(s);
  EXPECT_EQ(s.FlapNotch, 0);
  a.FlapMax = 0.1;
  for (int i = 0; i < 5; ++i) FlapDown(s, a);
  EXPECT_EQ(s.FlapNotch, 3);

  a.FuelCapacity = 1000;
  s.FuelQuantity = 600;
  ToggleFuelDump(s, a);
  EXPECT_EQ(s.FuelQuantity, 300);
  ToggleFuelDump(s, a);
  ToggleFuelDump(s, a);
  EXPECT_EQ(s.FuelQuantity, 100);
  ToggleFuelDump(s, a);
  EXPECT_EQ(s.FuelQuantity, 100);
  s.EngineType = "roket";
  s.DryMass = 1000;
  ToggleFuelDump(s, a);
  EXPECT_EQ(s.FuelQuantity, 0.07 * 1000);
}

}  // namespace
}  // namespace zarv::flight
