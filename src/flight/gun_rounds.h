// The gun's rounds and the companion they are fired at, once per simulation
// step: the companion is put at its recorded position, then each round of
// the current burst waits at its gun, flies, falls, skips off the water and
// is tested against the companion. Plain C++ over the flight state; the
// flight screen calls these from the flight loop's UpdateCompanion and
// UpdateGunRounds hooks, and the cockpit view draws the rounds from
// s.Gun while GunRoundsActive holds.
#pragma once

#include <cstdint>
#include <functional>

#include "aircraft/engine_kind.h"
#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "model/rotation.h"

namespace zarv::flight {

inline constexpr double kRoundActiveSeconds = 2.0;     // after a burst
inline constexpr double kRoundHitActiveSeconds = 4.0;  // after a hit of the burst
inline constexpr double kHitTestRange = 150.0;         // m: rounds farther off are not tested
inline constexpr double kHitMissDistance = 7.0;        // m: a closer pass is a hit

// 600 m/s for a piston engine, 1100 m/s otherwise.
double MuzzleSpeedFor(aircraft::EngineKind engine);

// The companion's present position: the sample at the live record index,
// once the companion has more than 10 samples and the recording has begun.
void UpdateCompanionPosition(CompanionData& companion, int32_t recordCount);

// Whether the rounds fly (and are drawn) now: from the burst to 2 s after it
// once more than five samples are recorded, or within 4 s of a hit of the
// current burst. Nothing is active before the first burst: the monotonic
// clock starts near 0, so an unset burst time would otherwise look recent.
bool GunRoundsActive(const FlightState& s, int32_t recordCount, double now);

// What one step of the rounds works on besides the flight state.
struct GunRoundsContext {
  FlightState& State;
  const FlightRecord& Record;          // RecordCount, LaunchMarkTenths (rounds fired)
  const model::AirframeOutline& Outline;  // the jet's gun sits at front-fuselage station 4
  const CompanionData& Companion;
  const model::ViewSetup& View;        // the cockpit view's projection, as last drawn
  int16_t SoundOn = 0;
  // With the sound on, at a hit while no hit sound plays: both channels to
  // the full base level and the wave volume set. Required: the flight screen
  // gives it, checked when it has set itself up.
  std::function<void()> SetHitVolume;
};

// One step of the ten rounds; `now` is Timer() seconds.
void UpdateGunRounds(GunRoundsContext& c, double now);

}  // namespace zarv::flight
