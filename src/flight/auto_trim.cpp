#include "flight/auto_trim.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

double BalancingTailAngle(const FlightState& s, const aircraft::AircraftData& a) {
  const double q = s.DynamicPressure;
  const double m = (s.WingAcOffset - s.CgX) * (-s.WingLift) - s.WingMomentTerm / q;
  const double l = a.TailplaneArm - s.CgX;
  const double k = a.TailplaneArea * s.TailLiftSlope * Sq(s.SweepAreaFactor) * 6.28;
  return (m - l * k * s.AngleOfAttack) / (l * k);
}

void TrimTailForBalance(FlightState& s, const aircraft::AircraftData& a, double accel) {
  if (a.TailplaneArea > 0) s.TrimTailAngle = BalancingTailAngle(s, a);
  const double limit = std::fabs(s.MinAngleOfAttack);
  if (limit < std::fabs(s.TrimTailAngle)) s.TrimTailAngle = Sgn(s.TrimTailAngle) * limit;

  const double q = s.DynamicPressure;
  const double tailLift =
      (s.TrimTailAngle + s.AngleOfAttack) * 6.28 * s.SweepAreaFactor * s.TailLiftSlope * a.TailplaneArea * q;
  const double offsets = s.WingAngleOffsetNow + s.WingLiftOffsetNow + s.FlapTarget + s.WingIncidenceRad - s.HalfWashout;
  double f = s.Mass * accel;
  f = f / s.LiftSlopeMachFactor;
  f = f - tailLift;
  f = f / s.LiftSlope;
  f = f / a.WingArea;
  f = f / q;
  f = f / 6.28;
  f = f / s.SweepAreaFactor;
  s.TrimTailAngle = f - offsets;
}

}  // namespace zarv::flight
