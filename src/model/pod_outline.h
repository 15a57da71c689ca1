// Outline of a light aircraft whose wing sits low on a short pod body: the
// pod, one central boom or two booms, the tail surfaces, the wing-body
// junction and the part reference points.
#pragma once

#include "model/outline_inputs.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::model {

// Reads the aircraft record and the set-up's derived sizes (body, chords,
// tail end, tail profile drag) and the wing grid the set-up has written;
// fills the rest of the outline. Only the outline is written.
void BuildPodOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                     AirframeOutline& outline);

}  // namespace zarv::model
