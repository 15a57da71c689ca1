// The companion aircraft in the cockpit view: its outline placed at the
// recorded attitude and position with its control surfaces moved, the
// scenery prisms projected, the polygon list built and painted farthest
// first into the view's picture.
#pragma once

#include <array>
#include <cstdint>

#include "flight/companion_record.h"
#include "model/polygon_build.h"
#include "model/polygon_list.h"
#include "model/rotation.h"
#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"

namespace zarv::view {

using model::ModelScene;
using model::PolygonList;
using model::ProjectionRecords;
using model::SceneryPrismSet;
using model::ScreenMapping;
using model::ShadingInputs;
using model::ViewPoint;

struct CompanionDrawSettings {
  int32_t RecordCount = 0;  // the live flight's sample index
  int16_t ShowObjects = 0;  // the objects option
  // Of the own aircraft: they choose how the companion's fins turn.
  double LaunchSpeed = 0.0;
  double TailplaneArea = 0.0;
  int32_t ViewCentreX = 0;  // pixels
  int32_t ViewCentreY = 0;
  double ScreenScale = 1.0;
  // The line of sight (radians) as the flight loop set it for the frame.
  double ViewHeading = 0.0;
  double ViewDepression = 0.0;
  ShadingInputs Shading;
};

// What the drawing leaves for the head-up display, which reads it later in
// the same frame.
struct CompanionReadout {
  double CameraDistance = 0.0;  // m, depth of the nearest polygon
  std::array<PointI, 3> PolygonPoints{};  // the last polygon painted
  // The companion marker (element 10 of the exhaust-puff points): the centre
  // of the last painted polygon that starts near the view centre.
  int16_t PuffScreenX10 = 0;
  int16_t PuffScreenY10 = 0;
};

// Carries the body-frame point (x, y, z) of an aircraft at (posX, posY,
// posZ) into `out`: rotated by the projection records' attitude, projected
// and mapped to the screen.
void PlaceOutlinePoint(ProjectionRecords& projection, const ScreenMapping& mapping, double posX,
                       double posY, double posZ, double x, double y, double z, ViewPoint& out);

// Fills the nine view grids from the companion's outline at sample
// RecordCount, with its elevator, rudder, flaps, ailerons and nozzle moved,
// and sets the attitude, the model position and the afterburner glow.
// Only with more than 10 samples and a record index of 1 or more; returns
// whether the companion was placed (otherwise nothing is written).
bool PlaceCompanion(const flight::CompanionData& companion,
                    const CompanionDrawSettings& settings, ModelScene& scene,
                    ProjectionRecords& projection);

// Projects every prism corner, foot and top, into the scene's prism grids:
// screen X = zoom x ProjX + centreX, screen Y = zoom x ProjY + centreY.
void ProjectPrisms(const SceneryPrismSet& prisms, int32_t centreX, double centreY,
                   ModelScene& scene, ProjectionRecords& projection);

// Paints the list's polygons in drawing order, leaving out those not to be
// drawn, each filled and outlined in its colour.
void PaintPolygonList(PolygonList& list, const CompanionDrawSettings& settings,
                      CompanionReadout& readout, Surface& picture);

// One frame of the companion and the scenery prisms. Does nothing visible
// without a companion of more than 10 samples unless the objects option is
// on, nor before the first recorded sample.
void DrawAircraftModel(const flight::CompanionData& companion,
                       const CompanionDrawSettings& settings, const SceneryPrismSet& prisms,
                       ModelScene& scene, ProjectionRecords& projection, PolygonList& list,
                       CompanionReadout& readout, Surface& picture);

}  // namespace zarv::view
