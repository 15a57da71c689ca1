// The launch platform's deck ahead of a light aircraft that still stands or
// rolls on it, and the word painted in red block letters along the deck.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"
#include "view/sky_ground.h"

namespace zarv::view {

inline constexpr Color kDeckColour = 0x00AAAA;
inline constexpr Color kLetteringColour = 0x0000FF;

struct DeckInputs {
  ViewGeometry View;
  double LaunchHeight = 0.0;  // 1 m or less: a start from the surface, no deck
  double LaunchSpeed = 0.0;
  double Distance = 0.0;      // m past the platform edge; negative on the deck
  double Altitude = 0.0;
  double EyeHeight = 0.0;
  int16_t ShowObjects = 0;    // 1: the lettering too
};

// One polygon of the lettering: cell points in centimetres (x across the
// deck, 30 the centre line; y along it, 0 towards the edge), its cell's
// offset behind the edge and its colour.
struct LetteringPolygon {
  int CellOffset = 0;
  Color Fill = kLetteringColour;
  int Count = 0;
  std::array<std::array<int16_t, 2>, 12> Points{};
};
const std::array<LetteringPolygon, 19>& DeckLettering();

struct DeckState {
  double PlatformRefX = 0.0, PlatformRefY = 0.0;  // the view centre moved by the pitch
  std::array<PointI, 4> Deck{};                   // the deck's four corners as drawn
  int LettersDrawn = 0;                           // polygons of the last call
};

// Draws the deck and (with ShowObjects 1) its lettering; nothing for a
// powered aircraft, a start from the surface, or past the edge.
void DrawLaunchPlatform(const DeckInputs& in, DeckState& st, Surface& picture);

}  // namespace zarv::view
