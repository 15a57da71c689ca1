// The panel laid over the view through its mask, the hang-glider meter, and
// the mark tracks (rudder, elevator, nozzle, balance ball) in the face.
#include <cmath>

#include "platform/runtime/angles.h"
#include "view/instrument_panel.h"
#include "view/panel_drawing.h"

namespace zarv::view {

using namespace panel;

void DrawPanelMeters(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData& a,
                     const flight::FlightOptions& o, PanelSurfaces& p, Surface& frame, int16_t& frameToggle) {
  const double S = o.ScreenScale;
  frame.SetFontName("ＭＳ Ｐゴシック");
  frame.SetFontSize(9 * S * v.Screen.FontScale);
  const int top = v.Screen.PanelTop;
  if (v.Screen.ShowInstrumentPanel == 1) {
    BitBlt(frame, Px(50 * S), top, Px(540 * S), Px(241 * S), p.Mask, 0, 0, SRCAND);
    BitBlt(frame, Px(50 * S), top, Px(540 * S), Px(240 * S), p.Face, 0, 0, SRCPAINT);
  }
  const bool meter = v.Screen.ShowPylonOrHangMeter == 1 && aircraft::LaunchAtMost10(a.LaunchSpeed) && s.Body.Altitude > -1;
  if (meter) {
    // The view's shake turns the toggle back to 0 after each frame the meter
    // draws, so the meter finds it at 0. A meter switched on in flight may
    // find the 1 the shake left alone; taken as it stands, it would lock the
    // view into shaking on every frame.
    if (!v.HangMeterShown) frameToggle = 0;
    frameToggle = frameToggle == 1 ? -1 : 1;
    frame.SetDrawWidth(2);
    frame.LineStep(120 * S + 3, top - 145 * S + 145 - 7.2 * s.Body.AirSpeed * (1 + frameToggle / 40.0), 24, 0, kRed);
    BitBlt(frame, Px(120 * S), Px(top - 145 * S), 30, 160, p.SpeedTape, 0, 0, SRCAND);
    frame.SetDrawWidth(1);
  }
  v.HangMeterShown = meter;

  Surface& f = p.Face;
  const double rc = std::floor(270 * S + 0.5);
  f.SetDrawWidth(1);
  BlackBox(f, rc - 32, 50 * S + 1, 64, 10 * S - 3);
  const int xc = Nearest16(rc - 171.9 * s.Pilot.RudderCommand);
  const double xa = std::fabs(s.Controls.RudderAngle) * kDegreesPerRadian < 10 ? rc - 171.9 * s.Controls.RudderAngle : rc - 30 * Sgn(s.Controls.RudderAngle);
  f.LineStep(xc, 50 * S + 1, 0, 10 * S - 3, kLampOn);
  f.LineStep(xa, 50 * S + 1, 0, 10 * S - 3, kRed);

  const int t = Sgn(a.TailplaneArm);
  // A mark on the elevator track, held at -15 and +10 degrees.
  auto trackY = [&](double e, double angle) {
    if (e < -15) return static_cast<double>(Nearest16(112 * S - 45));
    if (e > 10) return static_cast<double>(Nearest16(112 * S + 30));
    return static_cast<double>(Nearest16(112 * S + 171.9 * t * angle));
  };
  f.Line(265 * S + 1, 112 * S - 46, 275 * S - 2, 112 * S + 32, vbBlack, LineBox::BF);
  const double yc = 112 * S + 3 * t * a.TailplaneIncidence + 171.9 * s.Controls.ElevatorCommand;
  const double ya = trackY(t * s.Controls.ElevatorAngle * kDegreesPerRadian, s.Controls.ElevatorAngle);
  f.Line(265 * S + 1, yc, 275 * S - 1, yc, kLampOn);
  f.Line(265 * S + 1, ya, 275 * S - 1, ya, kRed);
  if (s.Engine.TvcOn > 0) {
    const double y = trackY(s.Controls.NozzlePitch * kDegreesPerRadian, s.Controls.NozzlePitch);
    f.Line(265 * S + 1, y, 275 * S - 1, y, kOrange);
  }

  f.SetDrawWidth(1);
  BlackBox(f, 270 * S - 35, 40 * S - 1, 70, -12);
  if (std::fabs(s.Air.NormalLoad) > 1) {
    const int sps = s.Loop.StepsPerSecond;
    const int16_t held = CheckedRound<int16_t>(static_cast<double>(sps) * v.BallOffset);
    const double target = s.Body.Distance > 0 ? 171.9 * s.Loads.SideLoadRatio : -171.9 * s.Body.BankAngle;
    v.BallOffset = Nearest16((held + target) / (sps + 1));
    if (std::abs(v.BallOffset) > 30) v.BallOffset = static_cast<int16_t>(30 * Sgn(v.BallOffset));
  }
  BitBlt(f, Px(270 * S + v.BallOffset - 5), Px(40 * S - 12), 12, 12, p.Ball, 0, 0, SRCCOPY);
}

}  // namespace zarv::view
