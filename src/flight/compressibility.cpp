#include "flight/compressibility.h"

#include <cmath>

namespace zarv::flight {

void UpdateCompressibilityFactors(FlightState& s) {
  const double m2 = s.Air.MachSquared;
  const double p = s.Setup.SweepAreaFactor * m2;
  s.Aero.MachIndex = p;
  s.Aero.MachFactor = 6.28 / (std::sqrt(m2) + 6.28);
  s.Aero.MachFactorTransonic = s.Aero.MachFactor;
  const double d = p - 1;
  s.Aero.LiftSlopeMachFactor = 0.06 * (d * d) / (std::pow(std::fabs(d), 3) + 0.0084) + 0.9405 / (1 + 0.03 * p);
  if (p > 1.2 && s.Aero.LiftSlopeMachFactor < 0.7) s.Aero.LiftSlopeMachFactor = (s.Aero.LiftSlopeMachFactor + 0.7) / 2;
  if (p > 0.4) {
    const double e = p - 0.4;
    s.Aero.MachFactor = s.Aero.MachFactor + 6.28 * (e * e) / (std::pow(e, 3) + 6.28 / s.Aero.EffectiveAspectRatio) * s.Setup.SweepAreaFactor / 2;
  }
  if (m2 > 0.7) {
    const double e = m2 - 0.6;
    s.Aero.MachFactorTransonic = s.Aero.MachFactorTransonic + (e * e) / (std::pow(e, 3) + 1.4);
  }
  // The span term multiplies by a quantity nothing sets: always 0.
  s.Aero.MachSpanTerm = 0;
}

}  // namespace zarv::flight
