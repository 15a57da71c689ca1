#include "flightscreen/gun_burst.h"

#include <algorithm>

#include "aircraft/engine_kind.h"
#include "flight/flight_sound.h"
#include "platform/runtime/sound_flags.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::flightscreen {

namespace {

bool BurstPossible(const GunBurstContext& c, double now) {
  const flight::FlightState& s = c.State;
  return c.CompanionSampleCount > 0 && now > s.Sound.TriggerTime + kBurstSpacingSeconds &&
         s.Pilot.MouseSteering == 1 && s.Body.Distance > 0 && !c.OptionPanelVisible && s.Body.Altitude > 0 &&
         c.Record.LaunchMarkTenths < kMaxShotsFired;
}

void PlayShot(GunBurstContext& c) {
  GunBurstSound& snd = c.Sound;
  if (!(Len(snd.ShootSound) > 10 && snd.SoundOn == 1 && c.State.Body.Altitude > 0)) return;
  snd.Play(snd.ShootSound, SND_ASYNC);
  if (snd.LeftChannelVolume == nullptr || snd.RightChannelVolume == nullptr) return;
  int32_t& left = *snd.LeftChannelVolume;
  int32_t& right = *snd.RightChannelVolume;
  left = right = snd.BaseVolume;
  if (c.State.Engine.EngineType == aircraft::EngineKind::Jet) {
    // The jet's gun sits to the right of the pilot.
    left = CLng(left * 0.67);
    right = CLng(right * 1.5);
  }
  if (snd.SoundVolumeRatio != nullptr)
    *snd.SoundVolumeRatio = snd.BaseVolume != 0 ? (left + right) / 2.0 / snd.BaseVolume : 0.0;
  left = std::clamp(left, 0, 65535);
  right = std::clamp(right, 0, 65535);
  snd.SetWaveVolume(flight::PackWaveVolume(left, right));
}

}  // namespace

bool FireGunBurst(GunBurstContext& c, double now) {
  flight::FlightState& s = c.State;
  if (!BurstPossible(c, now)) {
    s.Pilot.MouseSteering = 1;  // a keyboard pilot's first trigger press takes the mouse
    return false;
  }
  s.Sound.HitFlag = 0;
  s.Sound.TriggerTime = static_cast<float>(now);
  s.Loop.StepsSinceTrigger = 0;
  s.Gun.RoundsToLoad = flight::kAllRoundsToLoad;
  c.ShotCountTarget = CInt(c.Record.LaunchMarkTenths + 10);
  // The burst's mark in the record (the log and the replay show where it
  // was fired) is kept whether or not the shot is heard.
  const int32_t mark = CLng(c.Record.LaunchMarkTenths / 10 + 1);
  if (mark >= 1 && mark < flight::kMarkCount)
    c.Record.LaunchMarkSamples[static_cast<size_t>(mark)] = c.Record.RecordCount;
  PlayShot(c);
  s.Sound.SoundRefresh = 1;
  return true;
}

}  // namespace zarv::flightscreen
