// Small drawing helpers shared by the panel's files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/runtime/numeric.h"
#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"

namespace zarv::view::panel {

inline constexpr Color kYellow = 0x00FFFF;
inline constexpr Color kOrange = 0x0088FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kLampOn = 0x00CC00;
inline constexpr Color kLampOff = 0x999999;
inline constexpr Color kRed = 0x0000FF;

// Centre of the dial right of the speed dial (design pixels): the altimeter,
// whose face also shows a light aircraft's climb rate, or a jet's climb rate.
inline constexpr double kAltitudeDialX = 380, kAltitudeDialY = 100;

// Whole pixels, halves to even; never undefined for NaN or huge values.
inline int Px(double v) { return CheckedRound<int32_t>(v); }
inline int16_t Nearest16(double v) { return CheckedRound<int16_t>(v); }

inline void BlackBox(Surface& f, double x, double y, double dx, double dy) {
  f.LineStep(x, y, dx, dy, vbBlack, LineBox::BF);
}

inline void PrintAt(Surface& f, double x, double y, const std::string& text) {
  f.SetCurrentX(x);
  f.SetCurrentY(y);
  f.Print(text);
}

// Prints text from (x, y) so that it ends inside the box from (bx, by) wide
// bw: moved left as far as its leading blanks allow, and in a smaller font
// where even that is too little, so no digit stands outside its box.
inline void FitText(Surface& f, double bx, double bw, double x, double y, const std::string& text) {
  const double size = f.FontSize();
  const std::string lead = text.substr(0, std::min(text.find_first_not_of(' '), text.size()));
  while (f.TextWidth(text) - f.TextWidth(lead) > bw && f.FontSize() > 4) f.SetFontSize(f.FontSize() - 0.5);
  PrintAt(f, std::max(std::min(x, bx + bw - f.TextWidth(text)), bx - f.TextWidth(lead)), y, text);
  if (f.FontSize() != size) f.SetFontSize(size);
}

// A readout in its black box, cleared whole first.
inline void BoxedText(Surface& f, double bx, double by, double bw, double bh, double x, double y,
                      const std::string& text) {
  BlackBox(f, bx, by, bw, bh);
  FitText(f, bx, bw, x, y, text);
}

// Copies a clean dial face from the atlas (all values in pixels).
inline void RestoreFace(Surface& f, double sx, double sy, double w, double h, double dx, double dy) {
  BitBlt(f, Px(dx), Px(dy), Px(w), Px(h), f, Px(sx), Px(sy), SRCCOPY);
}

}  // namespace zarv::view::panel
