// The companion: a stored flight flown back beside the live one, sample by
// sample, with the outline of the aircraft that flew it. Filled once when the
// flight screen loads; the flight loop moves it and the cockpit view draws it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/companion_outline.h"
#include "platform/runtime/program_state.h"

namespace zarv::flight {

// One recorded sample, as the flight log stores it (angles in degrees,
// positions in metres).
struct CompanionSample {
  double CompanionAltitude = 0.0;
  double CompanionEast = 0.0;
  double CompanionNorth = 0.0;
  double CompanionPitch = 0.0;
  double CompanionHeading = 0.0;
  double CompanionBank = 0.0;
  double CompanionElevator = 0.0;
  int16_t CompanionRudder = 0;
  int16_t CompanionAileron = 0;
  int16_t CompanionFlap = 0;
  int16_t CompanionNozzle = 0;       // %
  int16_t CompanionAfterburner = 0;  // %
  double CompanionInnerDeflection = 0.0;
  double CompanionOuterDeflection = 0.0;
  double CompanionTipDeflection = 0.0;
};

struct CompanionData {
  static constexpr int kSampleCapacity = 60004;  // indices 0..60003

  CompanionData() : Samples(kSampleCapacity) {}

  // Always kSampleCapacity rows.
  std::vector<CompanionSample> Samples;
  // 0 = no companion; above 10 it is moved and drawn.
  int32_t CompanionSampleCount = 0;
  // Present position (m east, north, height), set by the flight loop from
  // the sample at the live record index.
  double CompanionPositionEast = 0.0;
  double CompanionPositionNorth = 0.0;
  double CompanionPositionHeight = 0.0;
  model::CompanionOutline Outline;

  // The row for a record index; an index past the record holds at the last
  // row, where the loader keeps the final position.
  const CompanionSample& Sample(int32_t index) const {
    return Samples[static_cast<std::size_t>(std::clamp(index, 0, kSampleCapacity - 1))];
  }
  CompanionSample& Sample(int32_t index) {
    return Samples[static_cast<std::size_t>(std::clamp(index, 0, kSampleCapacity - 1))];
  }

  void Reset() {
    std::fill(Samples.begin(), Samples.end(), CompanionSample{});
    CompanionSampleCount = 0;
    CompanionPositionEast = CompanionPositionNorth = CompanionPositionHeight = 0.0;
    Outline = model::CompanionOutline{};
  }
};

// The program-wide companion record.
inline CompanionData& Companion() { return ProgramWide<CompanionData>(); }

}  // namespace zarv::flight
