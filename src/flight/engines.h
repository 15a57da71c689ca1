// The engine catalogue: engine and propeller parameters by model name.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Looks EngineModel up (exact comparison) and sets the engine values of the
// flight state. A light aircraft, or a model name shorter than two
// characters, is rewritten to "NO" (human power, or a small model motor on a
// wing of 0.3 m^2 or less). An unknown model leaves EngineType empty: the
// aircraft flies without an engine. Reads DryMass, so it runs after the
// set-up has summed it.
void LookUpEngine(FlightState& s, aircraft::AircraftData& a);

// True when the catalogue has a row of this name (the "NO" entry included).
bool IsCatalogueEngine(const std::string& model);

}  // namespace zarv::flight
