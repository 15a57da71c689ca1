// Wind profile with height and the one updraft column over the course.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Lagged horizontal wind at the wing's height (power law 0.22), once per step.
void UpdateWind(FlightState& s, const aircraft::AircraftData& a);

// Peak speed of the column by the wing's height, once per step after the wind.
void UpdateUpdraftStrength(FlightState& s);

// Vertical speed of the column at world point (x, y); 0 outside it.
double UpdraftSpeedAt(const FlightState& s, double x, double y);

// As UpdraftSpeedAt, and kept in VerticalWind.
double EvaluateUpdraft(FlightState& s, double x, double y);

}  // namespace zarv::flight
