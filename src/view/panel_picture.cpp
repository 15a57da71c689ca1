#include "view/panel_picture.h"

#include "view/panel_drawing.h"

namespace zarv::view {

bool PreparePanel(PanelView& v, PanelSurfaces& p, const flight::FlightState& s, const aircraft::AircraftData& a,
                  const flight::FlightOptions& o) {
  const bool face = ComposePanelFace(p, v.Screen, s, a, o.ScreenScale);
  const bool mask = LoadPanelMask(p, v.Screen, o.ScreenScale);
  DrawSpeedTape(p.SpeedTape, v.Screen.FontScale);
  MakeBallImage(p.Ball);
  p.Trace.SetForeColor(vbWhite);
  return face && mask;
}

int PanelTopFor(int viewHeight, const aircraft::AircraftData& a, double scale) {
  return panel::Px(viewHeight - (a.EngineCount > 0 ? 210 : 155) * scale);
}

void DrawPanelAndHeadUpDisplay(PanelView& v, const HudInputs& h, const flight::FlightState& s,
                               const aircraft::AircraftData& a, const flight::FlightOptions& o,
                               PanelSurfaces& p, Surface& frame, double now) {
  for (int i = 0; i < 4; ++i) DrawInstrumentPanel(v, s, a, o, p);
  int16_t frameToggle = 0;  // as a frame finds it
  DrawPanelMeters(v, s, a, o, p, frame, frameToggle);
  DrawHeadUpDisplay(h, v, s, a, o, frame, now);
}

}  // namespace zarv::view
