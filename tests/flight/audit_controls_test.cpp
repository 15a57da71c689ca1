// Control, augmentation and propulsion stages worked by hand. Where a value is
// compared exactly, the expected value is the formula evaluated in its written
// order: the stages must round as the formulas do, not merely come close.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "flight/augmentation.h"
#include "flight/auto_trim.h"
#include "flight/control_surfaces.h"
#include "flight/flight_commands.h"
#include "flight/fuel.h"
#include "flight/guarded_math.h"
#include "flight/loop_input.h"
#include "flight/pilot_demand.h"
#include "flight/propulsion.h"

namespace zarv::flight {
namespace {

struct Chain {
  FlightState s;
  shell::AircraftData a;
  Chain() {
    a.SurfaceRate = 40;
    a.WingArea = 16;
    a.TailplaneArm = 4;
    s.StepsPerSecond = 40;
    s.MinAngleOfAttack = -0.6;
    s.TrimMin = -1;
    s.TrimMax = 1;
    s.AfterburnerMax = 1;
    s.NozzlePosition = 1;
  }
};

TEST(SurfaceChain, LeadingEdgeFlapFollowsTheWingAngle) {
  Chain c;
  c.s.LeadingEdgeFlaps = 1;
  c.s.WingAngleOffset = -0.01;
  c.s.WingLiftOffset = 0.05;
  c.s.LiftSlope = 0.9;
  c.s.SweepAreaFactor = 0.96;

  c.s.AoaText = 0.05;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.WingAngleOffsetNow, -0.01 - 0.05);
  EXPECT_EQ(c.s.WingLiftOffsetNow, 0.05 - (c.s.WingAngleOffsetNow - -0.01) * 0.9);

  // A large wing angle stops at -0.2 x LiftEfficiency^2.
  c.s.AoaText = 0.5;
  DriveControlSurfaces(c.s, c.a);
  const double floor = -0.2 * (0.96 * 0.96);
  EXPECT_EQ(c.s.WingAngleOffsetNow, floor);
  EXPECT_EQ(c.s.WingLiftOffsetNow, 0.05 - (floor - -0.01) * 0.9);

  // At or below zero wing angle the flap stays where it is.
  c.s.AoaText = -0.1;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.WingAngleOffsetNow, floor);

  // Without the automatic flap the rest values hold.
  c.s.LeadingEdgeFlaps = 0;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.WingAngleOffsetNow, -0.01);
  EXPECT_EQ(c.s.WingLiftOffsetNow, 0.05);
}

TEST(SurfaceChain, AfterburnerOpeningOneStepByHand) {
  Chain c;
  c.s.AfterburnerMax = 1.5;
  c.s.AfterburnerLevel = 1.2;
  c.s.EngineSpeedRatio = 1;
  c.s.PropellerAngle = 0.75;
  c.s.NozzlePosition = 0.8;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.NozzlePosition, (1 / 0.75 * 1.2 / 1.5 + 40 * 0.8) / (40 + 1));

  // Dry power lags towards 1 / AfterburnerMax, a closed throttle towards 1.
  c.s.AfterburnerLevel = 1;
  c.s.Throttle = 0.5;
  c.s.NozzlePosition = 0.8;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.NozzlePosition, (40 * 0.8 + 1 / 1.5) / 41);
  c.s.Throttle = 0.1;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.NozzlePosition, (40 * ((40 * 0.8 + 1 / 1.5) / 41) + 1) / 41);
}

TEST(SurfaceChain, RampHoldPitchHoldAndThrustVectoring) {
  // Steep ramp, first 3 s, tailplane behind: the tail is held at -0.3.
  Chain c;
  c.a.LaunchPitch = 0.2;
  c.s.ElevatorInput = 0.1;
  c.s.FlightTime = 2.9;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.ElevatorInput, -0.3);
  c.a.TailplaneArm = -2;  // not for a foreplane
  c.s.ElevatorInput = 0.1;
  DriveControlSurfaces(c.s, c.a);
  EXPECT_EQ(c.s.ElevatorInput, 0.1);

  // A fixed tailplane in pitch hold sits at its incidence, with the tail sign;
  // a light aircraft in pitch hold takes it at once.
  Chain h;
  h.a.TailplaneArm = -2;
  h.a.TailplaneFixed = 1;
  h.a.TailplaneIncidence = 3;
  h.a.LaunchSpeed = 10;
  h.s.PitchHoldOn = 1;
  DriveControlSurfaces(h.s, h.a);
  EXPECT_EQ(h.s.ElevatorInput, -1 * (3 / 57.3));
  EXPECT_EQ(h.s.ElevatorAngle, -1 * (3 / 57.3));

  // Thrust vectoring: on the ground run it holds the launch attitude.
  Chain t;
  t.s.TvcOn = 1;
  t.a.LaunchPitch = 0.1;
  t.s.SupportAccel = 5;
  t.s.PitchAngle = 0.15;
  t.s.PitchRate = 0.02;
  DriveControlSurfaces(t.s, t.a);
  const double held = (0.15 - 0.1) + 0.02;
  EXPECT_EQ(t.s.NozzlePitch, held);
  // In the air without augmentation it follows the tail at 0.6 rad/s, taking
  // the target once within 0.5 / n.
  t.s.SupportAccel = 0;
  t.s.ElevatorInput = 0.2;
  t.s.ElevatorAngle = 0.2;
  DriveControlSurfaces(t.s, t.a);
  EXPECT_EQ(t.s.NozzlePitch, held + 0.6 / 40);
  t.s.NozzlePitch = 0.19;
  DriveControlSurfaces(t.s, t.a);
  EXPECT_EQ(t.s.NozzlePitch, 0.2);
  // Augmented above 100 Pa the target is three times the command, capped at 0.25.
  t.s.CasOn = 1;
  t.s.DynamicPressure = 1000;
  t.s.NozzlePitchCommand = 0.1;
  for (int i = 0; i < 40; ++i) DriveControlSurfaces(t.s, t.a);
  EXPECT_EQ(t.s.NozzlePitch, 0.25);
  t.s.TvcOn = 0;
  DriveControlSurfaces(t.s, t.a);
  EXPECT_EQ(t.s.NozzlePitch, 0);
}

TEST(DirectControl, TailSignPitchHoldAndAilerons) {
  FlightState s;
  shell::AircraftData a;
  a.TailplaneArm = -2;
  a.TailplaneIncidence = 2;
  a.LaunchSpeed = 10;  // light
  s.ElevatorDemand = 0.1;
  s.RudderCommand = 0.05;
  s.RudderDemand = 0.02;
  s.StickLateral = 30;
  ApplyDirectControl(s, a);
  EXPECT_EQ(s.ElevatorInput, -0.1);
  EXPECT_EQ(s.NozzlePitchCommand, -0.1);
  EXPECT_EQ(s.RudderDemand, 0.02);  // a light aircraft's moving fin keeps the pilot's
  EXPECT_EQ(s.AileronDemand, 0);

  // Pitch hold centres the pilot and sets the bare incidence.
  s.PitchHoldOn = 1;
  s.PilotArm = 0.4;
  s.TrimCentre = 0.1;
  ApplyDirectControl(s, a);
  EXPECT_EQ(s.TrimPosition, 0.4);
  EXPECT_EQ(s.TrimCentre, 0.4);
  EXPECT_EQ(s.ElevatorInput, 2 / 57.3);

  // No tailplane arm: no tail demand.
  a.TailplaneArm = 0;
  s.PitchHoldOn = 0;
  ApplyDirectControl(s, a);
  EXPECT_EQ(s.ElevatorInput, 0);

  // Powered: the held rudder and the stick's ailerons.
  a.LaunchSpeed = 10.001;
  s.PixelsPerRadian = 573;
  ApplyDirectControl(s, a);
  EXPECT_EQ(s.RudderDemand, 0.05);
  EXPECT_EQ(s.AileronDemand, -4 * 30 / 573.0);
}

TEST(ControlAugmentation, AugmentationStartsByClass) {
  FlightState s;
  shell::AircraftData a;
  s.CasOn = 1;
  a.LaunchSpeed = 10;  // light: only after 3.5 s and 1 m
  s.DynamicPressure = 500;
  EXPECT_FALSE(UsesControlAugmentation(s, a));
  s.FlightTime = 3.6;
  s.Distance = 1.1;
  EXPECT_TRUE(UsesControlAugmentation(s, a));
  a.LaunchSpeed = 11;
  s.FlightTime = 0;
  s.Distance = 0;
  EXPECT_TRUE(UsesControlAugmentation(s, a));
  s.DynamicPressure = 0;
  EXPECT_FALSE(UsesControlAugmentation(s, a));
}

// A rocket holding pitch: the control law returns at once (no airspeed), so
// the angle-of-attack demand is what the pitch hold left in ElevatorDemand.
struct HoldCase {
  FlightState s;
  shell::AircraftData a;
  shell::ShellState shell;
  HoldCase() {
    a.LaunchSpeed = 200;
    a.WingArea = 20;
    a.WingSpan = 10;
    s.EngineType = "roket";
    s.PitchHoldOn = 1;
    s.PitchHoldAngle = 0.5;
    s.AirPathAngle = 0.1;
    s.DynamicPressure = 200;
    s.AirSpeed = 0;
    s.Altitude = 1000;
    s.Mass = 1000;
    s.RollDamperScale = 1;
  }
  double Demand(double m2) {
    s.MachSquared = m2;
    ApplyControlAugmentation(s, a, shell);
    return s.ElevatorDemand;
  }
};

TEST(ControlAugmentation, RocketClimbSchedule) {
  HoldCase c;
  EXPECT_EQ(c.Demand(2), -((3 - 2.0) / 2 * (-14.5 / 57.3) - 0.1));
  EXPECT_EQ(c.Demand(292), -(0.5 * std::sin(std::sqrt(292 - 3.0) / 17 * 1.57) - 0.1));
  EXPECT_EQ(c.Demand(300), -(0.5 - 0.1));
  // At 150 Pa or less the schedule is off: the hold angle alone.
  c.s.DynamicPressure = 150;
  EXPECT_EQ(c.Demand(2), -(0.5 - 0.1));
  // Banked past 90 degrees there is no hold: the pilot's demand passes.
  c.s.ViewRollCos = -0.1;
  c.s.ElevatorDemand = 0.3;
  EXPECT_EQ(c.Demand(2), 0.3);

  // Low and with the gear up, the hold lowers the gear.
  HoldCase g;
  g.a.ParasiteDragArea = 1;
  g.s.DryMass = 10000;
  g.s.Altitude = 19;
  g.Demand(300);
  EXPECT_EQ(g.s.GearValue, 2 * std::sqrt(10000.0) / 100 / 1);
}

TEST(ControlAugmentation, GroundRunAttitudeAndDampers) {
  HoldCase c;
  c.s.PitchHoldOn = 0;
  c.s.EngineType = "jet";
  c.s.AirSpeed = 20;
  c.s.LiftOffSpeed = 30;  // 0.9 x 30 > 20
  c.s.WheelBrakeSetting = 0.5;
  c.s.SupportAccel = 3;
  c.a.LaunchPitch = 0.175;
  c.a.TailplaneArm = 5;
  c.s.PitchAngle = 0.12;
  c.s.StickLateral = 0;
  c.s.RollRate = 0.2;
  c.s.RollInertia = 2000;
  c.s.RudderCommand = 0.04;
  c.s.Sideslip = 0.01;
  c.s.YawRate = 0.1;
  c.s.YawDamperGain = 0.5;
  ApplyControlAugmentation(c.s, c.a, c.shell);
  EXPECT_EQ(c.s.ElevatorInput, -1 * (0.12 + 0.05));
  EXPECT_EQ(c.s.AileronDemand, 30 * (-0.2 * 2000 / std::pow(200.0, 0.8) / 1) / std::pow(10.0, 3));
  EXPECT_EQ(c.s.RudderDemand, -0.04 + 0.5 * (3 * (1.25 * 0.04 + 0.01) + 0.3 * 0.1));

  // Stick against the roll: the damper term is taken off the stick's demand.
  c.s.StickLateral = 50;
  c.a.RollRatio = 1.5;
  ApplyControlAugmentation(c.s, c.a, c.shell);
  EXPECT_EQ(c.s.AileronDemand, -50 * 1.5 / 1.0 / 125 - 30 * (0.2 * 2000 / std::pow(200.0, 0.8) / 1) / 1000);
  // With the roll: no damper term.
  c.s.StickLateral = -50;
  ApplyControlAugmentation(c.s, c.a, c.shell);
  EXPECT_EQ(c.s.AileronDemand, 50 * 1.5 / 1.0 / 125);
}

TEST(ReactionControl, RocketInThinAirOnTheDirectPath) {
  FlightState s;
  shell::ShellState shell;
  s.EngineType = "roket";
  s.AirDensity = 0.012;
  s.DynamicPressure = 299;
  s.PitchInertia = 400;
  s.RollInertia = 100;
  s.ElevatorInput = 0.5;
  s.StickLateral = -125;
  s.CasYawMoment = 9;
  FormReactionControl(s, shell);
  EXPECT_EQ(s.ElevatorInput, 0.2);
  EXPECT_EQ(s.CasPitchMoment, 20 * 0.2 / 2 * 30000);
  EXPECT_EQ(s.CasRollMoment, 10 * (125 / 1.0 / 250) * 30000);
  EXPECT_EQ(s.CasYawMoment, 0);
  s.DynamicPressure = 300;
  FormReactionControl(s, shell);
  EXPECT_EQ(s.CasPitchMoment, 0);
  EXPECT_EQ(s.CasRollMoment, 0);
  s.DynamicPressure = 100;
  s.AirDensity = 0.01225;  // not thin
  FormReactionControl(s, shell);
  EXPECT_EQ(s.CasPitchMoment, 0);
}

TEST(AutomaticTrim, BalanceUsesTheSquaredSweepCosine) {
  FlightState s;
  shell::AircraftData a;
  a.TailplaneArea = 2;
  a.TailplaneArm = 4;
  s.CgX = 0.1;
  s.WingAcOffset = 0.05;
  s.WingLift = 10;
  s.WingMomentTerm = -300;
  s.DynamicPressure = 1000;
  s.TailLiftSlope = 0.9;
  s.SweepAreaFactor = 0.98;
  s.AngleOfAttack = 0.05;
  const double m = (0.05 - 0.1) * -10 - -300 / 1000.0;
  const double l = 4 - 0.1;
  const double k = 2 * 0.9 * (0.98 * 0.98) * 6.28;
  EXPECT_EQ(BalancingTailAngle(s, a), (m - l * k * 0.05) / (l * k));
}

TEST(PilotDemand, MouseSteeringByModeAndClass) {
  FlightState s;
  shell::AircraftData a;
  shell::Settings settings;
  shell::ShellState shell;
  a.TailplaneArm = 3;
  a.TailplaneIncidence = 1;
  a.PitchRatio = 2;
  a.RollRatio = 1.5;
  a.WingArea = 10;
  s.PixelsPerRadian = 573;
  s.ElevatorCommand = 0.01;
  s.StickPitch = 50;
  s.StickLateral = 20;
  s.RudderCommand = 0.02;
  const double e0 = 1 * (1 / 57.3 + 0.01);

  a.LaunchSpeed = 10;  // light, no hold: stick geared by PitchRatio
  FormPilotDemand(s, a, settings, shell);
  EXPECT_EQ(s.ElevatorDemand, e0 + 50 * 2.0 / 573);
  EXPECT_EQ(s.RudderDemand, 1.5 * 20 / 573.0 + 0.02);
  s.PitchHoldOn = 1;  // light in hold: the stick alone
  FormPilotDemand(s, a, settings, shell);
  EXPECT_EQ(s.ElevatorDemand, 50 / 573.0);
  a.LaunchSpeed = 10.5;  // powered in hold: stick plus trim, rudder untouched
  s.RudderDemand = 0.3;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_EQ(s.ElevatorDemand, 50 / 573.0 + e0);
  EXPECT_EQ(s.RudderDemand, 0.3);

  // Keyboard steering: no gearing, and the rudder whatever the fin.
  s.MouseSteering = 0;
  s.PitchHoldOn = 0;
  a.LaunchSpeed = 8;
  a.FinFixed = 1;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_EQ(s.ElevatorDemand, e0 + 50 / 573.0);
  EXPECT_EQ(s.RudderDemand, 20 / 573.0 + 0.02);
  a.TailplaneFixed = 1;
  FormPilotDemand(s, a, settings, shell);
  EXPECT_EQ(s.ElevatorDemand, e0);
}

TEST(LoopInput, MouseStickOfALightAircraft) {
  FlightState s;
  FlightRecord& r = Record();
  shell::AircraftData a;
  shell::Settings settings;
  shell::ShellState shell;
  FlightSeams seams;
  shell.ScreenScale = 1.25;
  a.LaunchSpeed = 6;
  a.LaunchPitch = 0.2;
  s.ViewCentreX = 400;
  s.ViewCentreY = 300;

  // Within 5 s of the launch-pitch mark on the deck: no pitch stick.
  s.SteeringPointerX = 400 - 9;
  s.SteeringPointerY = 300 - 6;
  s.SupportAccel = 1;
  ProcessLoopInput(s, r, a, settings, shell, seams);
  EXPECT_EQ(s.StickPitch, 0);
  const double u = 9 / (5 * 1.25) - 1;
  EXPECT_EQ(s.StickLateral, 1 * 1.25 * 1.25 * (u * u));

  // The pitch stick's travel: +-CInt(120 s), to -CInt(240 s) with weight shift.
  s.SteeringPointerY = 300 - 400;
  ProcessLoopInput(s, r, a, settings, shell, seams);
  EXPECT_EQ(s.StickPitch, 150);
  s.SteeringPointerY = 300 + 400;
  ProcessLoopInput(s, r, a, settings, shell, seams);
  EXPECT_EQ(s.StickPitch, -150);
  a.TailplaneFixed = 1;
  ProcessLoopInput(s, r, a, settings, shell, seams);
  EXPECT_EQ(s.StickPitch, -300);
}

TEST(LoopInput, LateralShapingRoundsAsWritten) {
  for (const double scale : {1.0, 1.25, 1.6}) {
    for (const double x : {9.0, 12.0, 13.0, 14.0}) {
      const double u = x * scale / (5 * scale) - 1;
      EXPECT_EQ(ShapeLateralStick(x * scale, scale), 1 * 1.25 * scale * (u * u)) << x << " at " << scale;
      EXPECT_EQ(ShapeLateralStick(-x * scale, scale), -1 * 1.25 * scale * (u * u)) << x << " at " << scale;
    }
  }
}

// A piston engine at a steady state, quantities chosen for hand working.
struct Piston {
  FlightState s;
  shell::AircraftData a;
  Piston() {
    s.EngineType = "pist";
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
  // Sea level, all stages 1: stage 1 is kept, full power at rated speed.
  EXPECT_EQ(p.s.StageFactor, 1);
  EXPECT_EQ(p.s.EngineSpeedRatio, 1);
  EXPECT_EQ(p.s.ChargeDensityRatio, 1 * 1.0 * 288.15 / 288.15);
  EXPECT_EQ(p.s.PowerAvailable, 3 * 1.0 * 1 - 2 * 1.0);
  const double va = 41.7;
  EXPECT_EQ(p.s.AxialInflowSpeed, va);
  EXPECT_EQ(p.s.PowerBalance, 1.0);  // no thrust yet
  const double n = 1 + 1.0 / 5 / 40;
  EXPECT_EQ(p.s.RotorSpeedRatio, n);
  const double slip = std::sqrt(0.1 * Sq(2.6 * 40 * n) + (1 - 0.1) * (va * va));
  EXPECT_EQ(p.s.SlipstreamSpeed, slip);
  EXPECT_EQ(p.s.Thrust, 2 * 1.9 * 1.225 * slip * (slip - va));
  // No propeller moments on a light aircraft.
  EXPECT_EQ(p.s.PFactorMoment, 0);
}

TEST(Propulsion, PropellerMomentsFromTheTwoHalfDiscs) {
  Piston p;
  p.a.LaunchSpeed = 60;
  p.a.TailHoldFlag = 1;
  p.s.AngleOfAttack = 0.15;
  p.s.PropellerAngle = 1.9;
  p.s.PistonTorqueFactor = 200;
  RunPistonEngine(p.s, p.a);
  const double n = p.s.RotorSpeedRatio;
  const double va = std::cos(0.0) * std::cos(0.15) * 41.7;
  const double d = 1.6;
  const auto v = [&](double pitch) { return std::sqrt(0.1 * Sq(pitch * 40 * n) + (1 - 0.1) * (va * va)); };
  const double v1 = v(1.9 + 3.1415926 * d * std::tan(0.15) - d * std::sin(0.15));
  const double v2 = v(1.9 - 3.1415926 * d * std::tan(0.15) + d * std::sin(0.15));
  const double t1 = 2 * 1.9 * 1.225 * v1 * (v1 - va);
  const double t2 = 2 * 1.9 * 1.225 * v2 * (v2 - va);
  EXPECT_GT(t1, t2);  // the descending blade bites harder
  EXPECT_EQ(p.s.PFactorMoment, (t1 - t2) * d / 2);
  EXPECT_EQ(p.s.PropellerTorqueMoment, -(p.s.PowerAvailable - p.s.PowerBalance) * 200 * p.s.ChargeDensityRatio);
  EXPECT_EQ(p.s.PropellerSideMoment, 0);
}

TEST(Propulsion, BoostStageAndChargeDensityAtHeight) {
  // One stage altitude of 3000 m: stages 0.8/1.8 h, h, h. At a pressure ratio
  // of 0.6 every candidate is held to full throttle, so the stage factor
  // decides: the supercharger stage is taken.
  Piston p;
  p.s.DensityRatio = 0.6;
  p.s.AirTemperature = 260;
  p.s.BoostFactor1 = std::exp(0.8 / 1.8 * 3000 / 7600);
  p.s.BoostFactor2 = p.s.BoostFactor3 = std::exp(3000 / 7600.0);
  RunPistonEngine(p.s, p.a);
  const double stage = std::pow(p.s.BoostFactor2, 0.87) / p.s.BoostFactor1;
  EXPECT_EQ(p.s.StageFactor, stage);
  EXPECT_EQ(p.s.EngineSpeedRatio, std::sqrt(p.s.BoostFactor1));
  EXPECT_EQ(p.s.ChargeDensityRatio, stage * 0.6 * 288.15 / 260);
  EXPECT_EQ(p.s.InletPressureRatio, p.s.ChargeDensityRatio);

  // Above the last stage a turbo stage holds the charge.
  Piston t = p;
  t.s.TurboBoostFactor = std::exp(6000 / 7600.0);
  RunPistonEngine(t.s, t.a);
  const double b1 = t.s.BoostFactor1, b3 = t.s.BoostFactor3;
  EXPECT_EQ(t.s.ChargeDensityRatio, 288.15 / 260 * std::min(t.s.TurboBoostFactor * 0.6 * b1 / b3, b1 / b3));

  // No pressure: the stage and power part keeps its last values.
  Piston v = p;
  v.s.DensityRatio = 0;
  v.s.StageFactor = 7;
  v.s.PowerAvailable = 0.25;
  RunPistonEngine(v.s, v.a);
  EXPECT_EQ(v.s.StageFactor, 7);
  EXPECT_EQ(v.s.PowerAvailable, 0.25);
}

TEST(Propulsion, GovernorKeepsThePitchInItsRange) {
  Piston p;
  p.s.ConstantSpeedProp = 1;
  p.s.MinPropellerPitch = 1;
  p.s.MaxPropellerPitch = 2.61;
  p.s.GovernorSetting = 0.9;
  RunPistonEngine(p.s, p.a);  // surplus power and overspeed: coarser, to the stop
  EXPECT_EQ(p.s.PropellerAngle, 2.61);
  p.s.RotorSpeedRatio = 0.1;
  p.s.Thrust = 1e6;
  for (int i = 0; i < 300; ++i) RunPistonEngine(p.s, p.a);
  EXPECT_GE(p.s.PropellerAngle, 1);
  EXPECT_LE(p.s.PropellerAngle, 2.61);
}

// A jet on the deck of the platform and in the air.
struct Jet {
  FlightState s;
  Jet() {
    s.EngineType = "jet";
    s.EngineRating = 50000;
    s.AfterburnerMax = 1.6;
    s.AfterburnerLevel = 1;
    s.NozzlePosition = 1 / 1.6;
    s.PropellerAngle = 0.5;
    s.SlipstreamSpeed = 600;
    s.FlowFactor = 80;
    s.DensityRatio = 1;
    s.AirTemperature = 288;
    s.AirDensity = 1.225;
    s.StepsPerSecond = 40;
  }
};

TEST(Propulsion, JetSpoolsOnlyWhenRunningAndAfterburnerScales) {
  Jet j;
  j.s.Distance = 0;
  j.s.CourseDistance = -5;
  j.s.Throttle = 0;
  UpdatePropulsion(j.s, {});
  EXPECT_EQ(j.s.PropellerAngle, 0.5);  // throttle closed on the deck: no spool
  EXPECT_EQ(j.s.Thrust, 0);
  j.s.CourseDistance = 1;
  j.s.Throttle = 1;
  UpdatePropulsion(j.s, {});
  EXPECT_EQ(j.s.PropellerAngle, 0.5);  // past the deck's start but not yet flying
  j.s.CourseDistance = -5;
  UpdatePropulsion(j.s, {});
  const double p = 0.5 + (0.5 * 1 - 0.25) / 40;
  EXPECT_EQ(j.s.PropellerAngle, p);
  // Dry with the nozzle at 1 / max: rating x P^2 x charge density.
  EXPECT_EQ(j.s.GrossThrust, p * p * j.s.ChargeDensityRatio * 50000 / 1.6 / (1 / 1.6));
  EXPECT_NEAR(j.s.GrossThrust, 50000 * p * p * j.s.ChargeDensityRatio, 1e-9);

  // At full afterburner the gross thrust is AfterburnerMax times the dry one.
  Jet a = j;
  a.s.AfterburnerLevel = 1.6;
  a.s.PropellerAngle = 0.5;
  a.s.Distance = 10;
  UpdatePropulsion(a.s, {});
  EXPECT_EQ(a.s.GrossThrust, p * p * a.s.ChargeDensityRatio * 50000 * 1.6);
}

TEST(Propulsion, JetRamDragRoundsAsWritten) {
  for (const int i : {5, 14, 63, 246}) {
    const double v = 100 + i * 0.77;
    Jet j;
    j.s.Distance = 10;
    j.s.Throttle = 1;
    j.s.AirSpeed = v;
    j.s.MachSquared = v * v / (288 * 88209 / 216.5);
    j.s.SlipstreamSpeed = 1000;
    UpdatePropulsion(j.s, {});
    const double p = j.s.PropellerAngle;
    ASSERT_GT(1000 * p, v);
    const double ram = 0.4 * (v * v) * j.s.ChargeDensityRatio / 1000 * 80;
    EXPECT_EQ(j.s.Thrust, j.s.GrossThrust - ram) << v;
  }
}

TEST(FuelBurn, JetFlowTakesTheCubeOfThePropellerValue) {
  for (const double p : {0.55, 0.65, 0.7, 0.9}) {
    FlightState s;
    s.EngineType = "jet";
    s.AfterburnerLevel = 1.2;
    s.RatedFuelFlow = 2;
    s.PropellerAngle = p;
    s.ChargeDensityRatio = 0.9;
    s.FuelQuantity = 100;
    s.StepsPerSecond = 40;
    BurnFuel(s);
    EXPECT_EQ(s.FuelFlow, std::pow(1.2, 3.3) * 2 * std::pow(p, 3) * 0.9) << p;
  }
}

TEST(BendShares, SharesOfTheWingDeflection) {
  FlightState s;
  shell::AircraftData a;
  a.WingSpan = 20;
  a.TipLength = 1;
  a.WingDeflection = 0.5;
  a.WingWeight = 40;
  s.WingRootOffset = 0.4;
  s.Mass = 100;
  UpdateBendShares(s, a);
  EXPECT_EQ(s.WingMassShare, 0.7 * 40 / 100);
  const double inner = std::pow((0.4 + (10 - 0.4 - 1) / 2) / 10, 1.7) * 0.5;
  EXPECT_EQ(s.InnerPanelBend, inner);
  EXPECT_EQ(s.OuterPanelBend, std::pow(9 / 10.0, 1.7) * 0.5 - inner);
  EXPECT_EQ(s.TipPanelBend, 0.5 - s.OuterPanelBend - inner);
}

}  // namespace
}  // namespace zarv::flight
