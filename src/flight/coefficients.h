// Slowly changing wing and tailplane coefficients, refreshed once per drawn
// frame: ground effect on the aspect ratios, lift slopes, Reynolds-number
// factors, the low-speed lift factor and the soft-stall shape.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

void RefreshAeroCoefficients(FlightState& s, const aircraft::AircraftData& a);

// The lift-slope factor of a surface of aspect ratio ar (with the lift
// factor applied), at least 0.65.
double LiftSlopeFactor(double liftFactor, double aspectRatio);

}  // namespace zarv::flight
