// Cutting the drawn aircraft's projected point grids into triangles of the
// polygon list, part by part, each part closing the groups by which the
// painter's sort orders whole parts.
#pragma once

#include "model/polygon_list.h"
#include "model/rotation.h"

namespace zarv::model {

// What the part builders read and write. The projection records carry the
// drawn aircraft's attitude and the eye; their work point and result are
// overwritten by every group closure.
struct PartBuildContext {
  PolygonList& List;
  const ModelScene& Scene;
  ProjectionRecords& Projection;
  ScreenMapping Mapping;  // for the points a builder projects itself
};

// Called in this order by the build, before the tail builders.
void AddFrontFuselagePolygons(PartBuildContext& c);
void AddLeftRearFuselagePolygons(PartBuildContext& c);
void AddRightRearFuselagePolygons(PartBuildContext& c);
void AddLeftNacellePolygons(PartBuildContext& c);
void AddRightNacellePolygons(PartBuildContext& c);
void AddLeftWingPolygons(PartBuildContext& c);
void AddRightWingPolygons(PartBuildContext& c);

// ---- shared with the tail builders ----

// Appends the triangle v0, v1, v2 with its depth and mean angles. Returns
// its slot, or 0 when the list is full (nothing written).
int EmitTriangle(PolygonList& list, const ViewPoint& v0, const ViewPoint& v1, const ViewPoint& v2);

// Closes the open group with the distance from the eye of the body-frame
// reference point (X negated for a mirrored half).
void ClosePartGroup(PartBuildContext& c, const OutlinePoint& reference, bool mirrored);

}  // namespace zarv::model
