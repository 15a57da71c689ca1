#include "flight/propulsion.h"

#include <algorithm>
#include <cmath>

#include "flight/guarded_math.h"
#include "flight/memo_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Inlet pressure ratio with the ram rise; jetTerm is the jet's own (Vj P)^2.
double InletPressure(const FlightState& s, double jetTerm, double floorDivisor) {
  const double v2 = s.AirSpeed * s.AirSpeed;
  const double m2 = s.MachSquared;
  double r;
  if (m2 < 1) {
    r = s.DensityRatio + s.AirDensity * (v2 - jetTerm) / 2 / 102000;
  } else {
    r = (s.DensityRatio + s.AirDensity * (v2 / m2 - jetTerm) / 2 / 102000) * std::pow(m2, 0.76);
  }
  if (r > 1) {
    r = 1;
  } else if (r < s.DensityRatio / floorDivisor) {
    r = s.DensityRatio / floorDivisor;
  }
  return r;
}

// Slipstream through a propeller of pitch `pitch` turning at ratio n.
double Slipstream(const FlightState& s, double pitch, double n, double va) {
  const double k = s.FlowFactor;
  return std::sqrt(k * Sq(pitch * s.RatedRpm * n) + (1 - k) * (va * va));
}

}  // namespace

void RunPistonEngine(FlightState& s, const aircraft::AircraftData& a) {
  double n = s.RotorSpeedRatio;
  if (s.DensityRatio > 0) {
    // Boost stage: the stage that gives the most power at this height.
    s.StageFactor = 1;
    const double g = s.GovernorSetting;
    const auto power = [g](double x) { return 3 * g * std::sqrt(x) - 2 * g * g; };
    const double t = s.Throttle, r = s.DensityRatio;
    const double full = t * s.BoostFactor1;
    double speed = std::min(t / r, full);
    const double b = std::min(t / r / s.BoostFactor2 * s.BoostFactor1, full);
    const double c = std::min(t / r / s.BoostFactor3 * s.BoostFactor1, full);
    const double boost2 = MemoPow(s.BoostStage2Pow, s.BoostFactor2, 0.87);
    const double boost3 = MemoPow(s.BoostStage3Pow, s.BoostFactor3, 0.87);
    if (power(speed) < power(b) * boost2 / s.BoostFactor1) {
      speed = b;
      s.StageFactor = boost2 / s.BoostFactor1;
    }
    if (power(speed) < power(c) * boost3 / s.BoostFactor1) {
      speed = c;
      s.StageFactor = boost3 / s.BoostFactor1;
    }
    s.EngineSpeedRatio = std::sqrt(speed);
    if (1 / r > s.BoostFactor3 && s.TurboBoostFactor > 1) {
      const double x = std::min(s.TurboBoostFactor * r * s.BoostFactor1 / s.BoostFactor3, s.BoostFactor1 / s.BoostFactor3);
      s.ChargeDensityRatio = 288.15 / s.AirTemperature * x;
    } else {
      s.ChargeDensityRatio = s.StageFactor * r * 288.15 / s.AirTemperature;
    }
    const double e = s.EngineSpeedRatio;
    if (s.EngineRating >= 9000) {
      s.PowerAvailable = 3 * e * n - 2 * n * n;
      if (n > 1.01 && s.EngineRating >= 200000) s.PowerAvailable = 0;  // overspeed cut
    } else {
      s.PowerAvailable = (1.15 * e - n) / 0.15;
      if (n > 0 && s.PowerAvailable > 1.1 * e / n) s.PowerAvailable = 1.1 * e / n;
    }
    s.InletPressureRatio = s.ChargeDensityRatio;
  }

  const double va = std::cos(s.Sideslip) * std::cos(s.AngleOfAttack) * s.AirSpeed;
  s.AxialInflowSpeed = va;
  const double soundSpeed2 = s.AirTemperature * 88209 / 216.5;
  s.TipMachSquared = (Sq(kPi * s.PropellerDiameter * n * s.RatedRpm) + Sq(va + s.SlipstreamSpeed) / 4) / soundSpeed2;
  s.CompressibilityFactor = s.TipMachSquared < 1
                                ? 1.0
                                : std::min(1 + Sq(s.MachSquared - 1), 1 + 1.5 / s.TipMachSquared);
  s.PowerBalance = s.PowerAvailable * s.ChargeDensityRatio -
                   (2 * s.SlipstreamSpeed - va) * s.CompressibilityFactor * s.Thrust / s.EngineRating / (n + 0.0001);
  n = n + s.PowerBalance / 5 / s.StepsPerSecond;
  if (n < 0) n = 0;
  s.RotorSpeedRatio = n;

  const double pitch = s.PropellerAngle;
  s.SlipstreamSpeed = Slipstream(s, pitch, n, va);
  if (s.SlipstreamSpeed > 5000) s.SlipstreamSpeed = 5000;
  s.Thrust = 2 * s.PropellerDiscArea * s.AirDensity * s.SlipstreamSpeed * (s.SlipstreamSpeed - va);

  if (a.TailHoldFlag > 0 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    // The two half discs meet the flow at different blade angles.
    const double d = s.PropellerDiameter;
    const double alpha = s.AngleOfAttack;
    const double blade = kPi * d * std::tan(alpha);
    const double lean = d * std::sin(alpha);
    const double v1 = Slipstream(s, pitch + blade - lean, n, va);
    const double v2 = Slipstream(s, pitch - blade + lean, n, va);
    const double t1 = 2 * s.PropellerDiscArea * s.AirDensity * v1 * (v1 - va);
    const double t2 = 2 * s.PropellerDiscArea * s.AirDensity * v2 * (v2 - va);
    s.PFactorMoment = (t1 - t2) * d / 2;
    s.PropellerSideMoment = 0;
    s.PropellerTorqueMoment = -(s.PowerAvailable - s.PowerBalance) * s.PistonTorqueFactor * s.ChargeDensityRatio;
  } else {
    s.PFactorMoment = 0;
    s.PropellerSideMoment = 0;
    s.PropellerTorqueMoment = 0;
  }

  if (s.ConstantSpeedProp == 1) {
    const double g = s.GovernorSetting;
    double p = s.PropellerAngle;
    if (s.PowerBalance > 0) p += 0.005;
    if (n / g > 1) p += 0.01;
    if ((p - 0.01) / p > n / g) p -= 0.01;
    s.PropellerAngle = std::min(std::max(p, s.MinPropellerPitch), s.MaxPropellerPitch);  // no UB if the range is empty
  }
}

void RunJetEngine(FlightState& s) {
  const double vj = s.SlipstreamSpeed;
  double p = s.PropellerAngle;
  const double v = s.AirSpeed;
  s.InletPressureRatio = InletPressure(s, Sq(vj * p), 90000);
  s.InletTemperature = std::pow(s.InletPressureRatio / s.DensityRatio, 0.4 / 1.4) * s.AirTemperature;
  if (!(s.Distance > 0 || (s.Throttle > 0 && s.CourseDistance < 0))) return;

  const double e = std::sqrt(s.Throttle);
  s.EngineSpeedRatio = e;
  const double rate = p > 0.7 ? p * e - p * p * std::sqrt(s.AfterburnerLevel / s.AfterburnerMax / s.NozzlePosition)
                              : p * e - p * p;
  s.PowerAvailable = s.PowerBalance = rate;
  p += rate / s.StepsPerSecond;
  s.PropellerAngle = p;
  s.ChargeDensityRatio = s.InletPressureRatio / s.InletTemperature * 288;
  if (s.AfterburnerLevel > 1) {
    s.GrossThrust = p * p * s.ChargeDensityRatio * s.EngineRating * s.AfterburnerLevel;
  } else {
    s.GrossThrust = p * p * s.ChargeDensityRatio * s.EngineRating / s.AfterburnerMax / s.NozzlePosition;
  }
  const double ram = vj * p > v ? 0.4 * (v * v) * s.ChargeDensityRatio / vj * s.FlowFactor
                                : (v - 0.6 * vj * p) * s.ChargeDensityRatio * s.FlowFactor * p;
  s.Thrust = s.GrossThrust - ram;
  s.RotorSpeedRatio = std::pow(p, 0.35);
}

void RunRocketEngine(FlightState& s) {
  s.InletPressureRatio = InletPressure(s, 0, 900000);
  s.InletTemperature = std::pow(s.InletPressureRatio / s.DensityRatio, 0.4 / 1.4) * s.AirTemperature;
  // Fuel reserve: a low tank takes away all but a low throttle, then that too.
  if (0.07 * s.DryMass > s.FuelQuantity && s.Throttle > 0.3) s.Throttle = 0;
  if (0.02 * s.DryMass > s.FuelQuantity) s.Throttle = 0;
  s.PowerAvailable = s.Throttle - s.RotorSpeedRatio;
  s.RotorSpeedRatio = s.RotorSpeedRatio + s.PowerAvailable / s.StepsPerSecond;
  s.Thrust = s.RotorSpeedRatio * s.EngineRating;
  s.GrossThrust = s.Thrust;
}

void UpdatePropulsion(FlightState& s, const aircraft::AircraftData& a) {
  if (s.EngineType == aircraft::EngineKind::Piston) {
    if (s.Throttle > 0.05) {
      RunPistonEngine(s, a);
    } else {
      s.Thrust = 0;
      s.SlipstreamSpeed = s.AirSpeed;
    }
  } else if (s.EngineType == aircraft::EngineKind::Jet) {
    RunJetEngine(s);
  } else if (s.EngineType == aircraft::EngineKind::Rocket) {
    RunRocketEngine(s);
  }
}

}  // namespace zarv::flight
