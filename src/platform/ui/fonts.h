// Font names of the runtime mapped onto the installed IPA faces.
#pragma once

#include <string>

namespace zarv {

// "ＭＳ ゴシック" / "MS Gothic" -> "IPAGothic", "ＭＳ Ｐゴシック" -> "IPAPGothic",
// "ＭＳ 明朝" -> "IPAMincho", "ＭＳ Ｐ明朝" -> "IPAPMincho" (full- or half-width
// letters, any spacing, any case); every other name -> "IPAPGothic".
std::string FontFamilyFor(const std::string& name);

// Character height in pixels of a font of the given points at 96 dpi
// (points x 96 / 72, rounded; at least 1).
int FontPixelSize(double points);

}  // namespace zarv
