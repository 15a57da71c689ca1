// Sky tables and view geometry for the cockpit-view tests: the 14-band
// fixed sky at 640 x 480, whose colours are easy to tell apart.
#pragma once

#include <cmath>

#include "view/sky_ground.h"

namespace zarv::view::testing {

inline SkyTables FixedSky(double scale = 1.0) {
  SkyTables t;
  const Color fixed[31] = {0,        0xFFFFFF, 0xFFFFFF, 0xFFF0DF, 0xFFF0DF, 0xFFE6AF, 0xFFE6AF,
                           0xFFDC8F, 0xFFDC8F, 0xFFCD5F, 0xFFCD5F, 0xFFC33F, 0xFFC33F, 0xFFB40F,
                           0xFFB40F, 0xFF8800, 0xFF8800, 0x7F5C00, 0x7F5C00, 0x7F5C00, 0x4F3B00,
                           0x4F3B00, 0x4F3B00, 0x4F3B00, 0,        0,        0,        0,
                           0,        0,        0};
  for (int i = 0; i < 31; ++i) t.SkyColourTable[static_cast<std::size_t>(i)] = fixed[i];
  for (int i = 1; i <= 24; ++i) {
    t.HorizonBandOffset[static_cast<std::size_t>(i)] = static_cast<int16_t>(std::nearbyint(
        t.HorizonBandOffset[static_cast<std::size_t>(i - 1)] + 4 * scale * std::pow(1.2, i - 1)));
  }
  return t;
}

inline ViewGeometry Attitude(double pitch, double bank, double scale = 1.0) {
  ViewGeometry v;
  v.ScreenScale = scale;
  v.PixelsPerRadian = 573 * scale;
  v.ViewCentreX = static_cast<int32_t>(std::lround(320 * scale));
  v.ViewCentreY = static_cast<int32_t>(std::lround(240 * scale));
  v.PitchAngle = pitch;
  v.PitchAngleSin = std::sin(pitch);
  v.PitchAngleCos = std::cos(pitch);
  v.BankAngle = bank;
  v.ViewRollSin = std::sin(bank);
  v.ViewRollCos = std::cos(bank);
  return v;
}

}  // namespace zarv::view::testing
