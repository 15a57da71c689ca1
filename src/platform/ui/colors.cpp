#include "platform/ui/colors.h"

namespace zarv {

Color QBColor(int index) {
  static constexpr Color kPalette[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  return kPalette[((index % 16) + 16) % 16];
}

Color ResolveColor(Color c) {
  if ((c & 0xFF000000u) == 0x80000000u) {
    // The classic grey desktop scheme.
    static constexpr Color kSystem[25] = {
        0xC0C0C0,  // scroll bars
        0x808000,  // desktop
        0x800000,  // active title bar
        0x808080,  // inactive title bar
        0xC0C0C0,  // menu bar
        0xFFFFFF,  // window background
        0x000000,  // window frame
        0x000000,  // menu text
        0x000000,  // window text
        0xFFFFFF,  // title bar text
        0xC0C0C0,  // active border
        0xC0C0C0,  // inactive border
        0x808080,  // application workspace
        0x800000,  // highlight
        0xFFFFFF,  // highlight text
        0xC0C0C0,  // button face
        0x808080,  // button shadow
        0x808080,  // grey text
        0x000000,  // button text
        0xC0C0C0,  // inactive caption text
        0xFFFFFF,  // 3-D highlight
        0x000000,  // 3-D dark shadow
        0xC0C0C0,  // 3-D light
        0x000000,  // tool tip text
        0xE1FFFF,  // tool tip background
    };
    Color i = c & 0xFFFFFFu;
    return i < 25 ? kSystem[i] : 0x000000;
  }
  return c & 0xFFFFFFu;
}

}  // namespace zarv
