#include "flight/head_up.h"

#include <cmath>

#include "flight/gun_rounds.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

int16_t NextGunSight(int16_t previous, double centre, double aim, double scale) {
  // Clamped before narrowing: a far or fast target gives aim points far
  // beyond any 16-bit pixel.
  double target = aim;
  if (!std::isfinite(target)) target = centre;
  if (std::fabs(target - centre) > 86 * scale) target = centre + 86 * scale * Sgn(target - centre);
  return CInt((target + previous) / 2);
}

bool GunSightActive(const FlightState& s, const FlightRecord& r) {
  return s.Masses.DryMass > 1000 && s.Masses.DryMass < 19000 && r.RecordCount > 20 && s.HeadUp.CompanionSampleCount > 0;
}

void StepHeadUpDisplay(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& o) {
  if (o.ShowVelocityVector != 1) return;
  HeadUpState& h = s.HeadUp;
  const double cx = s.View.ViewCentreX, cy = s.View.ViewCentreY;
  const double P = s.Pilot.PixelsPerRadian;
  if (std::fabs(s.Air.AngleOfAttack) < 2) {
    h.VelocityMarkX = CInt(cx - P * s.Air.Sideslip);
    h.VelocityMarkY = CInt(cy + P * s.Air.AngleOfAttack);
  }
  if (a.EngineCount > 0 && h.CompanionSampleCount > 0 && r.LaunchMarkTenths < h.ShotsFiredTarget) {
    r.LaunchMarkTenths += 0.5f;
  }
  if (GunSightActive(s, r)) {
    // The shots' time of flight, and the angle the aircraft turns meanwhile.
    const double v = s.Body.AirSpeed + MuzzleSpeedFor(s.Engine.EngineType);
    const double d = h.CameraDistance;
    const double lead = d < 2500 ? 1.2 * d / v : 2500 / v;
    h.GunSightX = NextGunSight(h.GunSightX, cx, cx - P * s.Body.YawRate * lead, o.ScreenScale);
    h.GunSightY = NextGunSight(h.GunSightY, cy, cy + P * s.Body.PitchRate * lead, o.ScreenScale);
  }
}

}  // namespace zarv::flight
