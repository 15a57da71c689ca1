#include "view/platform_deck.h"

#include <cmath>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/numeric.h"

namespace zarv::view {

namespace {

// The word "LAKEBOARDING" in block letters drawn upright in a 60 x 60 box
// (lx to the right, ly up), one letter per cell, first letter in the cell
// farthest from the edge. Counters are the letters' holes in deck colour.
struct Glyph {
  int Cell;  // 1..12
  bool Counter;
  std::initializer_list<std::array<int16_t, 2>> Outline;
};

constexpr int kCellOffset[13] = {0, 100, 165, 235, 295, 365, 435, 504, 575, 645, 695, 758, 800};

const std::array<LetteringPolygon, 19> BuildLettering() {
  const Glyph glyphs[19] = {
      // L
      {12, false, {{8, 5}, {52, 5}, {52, 15}, {18, 15}, {18, 55}, {8, 55}}},
      // A
      {11, false, {{8, 5}, {18, 5}, {18, 22}, {42, 22}, {42, 5}, {52, 5}, {52, 45}, {40, 55}, {20, 55}, {8, 45}}},
      {11, true, {{18, 32}, {42, 32}, {42, 42}, {18, 42}}},
      // K
      {10, false, {{8, 5}, {18, 5}, {18, 25}, {38, 5}, {52, 5}, {27, 30}, {52, 55}, {38, 55}, {18, 35}, {18, 55}, {8, 55}}},
      // E
      {9, false, {{8, 5}, {52, 5}, {52, 15}, {18, 15}, {18, 25}, {45, 25}, {45, 35}, {18, 35}, {18, 45}, {52, 45}, {52, 55}, {8, 55}}},
      // B
      {8, false, {{8, 5}, {44, 5}, {52, 13}, {52, 24}, {47, 30}, {52, 36}, {52, 47}, {44, 55}, {8, 55}}},
      {8, true, {{18, 15}, {42, 15}, {42, 25}, {18, 25}}},
      {8, true, {{18, 35}, {42, 35}, {42, 45}, {18, 45}}},
      // O
      {7, false, {{16, 5}, {44, 5}, {52, 13}, {52, 47}, {44, 55}, {16, 55}, {8, 47}, {8, 13}}},
      {7, true, {{18, 15}, {42, 15}, {42, 45}, {18, 45}}},
      // A
      {6, false, {{8, 5}, {18, 5}, {18, 22}, {42, 22}, {42, 5}, {52, 5}, {52, 45}, {40, 55}, {20, 55}, {8, 45}}},
      {6, true, {{18, 32}, {42, 32}, {42, 42}, {18, 42}}},
      // R
      {5, false, {{8, 5}, {18, 5}, {18, 25}, {30, 25}, {42, 5}, {53, 5}, {40, 27}, {52, 33}, {52, 47}, {44, 55}, {8, 55}}},
      {5, true, {{18, 35}, {42, 35}, {42, 45}, {18, 45}}},
      // D
      {4, false, {{8, 5}, {40, 5}, {52, 17}, {52, 43}, {40, 55}, {8, 55}}},
      {4, true, {{18, 15}, {37, 15}, {42, 20}, {42, 40}, {37, 45}, {18, 45}}},
      // I
      {3, false, {{20, 5}, {40, 5}, {40, 15}, {35, 15}, {35, 45}, {40, 45}, {40, 55}, {20, 55}, {20, 45}, {25, 45}, {25, 15}, {20, 15}}},
      // N
      {2, false, {{8, 5}, {18, 5}, {18, 37}, {40, 5}, {52, 5}, {52, 55}, {42, 55}, {42, 23}, {20, 55}, {8, 55}}},
      // G
      {1, false, {{8, 5}, {52, 5}, {52, 30}, {30, 30}, {30, 21}, {42, 21}, {42, 15}, {18, 15}, {18, 45}, {52, 45}, {52, 55}, {8, 55}}},
  };
  std::array<LetteringPolygon, 19> out{};
  for (std::size_t i = 0; i < 19; ++i) {
    const Glyph& g = glyphs[i];
    LetteringPolygon& p = out[i];
    p.CellOffset = kCellOffset[g.Cell];
    p.Fill = g.Counter ? kDeckColour : kLetteringColour;
    for (const auto& q : g.Outline) {
      // The letters lie on their sides: their up is the deck's left (x
      // falls), their left-to-right runs towards the edge (y falls).
      p.Points[static_cast<std::size_t>(p.Count)] = {static_cast<int16_t>(60 - q[1]),
                                                     static_cast<int16_t>(60 - q[0])};
      ++p.Count;
    }
  }
  return out;
}

}  // namespace

const std::array<LetteringPolygon, 19>& DeckLettering() {
  static const std::array<LetteringPolygon, 19> kLettering = BuildLettering();
  return kLettering;
}

void DrawLaunchPlatform(const DeckInputs& in, DeckState& st, Surface& picture) {
  st.LettersDrawn = 0;
  // A light aircraft's deck only: none under one at 1 m or less.
  if (!aircraft::LaunchAtMost10(in.LaunchSpeed) || aircraft::NoPlatformUnder(in.LaunchSpeed, in.LaunchHeight) ||
      !(in.Distance < 0))
    return;
  const ViewGeometry& v = in.View;
  const double c = v.ViewRollCos, n = v.ViewRollSin, p = v.PixelsPerRadian, s = v.ScreenScale;
  picture.SetForeColor(kDeckColour);
  picture.SetFillColor(kDeckColour);
  st.PlatformRefX = v.ViewCentreX + v.PitchAngle * n * p;
  st.PlatformRefY = v.ViewCentreY + v.PitchAngle * c * p;
  const double h = in.EyeHeight + in.Altitude - 10;  // eye above the deck's level
  const double a = 1.5 / in.Distance, d = h / in.Distance;
  PointI* q = st.Deck.data();
  q[0] = {CLng(st.PlatformRefX - p * (a * c + d * n)), CLng(st.PlatformRefY + p * (a * n - d * c))};
  q[1] = {CLng(st.PlatformRefX + p * (a * c - d * n)), CLng(st.PlatformRefY - p * (a * n + d * c))};
  q[2] = {CLng(q[1].x + 900 * s * std::sin(v.BankAngle - 1)),
          CLng(q[1].y + 900 * s * std::cos(v.BankAngle - 1))};
  q[3] = {CLng(q[0].x + 900 * s * std::sin(v.BankAngle + 1)),
          CLng(q[0].y + 900 * s * std::cos(v.BankAngle + 1))};
  Polygon(picture, q, 4);
  if (in.ShowObjects != 1) return;

  picture.SetDrawWidth(1);
  picture.SetForeColor(kLetteringColour);
  PointI screen[12];
  for (const LetteringPolygon& poly : DeckLettering()) {
    const int32_t g = CLng(100 * in.Distance + poly.CellOffset);
    if (g >= -170) continue;
    for (int j = 0; j < poly.Count; ++j) {
      const auto& cell = poly.Points[static_cast<std::size_t>(j)];
      const double u = cell[0] - 30.0;
      const double w = -(cell[1] + static_cast<double>(g));  // >= 110 here
      const double alpha = u / w, delta = 100 * h / w;
      screen[j] = {CLng(st.PlatformRefX + p * (alpha * c + delta * n)),
                   CLng(st.PlatformRefY + p * (-alpha * n + delta * c))};
    }
    picture.SetFillColor(poly.Fill);
    Polygon(picture, screen, poly.Count);
    ++st.LettersDrawn;
  }
}

}  // namespace zarv::view
