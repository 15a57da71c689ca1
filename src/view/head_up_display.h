// The head-up display over the cockpit view: gear warning, velocity vector
// with horizon bars, the panel's head-up texts, the gun's counters, cue,
// lead-computing sight and target box, and the aircraft reference symbol.
#pragma once

#include <array>
#include <cstdint>

#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"
#include "flight/flight_state.h"
#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"
#include "view/instrument_panel.h"

namespace zarv::view {

// What the frame, the companion drawing, the gun and the record leave for
// the display. Its moving marks and the shots fired are stepped by the
// flight loop (flight/head_up.h); the display only draws them.
struct HudInputs {
  int16_t WireframeView = 0;
  std::array<PointI, 3> PolygonPoints{};  // the companion's last painted triangle
  float ShotsFired = 0;                  // the record's rounds fired
  int16_t HitCount = 0;
  int16_t ViewShake = 0;                 // px, as the last frame left it
  bool EditorActive = false;             // the aircraft data editor is open
};

// Draws into the view picture. `now` is the clock in seconds (the blink and
// the firing cue; s.Sound.TriggerTime is the last burst on the same clock).
void DrawHeadUpDisplay(const HudInputs& in, const PanelView& panel, const flight::FlightState& s,
                       const aircraft::AircraftData& a, const flight::FlightOptions& o, Surface& view, double now);

}  // namespace zarv::view
