// The pilot's pitch and rudder demand from stick and trim (or the pilot's
// weight shift on an aircraft whose tailplane does not move), and the
// lift-off speed the instrument panel shows.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

void FormPilotDemand(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options);

}  // namespace zarv::flight
