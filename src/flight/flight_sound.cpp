#include "flight/flight_sound.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::flight {

WindSoundLevels ComputeWindSound(const FlightState& s, const aircraft::AircraftData& a, int32_t baseVolume) {
  WindSoundLevels out;
  const double V = s.Body.AirSpeed, Vs = s.Engine.SlipstreamSpeed, beta = s.Air.Sideslip;
  const double q = s.Air.DynamicPressure, Cd = s.Air.TotalDragArea, P = a.ParasiteDragArea, G = s.Ground.GearExtension;
  const double M = s.Masses.DryMass, S = a.WingArea, rho = s.Air.AirDensity, L = baseVolume;
  if (s.Body.Altitude <= 0) {
    const double W = std::min(V / 8, 1.0);
    out.Left = out.Right = CLng(L * W);
    out.Ratio = W;
    return out;
  }
  double W = 0, E = 0;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) || a.EngineCount < 1) {
    double w = std::min((Cd - P) * V * V / 5, (1.2 - std::cos(beta)) * V * V);
    w += 5 * P * V * V;
    W = (9 * (P * P * P + 1) * std::fabs(Vs * Vs - V * V) + w) * rho / M * S * 0.05;
  } else if (s.Engine.EngineType != aircraft::EngineKind::Jet && s.Engine.EngineType != aircraft::EngineKind::Rocket) {
    const double k = 3 - 2 * Sgn(Vs - V);
    W = 0.25 * std::sqrt(((P + Cd + G) * Vs * Vs + 300 * s.Engine.PropellerDiscArea * std::fabs(Vs - V) * k) / M);
  } else {
    W = 0.1 * std::sqrt(std::fabs(0.02 * q * ((std::sqrt(M) / 300 + 2) * G + P + Cd) / std::pow(M, 0.667)));
    if (s.Engine.EngineType == aircraft::EngineKind::Rocket) {
      const double x = (std::fabs(s.Controls.CasPitchMoment) + std::fabs(s.Controls.CasRollMoment) +
                        std::fabs(static_cast<double>(s.Controls.CasYawMoment))) / 20000 + s.Engine.Thrust / M / 10;
      E = 1.5 * std::pow(x, 0.7);
    } else {
      const double x = (std::fabs(s.Engine.Thrust) / std::sqrt(s.Engine.AfterburnerLevel) + s.Engine.EngineRating / 5) / (1 + V / 500) /
                       s.Engine.EngineRating / s.Engine.AfterburnerMax;
      E = 1.3 * std::pow(x, 1.3) * std::sqrt(s.Engine.EngineNoiseLevel / 90.0);
    }
  }
  if (!std::isfinite(W)) W = 0;
  if (!std::isfinite(E)) E = 0;
  out.EngineLevel = E;
  out.EngineLevelSet = true;
  out.PanSine = std::clamp(std::sin(beta), -1.0, 1.0);
  const double left = ((1 + out.PanSine) * W + E) * L, right = ((1 - out.PanSine) * W + E) * L;
  out.Left = std::min(CLng(std::min(left, 2e9)), baseVolume);
  out.Right = std::min(CLng(std::min(right, 2e9)), baseVolume);
  out.Ratio = (3 * E * E + W) / 2;
  return out;
}

uint32_t PackWaveVolume(int64_t left, int64_t right) {
  const auto limit = [](int64_t v) { return static_cast<uint32_t>(std::clamp<int64_t>(v, 0, 65535)); };
  return limit(right) * 65536u + limit(left);
}

}  // namespace zarv::flight
