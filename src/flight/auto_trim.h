// Automatic trim: the angle of attack at which the aircraft, its tailplane
// set to balance the pitching moment, gives a wanted normal acceleration.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Leaves the answer (rad) in TrimAngleOfAttack. accel in m/s^2; callers pass it
// only with DynamicPressure > 0.
void TrimTailForBalance(FlightState& s, const aircraft::AircraftData& a, double accel);

// The tailplane angle that balances the wing's pitching moment at the
// current angle of attack (the first half of the trim; the control law
// uses it as well).
double BalancingTailAngle(const FlightState& s, const aircraft::AircraftData& a);

}  // namespace zarv::flight
