// Control augmentation (the I key) and the functions that act in any mode:
// the bank hold (B key), a rocket's reaction control in thin air, and the
// limits of the augmentation moments.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

// The augmentation path: the pilot's demand becomes an angle of attack,
// bounded by the trim for the load limits and turned into a tailplane
// command by the control law; roll and yaw dampers.
void ApplyControlAugmentation(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options);

// Reaction control of a rocket in thin air, direct path only.
void FormReactionControl(const EngineState& engine, const MassProperties& masses, const AirData& air,
                         const PilotControls& pilot, const FlightOptions& options, ControlState& controls);

// Wings-level hold.
void HoldBank(const LoopTiming& loop, const BodyMotion& body, const AirData& air, const PilotControls& pilot,
              const aircraft::AircraftData& a, ControlState& controls);

// Every step, after the bank hold.
void LimitReactionMoments(ControlState& controls);

}  // namespace zarv::flight
