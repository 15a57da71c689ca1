#include "flightscreen/cockpit_drawing.h"

namespace zarv::flightscreen {

void FillHudInputs(view::HudInputs& in, const view::CockpitView& v, flight::FlightState& s,
                   const flight::FlightRecord& r, const flight::CompanionData& companion, int16_t wireframe,
                   bool editorActive) {
  s.HeadUp.CompanionSampleCount = companion.CompanionSampleCount;
  s.HeadUp.CameraDistance = v.Readout.CameraDistance;
  in.WireframeView = wireframe;
  in.PolygonPoints = v.Readout.PolygonPoints;
  in.ShotsFired = r.LaunchMarkTenths;
  in.HitCount = s.Gun.HitCount;
  in.ViewShake = v.ViewShake;
  in.EditorActive = editorActive;
}

}  // namespace zarv::flightscreen
