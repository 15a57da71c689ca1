// Values the flight screen's set-up derives from the aircraft and the
// settings: the hangar tag and the key help.
#pragma once

#include <cstdint>
#include <string>

#include "aircraft/engine_kind.h"

namespace zarv::flightscreen {

// The hangar tag ("D", "PcD", "JcD") of an aircraft.
std::string HangarTag(const std::string& tag, bool light, aircraft::EngineKind engineType, double engineRating);

std::string KeyHelpText(double afterburnerMax, aircraft::EngineKind engineType, int16_t tvcCapability);

}  // namespace zarv::flightscreen
