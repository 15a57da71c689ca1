// The camera position map: a plan of the shore, the prisms and the flight
// path coloured by height, with a cross at the ground camera. A click puts
// the camera at the clicked place.
#pragma once

#include <string>

#include "flight/flight_record.h"
#include "platform/ui/surface.h"
#include "replay/replay_player.h"

namespace zarv::replay {

// World metres to map pixels and back, by aircraft class.
struct MapScale {
  double MetresPerPixel, OriginX, OriginY;
  static MapScale For(bool powered);
  double ToX(double east) const { return OriginX + east / MetresPerPixel; }
  double ToY(double north) const { return OriginY - north / MetresPerPixel; }
  double ToEast(double x) const { return (x - OriginX) * MetresPerPixel; }
  double ToNorth(double y) const { return (OriginY - y) * MetresPerPixel; }
};

// Draws the map into `map` (400 x 380); returns the cross's map pixel.
PointI DrawCameraMap(const ReplayPlayer& player, Surface& map);

// The camera placed at the clicked map pixel.
void PlaceCameraFromMap(ReplayPlayer& player, double x, double y);

// The map's two readout lines for the pointer at map pixel (x, y).
std::string CameraMapReadout(const ReplayPlayer& player, double x, double y);

}  // namespace zarv::replay
