#include "flight/atmosphere.h"

#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::flight {

void UpdateAtmosphere(const LoopTiming& loop, const BodyMotion& body, const aircraft::AircraftData& a,
                      AirData& air) {
  const double h = body.Altitude;
  const double ts = a.SurfaceTemperature;
  const double surfaceRatio = a.SurfacePressure / 1013;

  // Temperature: a value on a layer boundary belongs to the layer above.
  double t;
  if (h < 10) {
    t = ts + 273;
  } else if (h < 32000) {
    t = (ts + 273) - (h - 10) * 0.0065;
    if (t < 216.5) t = 216.5;
  } else if (h < 60000) {
    t = (h - 32000) * 0.01 + 216.5;
    if (t > 353) t = 353;
  } else {
    t = 353 - (h - 60000) * 0.0065;
    if (t < 240) t = 240;
  }
  air.AirTemperature = t;

  // Pressure ratio; its breaks lie at 11 010 m and 32 010 m.
  double r;
  if (h < 10) {
    r = surfaceRatio;
  } else if (h < 11010) {
    r = std::pow(0.2236, std::pow((h - 10) / 11000, 1.09)) * surfaceRatio;
  } else if (h < 32010) {
    r = 0.2236 * std::pow(0.5, (h - 11010) / 4400) * surfaceRatio;
  } else {
    r = 0.00818 * std::pow(0.5, (h - 32010) / 7100) * surfaceRatio;
  }
  air.DensityRatio = r;

  // The density keeps the load's value through the first second.
  if (loop.FlightTime > 1.0) {
    if (h < 32000) {
      air.AirDensity = r * 288 / t * 1.225;
    } else {
      air.AirDensity = r * 288 / 216 * 1.225;
    }
  }

  const double v = body.AirSpeed;
  air.MachSquared = v * v / (t * 88209 / 216.5);

  double skin;
  if (air.MachSquared <= 1) {
    skin = t;
  } else if (air.AirDensity < 0.1 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    skin = t * (1 + 0.22 * (air.MachSquared - 1) * std::pow(air.AirDensity / 0.1, 0.45));
  } else {
    skin = t * (1 + 0.22 * (air.MachSquared - 1));
  }
  // Beyond the 16-bit range (a rocket far past Mach 10 in dense air) the
  // reading saturates at 32767 K rather than wrapping.
  air.SkinTemperature = CInt(skin);
}

}  // namespace zarv::flight
