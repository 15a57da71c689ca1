// The gun burst: a powered aircraft's left click and the joystick's fire
// button. It only arms the burst (trigger time, step count, shot target) and
// plays the shot; the flight loop flies the rounds (flight/gun_rounds.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "flight/flight_record.h"
#include "flight/flight_state.h"

namespace zarv::flightscreen {

inline constexpr float kMaxShotsFired = 300;       // thirty bursts of ten
inline constexpr double kBurstSpacingSeconds = 2.0;

// The sound side of a burst: the flight screen's levels and its output.
struct GunBurstSound {
  std::string ShootSound;   // full path of the shot sound ("" none)
  int16_t SoundOn = 0;
  int32_t BaseVolume = 0;
  int32_t* LeftChannelVolume = nullptr;
  int32_t* RightChannelVolume = nullptr;
  double* SoundVolumeRatio = nullptr;
  std::function<void(const std::string& file, unsigned flags)> Play;
  std::function<void(uint32_t packedVolume)> SetWaveVolume;
};

struct GunBurstContext {
  flight::FlightState& State;
  flight::FlightRecord& Record;     // shots fired and the burst marks
  int32_t CompanionSampleCount = 0;
  bool OptionPanelVisible = false;
  int16_t& ShotCountTarget;         // what the head-up display counts up to
  GunBurstSound Sound;
};

// Fires a burst when one is possible (a companion, two seconds since the
// last, mouse steering, past the platform and above the water, the option
// panel closed, shots left); otherwise switches mouse steering on. `now` is
// Timer() seconds, the clock of TriggerTime. True when a burst was fired.
bool FireGunBurst(GunBurstContext& c, double now);

}  // namespace zarv::flightscreen
