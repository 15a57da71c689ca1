#include <gtest/gtest.h>

#include <cmath>

#include "view/platform_deck.h"
#include "view/view_fixture.h"

namespace zarv::view {
namespace {

long Near(double v) { return static_cast<long>(std::nearbyint(v)); }

using testing::Attitude;

constexpr Color kWater = 0x445566;

DeckInputs OnDeck(double distance, int16_t objects = 1) {
  DeckInputs in;
  in.View = Attitude(0, 0);
  in.LaunchHeight = 10;
  in.LaunchSpeed = 6;
  in.Distance = distance;
  in.Altitude = 10.5;  // with the eye 0.5 m up: 1 m above the deck's level
  in.EyeHeight = 0.5;
  in.ShowObjects = objects;
  return in;
}

// The frame leaves the fill style solid for the deck (the horizon sets it).
Surface Water() {
  Surface s(640, 480, kWater);
  s.SetFillStyle(vbFSSolid);
  return s;
}

int CountColour(const Surface& s, Color c) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) n += s.Point(x, y) == c;
  }
  return n;
}

TEST(Deck, CornersAtSeveralDistances) {
  for (double distance : {-10.0, -5.0, -2.0}) {
    DeckState st;
    Surface picture = Water();
    DrawLaunchPlatform(OnDeck(distance), st, picture);
    const double halfWidth = 1.5 * 573 / -distance;
    const long edgeY = Near(240 + 573 / -distance);
    EXPECT_EQ(st.Deck[0].x, Near(320 + halfWidth)) << distance;  // right corner
    EXPECT_EQ(st.Deck[1].x, Near(320 - halfWidth)) << distance;
    EXPECT_EQ(st.Deck[0].y, edgeY) << distance;
    EXPECT_EQ(st.Deck[1].y, edgeY) << distance;
    // The sides run down and outwards at 1 rad from the vertical.
    EXPECT_EQ(st.Deck[2].x, Near(st.Deck[1].x + 900 * std::sin(-1.0)));
    EXPECT_EQ(st.Deck[3].y, Near(st.Deck[0].y + 900 * std::cos(1.0)));
    if (edgeY < 480) {
      EXPECT_EQ(picture.Point(320, static_cast<int>(edgeY) - 3), kWater);
    }
  }
}

TEST(Deck, LetteringCellsVanishTowardsTheEdge) {
  DeckState st;
  Surface picture = Water();
  DrawLaunchPlatform(OnDeck(-10), st, picture);
  EXPECT_EQ(st.LettersDrawn, 19);
  EXPECT_GT(CountColour(picture, kLetteringColour), 500);
  // Five metres out only the cells nearer than 3.3 m to the edge remain:
  // four letters, one with a counter.
  DrawLaunchPlatform(OnDeck(-5), st, picture);
  EXPECT_EQ(st.LettersDrawn, 5);
  Surface plain = Water();
  DrawLaunchPlatform(OnDeck(-10, 0), st, plain);
  EXPECT_EQ(st.LettersDrawn, 0);
  EXPECT_EQ(CountColour(plain, kLetteringColour), 0);
  EXPECT_GT(CountColour(plain, kDeckColour), 10000);
}

TEST(Deck, NoDeckForPoweredOrSurfaceStarts) {
  for (auto change : {+[](DeckInputs& in) { in.LaunchSpeed = 40; },
                      +[](DeckInputs& in) { in.LaunchHeight = 0; },
                      +[](DeckInputs& in) { in.Distance = 0.5; }}) {
    DeckInputs in = OnDeck(-10);
    change(in);
    DeckState st;
    Surface picture = Water();
    DrawLaunchPlatform(in, st, picture);
    EXPECT_EQ(CountColour(picture, kWater), 640 * 480);
  }
}

TEST(Deck, LetteringFitsItsCells) {
  const auto& polys = DeckLettering();
  int counters = 0;
  for (std::size_t i = 0; i < polys.size(); ++i) {
    const LetteringPolygon& p = polys[i];
    EXPECT_GE(p.Count, 3);
    EXPECT_LE(p.Count, 12);
    for (int j = 0; j < p.Count; ++j) {
      for (int k : {0, 1}) {
        EXPECT_GE(p.Points[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)], 0);
        EXPECT_LE(p.Points[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)], 60);
      }
    }
    if (p.Fill == kDeckColour) {
      ++counters;
      // A counter follows its glyph's outline, in the same cell.
      ASSERT_GT(i, 0u);
      EXPECT_EQ(p.CellOffset, polys[i - 1].CellOffset);
    }
  }
  EXPECT_EQ(counters, 7);
  // Every cell has exactly one red outline.
  for (int o : {100, 165, 235, 295, 365, 435, 504, 575, 645, 695, 758, 800}) {
    int outlines = 0;
    for (const auto& p : polys) outlines += p.CellOffset == o && p.Fill == kLetteringColour;
    EXPECT_EQ(outlines, 1) << o;
  }
}

}  // namespace
}  // namespace zarv::view
