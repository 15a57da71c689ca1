// Dynamics stages against values worked from their formulas in the order
// the formulas are written: a product or quotient regrouped in the code
// changes the last bits of the state, and a flight drifts from them.
#include <gtest/gtest.h>

#include <cmath>

#include "flight/ground_contact.h"
#include "flight/mass_bending.h"
#include "flight/translation.h"

namespace zarv::flight {
namespace {

shell::AircraftData HangGlider() {
  shell::AircraftData a;
  a.PilotWeight = 58;
  a.WingWeight = 36;
  a.TailWeight = 2.5;
  a.RearFuselageWeight = 3.89;
  a.OverallLength = 4.98;
  a.TailplaneArm = 3.107;
  a.FinArm = 3.182;
  a.FinArea = 1.2;
  a.TailplaneArea = 2.16;
  a.WingSpan = 19.2;
  a.WingArea = 19.8;
  a.LaunchSpeed = 5.8;
  a.LaunchHeight = 10.7;
  return a;
}

TEST(AuditInertia, SquaresAreFormedBeforeTheirFactors) {
  const shell::AircraftData a = HangGlider();
  FlightState s;
  s.CgX = 0.05;
  s.ApparentMass = 2.3;
  s.DryMass = 96.5;
  s.BodyHeight = 0.72;
  s.PilotArm = 0.07;
  s.WingRootOffset = 1.5;
  s.InnerPanelSpanPos = 3.4;
  s.OuterPanelSpanPos = 7.1;
  s.InnerPanelSweepOffset = 0.12;
  s.OuterPanelSweepOffset = 0.31;
  s.DynamicPressure = 40;
  UpdateInertias(s, a);

  const double c = a.WingArea / a.WingSpan, x = s.CgX, l = a.OverallLength;
  const double wing = a.WingWeight * ((0.3 * c) * (0.3 * c) + 0.45 * (x * x) +
                                      0.4 * ((s.InnerPanelSweepOffset - x) * (s.InnerPanelSweepOffset - x)) +
                                      0.15 * ((s.OuterPanelSweepOffset - x) * (s.OuterPanelSweepOffset - x)));
  const double pitch = wing + s.ApparentMass * (l * l) / 4 +
                       a.PilotWeight * ((s.BodyHeight / 2) * (s.BodyHeight / 2) + (l * l) / 40 +
                                        (s.PilotArm - x) * (s.PilotArm - x)) +
                       a.RearFuselageWeight * (((a.TailplaneArm - x) / 2) * ((a.TailplaneArm - x) / 2)) +
                       a.TailWeight * ((a.TailplaneArm - x) * (a.TailplaneArm - x)) + s.DryMass * (l * l) / 32;
  EXPECT_EQ(s.PitchInertia, pitch);
  // Below 1500 Pa the yaw damper takes 1500.
  EXPECT_EQ(s.YawDamperGain, s.YawInertia / a.FinArea / a.FinArm / 1500 * 15);
}

// A soft boom keeps its acceleration limited to 1 rad/s^2: without a
// tailplane nothing recomputes it, and only the rate damping adds to it.
TEST(AuditBending, KeptBendAccelerationIsTheLimitedOne) {
  shell::AircraftData a = HangGlider();
  a.TailplaneArea = 0;
  a.FinArea = 0;
  a.RearFuselageStiffness = 100;  // 100 / 2.501 / 3.108 < 1000: soft
  FlightState s;
  s.StepsPerSecond = 40;
  s.FlightTime = 5;
  s.Mass = s.DryMass = s.InitialDryMass = 100.39;
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

// The thrust term of the free-flight velocity: PitchCos x Sin(Heading) x
// Thrust / M, in that order.
TEST(AuditTranslation, ThrustTermInItsWrittenOrder) {
  FlightState s;
  s.StepsPerSecond = 40;
  s.Mass = 590.2;
  s.ApparentMass = 0.1;
  s.Thrust = 300;
  s.PitchCos = 0.9931;
  s.Heading = 0.31;
  s.HeadingSin = std::sin(0.31);
  s.HeadingCos = std::cos(0.31);
  s.AirTrackAngle = 0.31;  // level, along the track: only the thrust acts
  s.DragArea = 0;
  TranslateInFreeFlight(s);
  const double m = s.Mass + s.ApparentMass;
  const double dt = 1.0 / 40;
  EXPECT_EQ(s.VelX, 0.9931 * std::sin(0.31) * 300 / m * dt);
  EXPECT_EQ(s.VelY, 0.9931 * std::cos(0.31) * 300 / m * dt);
}

// A powered aircraft rolling on its gear: the spring's depth is damped by
// VelZ x 20 / Sqr(DryMass).
TEST(AuditGround, GearDampingInItsWrittenOrder) {
  shell::AircraftData a;
  a.LaunchSpeed = 60;
  a.LaunchHeight = 300;
  a.ParasiteDragArea = 0.6;
  a.OverallLength = 7.5;
  a.GearPosition = 0.3;
  FlightState s;
  s.StepsPerSecond = 40;
  s.FlightTime = 10;
  s.EngineType = "pist";
  s.DryMass = s.Mass = 820;
  s.PitchInertia = s.RollInertia = 1500;
  s.GearHeight = 1.5;
  s.GearValue = s.GearExtension = 1;
  s.Altitude = 1.5 + 0.075 - 0.1;  // 0.1 m deep, level
  s.PitchCos = 1;
  s.GroundSpeed = 0.5;
  s.VelZ = 0.23;
  ApplyGroundContactLoads(s, a);
  const double depth = 1.5 * 1 - 0.3 * 0 - s.Altitude + 0.075;
  EXPECT_EQ(s.SupportAccel, (depth - 0.23 * 20 / std::sqrt(820.0)) * 100);
}

}  // namespace
}  // namespace zarv::flight
