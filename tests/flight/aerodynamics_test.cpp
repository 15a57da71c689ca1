#include <gtest/gtest.h>

#include <cmath>

#include "flight/coefficients.h"
#include "flight/tail.h"
#include "flight/wind.h"
#include "flight/wing.h"

namespace zarv::flight {
namespace {

// A plain wing for hand working: 10 m span, 10 m^2, no sweep, dihedral or
// stall, unit lift slopes and factors, 2 % and 4 % washout, far from the
// updraft column.
struct PlainWing {
  shell::AircraftData a;
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
    s.GeometricAspectRatio = 10;
    s.EffectiveAspectRatio = 10;
    s.SweepAreaFactor = 1;
    s.CentrePanelArea = 1;
    s.InnerPanelArea = 2;
    s.OuterPanelArea = 1.5;
    s.TipPanelArea = 1;
    s.InnerPanelSpanPos = 1.5;
    s.OuterPanelSpanPos = 3;
    s.TipPanelSpanPos = 4.5;
    s.HalfWashout = 0.02;
    for (int i = 1; i <= 6; ++i) s.Panels[i].PanelAspectRatio = 10;
    s.WingProfileDrag = 0.01;
    s.StallCoefficient = 0;
    s.StallExponent = 1;
    s.TailStallCoefficient = 0;
    s.TailStallExponent = 1;
    s.TailProfileDrag = 0.01;
    s.TailDragRiseLimit = 500;
    s.TailReynoldsFactor = 1;
    s.DryMass = 90;
    s.Mass = 90;
    s.PosX = 5000;  // outside the updraft column
    s.AirDensity = 1.2;
    s.AirSpeed = 10;
    s.FlightTime = 5;
    s.CourseDistance = 100;
    s.Altitude = 10;
    SetFlow(alpha, 0);
  }
  void SetFlow(double alpha, double beta) {
    s.AngleOfAttack = alpha;
    s.Sideslip = beta;
    s.TotalIncidence = std::hypot(alpha, beta);
    s.BodyAirX = std::cos(alpha) * std::cos(beta);
    s.BodyAirY = -std::sin(beta);
    s.BodyAirZ = -std::sin(alpha) * std::cos(beta);
    s.AoaText = s.WingIncidenceRad + alpha;  // as the air-data step keeps it
  }
  void Wing() { UpdateWingAerodynamics(s, a); }
  void Tail() { UpdateTailAndTotals(s, a, o); }
};

TEST(WingStrips, LevelFlightWorkedByHand) {
  PlainWing w;
  w.Wing();
  const FlightState& s = w.s;
  EXPECT_DOUBLE_EQ(s.DynamicPressure, 60);
  EXPECT_DOUBLE_EQ(s.Panels[1].Angle, 0.1);
  EXPECT_DOUBLE_EQ(s.Panels[3].Angle, 0.08);
  EXPECT_DOUBLE_EQ(s.Panels[6].Angle, 0.06);
  // 3.14 sin(2 x 0.06) for the tip; the centre's lift area 3.14 sin 0.2.
  EXPECT_NEAR(s.Panels[6].RawLift, 0.37589633088720686, 1e-14);
  EXPECT_NEAR(s.CentreLiftArea, 0.6238216986964923, 1e-14);
  EXPECT_NEAR(s.CentreDrag, 0.02351631694877882, 1e-14);
  EXPECT_NEAR(s.WingLift, 5.371678661563072, 1e-12);
  EXPECT_NEAR(s.WingDrag, 0.20345844425288945, 1e-12);
  EXPECT_DOUBLE_EQ(s.StallRatio, 1.0);
  // Symmetric flight: left and right panels alike.
  for (int i = 1; i <= 5; i += 2) {
    EXPECT_DOUBLE_EQ(s.Panels[i].StalledLift, s.Panels[i + 1].StalledLift);
    EXPECT_DOUBLE_EQ(s.Panels[i].Drag, s.Panels[i + 1].Drag);
  }
}

TEST(WingStrips, RollRateSlowsTheRisingWing) {
  PlainWing w;
  w.s.RollRate = 0.2;  // right wing going down
  w.Wing();
  const FlightState& s = w.s;
  for (int k = 0; k < 3; ++k) {
    const WingPanel& left = s.Panels[2 * k + 1];
    const WingPanel& right = s.Panels[2 * k + 2];
    EXPECT_LT(left.PanelAirspeed, right.PanelAirspeed);
    EXPECT_LT(left.Angle, right.Angle);
    EXPECT_LT(left.StalledLift, right.StalledLift);
  }
  // V -/+ p y cos(beta / incidence): 10 -/+ 0.2 x 4.5 at the tips.
  EXPECT_DOUBLE_EQ(s.Panels[5].PanelAirspeed, 9.1);
  EXPECT_DOUBLE_EQ(s.Panels[6].PanelAirspeed, 10.9);
  // Tip angle: -Atn((p y / V + z) / x) less the washout.
  const double left = -std::atan((0.2 * 4.5 / 10 - std::sin(0.1)) / std::cos(0.1)) - 0.04;
  EXPECT_NEAR(s.Panels[5].Angle, left, 1e-15);
}

TEST(WingStrips, FlowFromBehindAndDegenerateAir) {
  PlainWing w;
  w.SetFlow(3.0, 0);  // nearly backwards: BodyAirX < 0
  w.Wing();
  const double a = -std::atan(-std::sin(3.0) / std::cos(3.0));
  EXPECT_NEAR(w.s.Panels[1].Angle, a < 0 ? a + 3.1415926 : a - 3.1415926, 1e-12);

  // No air at all: the reference pressure stays positive, the totals finite.
  PlainWing still;
  still.s.AirDensity = 0;
  still.Wing();
  EXPECT_GT(still.s.DynamicPressure, 0);
  EXPECT_TRUE(std::isfinite(still.s.WingLift));
  EXPECT_TRUE(std::isfinite(still.s.WingDrag));

  // A panel standing still in the updraft: no division by its airspeed.
  PlainWing column;
  column.s.PosX = -113;
  column.s.PosY = 625;
  column.s.YawRate = -10.0 / (1.5 * std::cos(1.0));  // left inner panel at 0 m/s
  column.Wing();
  EXPECT_NEAR(column.s.Panels[1].PanelAirspeed, 0, 1e-14);
  EXPECT_TRUE(std::isfinite(column.s.Panels[1].Angle));
  EXPECT_TRUE(std::isfinite(column.s.WingLift));
  EXPECT_GT(column.s.Panels[1].PanelPressure, 0);  // the updraft's own pressure
}

TEST(WingStrips, RootAngleAndDragLimitsFollowTheirSteps) {
  // The root angle is the air-data step's incidence + angle of attack, even
  // when the angle has moved since.
  PlainWing w;
  w.s.AoaText = 0.12;
  w.Wing();
  EXPECT_DOUBLE_EQ(w.s.WingRootAngle, 0.12);
  EXPECT_NEAR(w.s.CentreLiftArea, 1 * 3.14 * std::sin(0.24), 1e-15);

  // A roll rate of -V/y puts the left outer panel at 45 deg while the
  // aircraft flies level (rotation angle 45 deg less the washout). With
  // 0.3 of flap its lift tilts the drag far forward: the coefficients take
  // the full value, the drag itself is limited to -2 x area.
  PlainWing r(0);
  r.s.RollRate = -10.0 / 3;
  r.s.FlapAngle = 0.3;
  r.Wing();
  const WingPanel& outer = r.s.Panels[3];
  const double angle = std::atan(1.0) - 0.02;
  EXPECT_NEAR(outer.Angle, angle, 1e-14);
  const double lift = 6.28 * (std::sin(2 * angle) / 2 + 0.3);
  const double profile = 0.01;  // no drag rise, stall or Reynolds effect in the plain wing
  const double dragBefore =
      (lift * lift / 3.14 / 10 + profile) * 1.5 + (std::cos(1.5 * angle - 3.1415926) + 1) / 2 * 1.5 * 0.2;
  const double delta = angle + 0.02;
  const double dragAfter = -std::sin(delta) * lift * 1.5 + std::cos(delta) * dragBefore;
  ASSERT_LT(dragAfter, -3);
  EXPECT_NEAR(outer.PanelDragCoeff, dragAfter, 1e-12);
  EXPECT_DOUBLE_EQ(outer.Drag, -3);
}

TEST(WingStrips, FlyingStartSilencesInnerPanelsAtFirst) {
  PlainWing w;
  w.a.LaunchHeight = 0;
  w.s.FlightTime = 0.05;
  w.Wing();
  for (int i = 1; i <= 4; ++i) EXPECT_DOUBLE_EQ(w.s.Panels[i].PanelPressure, 0);
  EXPECT_DOUBLE_EQ(w.s.Panels[5].PanelPressure, 60);
}

TEST(Tail, AngleReductionSlipstreamAndLimits) {
  PlainWing w(0);
  w.a.LaunchSpeed = 20;
  w.s.ElevatorAngle = 3 * 3.1415926 / 2;
  w.Wing();
  w.Tail();
  EXPECT_NEAR(w.s.TailAngle, -3.1415926 / 2, 1e-12);
  EXPECT_DOUBLE_EQ(w.s.WakeFactor, 0);  // powered: never a wake

  // Slipstream only for a piston engine above 0.1 throttle in the air.
  PlainWing p;
  p.s.EngineType = "pist";
  p.s.SlipstreamSpeed = 15;
  p.s.ElevatorAngle = 0.05;
  p.s.Throttle = 0.5;
  p.s.Distance = 10;
  p.s.GroundSpeed = 10;
  p.Wing();
  p.Tail();
  EXPECT_NEAR(p.s.ElevatorSlipstreamArea, 1.0 * 1 * 6.28 * p.s.TailLiftSlope * 1 * 0.05, 1e-15);
  p.s.Throttle = 0.1;
  p.Tail();
  EXPECT_DOUBLE_EQ(p.s.ElevatorSlipstreamArea, 0);
  p.s.Throttle = 0.5;
  p.s.EngineType = "jet";
  p.Tail();
  EXPECT_DOUBLE_EQ(p.s.FinSideTerm2, 0);

  // One third of the wing area as drag far above the air.
  PlainWing high;
  high.s.Altitude = 130001;
  high.Wing();
  high.Tail();
  EXPECT_DOUBLE_EQ(high.s.DragArea, 10.0 / 3);
}

TEST(Tail, CentreOfPressureIsClampedAndGravityIsInPercent) {
  PlainWing w;
  w.s.WingPitchMoment = 0.07;
  w.Wing();
  w.s.WingLift = 1e-4;  // a tiny lift puts the centre far off
  w.Tail();
  EXPECT_DOUBLE_EQ(std::fabs(w.s.CentreOfPressure), 99);
  // Pilot at the wing reference: the centre of gravity at the quarter chord.
  EXPECT_DOUBLE_EQ(w.s.CentreOfGravity, 25);
}

TEST(Tail, NoTailplaneStaysFinite) {
  PlainWing w(0.2);
  w.a.TailplaneArea = 0;
  w.a.TailplaneArm = 0;
  w.o.TailplaneHingeY = 0;
  w.Wing();
  w.Tail();
  EXPECT_DOUBLE_EQ(w.s.WakeFactor, 0);
  EXPECT_DOUBLE_EQ(w.s.TailplaneLiftArea, 0);
  EXPECT_TRUE(std::isfinite(w.s.TotalLiftArea));
  EXPECT_TRUE(std::isfinite(w.s.DragArea));
}

TEST(Tail, WakeCoversTheTailplaneOfALightAircraft) {
  PlainWing w(0.15);
  w.a.WingHeight = 0.5;
  w.o.TailplaneHingeY = -4;
  w.o.TailplaneHingeZ = 4 * std::tan(0.15) - 0.5;  // right on the wake line
  w.Wing();
  w.Tail();
  EXPECT_NEAR(w.s.WakeFactor, 1.0, 1e-12);
  EXPECT_NEAR(w.s.TailDynamicPressure, 0, 1e-9);
}

TEST(Coefficients, GroundEffectLiftSlopeAndReynolds) {
  // Panels well above 1 m: 33 (h / b)^1.5 with h = 10, b = 20 gives +8.6 %.
  PlainWing w;
  w.a.WingSpan = 20;
  w.a.WingArea = 20;
  w.s.GeometricAspectRatio = 20;
  w.s.InnerSweepCos = w.s.OuterSweepCos = w.s.TipSweepCos = 1;
  for (int i = 1; i <= 6; ++i) w.s.Panels[i].PanelHeight = 10;
  w.s.Altitude = 10;
  w.a.WingHeight = 0;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_NEAR(w.s.Panels[3].PanelAspectRatio / 20, 1 + 1 / (33 * std::pow(0.5, 1.5)), 1e-12);
  EXPECT_NEAR(w.s.EffectiveAspectRatio / 20, 1.0857, 1e-4);

  EXPECT_NEAR(LiftSlopeFactor(1, 20), 0.894, 1e-3);
  EXPECT_DOUBLE_EQ(LiftSlopeFactor(1, 2), 0.65);  // 0.559 raised

  // A panel at 1 m or lower keeps its aspect ratio.
  PlainWing low;
  low.s.Panels[1].PanelAspectRatio = 7;
  low.s.Panels[1].PanelHeight = 0;
  low.s.Altitude = 0.5;
  RefreshAeroCoefficients(low.s, low.a);
  EXPECT_DOUBLE_EQ(low.s.Panels[1].PanelAspectRatio, 7);

  // Reynolds number 10^6 on the wing gives 1.55.
  PlainWing re;
  const double nu = 1.7932e-5 / 1.225;
  const double ve = 1e6 * nu / 1.0;  // chord 1 m
  re.s.DynamicPressure = ve * ve * 1.225 / 2;
  re.s.AirSpeed = 100;
  RefreshAeroCoefficients(re.s, re.a);
  EXPECT_NEAR(re.s.ReynoldsFactor, 1.55, 1e-9);

  // Above 2000 m the ground effect is gone at once.
  PlainWing up;
  up.s.Altitude = 2500;
  up.s.LiftSlopeMachFactor = 0.9;
  up.s.AirSpeed = 100;
  RefreshAeroCoefficients(up.s, up.a);
  EXPECT_DOUBLE_EQ(up.s.EffectiveAspectRatio, 9);
}

TEST(WindAndUpdraft, ProfileAndColumn) {
  FlightState s;
  shell::AircraftData a;
  a.WindSpeed = 3;
  a.EyeHeight = 0.5;
  s.StepsPerSecond = 40;
  s.EyeAltitude = 10;
  s.Altitude = 10.5;  // the start height
  s.CourseDistance = 1;
  UpdateWind(s, a);
  EXPECT_NEAR(s.WindAtAltitude, (3.005 / 2) / 40, 1e-6);
  // The lag limits the change to 9 m/s per second.
  a.WindSpeed = 100;
  s.WindAtAltitude = 0;
  UpdateWind(s, a);
  EXPECT_DOUBLE_EQ(s.WindChangeRate, 9);
  // No wind: the bound is 0.
  a.WindSpeed = 0;
  s.WindAtAltitude = 1;
  s.Altitude = 1;
  UpdateWind(s, a);
  EXPECT_DOUBLE_EQ(s.WindAtAltitude, 0);

  s.Altitude = 299.9;
  UpdateUpdraftStrength(s);
  EXPECT_NEAR(s.UpdraftStrength, 10, 1e-5);
  s.Altitude = 301;
  UpdateUpdraftStrength(s);
  EXPECT_DOUBLE_EQ(s.UpdraftStrength, 5);
  EXPECT_DOUBLE_EQ(UpdraftSpeedAt(s, -113, 625), 5);
  EXPECT_NEAR(UpdraftSpeedAt(s, -113 + 250, 625), 2.5, 1e-6);
  EXPECT_DOUBLE_EQ(UpdraftSpeedAt(s, -113, 625 + 500), 0);
}

// The bound (wind x 20000 / (height + 1)) holds only above the water. At and
// below it the wind keeps its lagged value: no division by zero at -1 m, no
// reversed wind at the cancel sentinel, no cap just above the surface.
TEST(WindAndUpdraft, BoundOnlyAboveTheWater) {
  const auto windAt = [](double altitude, double wind) {
    FlightState s;
    shell::AircraftData a;
    a.WindSpeed = 0.0001;
    a.EyeHeight = 0.5;
    s.StepsPerSecond = 40;
    s.EyeAltitude = 10;
    s.CourseDistance = 1;
    s.Altitude = altitude;
    s.WindAtAltitude = wind;
    UpdateWind(s, a);
    return s;
  };
  // Above: a tiny wind at 19 m caps a strong one at 0.0001 x 20000 / 20.
  EXPECT_DOUBLE_EQ(windAt(19, 5).WindAtAltitude, 0.1);
  for (const double below : {0.0, -0.5, -1.0, -2000.0}) {
    const FlightState s = windAt(below, 5);
    const double lagged = 5 + s.WindChangeRate / 40.0;
    EXPECT_DOUBLE_EQ(s.WindAtAltitude, lagged) << below;
    EXPECT_GT(s.WindAtAltitude, 4) << below;
    EXPECT_TRUE(std::isfinite(s.WindAtAltitude)) << below;
  }
}

}  // namespace
}  // namespace zarv::flight
