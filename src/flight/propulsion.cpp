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
  const double v2 = s.Body.AirSpeed * s.Body.AirSpeed;
  const double m2 = s.Air.MachSquared;
  double r;
  if (m2 < 1) {
    r = s.Air.DensityRatio + s.Air.AirDensity * (v2 - jetTerm) / 2 / 102000;
  } else {
    r = (s.Air.DensityRatio + s.Air.AirDensity * (v2 / m2 - jetTerm) / 2 / 102000) * std::pow(m2, 0.76);
  }
  if (r > 1) {
    r = 1;
  } else if (r < s.Air.DensityRatio / floorDivisor) {
    r = s.Air.DensityRatio / floorDivisor;
  }
  return r;
}

// Slipstream through a propeller of pitch `pitch` turning at ratio n.
double Slipstream(const FlightState& s, double pitch, double n, double va) {
  const double k = s.Engine.FlowFactor;
  return std::sqrt(k * Sq(pitch * s.Engine.RatedRpm * n) + (1 - k) * (va * va));
}

// The air turns a propeller whose last thrust was negative only up to the
// speed where its pitch speed meets the inflow and the thrust vanishes (or
// not at all once past it); the engine's own share of the step still adds.
// Near rest the balance divides by almost 0, and one step would throw the
// propeller far past that speed into an enormous thrust. Only a step that
// would more than double that speed is stopped: the small steps of a
// windmilling propeller settle by themselves and are left as they were.
double LimitAirDrivenSpeed(const FlightState& s, double before, double after, double va) {
  const double pitchSpeed = s.Engine.PropellerAngle * s.Engine.RatedRpm;
  if (!(s.Engine.Thrust < 0) || !(pitchSpeed > 0)) return after;
  const double engine = s.Engine.PowerAvailable * s.Engine.ChargeDensityRatio / 5 / s.Loop.StepsPerSecond;
  const double limit = std::max(std::max(va, 0.0) / pitchSpeed, before);
  return after - engine > 2 * limit ? limit + engine : after;
}

}  // namespace

void RunPistonEngine(FlightState& s, const aircraft::AircraftData& a) {
  double n = s.Engine.RotorSpeedRatio;
  if (s.Air.DensityRatio > 0) {
    // Boost stage: the stage that gives the most power at this height.
    s.Engine.StageFactor = 1;
    const double g = s.Engine.GovernorSetting;
    const auto power = [g](double x) { return 3 * g * std::sqrt(x) - 2 * g * g; };
    const double t = s.Engine.Throttle, r = s.Air.DensityRatio;
    const double full = t * s.Engine.BoostFactor1;
    double speed = std::min(t / r, full);
    const double b = std::min(t / r / s.Engine.BoostFactor2 * s.Engine.BoostFactor1, full);
    const double c = std::min(t / r / s.Engine.BoostFactor3 * s.Engine.BoostFactor1, full);
    const double boost2 = MemoPow(s.Memo.BoostStage2Pow, s.Engine.BoostFactor2, 0.87);
    const double boost3 = MemoPow(s.Memo.BoostStage3Pow, s.Engine.BoostFactor3, 0.87);
    if (power(speed) < power(b) * boost2 / s.Engine.BoostFactor1) {
      speed = b;
      s.Engine.StageFactor = boost2 / s.Engine.BoostFactor1;
    }
    if (power(speed) < power(c) * boost3 / s.Engine.BoostFactor1) {
      speed = c;
      s.Engine.StageFactor = boost3 / s.Engine.BoostFactor1;
    }
    s.Engine.EngineSpeedRatio = std::sqrt(speed);
    if (1 / r > s.Engine.BoostFactor3 && s.Engine.TurboBoostFactor > 1) {
      const double x = std::min(s.Engine.TurboBoostFactor * r * s.Engine.BoostFactor1 / s.Engine.BoostFactor3, s.Engine.BoostFactor1 / s.Engine.BoostFactor3);
      s.Engine.ChargeDensityRatio = 288.15 / s.Air.AirTemperature * x;
    } else {
      s.Engine.ChargeDensityRatio = s.Engine.StageFactor * r * 288.15 / s.Air.AirTemperature;
    }
    const double e = s.Engine.EngineSpeedRatio;
    if (s.Engine.EngineRating >= 9000) {
      s.Engine.PowerAvailable = 3 * e * n - 2 * n * n;
      if (n > 1.01 && s.Engine.EngineRating >= 200000) s.Engine.PowerAvailable = 0;  // overspeed cut
    } else {
      s.Engine.PowerAvailable = (1.15 * e - n) / 0.15;
      if (n > 0 && s.Engine.PowerAvailable > 1.1 * e / n) s.Engine.PowerAvailable = 1.1 * e / n;
    }
    s.Engine.InletPressureRatio = s.Engine.ChargeDensityRatio;
  }

  const double va = std::cos(s.Air.Sideslip) * std::cos(s.Air.AngleOfAttack) * s.Body.AirSpeed;
  s.Engine.AxialInflowSpeed = va;
  const double soundSpeed2 = s.Air.AirTemperature * 88209 / 216.5;
  s.Engine.TipMachSquared = (Sq(kPi * s.Engine.PropellerDiameter * n * s.Engine.RatedRpm) + Sq(va + s.Engine.SlipstreamSpeed) / 4) / soundSpeed2;
  s.Engine.CompressibilityFactor = s.Engine.TipMachSquared < 1
                                ? 1.0
                                : std::min(1 + Sq(s.Air.MachSquared - 1), 1 + 1.5 / s.Engine.TipMachSquared);
  s.Engine.PowerBalance = s.Engine.PowerAvailable * s.Engine.ChargeDensityRatio -
                   (2 * s.Engine.SlipstreamSpeed - va) * s.Engine.CompressibilityFactor * s.Engine.Thrust / s.Engine.EngineRating / (n + 0.0001);
  const double unlimited = n + s.Engine.PowerBalance / 5 / s.Loop.StepsPerSecond;
  n = LimitAirDrivenSpeed(s, n, unlimited, va);
  // The torque and the governor see the balance that moved the propeller.
  if (n != unlimited) s.Engine.PowerBalance = (n - s.Engine.RotorSpeedRatio) * 5 * s.Loop.StepsPerSecond;
  if (n < 0) n = 0;
  s.Engine.RotorSpeedRatio = n;

  const double pitch = s.Engine.PropellerAngle;
  s.Engine.SlipstreamSpeed = Slipstream(s, pitch, n, va);
  if (s.Engine.SlipstreamSpeed > 5000) s.Engine.SlipstreamSpeed = 5000;
  s.Engine.Thrust = 2 * s.Engine.PropellerDiscArea * s.Air.AirDensity * s.Engine.SlipstreamSpeed * (s.Engine.SlipstreamSpeed - va);

  if (a.TailHoldFlag > 0 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    // The two half discs meet the flow at different blade angles.
    const double d = s.Engine.PropellerDiameter;
    const double alpha = s.Air.AngleOfAttack;
    const double blade = kPi * d * std::tan(alpha);
    const double lean = d * std::sin(alpha);
    const double v1 = Slipstream(s, pitch + blade - lean, n, va);
    const double v2 = Slipstream(s, pitch - blade + lean, n, va);
    const double t1 = 2 * s.Engine.PropellerDiscArea * s.Air.AirDensity * v1 * (v1 - va);
    const double t2 = 2 * s.Engine.PropellerDiscArea * s.Air.AirDensity * v2 * (v2 - va);
    // Toward a right angle of attack tan(alpha), and with it the gap between
    // the halves, grows without end. Yet the halves only share the disc's
    // thrust, each carrying its T/2, and a half brakes at most by the momentum
    // floor of its own area, rho (A/2) Va^2 / 4: the difference is at most the
    // whole thrust plus twice that, on the formula's lever d.
    const double most = std::fabs((std::fabs(s.Engine.Thrust) + s.Air.AirDensity * s.Engine.PropellerDiscArea * va * va / 2) * d);
    s.Engine.PFactorMoment = std::clamp((t1 - t2) * d / 2, -most, most);
    s.Engine.PropellerSideMoment = 0;
    s.Engine.PropellerTorqueMoment = -(s.Engine.PowerAvailable - s.Engine.PowerBalance) * s.Airfoils.PistonTorqueFactor * s.Engine.ChargeDensityRatio;
  } else {
    s.Engine.PFactorMoment = 0;
    s.Engine.PropellerSideMoment = 0;
    s.Engine.PropellerTorqueMoment = 0;
  }

  if (s.Engine.ConstantSpeedProp == 1) {
    const double g = s.Engine.GovernorSetting;
    double p = s.Engine.PropellerAngle;
    if (s.Engine.PowerBalance > 0) p += 0.005;
    if (n / g > 1) p += 0.01;
    if ((p - 0.01) / p > n / g) p -= 0.01;
    s.Engine.PropellerAngle = std::min(std::max(p, s.Engine.MinPropellerPitch), s.Engine.MaxPropellerPitch);  // no UB if the range is empty
  }
}

void RunJetEngine(FlightState& s) {
  const double vj = s.Engine.SlipstreamSpeed;
  double p = s.Engine.PropellerAngle;
  const double v = s.Body.AirSpeed;
  s.Engine.InletPressureRatio = InletPressure(s, Sq(vj * p), 90000);
  s.Engine.InletTemperature = std::pow(s.Engine.InletPressureRatio / s.Air.DensityRatio, 0.4 / 1.4) * s.Air.AirTemperature;
  if (!(s.Body.Distance > 0 || (s.Engine.Throttle > 0 && s.Body.CourseDistance < 0))) return;

  const double e = std::sqrt(s.Engine.Throttle);
  s.Engine.EngineSpeedRatio = e;
  const double rate = p > 0.7 ? p * e - p * p * std::sqrt(s.Engine.AfterburnerLevel / s.Engine.AfterburnerMax / s.Engine.NozzlePosition)
                              : p * e - p * p;
  s.Engine.PowerAvailable = s.Engine.PowerBalance = rate;
  p += rate / s.Loop.StepsPerSecond;
  s.Engine.PropellerAngle = p;
  s.Engine.ChargeDensityRatio = s.Engine.InletPressureRatio / s.Engine.InletTemperature * 288;
  if (s.Engine.AfterburnerLevel > 1) {
    s.Engine.GrossThrust = p * p * s.Engine.ChargeDensityRatio * s.Engine.EngineRating * s.Engine.AfterburnerLevel;
  } else {
    s.Engine.GrossThrust = p * p * s.Engine.ChargeDensityRatio * s.Engine.EngineRating / s.Engine.AfterburnerMax / s.Engine.NozzlePosition;
  }
  const double ram = vj * p > v ? 0.4 * (v * v) * s.Engine.ChargeDensityRatio / vj * s.Engine.FlowFactor
                                : (v - 0.6 * vj * p) * s.Engine.ChargeDensityRatio * s.Engine.FlowFactor * p;
  s.Engine.Thrust = s.Engine.GrossThrust - ram;
  s.Engine.RotorSpeedRatio = std::pow(p, 0.35);
}

void RunRocketEngine(FlightState& s) {
  s.Engine.InletPressureRatio = InletPressure(s, 0, 900000);
  s.Engine.InletTemperature = std::pow(s.Engine.InletPressureRatio / s.Air.DensityRatio, 0.4 / 1.4) * s.Air.AirTemperature;
  // Fuel reserve: a low tank takes away all but a low throttle, then that too.
  if (0.07 * s.Masses.DryMass > s.Masses.FuelQuantity && s.Engine.Throttle > 0.3) s.Engine.Throttle = 0;
  if (0.02 * s.Masses.DryMass > s.Masses.FuelQuantity) s.Engine.Throttle = 0;
  s.Engine.PowerAvailable = s.Engine.Throttle - s.Engine.RotorSpeedRatio;
  s.Engine.RotorSpeedRatio = s.Engine.RotorSpeedRatio + s.Engine.PowerAvailable / s.Loop.StepsPerSecond;
  s.Engine.Thrust = s.Engine.RotorSpeedRatio * s.Engine.EngineRating;
  s.Engine.GrossThrust = s.Engine.Thrust;
}

bool HasEngineToRun(const EngineState& engine) {
  return aircraft::HasEngine(engine.EngineType) && engine.EngineRating != 0;
}

void UpdatePropulsion(FlightState& s, const aircraft::AircraftData& a) {
  // The families take the thrust per unit of rating: with no engines there
  // is none to take (the piston's power balance would divide 0 by 0).
  if (!HasEngineToRun(s.Engine)) return;
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    if (s.Engine.Throttle > 0.05) {
      RunPistonEngine(s, a);
    } else {
      s.Engine.Thrust = 0;
      s.Engine.SlipstreamSpeed = s.Body.AirSpeed;
    }
  } else if (s.Engine.EngineType == aircraft::EngineKind::Jet) {
    RunJetEngine(s);
  } else if (s.Engine.EngineType == aircraft::EngineKind::Rocket) {
    RunRocketEngine(s);
  }
}

}  // namespace zarv::flight
