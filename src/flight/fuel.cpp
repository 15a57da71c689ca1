#include "flight/fuel.h"

#include <cmath>
#include <cstdint>

#include "flight/compressibility.h"
#include "flight/guarded_math.h"

namespace zarv::flight {
namespace {

double FuelFlowOf(FlightState& s) {
  if (s.EngineType == aircraft::EngineKind::Jet) {
    if (s.AfterburnerLevel < 1) s.AfterburnerLevel = 1.0;
    const double p = s.PropellerAngle;
    // The dry flow at this thrust; the supersonic flow falls with the ram.
    const double f0 = GuardedDiv(s.Thrust, s.EngineRating) * s.EngineRating / s.FlowFactor * p * s.AfterburnerLevel;
    const double b = std::pow(s.AfterburnerLevel, 3.3) * s.RatedFuelFlow * std::pow(p, 3) * s.ChargeDensityRatio;
    if (s.MachSquared <= 1) return b;
    if (f0 == 0 || !std::isfinite(f0)) return 0;  // no thrust: no flow
    const double v2 = s.AirSpeed * s.AirSpeed;
    return b * (f0 - std::pow(v2 - v2 / s.MachSquared, 0.8) * p * s.FlowFactor / 2) / f0;
  }
  if (s.EngineType == aircraft::EngineKind::Rocket) return s.RatedFuelFlow * s.RotorSpeedRatio;
  return s.EngineSpeedRatio * s.EngineSpeedRatio * s.ChargeDensityRatio * 1.225 * s.RatedFuelFlow * s.RotorSpeedRatio;
}

}  // namespace

void BurnFuel(FlightState& s) {
  s.FuelFlow = FuelFlowOf(s);
  s.FuelQuantity = s.FuelQuantity - s.FuelFlow * 8 * s.DisplayDivisor / s.StepsPerSecond;
  if (s.EngineType == aircraft::EngineKind::Rocket && s.DragAcceleration > 30) {
    s.Throttle -= 0.05;
    if (s.Throttle < 0) s.Throttle = 0;
  }
  if (s.FuelQuantity < 0) {
    s.EngineSpeedRatio = 0;
    s.Throttle = 0;
    s.AfterburnerLevel = 1.0;
    s.FuelQuantity = 0;
    s.EngineShakeCounter = 0;
  }
}

void UpdateBendShares(FlightState& s, const aircraft::AircraftData& a) {
  s.WingMassShare = 0.7 * a.WingWeight / s.Mass;
  const double half = a.WingSpan / 2;
  const double c = s.WingRootOffset;
  const double l = a.TipLength;
  const double d = a.WingDeflection;
  const double e1 = (c + (half - c - l) / 2) / half;
  s.InnerPanelBend = std::pow(e1, 1.7) * d;
  const double e2 = (half - l) / half;
  s.OuterPanelBend = std::pow(e2, 1.7) * d - s.InnerPanelBend;
  s.TipPanelBend = d - s.OuterPanelBend - s.InnerPanelBend;
}

void UpdateInstrumentPanelPhysics(FlightState& s, const aircraft::AircraftData& a) {
  if (s.EngineShakeCounter < INT32_MAX) ++s.EngineShakeCounter;
  if (s.PanelPhase < INT16_MAX) ++s.PanelPhase;
  if (s.Altitude <= -10) return;
  const bool all = s.Altitude < 0 && s.GroundSpeed < s.StopSpeed;
  if (s.PanelPhase == 1 || all) UpdateBendShares(s, a);
  if (s.PanelPhase == 4 || all) {
    UpdateCompressibilityFactors(s);
    BurnFuel(s);
    s.PanelPhase = 0;
  }
}

}  // namespace zarv::flight
