// What the flight loop calls outside the flight model: drawing, sounds,
// devices, event yielding and the post-flight step. The flight screen fills
// these with its own routines; an empty hook is skipped, so a default
// FlightSeams flies headless. The hooks only draw, play sounds, poll devices
// and yield: the loop runs every piece of physics itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zarv::flight {

struct FlightSeams {
  // Headless: no pacing wait, whatever the speed mode.
  bool Headless = true;

  std::function<void()> UpdateWindSound;       // sound levels (WindNoiseLevel); pass 5 and the sound step
  std::function<void()> SaveSettings;          // pass 25: option boxes into the settings, write set.ini
  std::function<void(int)> SetPointerShape;    // 1 arrow, 2 cross-hair
  std::function<void()> DrawHeadUpDisplay;     // display steps, after the display's step
  std::function<void()> UpdateCompanion;       // the companion's position at RecordCount
  std::function<void()> UpdateGunRounds;       // every step, after the companion
  // Every pass. The flight screen draws no exhaust puffs and leaves it empty.
  std::function<void()> UpdateExhaustAndEngineSound;
  // Draws the panel; the loop runs the panel's physics right after it
  // (UpdateInstrumentPanelPhysics: the fourth phase's factors and burn).
  std::function<void()> DrawInstrumentPanel;
  std::function<void()> DrawFlightFrame;       // display steps above -15 m
  std::function<void()> DoEvents;              // yield to pending events (display steps)
  // Waits until the monotonic clock reaches the deadline (ms); when empty
  // the loop waits on the platform clock itself.
  std::function<void(uint64_t)> WaitUntil;
  std::function<void(const std::string&, unsigned)> PlaySound;  // file, sndPlaySoundA flags
  std::function<void()> StopSoundAndRestoreVolume;  // after the loop
  std::function<void()> PollJoystick;          // fills JoyXpos, JoyYpos, JoyZpos, JoyButtons
  std::function<void()> DispatchJoystickButtons;
  std::function<void(const std::string&)> ShowMessage;
  std::function<void()> EndFlight;             // once, after a flight that ended in the water
};

}  // namespace zarv::flight
