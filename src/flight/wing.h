// Strip model of the main wing: a centre section and three panels a side,
// each with its own airspeed, dynamic pressure, angle of attack, lift and
// drag. Runs every step after the control surfaces and before the tail.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Also advances the wind and the updraft strength (one step of each).
void UpdateWingAerodynamics(FlightState& s, const aircraft::AircraftData& a);

}  // namespace zarv::flight
