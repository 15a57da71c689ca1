#include <gtest/gtest.h>

#include <cmath>

#include "flight/coefficients.h"
#include "flight/rotation_dynamics.h"
#include "flight/tail.h"
#include "flight/wind.h"
#include "flight/wing.h"

namespace zarv::flight {
namespace {

// A plain wing for hand working: 10 m span, 10 m^2, no sweep, dihedral or
// stall, unit lift slopes and factors, 2 % and 4 % washout, far from the
// updraft column.
struct PlainWing {
  aircraft::AircraftData a;
  FlightState s;
  model::AirframeOutline o;
  PlainWing(double alpha = 0.1) {
    a.WingSpan = 10;
    a.WingArea = 10;
    a.TipWashout = 0.04;
    a.LaunchSpeed = 6;
    a.LaunchHeight = 10;
    a.PilotWeight = 60;
    a.TailplaneArea = 1;
    a.TailplaneArm = 4;
    a.FinArea = 0.8;
    a.FinArm = 4;
    a.ParasiteDragArea = 0.05;
    s.Setup.GeometricAspectRatio = 10;
    s.Aero.EffectiveAspectRatio = 10;
    s.Setup.SweepAreaFactor = 1;
    s.Setup.CentrePanelArea = 1;
    s.Setup.InnerPanelArea = 2;
    s.Setup.OuterPanelArea = 1.5;
    s.Setup.TipPanelArea = 1;
    s.Setup.InnerPanelSpanPos = 1.5;
    s.Setup.OuterPanelSpanPos = 3;
    s.Setup.TipPanelSpanPos = 4.5;
    s.Setup.HalfWashout = 0.02;
    for (int i = 1; i <= 6; ++i) s.Wing.Panels[i].PanelAspectRatio = 10;
    s.Airfoils.WingProfileDrag = 0.01;
    s.Aero.StallCoefficient = 0;
    s.Aero.StallExponent = 1;
    s.Aero.TailStallCoefficient = 0;
    s.Aero.TailStallExponent = 1;
    s.Airfoils.TailProfileDrag = 0.01;
    s.Airfoils.TailDragRiseLimit = 500;
    s.Aero.TailReynoldsFactor = 1;
    s.Masses.DryMass = 90;
    s.Masses.Mass = 90;
    s.Body.PosX = 5000;  // outside the updraft column
    s.Air.AirDensity = 1.2;
    s.Body.AirSpeed = 10;
    s.Loop.FlightTime = 5;
    s.Body.CourseDistance = 100;
    s.Body.Altitude = 10;
    SetFlow(alpha, 0);
  }
  void SetFlow(double alpha, double beta) {
    s.Air.AngleOfAttack = alpha;
    s.Air.Sideslip = beta;
    s.Air.TotalIncidence = std::hypot(alpha, beta);
    s.Air.BodyAirX = std::cos(alpha) * std::cos(beta);
    s.Air.BodyAirY = -std::sin(beta);
    s.Air.BodyAirZ = -std::sin(alpha) * std::cos(beta);
    s.Air.AoaText = s.Setup.WingIncidenceRad + alpha;  // as the air-data step keeps it
  }
  void Wing() { UpdateWingAerodynamics(s, a); }
  void Tail() { UpdateTailAndTotals(s, a, o); }
};

TEST(WingStrips, LevelFlightWorkedByHand) {
  PlainWing w;
  w.Wing();
  const FlightState& s = w.s;
  EXPECT_DOUBLE_EQ(s.Air.DynamicPressure, 60);
  EXPECT_DOUBLE_EQ(s.Wing.Panels[1].Angle, 0.1);
  EXPECT_DOUBLE_EQ(s.Wing.Panels[3].Angle, 0.08);
  EXPECT_DOUBLE_EQ(s.Wing.Panels[6].Angle, 0.06);
  // 3.14 sin(2 x 0.06) for the tip; the centre's lift area 3.14 sin 0.2.
  EXPECT_NEAR(s.Wing.Panels[6].RawLift, 0.37589633088720686, 1e-14);
  EXPECT_NEAR(s.Wing.CentreLiftArea, 0.6238216986964923, 1e-14);
  EXPECT_NEAR(s.Wing.CentreDrag, 0.02351631694877882, 1e-14);
  EXPECT_NEAR(s.Wing.WingLift, 5.371678661563072, 1e-12);
  EXPECT_NEAR(s.Wing.WingDrag, 0.20345844425288945, 1e-12);
  EXPECT_DOUBLE_EQ(s.Wing.StallRatio, 1.0);
  // Symmetric flight: left and right panels alike.
  for (int i = 1; i <= 5; i += 2) {
    EXPECT_DOUBLE_EQ(s.Wing.Panels[i].PanelLiftArea, s.Wing.Panels[i + 1].PanelLiftArea);
    EXPECT_DOUBLE_EQ(s.Wing.Panels[i].PanelDragArea, s.Wing.Panels[i + 1].PanelDragArea);
  }
}

TEST(WingStrips, MachLiftFactorScalesTheLiftButNotTheInducedDrag) {
  PlainWing plain, fast;
  fast.s.Aero.LiftSlopeMachFactor = 0.8;
  plain.Wing();
  fast.Wing();
  for (int i = 0; i <= kWingPanelCount; ++i) {
    const WingPanel& p = plain.s.Wing.Panels[i];
    const WingPanel& f = fast.s.Wing.Panels[i];
    EXPECT_NEAR(f.RawLift, 0.8 * p.RawLift, 1e-14) << i;
    EXPECT_NEAR(f.StalledLift, 0.8 * p.StalledLift, 1e-14) << i;
    EXPECT_NEAR(f.IncompressibleLift, p.IncompressibleLift, 1e-14) << i;
    EXPECT_NEAR(f.Drag, p.Drag, 1e-14) << i;
  }
  EXPECT_NEAR(fast.s.Wing.CentreLiftArea, 0.8 * plain.s.Wing.CentreLiftArea, 1e-14);
  EXPECT_LT(fast.s.Wing.WingLift, plain.s.Wing.WingLift);
}

TEST(WingStrips, RollRateSlowsTheRisingWing) {
  PlainWing w;
  w.s.Body.RollRate = 0.2;  // right wing going down
  w.Wing();
  const FlightState& s = w.s;
  for (int k = 0; k < 3; ++k) {
    const WingPanel& left = s.Wing.Panels[2 * k + 1];
    const WingPanel& right = s.Wing.Panels[2 * k + 2];
    EXPECT_LT(left.PanelAirspeed, right.PanelAirspeed);
    EXPECT_LT(left.Angle, right.Angle);
    EXPECT_LT(left.StalledLift, right.StalledLift);
  }
  // V -/+ p y: 10 -/+ 0.2 x 4.5 at the tips.
  EXPECT_DOUBLE_EQ(s.Wing.Panels[5].PanelAirspeed, 9.1);
  EXPECT_DOUBLE_EQ(s.Wing.Panels[6].PanelAirspeed, 10.9);
}

// A positive aileron angle (stick to the right) lifts the left outer panel
// and lowers the right one by the same amount: 0.3 x angle added to and
// taken from the lift term, 6.28 x 0.3 x 0.1 on each side here. The roll it
// gives is to the right (right wing down), about r q area dCL / inertia.
TEST(WingStrips, AileronLiftsTheLeftOuterPanelAndRollsRight) {
  PlainWing level, rolled;
  rolled.s.Controls.AileronAngle = 0.1;
  level.Wing();
  rolled.Wing();
  const auto& p = rolled.s.Wing.Panels;
  const auto& l = level.s.Wing.Panels;
  EXPECT_DOUBLE_EQ(rolled.s.Wing.AileronLift, 0.03);
  EXPECT_NEAR(p[3].RawLift - l[3].RawLift, 6.28 * 0.03, 1e-14);
  EXPECT_NEAR(p[4].RawLift - l[4].RawLift, -6.28 * 0.03, 1e-14);
  for (int i : {1, 2, 5, 6}) EXPECT_DOUBLE_EQ(p[i].RawLift, l[i].RawLift) << i;
  EXPECT_NEAR(rolled.s.Wing.WingLift, level.s.Wing.WingLift, 1e-12);

  rolled.s.Masses.RollInertia = 100;
  ComputeRollAcceleration(rolled.s, rolled.a);
  const double byHand = 3 * 60 * std::cos(0.1) * 1.5 * (2 * 6.28 * 0.03) / 100;  // 1.01
  EXPECT_GT(rolled.s.Body.RollAccel, 0);
  EXPECT_NEAR(rolled.s.Body.RollAccel, byHand, 0.02 * byHand);
}

// Flaps add their angle to the lift term of the inner and outer panels on
// both sides, not to the tips, and pitch the wing nose down by flap / 5.
TEST(WingStrips, FlapsLiftBothWingsAlikeAndPitchTheNoseDown) {
  PlainWing clean, flapped;
  flapped.s.Controls.FlapAngle = 0.1;
  for (PlainWing* w : {&clean, &flapped}) {
    w->Wing();
    w->Tail();
  }
  const auto& p = flapped.s.Wing.Panels;
  const auto& c = clean.s.Wing.Panels;
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(p[i].RawLift - c[i].RawLift, 6.28 * 0.1, 1e-14) << i;
  for (int i : {5, 6}) EXPECT_DOUBLE_EQ(p[i].RawLift, c[i].RawLift) << i;
  EXPECT_DOUBLE_EQ(p[3].RawLift, p[4].RawLift);
  // Lift areas: 2 x (2 + 1.5) m^2 x 0.628.
  EXPECT_NEAR(flapped.s.Wing.WingLift - clean.s.Wing.WingLift, 7 * 0.628, 1e-12);
  EXPECT_NEAR(flapped.s.Tail.WingMomentTerm - clean.s.Tail.WingMomentTerm, 0.1 / 5 * 10 * 60, 1e-9);
}

// The profile drag rises with the square of the angle away from the
// airfoil's minimum-drag angle (0.08 rad here, the outer panels' angle):
// 2 x (angle - 0.08)^2 x area over a wing without the rise, every other
// factor 1: centre and inner 0.1 (areas 1 and 2), outer 0.08, tip 0.06.
TEST(WingStrips, ProfileDragIsLeastAtTheMinimumDragAngle) {
  PlainWing plain, rising;
  rising.s.Airfoils.WingDragRise = 2;
  rising.s.Airfoils.WingMinDragAngle = 0.08;
  plain.Wing();
  rising.Wing();
  const double added[] = {0.0008, 0.0016, 0.0016, 0, 0, 0.0008, 0.0008};  // pieces 0..6
  for (int i = 0; i <= kWingPanelCount; ++i) {
    EXPECT_NEAR(rising.s.Wing.Panels[i].Drag - plain.s.Wing.Panels[i].Drag, added[i], 1e-15) << i;
  }
  EXPECT_NEAR(rising.s.Wing.CentreDrag - plain.s.Wing.CentreDrag, 0.0008, 1e-15);
}

TEST(WingStrips, FlowFromBehindAndDegenerateAir) {
  PlainWing w;
  w.SetFlow(3.0, 0);  // nearly backwards: BodyAirX < 0
  w.Wing();
  const double a = -std::atan(-std::sin(3.0) / std::cos(3.0));
  EXPECT_NEAR(w.s.Wing.Panels[1].Angle, a < 0 ? a + 3.1415926 : a - 3.1415926, 1e-12);

  // No air at all: the reference pressure stays positive, the totals finite.
  PlainWing still;
  still.s.Air.AirDensity = 0;
  still.Wing();
  EXPECT_GT(still.s.Air.DynamicPressure, 0);
  EXPECT_TRUE(std::isfinite(still.s.Wing.WingLift));
  EXPECT_TRUE(std::isfinite(still.s.Wing.WingDrag));

  // A panel standing still in the updraft: no division by its airspeed.
  PlainWing column;
  column.s.Body.PosX = -113;
  column.s.Body.PosY = 625;
  column.s.Body.YawRate = -10.0 / (1.5 * std::cos(1.0));  // left inner panel at 0 m/s
  column.Wing();
  EXPECT_NEAR(column.s.Wing.Panels[1].PanelAirspeed, 0, 1e-14);
  EXPECT_TRUE(std::isfinite(column.s.Wing.Panels[1].Angle));
  EXPECT_TRUE(std::isfinite(column.s.Wing.WingLift));
  EXPECT_GT(column.s.Wing.Panels[1].PanelPressure, 0);  // the updraft's own pressure
}

TEST(WingStrips, RootAngleAndDragLimitsFollowTheirSteps) {
  // The root angle is the air-data step's incidence + angle of attack, even
  // when the angle has moved since.
  PlainWing w;
  w.s.Air.AoaText = 0.12;
  w.Wing();
  EXPECT_DOUBLE_EQ(w.s.Wing.WingRootAngle, 0.12);
  EXPECT_NEAR(w.s.Wing.CentreLiftArea, 1 * 3.14 * std::sin(0.24), 1e-15);

  // A roll rate of -V/y puts the left outer panel at 45 deg less the washout
  // while the aircraft flies level. With 0.3 of flap its lift tilts the drag
  // far forward: the drag is limited to -2 x area.
  PlainWing r(0);
  r.s.Body.RollRate = -10.0 / 3;
  r.s.Controls.FlapAngle = 0.3;
  r.Wing();
  EXPECT_NEAR(r.s.Wing.Panels[3].Angle, std::atan(1.0) - 0.02, 1e-14);
  EXPECT_LT(r.s.Wing.Panels[3].PanelDragCoeff, -3);
  EXPECT_DOUBLE_EQ(r.s.Wing.Panels[3].PanelDragArea, -3);
}

TEST(Tail, AngleReductionAndDragFarAboveTheAir) {
  PlainWing w(0);
  w.a.LaunchSpeed = 20;
  w.s.Controls.ElevatorAngle = 3 * 3.1415926 / 2;
  w.Wing();
  w.Tail();
  EXPECT_NEAR(w.s.Tail.TailAngle, -3.1415926 / 2, 1e-12);
  EXPECT_DOUBLE_EQ(w.s.Tail.WakeFactor, 0);  // powered: never a wake

  // One third of the wing area as drag far above the air.
  PlainWing high;
  high.s.Body.Altitude = 130001;
  high.Wing();
  high.Tail();
  EXPECT_DOUBLE_EQ(high.s.Tail.DragArea, 10.0 / 3);
}

// The tailplane's profile drag rises as 2 x (angle - its minimum-drag
// angle)^2, the table's value taken as it stands; the tailplane flies at
// 0.1 rad here (1 m^2, factors 1), against a tailplane without the rise.
TEST(Tail, ProfileDragIsLeastAtTheMinimumDragAngle) {
  const struct {
    double MinAngle, Added;
  } cases[] = {{0, 0.02}, {0.1, 0}, {0.15, 0.005}};
  PlainWing plain;
  plain.s.Airfoils.TailDragRiseLimit = 0;
  plain.Wing();
  plain.Tail();
  ASSERT_NEAR(plain.s.Tail.TailAngle, 0.1, 1e-15);
  for (const auto& c : cases) {
    PlainWing w;
    w.s.Airfoils.TailDragRiseLimit = 0;
    w.s.Airfoils.TailDragRise = 2;
    w.s.Airfoils.TailMinDragAngle = c.MinAngle;
    w.Wing();
    w.Tail();
    EXPECT_NEAR(w.s.Tail.TailDragArea - plain.s.Tail.TailDragArea, c.Added, 1e-15) << c.MinAngle;
  }
}

TEST(Tail, CentreOfPressureIsClampedAndGravityIsInPercent) {
  PlainWing w;
  w.s.Airfoils.WingPitchMoment = 0.07;
  w.Wing();
  w.s.Wing.WingLift = 1e-4;  // a tiny lift puts the centre far off
  w.Tail();
  EXPECT_DOUBLE_EQ(std::fabs(w.s.Masses.CentreOfPressure), 99);
  // Pilot at the wing reference: the centre of gravity at the quarter chord.
  EXPECT_DOUBLE_EQ(w.s.Masses.CentreOfGravity, 25);
}

TEST(Tail, NoTailplaneStaysFinite) {
  PlainWing w(0.2);
  w.a.TailplaneArea = 0;
  w.a.TailplaneArm = 0;
  w.o.TailplaneHingeY = 0;
  w.Wing();
  w.Tail();
  EXPECT_DOUBLE_EQ(w.s.Tail.WakeFactor, 0);
  EXPECT_DOUBLE_EQ(w.s.Tail.TailplaneLiftArea, 0);
  EXPECT_TRUE(std::isfinite(w.s.Tail.TotalLiftArea));
  EXPECT_TRUE(std::isfinite(w.s.Tail.DragArea));
}

// With the rudder over, the fin's flow and the aircraft's wind axes differ:
// the drag total takes the fin's drag turned into the wind axes, and without
// sideslip its side area across the body is the wind-axis one.
TEST(Tail, FinForcesTurnIntoTheAircraftsAxes) {
  PlainWing fin(0.05), bare(0.05);
  bare.a.FinArea = 0;
  for (PlainWing* w : {&fin, &bare}) {
    w->s.Controls.RudderAngle = 0.15;
    w->Wing();
    w->Tail();
  }
  const TailState& t = fin.s.Tail;
  ASSERT_GT(std::fabs(t.FinSideTerm), 0.01);
  EXPECT_GT(std::fabs(t.FinWindDragArea - t.FinDragArea), 0.01);
  EXPECT_NEAR(t.DragArea - bare.s.Tail.DragArea, t.FinWindDragArea, 1e-12);
  EXPECT_EQ(t.FinBodySideArea, t.FinSideArea);
  EXPECT_NE(t.FinBodySideArea, t.FinSideTerm);
}

// Rudder to the left (a positive angle) pushes the fin to the right: the
// fin's side area is 0.8 m^2 x 4.5 x sin(2 x 0.05) / 2 / (1 + 200 x 0.05^4)
// and, the fin 4 m behind the centre of gravity, the nose yaws left.
TEST(Tail, RudderToTheLeftYawsTheNoseLeft) {
  PlainWing w(0.05);
  w.s.Controls.RudderAngle = 0.05;
  w.Wing();
  w.Tail();
  const double side = 0.8 * 4.5 * std::sin(0.1) / 2 / (1 + 200 * std::pow(0.05, 4));
  EXPECT_NEAR(w.s.Tail.FinSideTerm, side, 1e-12);
  EXPECT_NEAR(w.s.Tail.FinBodySideArea, side, 0.02 * side);
  w.s.Masses.YawInertia = 100;
  ComputePitchYawAcceleration(w.s, w.a);
  const double byHand = side * 60 * (0 - 4) / 100;  // -0.43 rad/s^2
  EXPECT_LT(w.s.Body.YawAccel, 0);
  EXPECT_NEAR(w.s.Body.YawAccel, byHand, 0.02 * std::fabs(byHand));
}

// The slipstream over the tail is its own dynamic pressure, 0.6 (2 S - 2 v)^2
// at rho 1.2, as a share of the wing's q: (2 S / v - 2)^2 while q is the free
// stream's (no roll, the first three rows). Rolling at 2 rad/s the panels fly
// at v -/+ 3, 6, 9 m/s and raise q; a share of the free stream then made the
// fin's force 758 and 24 738 N. Rudder 0.1 on 0.8 m^2 of fin (x 5): the fin
// term is 0.4 x the share; elevator 0.1 on 1 m^2 (x 6.28): 0.628 x.
TEST(Tail, SlipstreamIsItsOwnDynamicPressure) {
  const struct {
    double V, RollRate, Slipstream, Q, Share, FinForce;  // by hand; N = 0.4 x 0.6 (2 S - 2 v)^2
  } rows[] = {
      {10, 0, 15, 60, 1, 24},  // (30 / 10 - 2)^2
      {10, 0, 20, 60, 4, 96},
      {1, 0, 6, 0.6, 100, 24},
      {1, 2, 6, 18.96, 60 / 18.96, 24},  // q = 0.6 (20 x 2 + 1 + 74 x 1.5 + 164) / 10
      {0.2, 2, 6, 18.384, 80.736 / 18.384, 32.2944},  // 0.6 (18.08 x 2 + 0.04 + 72.08 x 1.5 + 162.08) / 10
  };
  for (const auto& r : rows) {
    PlainWing w;
    FlightState& s = w.s;
    s.Body.AirSpeed = r.V;
    s.Body.RollRate = r.RollRate;
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.Throttle = 0.5;
    s.Engine.SlipstreamSpeed = r.Slipstream;
    s.Body.Distance = 100;
    s.Body.GroundSpeed = 10;
    s.Controls.RudderAngle = s.Controls.ElevatorAngle = 0.1;
    w.Wing();
    w.Tail();
    const double q = s.Air.DynamicPressure;
    EXPECT_NEAR(q, r.Q, 1e-12 * r.Q) << r.V << " m/s rolling at " << r.RollRate;
    EXPECT_NEAR(s.Tail.FinSideTerm2, 0.4 * r.Share, 1e-12 * r.Share) << r.V << " m/s rolling at " << r.RollRate;
    EXPECT_NEAR(s.Tail.ElevatorSlipstreamArea, 0.628 * r.Share, 1e-12 * r.Share) << r.V << " m/s rolling at " << r.RollRate;
    EXPECT_NEAR(s.Tail.FinSideTerm2 * q, r.FinForce, 1e-12 * r.FinForce) << r.V << " m/s rolling at " << r.RollRate;
  }
}

TEST(Tail, WakeCoversTheTailplaneOfALightAircraft) {
  PlainWing w(0.15);
  w.a.WingHeight = 0.5;
  w.o.TailplaneHingeY = -4;
  w.o.TailplaneHingeZ = 4 * std::tan(0.15) - 0.5;  // right on the wake line
  w.Wing();
  w.Tail();
  EXPECT_NEAR(w.s.Tail.WakeFactor, 1.0, 1e-12);
  EXPECT_NEAR(w.s.Tail.TailDynamicPressure, 0, 1e-9);
}

TEST(Coefficients, GroundEffectLiftSlopeAndReynolds) {
  // Panels well above 1 m: 33 (h / b)^1.5 with h = 10, b = 20 gives +8.6 %.
  PlainWing w;
  w.a.WingSpan = 20;
  w.a.WingArea = 20;
  w.s.Setup.GeometricAspectRatio = 20;
  w.s.Setup.InnerSweepCos = w.s.Setup.OuterSweepCos = w.s.Setup.TipSweepCos = 1;
  for (int i = 1; i <= 6; ++i) w.s.Wing.Panels[i].PanelHeight = 10;
  w.a.WingHeight = 0;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_NEAR(w.s.Aero.EffectiveAspectRatio / 20, 1.0857, 1e-4);
  // Above 2000 m the ground effect is gone at once.
  w.s.Body.Altitude = 2500;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_DOUBLE_EQ(w.s.Aero.EffectiveAspectRatio, 20);
  EXPECT_NEAR(LiftSlopeFactor(1, 20), 0.894, 1e-3);
  EXPECT_DOUBLE_EQ(LiftSlopeFactor(1, 2), 0.65);  // 0.559 raised
  EXPECT_DOUBLE_EQ(LiftSlopeFactor(-0.25, 10), 1);  // 2.3^15 without the bound

  // Reynolds number 10^6 on the wing (chord 1 m) gives 1.55.
  PlainWing re;
  const double ve = 1e6 * 1.7932e-5 / 1.225;
  re.s.Air.DynamicPressure = ve * ve * 1.225 / 2;
  re.s.Body.AirSpeed = 100;
  RefreshAeroCoefficients(re.s, re.a);
  EXPECT_NEAR(re.s.Aero.ReynoldsFactor, 1.55, 1e-9);

}

// Banked right (sine 0.2), wing 10.5 m up: the inner panels move halfway
// to 10.5 +/- 1.5 x 0.2 (left higher), each outer panel halfway to its inner
// neighbour as it stood, each tip halfway to its outer neighbour as it now
// stands. From 4 m everywhere, two refreshes:
//   first: inner 7.4 / 7.1, outer and tips 4
//   second: inner 9.1 / 8.65, outer 5.7 / 5.55, tips 4.85 / 4.775
// The aspect ratio 10 (G + 1) / G, G = 33 (h / 10)^1.5: 10.3491 at 9.1 m,
// 10.3767 at 8.65 m.
TEST(Coefficients, BankedWingPanelHeightsAndGroundEffect) {
  PlainWing w;
  w.a.WingHeight = 0.5;
  w.s.Body.BankAngle = std::asin(0.2);
  for (int i = 1; i <= 6; ++i) w.s.Wing.Panels[i].PanelHeight = 4;
  const double heights[2][6] = {{7.4, 7.1, 4, 4, 4, 4}, {9.1, 8.65, 5.7, 5.55, 4.85, 4.775}};
  for (const auto& h : heights) {
    RefreshAeroCoefficients(w.s, w.a);
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(w.s.Wing.Panels[i].PanelHeight, h[i - 1], 1e-12) << i;
  }
  EXPECT_NEAR(w.s.Wing.Panels[1].PanelAspectRatio, 10.3490792, 1e-7);
  EXPECT_NEAR(w.s.Wing.Panels[2].PanelAspectRatio, 10.3766708, 1e-7);
}

// The wing's chord (2.0912 m) and the tail's make Re = 10^6 at the speed
// floor of 7 m/s: 1.8 - 0.9 / (3 + 1) = 1.575 for the wing at or below the
// floor, 1.8 - 1.1 / 4 = 1.525 for the tail; at 14 m/s Re = 2 x 10^6:
// 1.8 - 1 / 49 and 1.8 - 1.1 / 49. A wing of 2 kg or less, or no air: 1.8;
// the tail without air 1.
TEST(Coefficients, ReynoldsFactorsBelowAndAboveTheSpeedFloor) {
  const double nu = 1.7932e-5 / 1.225;
  const double chord = 1e6 * nu / 7;
  const struct {
    double Ve, DryMass, Density, Wing, Tail;
  } cases[] = {
      {3, 90, 1.2, 1.575, 1.525},
      {6.9, 90, 1.2, 1.575, 1.525},
      {14, 90, 1.2, 1.8 - 1.0 / 49, 1.8 - 1.1 / 49},
      {14, 2, 1.2, 1.8, 1.8},
      {14, 90, 0, 1.8, 1},
  };
  for (const auto& c : cases) {
    PlainWing w;
    w.a.WingArea = 10 * chord;
    w.s.Setup.TailChord = chord;
    w.s.Masses.DryMass = c.DryMass;
    w.s.Air.AirDensity = c.Density;
    w.s.Air.DynamicPressure = 1.225 * c.Ve * c.Ve / 2;
    RefreshAeroCoefficients(w.s, w.a);
    EXPECT_NEAR(w.s.Aero.ReynoldsFactor, c.Wing, 1e-9) << c.Ve << " " << c.DryMass << " " << c.Density;
    EXPECT_NEAR(w.s.Aero.TailReynoldsFactor, c.Tail, 1e-9) << c.Ve << " " << c.DryMass << " " << c.Density;
  }
}

TEST(Coefficients, LowSpeedLiftFactorStopsAtFullLift) {
  // Below the low-speed limit the lift factor is a quarter sine of Ve over
  // the limit; a spinning wing's mean dynamic pressure gives a Ve far above
  // the limit, where the factor stays at full lift instead of turning over.
  PlainWing w;
  w.s.Body.AirSpeed = 2;
  RefreshAeroCoefficients(w.s, w.a);
  const double limit = w.s.Aero.LowSpeedLimit;
  ASSERT_GT(limit, 2);
  const struct {
    double VeOverLimit, Factor;
  } cases[] = {{0.5, std::sin(0.5 * 3.1415926 / 2)}, {1, 1}, {3, 1}};
  for (const auto& c : cases) {
    const double ve = c.VeOverLimit * limit;
    w.s.Air.DynamicPressure = ve * ve * 1.225 / 2;
    RefreshAeroCoefficients(w.s, w.a);
    EXPECT_DOUBLE_EQ(w.s.Aero.LowSpeedLimit, limit);
    EXPECT_NEAR(w.s.Aero.LiftSlopeMachFactor, c.Factor, 1e-12) << c.VeOverLimit;
  }
  // At the limit and above the factor is the compressibility's.
  w.s.Body.AirSpeed = limit;
  w.s.Aero.LiftSlopeMachFactor = 0.9;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_EQ(w.s.Aero.LiftSlopeMachFactor, 0.9);
}

TEST(WindAndUpdraft, ProfileAndColumn) {
  FlightState s;
  aircraft::AircraftData a;
  a.WindSpeed = 3;
  a.EyeHeight = 0.5;
  s.Loop.StepsPerSecond = 40;
  s.Air.EyeAltitude = 10;
  s.Body.Altitude = 10.5;  // the start height
  s.Body.CourseDistance = 1;
  UpdateWind(s, a);
  EXPECT_NEAR(s.Air.WindAtAltitude, (3.005 / 2) / 40, 1e-6);

  s.Body.Altitude = 301;
  UpdateUpdraftStrength(s);
  EXPECT_DOUBLE_EQ(s.Air.UpdraftStrength, 5);
  EXPECT_DOUBLE_EQ(UpdraftSpeedAt(s, -113, 625), 5);
  EXPECT_NEAR(UpdraftSpeedAt(s, -113 + 250, 625), 2.5, 1e-6);
  EXPECT_DOUBLE_EQ(UpdraftSpeedAt(s, -113, 625 + 500), 0);
}

// The air data holds the updraft the last panel found: in the column each
// panel feels only how much faster or slower the air rises at its station,
// in angle and in dynamic pressure.
TEST(WindAndUpdraft, PanelsFeelOnlyTheUpdraftTheAirDataLacks) {
  PlainWing out;
  out.s.Body.ViewRollCos = 1;
  out.Wing();
  // Held: the air data's updraft; lacking: what the panels still feel (the
  // column's centre rises 5 m/s, the same within 1 mm/s over the span).
  const struct {
    double Held, Lacking;
  } cases[] = {{5, 0}, {0, 5}, {3, 2}};
  for (const auto& c : cases) {
    PlainWing in;
    in.s.Body.ViewRollCos = 1;
    in.s.Body.PosX = -113;
    in.s.Body.PosY = 625;
    in.s.Body.Altitude = 400;
    in.s.Air.VerticalWind = c.Held;
    in.Wing();
    for (int i = 1; i <= kWingPanelCount; ++i) {
      const WingPanel& p = in.s.Wing.Panels[i];
      const WingPanel& q = out.s.Wing.Panels[i];
      EXPECT_NEAR(p.Angle, q.Angle + c.Lacking / p.PanelAirspeed, 2e-4) << c.Held << " panel " << i;
      EXPECT_NEAR(p.PanelPressure, q.PanelPressure + 1.2 * c.Lacking * c.Lacking / 2, 1e-2) << c.Held << " panel " << i;
    }
  }
}

// The column's rim (500 m from its centre) crosses the wing: each panel
// takes the updraft at its own station, 1.57 rad left or right of the
// heading, and only the panels inside the rim feel it, cos(bank) u / V in
// angle. Column to the left (heading 0.5): the left panels and the right
// inner one are inside; to the right (heading 2): the mirror image.
TEST(WindAndUpdraft, EachPanelTakesTheColumnAtItsOwnStation) {
  PlainWing out;
  out.s.Body.ViewRollCos = 0.8;
  out.s.Body.Altitude = 400;  // full strength, 5 m/s
  out.Wing();
  const struct {
    double Heading, X, Y;
    double Angle[6];  // over the far wing's, panels 1..6 (left, right; inner, outer, tip)
  } cases[] = {
      {0.5, 323.8, 385.9, {4.950217061965e-05, 1.155998304947e-06, 1.003178671750e-04, 0, 1.688898087013e-04, 0}},
      {2.0, 93.9, 1078.0, {9.376507196457e-07, 4.801013556477e-05, 0, 9.818915816266e-05, 0, 1.661246148280e-04}},
  };
  for (const auto& c : cases) {
    PlainWing in;
    in.s.Body.ViewRollCos = 0.8;
    in.s.Body.Altitude = 400;
    in.s.Body.Heading = c.Heading;
    in.s.Body.PosX = c.X;
    in.s.Body.PosY = c.Y;
    in.Wing();
    for (int i = 1; i <= kWingPanelCount; ++i) {
      const double gained = in.s.Wing.Panels[i].Angle - out.s.Wing.Panels[i].Angle;
      EXPECT_NEAR(gained, c.Angle[i - 1], 1e-15) << c.Heading << " panel " << i;
      if (c.Angle[i - 1] == 0) {
        EXPECT_EQ(in.s.Wing.Panels[i].PanelPressure, out.s.Wing.Panels[i].PanelPressure) << c.Heading << " panel " << i;
      }
    }
  }
}

// The bound (wind x 20000 / (height + 1)) holds only above the water. At and
// below it the wind keeps its lagged value: no division by zero at -1 m, no
// reversed wind at the cancel sentinel, no cap just above the surface.
TEST(WindAndUpdraft, BoundOnlyAboveTheWater) {
  const auto windAt = [](double altitude, double wind) {
    FlightState s;
    aircraft::AircraftData a;
    a.WindSpeed = 0.0001;
    a.EyeHeight = 0.5;
    s.Loop.StepsPerSecond = 40;
    s.Air.EyeAltitude = 10;
    s.Body.CourseDistance = 1;
    s.Body.Altitude = altitude;
    s.Air.WindAtAltitude = wind;
    UpdateWind(s, a);
    return s;
  };
  // Above: a tiny wind at 19 m caps a strong one at 0.0001 x 20000 / 20.
  EXPECT_DOUBLE_EQ(windAt(19, 5).Air.WindAtAltitude, 0.1);
  for (const double below : {0.0, -0.5, -1.0, -2000.0}) {
    const FlightState s = windAt(below, 5);
    const double lagged = 5 + s.Air.WindChangeRate / 40.0;
    EXPECT_DOUBLE_EQ(s.Air.WindAtAltitude, lagged) << below;
    EXPECT_GT(s.Air.WindAtAltitude, 4) << below;
    EXPECT_TRUE(std::isfinite(s.Air.WindAtAltitude)) << below;
  }
}

}  // namespace
}  // namespace zarv::flight
