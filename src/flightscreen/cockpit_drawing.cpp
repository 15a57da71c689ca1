#include "flightscreen/cockpit_drawing.h"

namespace zarv::flightscreen {

void FillHudInputs(view::HudInputs& in, const view::CockpitView& v, const flight::FlightState& s,
                   const flight::CompanionData& companion, int16_t showVelocityVector, int16_t wireframe,
                   bool editorActive) {
  in.ShowVelocityVector = showVelocityVector;
  in.WireframeView = wireframe;
  in.CompanionSampleCount = companion.CompanionSampleCount;
  in.CameraDistance = v.Readout.CameraDistance;
  in.PolygonPoints = v.Readout.PolygonPoints;
  in.HitCount = s.Gun.HitCount;
  in.ViewShake = v.ViewShake;
  in.EditorActive = editorActive;
}

}  // namespace zarv::flightscreen
