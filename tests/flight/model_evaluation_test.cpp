#include <gtest/gtest.h>

#include <cmath>

#include "flight/model_evaluation.h"

namespace zarv::flight {
namespace {

struct Chart {
  aircraft::AircraftData a;
  FlightState s;
  model::AirframeOutline o;
  ModelEvaluation chart;
  explicit Chart(bool powered) {
    a.WingSpan = 10;
    a.WingArea = 20;
    a.TailplaneArea = 3;
    a.TailplaneArm = 5;
    a.FinArea = 2;
    a.FinArm = 5;
    a.ParasiteDragArea = 0.5;
    a.LaunchSpeed = powered ? 100 : 6;
    a.FuelCapacity = powered ? 1000 : 0;
    a.EngineCount = powered ? 2 : 0;
    s.Masses.DryMass = powered ? 5000 : 100;
    s.Setup.Gravity = 9.8;
    s.Engine.AfterburnerMax = 1;
    s.Setup.GeometricAspectRatio = 5;
    s.Setup.SweepAreaFactor = 0.95;
    s.Setup.InnerSweepCos = s.Setup.OuterSweepCos = 0.95;
    s.Setup.TipSweepCos = 0.9;
    s.Setup.CentrePanelArea = 2;
    s.Setup.InnerPanelArea = 4;
    s.Setup.OuterPanelArea = 3;
    s.Setup.TipPanelArea = 2;
    s.Airfoils.WingProfileDrag = 0.01;
    s.Airfoils.WingDragRise = 2;
    s.Airfoils.WingDragRiseLimit = 40;
    s.Airfoils.WingLiftOffset = 1.3 * 0.4 / 6.28;
    s.Airfoils.WingAngleOffset = -0.3 * 0.4 / 6.28;
    s.Airfoils.TailProfileDrag = 0.0085;
    s.Air.AirDensity = 1.2;
    s.Masses.CgX = 0.1;
    o.TailplaneHingeY = -5;
  }
  void Run() {
    EvaluateAircraftModel(s, a, o, chart);
    SetFlightLimits(s, chart);
  }
};

TEST(ModelEvaluation, ReferenceConditionsOfALightAircraft) {
  Chart c(false);
  c.Run();
  // Lift coefficient 0.6 at sea level: V = sqrt(2 (m / S) / 1.225 x g / 0.6).
  EXPECT_NEAR(c.chart.ReferenceSpeed, std::sqrt(2 * (100.0 / 20) / 1.225 * 9.8 / 0.6), 1e-12);
  EXPECT_DOUBLE_EQ(c.s.Aero.ReynoldsFactor, 1.0);
  EXPECT_DOUBLE_EQ(c.s.Aero.MachFactor, 1.0);
  EXPECT_DOUBLE_EQ(c.s.Aero.LiftSlopeMachFactor, 1.0);
  const double g = 33 * std::pow(5.0 / 10, 1.5);
  EXPECT_NEAR(c.s.Aero.EffectiveAspectRatio, std::pow(0.9, 0.3) * 5 * (g + 1) / g, 1e-12);
  EXPECT_NEAR(c.s.Aero.TailLiftSlope, 0.624, 1e-3);
  // The sweep's last angle: 35.5 deg of wing angle.
  EXPECT_NEAR(c.s.Air.AngleOfAttack, 35.5 * 3.141592 / 180, 1e-12);
  // K = 9 / ((1 x 5 / 20) x 10): the fin still partly clear at the last angle.
  EXPECT_NEAR(c.s.Tail.FinShield, (1 + std::cos(3.6 * 35.5 * 3.141592 / 180)) / 2, 1e-12);
  // The light sweep's largest lift lies inside its range, not at an end.
  EXPECT_GT(c.chart.MaxLiftAngle, 0.1);
  EXPECT_LT(c.chart.MaxLiftAngle, 0.6);
  EXPECT_GT(c.chart.LiftAtBestGlide, 0);
}

// An uncambered wing at zero wing angle lifts only through its washout:
// half of it on the outer panels (2 x 3 m^2), all of it on the tips
// (2 x 2 m^2), 0.95^2 x 6.28 x slope x (6 x 0.02 + 4 x 0.04) downwards (0.95
// the mean sweep cosine), within the stall divisor's 0.4 % (sin 2t / 2 = t
// within 0.1 %).
TEST(ModelEvaluation, WashoutTakesLiftFromTheOuterPanelsAndTips) {
  Chart c(false);
  c.s.Airfoils.WingLiftOffset = c.s.Airfoils.WingAngleOffset = 0;
  c.a.TipWashout = 0.04;
  c.s.Setup.HalfWashout = 0.02;
  c.Run();
  const ChartPoint& level = c.chart.Points[40];
  ASSERT_EQ(level.AngleOfAttack, 0);
  const double byHand = -0.95 * 0.95 * 6.28 * c.s.Aero.LiftSlope * (6 * 0.02 + 4 * 0.04);
  EXPECT_NEAR(level.WingLift, byHand, 0.006 * std::fabs(byHand));
}

// The profile drag's rise, 2 x d^2 per unit area with d the angle from the
// airfoil's minimum-drag angle (here 1 deg, the chart's point 50): each
// group's area x (sweep cos x 5 / 5.25965)^0.2, i.e. 16 x 0.979823 +
// 4 x 0.969284 = 19.5543 m^2, against the same wing with its minimum at 0.
// At 0 deg the rise is 2 x 0.0174533^2 x 19.5543 = 0.0119132; at 1 deg the
// same taken away.
TEST(ModelEvaluation, ProfileDragRisesAwayFromTheMinimumDragAngle) {
  Chart atZero(false), atOne(false);
  for (Chart* c : {&atZero, &atOne}) c->s.Airfoils.WingDragRiseLimit = 0;
  atOne.s.Airfoils.WingMinDragAngle = 3.141592 / 180;
  atZero.Run();
  atOne.Run();
  const struct {
    int Point;
    double Added;
  } cases[] = {{40, 0.0119132}, {50, -0.0119132}};
  for (const auto& c : cases) {
    const double added = atOne.chart.Points[c.Point].Drag - atZero.chart.Points[c.Point].Drag;
    EXPECT_NEAR(added, c.Added, 1e-7) << c.Point;
  }
}

TEST(ModelEvaluation, ReferenceConditionsOfAPoweredAircraft) {
  Chart c(true);
  c.s.Engine.AfterburnerMax = 1.5;
  c.Run();
  const double v = std::sqrt(2 * (5500.0 / 20) / 1.225 * 88);
  EXPECT_NEAR(c.chart.ReferenceSpeed, v, 1e-12);
  const double re = (20 * v / 10) / ((1.7932 / 1e5) / 1.225);
  EXPECT_NEAR(c.s.Aero.ReynoldsFactor, 1.8 - 1 / (3 * std::pow(re / 1e6, 4) + 1), 1e-12);
  EXPECT_NEAR(c.s.Aero.MachFactor, 6.28 / (std::pow(v / 331, 1.4) + 6.28), 1e-12);
  EXPECT_NEAR(c.s.Aero.TailReynoldsFactor, 0.9 * c.s.Aero.ReynoldsFactor, 1e-15);
  EXPECT_NEAR(c.s.Aero.EffectiveAspectRatio, std::pow(0.9, 0.3) * 5, 1e-12);
  EXPECT_NEAR(c.s.Air.AngleOfAttack, 83.75 * 3.141592 / 180, 1e-12);
}

TEST(ModelEvaluation, LeadingEdgeFlapsAndTheirReset) {
  Chart c(true);
  c.s.Airfoils.LeadingEdgeFlaps = 1;
  EvaluateAircraftModel(c.s, c.a, c.o, c.chart);
  // At the last angle the flap offset has reached its floor.
  EXPECT_NEAR(c.chart.LeadingEdgeFlapDeflection, -0.2 * 0.95 * 0.95, 1e-15);
  EXPECT_GT(c.s.Airfoils.WingLiftOffsetNow, c.s.Airfoils.WingLiftOffset);
  // Curves with and without the flap effect part above zero wing angle only.
  const ChartPoint& low = c.chart.Points[0];
  EXPECT_DOUBLE_EQ(low.WingLift, low.WingLiftPlain);
  EXPECT_NE(c.chart.Points[kChartSteps - 1].WingLift, c.chart.Points[kChartSteps - 1].WingLiftPlain);
  SetFlightLimits(c.s, c.chart);
  EXPECT_DOUBLE_EQ(c.s.Airfoils.WingLiftOffsetNow, c.s.Airfoils.WingLiftOffset);
}

TEST(FlightLimits, LoweredMaximumAndMinimum) {
  FlightState s;
  ModelEvaluation chart;
  chart.MaxLiftAngle = 0.3;
  s.Airfoils.MaxAngleOfAttack = 0.3;
  SetFlightLimits(s, chart);
  EXPECT_NEAR(s.Airfoils.MaxAngleOfAttack, 0.27, 1e-15);
  EXPECT_NEAR(s.Setup.MinAngleOfAttack, -0.31, 1e-15);
  EXPECT_DOUBLE_EQ(s.Setup.GroundAngleLimit, 0.45);
  // Repeating the load leaves the same limits.
  SetFlightLimits(s, chart);
  EXPECT_NEAR(s.Airfoils.MaxAngleOfAttack, 0.27, 1e-15);

  FlightState wide;
  chart.MaxLiftAngle = 1.0;
  wide.Airfoils.MaxAngleOfAttack = 0.7;
  SetFlightLimits(wide, chart);
  EXPECT_DOUBLE_EQ(wide.Airfoils.MaxAngleOfAttack, 0.7);
  EXPECT_DOUBLE_EQ(wide.Setup.MinAngleOfAttack, -0.6);

  FlightState rocket;
  rocket.Engine.EngineType = aircraft::EngineKind::Rocket;
  rocket.Airfoils.MaxAngleOfAttack = 50 / 57.3;
  chart.MaxLiftAngle = 0.3;
  SetFlightLimits(rocket, chart);
  EXPECT_DOUBLE_EQ(rocket.Airfoils.MaxAngleOfAttack, 50 / 57.3);
}

// The chart keeps its best range from the first load: on a second one the
// range test no longer succeeds and the lift at the best ratio remains.
TEST(ModelEvaluation, SecondLoadKeepsTheFormsBestRange) {
  Chart c(true);
  c.Run();
  const double first = c.chart.BestRangeValue;
  EXPECT_GT(first, 0);
  c.Run();
  EXPECT_DOUBLE_EQ(c.chart.BestRangeValue, first);
  double best = 0, lift = 0;
  for (const ChartPoint& p : c.chart.Points) {
    const double total = p.WingLift + p.TailLift;
    if (total / p.Drag > best) {
      best = total / p.Drag;
      lift = total;
    }
  }
  EXPECT_DOUBLE_EQ(c.chart.LiftAtBestGlide, lift);
}

}  // namespace
}  // namespace zarv::flight
