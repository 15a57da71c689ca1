// Control surfaces and trims: the direct path from the pilot's demands to
// the surface demands, and the common chain that limits them and moves the
// surfaces at their rates: the balance mass, the automatic leading-edge
// flap, the tailplane, the afterburner opening, thrust vectoring, fin,
// flaps and ailerons.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// The key handlers' limit of the held commands (tail trim, rudder).
void LimitControlDeflections(FlightState& s, const aircraft::AircraftData& a);

// True when the control augmentation forms the demands this step.
bool UsesControlAugmentation(const LoopTiming& loop, const BodyMotion& body, const AirData& air,
                             const PilotControls& pilot, const aircraft::AircraftData& a);

// The direct path (augmentation off).
void ApplyDirectControl(const PilotControls& pilot, const aircraft::AircraftData& a, MassProperties& masses,
                        ControlState& controls);

// The common chain, both paths.
void DriveControlSurfaces(FlightState& s, const aircraft::AircraftData& a);

}  // namespace zarv::flight
