#include "flight/fuel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "flight/compressibility.h"
#include "flight/ground_contact.h"
#include "flight/guarded_math.h"

namespace zarv::flight {
namespace {

// The jet's fuel-flow divisor. The engine's air mass flow (tens of kg/s),
// taken for it, lets the ram term outweigh the thrust from just above Mach 1,
// so that the flow turned negative and the tank filled; with 1 the
// supersonic flow starts from the subsonic one at Mach 1 and falls as the
// ram grows against the thrust.
constexpr double kJetFuelFlowDivisor = 1.0;

double FuelFlowOf(FlightState& s) {
  if (s.Engine.EngineType == aircraft::EngineKind::Jet) {
    if (s.Engine.AfterburnerLevel < 1) s.Engine.AfterburnerLevel = 1.0;
    const double p = s.Engine.PropellerAngle;
    // The dry flow at this thrust; the supersonic flow falls with the ram.
    const double f0 = GuardedDiv(s.Engine.Thrust, s.Engine.EngineRating) * s.Engine.EngineRating / kJetFuelFlowDivisor * p *
                      s.Engine.AfterburnerLevel;
    const double b = std::pow(s.Engine.AfterburnerLevel, 3.3) * s.Engine.RatedFuelFlow * std::pow(p, 3) * s.Engine.ChargeDensityRatio;
    if (s.Air.MachSquared <= 1) return b;
    if (!(f0 > 0) || !std::isfinite(f0)) return 0;  // no thrust (or less than none): no flow
    const double v2 = s.Body.AirSpeed * s.Body.AirSpeed;
    const double ram = std::pow(v2 - v2 / s.Air.MachSquared, 0.8) * p * kJetFuelFlowDivisor / 2;
    // The ram may take the whole flow, never more: a flow never fills the tank.
    return b * std::max(0.0, (f0 - ram) / f0);
  }
  if (s.Engine.EngineType == aircraft::EngineKind::Rocket) return s.Engine.RatedFuelFlow * s.Engine.RotorSpeedRatio;
  return s.Engine.EngineSpeedRatio * s.Engine.EngineSpeedRatio * s.Engine.ChargeDensityRatio * 1.225 * s.Engine.RatedFuelFlow * s.Engine.RotorSpeedRatio;
}

}  // namespace

void BurnFuel(FlightState& s) {
  s.Instruments.FuelFlow = FuelFlowOf(s);
  s.Masses.FuelQuantity = s.Masses.FuelQuantity - s.Instruments.FuelFlow * 8 * s.Loop.DisplayDivisor / s.Loop.StepsPerSecond;
  if (s.Engine.EngineType == aircraft::EngineKind::Rocket && s.Instruments.DragAcceleration > 30) {
    s.Engine.Throttle -= 0.05;
    if (s.Engine.Throttle < 0) s.Engine.Throttle = 0;
  }
  if (s.Masses.FuelQuantity < 0) {
    s.Engine.EngineSpeedRatio = 0;
    s.Engine.Throttle = 0;
    s.Engine.AfterburnerLevel = 1.0;
    s.Masses.FuelQuantity = 0;
    s.Instruments.EngineShakeCounter = 0;
  }
}

void UpdateBendShares(FlightState& s, const aircraft::AircraftData& a) {
  s.Instruments.WingMassShare = 0.7 * a.WingWeight / s.Masses.Mass;
  const double half = a.WingSpan / 2;
  const double c = s.Setup.WingRootOffset;
  const double l = a.TipLength;
  const double d = a.WingDeflection;
  const double e1 = (c + (half - c - l) / 2) / half;
  s.Instruments.InnerPanelBend = std::pow(e1, 1.7) * d;
  const double e2 = (half - l) / half;
  s.Instruments.OuterPanelBend = std::pow(e2, 1.7) * d - s.Instruments.InnerPanelBend;
  s.Instruments.TipPanelBend = d - s.Instruments.OuterPanelBend - s.Instruments.InnerPanelBend;
}

void UpdateInstrumentPanelPhysics(FlightState& s, const aircraft::AircraftData& a) {
  if (s.Instruments.EngineShakeCounter < INT32_MAX) ++s.Instruments.EngineShakeCounter;
  if (s.Instruments.PanelPhase < INT16_MAX) ++s.Instruments.PanelPhase;
  if (s.Body.Altitude <= -10) return;
  const bool all = AtRestInWater(s.Body, s.Ground, s.Loop);
  if (s.Instruments.PanelPhase == 1 || all) UpdateBendShares(s, a);
  if (s.Instruments.PanelPhase == 4 || all) {
    UpdateCompressibilityFactors(s);
    BurnFuel(s);
    s.Instruments.PanelPhase = 0;
  }
}

}  // namespace zarv::flight
