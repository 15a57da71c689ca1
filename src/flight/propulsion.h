// Propulsion by engine family: a piston engine driving a propeller (also the
// pedalling pilot and small model motors), a jet with spool lag, ram drag
// and afterburner, or a rocket with a thrust lag and a fuel reserve.
// Fuel is burnt by the instrument panel, not here.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Runs the engine of its family; an aircraft without one to run leaves the
// engine state as it is.
void UpdatePropulsion(FlightState& s, const aircraft::AircraftData& a);

// False for a model the catalogue does not list (no family) and for an
// engine count of 0 (no rated power): such an aircraft flies without thrust.
bool HasEngineToRun(const EngineState& engine);

// The three families, for tests.
void RunPistonEngine(FlightState& s, const aircraft::AircraftData& a);
void RunJetEngine(FlightState& s);
void RunRocketEngine(FlightState& s);

}  // namespace zarv::flight
