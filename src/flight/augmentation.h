// Control augmentation (the I key) and the functions that act in any mode:
// the bank hold (B key), a rocket's reaction control in thin air, and the
// limits of the augmentation moments.
#pragma once

#include "flight/flight_state.h"
#include "shell/aircraft_data.h"
#include "shell/shell_state.h"

namespace zarv::flight {

// The augmentation path: the pilot's demand becomes an angle of attack,
// bounded by the trim for the load limits and turned into a tailplane
// command by the control law; roll and yaw dampers.
void ApplyControlAugmentation(FlightState& s, const shell::AircraftData& a, const shell::ShellState& shell);

// Reaction control of a rocket in thin air, direct path only.
void FormReactionControl(FlightState& s, const shell::ShellState& shell);

// Wings-level hold.
void HoldBank(FlightState& s, const shell::AircraftData& a);

// Every step, after the bank hold.
void LimitReactionMoments(FlightState& s);

}  // namespace zarv::flight
