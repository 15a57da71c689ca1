// Attitude, air data, mass and bending, the launch run and ground and water
// contact, worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "flight/ground_contact.h"
#include "flight/launch_run.h"
#include "flight/mass_bending.h"
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

TEST(Attitude, HeadingOfANoseVectorAlongAnAxis) {
  aircraft::AircraftData a;
  FlightState s = Flying();
  s.NoseVector = {1, 0, 0};
  IntegrateAttitudeVectors(s, a);
  EXPECT_EQ(s.Heading, kPiT / 2);
  s.NoseVector = {-1, 0, 0};
  IntegrateAttitudeVectors(s, a);
  EXPECT_EQ(s.Heading, 3 * kPiT / 2);
  s.NoseVector = {0, 0, 1};  // straight up: no division by the horizontal part
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
}

// Rates imposed by a wing end in the water obey the same limits as the rest.
TEST(Attitude, TipContactRatesAreLimited) {
  FlightState s = Flying();
  s.TipContactYawRate = -50;
  s.TipContactRollRate = 50;
  s.ViewRollSin = 0.5;
  s.ViewRollCos = std::sqrt(0.75);
  s.DriftAngle = 0.1;
  s.PitchAccel = -1000;
  UpdateBodyRates(s);
  EXPECT_EQ(s.PitchRate, -4);
  EXPECT_EQ(s.YawRate, -13);
  EXPECT_EQ(s.RollRate, -13);
  EXPECT_NEAR(s.TurnRate, 1.5, 1e-15);
}

TEST(Attitude, CouplingAngleWithoutRoll) {
  aircraft::AircraftData a;
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

TEST(AirData, FloorsFlowFromBehindAndTheFifteenDigitText) {
  aircraft::AircraftData a;
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
  EXPECT_EQ(s.AirTrackAngle, kPiT);

  // Climbing vertically: the path angle approaches pi/2 but never reaches it.
  s.VelY = 0;
  s.VelZ = 50;
  UpdateAirData(s, a);
  EXPECT_LT(s.AirPathAngle, std::acos(-1) / 2);
  EXPECT_GT(s.AirPathAngle, 1.57);

  // The wing angle goes through Str's 15 significant digits.
  EXPECT_EQ(ThroughText(0.1 + 0.2), 0.3);
  EXPECT_EQ(ThroughText(-1.0 / 3), -0.333333333333333);
}

TEST(MassAndBending, InertiaSquaresTheScaledTermsAndTheYawDamperFloor) {
  // Only the wing's chord term and the pilot's height term: (0.3 c)^2 with
  // c = 1 and (H / 2)^2 with H = 2, not 0.3 c^2 or H^2 / 2.
  aircraft::AircraftData a;
  a.WingWeight = 10;
  a.WingArea = a.WingSpan = 10;
  a.PilotWeight = 1;
  a.FinArea = 1;
  a.FinArm = 4;
  FlightState s = Flying();
  s.BodyHeight = 2;
  s.DynamicPressure = 1000;
  UpdateInertias(s, a);
  EXPECT_NEAR(s.PitchInertia, 10 * 0.09 + 1, 1e-15);
  // Below 1500 Pa the yaw damper takes 1500; above, the pressure.
  const double floor = s.YawDamperGain;
  s.DynamicPressure = 1500;
  UpdateInertias(s, a);
  EXPECT_EQ(s.YawDamperGain, floor);
  s.DynamicPressure = 3000;
  UpdateInertias(s, a);
  EXPECT_EQ(s.YawDamperGain, floor / 2);
}

TEST(MassAndBending, StiffAndSoftRearFuselage) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = s.DryMass = s.InitialDryMass = 107;
  s.AirSpeed = 10;
  s.DynamicPressure = 60;
  s.AirDensity = 1.2;
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
  EXPECT_NEAR(s.RearFuselageBend, (0.5 * 60 + 9.8 * 3) / 20000, 1e-15);

  // At rest the wing bend decays.
  s.WingBend = 0.4;
  s.AirSpeed = 0.1;
  BendAirframe(s, a);
  EXPECT_NEAR(s.WingBend, 0.3, 1e-15);
}

// A soft boom without a tailplane: nothing recomputes its acceleration, so
// the one kept is the limited one, and only the rate damping adds to it.
TEST(MassAndBending, KeptBendAccelerationIsTheLimitedOne) {
  aircraft::AircraftData a = Glider();
  a.TailplaneArea = 0;
  a.FinArea = 0;
  FlightState s = Flying();
  s.Mass = s.DryMass = s.InitialDryMass = 107;
  s.AirSpeed = 8;
  s.DynamicPressure = 40;
  s.RearFuselageBendAccel = 0.9;
  s.RearFuselageBendRate = -0.5;
  BendAirframe(s, a);
  // 0.9 - 5 x (-0.5) = 3.4, limited to 1; the rate takes 1 / 40.
  EXPECT_EQ(s.RearFuselageBendAccel, 1);
  EXPECT_EQ(s.RearFuselageBendRate, -0.5 + 1.0 / 40);
  EXPECT_EQ(s.RearFuselageBend, 0);  // no tailplane: no pitch bend
  BendAirframe(s, a);
  // 1 - 5 x (-0.475) = 3.375, limited to 1 again.
  EXPECT_EQ(s.RearFuselageBendAccel, 1);
  EXPECT_EQ(s.RearFuselageBendRate, -0.5 + 1.0 / 40 + 1.0 / 40);
}

TEST(LaunchRun, TimeMarkAndTheRunnersGait) {
  aircraft::AircraftData a = Glider();
  a.LaunchSpeed = 8;
  FlightState s = Flying();
  s.CourseDistance = -5;
  s.FlightTime = 1.2374;
  MarkLaunchTime(s, a);
  EXPECT_EQ(s.LaunchTime, 1.25);
  // The platform is 10 m high, not above 10.2: no gait.
  FlightRecord& r = Record();
  s.Mass = s.DryMass = 107;
  s.TakeoffRunAcceleration = 8 / 2.4;
  s.GroundSpeed = 0.01;
  for (int i = 0; i < 10; ++i) RunOnPlatform(s, r, a);
  EXPECT_EQ(s.PitchAngle, a.LaunchPitch);
  EXPECT_EQ(s.BankAngle, a.LaunchBank);
}

TEST(GroundContact, WingEndsInTheWater) {
  aircraft::AircraftData a = Glider();
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

// A powered aircraft on its gear, level.
FlightState OnTheGear(double depth, double groundSpeed) {
  FlightState s = Flying();
  s.EngineType = aircraft::EngineKind::Jet;
  s.GearValue = s.GearExtension = 1;
  s.GearHeight = 1;
  s.RollInertia = s.PitchInertia = 3000;
  s.Mass = s.DryMass = 900;
  s.PitchCos = 1;
  s.Altitude = 1.0 + 0.075 - depth;
  s.GroundSpeed = groundSpeed;
  return s;
}

TEST(GroundContact, GearSpringDampingAndTooDeep) {
  aircraft::AircraftData a;
  a.LaunchSpeed = 60;
  a.LaunchHeight = 300;
  a.ParasiteDragArea = 1;
  a.OverallLength = 10;
  // 0.1 m deep and sinking at 0.3 m/s: the depth less VelZ x 20 / sqrt(mass).
  FlightState s = OnTheGear(0.1, 0.5);
  s.VelZ = 0.3;
  ApplyGroundContactLoads(s, a);
  EXPECT_NEAR(s.SupportAccel, (0.1 - 0.3 * 20 / 30) * 100, 1e-12);

  // 0.6 m deep at 6 m/s: no support, but a rolling moment and the brake.
  FlightState d = OnTheGear(0.6, 6);
  d.ViewRollSin = 0.1;
  d.RunFactorLagged = d.WheelBrakeSetting = 0.5;
  ApplyGroundContactLoads(d, a);
  EXPECT_EQ(d.SupportAccel, 0);
  EXPECT_LT(d.RollAccel, 0);
  EXPECT_NEAR(d.PitchAccel, -900 * 0.5 * 9.8 * d.Altitude / 3000, 1e-12);
}

TEST(GroundContact, WaterDragNeverDrivesBackwards) {
  aircraft::AircraftData a = Glider();
  FlightState s = Flying();
  s.Mass = 107;
  s.GroundSpeed = 2;
  s.LongAccel = -1000;
  s.TrackAngle = 1;
  TranslateOnSurface(s, a);
  EXPECT_EQ(s.GroundSpeed, 0);
  EXPECT_EQ(s.VelX, 0);
}

}  // namespace
}  // namespace zarv::flight
