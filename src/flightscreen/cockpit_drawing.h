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
  view::HeadUpDisplayView Hud;
  view::SkyTables Sky;
  bool PanelReady = false;  // the cached panel art was found
};

// The head-up display's inputs of this frame from the view, the companion
// and the gun. The shot target stays as the gun burst left it.
void FillHudInputs(view::HudInputs& in, const view::CockpitView& v, const flight::FlightState& s,
                   const flight::CompanionData& companion, int16_t showVelocityVector, int16_t wireframe,
                   bool editorActive);

}  // namespace zarv::flightscreen
