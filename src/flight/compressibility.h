// Mach-number factors on the lift slope and the drag, refreshed by the
// instrument panel every eighth drawn frame; the aerodynamics uses the last
// values in between.
#pragma once

#include "flight/flight_state.h"

namespace zarv::flight {

void UpdateCompressibilityFactors(FlightState& s);

}  // namespace zarv::flight
