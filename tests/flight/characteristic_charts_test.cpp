#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "aircraft/aircraft_file.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_load.h"

namespace zarv::flight {
namespace {

// A light aircraft worked by hand: mean chord 0.8 m (printed ".800"), the
// centre of gravity at the quarter chord, so the tail arms stand as given.
struct LightSummary {
  aircraft::AircraftData a;
  FlightState s;
  ModelEvaluation chart;
  LightSummary() {
    a.WingArea = 20;
    a.WingSpan = 25;
    a.CgPosition = 0.25;
    a.TailplaneArea = 2;
    a.TailplaneArm = 5;
    a.FinArea = 1;
    a.FinArm = 4;
    s.Masses.DryMass = 100;
    s.Setup.GeometricAspectRatio = 31.25;
    s.Engine.EngineRating = 0;
    s.Airfoils.MaxAngleOfAttack = 0.3;
    chart.MaxLiftAngle = 0.3;
    chart.LiftAtBestGlide = 19.6;  // best glide sqrt(2 x 9.8 x 100 / 19.6) = 10 m/s
  }
};

TEST(AircraftSummary, LightLayoutWorkedByHand) {
  LightSummary c;
  FinishAircraftChartLoad(c.s, c.a, c.chart);
  // Tailplane: 2/20 x (5/0.8) = 0.625 and 0.1 x 6.25^2; fin: 1/20 x 4/25 and 0.05 x 0.16^2.
  EXPECT_EQ(c.chart.SummaryText,
            "  総重量   100Kg\r\n"
            "   翼面荷重 5.00kg/㎡  ｱｽﾍﾟｸﾄ比  31.250  平均空力翼弦  .800ｍ\r\n"
            "   水尾静ﾎﾞﾘｭｰﾑ  0.625   水尾動ﾎﾞﾘｭｰﾑ  3.906\r\n"
            "   垂尾静ﾎﾞﾘｭｰﾑ  0.008   垂尾動ﾎﾞﾘｭｰﾑ  0.001\r\n"
            "   最適滑空速度  10.0000 ｍ/ｓ(ｈ=５ｍ)");
  // The limits follow the summary.
  EXPECT_NEAR(c.s.Airfoils.MaxAngleOfAttack, 0.27, 1e-15);
  EXPECT_NEAR(c.s.Setup.MinAngleOfAttack, -0.31, 1e-15);
  EXPECT_DOUBLE_EQ(c.s.Setup.GroundAngleLimit, 0.45);
}

// The centre of gravity 0.15 chords behind the quarter chord (c = 12/15 =
// 0.8 m) shortens both tail arms: tailplane 4/0.8 - 0.15 = 4.85 chords, so
// 1.6/12 x 4.85 = 0.6467 and 1.6/12 x 4.85^2 = 3.1363; fin (4.5 - 0.15 x
// 0.8)/15 = 0.292 spans, so 1.2/12 x 0.292 = 0.0292 and 0.1 x 0.292^2 =
// 0.0085. 90 kg on 12 m^2, aspect ratio 15^2/12, glide sqrt(2 x 9.8 x 90/12).
TEST(AircraftSummary, EveryFigureWithTheCentreOfGravityBehindTheQuarterChord) {
  LightSummary c;
  c.a.WingArea = 12;
  c.a.WingSpan = 15;
  c.a.CgPosition = 0.4;
  c.a.TailplaneArea = 1.6;
  c.a.TailplaneArm = 4;
  c.a.FinArea = 1.2;
  c.a.FinArm = 4.5;
  c.s.Masses.DryMass = 90;
  c.s.Setup.GeometricAspectRatio = 18.75;
  c.chart.LiftAtBestGlide = 12;
  FinishAircraftChartLoad(c.s, c.a, c.chart);
  EXPECT_EQ(c.chart.SummaryText,
            "  総重量   90Kg\r\n"
            "   翼面荷重 7.50kg/㎡  ｱｽﾍﾟｸﾄ比  18.750  平均空力翼弦  .800ｍ\r\n"
            "   水尾静ﾎﾞﾘｭｰﾑ  0.647   水尾動ﾎﾞﾘｭｰﾑ  3.136\r\n"
            "   垂尾静ﾎﾞﾘｭｰﾑ  0.029   垂尾動ﾎﾞﾘｭｰﾑ  0.009\r\n"
            "   最適滑空速度  12.1244 ｍ/ｓ(ｈ=５ｍ)");
}

TEST(AircraftSummary, PoweredLayoutWorkedByHand) {
  aircraft::AircraftData a;
  a.WingArea = 16;
  a.WingSpan = 8;
  a.CgPosition = 0.25;
  a.TailplaneArea = 4;
  a.TailplaneArm = 6;
  a.FinArea = 2;
  a.FinArm = 4;
  a.FuelCapacity = 200;
  FlightState s;
  s.Masses.DryMass = 1000;
  s.Setup.GeometricAspectRatio = 4;
  s.Engine.EngineType = aircraft::EngineKind::Piston;
  s.Engine.EngineRating = 150000;
  s.Airfoils.MaxAngleOfAttack = 0.3;
  ModelEvaluation chart;
  chart.MaxLiftAngle = 0.3;
  FinishAircraftChartLoad(s, a, chart);
  // 150 kW / 1200 kg; the trim limit printed before it is lowered to 0.27 rad.
  EXPECT_EQ(chart.SummaryText,
            "  総重量   1200Kg   1000Kg  出力重量比 0.125\r\n"
            "   翼面荷重 75.00kg/㎡  ｱｽﾍﾟｸﾄ比  4.000\r\n"
            "   水尾静ﾎﾞﾘｭｰﾑ  0.750   水尾動ﾎﾞﾘｭｰﾑ  2.250\r\n"
            "   垂尾静ﾎﾞﾘｭｰﾑ  0.063   垂尾動ﾎﾞﾘｭｰﾑ  0.031\r\n"
            "Max Trim AOA 17.2  Max Lift AOA 17.2  Max Operation AOA 15.5");

  // A second load prints the limit the first one lowered.
  FinishAircraftChartLoad(s, a, chart);
  EXPECT_EQ(SummaryLines(chart.SummaryText).back(), "Max Trim AOA 15.5  Max Lift AOA 17.2  Max Operation AOA 15.5");

  // A jet's figure is its full-afterburner thrust over the full weight:
  // sqrt(0.81) x 1.5 x 98000 N / 9.8 / 1200 kg.
  s.Engine.EngineType = aircraft::EngineKind::Jet;
  s.Engine.EngineRating = 98000;
  s.Engine.InletPressureRatio = 0.81;
  s.Engine.AfterburnerMax = 1.5;
  FinishAircraftChartLoad(s, a, chart);
  EXPECT_EQ(SummaryLines(chart.SummaryText).front(), "  総重量   1200Kg   1000Kg  出力重量比 11.250");
}

TEST(AircraftSummary, LayoutsSwitchOnTheRating) {
  LightSummary c;
  c.s.Engine.EngineType = aircraft::EngineKind::Piston;
  c.s.Engine.EngineRating = 10;  // the powered layout, still with the glide speed
  FinishAircraftChartLoad(c.s, c.a, c.chart);
  std::vector<std::string> lines = SummaryLines(c.chart.SummaryText);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "  総重量   100Kg   100Kg  出力重量比 0.000");
  EXPECT_EQ(lines[4], "   最適滑空速度  10.0000 ｍ/ｓ(ｈ=５ｍ)");

  LightSummary at9000;
  at9000.s.Engine.EngineType = aircraft::EngineKind::Piston;
  at9000.s.Engine.EngineRating = 9000;
  FinishAircraftChartLoad(at9000.s, at9000.a, at9000.chart);
  lines = SummaryLines(at9000.chart.SummaryText);
  EXPECT_EQ(lines.back(), "Max Trim AOA 17.2  Max Lift AOA 17.2  Max Operation AOA 15.5");

  // The axis numbers follow the rating too: -2..38 or -10..90.
  EXPECT_EQ(AircraftChartAxisNumber(0, 8999), -2);
  EXPECT_EQ(AircraftChartAxisNumber(20, 8999), 38);
  EXPECT_EQ(AircraftChartAxisNumber(0, 9000), -10);
  EXPECT_EQ(AircraftChartAxisNumber(20, 9000), 90);
}

TEST(AircraftSummary, BestGlideSpeedWithoutLiftShowsDashes) {
  EXPECT_EQ(BestGlideSpeedText(100, 0), "----");
  EXPECT_EQ(BestGlideSpeedText(100, -3), "----");
  EXPECT_EQ(BestGlideSpeedText(100, std::nan("")), "----");
  EXPECT_EQ(BestGlideSpeedText(100, 1e-320), "----");  // overflows to infinity
  EXPECT_EQ(BestGlideSpeedText(100, 19.6), "10.0000");

  LightSummary c;
  c.chart.LiftAtBestGlide = 0;
  FinishAircraftChartLoad(c.s, c.a, c.chart);
  EXPECT_EQ(SummaryLines(c.chart.SummaryText).back(), "   最適滑空速度  ---- ｍ/ｓ(ｈ=５ｍ)");
}

// A reference aircraft through the flight screen's load.
struct LoadedAircraft {
  aircraft::AircraftData a;
  FlightState s;
  model::AirframeOutline o;
  ModelEvaluation chart;
  explicit LoadedAircraft(const std::string& name, void (*change)(aircraft::AircraftData&) = nullptr) {
    const std::string path = std::string(ZARV_SOURCE_DIR) + "/tests/data/aircraft/" + name;
    EXPECT_TRUE(aircraft::LoadAircraftData(path, a, nullptr)) << path;
    if (change) change(a);
    EXPECT_TRUE(PrepareFlightScreenLoad(a, s, o, chart).Accepted);
  }
};

TEST(AircraftChartRows, FollowTheModelEvaluation) {
  LoadedAircraft piston("TestPiston.brd");
  EXPECT_FALSE(piston.chart.SummaryText.empty());
  int plotted = 0;
  for (int i : {0, 60, 100, 185, 300, kChartSteps - 1}) {
    const ChartPoint& p = piston.chart.Points[static_cast<size_t>(i)];
    const AircraftChartRow row = AircraftChartRowAt(piston.chart, i, piston.s, piston.a);
    EXPECT_DOUBLE_EQ(row.AngleOfAttack, ((i - 60) / 4.0) * 3.141592 / 180);
    EXPECT_DOUBLE_EQ(row.LiftCoefficient, p.WingLift / piston.a.WingArea);
    EXPECT_DOUBLE_EQ(row.LiftCoefficientPlain, p.WingLiftPlain / piston.a.WingArea);
    const double lift = p.WingLift + p.TailLift;
    ASSERT_EQ(row.LiftToDrag.has_value(), lift > 0) << i;
    if (lift > 0) {
      ++plotted;
      EXPECT_DOUBLE_EQ(*row.LiftToDrag, lift / p.Drag);
      EXPECT_DOUBLE_EQ(*row.DragCoefficient, p.Drag / piston.a.WingArea);
      ASSERT_TRUE(row.RangeValue.has_value());  // the piston aircraft has an engine
      EXPECT_DOUBLE_EQ(*row.RangeValue, std::sqrt(piston.s.Masses.DryMass / lift / 1000) * lift / p.Drag);
    }
  }
  EXPECT_GE(plotted, 4);
  // At -15 degrees the whole aircraft lifts downwards: no lift-to-drag point.
  EXPECT_FALSE(AircraftChartRowAt(piston.chart, 0, piston.s, piston.a).LiftToDrag.has_value());

  // A glider plots no range; its light sweep runs over the wing's angle.
  LoadedAircraft glider("Marden7.brd");
  const AircraftChartRow row = AircraftChartRowAt(glider.chart, 100, glider.s, glider.a);
  EXPECT_FALSE(row.RangeValue.has_value());
  EXPECT_DOUBLE_EQ(row.AngleOfAttack, 6 * 3.141592 / 180 - glider.s.Setup.WingIncidenceRad);
}

TEST(AircraftChartRows, AircraftWithoutFinArmOrTailStayFinite) {
  LoadedAircraft bare("Marden7.brd", [](aircraft::AircraftData& a) {
    a.FinArm = 0;
    a.FinArea = 0;
    a.TailplaneArea = 0;
    a.TailplaneArm = 0;
  });
  for (int i = 0; i < kChartSteps; ++i) {
    const AircraftChartRow row = AircraftChartRowAt(bare.chart, i, bare.s, bare.a);
    ASSERT_TRUE(std::isfinite(row.LiftCoefficient)) << i;
    ASSERT_TRUE(std::isfinite(row.LiftCoefficientPlain)) << i;
    if (row.LiftToDrag) {
      ASSERT_TRUE(std::isfinite(*row.LiftToDrag) && std::isfinite(*row.DragCoefficient)) << i;
    }
    EXPECT_FALSE(row.TailLiftCoefficient.has_value());
  }
  EXPECT_EQ(bare.chart.SummaryText.find("nan"), std::string::npos);
  EXPECT_EQ(bare.chart.SummaryText.find("Inf"), std::string::npos);
  EXPECT_NE(bare.chart.SummaryText.find("   水尾静ﾎﾞﾘｭｰﾑ  0.000   水尾動ﾎﾞﾘｭｰﾑ  0.000"), std::string::npos);
  EXPECT_TRUE(std::isfinite(bare.s.Airfoils.MaxAngleOfAttack));
  EXPECT_TRUE(std::isfinite(bare.s.Setup.MinAngleOfAttack));
}

TEST(AirfoilChart, SymmetricSectionAndChartWorkingValues) {
  FlightState s;
  s.Airfoils.WingProfileDrag = 0.01;
  s.Airfoils.WingDragRise = 2;
  s.Airfoils.WingDragRiseLimit = 40;
  AirfoilChart chart;
  EvaluateAirfoilChart(s, kAirfoilChartSpeedChord, chart);
  EXPECT_NEAR(chart.ReynoldsNumber, 150290, 1);
  EXPECT_NEAR(chart.ReynoldsFactor, 0.7017, 1e-4);
  EXPECT_DOUBLE_EQ(chart.Points.back().AngleOfAttack, 22 * 3.141592 / 180);
  // Zero lift at zero angle; the drag there is the profile drag raised by
  // the low Reynolds number.
  EXPECT_EQ(chart.Points[20].Lift, 0);
  EXPECT_DOUBLE_EQ(chart.Points[20].Drag, 0.01 / chart.ReynoldsFactor);
  // -1 and +1 degree: equal drag, opposite lift.
  EXPECT_NEAR(chart.Points[0].Drag, chart.Points[40].Drag, 1e-15);
  EXPECT_NEAR(chart.Points[0].Lift, -chart.Points[40].Lift, 1e-15);
  // The section stalls inside the range: its lift peaks before 22 degrees.
  double best = 0;
  int at = 0;
  for (int i = 0; i < kAirfoilChartSteps; ++i) {
    if (chart.Points[static_cast<size_t>(i)].Lift > best) best = chart.Points[static_cast<size_t>(i)].Lift, at = i;
  }
  EXPECT_LT(at, kAirfoilChartSteps - 1);

  AirfoilChart developer;
  EvaluateAirfoilChart(s, kAirfoilDeveloperSpeedChord, developer);
  EXPECT_NEAR(developer.ReynoldsFactor, 1.7515, 1e-4);
}

// The lift curve at the chart's Reynolds number, worked apart from the code:
// q = |a0|/5 + Cd0, A = 0.5/sqrt(q) kRe^0.7, B = 8e-6/q^4 kRe^4, and
// Cl = 6.28 (sin(2(a + a0))/2 + Cl0) / (1 + B |a + a0|^A). The stall
// divisor's exponent and factor move the curve most past 9 degrees.
TEST(AirfoilChart, LiftCurveAtTheChartReynoldsNumberWorkedApart) {
  struct Section {
    double angleOffset, liftOffset, profileDrag;
    double exponent, factor;
    double lift[5];  // at 3, 9, 13, 17 and 22 degrees
  };
  const Section sections[] = {
      {0, 0, 0.01, 3.901825, 193.931732, {0.434405, 0.849962, 0.863255, 0.651916, 0.387371}},
      {0.07, 0.01, 0.008, 2.630610, 8.278624, {0.887878, 1.233574, 1.358657, 1.360313, 1.245951}},
  };
  const int steps[] = {100, 200, 280, 360, 460};
  for (const Section& c : sections) {
    FlightState s;
    s.Airfoils.WingAngleOffset = c.angleOffset;
    s.Airfoils.WingLiftOffset = c.liftOffset;
    s.Airfoils.WingProfileDrag = c.profileDrag;
    AirfoilChart chart;
    EvaluateAirfoilChart(s, kAirfoilChartSpeedChord, chart);
    EXPECT_NEAR(chart.StallExponent, c.exponent, 1e-6) << c.angleOffset;
    EXPECT_NEAR(chart.StallFactor, c.factor, 1e-6) << c.angleOffset;
    for (int k = 0; k < 5; ++k)
      EXPECT_NEAR(chart.Points[static_cast<size_t>(steps[k])].Lift, c.lift[k], 2e-6)
          << c.angleOffset << " at step " << steps[k];
  }
}

}  // namespace
}  // namespace zarv::flight
