// The background of the cockpit view: the horizon as a straight line across
// the view, sky and ground polygons on either side, and two sets of 14 haze
// bands along the horizon whose widths follow the altitude.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "aircraft/aircraft_data.h"
#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"

namespace zarv::view {

// The sky shades and band edges the start-up builds (the shell's sky bands),
// handed to the view by its caller.
struct SkyTables {
  std::array<Color, 31> SkyColourTable{};      // 0xBBGGRR, 1..30 (0 holds black)
  std::array<int16_t, 31> HorizonBandOffset{};  // px, cumulative; entry 0 is 0
};

// The tables from the sky bands the start-up works out (the shell's
// SkyBandColour and SkyBandEdge); the view does not link the shell.
template <class Bands>
SkyTables SkyTablesFrom(const Bands& bands) {
  SkyTables sky;
  for (std::size_t i = 0; i < sky.SkyColourTable.size(); ++i) {
    sky.SkyColourTable[i] = static_cast<Color>(bands.SkyBandColour[i]);
    sky.HorizonBandOffset[i] = static_cast<int16_t>(bands.SkyBandEdge[i]);
  }
  return sky;
}

// Where the view looks from and how it is turned, for one frame.
struct ViewGeometry {
  double ScreenScale = 1.0;
  double PixelsPerRadian = 573.0;
  int32_t ViewCentreX = 320;
  int32_t ViewCentreY = 240;
  double PitchAngle = 0.0;  // rad, nose up positive
  double PitchAngleSin = 0.0, PitchAngleCos = 1.0;
  double BankAngle = 0.0;
  double ViewRollSin = 0.0, ViewRollCos = 1.0;
};

// The surface below a light aircraft: the lake's colour under one let go
// from the platform, grey under one that starts with no platform beneath it
// (1 m or less). The flight screen and the probe's pictures both take it
// from here; a powered aircraft's ground is drawn otherwise.
Color SurfaceColourOf(const aircraft::AircraftData& a);

struct HorizonInputs {
  ViewGeometry View;
  double Altitude = 0.0;
  double LaunchSpeed = 0.0;  // above 10: open sea below, else SurfaceColour
  Color SurfaceColour = 0xBBAA22;
  int16_t WireframeView = 0;
  const SkyTables* Sky = nullptr;
};

// What the horizon keeps between frames and leaves for the ground lines.
struct HorizonState {
  int16_t HorizonRefX = 0, HorizonRefY = 0;  // the horizon point nearest the line of sight
  std::array<PointI, 5> ListA{}, ListB{};    // kept when no case matches
  int16_t ShadeIndex = 0;                    // of the last call
};

// Paints the sky, the ground and the bands into picture; leaves the fill
// style solid (transparent in the wireframe view).
void DrawHorizonAndGround(const HorizonInputs& in, HorizonState& st, Surface& picture);

// The end points of the horizon line (before the polygons), for tests.
struct HorizonLine {
  PointI P1, P2;
};
HorizonLine HorizonEnds(const ViewGeometry& v, int16_t refX, int16_t refY);

// The horizon reference point of an attitude, limited as drawn.
void HorizonReference(const ViewGeometry& v, int16_t& refX, int16_t& refY);

}  // namespace zarv::view
