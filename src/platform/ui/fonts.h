// Font names of the runtime mapped onto the installed IPA faces.
#pragma once

#include <string>

namespace zarv {

// "ＭＳ ゴシック" / "MS Gothic" -> "IPAGothic", "ＭＳ Ｐゴシック" -> "IPAPGothic",
// "ＭＳ 明朝" -> "IPAMincho", "ＭＳ Ｐ明朝" -> "IPAPMincho" (full- or half-width
// letters, any spacing, any case); every other name -> "IPAPGothic".
std::string FontFamilyFor(const std::string& name);

// The face that draws the ASCII characters of the name's text where it is
// not the mapped face itself, else "". The runtime's proportional Japanese
// faces give letters and digits about half an em, and the screens' readout
// windows are drawn for that ("1013hPa" in 42 pixels at 12 pixels a line);
// IPAPGothic and IPAPMincho draw them a quarter wider, so their ASCII comes
// from the fixed-pitch faces, IPAGothic and IPAMincho, at half an em.
std::string AsciiFamilyFor(const std::string& name);

// Character height in pixels of a font of the given points at 96 dpi
// (points x 96 / 72, rounded; at least 1).
int FontPixelSize(double points);

}  // namespace zarv
