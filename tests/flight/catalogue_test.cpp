#include <gtest/gtest.h>

#include <cmath>

#include "flight/airfoils.h"
#include "flight/engines.h"

namespace zarv::flight {
namespace {

aircraft::AircraftData Powered(const std::string& model, int count) {
  aircraft::AircraftData a;
  a.LaunchSpeed = 100;
  a.EngineModel = model;
  a.EngineCount = static_cast<int16_t>(count);
  a.WingArea = 30;
  return a;
}

TEST(EngineCatalogue, JetDesignPointDividesTheRatedFigures) {
  FlightState s;
  aircraft::AircraftData a = Powered("JT8D-9", 2);
  LookUpEngine(s, a);
  EXPECT_EQ(s.Engine.EngineType, aircraft::EngineKind::Jet);
  // Worked by hand from a jet speed of 148 m/s.
  EXPECT_NEAR(s.Engine.InletPressureRatio, 0.8684686274509804, 1e-15);
  EXPECT_NEAR(s.Engine.InletTemperature, 276.62642814280485, 1e-12);
  EXPECT_NEAR(s.Engine.ChargeDensityRatio, 0.9041759544997691, 1e-15);
  EXPECT_DOUBLE_EQ(s.Engine.StageFactor, s.Engine.ChargeDensityRatio);
  EXPECT_NEAR(s.Engine.EngineRating, 142560.74756081443, 1e-8);
  EXPECT_NEAR(s.Engine.FlowFactor, 320.73403252626986, 1e-10);
  EXPECT_NEAR(s.Engine.RatedFuelFlow, 2.376012459346907, 1e-12);
  EXPECT_DOUBLE_EQ(s.Engine.GearRatio, 1.0);
  EXPECT_DOUBLE_EQ(s.Engine.RatedRpm, 10000);
  EXPECT_EQ(s.Engine.ManifoldPressureMax, 30);
  // Jet rows come after the propeller figures: those stay 0.
  EXPECT_DOUBLE_EQ(s.Engine.MaxPropellerPitch, 0);
  EXPECT_DOUBLE_EQ(s.Engine.GovernorMinimum, 0);
}

TEST(EngineCatalogue, PistonRowsAndLadders) {
  FlightState s;
  aircraft::AircraftData a = Powered("O-200", 1);
  LookUpEngine(s, a);
  EXPECT_EQ(s.Engine.EngineType, aircraft::EngineKind::Piston);
  EXPECT_DOUBLE_EQ(s.Engine.MaxPropellerPitch, 57.3);  // truncated, not rounded
  EXPECT_NEAR(s.Engine.PropellerDiscArea, 1.955, 1e-3);
  EXPECT_DOUBLE_EQ(s.Engine.GovernorMinimum, 1000.0 / 2750);

  FlightState v;
  aircraft::AircraftData merlin = Powered("RR V1650-7", 1);
  LookUpEngine(v, merlin);
  EXPECT_DOUBLE_EQ(v.Engine.BoostFactor1, std::exp(6000 * 0.8 / 1.8 / 7600));
  EXPECT_DOUBLE_EQ(v.Engine.BoostFactor3, std::exp(6000.0 / 7600));

  // The full-width name matches exactly.
  FlightState z;
  aircraft::AircraftData zero = Powered("栄２１", 2);
  LookUpEngine(z, zero);
  EXPECT_DOUBLE_EQ(z.Engine.EngineRating, 1664000);
}

TEST(EngineCatalogue, HumanPowerUnknownAndWideProducts) {
  FlightState s;
  aircraft::AircraftData a = Powered("JT8D-9", 1);
  a.LaunchSpeed = 6;  // a light aircraft always pedals
  LookUpEngine(s, a);
  EXPECT_EQ(a.EngineModel, "NO");
  EXPECT_DOUBLE_EQ(s.Engine.EngineRating, 300);
  EXPECT_DOUBLE_EQ(s.Engine.PropellerDiameter, 3.2);

  FlightState model;
  a.WingArea = 0.3;  // exactly 0.3 m^2 is the small-model row
  model.Masses.DryMass = 4;
  LookUpEngine(model, a);
  EXPECT_DOUBLE_EQ(model.Engine.EngineRating, 36);

  // Products are full width: no 16-bit wrap.
  FlightState t;
  aircraft::AircraftData twin = Powered("TFE1042-70", 2);
  LookUpEngine(t, twin);
  EXPECT_NEAR(t.Engine.EngineRating * t.Engine.ChargeDensityRatio, 53560, 1e-9);

  FlightState u;
  aircraft::AircraftData unknown = Powered("RB168-Mk202", 2);
  LookUpEngine(u, unknown);
  EXPECT_EQ(u.Engine.EngineType, aircraft::EngineKind::None);
  EXPECT_DOUBLE_EQ(u.Engine.EngineRating, 0);
}

// Every row of the catalogue against the table it was typed from, three
// engines each (rows are per engine; "NO" rows are not multiplied).
struct PistonCase {
  const char* Name;
  double WingArea, DryMass;
  double Rating;  // W, all engines
  double PropellerDiameter, FlowFactor, SlipstreamSpeed, PropellerAngle, RatedRpm, GearRatio;
  int ConstantSpeedProp;
  double Stage1, Stage2, Stage3, Turbo;  // altitudes after the ladder, m
  int ManifoldPressureMax, Noise;
  double EngineDiameter;  // -1: left as it was
  double FuelPerKwh, Throttle, RotorSpeed, EngineSpeed;
};

TEST(EngineCatalogue, EveryPropellerRow) {
  const PistonCase rows[] = {
      {"O-200", 30, 0, 220800, 1.6, 0.08, 0.5, 2.6, 2750, 1.0, 0, 0, 0, 0, 0, 29, 64, -1, 0.3, 0.096, 0.3, 1},
      {"RR V1650-7", 30, 0, 3558000, 3.2, 0.13, 0.4, 1.0, 3000, 0.479, 1, 2666.6666666666667, 6000, 6000, 0, 61, 75, -1,
       0.3, 0.096, 0.3, 1},
      {"Racing Marin", 30, 0, 7758000, 3.4, 0.22, 0.4, 1.0, 3800, 0.4, 1, 2100, 2100, 2100, 0, 105, 75, -1, 0.3, 0.096,
       0.3, 1},
      {"栄２１", 30, 0, 2496000, 2.9, 0.15, 0.5, 1.0, 2700, 0.53, 1, 1800, 4050, 4050, 0, 35, 75, 1.13, 0.3, 0.096, 0.3, 1},
      {"PW R2800-18", 30, 0, 4701000, 4.0, 0.13, 0.5, 1.0, 2800, 0.43, 1, 2666.6666666666667, 6000, 6000, 0, 52, 75, 1.28,
       0.3, 0.096, 0.3, 1},
      {"PW R2800-63", 30, 0, 5148000, 4.0, 0.18, 0.5, 1.0, 2800, 0.43, 1, 2666.6666666666667, 6000, 6000, 7600, 57, 75,
       1.28, 0.3, 0.096, 0.3, 1},
      {"PW R4360-63", 30, 0, 8400000, 4.4, 0.22, 0.5, 1.0, 2800, 0.43, 1, 160, 360, 360, 0, 52, 75, 1.33, 0.3, 0.096, 0.3,
       1},
      {"M-14P", 30, 0, 783000, 2.6, 0.11, 0.5, 2.0, 2800, 1.0, 0, 0, 0, 0, 0, 29, 75, 0.985, 0.3, 0.096, 0.3, 1},
      // Pedalling, and a small model of 4 kg: 9 W a kilogram, a propeller
      // of 0.16 x 2 m.
      {"NO", 0.3001, 4, 300, 3.2, 0.1, 0.02, 6.0, 100, 1.0, 0, 1, 1, 1, 0, 0, 64, -1, 0, 0, 0, 0},
      {"NO", 0.3, 4, 36, 0.32, 0.04, 0.02, 0.3, 12000, 3.0, 0, 1, 1, 1, 0, 0, 64, -1, 0, 0, 0, 0},
  };
  for (const PistonCase& r : rows) {
    SCOPED_TRACE(std::string(r.Name) + " on " + std::to_string(r.WingArea) + " m2");
    FlightState s;
    s.Engine.EngineDiameter = -1;
    s.Masses.DryMass = r.DryMass;
    aircraft::AircraftData a = Powered(r.Name, 3);
    a.WingArea = r.WingArea;
    LookUpEngine(s, a);
    const EngineState& e = s.Engine;
    EXPECT_EQ(e.EngineType, aircraft::EngineKind::Piston);
    EXPECT_NEAR(e.EngineRating, r.Rating, r.Rating * 1e-12);
    EXPECT_NEAR(e.PropellerDiameter, r.PropellerDiameter, 1e-12);
    EXPECT_DOUBLE_EQ(e.FlowFactor, r.FlowFactor);
    EXPECT_DOUBLE_EQ(e.SlipstreamSpeed, r.SlipstreamSpeed);
    EXPECT_DOUBLE_EQ(e.PropellerAngle, r.PropellerAngle);
    EXPECT_DOUBLE_EQ(e.RatedRpm, r.RatedRpm);
    EXPECT_DOUBLE_EQ(e.GearRatio, r.GearRatio);
    EXPECT_EQ(e.ConstantSpeedProp, r.ConstantSpeedProp);
    // Factors exp(h / 7600) of the stage altitudes.
    EXPECT_NEAR(std::log(e.BoostFactor1) * 7600, r.Stage1, 1e-9);
    EXPECT_NEAR(std::log(e.BoostFactor2) * 7600, r.Stage2, 1e-9);
    EXPECT_NEAR(std::log(e.BoostFactor3) * 7600, r.Stage3, 1e-9);
    EXPECT_NEAR(std::log(e.TurboBoostFactor) * 7600, r.Turbo, 1e-9);
    EXPECT_EQ(e.ManifoldPressureMax, r.ManifoldPressureMax);
    EXPECT_EQ(e.EngineNoiseLevel, r.Noise);
    EXPECT_DOUBLE_EQ(e.EngineDiameter, r.EngineDiameter);
    // kg/s at rating from kg per kW and hour.
    EXPECT_NEAR(e.RatedFuelFlow * 3600 * 1000 / e.EngineRating, r.FuelPerKwh, 1e-12);
    EXPECT_DOUBLE_EQ(e.Throttle, r.Throttle);
    EXPECT_DOUBLE_EQ(e.RotorSpeedRatio, r.RotorSpeed);
    EXPECT_DOUBLE_EQ(e.EngineSpeedRatio, r.EngineSpeed);
    EXPECT_DOUBLE_EQ(e.AfterburnerMax, 1.0);
  }
}

struct JetCase {
  const char* Name;
  double Thrust, AirFlow, FuelPerNh, JetSpeed, AfterburnerMax;
  int Tvc, Noise;
  double EngineDiameter;  // -1: left as it was
};

TEST(EngineCatalogue, EveryJetAndRocketRow) {
  const JetCase rows[] = {
      {"JT8D-9", 64450, 145, 0.06, 148, 1.0, 0, 25, -1},
      {"F3-IHI30", 16370, 34, 0.07, 180, 1.0, 0, 72, -1},
      {"PW4052", 231360, 699, 0.029, 161, 1.0, 0, 25, -1},
      {"PW4090", 400430, 1210, 0.029, 161, 1.0, 0, 25, -1},
      {"F100-PW100", 64510, 106, 0.068, 178, 1.64, 0, 88, 1.18},
      {"F119-PW100", 106780, 147, 0.071, 180, 1.46, 1, 88, 1.33},
      {"F404-GE400", 46720, 70.4, 0.072, 180, 1.52, 0, 88, 0.95},
      {"F404-GE402", 53390, 75.3, 0.076, 191, 1.5, 0, 88, 0.95},
      {"F110-GE129", 75570, 122, 0.076, 170, 1.71, 0, 88, 1.18},
      {"TFE1042-70", 26780, 43, 0.076, 178, 1.54, 0, 88, 0.78},
      {"AL-31F", 77860, 110, 0.067, 186, 1.6, 0, 88, 1.22},
      {"AL-37FU", 90320, 118, 0.071, 200, 1.6, 1, 88, 1.22},
      {"RD-33", 49980, 76, 0.075, 185, 1.63, 0, 88, 0.99},
      {"TF40-IHI801", 22740, 34.9, 0.071, 184, 1.43, 0, 72, 0.76},
      {"RM8B", 72010, 145, 0.06, 148, 1.74, 0, 72, 1.39},
      {"FNX-5011B", 96040, 108, 0.069, 170, 1.48, 1, 88, 1.16},
      {"J79-GE17", 52770, 77, 0.084, 187, 1.5, 0, 72, 0.97},
      {"J79-GE8A", 44450, 77, 0.084, 187, 1.58, 0, 72, 0.99},
      {"J85-GE21", 15560, 24, 0.096, 197, 1.43, 0, 72, 0.53},
      {"Olympus", 125000, 200, 0.084, 192, 1.4, 0, 25, 1.4},
  };
  for (const JetCase& r : rows) {
    SCOPED_TRACE(r.Name);
    FlightState s;
    s.Engine.EngineDiameter = -1;
    aircraft::AircraftData a = Powered(r.Name, 3);
    LookUpEngine(s, a);
    const EngineState& e = s.Engine;
    EXPECT_EQ(e.EngineType, aircraft::EngineKind::Jet);
    // The rated figures are divided by the design point's density ratio.
    EXPECT_NEAR(e.EngineRating * e.ChargeDensityRatio, 3 * r.Thrust, r.Thrust * 1e-12);
    EXPECT_NEAR(e.FlowFactor * e.ChargeDensityRatio, 3 * r.AirFlow, r.AirFlow * 1e-12);
    EXPECT_NEAR(e.RatedFuelFlow * 3600 / e.EngineRating, r.FuelPerNh, 1e-15);
    EXPECT_DOUBLE_EQ(e.SlipstreamSpeed, r.JetSpeed);
    EXPECT_DOUBLE_EQ(e.AfterburnerMax, r.AfterburnerMax);
    EXPECT_EQ(e.TvcCapability, r.Tvc);
    EXPECT_EQ(e.TvcOn, r.Tvc);
    EXPECT_EQ(e.EngineNoiseLevel, r.Noise);
    EXPECT_DOUBLE_EQ(e.EngineDiameter, r.EngineDiameter);
    EXPECT_DOUBLE_EQ(e.PropellerAngle, 0.5);
    EXPECT_DOUBLE_EQ(e.Throttle, 0.096);
    EXPECT_DOUBLE_EQ(e.EngineSpeedRatio, 1.0);
  }

  struct RocketCase {
    const char* Name;
    double Thrust, FlowFactor, FuelPerNh, ExhaustSpeed;
    int Noise;
    double EngineDiameter;
  };
  const RocketCase rockets[] = {
      {"LMDPS", 44453, 15, 1.2, 3000, 25, 0.8},
      {"SSME", 2156000, 15, 0.86, 4200, 35, 2.0},
  };
  for (const RocketCase& r : rockets) {
    SCOPED_TRACE(r.Name);
    FlightState s;
    aircraft::AircraftData a = Powered(r.Name, 3);
    LookUpEngine(s, a);
    const EngineState& e = s.Engine;
    EXPECT_EQ(e.EngineType, aircraft::EngineKind::Rocket);
    EXPECT_DOUBLE_EQ(e.EngineRating, 3 * r.Thrust);
    EXPECT_DOUBLE_EQ(e.FlowFactor, 3 * r.FlowFactor);
    EXPECT_NEAR(e.RatedFuelFlow * 3600 / e.EngineRating, r.FuelPerNh, 1e-15);
    EXPECT_DOUBLE_EQ(e.SlipstreamSpeed, r.ExhaustSpeed);
    EXPECT_EQ(e.EngineNoiseLevel, r.Noise);
    EXPECT_DOUBLE_EQ(e.EngineDiameter, r.EngineDiameter);
    EXPECT_DOUBLE_EQ(e.PropellerAngle, 0.5);
    EXPECT_DOUBLE_EQ(e.Throttle, 0);
    EXPECT_DOUBLE_EQ(e.EngineSpeedRatio, 0);
    EXPECT_DOUBLE_EQ(e.AfterburnerMax, 1.0);
    EXPECT_DOUBLE_EQ(e.RatedRpm, 10000);
  }
}

struct AirfoilCase {
  const char* Wing;
  double TailplaneArm, CgPosition, FinHalfSpacing;
  const char* Engine;
  int Tvc;
  double DryMass;
  double ExpectedDegrees;
};

TEST(Airfoils, MaximumAngleRulesInOrder) {
  const AirfoilCase cases[] = {
      // Leading-edge flap wing: layout rule, then the F119 raise, then the
      // single-fin cap, then the engine rules.
      {"NACA64A105LE?", 5, 0.3, 2, "F119-PW100", 1, 10000, 60},
      {"NACA64A105LE?", 5, 0.3, 2, "AL-31F", 1, 10000, 35},
      {"NACA64A105LE?", 5, 0.3, 2, "AL-31F", 0, 10000, 30},
      {"NACA64A105LE?", 5, 0.3, 0.9, "F119-PW100", 1, 10000, 25},
      {"NACA64A105LE?", -3, -0.1, 2, "F119-PW100", 1, 10000, 20},
      {"NACA64A105LE?", -3, 0.1, 2, "F119-PW100", 1, 10000, 60},
      {"NACA64A510?", 5, 0.3, 2, "AL-31F", 0, 10000, 25},
      {"NACA64A510?", 5, 0.3, 0, "O-200", 0, 1000, 18},
      {"NACA64A105LE?", 5, 0.3, 0, "SSME", 0, 19000, 25},
      {"NACA64A105LE?", 5, 0.3, 0, "SSME", 0, 19000.1, 50},
      {"naca0012", 5, 0.3, 2, "AL-31F", 0, 1000, 0},
  };
  for (const AirfoilCase& c : cases) {
    FlightState s;
    aircraft::AircraftData a = Powered(c.Engine, 1);
    a.WingAirfoil = c.Wing;
    a.TailAirfoil = "NACA0012";
    a.TailplaneArm = c.TailplaneArm;
    a.CgPosition = c.CgPosition;
    a.FinHalfSpacing = c.FinHalfSpacing;
    s.Masses.DryMass = c.DryMass;
    LookUpEngine(s, a);
    s.Engine.TvcCapability = static_cast<int16_t>(c.Tvc);
    SetAirfoilCoefficients(s, a);
    EXPECT_DOUBLE_EQ(s.Airfoils.MaxAngleOfAttack, c.ExpectedDegrees) << c.Wing << " " << c.Engine;
  }
}

// The angle of least profile drag, in degrees as the tables hold it; the
// two tables differ for three names, and two wings have no tailplane row.
TEST(Airfoils, MinimumDragAnglesOfEachSurface) {
  const struct {
    const char* Name;
    double Wing, Tail;  // -1: no tailplane row
  } rows[] = {
      {"NACA0009", 0, 0},        {"NACA0012", 0, 0},       {"NACA4415", 0.8, 0},
      {"NACA4412", 0.8, 0},      {"NACA6412", 1.0, 1.0},   {"DAE41?", 0, 0},
      {"FX61-126?", 0, 0},       {"AG-160-21?", 2.5, -1},  {"NACA64A510?", 1.5, 1.5},
      {"NACA64A710?", 1.5, 1.5}, {"NACA64A210?", 0, 1.5},  {"NACA64A205?", 1.0, 1.0},
      {"NACA64A005?", 0, 0},     {"NACA64A105LE?", 0.5, -1},
  };
  for (const auto& r : rows) {
    FlightState s;
    aircraft::AircraftData a = Powered("AL-31F", 1);
    a.WingAirfoil = a.TailAirfoil = r.Name;
    a.TailplaneArm = 4;
    const AirfoilLookup found = SetAirfoilCoefficients(s, a);
    EXPECT_TRUE(found.WingFound) << r.Name;
    EXPECT_EQ(found.TailFound, r.Tail >= 0) << r.Name;
    EXPECT_EQ(s.Airfoils.WingMinDragAngle, r.Wing) << r.Name;
    EXPECT_EQ(s.Airfoils.TailMinDragAngle, r.Tail >= 0 ? r.Tail : 0) << r.Name;
  }
}

TEST(Airfoils, PistonTorqueTailplaneSignAndUnknownNames) {
  FlightState s;
  aircraft::AircraftData a = Powered("O-200", 1);
  a.WingAirfoil = "NACA4412";
  a.TailAirfoil = "NACA4412";
  a.TailplaneArm = 4;
  LookUpEngine(s, a);
  const AirfoilLookup found = SetAirfoilCoefficients(s, a);
  EXPECT_TRUE(found.WingFound && found.TailFound);
  EXPECT_DOUBLE_EQ(s.Airfoils.PistonTorqueFactor, 73600 / (2750 * 6.28) / 2);
  // Behind the wing: camber turned over and W forced to 1; a canard keeps both.
  EXPECT_DOUBLE_EQ(s.Airfoils.TailLiftOffset, -0.4);
  EXPECT_DOUBLE_EQ(s.Airfoils.TailDragRiseLimit, 500);
  FlightState c;
  a.TailplaneArm = -2;
  SetAirfoilCoefficients(c, a);
  EXPECT_DOUBLE_EQ(c.Airfoils.TailLiftOffset, 0.4);
  EXPECT_DOUBLE_EQ(c.Airfoils.TailDragRiseLimit, 500 / 12.25);

  // Unknown names (a wing-only row for the tail): profile drag 1, reported.
  FlightState u;
  a.WingAirfoil = "NACA4412 ";
  a.TailAirfoil = "AG-160-21?";
  const AirfoilLookup missing = SetAirfoilCoefficients(u, a);
  EXPECT_FALSE(missing.WingFound);
  EXPECT_FALSE(missing.TailFound);
  EXPECT_DOUBLE_EQ(u.Airfoils.WingProfileDrag, 1.0);
  EXPECT_DOUBLE_EQ(u.Airfoils.TailProfileDrag, 1.0);
}

}  // namespace
}  // namespace zarv::flight
