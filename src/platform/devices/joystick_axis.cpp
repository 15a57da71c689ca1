#include "platform/devices/joystick_axis.h"

namespace zarv {

uint32_t ScaleJoystickAxis(int32_t raw) {
  if (raw <= -32768) return 0;
  if (raw >= 32767) return kJoyAxisMax;
  // Integer arithmetic, rounded to the nearest step; each side is monotonic.
  if (raw <= 0) {
    const int64_t fromLow = int64_t{raw} + 32768;  // 1..32768
    return static_cast<uint32_t>((fromLow * kJoyAxisCentre + 16384) / 32768);
  }
  const int64_t up = int64_t{raw} * (kJoyAxisMax - kJoyAxisCentre);  // raw x 32768
  return kJoyAxisCentre + static_cast<uint32_t>((up + 32767 / 2) / 32767);
}

}  // namespace zarv
