// Small numeric helpers of the flight model: the divisions and arctangents
// whose formulas leave the zero divisor open. Each gives exactly the plain
// formula's value whenever the divisor is not zero.
#pragma once

#include <cmath>
#include <numbers>

#include "platform/runtime/angles.h"

namespace zarv::flight {


// n / d, or 0 when d is 0.
inline double GuardedDiv(double n, double d) { return d != 0 ? n / d : 0.0; }

// Atn(n / d), with the limit +-pi/2 (0 for 0/0) when d is 0.
inline double AtnRatio(double n, double d) {
  if (d != 0) return std::atan(n / d);
  return n > 0 ? std::numbers::pi / 2 : (n < 0 ? -std::numbers::pi / 2 : 0.0);
}

// -Atn(n / d), moved by pi into the other half-turn when d < 0 (flow from
// behind): a flow angle in (-pi, pi].
inline double FlowAngle(double n, double d) {
  double a = -AtnRatio(n, d);
  if (d < 0) a = a < 0 ? a + kPi : a - kPi;
  return a;
}

inline double Sq(double x) { return x * x; }

}  // namespace zarv::flight
