#include "view/head_up_display.h"

#include <cmath>
#include <string>

#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "view/panel_drawing.h"

namespace zarv::view {

using namespace panel;

int16_t NextGunSight(int16_t previous, double centre, double aim, double scale) {
  // Clamped before narrowing: a far or fast target gives aim points far
  // beyond any 16-bit pixel.
  double target = aim;
  if (!std::isfinite(target)) target = centre;
  if (std::fabs(target - centre) > 86 * scale) target = centre + 86 * scale * Sgn(target - centre);
  return Nearest16((target + previous) / 2);
}

void DrawHeadUpDisplay(HeadUpDisplayView& h, const PanelView& panel, const flight::FlightState& s,
                       const aircraft::AircraftData& a, const flight::FlightOptions& o, Surface& view,
                       double now) {
  // The frame leaves its own font on the view picture: set the display's.
  view.SetFontName("ＭＳ ゴシック");
  view.SetFontSize(11 * panel.Screen.FontScale * o.ScreenScale);
  const HudInputs& in = h.In;
  const double S = o.ScreenScale;
  const double cx = s.View.ViewCentreX, cy = s.View.ViewCentreY;
  const double P = s.Pilot.PixelsPerRadian;
  const bool jetOrRocket = s.Engine.EngineType == aircraft::EngineKind::Jet || s.Engine.EngineType == aircraft::EngineKind::Rocket;

  const float t = static_cast<float>(now);
  const double blink = 2.0 * t - Int(2.0 * t);
  if ((jetOrRocket || s.Masses.DryMass > 800) && blink < 0.5 && s.Controls.GearValue == 0 && s.Body.Altitude < 304.8 && s.Body.VelZ < 0 &&
      s.Body.ViewRollCos > 0.85) {
    view.SetForeColor(kRed);
    PrintAt(view, 380 * S, 230 * S, "Gear");
  }
  view.SetForeColor(in.WireframeView != 0 ? 0x00FF00 : 0x00CC00);

  if (in.ShowVelocityVector == 1) {
    if (std::fabs(s.Air.AngleOfAttack) < 2) {
      h.VelocityMarkX = Nearest16(cx - P * s.Air.Sideslip);
      h.VelocityMarkY = Nearest16(cy + P * s.Air.AngleOfAttack);
    }
    const double c = s.Body.ViewRollCos, n = s.Body.ViewRollSin;
    const double mx = h.VelocityMarkX, my = h.VelocityMarkY;
    auto line = [&](double x1, double y1, double x2, double y2) {
      view.Line(Nearest16(x1), Nearest16(y1), Nearest16(x2), Nearest16(y2));
    };
    line(mx + 10 * S * c, my - 10 * S * n, mx - 10 * S * c, my + 10 * S * n);
    line(mx, my, mx - 10 * S * n, my - 10 * S * c);
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      line(cx + 20 * S * c, cy - 20 * S * n, cx + 60 * S * c, cy - 60 * S * n);
      line(cx - 20 * S * c, cy + 20 * S * n, cx - 60 * S * c, cy + 60 * S * n);
    }
    PrintAt(view, 313 * S, cy - 80 * S, panel.HudHeadingText);
    PrintAt(view, 220 * S, cy + 53 * S, panel.HudLoadText);
    PrintAt(view, 220 * S, cy + 40 * S, panel.HudAlphaText);
    if (a.EngineCount > 0) {
      PrintAt(view, (225 - 4 * Len(panel.HudSpeedText)) * S, cy - 10 * S, panel.HudSpeedText);
      PrintAt(view, (415 - 4 * Len(panel.HudAltitudeText)) * S, cy - 10 * S, panel.HudAltitudeText);
      if (in.CompanionSampleCount > 0) {
        const double d = in.CameraDistance;
        if (d > 1852 && d < 18520) {
          PrintAt(view, cx + 50 * S, cy + 27 * S, Format(std::fabs(d) / 1852, "#00") + "nm");
        } else if (d <= 1852) {
          PrintAt(view, cx + 50 * S, cy + 27 * S, Format(std::fabs(d) / 0.3048, "#00") + "ft");
        }
        if (h.ShotsFired < in.ShotsFiredTarget) h.ShotsFired += 0.5f;
        PrintAt(view, cx + 65 * S, cy + 40 * S, Format(300 - h.ShotsFired, "000"));
        PrintAt(view, cx + 65 * S, cy + 53 * S, Format(in.HitCount, "000") + "pt");
      }
    }
    // Only after a burst: the clock counts from the program's start, so an
    // empty burst time would show the cue at the start of every flight.
    if (s.Sound.TriggerTime > 0 && t < s.Sound.TriggerTime + 2) {
      view.Line(cx - 50 * S, cy - 30 * S, cx + 50 * S, cy + 30 * S);
      view.Line(cx - 50 * S, cy + 30 * S, cx + 50 * S, cy - 30 * S);
    }
    const bool sight = s.Masses.DryMass > 1000 && s.Masses.DryMass < 19000 && panel.Screen.Record != nullptr &&
                       panel.Screen.Record->RecordCount > 20 && in.CompanionSampleCount > 0;
    if (sight) {
      const double v = s.Body.AirSpeed + panel.MuzzleSpeed;
      const double d = in.CameraDistance;
      const double lead = d < 2500 ? 1.2 * d / v : 2500 / v;
      h.GunSightX = NextGunSight(h.GunSightX, cx, cx - P * s.Body.YawRate * lead, S);
      h.GunSightY = NextGunSight(h.GunSightY, cy, cy + P * s.Body.PitchRate * lead, S);
    }
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      auto mark = [&](double mean, double centre) {
        const int16_t g = Nearest16(mean);
        if (std::fabs(g - centre) <= 90 * S) return g;
        return Nearest16(centre + 90 * S * Sgn(g - centre));
      };
      const auto& q = in.PolygonPoints;
      h.TargetMarkX = mark((static_cast<double>(q[0].x) + q[1].x + q[2].x) / 3, cx);
      h.TargetMarkY = mark((static_cast<double>(q[0].y) + q[1].y + q[2].y) / 3, cy);
    }
    view.SetFillStyle(vbFSTransparent);
    if (!in.EditorActive && o.FlightDataChartsActive == 0) {
      view.Circle(h.VelocityMarkX, h.VelocityMarkY, 6 * S);
      if (in.CompanionSampleCount > 0 && s.Engine.EngineRating >= 9000) {
        view.LineStep(h.TargetMarkX - 7 * S, h.TargetMarkY - 7 * S + in.ViewShake, 14 * S, 14 * S, std::nullopt,
                      LineBox::B);
      }
      if (sight) view.Circle(h.GunSightX, h.GunSightY + in.ViewShake, 6 * S);
    }
    view.SetFillStyle(vbFSSolid);
  }

  view.SetDrawWidth(1);
  view.Line(cx - P / 30, cy, cx - P / 40, cy);
  view.LineTo(cx - P / 80, cy + P / 40);
  view.LineTo(cx, cy);
  view.LineTo(cx + P / 80, cy + P / 40);
  view.LineTo(cx + P / 40, cy);
  view.LineTo(cx + P / 30, cy);
  view.Line(cx - 2, cy, cx + 3, cy);
}

}  // namespace zarv::view
