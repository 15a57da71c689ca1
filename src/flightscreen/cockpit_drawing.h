// What the flight screen keeps to draw the cockpit view, the instrument
// panel and the head-up display of one run. Rebuilt at each load: the view's
// hooks point into it.
#pragma once

#include <cstdint>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "view/cockpit_view.h"
#include "view/head_up_display.h"
#include "view/instrument_panel.h"
#include "view/sky_ground.h"

namespace zarv::flightscreen {

struct CockpitDrawing {
  view::CockpitView View;
  view::PanelView Panel;
  view::PanelSurfaces Surfaces;
  view::HudInputs Hud;
  view::SkyTables Sky;
  bool PanelReady = false;  // the cached panel art was found
};

// The head-up display's inputs of this frame from the view, the gun and the
// record; and into the flight state what the companion and its drawing
// leave for the display's steps.
void FillHudInputs(view::HudInputs& in, const view::CockpitView& v, flight::FlightState& s,
                   const flight::FlightRecord& r, const flight::CompanionData& companion, int16_t wireframe,
                   bool editorActive);

}  // namespace zarv::flightscreen
