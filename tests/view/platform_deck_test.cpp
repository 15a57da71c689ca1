#include <gtest/gtest.h>

#include <cmath>

#include "view/platform_deck.h"
#include "view/view_fixture.h"

namespace zarv::view {
namespace {

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

// The deck's edge 1 m below the eye, 3 m wide: at 10 m 57 px below the
// centre, 86 px to each side; at 5 m 115 and 172 px.
TEST(Deck, CornersAtTwoDistances) {
  const struct {
    double distance;
    int halfWidth, edgeY;
  } cases[] = {{-10, 86, 297}, {-5, 172, 355}};
  for (const auto& c : cases) {
    DeckState st;
    Surface picture = Water();
    DrawLaunchPlatform(OnDeck(c.distance), st, picture);
    EXPECT_EQ(st.Deck[0].x, 320 + c.halfWidth) << c.distance;  // right corner
    EXPECT_EQ(st.Deck[1].x, 320 - c.halfWidth) << c.distance;
    EXPECT_EQ(st.Deck[0].y, c.edgeY) << c.distance;
    EXPECT_EQ(st.Deck[1].y, c.edgeY) << c.distance;
    // The sides run down and outwards at 1 rad from the vertical, 900 px
    // long: 757 px out and 486 px down.
    EXPECT_EQ(st.Deck[2].x - st.Deck[1].x, -757);
    EXPECT_EQ(st.Deck[3].x - st.Deck[0].x, 757);
    EXPECT_EQ(st.Deck[3].y - st.Deck[0].y, 486);
    EXPECT_EQ(picture.Point(320, c.edgeY - 3), kWater) << c.distance;
    EXPECT_NE(picture.Point(c.halfWidth / 2 + 320, c.edgeY + 3), kWater) << c.distance;
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

// Each letter's outline fits its 60 x 60 cell, and a counter (the hole of
// an A, B, O, R or D) follows its letter's outline in the same cell: 19
// polygons of 3 to 12 corners, one red outline in each of the 12 cells and
// 7 counters in the deck's colour.
TEST(Deck, LetteringFitsItsCells) {
  const auto& polys = DeckLettering();
  ASSERT_EQ(polys.size(), 19u);
  EXPECT_EQ(polys[0].Fill, kLetteringColour);
  int counters = 0;
  for (std::size_t i = 0; i < polys.size(); ++i) {
    const LetteringPolygon& p = polys[i];
    EXPECT_GE(p.Count, 3) << i;
    EXPECT_LE(p.Count, 12) << i;
    for (int j = 0; j < p.Count; ++j)
      for (int16_t v : p.Points[static_cast<std::size_t>(j)]) EXPECT_TRUE(v >= 0 && v <= 60) << i;
    EXPECT_TRUE(p.Fill == kDeckColour || p.Fill == kLetteringColour) << i;
    if (p.Fill == kDeckColour) {
      ++counters;
      EXPECT_TRUE(i > 0 && p.CellOffset == polys[i - 1].CellOffset) << i;
    }
  }
  EXPECT_EQ(counters, 7);
  for (int o : {100, 165, 235, 295, 365, 435, 504, 575, 645, 695, 758, 800}) {
    int outlines = 0;
    for (const auto& p : polys) outlines += p.CellOffset == o && p.Fill == kLetteringColour;
    EXPECT_EQ(outlines, 1) << o;
  }
  EXPECT_EQ(kLetteringColour, Color{0x0000FF});  // red
  EXPECT_EQ(kDeckColour, Color{0x00AAAA});
}

}  // namespace
}  // namespace zarv::view
