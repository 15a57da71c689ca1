// Outline of a light aircraft whose wing sits high above the body bottom: a
// fairing of horizontal slices under the wing, a boom for a single fin with
// a tailplane, the tail surfaces and the part reference points.
#pragma once

#include "model/outline_inputs.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::model {

// Reads the aircraft record, the set-up's derived sizes and the wing grid the
// set-up has written; fills the rest of the outline (never the wing grid).
void BuildSlicedFairingOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                               AirframeOutline& outline);

}  // namespace zarv::model
