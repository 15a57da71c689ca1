// Colours as the forms runtime writes them: a 32-bit value &H00BBGGRR, or a
// system colour &H800000nn that stands for entry nn of the system palette.
#pragma once

#include <cstdint>

namespace zarv {

using Color = uint32_t;

// What Surface::Point returns for a pixel outside the surface (the runtime's -1).
inline constexpr Color kNoColor = 0xFFFFFFFFu;

// RGB(r, g, b) = &HBBGGRR. Components are clamped to 0..255.
constexpr Color RGB(int r, int g, int b) {
  auto c = [](int v) { return static_cast<Color>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  return c(r) | (c(g) << 8) | (c(b) << 16);
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// The 16 colours of the QBColor palette (0 black .. 15 bright white).
// An index outside 0..15 is taken modulo 16.
Color QBColor(int index);

inline constexpr Color vbBlack = 0x000000;
inline constexpr Color vbRed = 0x0000FF;
inline constexpr Color vbGreen = 0x00FF00;
inline constexpr Color vbYellow = 0x00FFFF;
inline constexpr Color vbBlue = 0xFF0000;
inline constexpr Color vbMagenta = 0xFF00FF;
inline constexpr Color vbCyan = 0xFFFF00;
inline constexpr Color vbWhite = 0xFFFFFF;

// System colours. They resolve to the fixed classic (grey) desktop scheme.
inline constexpr Color vbScrollBars = 0x80000000;
inline constexpr Color vbDesktop = 0x80000001;
inline constexpr Color vbActiveTitleBar = 0x80000002;
inline constexpr Color vbInactiveTitleBar = 0x80000003;
inline constexpr Color vbMenuBar = 0x80000004;
inline constexpr Color vbWindowBackground = 0x80000005;
inline constexpr Color vbWindowFrame = 0x80000006;
inline constexpr Color vbMenuText = 0x80000007;
inline constexpr Color vbWindowText = 0x80000008;
inline constexpr Color vbTitleBarText = 0x80000009;
inline constexpr Color vbActiveBorder = 0x8000000A;
inline constexpr Color vbInactiveBorder = 0x8000000B;
inline constexpr Color vbApplicationWorkspace = 0x8000000C;
inline constexpr Color vbHighlight = 0x8000000D;
inline constexpr Color vbHighlightText = 0x8000000E;
inline constexpr Color vbButtonFace = 0x8000000F;
inline constexpr Color vbButtonShadow = 0x80000010;
inline constexpr Color vbGrayText = 0x80000011;
inline constexpr Color vbButtonText = 0x80000012;
inline constexpr Color vbInactiveCaptionText = 0x80000013;
inline constexpr Color vb3DHighlight = 0x80000014;
inline constexpr Color vb3DDKShadow = 0x80000015;
inline constexpr Color vb3DLight = 0x80000016;
inline constexpr Color vbInfoText = 0x80000017;
inline constexpr Color vbInfoBackground = 0x80000018;

// Turns any colour value into a plain &HBBGGRR: system colours are looked
// up (unknown entries give black), other values lose their top byte.
Color ResolveColor(Color c);

}  // namespace zarv
