// Windows bitmap files: the runtime's SavePicture and LoadPicture.
#pragma once

#include <string>

#include "platform/ui/surface.h"

namespace zarv {

// Writes the surface's image as an uncompressed 24-bit bitmap (bottom-up,
// rows padded to 4 bytes) through a temporary file renamed over path.
// Path is UTF-8. False when the file cannot be written (nothing is left
// behind then).
[[nodiscard]] bool SaveBmp(const Surface& s, const std::string& path);

// Reads a bitmap file (1, 4, 8, 16, 24 or 32 bits per pixel) into s: s takes
// the bitmap's size and pixels; its drawing state stays. False (and s
// unchanged) when the file is missing or not a readable bitmap.
bool LoadBmp(Surface& s, const std::string& path);

// Picture = LoadPicture(path): loads the file as the background picture of
// box (Surface::SetPicture); with autoSize the box takes the picture's size.
bool LoadPicture(Surface& box, const std::string& path, bool autoSize = false);

}  // namespace zarv
