// Attitude, air data, mass and bending, the launch run and ground and water
// contact, worked by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "flight/ground_contact.h"
#include "flight/launch_run.h"
#include "flight/mass_bending.h"
#include "flight/rotation_dynamics.h"
#include "flight/translation.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

class Attitude : public zarv::testing::ProgramTest {};
class AirData : public zarv::testing::ProgramTest {};
class MassAndBending : public zarv::testing::ProgramTest {};
class LaunchRun : public zarv::testing::ProgramTest {};
class GroundContact : public zarv::testing::ProgramTest {};

constexpr double kPiT = 3.1415926;

FlightState Flying() {
  FlightState s;
  s.Loop.StepsPerSecond = 40;
  s.Body.CourseDistance = 100;
  s.Loop.FlightTime = 5;
  return s;
}

aircraft::AircraftData Glider() {
  aircraft::AircraftData a;
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

TEST_F(Attitude, HeadingOfANoseVectorAlongAnAxis) {
  aircraft::AircraftData a;
  FlightState s = Flying();
  s.Body.NoseVector = {1, 0, 0};
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  EXPECT_EQ(s.Body.Heading, kPiT / 2);
  s.Body.NoseVector = {-1, 0, 0};
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  EXPECT_EQ(s.Body.Heading, 3 * kPiT / 2);
  s.Body.NoseVector = {0, 0, 1};  // straight up: no division by the horizontal part
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  EXPECT_EQ(s.Body.Heading, kPiT);
  EXPECT_NEAR(s.Body.PitchAngle, std::acos(-1) / 2, 1e-15);
}

// Beside the platform's edge the tail end rests on the deck: the nose goes
// down toward where the tail end touches it, by at most kTailHoldReach a
// step however far that is. A tail end over the deck's surface is left to
// its rates (the deck never pulls it down), and so is one more than a metre
// under it, beside the deck or out past its edge.
TEST_F(Attitude, TheTailRestsOnTheDeckOnlyWhereItCanReachIt) {
  aircraft::AircraftData a;
  a.TailHoldFlag = 1;
  a.LaunchHeight = 1000;
  a.LaunchHeading = 0;  // the deck runs north from the origin to its edge 10 m out
  // No pilot to run it: the deck ran it level at its launch height.
  FlightState s = Flying();
  s.Setup.TailEndArm = 4;
  s.Body.PosY = 11;
  s.Body.CourseDistance = 1;  // within TailEndArm - 1.5 of the edge; the tail end 7 m out
  const double y = std::sqrt(1 - 0.2 * 0.2);
  s.Body.NoseVector = {0, y, -0.2};
  s.Body.TopVector = {0, 0.2, y};
  s.Body.Altitude = 1000 - 1;  // a metre under the deck: the tail holds the nose at -0.25
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  EXPECT_NEAR(s.Body.PitchAngle, std::atan(-0.25 / y), 1e-12);

  // From level (the deck's surface at 1000 m, its sides 5 m either way):
  // 0.4 m under the deck the tail end holds the nose at -0.1; 0.6 m under
  // it, 1 m east, at -0.15; 0.8 m under it the nose would go to -0.2, further
  // than a step goes; 1.2 m and 3.5 m under it the tail end is under the
  // deck, 0.6 m and 3.5 m above it over it, 48 m under it far from it; 6 m
  // east of the line it is beside the deck.
  struct Case {
    double Altitude, East, NoseHeight;
  };
  for (const Case c : {Case{999.6, 0, -0.1}, Case{999.4, 1, -0.15}, Case{999.2, 0, -kTailHoldReach},
                       Case{998.8, 0, 0}, Case{996.5, 0, 0}, Case{1000.6, 0, 0}, Case{1003.5, 0, 0},
                       Case{952, 0, 0}, Case{999.6, 6, 0}}) {
    s.Body.NoseVector = {0, 1, 0};
    s.Body.TopVector = {0, 0, 1};
    s.Body.Altitude = c.Altitude;
    s.Body.PosX = c.East;
    IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
    EXPECT_NEAR(s.Body.PitchAngle, std::atan(c.NoseHeight), 1e-12) << c.Altitude << " m, " << c.East << " m east";
  }
  // Step after step the nose gets there: 0.8 m under the deck, -0.2.
  s.Body.PosX = 0;
  s.Body.NoseVector = {0, 1, 0};
  s.Body.TopVector = {0, 0, 1};
  s.Body.Altitude = 999.2;
  for (int i = 0; i < 40; ++i) {
    const double before = s.Body.NoseVector[2];
    IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
    ASSERT_LT(s.Body.NoseVector[2], before + 1e-15) << i;
  }
  EXPECT_NEAR(s.Body.NoseVector[2], -0.2, 1e-4);

  // Nosed down to -0.9 at 12.3 m out, 3.8 m under the deck's line, the tail
  // end would rest at -0.95, but it hangs 1.74 m back, out past the edge:
  // the nose is left alone.
  s.Body.PosY = 12.3;
  s.Body.CourseDistance = 2.3;
  s.Body.Altitude = 1000 - 3.8;
  const double steep = std::sqrt(1 - 0.9 * 0.9);
  s.Body.NoseVector = {0, steep, -0.9};
  s.Body.TopVector = {0, 0.9, steep};
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  EXPECT_NEAR(s.Body.NoseVector[2], -0.9, 1e-12);
}

// The rates move the top vector as if it were square to the nose; bent far
// toward it, the frame is squared again, and the bank, taken from the part
// square to the nose, is what it was.
TEST_F(Attitude, ATopVectorLeaningOnTheNoseIsSquaredAndKeepsTheBank) {
  aircraft::AircraftData a;
  FlightState s = Flying();
  s.Body.NoseVector = {0, 1, 0};
  const double len = std::sqrt(0.2 * 0.2 + 0.9 * 0.9 + 0.3 * 0.3);
  s.Body.TopVector = {0.2 / len, -0.9 / len, 0.3 / len};  // 0.9 / len of it along the nose
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  const auto& n = s.Body.NoseVector;
  const auto& t = s.Body.TopVector;
  EXPECT_NEAR(n[0] * t[0] + n[1] * t[1] + n[2] * t[2], 0, 1e-15);
  EXPECT_NEAR(std::hypot(t[0], t[1], t[2]), 1, 1e-15);
  EXPECT_NEAR(s.Body.BankAngle, kPiT / 2 - std::atan(0.3 / 0.2), 1e-12);
  EXPECT_EQ(s.Body.PitchAngle, 0);

  // Leaning a little, as the deck's tail hold leaves it, the frame is left alone.
  const double len2 = std::sqrt(0.2 * 0.2 + 0.4 * 0.4 + 0.9 * 0.9);
  const std::array<double, 3> leaning = {0.2 / len2, 0.4 / len2, 0.9 / len2};
  s.Body.TopVector = leaning;
  IntegrateAttitudeVectors(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(s.Body.TopVector[i], leaning[i], 1e-15);
}

TEST_F(Attitude, AngleIntegratorBringsAnglesIntoRange) {
  FlightState s = Flying();
  s.Body.PitchAngle = 3.2;
  s.Body.Heading = -0.1;
  IntegrateAttitudeAngles(s.Loop, s.Body, s.Memo);
  EXPECT_EQ(s.Body.PitchAngle, 3.2 - 6.2831852);
  EXPECT_NEAR(s.Body.Heading, -0.1 + 6.2831852, 1e-15);
}

// Rates imposed by a wing end in the water obey the same limits as the rest.
TEST_F(Attitude, TipContactRatesAreLimited) {
  FlightState s = Flying();
  s.Ground.TipContactYawRate = -50;
  s.Ground.TipContactRollRate = 50;
  s.Body.ViewRollSin = 0.5;
  s.Body.ViewRollCos = std::sqrt(0.75);
  s.Air.DriftAngle = 0.1;
  s.Body.PitchAccel = -1000;
  UpdateBodyRates(s.Loop, s.Air, s.Ground, s.Body);
  EXPECT_EQ(s.Body.PitchRate, -4);
  EXPECT_EQ(s.Body.YawRate, -13);
  EXPECT_EQ(s.Body.RollRate, -13);
  EXPECT_NEAR(s.Body.TurnRate, 1.5, 1e-15);
}

TEST_F(Attitude, CouplingAngleWithoutRoll) {
  aircraft::AircraftData a;
  a.OverallLength = 5;
  a.WingArea = 10;
  a.WingSpan = 10;
  FlightState s = Flying();
  s.Body.AirSpeed = 10;
  s.Body.YawRate = 2;
  ComputePitchYawAcceleration(s, a);
  EXPECT_EQ(s.Body.CouplingAngle, kPiT / 2);
  // Below 1 m/s of airspeed there is no pitch acceleration.
  s.Body.AirSpeed = 0.5;
  ComputePitchYawAcceleration(s, a);
  EXPECT_EQ(s.Body.PitchAccel, 0);
}

TEST_F(AirData, FloorsFlowFromBehindAndTheFifteenDigitText) {
  aircraft::AircraftData a;
  FlightState s = Flying();
  s.Body.VelX = 0.05;
  UpdateAirData(s.Setup, a, s.Body, s.Air, s.Memo);
  EXPECT_EQ(s.Body.AirSpeed, 0.1);

  // Flying backwards and sinking: the flow comes from behind and below.
  s.Body.VelX = 0;
  s.Body.VelY = -10;
  s.Body.VelZ = -3;
  s.Body.Heading = 0;
  UpdateAirData(s.Setup, a, s.Body, s.Air, s.Memo);
  EXPECT_GT(s.Air.AngleOfAttack, std::acos(-1) / 2);
  EXPECT_LT(s.Air.AngleOfAttack, std::acos(-1));
  EXPECT_EQ(s.Air.AirTrackAngle, kPiT);

  // Climbing vertically: the path angle approaches pi/2 but never reaches it.
  s.Body.VelY = 0;
  s.Body.VelZ = 50;
  UpdateAirData(s.Setup, a, s.Body, s.Air, s.Memo);
  EXPECT_LT(s.Air.AirPathAngle, std::acos(-1) / 2);
  EXPECT_GT(s.Air.AirPathAngle, 1.57);

  // The wing angle goes through Str's 15 significant digits.
  EXPECT_EQ(ThroughText(0.1 + 0.2), 0.3);
  EXPECT_EQ(ThroughText(-1.0 / 3), -0.333333333333333);
}

// Steep and banked with the nose off the air track, lift and side force are
// resolved along the heading: less their share along the airflow they do no
// work on the air, and drag alone slows the aircraft along it.
TEST_F(AirData, ASteepBankedDiveGainsNoSpeedFromLiftOrSideForce) {
  for (const double dragArea : {0.0, 0.5}) {
    for (const double offTrack : {0.4, -0.4}) {
      FlightState s = Flying();
      s.Masses.Mass = 100;
      s.Masses.ApparentMass = 0;
      s.Setup.Gravity = 0;
      s.Setup.EarthRadius = 1e30;  // no curvature term
      // 60 degrees down towards the north-east at 60 m/s in calm air.
      const double path = -1.0472, track = 0.8, speed = 60;
      s.Air.AirPathSin = std::sin(path);
      s.Air.AirPathCos = std::cos(path);
      s.Air.AirPathAngle = path;
      s.Air.AirTrackAngle = track;
      s.Air.AirDirX = std::cos(path) * std::sin(track);
      s.Air.AirDirY = std::cos(path) * std::cos(track);
      s.Air.TotalIncidence = 0.3;
      s.Body.VelX = speed * s.Air.AirDirX;
      s.Body.VelY = speed * s.Air.AirDirY;
      s.Body.VelZ = speed * s.Air.AirPathSin;
      s.Body.GroundSpeed = speed * s.Air.AirPathCos;
      s.Body.Heading = track + offTrack;
      s.Loads.LiftAccel = 20;
      s.Loads.SideAccel = 70;
      s.Tail.DragArea = dragArea;
      s.Air.DynamicPressure = 2000;
      const std::array<double, 3> before = {s.Body.VelX, s.Body.VelY, s.Body.VelZ};
      UpdateVerticalVelocity(s);
      TranslateInFreeFlight(s);
      EXPECT_EQ(s.Body.ForceHeading, s.Body.Heading);
      const std::array<double, 3> dv = {s.Body.VelX - before[0], s.Body.VelY - before[1], s.Body.VelZ - before[2]};
      const double along = dv[0] * s.Air.AirDirX + dv[1] * s.Air.AirDirY + dv[2] * s.Air.AirPathSin;
      const double dt = 1.0 / 40;
      EXPECT_NEAR(along, -dragArea * 2000 / 100 * dt, 1e-9) << dragArea << " " << offTrack;
      // Lift and side force still turn the path.
      EXPECT_GT(std::hypot(dv[0] - along * s.Air.AirDirX, dv[1] - along * s.Air.AirDirY, dv[2] - along * s.Air.AirPathSin),
                60 * dt);
    }
  }
}

// Forces are resolved along the heading once the air path is steeper than
// acos 0.7 (45.57 degrees) up or down, while the nose points into the flow
// (cos of the total incidence above 0); along the air track otherwise.
TEST_F(AirData, TheSteepRuleSwitchesAtFortyFiveAndAHalfDegrees) {
  const struct {
    double Path, Incidence;
    bool Steep;
  } cases[] = {{0.79, 0.3, false}, {0.80, 0.3, true}, {-0.79, 0.3, false}, {-0.80, 0.3, true},
               {1.2, 1.5, true},   {0.80, 1.6, false}, {-1.2, -1.6, false}};
  for (const auto& c : cases) {
    FlightState s = Flying();
    s.Masses.Mass = 100;
    s.Air.AirPathAngle = c.Path;
    s.Air.AirPathSin = std::sin(c.Path);
    s.Air.AirPathCos = std::cos(c.Path);
    s.Air.TotalIncidence = c.Incidence;
    s.Air.AirTrackAngle = 0.8;
    s.Body.Heading = 1.2;
    TranslateInFreeFlight(s);
    EXPECT_EQ(s.Body.ForceHeading, c.Steep ? 1.2 : 0.8) << c.Path << " " << c.Incidence;
  }
}

TEST_F(MassAndBending, InertiaSquaresTheScaledTermsAndTheYawDamperFloor) {
  // Only the wing's chord term and the pilot's height term: (0.3 c)^2 with
  // c = 1 and (H / 2)^2 with H = 2, not 0.3 c^2 or H^2 / 2.
  aircraft::AircraftData a;
  a.WingWeight = 10;
  a.WingArea = a.WingSpan = 10;
  a.PilotWeight = 1;
  a.FinArea = 1;
  a.FinArm = 4;
  FlightState s = Flying();
  s.Setup.BodyHeight = 2;
  s.Air.DynamicPressure = 1000;
  UpdateInertias(s.Setup, s.Air, a, s.Masses, s.Controls);
  EXPECT_NEAR(s.Masses.PitchInertia, 10 * 0.09 + 1, 1e-15);
  // Below 1500 Pa the yaw damper takes 1500; above, the pressure.
  const double floor = s.Controls.YawDamperGain;
  s.Air.DynamicPressure = 1500;
  UpdateInertias(s.Setup, s.Air, a, s.Masses, s.Controls);
  EXPECT_EQ(s.Controls.YawDamperGain, floor);
  s.Air.DynamicPressure = 3000;
  UpdateInertias(s.Setup, s.Air, a, s.Masses, s.Controls);
  EXPECT_EQ(s.Controls.YawDamperGain, floor / 2);
}

TEST_F(MassAndBending, StiffAndSoftRearFuselage) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Masses.Mass = s.Masses.DryMass = s.Masses.InitialDryMass = 107;
  s.Body.AirSpeed = 10;
  s.Air.DynamicPressure = 60;
  s.Air.AirDensity = 1.2;
  s.Air.NormalLoad = 9.8;
  // Soft: 100 / 3 / 4 < 1000. Driven hard, it stays within 0.3 rad and 1 rad/s.
  s.Tail.TailLiftArea = -50;
  for (int i = 0; i < 400; ++i) {
    BendAirframe(s, a);
    ASSERT_LE(std::fabs(s.Controls.RearFuselageBend), 0.3);
    ASSERT_LE(std::fabs(s.Controls.RearFuselageBendRate), 1);
  }
  EXPECT_EQ(std::fabs(s.Controls.RearFuselageBend), 0.3);

  // Stiff: the static deflection, rate 0, every step.
  a.RearFuselageStiffness = 20000;
  s.Tail.TailLiftArea = -0.5;
  BendAirframe(s, a);
  EXPECT_EQ(s.Controls.RearFuselageBendRate, 0);
  EXPECT_NEAR(s.Controls.RearFuselageBend, (0.5 * 60 + 9.8 * 3) / 20000, 1e-15);

  // At rest the wing bend decays.
  s.Loads.WingBend = 0.4;
  s.Body.AirSpeed = 0.1;
  BendAirframe(s, a);
  EXPECT_NEAR(s.Loads.WingBend, 0.3, 1e-15);
}

// The wing tip bends halfway from its last bend towards the load's
// (lift per kg of the dry mass at the start, less the wing's share of the
// support) / 9.8 x the 1 g deflection (0.5 m), within a quarter span (5 m).
TEST_F(MassAndBending, WingBendFollowsTheLoadHalfwayEachStep) {
  const struct {
    double LiftArea, Share, Support, Last, Bend;
  } cases[] = {
      {10, 0, 0, 0, 0.25},           // 10 x 98 / 100 / 9.8 x 0.5 = 0.5
      {10, 0, 0, 0.25, 0.375},
      {20, 0, 0, 0, 0.5},            // 2 g
      {0, 0.3, 9.8, 0, -0.075},      // resting on its gear: -0.3 x 0.5 / 2
      {10, 0.3, 9.8, 0, 0.175},      // (0.5 - 0.15) / 2
      {400, 0, 0, 0, 5},             // (20 + 0) / 2 = 10, held at 5
      {-400, 0, 0, 0, -5},
  };
  for (const auto& c : cases) {
    aircraft::AircraftData a = Glider();
    FlightState s = Flying();
    s.Masses.Mass = s.Masses.DryMass = 107;
    s.Masses.InitialDryMass = 100;
    s.Body.AirSpeed = 10;
    s.Air.DynamicPressure = 98;
    s.Tail.TotalLiftArea = c.LiftArea;
    s.Instruments.WingMassShare = c.Share;
    s.Air.SupportAccel = c.Support;
    s.Loads.WingBend = c.Last;
    BendAirframe(s, a);
    EXPECT_NEAR(s.Loads.WingBend, c.Bend, 1e-15) << c.LiftArea << " " << c.Support << " " << c.Last;
  }
}

// The roll and yaw take the fin's side area across the body; a boom soft
// sideways passes it on through its bend instead, and the side total with it.
TEST_F(MassAndBending, FinSideForceReachesTheBodyThroughASoftBoom) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Masses.Mass = s.Masses.DryMass = s.Masses.InitialDryMass = 107;
  s.Masses.RollInertia = 500;
  s.Body.AirSpeed = 10;
  s.Air.DynamicPressure = 60;
  s.Tail.FinSideTerm = 0.25;  // in the fin's own flow
  s.Tail.FinBodySideArea = 0.5;
  ComputeRollAcceleration(s, a);
  const double roll = s.Body.RollAccel;
  s.Tail.FinSideTerm = -3;
  ComputeRollAcceleration(s, a);
  EXPECT_EQ(s.Body.RollAccel, roll);
  s.Tail.FinBodySideArea = 1.5;
  ComputeRollAcceleration(s, a);
  EXPECT_NEAR(s.Body.RollAccel - roll, 1.0 / 500, 1e-15);  // sqrt(FinArea) = 1

  // Soft sideways: 30 x 100 / 3 / 4 < 1000.
  s.Controls.RearFuselageSideBend = 0.01;
  s.Tail.DihedralSideTerm = 0.2;
  s.Tail.BodySideTerm = 0.1;
  BendAirframe(s, a);
  const double spring = -s.Controls.RearFuselageSideBend * a.RearFuselageStiffness / 60;
  EXPECT_NEAR(s.Tail.FinBodySideArea, spring, 1e-15);
  EXPECT_NEAR(s.Tail.TotalSideArea, 0.2 + spring + 0.1, 1e-15);
  EXPECT_EQ(s.Tail.FinSideTerm, -3);

  // Stiff: the aerodynamic side area stands.
  a.RearFuselageStiffness = 20000;
  s.Tail.FinBodySideArea = 0.5;
  BendAirframe(s, a);
  EXPECT_EQ(s.Tail.FinBodySideArea, 0.5);
}

// A soft boom without a tailplane: nothing recomputes its acceleration, so
// the one kept is the limited one, and only the rate damping adds to it.
TEST_F(MassAndBending, KeptBendAccelerationIsTheLimitedOne) {
  aircraft::AircraftData a = Glider();
  a.TailplaneArea = 0;
  a.FinArea = 0;
  FlightState s = Flying();
  s.Masses.Mass = s.Masses.DryMass = s.Masses.InitialDryMass = 107;
  s.Body.AirSpeed = 8;
  s.Air.DynamicPressure = 40;
  s.Loads.RearFuselageBendAccel = 0.9;
  s.Controls.RearFuselageBendRate = -0.5;
  BendAirframe(s, a);
  // 0.9 - 5 x (-0.5) = 3.4, limited to 1; the rate takes 1 / 40.
  EXPECT_EQ(s.Loads.RearFuselageBendAccel, 1);
  EXPECT_EQ(s.Controls.RearFuselageBendRate, -0.5 + 1.0 / 40);
  EXPECT_EQ(s.Controls.RearFuselageBend, 0);  // no tailplane: no pitch bend
  BendAirframe(s, a);
  // 1 - 5 x (-0.475) = 3.375, limited to 1 again.
  EXPECT_EQ(s.Loads.RearFuselageBendAccel, 1);
  EXPECT_EQ(s.Controls.RearFuselageBendRate, -0.5 + 1.0 / 40 + 1.0 / 40);
}

TEST_F(LaunchRun, TimeMarkAndTheRunnersGait) {
  aircraft::AircraftData a = Glider();
  a.LaunchSpeed = 8;
  FlightState s = Flying();
  s.Body.CourseDistance = -5;
  s.Loop.FlightTime = 1.2374;
  MarkLaunchTime(s.Setup, s.Loop, s.Body, s.Pilot, s.Loads, a, s.Ground);
  EXPECT_EQ(s.Ground.LaunchTime, 1.25);
  // The platform is 10 m high, not above 10.2: no gait.
  FlightRecord& r = Record();
  s.Masses.Mass = s.Masses.DryMass = 107;
  s.Pilot.TakeoffRunAcceleration = 8 / 2.4;
  s.Body.GroundSpeed = 0.01;
  for (int i = 0; i < 10; ++i) RunOnPlatform(s, r, a);
  EXPECT_EQ(s.Body.PitchAngle, a.LaunchPitch);
  EXPECT_EQ(s.Body.BankAngle, a.LaunchBank);
}

// The deck holds an aircraft at its height only: one that comes back over a
// high deck's footprint far below it flies on.
TEST_F(LaunchRun, OnThePlatformOnlyAtTheDecksHeight) {
  aircraft::AircraftData a = Glider();
  a.LaunchHeight = 1000;
  FlightState s = Flying();
  s.Body.CourseDistance = -3;
  s.Body.GroundSpeed = 23.9;
  s.Loads.LiftAccel = 0;
  auto onPlatform = [&](double altitude) {
    s.Body.Altitude = altitude;
    return IsOnPlatform(s.Setup, s.Body, s.Ground, s.Loads, a);
  };
  EXPECT_TRUE(onPlatform(1000.18));
  EXPECT_TRUE(onPlatform(999.3));
  EXPECT_FALSE(onPlatform(996));  // 4 m under: it cannot touch the deck
  EXPECT_FALSE(onPlatform(952));
  EXPECT_FALSE(onPlatform(1001.5));
  EXPECT_FALSE(onPlatform(1006));
}

// Over the deck's footprint far under a high deck the aircraft flies free:
// its rates are not stopped nor its pitch set to the launch pitch, it is not
// carried as on a surface, and its attitude comes from its vectors.
TEST_F(LaunchRun, OverTheDeckFarFromItsHeightNothingIsHeld) {
  aircraft::AircraftData a = Glider();
  a.LaunchHeight = 1000;
  a.LaunchPitch = 0.1;
  FlightState s = Flying();
  s.Body.CourseDistance = -3;
  s.Body.GroundSpeed = 23.9;
  auto fly = [&](double altitude) {
    s.Body.Altitude = altitude;
    s.Body.RollRate = 0.3;
    s.Body.PitchRate = -0.2;
    s.Body.YawRate = 0.1;
    s.Body.PitchAngle = -0.9;
    s.Body.PitchSin = std::sin(-0.9);
    s.Body.PitchCos = std::cos(-0.9);
    s.Body.NoseVector = {0, s.Body.PitchCos, s.Body.PitchSin};
    s.Body.TopVector = {0, -s.Body.PitchSin, s.Body.PitchCos};
    s.Body.TopVectorRate = {7, 7, 7};
    HoldRatesOnPlatform(s.Setup, s.Engine, s.Loads, s.Pilot, s.Ground, a, s.Body);
    const bool surface = UsesSurfaceTranslation(s.Setup, s.Body, s.Ground, s.Air, a);
    PropagateAttitude(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
    return surface;
  };
  EXPECT_FALSE(fly(952));
  EXPECT_EQ(s.Body.PitchRate, -0.2);
  EXPECT_EQ(s.Body.RollRate, 0.3);
  EXPECT_NE(s.Body.TopVectorRate[0], 7);  // turned by its vectors
  EXPECT_LT(s.Body.PitchAngle, -0.9);

  EXPECT_TRUE(fly(1000.1));  // on the deck: held
  EXPECT_EQ(s.Body.PitchRate, 0);
  EXPECT_EQ(s.Body.RollRate, 0);
  EXPECT_EQ(s.Body.TopVectorRate[0], 7);
  EXPECT_EQ(s.Body.PitchAngle, 0.1);
}

TEST_F(MassAndBending, TheDeckPinsTheAltitudeOnlyAtItsHeight) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Body.Distance = s.Body.CourseDistance = -5;
  s.Body.VelZ = -4;
  auto altitude = [&](double deck, double before) {
    a.LaunchHeight = deck;
    s.Body.Altitude = before;
    UpdateAltitude(s.Setup, s.Loop, s.Ground, a, s.Body);
    return s.Body.Altitude;
  };
  EXPECT_EQ(altitude(10, 10), 10.3);  // on the sloping deck
  EXPECT_EQ(altitude(8, 7.5), 8.3);
  EXPECT_EQ(altitude(11, 12.2), 11.3);
  // Beyond the deck's reach of it (2 m over a deck of 8 m, 1.7 m under one of
  // 11 m) or from a 300 m deck, 9 m above the water under its footprint: falling on.
  EXPECT_EQ(altitude(8, 10.3), 10.3 - 0.1);
  EXPECT_EQ(altitude(11, 9.6), 9.6 - 0.1);
  EXPECT_EQ(altitude(300, 9), 9 - 0.1);
  EXPECT_EQ(altitude(20, 12), 12 - 0.1);
}

// A glider leaving its deck into a headwind about as strong as its airspeed
// crosses its line, or lifts off the deck, at a walking pace; it had not
// left its start below 1 m/s over the ground, and was run along its deck
// again when blown back over it. The 10 m deck runs north from the origin;
// the mark stood at 2.5 s and the pass is at 3 s.
TEST_F(LaunchRun, TheStartIsLeftOverTheLineOrOffTheDeckAtAnySpeed) {
  const aircraft::AircraftData a = Glider();
  struct Case {
    bool TakenOff, RunOnDeck;  // the take-off run begun; the deck ran it the pass before
    double CourseDistance, GroundSpeed, LiftAccel, OverDeck;
    bool Left;
    double LaunchTime;
  };
  const Case cases[] = {
      {true, true, -3, 5, 5, 0, false, 3},        // running down the deck
      {true, true, 0.1, 0.3, 5, 0, true, 2.5},    // over its line at 0.3 m/s
      {true, true, -3, 5, 20.3, 0, true, 2.5},    // lifted off by 2.07 g at 5 m/s
      {true, true, -3, 0.3, 20.3, 0, false, 3},   // the same lift at 0.3 m/s: the deck still runs it
      {true, true, -3, 5, 5, 1.5, true, 2.5},     // 1.5 m over its deck, out of its reach
      {false, true, -3, 0.6, 20.3, 0, false, 3},  // lifted by a gust before its take-off
      {true, false, -3, 30, 5, 50, false, 3},     // a start that no deck ran, short of its line
  };
  for (const Case& c : cases) {
    FlightState s = Flying();
    s.Ground.LaunchTime = 2.5;
    s.Loop.FlightTime = 3;
    s.Pilot.TakeoffRunAcceleration = c.TakenOff ? 2.5 : -50;
    s.Body.OnPlatform = c.RunOnDeck;
    s.Body.PosY = 10 + c.CourseDistance;
    s.Body.Distance = s.Body.CourseDistance = c.CourseDistance;
    s.Body.Altitude = 10 - 0.06 * c.CourseDistance + c.OverDeck;
    s.Body.GroundSpeed = c.GroundSpeed;
    s.Loads.LiftAccel = c.LiftAccel;
    MarkLaunchTime(s.Setup, s.Loop, s.Body, s.Pilot, s.Loads, a, s.Ground);
    EXPECT_EQ(s.Ground.StartLeft, c.Left) << c.CourseDistance << " m, " << c.GroundSpeed << " m/s, " << c.LiftAccel;
    EXPECT_EQ(s.Ground.LaunchTime, c.LaunchTime) << c.CourseDistance << " m, " << c.GroundSpeed << " m/s, " << c.LiftAccel;
  }
}

// The mark follows the aircraft while it is at the start, and stays once it
// has left at 1 m/s or more, whatever brings a start condition back later.
TEST_F(LaunchRun, TimeMarkStaysOnceTheAircraftIsUnderWay) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  auto mark = [&](double time, double courseDistance, double groundSpeed, double brake) {
    s.Loop.FlightTime = time;
    s.Body.CourseDistance = courseDistance;
    s.Body.GroundSpeed = groundSpeed;
    s.Pilot.WheelBrakeSetting = brake;
    MarkLaunchTime(s.Setup, s.Loop, s.Body, s.Pilot, s.Loads, a, s.Ground);
    return s.Ground.LaunchTime;
  };
  EXPECT_EQ(mark(2.5, -0.1, 5.8, 0), 2.5);  // the last step on the deck
  EXPECT_EQ(mark(2.55, 0.2, 5.8, 0), 2.5);  // over the water
  EXPECT_EQ(mark(15.2, 80, 0.4, 0.15), 2.5);  // braked in the air, stalled or slowed by the water
  EXPECT_EQ(mark(30, -3, 6, 0), 2.5);  // back over the deck

  // A start from the surface: released, then braked again before it rolls
  // at 1 m/s, it is still at the start; rolling faster, it has left it.
  a.LaunchHeight = 0;
  a.LaunchSpeed = 50;
  s = Flying();
  EXPECT_EQ(mark(1, 96, 0.001, 0.5), 1);
  EXPECT_EQ(mark(1.2, 96, 1.3, 0.5), 1);  // settling onto its gear, braked
  EXPECT_EQ(mark(1.3, 96, 0.02, 0.5), 1.3);
  EXPECT_EQ(mark(1.5, 96, 0.5, 0), 1.3);
  EXPECT_EQ(mark(1.6, 96, 0.6, 0.5), 1.6);
  EXPECT_EQ(mark(2, 96, 1.5, 0), 1.6);
  EXPECT_EQ(mark(40, 500, 0.5, 0.5), 1.6);  // landed and braked to a stop
}

TEST_F(GroundContact, WingEndsInTheWater) {
  aircraft::AircraftData a = Glider();
  a.WingHeight = 0.2;
  FlightState s = Flying();
  s.Body.Altitude = 0.5;
  s.Body.GroundSpeed = 10;
  s.Body.VelZ = -1;
  s.Body.BankAngle = -0.2;  // left wing down: its inner end dips first
  s.Body.ViewRollSin = std::sin(-0.2);
  s.Body.ViewRollCos = std::cos(-0.2);
  s.Setup.WingRootOffset = 1;
  CheckWingEnds(s.Setup, s.Body, s.Controls, a, s.Wing, s.Ground);
  ASSERT_EQ(s.Wing.Panels[1].PanelHeight, -0.1);
  EXPECT_EQ(s.Ground.TipContactYawRate, -10.0 / 20 * 4);
  EXPECT_EQ(s.Ground.TipContactRollRate, -1.0 / 20 * 4);
  // Wings level and low: both wings touch, the right one wins.
  s.Body.BankAngle = 0;
  s.Body.ViewRollSin = 0;
  s.Body.ViewRollCos = 1;
  s.Body.Altitude = 0.1;
  s.Controls.InnerDihedralLoaded = s.Controls.OuterDihedralLoaded = s.Controls.TipDihedralLoaded = -0.1;
  CheckWingEnds(s.Setup, s.Body, s.Controls, a, s.Wing, s.Ground);
  EXPECT_EQ(s.Ground.TipContactYawRate, 10.0 / 20 * 4);
}

// A powered aircraft on its gear, level.
FlightState OnTheGear(double depth, double groundSpeed) {
  FlightState s = Flying();
  s.Engine.EngineType = aircraft::EngineKind::Jet;
  s.Controls.GearValue = s.Ground.GearExtension = 1;
  s.Setup.GearHeight = 1;
  s.Masses.RollInertia = s.Masses.PitchInertia = 3000;
  s.Masses.Mass = s.Masses.DryMass = 900;
  s.Body.PitchCos = 1;
  s.Body.Altitude = 1.0 + 0.075 - depth;
  s.Body.GroundSpeed = groundSpeed;
  return s;
}

TEST_F(GroundContact, GearSpringDampingAndTooDeep) {
  aircraft::AircraftData a;
  a.LaunchSpeed = 60;
  a.LaunchHeight = 300;
  a.ParasiteDragArea = 1;
  a.OverallLength = 10;
  // 0.1 m deep and sinking at 0.3 m/s: the depth less VelZ x 20 / sqrt(mass).
  FlightState s = OnTheGear(0.1, 0.5);
  s.Body.VelZ = 0.3;
  ApplyGroundContactLoads(s, a);
  EXPECT_NEAR(s.Air.SupportAccel, (0.1 - 0.3 * 20 / 30) * 100, 1e-12);

  // 0.6 m deep at 6 m/s: no support, but a rolling moment and the brake.
  FlightState d = OnTheGear(0.6, 6);
  d.Body.ViewRollSin = 0.1;
  d.Ground.RunFactorLagged = d.Pilot.WheelBrakeSetting = 0.5;
  ApplyGroundContactLoads(d, a);
  EXPECT_EQ(d.Air.SupportAccel, 0);
  EXPECT_LT(d.Body.RollAccel, 0);
  EXPECT_NEAR(d.Body.PitchAccel, -900 * 0.5 * 9.8 * d.Body.Altitude / 3000, 1e-12);
}

TEST_F(GroundContact, WaterDragNeverDrivesBackwards) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Masses.Mass = 107;
  s.Body.GroundSpeed = 2;
  s.Body.LongAccel = -1000;
  s.Body.TrackAngle = 1;
  TranslateOnSurface(s, a);
  EXPECT_EQ(s.Body.GroundSpeed, 0);
  EXPECT_EQ(s.Body.VelX, 0);
}

}  // namespace
}  // namespace zarv::flight
