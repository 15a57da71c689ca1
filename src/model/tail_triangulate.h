// Triangles of the tail grid: both tailplane halves and both fins, each fin
// closed at its last section by a fan about a reference point. Together they
// always add 100 triangles in 6 groups (while the list has room).
#pragma once

#include "model/triangulate.h"

namespace zarv::model {

// Called in this order by the build, after the seven part builders.
void AddLeftTailplanePolygons(PartBuildContext& c);
void AddRightTailplanePolygons(PartBuildContext& c);
void AddFinPolygons1(PartBuildContext& c);
void AddFinPolygons2(PartBuildContext& c);

}  // namespace zarv::model
