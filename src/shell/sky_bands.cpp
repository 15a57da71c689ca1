#include "shell/sky_bands.h"

#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::shell {

namespace {
int32_t Rgb(int32_t r, int32_t g, int32_t b) { return r + g * 256 + b * 65536; }
}  // namespace

void BuildSkyBands(double gradientBitmapLengthNow, double screenScale, SkyBands& sky) {
  sky.SkyBandEdge[0] = 0;
  auto edge = [&](int k) {
    sky.SkyBandEdge[k] = CInt(sky.SkyBandEdge[k - 1] + 4 * screenScale * std::pow(1.2, k - 1));
  };
  if (gradientBitmapLengthNow < 1000) {
    static constexpr int32_t kFixed[31] = {
        0,        0xFFFFFF, 0xFFFFFF, 0xFFF0DF, 0xFFF0DF, 0xFFE6AF, 0xFFE6AF, 0xFFDC8F,
        0xFFDC8F, 0xFFCD5F, 0xFFCD5F, 0xFFC33F, 0xFFC33F, 0xFFB40F, 0xFFB40F, 0xFF8800,
        0xFF8800, 0x7F5C00, 0x7F5C00, 0x7F5C00, 0x4F3B00, 0x4F3B00, 0x4F3B00, 0x4F3B00,
        0,        0,        0,        0,        0,        0,        0};
    for (int k = 1; k <= 30; ++k) sky.SkyBandColour[k] = kFixed[k];
    for (int k = 1; k <= 24; ++k) edge(k);
    return;
  }
  for (int k = 1; k <= 30; ++k) {
    sky.SkyRed = static_cast<float>(1 - k / 21.0);
    sky.SkyGreen = static_cast<float>(1 - k / 21.0);
    sky.SkyBlue = static_cast<float>(1 - k / 30.0);
    if (sky.SkyRed < 0)
      sky.SkyRed = 0;
    else
      sky.SkyRed = static_cast<float>(255 * std::pow(static_cast<double>(sky.SkyRed), 3));
    if (sky.SkyGreen < 0)
      sky.SkyGreen = 0;
    else
      sky.SkyGreen = static_cast<float>(255 * std::pow(static_cast<double>(sky.SkyGreen), 0.6));
    if (sky.SkyBlue < 0)
      sky.SkyBlue = 0;
    else
      sky.SkyBlue = static_cast<float>(255 * std::pow(static_cast<double>(sky.SkyBlue), 0.4));
    edge(k);
    sky.SkyBandColour[k] = Rgb(CLng(sky.SkyRed), CLng(sky.SkyGreen), CLng(sky.SkyBlue));
  }
}

}  // namespace zarv::shell
