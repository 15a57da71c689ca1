// Small drawing helpers shared by the panel's files.
#pragma once

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

// Copies a clean dial face from the atlas (all values in pixels).
inline void RestoreFace(Surface& f, double sx, double sy, double w, double h, double dx, double dy) {
  BitBlt(f, Px(dx), Px(dy), Px(w), Px(h), f, Px(sx), Px(sy), SRCCOPY);
}

}  // namespace zarv::view::panel
