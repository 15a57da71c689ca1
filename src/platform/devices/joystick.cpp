#include "platform/devices/joystick.h"

#include "platform/devices/joystick_axis.h"
#include "platform/runtime/program_state.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>

namespace zarv {

namespace {

struct JoystickState {
  std::mutex lock;
  bool subsystem = false;
  bool failed = false;
  SDL_Joystick* joystick = nullptr;
};

JoystickState& State() {
  static JoystickState* state = new JoystickState;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] { ShutdownJoystick(); });
  return *state;
}

bool EnsureSubsystemLocked(JoystickState& s) {
  if (s.subsystem) return true;
  if (s.failed) return false;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl-C must keep ending the program
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    s.failed = true;
    return false;
  }
  // Nobody drains SDL's event queue here: the state is polled instead.
  SDL_JoystickEventState(SDL_IGNORE);
  s.subsystem = true;
  return true;
}

uint32_t AxisPosition(SDL_Joystick* joystick, int axis) {
  return ScaleJoystickAxis(SDL_JoystickGetAxis(joystick, axis));
}

}  // namespace

unsigned joyGetPos(unsigned id, JOYINFO* info) {
  if (id != 0 || info == nullptr) return JOYERR_PARMS;
  JoystickState& s = State();
  std::lock_guard guard(s.lock);
  if (!EnsureSubsystemLocked(s)) return JOYERR_UNPLUGGED;
  SDL_JoystickUpdate();  // also notices devices plugged in or pulled out
  if (s.joystick != nullptr && !SDL_JoystickGetAttached(s.joystick)) {
    SDL_JoystickClose(s.joystick);
    s.joystick = nullptr;
  }
  if (s.joystick == nullptr) {
    if (SDL_NumJoysticks() < 1) return JOYERR_UNPLUGGED;
    s.joystick = SDL_JoystickOpen(0);
    if (s.joystick == nullptr) return JOYERR_UNPLUGGED;
    SDL_JoystickUpdate();
  }
  SDL_Joystick* joystick = s.joystick;
  const int axes = SDL_JoystickNumAxes(joystick);
  uint32_t buttons = 0;
  const int buttonCount = std::min(SDL_JoystickNumButtons(joystick), 32);
  for (int i = 0; i < buttonCount; ++i)
    if (SDL_JoystickGetButton(joystick, i)) buttons |= uint32_t(1) << i;
  info->wXpos = axes > 0 ? AxisPosition(joystick, 0) : kJoyAxisCentre;
  info->wYpos = axes > 1 ? AxisPosition(joystick, 1) : kJoyAxisCentre;
  info->wZpos = axes > 2 ? AxisPosition(joystick, 2) : 0;
  info->wButtons = buttons;
  return JOYERR_NOERROR;
}

unsigned joyReleaseCapture(unsigned id) {
  return id == 0 ? JOYERR_NOERROR : JOYERR_PARMS;
}

void ShutdownJoystick() {
  JoystickState& s = State();
  std::lock_guard guard(s.lock);
  if (s.joystick != nullptr) SDL_JoystickClose(s.joystick);
  s.joystick = nullptr;
  if (s.subsystem) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  s.subsystem = false;
  s.failed = false;
}

}  // namespace zarv
