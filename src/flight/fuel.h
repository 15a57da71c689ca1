// The flight-model work the instrument panel and the option refresh carry:
// the fuel burn and the engine stop at empty, the Mach-number factors, the
// static wing-bend shares, and the panel's phase scheduling. The panel's
// drawing calls these; without a screen the flight loop calls
// UpdateInstrumentPanelPhysics in its place.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// The fuel flow of the engine family (kg/s), burnt over the simulated time
// between two runs of the panel's phase 4 (eight drawn frames); a rocket
// pulling hard loses throttle; a dry tank stops the engine.
void BurnFuel(FlightState& s);

// The shares of the wing's 1-g deflection taken by the inner, outer and tip
// panels, and the wing's share of the mass.
void UpdateBendShares(FlightState& s, const aircraft::AircraftData& a);

// One panel update without drawing: counts the update and the engine shake,
// and runs the phase due (all phases while the aircraft rests in the water):
// phase 1 the option refresh's bend shares, phase 4 the Mach factors and the
// fuel burn.
void UpdateInstrumentPanelPhysics(FlightState& s, const aircraft::AircraftData& a);

}  // namespace zarv::flight
