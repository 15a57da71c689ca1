// Joystick polling in the manner of the Windows multimedia joystick calls:
// joystick 0 is the first device SDL finds.
#pragma once

#include <cstdint>

namespace zarv {

// Axes run 0..65535 with the rest position at 32767 (joystick_axis.h);
// button i of the device sets bit i.
struct JOYINFO {
  uint32_t wXpos = 0;
  uint32_t wYpos = 0;
  uint32_t wZpos = 0;  // third axis (throttle) when the device has one, else 0
  uint32_t wButtons = 0;
};

inline constexpr unsigned JOYERR_NOERROR = 0;
inline constexpr unsigned JOYERR_PARMS = 165;
inline constexpr unsigned JOYERR_UNPLUGGED = 167;

// Reads joystick `id` (only 0 exists). Without a joystick the record is left
// as it was and JOYERR_UNPLUGGED is returned. A joystick plugged in later is
// picked up by a later call.
unsigned joyGetPos(unsigned id, JOYINFO* info);

// Nothing is ever captured; kept for the callers' release on leaving a screen.
unsigned joyReleaseCapture(unsigned id);

// Closes the joystick; the next joyGetPos opens it again.
void ShutdownJoystick();

}  // namespace zarv
