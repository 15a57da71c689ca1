#include "flight/wind.h"

#include <cmath>

#include "flight/guarded_math.h"

namespace zarv::flight {
namespace {
constexpr double kUpdraftCentreX = -113;
constexpr double kUpdraftCentreY = 625;
}  // namespace

void UpdateWind(FlightState& s, const aircraft::AircraftData& a) {
  const double h = s.Setup.DihedralRise + s.Body.Altitude;
  double target = a.WindSpeed + 0.005;
  if (h > 0 && s.Body.CourseDistance > 0) {
    target = (a.WindSpeed + 0.005) * std::pow(h / (a.EyeHeight + s.Air.EyeAltitude + 0.001), 0.22);
  }
  double rate = (target - s.Air.WindAtAltitude) / 2;
  if (std::fabs(rate) > 9) rate = 9.0 * (rate > 0 ? 1 : -1);
  s.Air.WindChangeRate = static_cast<float>(rate);
  s.Air.WindAtAltitude += s.Air.WindChangeRate / static_cast<double>(s.Loop.StepsPerSecond);
  // The bound holds only above the water: below it the divisor reaches 0 at
  // -1 m and turns negative beyond, which would reverse the wind (at the
  // cancel sentinel -2000 m, for one).
  if (s.Body.Altitude > 0) {
    const double bound = a.WindSpeed * 20000 / (s.Body.Altitude + 1);
    if (s.Air.WindAtAltitude > bound) s.Air.WindAtAltitude = bound;
  }
}

void UpdateUpdraftStrength(FlightState& s) {
  const double h = s.Setup.DihedralRise + s.Body.Altitude;
  s.Air.UpdraftStrength = h > 300 ? 5 : (1 - std::cos(kPi * h / 300)) * 10 / 2;
}

double UpdraftSpeedAt(const FlightState& s, double x, double y) {
  const double r = std::sqrt(Sq(x - kUpdraftCentreX) + Sq(y - kUpdraftCentreY));
  if (r < s.Air.UpdraftRadius) return (s.Air.UpdraftStrength / 2) * (std::cos(kPi * r / s.Air.UpdraftRadius) + 1);
  return 0;
}

double EvaluateUpdraft(FlightState& s, double x, double y) {
  s.Air.VerticalWind = UpdraftSpeedAt(s, x, y);
  return s.Air.VerticalWind;
}

}  // namespace zarv::flight
