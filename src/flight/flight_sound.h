// The flight's sound level: airflow noise and engine noise mixed into one
// stereo level (balance from the sideslip), a fraction of the user's own
// volume. Plain arithmetic; the screen sends the result to the wave output.
#pragma once

#include <cstdint>

#include "aircraft/aircraft_data.h"
#include "flight/flight_state.h"

namespace zarv::flight {

struct WindSoundLevels {
  int32_t Left = 0;            // low half of the wave volume
  int32_t Right = 0;           // high half
  double Ratio = 0;            // the level the recorder keeps
  double EngineLevel = 0;      // engine share (jet, rocket)
  bool EngineLevelSet = false; // false on the water: the engine share keeps its value
  double PanSine = 0;
};

// The levels for the present state; baseVolume is the user's volume (0..65535).
WindSoundLevels ComputeWindSound(const FlightState& s, const aircraft::AircraftData& a, int32_t baseVolume);

// The wave volume word: each level limited to 0..65535, right in the high half.
uint32_t PackWaveVolume(int64_t left, int64_t right);

}  // namespace zarv::flight
