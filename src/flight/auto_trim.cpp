#include "flight/auto_trim.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

double BalancingTailAngle(const FlightState& s, const aircraft::AircraftData& a) {
  const double q = s.Air.DynamicPressure;
  const double m = (s.Masses.WingAcOffset - s.Masses.CgX) * (-s.Wing.WingLift) - s.Tail.WingMomentTerm / q;
  const double l = a.TailplaneArm - s.Masses.CgX;
  const double k = a.TailplaneArea * s.Aero.TailLiftSlope * Sq(s.Setup.SweepAreaFactor) * 6.28;
  return (m - l * k * s.Air.AngleOfAttack) / (l * k);
}

void TrimTailForBalance(FlightState& s, const aircraft::AircraftData& a, double accel) {
  // Without a tailplane the last trim angle stands in; the tail's zero area
  // takes it out of the sum.
  double tail = a.TailplaneArea > 0 ? BalancingTailAngle(s, a) : s.Controls.TrimAngleOfAttack;
  const double limit = std::fabs(s.Setup.MinAngleOfAttack);
  if (limit < std::fabs(tail)) tail = Sgn(tail) * limit;

  const double q = s.Air.DynamicPressure;
  const double tailLift =
      (tail + s.Air.AngleOfAttack) * 6.28 * s.Setup.SweepAreaFactor * s.Aero.TailLiftSlope * a.TailplaneArea * q;
  const double offsets = s.Airfoils.WingAngleOffsetNow + s.Airfoils.WingLiftOffsetNow + s.Controls.FlapTarget + s.Setup.WingIncidenceRad - s.Setup.HalfWashout;
  double f = s.Masses.Mass * accel;
  f = f / s.Aero.LiftSlopeMachFactor;
  f = f - tailLift;
  f = f / s.Aero.LiftSlope;
  f = f / a.WingArea;
  f = f / q;
  f = f / 6.28;
  f = f / s.Setup.SweepAreaFactor;
  s.Controls.TrimAngleOfAttack = f - offsets;
}

}  // namespace zarv::flight
