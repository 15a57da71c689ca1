// Control surfaces, pilot demand, augmentation, the control law, automatic
// trim, the lateral stick and the cockpit commands, worked by hand.
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

// The surface chain at 40 steps a second and 40 degrees a second.
struct Chain {
  FlightState s;
  aircraft::AircraftData a;
  Chain() {
    a.SurfaceRate = 40;
    a.WingArea = 16;
    a.FlapMax = 0.1;
    a.TailplaneArm = 4;
    s.Loop.StepsPerSecond = 40;
    s.Setup.MinAngleOfAttack = -0.6;
    s.Masses.TrimMin = -1;
    s.Masses.TrimMax = 1;
  }
  void Step(int n = 1) {
    for (int i = 0; i < n; ++i) DriveControlSurfaces(s, a);
  }
};

TEST(ControlSurfaces, RatesLimitsAndNotches) {
  Chain c;
  const double step = 40 / 57.3 / 40;
  c.s.Controls.TailplaneCommand = step;  // exactly one step away: reached
  c.Step();
  EXPECT_EQ(c.s.Controls.ElevatorAngle, step);
  c.s.Controls.TailplaneCommand = 0.5;  // limited to 0.4, moved one step
  c.Step();
  EXPECT_EQ(c.s.Controls.TailplaneCommand, 0.4);
  EXPECT_EQ(c.s.Controls.ElevatorAngle, 2 * step);
  c.s.Pilot.FlapNotch = 2;  // of 3
  c.Step(200);
  EXPECT_EQ(c.s.Controls.FlapAngle, 0.05);

  // A powered aircraft's rudder moves at a third of its rate below 1500 Pa.
  Chain p;
  p.a.LaunchSpeed = 100;
  p.s.Controls.RudderDemand = 0.5;
  p.s.Air.DynamicPressure = 1000;
  p.Step();
  EXPECT_EQ(p.s.Controls.RudderDemand, 0.1745);
  EXPECT_NEAR(p.s.Controls.RudderAngle, 40.0 / 3 / 57.3 / 40, 1e-15);
  p.s.Air.DynamicPressure = 2000;
  p.Step();
  EXPECT_NEAR(p.s.Controls.RudderAngle, 40.0 / 3 / 57.3 / 40 + 40 / 57.3 / 40, 1e-15);
}

TEST(ControlSurfaces, LimitsOfTheHeldCommands) {
  FlightState s;
  aircraft::AircraftData a;
  s.Controls.ElevatorCommand = 1;
  a.TailplaneArm = 3;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.Controls.ElevatorCommand, 10 / 57.3);
  s.Controls.ElevatorCommand = -0.3;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.Controls.ElevatorCommand, -15 / 57.3);
  a.TailplaneArm = -1;  // foreplane: the signs turn over
  s.Controls.ElevatorCommand = -0.2;
  s.Pilot.RudderCommand = -0.5;
  LimitControlDeflections(s, a);
  EXPECT_EQ(s.Controls.ElevatorCommand, -10 / 57.3);
  EXPECT_EQ(s.Pilot.RudderCommand, -0.1745);
}

TEST(ControlSurfaces, RampHoldAndThrustVectoring) {
  // Steep ramp, first 3 s, tailplane behind: the tail is held at -0.3.
  Chain c;
  c.a.LaunchPitch = 0.2;
  c.s.Controls.TailplaneCommand = 0.1;
  c.s.Loop.FlightTime = 2.9;
  c.Step();
  EXPECT_EQ(c.s.Controls.TailplaneCommand, -0.3);

  // Thrust vectoring holds the launch attitude on the ground run and is
  // capped at 0.25 when augmented.
  Chain t;
  t.s.Engine.TvcOn = 1;
  t.a.LaunchPitch = 0.1;
  t.s.Air.SupportAccel = 5;
  t.s.Body.PitchAngle = 0.15;
  t.s.Body.PitchRate = 0.02;
  t.Step();
  EXPECT_NEAR(t.s.Controls.NozzlePitch, 0.07, 1e-15);
  t.s.Air.SupportAccel = 0;
  t.s.Pilot.CasOn = 1;
  t.s.Air.DynamicPressure = 1000;
  t.s.Controls.NozzlePitchCommand = 0.1;
  t.Step(40);
  EXPECT_EQ(t.s.Controls.NozzlePitch, 0.25);
  t.s.Engine.TvcOn = 0;
  t.Step();
  EXPECT_EQ(t.s.Controls.NozzlePitch, 0);
}

TEST(PilotDemand, MouseSteeringWeightShiftAndLiftOffSpeed) {
  FlightState s;
  aircraft::AircraftData a;
  FlightOptions options;
  a.TailplaneArm = 3;
  a.TailplaneIncidence = 1;
  a.PitchRatio = 2;
  a.WingArea = 10;
  s.Pilot.PixelsPerRadian = 573;
  s.Controls.ElevatorCommand = 0.01;
  s.Pilot.StickPitch = 50;
  const double trim = 1 / 57.3 + 0.01;
  a.LaunchSpeed = 10;  // light, no hold: the stick geared by PitchRatio
  FormPilotDemand(s, a, options);
  EXPECT_NEAR(s.Controls.ElevatorDemand, trim + 100 / 573.0, 1e-15);
  s.Pilot.PitchHoldOn = 1;
  a.LaunchSpeed = 10.5;  // powered in hold: stick plus trim, rudder untouched
  s.Controls.RudderDemand = 0.3;
  FormPilotDemand(s, a, options);
  EXPECT_NEAR(s.Controls.ElevatorDemand, trim + 50 / 573.0, 1e-15);
  EXPECT_EQ(s.Controls.RudderDemand, 0.3);

  // Weight shift: the stick moves the pilot; a foreplane keeps the incidence.
  a.TailplaneFixed = 2;
  a.TailplaneArm = -1;
  a.TailplaneIncidence = 2;
  s.Masses.PilotArm = 0.3;
  s.Pilot.StickPitch = 100;
  FormPilotDemand(s, a, options);
  EXPECT_NEAR(s.Masses.TrimPosition, 0.3 - 0.125, 1e-15);
  EXPECT_NEAR(s.Controls.ElevatorDemand, 2 / 57.3 - 0.01, 1e-15);

  // Lift-off speed; a negative lift term leaves it as it was.
  s.Masses.Mass = 100;
  s.Setup.SweepAreaFactor = 1;
  s.Aero.LiftSlope = 1;
  s.Air.AirDensity = 1.2;
  s.Setup.GroundPitchLimit = 0.1;
  const double v = std::sqrt(100 * 19.6 / 10 / 6.28 / 0.1 / 1.2);
  FormPilotDemand(s, a, options);
  EXPECT_NEAR(s.Controls.LiftOffSpeed, v, 1e-12);
  s.Controls.FlapAngle = -1;
  FormPilotDemand(s, a, options);
  EXPECT_EQ(s.Controls.LiftOffSpeed, v);
}

// A tailed aircraft in level flight, the numbers chosen for hand working.
struct TrimCase {
  FlightState s;
  aircraft::AircraftData a;
  TrimCase() {
    a.TailplaneArea = 2;
    a.TailplaneArm = 4;
    a.WingArea = 20;
    s.Masses.CgX = 0.1;
    s.Masses.WingAcOffset = 0.05;
    s.Wing.WingLift = 10;
    s.Tail.WingMomentTerm = -300;
    s.Air.DynamicPressure = 1000;
    s.Aero.TailLiftSlope = 0.9;
    s.Setup.SweepAreaFactor = 1;
    s.Air.AngleOfAttack = 0.05;
    s.Setup.MinAngleOfAttack = -0.3;
    s.Masses.Mass = 100;
    s.Aero.LiftSlopeMachFactor = 1;
    s.Aero.LiftSlope = 0.9;
    s.Airfoils.WingAngleOffsetNow = -0.02;
    s.Airfoils.WingLiftOffsetNow = 0.08;
    s.Setup.WingIncidenceRad = 0.05;
    s.Setup.HalfWashout = 0.01;
  }
};

// A rocket holding pitch: the control law returns at once (no airspeed), so
// the angle-of-attack demand is what the pitch hold left in ElevatorDemand.
struct HoldCase {
  FlightState s;
  aircraft::AircraftData a;
  FlightOptions options;
  HoldCase() {
    a.LaunchSpeed = 200;
    a.WingArea = 20;
    a.WingSpan = 10;
    s.Engine.EngineType = aircraft::EngineKind::Rocket;
    s.Pilot.PitchHoldOn = 1;
    s.Pilot.PitchHoldAngle = 0.5;
    s.Air.AirPathAngle = 0.1;
    s.Air.DynamicPressure = 200;
    s.Body.AirSpeed = 0;
    s.Body.Altitude = 1000;
    s.Masses.Mass = 1000;
    s.Wing.RollDamperScale = 1;
  }
  double Demand(double m2) {
    s.Air.MachSquared = m2;
    ApplyControlAugmentation(s, a, options);
    return s.Controls.ElevatorDemand;
  }
};

TEST(ControlAugmentation, RocketClimbSchedule) {
  HoldCase c;
  // Below Mach^2 3 the climb angle is -14.5 deg scaled by (3 - M^2) / 2.
  EXPECT_NEAR(c.Demand(2), -(0.5 * -14.5 / 57.3 - 0.1), 1e-15);
  EXPECT_NEAR(c.Demand(300), -(0.5 - 0.1), 1e-15);
  // At 150 Pa or less the schedule is off: the hold angle alone.
  c.s.Air.DynamicPressure = 150;
  EXPECT_NEAR(c.Demand(2), -(0.5 - 0.1), 1e-15);
  // Banked past 90 degrees there is no hold: the pilot's demand passes.
  c.s.Body.ViewRollCos = -0.1;
  c.s.Controls.ElevatorDemand = 0.3;
  EXPECT_EQ(c.Demand(2), 0.3);

  // Low and with the gear up, the hold lowers the gear.
  HoldCase g;
  g.a.ParasiteDragArea = 1;
  g.s.Masses.DryMass = 10000;
  g.s.Body.Altitude = 19;
  g.Demand(300);
  EXPECT_EQ(g.s.Controls.GearValue, 2);
}

TEST(ControlAugmentation, GroundRunAttitudeAndRollDamper) {
  HoldCase c;
  c.s.Pilot.PitchHoldOn = 0;
  c.s.Engine.EngineType = aircraft::EngineKind::Jet;
  c.s.Body.AirSpeed = 20;
  c.s.Controls.LiftOffSpeed = 30;  // 0.9 x 30 > 20: still running
  c.s.Pilot.WheelBrakeSetting = 0.5;
  c.s.Air.SupportAccel = 3;
  c.a.LaunchPitch = 0.175;
  c.a.TailplaneArm = 5;
  c.a.RollRatio = 1.5;
  c.s.Body.PitchAngle = 0.12;
  c.s.Body.RollRate = 0.2;
  c.s.Masses.RollInertia = 2000;
  ApplyControlAugmentation(c.s, c.a, c.options);
  EXPECT_EQ(c.s.Controls.TailplaneCommand, -1 * (0.12 + 0.05));  // 0.05 rad below the launch pitch
  const double damper = 30 * (0.2 * 2000 / std::pow(200.0, 0.8)) / 1000;
  EXPECT_NEAR(c.s.Controls.AileronDemand, -damper, 1e-15);
  // Stick against the roll: the damper adds; with the roll it does not.
  c.s.Pilot.StickLateral = 50;
  ApplyControlAugmentation(c.s, c.a, c.options);
  EXPECT_NEAR(c.s.Controls.AileronDemand, -0.6 - damper, 1e-15);
  c.s.Pilot.StickLateral = -50;
  ApplyControlAugmentation(c.s, c.a, c.options);
  EXPECT_NEAR(c.s.Controls.AileronDemand, 0.6, 1e-15);
}

TEST(ControlAugmentation, LoadLimitsAndRollingPush) {
  // A jet at 3000 Pa, a hard pull and a push while rolling fast; the demand
  // is read as it reaches the control law.
  FlightOptions options;
  TrimCase pull, push;
  for (TrimCase* c : {&pull, &push}) {
    c->a.LaunchSpeed = 100;
    c->a.WingSpan = 10;
    c->a.PitchResponse = 1;
    c->s.Air.DynamicPressure = 3000;
    c->s.Engine.EngineNoiseLevel = 64;
    c->s.Masses.Mass = 2000;
    c->s.Body.AirSpeed = 70;
    c->s.Engine.EngineType = aircraft::EngineKind::Jet;
    c->s.Airfoils.MaxAngleOfAttack = 5;
    c->s.Masses.PitchInertia = 1e9;
  }
  const auto reaching = [](const FlightState& s) {
    return -s.Controls.NozzlePitchCommand / (s.Masses.PitchInertia / (s.Engine.GrossThrust + 1) * 5) + s.Air.AngleOfAttack;
  };
  // The pull stops at the trim angle for the load limit.
  FlightState probe = pull.s;
  TrimTailForBalance(probe, pull.a, 64);
  ASSERT_GT(probe.Controls.TrimAngleOfAttack, 0);
  ASSERT_LT(probe.Controls.TrimAngleOfAttack, 1.0);
  pull.s.Controls.ElevatorDemand = -1.0;
  ApplyControlAugmentation(pull.s, pull.a, options);
  EXPECT_NEAR(reaching(pull.s), probe.Controls.TrimAngleOfAttack, 1e-9);
  // Rolling faster than 1 rad/s a push becomes 0.
  push.s.Controls.ElevatorDemand = 0.2;
  push.s.Body.RollRate = 1.5;
  ApplyControlAugmentation(push.s, push.a, options);
  EXPECT_NEAR(reaching(push.s), 0, 1e-9);
}

TEST(ReactionControl, MomentLimits) {
  FlightState s;
  s.Controls.CasPitchMoment = 250000.7;
  s.Controls.CasYawMoment = -300000;
  s.Controls.CasRollMoment = -90000;
  LimitReactionMoments(s.Controls);
  EXPECT_EQ(s.Controls.CasPitchMoment, 200000);
  EXPECT_EQ(s.Controls.CasYawMoment, -200000);
  EXPECT_EQ(s.Controls.CasRollMoment, -40000);
}

TEST(AutomaticTrim, AngleOfAttackForALoadByHand) {
  TrimCase c;
  TrimTailForBalance(c.s, c.a, 9.8);
  // Balance: M = (0.05 - 0.1)(-10) + 300 / 1000 = 0.8; l k = 3.9 x 11.304.
  const double lk = 3.9 * (2 * 0.9 * 6.28);
  const double tail = (0.8 - lk * 0.05) / lk;
  EXPECT_NEAR(tail, -0.0318535, 1e-6);
  const double x = (tail + 0.05) * 6.28 * 0.9 * 2 * 1000;
  const double want = (980 - x) / 0.9 / 20 / 1000 / 6.28 - 0.10;
  EXPECT_NEAR(c.s.Controls.TrimAngleOfAttack, want, 1e-15);

  // Twice the acceleration: the step is Mass a / (slope area q 6.28).
  TrimTailForBalance(c.s, c.a, 19.6);
  EXPECT_NEAR(c.s.Controls.TrimAngleOfAttack - want, 980 / (0.9 * 20 * 1000 * 6.28), 1e-12);

  // A swept tail works with the squared sweep factor.
  c.s.Setup.SweepAreaFactor = 0.98;
  const double swept = 3.9 * (2 * 0.9 * (0.98 * 0.98) * 6.28);
  EXPECT_NEAR(BalancingTailAngle(c.s, c.a), (0.8 - swept * 0.05) / swept, 1e-15);
}

TEST(AutomaticTrim, WithoutTailplaneTheLimitActsOnTheLastAngle) {
  TrimCase c;
  c.a.TailplaneArea = 0;
  c.s.Controls.TrimAngleOfAttack = 0.5;
  TrimTailForBalance(c.s, c.a, -45);
  // The tail carries nothing; the wing alone gives the push.
  EXPECT_NEAR(c.s.Controls.TrimAngleOfAttack, -4500 / 0.9 / 20 / 1000 / 6.28 - 0.10, 1e-12);
}

// Inputs for which the control law's output is minus its bounded demand:
// q = 1000, pitch inertia 250, no tail balance, no damping.
struct LawCase {
  FlightState s;
  aircraft::AircraftData a;
  FlightOptions options;
  LawCase() {
    a.TailplaneArm = 4;
    a.PitchResponse = 1;
    a.PitchDamping = 0;
    s.Body.AirSpeed = 40;
    s.Air.AirDensity = 1.2;
    s.Air.DynamicPressure = 1000;
    s.Masses.PitchInertia = 250;
    s.Airfoils.MaxAngleOfAttack = 1.0;
    s.Setup.GroundAngleLimit = 0.45;
    s.Body.Altitude = 100;
    s.Engine.EngineType = aircraft::EngineKind::Jet;
  }
  double Run(double demand) {
    s.Controls.ElevatorInput = demand;
    StepControlLaws(s, a, options);
    return s.Controls.TailplaneCommand;
  }
};

TEST(ControlLaw, DemandBoundsByHand) {
  LawCase c;
  EXPECT_NEAR(c.Run(0.25), -0.25, 1e-15);
  EXPECT_NEAR(c.Run(-0.3), 0.1, 1e-15);  // lower bound -0.1

  // Gear down, descending: c = 0.2, b = 0.3.
  c.s.Ground.GearExtension = 1;
  c.s.Setup.GroundPitchLimit = 0.224;
  c.s.Body.PathAngle = -0.1;
  EXPECT_NEAR(c.Run(0.25), -0.2, 1e-15);
  EXPECT_NEAR(c.Run(0.35), -0.3, 1e-15);
  c.s.Ground.GearExtension = 0;

  // The angle-of-attack limiter is off from Mach^2 2.4 on.
  c.s.Airfoils.MaxAngleOfAttack = 0.2;
  c.s.Air.MachSquared = 2.39;
  EXPECT_NEAR(c.Run(0.25), -0.2, 1e-15);
  c.s.Air.MachSquared = 2.4;
  EXPECT_NEAR(c.Run(0.25), -0.25, 1e-15);
}

// The law writes its command on every way out and leaves the demand it was
// given; last pass's command plays no part.
TEST(ControlLaw, DemandAndCommandAreKeptApart) {
  LawCase c;
  c.s.Controls.TailplaneCommand = 0.7;
  EXPECT_NEAR(c.Run(0.25), -0.25, 1e-15);
  EXPECT_EQ(c.s.Controls.ElevatorInput, 0.25);

  LawCase ground;
  ground.s.Air.SupportAccel = 9;
  ground.s.Controls.TailplaneCommand = 0.7;
  EXPECT_EQ(ground.Run(0.15), -0.15);
  EXPECT_EQ(ground.s.Controls.ElevatorInput, 0.15);

  LawCase still;
  still.s.Body.AirSpeed = 0;
  still.s.Controls.TailplaneCommand = 0.7;
  EXPECT_EQ(still.Run(0.2), 0);
}

TEST(ControlLaw, TrimsToTheTailBalanceOrWithoutATailToTheTrimAngle) {
  // Without a tailplane the automatic trim's angle of attack is the trim.
  LawCase tailless;
  tailless.s.Controls.TrimAngleOfAttack = 0.05;
  EXPECT_NEAR(tailless.Run(0.25), -0.25 + 0.05, 1e-15);

  // With one, the tail angle that balances the wing's moment, and only that:
  // M = 300 / 1000, l k = 4 x 2 x 6.28.
  LawCase tailed;
  tailed.a.TailplaneArea = 2;
  tailed.s.Tail.WingMomentTerm = -300;
  tailed.s.Controls.TrimAngleOfAttack = 0.05;
  const double balance = 0.3 / (4 * 2 * 6.28);
  EXPECT_NEAR(tailed.Run(0.25), -0.25 + balance, 1e-15);
  EXPECT_NEAR(tailed.s.Controls.TrimTailAngle, balance, 1e-15);
}

TEST(ControlLaw, RateDampingAndInertiaCap) {
  LawCase c;
  c.a.PitchDamping = 0.1;
  c.s.Body.PitchRate = 1.5;  // excess 1.5 rad/s: 9, limited to 4
  EXPECT_NEAR(c.Run(0), 0.2, 1e-15);
  EXPECT_NEAR(c.s.Controls.NozzlePitchCommand, 0.2 * 250 / 1 * 5, 1e-12);

  LawCase big;
  big.s.Masses.PitchInertia = 250000;
  big.s.Air.DynamicPressure = 4e6;
  big.Run(0.1);
  EXPECT_NEAR(big.s.Controls.ElevatorDemand, 0.1 / 4e6 * 100000 * 4, 1e-15);
  EXPECT_NEAR(big.s.Controls.NozzlePitchCommand, -0.1 * 250000 * 5, 1e-9);
}

TEST(ControlLaw, GroundAirSpeedAndRocketFade) {
  LawCase c;
  c.s.Controls.ElevatorDemand = 0.123;
  c.s.Body.AirSpeed = 0;
  EXPECT_EQ(c.Run(0.2), 0);
  EXPECT_EQ(c.s.Controls.ElevatorDemand, 0.123);

  LawCase ground;
  ground.s.Air.SupportAccel = 9;
  EXPECT_EQ(ground.Run(0.15), -0.15);  // stick centred: straight to the tail

  LawCase rocket;
  rocket.s.Engine.EngineType = aircraft::EngineKind::Rocket;
  rocket.s.Air.DynamicPressure = 2000;
  rocket.s.Masses.PitchInertia = 500;  // keeps the unfaded output -E
  EXPECT_NEAR(rocket.Run(0.2), -0.2 / 4, 1e-15);
}

TEST(ControlLaw, RocketThrustersInThinAir) {
  LawCase c;
  c.s.Engine.EngineType = aircraft::EngineKind::Rocket;
  c.s.Air.AirDensity = 0.012;
  c.s.Air.DynamicPressure = 3999;
  c.s.Masses.PitchInertia = 400;
  c.s.Masses.RollInertia = 100;
  c.s.Masses.YawInertia = 100;
  c.Run(0.1);
  EXPECT_NEAR(c.s.Controls.CasPitchMoment, 0.1 / 2 * 20 * 30000, 1e-6);
  c.s.Air.DynamicPressure = 4000;
  c.Run(0.1);
  EXPECT_EQ(c.s.Controls.CasPitchMoment, 0);

  // Pitch hold across +-pi takes the short way round.
  c.s.Airfoils.MaxAngleOfAttack = 5;
  c.s.Air.DynamicPressure = 10;
  c.s.Pilot.PitchHoldOn = 1;
  c.s.Air.AngleOfAttack = -3.0;
  c.Run(3.0);
  EXPECT_NEAR(c.s.Controls.CasPitchMoment, 4 * (3.0 - (-3.0 + 6.2831852)) * 20 * 30000, 1e-6);

  // Fin in the shadow at 10 Pa, no brake: roll thruster, no yaw thruster.
  c.s.Tail.FinShield = 0.1;
  c.s.Pilot.StickLateral = -250;
  c.Run(0);
  EXPECT_NEAR(c.s.Controls.CasRollMoment, 1.0 * 10 * 10000, 1e-6);
  EXPECT_EQ(c.s.Controls.CasYawMoment, 0);
}

TEST(LoopInput, LateralStickShaping) {
  EXPECT_EQ(ShapeLateralStick(4.9, 1), 0);
  EXPECT_NEAR(ShapeLateralStick(10, 1), 1.25, 1e-15);
  EXPECT_EQ(ShapeLateralStick(15, 1), 5);
  EXPECT_EQ(ShapeLateralStick(-15 * 1.6, 1.6), -5 * 1.6);
  EXPECT_EQ(ShapeLateralStick(120, 1), 100);
}

TEST(FlightCommands, FuelDumpHalvesDownToATenth) {
  FlightState s;
  aircraft::AircraftData a;
  s.Engine.EngineType = aircraft::EngineKind::Jet;
  a.FuelCapacity = 1000;
  s.Masses.FuelQuantity = 600;
  ToggleFuelDump(s, a);
  EXPECT_EQ(s.Masses.FuelQuantity, 300);
  for (int i = 0; i < 3; ++i) ToggleFuelDump(s, a);
  EXPECT_EQ(s.Masses.FuelQuantity, 100);
}

}  // namespace
}  // namespace zarv::flight
