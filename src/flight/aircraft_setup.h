// Per-flight aircraft set-up: the derived sizes, the wing outline and the
// choice of outline builder, gear contact and Earth constants.
#pragma once

#include "flight/flight_state.h"
#include "model/outline.h"
#include "model/outline_inputs.h"
#include "model/powered_outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Runs once per flight, after the engine and airfoil look-ups and the load's
// wing, mass and trim values. Changes some aircraft values in place (the
// dihedrals, GearPosition, EyeHeight, FinHalfSpacing), so running it twice
// on one record applies those corrections twice. Returns the builder it ran.
model::OutlineBuilder PrepareAircraftForFlight(aircraft::AircraftData& a, FlightState& s, model::AirframeOutline& o);

// The builder chosen for the aircraft as it stands at that point of the
// set-up (the centre-section half-span of the set-up decides between the two
// twin-boom layouts).
model::OutlineBuilder SelectOutlineBuilder(const aircraft::AircraftData& a, const FlightState& s);

// Runs the chosen builder (None leaves the outline as it is).
// The derived sizes the outline builders read.
model::OutlineInputs OutlineInputsFrom(const FlightState& s);

void RunOutlineBuilder(model::OutlineBuilder builder, const aircraft::AircraftData& a, const FlightState& s,
                       model::AirframeOutline& o);

}  // namespace zarv::flight
