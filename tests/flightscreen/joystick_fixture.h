// Clean program-wide state for the joystick tests: a scratch program folder,
// a hand-driven clock, and SDL virtual joysticks to press buttons on.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
#include "shell/shell_state.h"

namespace zarv::flightscreen::testing {

class JoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zarv-joy-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    folder_ = tmpl;
    SetProgramFolder(folder_);
    ASSERT_TRUE(MakeDir(folder_ + "/Temp"));
    SetClockSource(&clock_);
    clock_.Advance(100000);  // well past any start-up guard
    flight::State().Reset();
    flight::Companion().CompanionSampleCount = 0;
    aircraft::Aircraft().Reset();
    shell::Shell().Reset();
    JoyMap().Reset();
    Joystick().Reset();
    options_.Reset();
    Joystick().Options = &options_;
    ShutdownJoystick();
  }
  void TearDown() override {
    if (stick_ != nullptr) Unplug();
    ShutdownJoystick();
    Joystick().Reset();
    ResetClockSource();
    SetProgramFolder("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Plugs in a virtual game controller; false (test skipped by the caller)
  // when a real device already takes index 0.
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
  // Buttons by their bit in the joystick record (bit 0 = button 1).
  void Hold(uint32_t mask) {
    for (int i = 0; i < SDL_JoystickNumButtons(stick_); ++i)
      SDL_JoystickSetVirtualButton(stick_, i, (mask >> i) & 1 ? SDL_PRESSED : SDL_RELEASED);
  }
  void SetAxis(int axis, int16_t raw) { SDL_JoystickSetVirtualAxis(stick_, axis, raw); }

  std::string JoyFile() const { return folder_ + "/Temp/joy.ini"; }

  std::string folder_;
  ManualClock clock_;
  flight::FlightOptions options_;
  SDL_Joystick* stick_ = nullptr;
};

}  // namespace zarv::flightscreen::testing
