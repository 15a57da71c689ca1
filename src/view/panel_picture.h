// The panel and the head-up display of one flight state drawn off-screen:
// for the probe's pictures and for the cockpit-view frame picture.
#pragma once

#include "view/head_up_display.h"
#include "view/instrument_panel.h"

namespace zarv::view {

// The load-time set-up of the panel's pictures (face, mask, tape, ball).
// False when a cached bitmap is missing (the face is then drawn on black).
bool PreparePanel(PanelView& v, PanelSurfaces& p, const flight::FlightState& s, const aircraft::AircraftData& a,
                  const flight::FlightOptions& o);

// The y of the panel overlay in a view picture of the given height.
int PanelTopFor(int viewHeight, const aircraft::AircraftData& a, double scale);

// Draws the four panel phases of `s`, lays the panel over `frame` and draws
// the head-up display on top, as the last frame of a flight shows them.
// Reads the flight state only.
void DrawPanelAndHeadUpDisplay(PanelView& v, const HudInputs& h, const flight::FlightState& s,
                               const aircraft::AircraftData& a, const flight::FlightOptions& o,
                               PanelSurfaces& p, Surface& frame, double now);

}  // namespace zarv::view
