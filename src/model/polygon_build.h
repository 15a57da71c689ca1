// The once-per-frame rebuild of the polygon list: the drawn aircraft's parts,
// the replay's trail and the scenery prisms, then shading and painter's order.
#pragma once

#include <cstdint>

#include "model/polygon_list.h"
#include "model/polygon_shade.h"
#include "model/rotation.h"

namespace zarv::model {

struct BuildSettings {
  // Flight or replay, and how either maps projected points to the screen.
  ScreenMapping Mapping;
  // Cockpit view only: the grids hold this frame's companion. The replay
  // always draws its aircraft.
  bool CompanionPlaced = false;
  int16_t ShowObjects = 0;           // the objects option
  int32_t CompanionSampleCount = 0;  // 0 without a companion
  double LaunchSpeed = 0.0;          // own aircraft; below 10 a light aircraft
  bool VortexLinesSelected = false;  // replay trail: wing-tip lines, not the path
  // The line of sight (radians), for the facing test of the shading.
  double ViewHeading = 0.0;
  double ViewDepression = 0.0;
  ShadingInputs Shading;
};

// Rebuilds `list` from the scene's grids (when an aircraft is drawn), trail
// (replay) and prism corners. The projection records hold the drawn
// aircraft's attitude and the view; their work point and result are
// overwritten. A build that has nothing to draw (cockpit view, no companion,
// objects off) leaves an empty list and the previous groups and orders.
void BuildAircraftPolygons(const BuildSettings& settings, const SceneryPrismSet& prisms,
                           const ModelScene& scene, ProjectionRecords& projection,
                           PolygonList& list);

}  // namespace zarv::model
