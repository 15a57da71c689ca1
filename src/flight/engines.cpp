#include "flight/engines.h"

#include <cmath>
#include <string_view>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

struct PistonRow {
  std::string_view Name;
  double Rating;  // W per engine
  double PropellerDiameter, FlowFactor, SlipstreamSpeed, PropellerAngle, RatedRpm, GearRatio;
  int16_t ConstantSpeedProp;
  double Boost1, Boost2, Turbo;  // stage altitudes, m
  int16_t ManifoldPressureMax, NoiseLevel;
  double EngineDiameter;  // 0 = not set
};

constexpr PistonRow kPistonRows[] = {
    {"O-200", 73600, 1.6, 0.08, 0.5, 2.6, 2750, 1.0, 0, 0, 0, 0, 29, 64, 0},
    {"RR V1650-7", 1186000, 3.2, 0.13, 0.4, 1.0, 3000, 0.479, 1, 0, 6000, 0, 61, 75, 0},
    {"Racing Marin", 2586000, 3.4, 0.22, 0.4, 1.0, 3800, 0.4, 1, 2100, 0, 0, 105, 75, 0},
    {"栄２１", 832000, 2.9, 0.15, 0.5, 1.0, 2700, 0.53, 1, 0, 4050, 0, 35, 75, 1.13},
    {"PW R2800-18", 1567000, 4.0, 0.13, 0.5, 1.0, 2800, 0.43, 1, 0, 6000, 0, 52, 75, 1.28},
    {"PW R2800-63", 1716000, 4.0, 0.18, 0.5, 1.0, 2800, 0.43, 1, 0, 6000, 7600, 57, 75, 1.28},
    {"PW R4360-63", 2800000, 4.4, 0.22, 0.5, 1.0, 2800, 0.43, 1, 0, 360, 0, 52, 75, 1.33},
    {"M-14P", 261000, 2.6, 0.11, 0.5, 2.0, 2800, 1.0, 0, 0, 0, 0, 29, 75, 0.985},
};

struct JetRow {
  std::string_view Name;
  double Thrust, AirFlow, FuelFlow, JetSpeed, AfterburnerMax;
  int16_t Tvc, NoiseLevel;
  double EngineDiameter;
};

constexpr JetRow kJetRows[] = {
    {"JT8D-9", 64450, 145, 0.06, 148, 1.0, 0, 25, 0},
    {"F3-IHI30", 16370, 34, 0.07, 180, 1.0, 0, 72, 0},
    {"PW4052", 231360, 699, 0.029, 161, 1.0, 0, 25, 0},
    {"PW4090", 400430, 1210, 0.029, 161, 1.0, 0, 25, 0},
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

struct RocketRow {
  std::string_view Name;
  double Thrust, FlowFactor, FuelFlow, ExhaustSpeed;
  int16_t NoiseLevel;
  double EngineDiameter;
};

constexpr RocketRow kRocketRows[] = {
    {"LMDPS", 44453, 15, 1.2, 3000, 25, 0.8},
    {"SSME", 2156000, 15, 0.86, 4200, 35, 2.0},
};


}  // namespace

bool IsCatalogueEngine(const std::string& model) {
  if (model == "NO") return true;
  for (const auto& r : kPistonRows) if (model == r.Name) return true;
  for (const auto& r : kJetRows) if (model == r.Name) return true;
  for (const auto& r : kRocketRows) if (model == r.Name) return true;
  return false;
}

void LookUpEngine(FlightState& s, aircraft::AircraftData& a) {
  s.Engine.AfterburnerMax = 1.0;
  s.Engine.GearRatio = 1.0;
  // Character count, not bytes: "栄２１" is three characters.
  std::size_t chars = 0;
  for (unsigned char c : a.EngineModel) chars += (c & 0xC0) != 0x80;
  if (chars < 2 || aircraft::LaunchBelow10(a.LaunchSpeed)) a.EngineModel = "NO";
  const double count = a.EngineCount;

  for (const PistonRow& r : kPistonRows) {
    if (a.EngineModel != r.Name) continue;
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.EngineRating = r.Rating * count;
    s.Engine.PropellerDiameter = r.PropellerDiameter;
    s.Engine.FlowFactor = r.FlowFactor;
    s.Engine.SlipstreamSpeed = r.SlipstreamSpeed;
    s.Engine.PropellerAngle = r.PropellerAngle;
    s.Engine.RatedRpm = r.RatedRpm;
    s.Engine.GearRatio = r.GearRatio;
    s.Engine.ConstantSpeedProp = r.ConstantSpeedProp;
    s.Engine.BoostFactor1 = r.Boost1;
    s.Engine.BoostFactor2 = r.Boost2;
    s.Engine.TurboBoostFactor = r.Turbo;
    s.Engine.ManifoldPressureMax = r.ManifoldPressureMax;
    s.Engine.EngineNoiseLevel = r.NoiseLevel;
    if (r.EngineDiameter != 0) s.Engine.EngineDiameter = r.EngineDiameter;
    s.Engine.RatedFuelFlow = 0.3;
    s.Engine.RotorSpeedRatio = 0.3;
    s.Engine.Throttle = 0.096;
    s.Engine.EngineSpeedRatio = 1.0;
  }

  if (a.EngineModel == "NO") {
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.ConstantSpeedProp = 0;
    s.Engine.EngineNoiseLevel = 64;
    s.Engine.BoostFactor1 = 1.0;
    if (a.WingArea > 0.3) {
      s.Engine.EngineRating = 300;
      s.Engine.PropellerDiameter = 3.2;
      s.Engine.FlowFactor = 0.1;
      s.Engine.SlipstreamSpeed = 0.02;
      s.Engine.PropellerAngle = 6.0;
      s.Engine.RatedRpm = 100;
      s.Engine.GearRatio = 1.0;
    } else {
      s.Engine.EngineRating = 9 * s.Masses.DryMass;
      s.Engine.PropellerDiameter = 0.16 * std::sqrt(s.Masses.DryMass);
      s.Engine.FlowFactor = 0.04;
      s.Engine.SlipstreamSpeed = 0.02;
      s.Engine.PropellerAngle = 0.3;
      s.Engine.RatedRpm = 12000;
      s.Engine.GearRatio = 3.0;
    }
  }

  // Every aircraft, whatever matched so far.
  s.Engine.MaxPropellerPitch = Int(std::tan(85 / kDegreesPerRadian) * kPi * s.Engine.PropellerDiameter * 10) / 10;
  s.Engine.MinPropellerPitch = Int(std::tan(25 / kDegreesPerRadian) * kPi * s.Engine.PropellerDiameter * 10) / 10;
  s.Engine.RatedFuelFlow = s.Engine.RatedFuelFlow / 1000;
  s.Engine.PropellerDiscArea =
      kPi * (s.Engine.PropellerDiameter * s.Engine.PropellerDiameter -
             (s.Engine.PropellerDiameter / 6) * (s.Engine.PropellerDiameter / 6)) / 4;
  if (s.Engine.BoostFactor3 > 0) {
    s.Engine.BoostFactor2 = s.Engine.BoostFactor3 * 1.8 / 2.8;
    s.Engine.BoostFactor1 = s.Engine.BoostFactor2 * 0.8 / 1.8;
  } else if (s.Engine.BoostFactor2 > 0) {
    s.Engine.BoostFactor3 = s.Engine.BoostFactor2;
    s.Engine.BoostFactor1 = s.Engine.BoostFactor2 * 0.8 / 1.8;
  } else {
    s.Engine.BoostFactor2 = s.Engine.BoostFactor3 = s.Engine.BoostFactor1;
  }
  s.Engine.GovernorSetting = 1.0;
  if (s.Engine.RatedRpm > 0) s.Engine.GovernorMinimum = 1000 / s.Engine.RatedRpm;

  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    s.Engine.BoostFactor1 = std::exp(s.Engine.BoostFactor1 / 7600);
    s.Engine.BoostFactor2 = std::exp(s.Engine.BoostFactor2 / 7600);
    s.Engine.BoostFactor3 = std::exp(s.Engine.BoostFactor3 / 7600);
    s.Engine.TurboBoostFactor = std::exp(s.Engine.TurboBoostFactor / 7600);
  }

  for (const JetRow& r : kJetRows) {
    if (a.EngineModel != r.Name) continue;
    s.Engine.EngineType = aircraft::EngineKind::Jet;
    s.Engine.EngineRating = r.Thrust * count;
    s.Engine.FlowFactor = r.AirFlow * count;
    s.Engine.RatedFuelFlow = r.FuelFlow;
    s.Engine.SlipstreamSpeed = r.JetSpeed;
    s.Engine.AfterburnerMax = r.AfterburnerMax;
    s.Engine.TvcCapability = r.Tvc;
    s.Engine.EngineNoiseLevel = r.NoiseLevel;
    if (r.EngineDiameter != 0) s.Engine.EngineDiameter = r.EngineDiameter;
    s.Engine.PropellerAngle = 0.5;
    s.Engine.Throttle = 0.096;
    s.Engine.EngineSpeedRatio = 1.0;
  }
  for (const RocketRow& r : kRocketRows) {
    if (a.EngineModel != r.Name) continue;
    s.Engine.EngineType = aircraft::EngineKind::Rocket;
    s.Engine.EngineRating = r.Thrust * count;
    s.Engine.FlowFactor = r.FlowFactor * count;
    s.Engine.RatedFuelFlow = r.FuelFlow;
    s.Engine.SlipstreamSpeed = r.ExhaustSpeed;
    s.Engine.EngineNoiseLevel = r.NoiseLevel;
    s.Engine.EngineDiameter = r.EngineDiameter;
    s.Engine.PropellerAngle = 0.5;
    s.Engine.Throttle = 0;
    s.Engine.EngineSpeedRatio = 0;
    s.Engine.AfterburnerMax = 1.0;
  }

  s.Engine.RatedFuelFlow = s.Engine.RatedFuelFlow * s.Engine.EngineRating / 3600;

  if (s.Engine.EngineType == aircraft::EngineKind::Jet) {
    s.Engine.GearRatio = 1.0;
    s.Engine.RatedRpm = 10000;
    s.Engine.ManifoldPressureMax = CInt(29.92);
    // Design point of the exhaust: the rated figures hold at the design jet speed.
    s.Engine.InletPressureRatio = 1 - (s.Engine.SlipstreamSpeed * s.Engine.SlipstreamSpeed * 1.225 / 2) / 102000;
    s.Engine.InletTemperature = std::pow(s.Engine.InletPressureRatio, 0.4 / 1.4) * 288;
    s.Engine.ChargeDensityRatio = s.Engine.InletPressureRatio / s.Engine.InletTemperature * 288;
    s.Engine.StageFactor = s.Engine.ChargeDensityRatio;
    s.Engine.RatedFuelFlow = s.Engine.RatedFuelFlow / s.Engine.ChargeDensityRatio;
    s.Engine.FlowFactor = s.Engine.FlowFactor / s.Engine.ChargeDensityRatio;
    s.Engine.EngineRating = s.Engine.EngineRating / s.Engine.ChargeDensityRatio;
  }
  s.Engine.NozzlePosition = 1.0;
  if (s.Engine.EngineType == aircraft::EngineKind::Rocket) {
    s.Engine.RatedRpm = 10000;
    s.Engine.GearRatio = 1.0;
  }
  if (s.Engine.TvcCapability == 1) s.Engine.TvcOn = 1;
}

}  // namespace zarv::flight
