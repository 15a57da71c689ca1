#include "view/head_up_display.h"

#include <cmath>
#include <string>

#include "flight/head_up.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "view/panel_drawing.h"

namespace zarv::view {

using namespace panel;

void DrawHeadUpDisplay(const HudInputs& in, const PanelView& panel, const flight::FlightState& s,
                       const aircraft::AircraftData& a, const flight::FlightOptions& o, Surface& view, double now) {
  // The frame leaves its own font on the view picture: set the display's.
  view.SetFontName("ＭＳ ゴシック");
  view.SetFontSize(11 * panel.Screen.FontScale * o.ScreenScale);
  const flight::HeadUpState& h = s.HeadUp;
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

  if (o.ShowVelocityVector == 1) {
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
      if (h.CompanionSampleCount > 0) {
        const double d = h.CameraDistance;
        if (d > 1852 && d < 18520) {
          PrintAt(view, cx + 50 * S, cy + 27 * S, Format(std::fabs(d) / 1852, "#00") + "nm");
        } else if (d <= 1852) {
          PrintAt(view, cx + 50 * S, cy + 27 * S, Format(std::fabs(d) / 0.3048, "#00") + "ft");
        }
        PrintAt(view, cx + 65 * S, cy + 40 * S, Format(300 - in.ShotsFired, "000"));
        PrintAt(view, cx + 65 * S, cy + 53 * S, Format(in.HitCount, "000") + "pt");
      }
    }
    // Only after a burst: the clock counts from the program's start, so an
    // empty burst time would show the cue at the start of every flight.
    if (s.Sound.TriggerTime > 0 && t < s.Sound.TriggerTime + 2) {
      view.Line(cx - 50 * S, cy - 30 * S, cx + 50 * S, cy + 30 * S);
      view.Line(cx - 50 * S, cy + 30 * S, cx + 50 * S, cy - 30 * S);
    }
    const bool sight = panel.Screen.Record != nullptr && flight::GunSightActive(s, *panel.Screen.Record);
    // The target box on the companion's nearest triangle, within 90 S of the
    // centre; a light aircraft's box stays where it started.
    int16_t targetX = 0, targetY = 0;
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      auto mark = [&](double mean, double centre) {
        const int16_t g = Nearest16(mean);
        if (std::fabs(g - centre) <= 90 * S) return g;
        return Nearest16(centre + 90 * S * Sgn(g - centre));
      };
      const auto& q = in.PolygonPoints;
      targetX = mark((static_cast<double>(q[0].x) + q[1].x + q[2].x) / 3, cx);
      targetY = mark((static_cast<double>(q[0].y) + q[1].y + q[2].y) / 3, cy);
    }
    view.SetFillStyle(vbFSTransparent);
    if (!in.EditorActive && o.FlightDataChartsActive == 0) {
      view.Circle(h.VelocityMarkX, h.VelocityMarkY, 6 * S);
      if (h.CompanionSampleCount > 0 && s.Engine.EngineRating >= 9000) {
        view.LineStep(targetX - 7 * S, targetY - 7 * S + in.ViewShake, 14 * S, 14 * S, std::nullopt,
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
