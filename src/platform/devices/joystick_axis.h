// Scaling of the device's raw axis readings to the joystick record's range.
// Kept apart from the SDL calls so that the mapping can be checked alone.
#pragma once

#include <cstdint>

namespace zarv {

// The record's axis range and its centre, which the flight loop subtracts.
inline constexpr uint32_t kJoyAxisMax = 65535;
inline constexpr uint32_t kJoyAxisCentre = 32767;

// Raw readings run -32768..32767 with 0 at rest. Each half is stretched on
// its own so that both ends and the rest position land exactly on 0,
// 65535 and the centre; anything outside the raw range is held at the ends.
uint32_t ScaleJoystickAxis(int32_t raw);

}  // namespace zarv
