// Layered standard atmosphere, reaching above 60 000 m for rocket aircraft.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Air temperature, pressure ratio, density (only once FlightTime > 1 s),
// Mach number squared and skin temperature at the current altitude and
// airspeed, from the surface conditions of the flight. Called once per pass.
void UpdateAtmosphere(const LoopTiming& loop, const BodyMotion& body, const aircraft::AircraftData& a,
                      AirData& air);

}  // namespace zarv::flight
