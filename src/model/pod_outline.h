// Outline of a light aircraft whose wing sits low on a short pod body: the
// pod, one central boom or two booms, the tail surfaces, the wing-body
// junction and the part reference points.
#pragma once

#include "flight/flight_state.h"
#include "model/outline.h"
#include "shell/aircraft_data.h"

namespace zarv::model {

// Reads the aircraft record and the set-up's derived sizes (body, chords,
// tail end, tail profile drag) and the wing grid the set-up has written;
// fills the rest of the outline. Only the outline is written.
void BuildPodOutline(const shell::AircraftData& aircraft, flight::FlightState& state,
                     AirframeOutline& outline);

}  // namespace zarv::model
