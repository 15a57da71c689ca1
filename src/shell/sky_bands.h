// Sky colour bands of the flight view and the replay, built at start-up:
// band k spans SkyBandEdge(k-1)..SkyBandEdge(k) pixels in SkyBandColour(k)
// (red in the low byte, blue in the high byte).
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/program_state.h"

namespace zarv::shell {

struct SkyBands {
  std::array<int16_t, 31> SkyBandEdge{};    // index 0..30, edge 0 is 0
  std::array<int32_t, 31> SkyBandColour{};  // index 1..30
  float SkyRed = 0, SkyGreen = 0, SkyBlue = 0;
  void Reset() { *this = SkyBands{}; }
};

inline SkyBands& Sky() { return ProgramWide<SkyBands>(); }

// A gradient bitmap under 1000 bytes means few colours: the fixed table of
// 24 bands; otherwise 30 computed bands.
void BuildSkyBands(double gradientBitmapLengthNow, double screenScale, SkyBands& sky);

}  // namespace zarv::shell
