// The loop's input and sound step: the steering pointer (mouse, or the
// joystick read as a virtual pointer) into the stick, the joystick's third
// axis as throttle and afterburner, the joystick buttons and poll, and which
// sound plays when.
#pragma once

#include "flight/flight_record.h"
#include "flight/flight_seams.h"
#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

void ProcessLoopInput(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& options, FlightSeams& seams);

// The lateral stick's dead zone and gearing (screen pixels x scale).
double ShapeLateralStick(double x, double scale);

// Takes the joystick's last poll as the stick's rest: the axes that read
// non-zero are marked present and the offsets (pointer pixels) are set so
// that the loop reads that position as the centre.
void SetJoystickRest(PilotControls& pilot, double scale);

}  // namespace zarv::flight
