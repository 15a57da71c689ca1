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
  // V -/+ p y: 10 -/+ 0.2 x 4.5 at the tips.
  EXPECT_DOUBLE_EQ(s.Panels[5].PanelAirspeed, 9.1);
  EXPECT_DOUBLE_EQ(s.Panels[6].PanelAirspeed, 10.9);
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

  // A roll rate of -V/y puts the left outer panel at 45 deg less the washout
  // while the aircraft flies level. With 0.3 of flap its lift tilts the drag
  // far forward: the drag is limited to -2 x area.
  PlainWing r(0);
  r.s.RollRate = -10.0 / 3;
  r.s.FlapAngle = 0.3;
  r.Wing();
  EXPECT_NEAR(r.s.Panels[3].Angle, std::atan(1.0) - 0.02, 1e-14);
  EXPECT_LT(r.s.Panels[3].PanelDragCoeff, -3);
  EXPECT_DOUBLE_EQ(r.s.Panels[3].Drag, -3);
}

TEST(Tail, AngleReductionAndDragFarAboveTheAir) {
  PlainWing w(0);
  w.a.LaunchSpeed = 20;
  w.s.ElevatorAngle = 3 * 3.1415926 / 2;
  w.Wing();
  w.Tail();
  EXPECT_NEAR(w.s.TailAngle, -3.1415926 / 2, 1e-12);
  EXPECT_DOUBLE_EQ(w.s.WakeFactor, 0);  // powered: never a wake

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
  w.a.WingHeight = 0;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_NEAR(w.s.EffectiveAspectRatio / 20, 1.0857, 1e-4);
  // Above 2000 m the ground effect is gone at once.
  w.s.Altitude = 2500;
  RefreshAeroCoefficients(w.s, w.a);
  EXPECT_DOUBLE_EQ(w.s.EffectiveAspectRatio, 20);
  EXPECT_NEAR(LiftSlopeFactor(1, 20), 0.894, 1e-3);
  EXPECT_DOUBLE_EQ(LiftSlopeFactor(1, 2), 0.65);  // 0.559 raised

  // Reynolds number 10^6 on the wing (chord 1 m) gives 1.55.
  PlainWing re;
  const double ve = 1e6 * 1.7932e-5 / 1.225;
  re.s.DynamicPressure = ve * ve * 1.225 / 2;
  re.s.AirSpeed = 100;
  RefreshAeroCoefficients(re.s, re.a);
  EXPECT_NEAR(re.s.ReynoldsFactor, 1.55, 1e-9);

}

TEST(WindAndUpdraft, ProfileAndColumn) {
  FlightState s;
  aircraft::AircraftData a;
  a.WindSpeed = 3;
  a.EyeHeight = 0.5;
  s.StepsPerSecond = 40;
  s.EyeAltitude = 10;
  s.Altitude = 10.5;  // the start height
  s.CourseDistance = 1;
  UpdateWind(s, a);
  EXPECT_NEAR(s.WindAtAltitude, (3.005 / 2) / 40, 1e-6);

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
    aircraft::AircraftData a;
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
