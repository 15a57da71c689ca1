// Section coefficients of the wing and tailplane airfoils, looked up by the
// names the aircraft file gives, and the largest commanded angle of attack.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

struct AirfoilLookup {
  bool WingFound = false;  // WingAirfoil matched a wing row
  bool TailFound = false;  // TailAirfoil matched a tailplane row
};

// Table values as stored (degrees, width factors, Cl0); the flight screen's
// set-up and load turn them into their working form. Reads the engine
// values, so it runs after LookUpEngine. Names are compared exactly.
AirfoilLookup SetAirfoilCoefficients(FlightState& s, const aircraft::AircraftData& a);

}  // namespace zarv::flight
