// Real-to-integer conversions as the runtime defines them. Every narrowing of
// a double in the program goes through CheckedRound/CheckedFloor, so a NaN or
// an out-of-range value is clamped instead of reaching undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace zarv {

// Rounds half to even and clamps to the range of T; NaN gives 0.
template <typename T>
T CheckedRound(double v) {
  static_assert(std::numeric_limits<T>::is_integer);
  if (std::isnan(v)) return T{0};
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v <= lo) return std::numeric_limits<T>::min();
  if (v >= hi) return std::numeric_limits<T>::max();
  double r = std::nearbyint(v);  // default rounding mode: half to even
  if (r <= lo) return std::numeric_limits<T>::min();
  if (r >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

// Truncates (or floors, when floor is true) and clamps to the range of T.
template <typename T>
T CheckedTruncate(double v, bool floor = false) {
  static_assert(std::numeric_limits<T>::is_integer);
  if (std::isnan(v)) return T{0};
  double r = floor ? std::floor(v) : std::trunc(v);
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (r <= lo) return std::numeric_limits<T>::min();
  if (r >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

// CInt: 16-bit, half to even.
inline int16_t CInt(double v) { return CheckedRound<int16_t>(v); }
// CLng: 32-bit, half to even.
inline int32_t CLng(double v) { return CheckedRound<int32_t>(v); }
// Int: rounds down, stays a double (as the runtime's Int does).
inline double Int(double v) { return std::floor(v); }
// Fix: rounds toward zero, stays a double.
inline double Fix(double v) { return std::trunc(v); }
// Sgn: -1, 0 or 1.
inline int Sgn(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

}  // namespace zarv
