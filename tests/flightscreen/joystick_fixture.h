// The joystick tests: a scratch program folder, a hand-driven clock, and SDL
// virtual joysticks to press buttons on and move the stick of.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_options.h"
#include "flight/flight_state.h"
#include "flightscreen/joy_button_map.h"
#include "flightscreen/joystick_link.h"
#include "platform/devices/joystick.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "program_test.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen::testing {

// An SDL virtual game controller as joystick 0.
class VirtualJoystick {
 public:
  ~VirtualJoystick() {
    if (stick_ != nullptr) Unplug();
  }
  // False (test skipped by the caller) when a real device already takes
  // index 0 or there are no virtual joysticks.
  bool Plug(int axes = 3, int buttons = 12) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    SDL_JoystickUpdate();
    if (SDL_NumJoysticks() > 0) {
      SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
      return false;
    }
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
    if (index < 0) return false;
    stick_ = SDL_JoystickOpen(index);
    return stick_ != nullptr;
  }
  void Unplug() {
    SDL_JoystickClose(stick_);
    SDL_JoystickDetachVirtual(0);
    stick_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  bool Plugged() const { return stick_ != nullptr; }
  // Buttons by their bit in the joystick record (bit 0 = button 1).
  void Hold(uint32_t mask) {
    for (int i = 0; i < SDL_JoystickNumButtons(stick_); ++i)
      SDL_JoystickSetVirtualButton(stick_, i, (mask >> i) & 1 ? SDL_PRESSED : SDL_RELEASED);
  }
  void SetAxis(int axis, int16_t raw) { SDL_JoystickSetVirtualAxis(stick_, axis, raw); }

 private:
  SDL_Joystick* stick_ = nullptr;
};

class JoystickTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(MakeDir(folder_ + "/Temp"));
    SetClockSource(&clock_);
    clock_.Advance(100000);  // well past any start-up guard
    Joystick().Options = &options_;
  }
  void TearDown() override {
    if (stick_.Plugged()) stick_.Unplug();
    ProgramTest::TearDown();
  }

  bool Plug(int axes = 3, int buttons = 12) { return stick_.Plug(axes, buttons); }
  void Unplug() { stick_.Unplug(); }
  void Hold(uint32_t mask) { stick_.Hold(mask); }
  void SetAxis(int axis, int16_t raw) { stick_.SetAxis(axis, raw); }

  std::string JoyFile() const { return folder_ + "/Temp/joy.ini"; }

  ManualClock clock_;
  flight::FlightOptions options_;
  VirtualJoystick stick_;
};

}  // namespace zarv::flightscreen::testing
