#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include "flight/aircraft_setup.h"
#include "flight/flight_load.h"
#include "flight/loop_fixture.h"
#include "flight/state_listing.h"

namespace zarv::flight {
namespace {

aircraft::AircraftData Marden7() { return testing::Sample("Marden７"); }

struct Loaded {
  aircraft::AircraftData a;
  FlightState s;
  model::AirframeOutline o;
  ModelEvaluation chart;
  FlightLoadResult result;
  explicit Loaded(aircraft::AircraftData data, double throttleAtLoad = 0) : a(std::move(data)) {
    s.Engine.Throttle = throttleAtLoad;
    result = PrepareFlightScreenLoad(a, s, o, chart);
  }
};

// Values worked by hand from the load, set-up and per-flight set-up rules.
TEST(FlightLoad, Marden7WingMassAndTrim) {
  Loaded m(Marden7());
  ASSERT_TRUE(m.result.Accepted);
  EXPECT_TRUE(m.result.Notices.empty());
  const FlightState& s = m.s;
  const double tol = 1e-12;
  EXPECT_DOUBLE_EQ(s.Masses.DryMass, 100.39);
  // Centre half-span 1.5 m (twin fins, light, low wing); root chord ratio
  // 19.2 / (2 x 7.44).
  EXPECT_NEAR(s.Setup.RootChordRatio, 19.2 / 14.88, tol);
  EXPECT_NEAR(m.a.InnerTaper, 0.75 * 19.2 / 14.88, tol);
  EXPECT_NEAR(s.Setup.CentrePanelArea, 3.9919354838709675, tol);
  EXPECT_NEAR(s.Setup.InnerPanelArea, 4.540826612903224, tol);
  EXPECT_NEAR(s.Setup.TipPanelArea, 0.11975806451612903, tol);
  // The planform adds up to the wing area.
  EXPECT_NEAR(s.Setup.CentrePanelArea + 2 * (s.Setup.InnerPanelArea + s.Setup.OuterPanelArea + s.Setup.TipPanelArea), 19.8, 1e-12);
  EXPECT_NEAR(s.Setup.InnerPanelSpanPos, 3.2875, tol);
  EXPECT_NEAR(s.Setup.OuterPanelSpanPos, 7.133333333333333, tol);
  EXPECT_NEAR(s.Setup.TipPanelSpanPos, 9.41, tol);
  EXPECT_NEAR(s.Setup.OuterPanelSweepOffset, 0.05112414925738708, tol);
  EXPECT_NEAR(s.Setup.SweepAreaFactor, 0.9956471001877217, tol);
  EXPECT_NEAR(s.Masses.StructureMoment, 14.747551061354311, tol);
  EXPECT_NEAR(s.Masses.CgChordFraction, 0.3558247843293285, tol);
  EXPECT_NEAR(s.Masses.PilotArm, -0.06537601330939408, tol);
  EXPECT_NEAR(s.Masses.TrimMin, s.Masses.PilotArm - 0.14, tol);
  EXPECT_NEAR(s.Masses.CgX, 0.10913180883962004, tol);
  EXPECT_NEAR(s.Masses.WingAcOffset, 0.026631808839619985, tol);
  // Pedal power, working airfoils.
  EXPECT_EQ(m.a.EngineModel, "NO");
  EXPECT_DOUBLE_EQ(s.Engine.EngineRating, 300);
  EXPECT_DOUBLE_EQ(s.Engine.RatedRpm, 100.0 / 60);
  EXPECT_NEAR(s.Airfoils.WingLiftOffset, 1.3 * 0.4 / 6.28, tol);
  EXPECT_NEAR(s.Airfoils.WingAngleOffset, -0.3 * 0.4 / 6.28, tol);
  EXPECT_NEAR(s.Airfoils.WingDragRise, 5 / 12.25 * 0.0115 * 90, tol);
  EXPECT_NEAR(s.Airfoils.TailDragRise, 5 * 0.0085 * 90, tol);
  EXPECT_NEAR(s.Airfoils.WingMinDragAngle, 0.8 / 57.3, tol);
  // Washout 1 deg at the tips (field 13), half of it on the outer panels.
  EXPECT_NEAR(m.a.TipWashout, 1 / 57.3, tol);
  EXPECT_NEAR(s.Setup.HalfWashout, 0.5 / 57.3, tol);
  // Start values.
  EXPECT_DOUBLE_EQ(s.Air.AirDensity, 354.025 / 306 * 1025 / 1013);
  EXPECT_DOUBLE_EQ(s.Body.Altitude, 10.7);
  EXPECT_DOUBLE_EQ(s.Controls.ElevatorAngle, -3 / 57.3);
  EXPECT_DOUBLE_EQ(s.Body.StartRadius, 10 - 1.25 * 5.8);
  EXPECT_DOUBLE_EQ(m.a.SurfaceRate, 8);
  EXPECT_EQ(s.Loop.StepsPerSecond, 24);
  EXPECT_NEAR(s.Body.NoseVector[2], std::sin(-15 / 57.3), tol);
}

TEST(FlightLoad, Marden7AirframeSetUp) {
  Loaded m(Marden7());
  const FlightState& s = m.s;
  const double tol = 1e-12;
  EXPECT_EQ(m.result.Builder, model::OutlineBuilder::Pod);
  EXPECT_DOUBLE_EQ(s.Setup.BodyHeight, 0.72);  // raised for more than 35 kg
  EXPECT_DOUBLE_EQ(s.Setup.BodyHalfWidth, 0.36);
  EXPECT_DOUBLE_EQ(s.Setup.WingRootOffset, 1.35);  // the twin fins' half spacing
  EXPECT_NEAR(s.Setup.MeanChord, 19.8 / 19.2, tol);
  EXPECT_NEAR(s.Setup.FinChord, 0.8 * std::sqrt(0.6), tol);
  EXPECT_NEAR(s.Setup.TailChord, 2.16 / 2.9, tol);
  EXPECT_NEAR(s.Setup.TailPointArm, 3.6656206896551726, tol);
  EXPECT_NEAR(s.Setup.DihedralRise, 0.642936027486911, tol);
  EXPECT_DOUBLE_EQ(m.a.EyeHeight, 0.504);
  const double lift = 2 * (0.45 - 0.504) / 19.2;
  EXPECT_NEAR(m.a.InnerDihedral, 5.5 / 57.3 + lift, tol);
  EXPECT_NEAR(s.Setup.InitialInnerWingDeflection, m.a.InnerDihedral + std::atan(0.7 / 19.2), tol);
  // The first pass's wing must see the static dihedrals, not zero.
  EXPECT_EQ(s.Controls.InnerDihedralLoaded, m.a.InnerDihedral);
  EXPECT_EQ(s.Controls.OuterDihedralLoaded, m.a.OuterDihedral);
  EXPECT_EQ(s.Controls.TipDihedralLoaded, m.a.TipDihedral);
  EXPECT_NEAR(m.a.GearPosition, -0.0037473352389504754, tol);
  EXPECT_DOUBLE_EQ(s.Setup.GearHeight, 0.1);
  EXPECT_NEAR(s.Setup.BodySideArea, 1.8, tol);
  EXPECT_NEAR(s.Air.EyeAltitude, 10.83893602748691, tol);
  EXPECT_NEAR(s.Setup.Gravity, 9.8064, 1e-4);
  // Wing root station, light aircraft: 1.5 body half widths out.
  EXPECT_DOUBLE_EQ(m.o.WingX(1, 0), 1.35);
  EXPECT_NEAR(m.o.WingY(1, 0), -0.75 * s.Setup.MeanChord * s.Setup.RootChordRatio, tol);
}

TEST(FlightLoad, Marden7ChartAndLimits) {
  Loaded m(Marden7());
  const FlightState& s = m.s;
  const double tol = 1e-12;
  EXPECT_NEAR(m.chart.ReferenceSpeed, 11.63160728198899, 1e-11);
  EXPECT_NEAR(s.Aero.EffectiveAspectRatio, 20.025104190227363, tol);
  EXPECT_NEAR(s.Aero.LiftSlope, 0.8941117105335932, tol);
  EXPECT_NEAR(s.Aero.TailLiftSlope, 0.6240916826297443, tol);
  EXPECT_NEAR(s.Aero.TailReynoldsFactor, 1.3629804347947587, tol);
  // The pedalled aircraft's 18 degrees lies above 0.9 x the angle of the
  // largest lift, so it comes down to that.
  EXPECT_NEAR(s.Airfoils.MaxAngleOfAttack, 0.9 * m.chart.MaxLiftAngle, tol);
  EXPECT_NEAR(s.Setup.MinAngleOfAttack, -s.Airfoils.MaxAngleOfAttack - 0.04, tol);
  EXPECT_DOUBLE_EQ(s.Setup.GroundAngleLimit, 0.45);
  EXPECT_DOUBLE_EQ(s.Airfoils.WingLiftOffsetNow, s.Airfoils.WingLiftOffset);
  // The sweep leaves the angle of its last step: 35.5 deg less the incidence.
  EXPECT_NEAR(s.Air.AngleOfAttack, 35.5 * 3.141592 / 180 - 3 / 57.3, 1e-12);
}

TEST(FlightLoad, EverySampleLoadsWithFiniteValues) {
  for (const aircraft::SampleAircraft& sample : aircraft::SampleAircraftList()) {
    Loaded m(testing::FromLines(sample.Lines));
    ASSERT_TRUE(m.result.Accepted) << sample.FileName;
    EXPECT_TRUE(m.result.Notices.empty()) << sample.FileName;
    // Every number the state listing holds (text fields do not parse).
    std::ostringstream listing;
    ListFlightState(listing, m.s);
    std::istringstream lines(listing.str());
    for (std::string line; std::getline(lines, line);) {
      const std::string value = line.substr(line.find(' ') + 1);
      char* end = nullptr;
      const double v = std::strtod(value.c_str(), &end);
      if (end != value.c_str()) {
        EXPECT_TRUE(std::isfinite(v)) << sample.FileName << " " << line;
      }
    }
    EXPECT_EQ(m.result.Builder,
              m.a.WingHeight < 0.9 ? model::OutlineBuilder::Pod : model::OutlineBuilder::SlicedFairing);
    if (sample.FileName == "MardenⅡ.brd") {
      EXPECT_DOUBLE_EQ(m.a.SurfaceRate, 60);  // default, capped
    }
  }
}

TEST(FlightLoad, RefusesDataThatWouldDivideByZero) {
  struct Case {
    void (*Break)(aircraft::AircraftData&);
    const char* Field;
  };
  const Case cases[] = {
      {[](aircraft::AircraftData& a) { a.WingSpan = 0; }, "主翼幅"},
      {[](aircraft::AircraftData& a) { a.WingArea = 0; }, "主翼面積"},
      {[](aircraft::AircraftData& a) { a.PilotWeight = 0; }, "パイロット重量"},
      {[](aircraft::AircraftData& a) { a.TailplaneArm = 0; }, "水平尾翼モーメントアーム"},
      {[](aircraft::AircraftData& a) { a.FinArm = 0; }, "垂直尾翼モーメントアーム"},
      {[](aircraft::AircraftData& a) { a.InnerTaper = 0; }, "内翼テーパー比"},
      {[](aircraft::AircraftData& a) { a.OuterTaper = 0; }, "外翼テーパー比"},
  };
  for (const Case& c : cases) {
    aircraft::AircraftData a = Marden7();
    c.Break(a);
    const aircraft::AircraftData before = a;
    Loaded m(a);
    EXPECT_FALSE(m.result.Accepted) << c.Field;
    EXPECT_NE(m.result.RefusalMessage.find(c.Field), std::string::npos) << m.result.RefusalMessage;
    EXPECT_EQ(m.a.InnerTaper, before.InnerTaper);  // nothing changed
  }
  // Without a tailplane a zero arm is fine.
  aircraft::AircraftData tailless = Marden7();
  tailless.TailplaneArea = 0;
  tailless.TailplaneArm = 0;
  Loaded t(tailless);
  EXPECT_TRUE(t.result.Accepted);
  EXPECT_TRUE(std::isfinite(t.s.Setup.TailWakeGap));
}

TEST(FlightLoad, RefusesWhatWouldFlyIntoNaNAtOnce) {
  // A wing too short for its centre section: panels of negative span.
  aircraft::AircraftData stub = Marden7();
  stub.WingSpan = 2;
  Loaded s(stub);
  EXPECT_FALSE(s.result.Accepted);
  EXPECT_NE(s.result.RefusalMessage.find("主翼幅"), std::string::npos) << s.result.RefusalMessage;
}

TEST(FlightLoad, AnAircraftWithoutAnEngineToRunLoadsAsAGlider) {
  // No engines, or a model the catalogue lacks: no rated power, a finite
  // set-up, and the glider's summary.
  aircraft::AircraftData none = testing::Powered(testing::Engine::Piston);
  none.EngineCount = 0;
  Loaded n(none);
  ASSERT_TRUE(n.result.Accepted) << n.result.RefusalMessage;
  EXPECT_EQ(n.s.Engine.EngineType, aircraft::EngineKind::Piston);
  EXPECT_EQ(n.s.Engine.EngineRating, 0);
  EXPECT_EQ(CheckDerivedQuantities(n.s, n.o, n.chart), "");
  EXPECT_NE(n.chart.SummaryText.find("最適滑空速度"), std::string::npos);
  aircraft::AircraftData unknown = testing::Powered(testing::Engine::Jet);
  unknown.EngineModel = "RB168-Mk202";  // offered by the editor, not in the catalogue
  Loaded u(unknown);
  ASSERT_TRUE(u.result.Accepted) << u.result.RefusalMessage;
  EXPECT_EQ(u.s.Engine.EngineType, aircraft::EngineKind::None);
  EXPECT_EQ(u.s.Engine.EngineRating, 0);
  EXPECT_EQ(CheckDerivedQuantities(u.s, u.o, u.chart), "");
}

TEST(FlightLoad, NamesTheFirstQuantityOfTheSetUpThatIsNotFinite) {
  Loaded m(Marden7());
  ASSERT_TRUE(m.result.Accepted);
  EXPECT_EQ(CheckDerivedQuantities(m.s, m.o, m.chart), "");

  const double nan = std::nan(""), inf = HUGE_VAL;
  using Spoil = void (*)(FlightState&, model::AirframeOutline&, ModelEvaluation&, double nan, double inf);
  const std::pair<const char*, Spoil> cases[] = {
      {"TailChord", [](auto& s, auto&, auto&, double nan, double) { s.Setup.TailChord = nan; }},
      {"NoseVector(2)", [](auto& s, auto&, auto&, double, double inf) { s.Body.NoseVector[2] = -inf; }},
      {"PanelLiftSlope(6)", [](auto& s, auto&, auto&, double nan, double) { s.Wing.Panels[6].PanelLiftSlope = nan; }},
      {"Wing", [](auto&, auto& o, auto&, double, double inf) { o.WingZ(3, 2) = inf; }},
      {"Pivot", [](auto&, auto& o, auto&, double nan, double) { o.PartPivots[5].Y = nan; }},
      {"FinHingeX", [](auto&, auto& o, auto&, double, double inf) { o.FinHingeX = -inf; }},
      {"ReferenceSpeed", [](auto&, auto&, auto& c, double, double inf) { c.ReferenceSpeed = inf; }},
      // The state before the outline, the outline before the chart values.
      {"Altitude",
       [](auto& s, auto& o, auto& c, double nan, double) { s.Body.Altitude = o.WingX[0] = c.MaxLiftAngle = nan; }},
      {"Tail", [](auto&, auto& o, auto& c, double nan, double) { o.TailY[7] = o.FinHingeY = c.TailAngleFactor = nan; }},
  };
  for (const auto& [name, spoil] : cases) {
    FlightState s = m.s;
    model::AirframeOutline o = m.o;
    ModelEvaluation chart = m.chart;
    spoil(s, o, chart, nan, inf);
    EXPECT_NE(CheckDerivedQuantities(s, o, chart).find(std::string("「") + name + "」"), std::string::npos) << name;
  }

  // A text is no number, whatever words it holds.
  FlightState s = m.s;
  s.Sound.LoopSound = "/home/pilot/zarv nan inf/wind.wav";
  EXPECT_EQ(CheckDerivedQuantities(s, m.o, m.chart), "");
}

TEST(FlightLoad, ClampsConditionsAndReportsUnknownAirfoils) {
  aircraft::AircraftData a = Marden7();
  a.SurfaceTemperature = -300;
  a.SurfacePressure = 5000;
  a.WingAirfoil = "NACA9999";
  Loaded m(a);
  ASSERT_TRUE(m.result.Accepted);
  EXPECT_DOUBLE_EQ(m.a.SurfaceTemperature, -20);
  EXPECT_DOUBLE_EQ(m.a.SurfacePressure, 1050);
  ASSERT_EQ(m.result.Notices.size(), 1u);
  EXPECT_NE(m.result.Notices[0].find("NACA9999"), std::string::npos);
  EXPECT_DOUBLE_EQ(m.s.Airfoils.WingProfileDrag, 1.0);
  EXPECT_TRUE(std::isfinite(m.s.Aero.LiftSlope));
}

// The surface conditions come onto the bars' ranges, -20 to +50 degrees and
// 700 to 1050 hPa: each end is kept, a step past it is brought back to it.
TEST(FlightLoad, SurfaceConditionsHeldAtBothEndsOfTheBars) {
  const std::pair<double, double> temperatures[] = {{-20.5, -20}, {-20, -20}, {-19.5, -19.5}, {49.5, 49.5},
                                                    {50, 50},     {50.5, 50}, {80, 50}};
  for (const auto& [given, kept] : temperatures) {
    aircraft::AircraftData a;
    a.SurfaceTemperature = given;
    a.SurfacePressure = 1013;
    ClampSurfaceConditions(a);
    EXPECT_EQ(a.SurfaceTemperature, kept) << given;
    EXPECT_EQ(a.SurfacePressure, 1013) << given;
  }
  const std::pair<double, double> pressures[] = {{600, 700},   {699, 700},   {700, 700},  {701, 701},
                                                 {1049, 1049}, {1050, 1050}, {1051, 1050}};
  for (const auto& [given, kept] : pressures) {
    aircraft::AircraftData a;
    a.SurfacePressure = given;
    a.SurfaceTemperature = 15;
    ClampSurfaceConditions(a);
    EXPECT_EQ(a.SurfacePressure, kept) << given;
    EXPECT_EQ(a.SurfaceTemperature, 15) << given;
  }
  aircraft::AircraftData a;
  a.SurfaceTemperature = a.SurfacePressure = std::nan("");
  ClampSurfaceConditions(a);
  EXPECT_EQ(a.SurfaceTemperature, 15);
  EXPECT_EQ(a.SurfacePressure, 1013);

  // The screen's load applies them: the hot, thin end here (the cold, dense
  // one is above).
  aircraft::AircraftData hot = Marden7();
  hot.SurfaceTemperature = 300;
  hot.SurfacePressure = 10;
  Loaded m(hot);
  ASSERT_TRUE(m.result.Accepted);
  EXPECT_EQ(m.a.SurfaceTemperature, 50);
  EXPECT_EQ(m.a.SurfacePressure, 700);
}

// The trim keys' range: without fuel 15 steps forward and 7 back of the
// pilot's place, 0.02 m each (0.01 m without a tailplane); with fuel 10
// steps either way of the centre, a hundredth of the chord times the mass
// over the fuel.
TEST(FlightLoad, TrimRangeAtBothEnds) {
  Loaded glider(Marden7());
  const MassProperties& g = glider.s.Masses;
  EXPECT_DOUBLE_EQ(g.TrimStep, 0.02);
  EXPECT_NEAR(g.TrimMax, g.PilotArm + 0.3, 1e-12);
  EXPECT_NEAR(g.TrimMin, g.PilotArm - 0.14, 1e-12);
  EXPECT_EQ(g.TrimCentre, g.PilotArm);

  aircraft::AircraftData tailless = Marden7();
  tailless.TailplaneArea = 0;
  Loaded t(tailless);
  ASSERT_TRUE(t.result.Accepted) << t.result.RefusalMessage;
  EXPECT_DOUBLE_EQ(t.s.Masses.TrimStep, 0.01);
  EXPECT_NEAR(t.s.Masses.TrimMax, t.s.Masses.PilotArm + 0.15, 1e-12);
  EXPECT_NEAR(t.s.Masses.TrimMin, t.s.Masses.PilotArm - 0.07, 1e-12);

  aircraft::AircraftData fuelled = Marden7();
  fuelled.EngineCount = 1;
  fuelled.EngineModel = "O-200";
  fuelled.FuelCapacity = 40;
  Loaded f(fuelled);
  ASSERT_TRUE(f.result.Accepted) << f.result.RefusalMessage;
  const MassProperties& m = f.s.Masses;
  const double step = 19.8 / 19.2 / 100 * m.Mass / 40;
  EXPECT_NEAR(m.TrimStep, step, 1e-12);
  EXPECT_NEAR(m.TrimCentre, (m.CgChordFraction - 0.25) * 19.8 / 19.2, 1e-12);
  EXPECT_NEAR(m.TrimMax, m.TrimCentre + 10 * step, 1e-12);
  EXPECT_NEAR(m.TrimMin, m.TrimCentre - 10 * step, 1e-12);
}

// A start point at least 1 mm out; a control-surface rate worked from the
// tailplane of at most 60 degrees a second; a wing section's drag rise of at
// least 1.
TEST(FlightLoad, StartRadiusSurfaceRateAndDragRiseLimits) {
  for (const auto& [speed, radius] : {std::pair{7.99, 10 - 1.25 * 7.99}, {8.0, 0.001}, {9.5, 0.001}}) {
    aircraft::AircraftData a = Marden7();
    a.LaunchSpeed = speed;
    Loaded m(a);
    EXPECT_DOUBLE_EQ(m.s.Body.StartRadius, radius) << speed;
  }
  for (const auto& [area, rate] : {std::pair{1.5, 60.0}, {625.0, 57.3}}) {
    aircraft::AircraftData a = Marden7();
    a.SurfaceRate = 0;
    a.TailplaneArea = area;
    Loaded m(a);
    EXPECT_NEAR(m.a.SurfaceRate, rate, 1e-12) << area;
  }
  // An unknown section has no drag rise (taken as 1: 5 x 100); the thin
  // NACA64A005? has 1.2.
  aircraft::AircraftData a = Marden7();
  a.WingAirfoil = "NACA9999";
  EXPECT_DOUBLE_EQ(Loaded(a).s.Airfoils.WingDragRiseLimit, 500);
  a.WingAirfoil = "NACA64A005?";
  EXPECT_NEAR(Loaded(a).s.Airfoils.WingDragRiseLimit, 5 / (1.2 * 1.2) * 100, 1e-9);
}

TEST(FlightLoad, PoweredLaunchHeightSnapsAndStartsHigh) {
  aircraft::AircraftData a = Marden7();
  a.LaunchSpeed = 12;
  a.EngineModel = "O-200";
  a.EngineCount = 1;
  a.FuelCapacity = 50;
  // Each end of the two snaps: up to 7.5 m the surface, up to 50 m 15 m.
  for (auto [height, expected] : {std::pair{5.0, 0.0}, {7.5, 0.0}, {7.6, 15.0}, {30.0, 15.0}, {50.0, 15.0},
                                  {50.1, 50.1}, {60.0, 60.0}}) {
    aircraft::AircraftData p = a;
    p.LaunchHeight = height;
    Loaded m(p);
    ASSERT_TRUE(m.result.Accepted);
    EXPECT_DOUBLE_EQ(m.a.LaunchHeight, expected);
    EXPECT_DOUBLE_EQ(m.s.Body.Altitude, expected);
    EXPECT_DOUBLE_EQ(m.s.Body.StartRadius, 0.001);
    EXPECT_DOUBLE_EQ(m.s.Air.EyeAltitude, 2.0);
    EXPECT_EQ(m.result.Builder, model::OutlineBuilder::None);
    // Piston: 18 deg, unless the chart's largest lift comes earlier.
    EXPECT_DOUBLE_EQ(m.s.Airfoils.MaxAngleOfAttack, std::min(18 / 57.3, 0.9 * m.chart.MaxLiftAngle));
  }
}

// After the set-up every launch height is 0 or above 1 m: a light aircraft
// (10 m/s or less) with no platform under it starts at 0, a powered one at 0
// up to 7.5 m and at 15 m up to 50 m. A throttle already open at the load
// idles at 0.096 for a start above the water, judged for a powered aircraft
// on the height as filed, so one filed a few metres up idles on the water.
// Marden7 has no catalogue engine, which would set the throttle itself.
TEST(FlightLoad, LaunchHeightAfterTheSetUpIsZeroOrAboveAMetre) {
  struct Case {
    double Filed, Light, Powered, LightThrottle, PoweredThrottle;
  };
  const Case cases[] = {
      {-3, 0, 0, 0.5, 0.5},          {0, 0, 0, 0.5, 0.5},         {0.5, 0, 0, 0.5, 0.096},
      {1, 0, 0, 0.5, 0.096},         {1.0001, 1.0001, 0, 0.096, 0.096}, {7.5, 7.5, 0, 0.096, 0.096},
      {8, 8, 15, 0.096, 0.096},      {50.1, 50.1, 50.1, 0.096, 0.096},
  };
  for (const Case& c : cases) {
    for (const double speed : {5.8, 10.0, 10.01, 12.0}) {
      const bool powered = speed > 10;
      aircraft::AircraftData a = Marden7();
      a.LaunchSpeed = speed;
      a.LaunchHeight = c.Filed;
      Loaded m(a, 0.5);
      ASSERT_TRUE(m.result.Accepted) << c.Filed << " at " << speed;
      const double height = powered ? c.Powered : c.Light;
      EXPECT_EQ(m.a.LaunchHeight, height) << c.Filed << " at " << speed;
      EXPECT_EQ(m.s.Body.Altitude, height) << c.Filed << " at " << speed;
      EXPECT_EQ(m.s.Engine.Throttle, powered ? c.PoweredThrottle : c.LightThrottle) << c.Filed << " at " << speed;
    }
  }
}

// The choice table itself is the model's; the set-up hands it the engine
// diameter and centre half-span it has worked out.
TEST(OutlineBuilderChoice, TakesTheSetUpsEngineAndCentreSection) {
  aircraft::AircraftData a;
  FlightState s;
  a.LaunchSpeed = 100;
  a.EngineCount = 2;
  a.FinHalfSpacing = 2;
  a.CgPosition = 0.3;
  s.Engine.EngineDiameter = 1.0;
  s.Setup.WingRootOffset = 2.0;
  EXPECT_EQ(SelectOutlineBuilder(a, s), model::OutlineBuilder::NarrowNacelle);
  s.Setup.WingRootOffset = 1.45;
  EXPECT_EQ(SelectOutlineBuilder(a, s), model::OutlineBuilder::WideNacelle);
}

}  // namespace
}  // namespace zarv::flight
