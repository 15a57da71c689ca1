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
