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

// What the frame, the companion drawing and the gun leave for the display.
struct HudInputs {
  int16_t ShowVelocityVector = 1;
  int16_t WireframeView = 0;
  int32_t CompanionSampleCount = 0;
  double CameraDistance = 0;             // m, the companion's nearest polygon
  std::array<PointI, 3> PolygonPoints{};  // its last painted triangle
  int16_t ShotsFiredTarget = 0;
  int16_t HitCount = 0;
  int16_t ViewShake = 0;                 // px, as the last frame left it
  bool EditorActive = false;             // the aircraft data editor is open
};

// Kept between calls; Reset() gives the load-time values.
struct HeadUpDisplayView {
  HudInputs In;
  int16_t VelocityMarkX = 0, VelocityMarkY = 0;
  int16_t GunSightX = 0, GunSightY = 0;
  int16_t TargetMarkX = 0, TargetMarkY = 0;
  float ShotsFired = 0;

  void Reset() { *this = HeadUpDisplayView{}; }
};

// Draws into the view picture. `now` is the clock in seconds (the blink and
// the firing cue; s.Sound.TriggerTime is the last burst on the same clock).
void DrawHeadUpDisplay(HeadUpDisplayView& h, const PanelView& panel, const flight::FlightState& s,
                       const aircraft::AircraftData& a, const flight::FlightOptions& o, Surface& view,
                       double now);

// The lead-computing sight's next position: halfway from `previous` towards
// the aim point, the aim point held within 86 S of the centre.
int16_t NextGunSight(int16_t previous, double centre, double aim, double scale);

}  // namespace zarv::view
