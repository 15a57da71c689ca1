// Tailplane, fin and fuselage forces and the totals of the step: lift, drag
// and side-force areas, the wing's pitching moment, centres of gravity and
// of pressure. Runs every step right after the wing.
#pragma once

#include "flight/flight_state.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

void UpdateTailAndTotals(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o);

}  // namespace zarv::flight
