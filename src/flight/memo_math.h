// Powers, sines and cosines kept with the operands they were taken of, for
// terms whose operands change only now and then (aspect ratios between
// coefficient refreshes, per-aircraft constants) or are taken again later in
// the same step. A value is reused only while its operands are the same bit
// for bit, so a memoised result never differs from a fresh std::pow,
// std::sin or std::cos.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace zarv::flight {

struct PowMemo {
  // Zero bits are 0.0 ^ 0.0, whose power is 1: the empty memo is already right.
  std::uint64_t BaseBits = 0;
  std::uint64_t ExponentBits = 0;
  double Value = 1.0;
};

inline double MemoPow(PowMemo& m, double base, double exponent) {
  const auto b = std::bit_cast<std::uint64_t>(base);
  const auto e = std::bit_cast<std::uint64_t>(exponent);
  if (b != m.BaseBits || e != m.ExponentBits) {
    m.BaseBits = b;
    m.ExponentBits = e;
    m.Value = std::pow(base, exponent);
  }
  return m.Value;
}

struct SinCosMemo {
  std::uint64_t AngleBits = 0;  // sin 0 = 0, cos 0 = 1: the empty memo is right
  double Sin = 0.0;
  double Cos = 1.0;
};

inline const SinCosMemo& MemoSinCos(SinCosMemo& m, double angle) {
  const auto b = std::bit_cast<std::uint64_t>(angle);
  if (b != m.AngleBits) {
    m.AngleBits = b;
    m.Sin = std::sin(angle);
    m.Cos = std::cos(angle);
  }
  return m;
}

}  // namespace zarv::flight
