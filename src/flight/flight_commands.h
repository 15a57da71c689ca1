// What the flight screen's commands do to the flight: the take-off command,
// the landing gear, the flap lever and the fuel dump, and the start state
// the flight screen's load leaves. The screen adds its own part (the repeat
// guard, the menu, the sounds); these only change the flight state.
#pragma once

#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

// The take-off command (Enter, Space, numpad 5, a left click, joystick
// button 0): toggles the wheel brake and, on the platform or when the brake
// of an aircraft on its gear is released, starts the run, but only while the
// aircraft has not yet left its start. True when the run was started (the
// screen then shows the in-flight menu).
bool ApplyTakeoffCommand(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a);

// Gear up or down; a light piston aircraft has a fixed gear.
void ToggleGear(FlightState& s, const aircraft::AircraftData& a);

// The flap lever, notches 0..3.
void FlapDown(FlightState& s, const aircraft::AircraftData& a);
void FlapUp(FlightState& s);

// Dumps fuel to the next lower step (60 %, 30 %, 10 %; a rocket 7 % of its
// dry mass).
void ToggleFuelDump(FlightState& s, const aircraft::AircraftData& a);

// The start state the flight screen's load leaves after the per-flight
// set-up: engine flags, the gear of a heavy aircraft, a start from the
// surface, the start point on the course line, the view centre and the
// steering pointer resting on it.
void ApplyFlightStartState(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options);

}  // namespace zarv::flight
