// The head-up display's moving parts: the shots fired counting up towards
// the burst's target, the velocity-vector marker and the lead-computing gun
// sight. The display is drawn twice per drawn frame (once at the display
// step, once in the frame), and each drawing steps these once: the loop
// calls StepHeadUpDisplay in both places, with or without a screen, and the
// drawing only reads the result.
#pragma once

#include <cstdint>

#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"

namespace zarv::flight {

// One step, while the velocity vector is shown: the marker follows the
// angle of attack and the sideslip (held beyond 2 rad), the shots fired
// (the record's LaunchMarkTenths) climb half a shot towards the target with
// a companion loaded and an engine, and the sight moves halfway to its aim.
void StepHeadUpDisplay(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& o);

// Whether the gun sight is shown and steered: a fighter-sized aircraft
// (1000 to 19000 kg dry), a second of the flight recorded, a companion.
bool GunSightActive(const FlightState& s, const FlightRecord& r);

// The sight's next position: halfway from `previous` towards the aim point,
// the aim point held within 86 `scale` of the centre.
int16_t NextGunSight(int16_t previous, double centre, double aim, double scale);

}  // namespace zarv::flight
