// The pilot's pitch and rudder demand from stick and trim (or the pilot's
// weight shift on an aircraft whose tailplane does not move), and the
// lift-off speed the instrument panel shows.
#pragma once

#include "flight/flight_state.h"
#include "shell/aircraft_data.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::flight {

void FormPilotDemand(FlightState& s, const shell::AircraftData& a, const shell::Settings& settings,
                     const shell::ShellState& shell);

}  // namespace zarv::flight
