#include "view/ground_lines.h"

#include <cmath>
#include <cstdlib>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/numeric.h"

namespace zarv::view {

int DrawGroundLines(const GroundLineInputs& in, ScreenLines& lines, Surface& picture) {
  if (!(in.Altitude > -10 && in.Altitude < 213) || !(in.CourseDistance > 0)) return 0;
  const bool powered = aircraft::LaunchAbove10(in.LaunchSpeed);
  const double spacing = powered ? 30.0 : 6.0;
  const double halfLength = powered ? 5.0 : 1.35;
  const double c = in.View.ViewRollCos, n = in.View.ViewRollSin, p = in.View.PixelsPerRadian;
  // A pitch of exactly 0.26 rad puts the sight line's meeting point at
  // infinity: that frame has no lines.
  const double tanSight = std::tan(0.26 - in.View.PitchAngle);
  if (tanSight == 0 || !std::isfinite(tanSight)) return 0;
  const double grid = Int(in.TrackOdometer / spacing) * spacing - in.TrackOdometer;
  const double out = in.Altitude / tanSight;
  int drawn = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    const double f = grid + spacing * static_cast<double>(i) + out;
    const double depression = f < 0.1 ? 2.0 : (in.EyeHeight + in.Altitude) / f;
    const double lateral = halfLength / std::sqrt(f * f + 0.01);
    auto put = [&](double angle, int16_t ref, int32_t& slot) {
      if (!(std::fabs(angle) < 1.57)) return false;
      slot = CLng(ref + angle * p);
      return true;
    };
    // An end out of the projection's reach keeps what the shared table last
    // held there, another frame's or another drawing's: such a line is left
    // out rather than drawn to it.
    const bool x1 = put(lateral * c + depression * n, in.HorizonRefX, lines.X1[i]);
    const bool x2 = put(-lateral * c + depression * n, in.HorizonRefX, lines.X2[i]);
    const bool y1 = put(-lateral * n + depression * c, in.HorizonRefY, lines.Y1[i]);
    const bool y2 = put(lateral * n + depression * c, in.HorizonRefY, lines.Y2[i]);
    if (x1 && x2 && y1 && y2 && std::abs(static_cast<int64_t>(lines.X1[i]) - in.View.ViewCentreX) < 1000 &&
        std::abs(static_cast<int64_t>(lines.Y1[i]) - in.View.ViewCentreY) < 1000) {
      picture.Line(lines.X1[i], lines.Y1[i], lines.X2[i], lines.Y2[i], Color{0xFFFFFF});
      ++drawn;
    }
  }
  return drawn;
}

}  // namespace zarv::view
