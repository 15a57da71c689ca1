// Listing numbers: the shortest text that reads back to the same double,
// without printf's cost. NaN and infinities read "nan", "-nan", "inf", "-inf".
#pragma once

#include <charconv>
#include <string>

namespace zarv {

// Room for any double's shortest form ("-2.2250738585072014e-308" is 24).
inline constexpr int kNumberTextMax = 32;

// Writes the number at `first` and returns the end.
inline char* AppendNumberText(char* first, double v) {
  return std::to_chars(first, first + kNumberTextMax, v).ptr;
}

inline std::string NumberText(double v) {
  char buf[kNumberTextMax];
  return std::string(buf, AppendNumberText(buf, v));
}

}  // namespace zarv
