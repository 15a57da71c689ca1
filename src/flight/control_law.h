// The pitch control law of the control augmentation: from the demanded
// angle of attack in ElevatorInput to the TailplaneCommand, with the
// angle-of-attack limiter, ground-clearance bounds, pitch-rate damping, the
// balancing tail angle and, for a rocket in thin air, the attitude thrusters.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

void StepControlLaws(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options);

}  // namespace zarv::flight
