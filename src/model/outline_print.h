// Plain-text dump of an outline for the developer probe and for comparing
// builds: one line per grid point, pivot and hinge value.
#pragma once

#include <ostream>
#include <string_view>

#include "model/outline.h"

namespace zarv::model {

// "GridName s p x y z" for every point of the FrontFuselage, RearFuselage,
// Wing, Tail and Nacelle grids (station-major), then "Pivot Name x y z" for
// the 14 pivots in record order, then "Name value" for TailplaneHingeY,
// TailplaneHingeZ, FinHingeX and FinHingeY. Numbers in their shortest
// exact form.
void PrintOutline(std::ostream& out, const AirframeOutline& outline);

// The first word of the first line PrintOutline writes with a NaN or an
// infinity in it ("Wing", "Pivot", "FinHingeX"); empty when all are finite.
std::string_view FirstNonFiniteLine(const AirframeOutline& outline);

}  // namespace zarv::model
