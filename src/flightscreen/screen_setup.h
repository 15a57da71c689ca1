// Values the flight screen's set-up derives from the aircraft and the
// settings: the hangar tag, the key help and the screen sizes the display
// allows.
#pragma once

#include <cstdint>
#include <string>

#include "aircraft/engine_kind.h"

namespace zarv::flightscreen {

// The hangar tag ("D", "PcD", "JcD") of an aircraft.
std::string HangarTag(const std::string& tag, bool light, aircraft::EngineKind engineType, double engineRating);

std::string KeyHelpText(double afterburnerMax, aircraft::EngineKind engineType, int16_t tvcCapability);

// The screen-size choice the display allows (0, 1, 2) for a screen w pixels wide.
int16_t AllowedScreenSize(int16_t choice, int screenWidth);

}  // namespace zarv::flightscreen
