// Picture-box drawing methods: where Line, PSet, Circle and the box forms land.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/ui/colors.h"
#include "platform/ui/surface.h"

namespace zarv {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;

TEST(SurfaceDraw, LineLeavesOutItsLastPixelAndMovesCurrentPoint) {
  Surface s(40, 30);
  s.Line(5, 10, 25, 10, kRed);
  EXPECT_EQ(s.Point(5, 10), kRed);
  EXPECT_EQ(s.Point(15, 10), kRed);
  EXPECT_EQ(s.Point(24, 10), kRed);
  EXPECT_EQ(s.Point(25, 10), vbWhite);
  EXPECT_EQ(s.Point(15, 11), vbWhite);
  EXPECT_EQ(s.CurrentX(), 25);
  EXPECT_EQ(s.CurrentY(), 10);

  // Line -(x, y) continues from there, in ForeColor; Step is relative.
  s.SetForeColor(kBlue);
  s.LineTo(25, 20);
  EXPECT_EQ(s.Point(25, 10), kBlue);
  EXPECT_EQ(s.Point(25, 15), kBlue);
  s.LineToStep(-10, 0);
  EXPECT_EQ(s.Point(20, 20), kBlue);
  EXPECT_EQ(s.CurrentX(), 15);

  // Half-pixel coordinates round to even.
  s.Line(2.5, 25, 3.5, 25, kRed);  // from x 2 to x 4
  EXPECT_EQ(s.Point(2, 25), kRed);
  EXPECT_EQ(s.Point(3, 25), kRed);
  EXPECT_EQ(s.Point(4, 25), vbWhite);
}

TEST(SurfaceDraw, WideLineCoversItsWidth) {
  Surface s(40, 30);
  s.SetDrawWidth(5);
  s.Line(5, 15, 35, 15, kRed);
  EXPECT_EQ(s.Point(20, 13), kRed);
  EXPECT_EQ(s.Point(20, 17), kRed);
  EXPECT_EQ(s.Point(20, 20), vbWhite);
}

// A thin line that runs off the picture lights the pixels it lights on a
// picture large enough to hold it: cut at the edge it must not tilt.
TEST(SurfaceDraw, ThinLineOffThePictureKeepsItsPixels) {
  const struct {
    double x1, y1, x2, y2;
  } lines[] = {{-24, 260, 518, -36}, {665, -22, 159, 766}, {-300, 37, 900, 61}, {-14, 267, 806, 469}};
  for (const auto& l : lines) {
    Surface small(640, 480);
    Surface large(1800, 1800);
    small.Line(l.x1, l.y1, l.x2, l.y2, kRed);
    large.Line(l.x1 + 600, l.y1 + 600, l.x2 + 600, l.y2 + 600, kRed);
    int lit = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        lit += small.Point(x, y) == kRed;
        ASSERT_EQ(small.Point(x, y), large.Point(x + 600, y + 600)) << l.x1 << "," << l.y1 << " at " << x << "," << y;
      }
    }
    EXPECT_GT(lit, 0);
  }
}

TEST(SurfaceDraw, BoxFormsFillPerFillStyleOrWithLineColour) {
  Surface s(60, 30);
  // B, transparent fill: outline only.
  s.Line(2, 2, 12, 12, kRed, LineBox::B);
  EXPECT_EQ(s.Point(2, 7), kRed);
  EXPECT_EQ(s.Point(12, 12), kRed);
  EXPECT_EQ(s.Point(7, 7), vbWhite);
  // B with a solid fill style: the inside takes FillColor.
  s.SetFillStyle(vbFSSolid);
  s.SetFillColor(kBlue);
  s.Line(20, 2, 30, 12, kRed, LineBox::B);
  EXPECT_EQ(s.Point(20, 2), kRed);
  EXPECT_EQ(s.Point(25, 7), kBlue);
  // BF: filled with the line colour, both corners included; step form.
  s.LineStep(40, 2, 10, 10, vbBlack, LineBox::BF);
  EXPECT_EQ(s.Point(45, 7), vbBlack);
  EXPECT_EQ(s.Point(50, 12), vbBlack);
  EXPECT_EQ(s.Point(51, 12), vbWhite);
  // Corners given in any order.
  s.Line(12, 28, 2, 20, kBlue, LineBox::BF);
  EXPECT_EQ(s.Point(7, 24), kBlue);
}

TEST(SurfaceDraw, PSetAndPoint) {
  Surface s(20, 20);
  s.PSet(3, 4, kRed);
  EXPECT_EQ(s.Point(3, 4), kRed);
  EXPECT_EQ(s.Point(4, 4), vbWhite);
  EXPECT_EQ(s.CurrentX(), 3);
  s.SetDrawWidth(3);
  s.PSet(10, 10, kBlue);
  EXPECT_EQ(s.Point(9, 10), kBlue);
  EXPECT_EQ(s.Point(11, 11), kBlue);
  EXPECT_EQ(s.Point(13, 10), vbWhite);
  EXPECT_EQ(s.Point(-1, 0), kNoColor);
  EXPECT_EQ(s.Point(20, 0), kNoColor);
}

TEST(SurfaceDraw, CircleRingDiscAndArcs) {
  Surface s(100, 100);
  s.Circle(25, 25, 15, kRed);  // transparent: a ring
  EXPECT_EQ(s.Point(25, 25), vbWhite);
  EXPECT_EQ(s.Point(40, 25), kRed);
  EXPECT_EQ(s.Point(25, 10), kRed);
  EXPECT_EQ(s.CurrentX(), 25);

  s.SetFillStyle(vbFSSolid);
  s.SetFillColor(kBlue);
  s.Circle(75, 25, 15, kRed);
  EXPECT_EQ(s.Point(75, 25), kBlue);
  EXPECT_EQ(s.Point(85, 25), kBlue);
  EXPECT_EQ(s.Point(90, 25), kRed);
  EXPECT_EQ(s.Point(75, 45), vbWhite);

  // Negative angles make a pie: the first quadrant (up and right) only.
  s.Circle(25, 75, 15, kRed, -0.0001, -std::acos(-1.0) / 2);
  EXPECT_EQ(s.Point(30, 70), kBlue);
  EXPECT_EQ(s.Point(20, 80), vbWhite);
  EXPECT_EQ(s.Point(20, 70), vbWhite);

  // A plain arc is never filled and runs counter-clockwise from start.
  s.Circle(75, 75, 15, kRed, 0.0, std::acos(-1.0));  // upper half
  EXPECT_EQ(s.Point(75, 60), kRed);
  EXPECT_EQ(s.Point(75, 90), vbWhite);
  EXPECT_EQ(s.Point(75, 70), vbWhite);

  // Aspect above 1: r is the vertical radius.
  Surface e(60, 60);
  e.Circle(30, 30, 20, kRed, std::nullopt, std::nullopt, 2.0);
  EXPECT_EQ(e.Point(30, 10), kRed);
  EXPECT_EQ(e.Point(40, 30), kRed);
  EXPECT_EQ(e.Point(50, 30), vbWhite);
}

TEST(SurfaceDraw, ClsBackColourPictureAndResize) {
  Surface s(20, 10, vbWhite);
  s.PSet(5, 5, kRed);
  s.SetCurrentX(7);
  s.SetBackColor(vbBlack);  // erases, as the runtime does
  EXPECT_EQ(s.Point(5, 5), vbBlack);
  EXPECT_EQ(s.CurrentX(), 7);

  Surface pic(4, 4, kBlue);
  s.SetPicture(pic);
  s.PSet(10, 5, kRed);
  s.Cls();
  EXPECT_EQ(s.Point(1, 1), kBlue);  // the picture stays the background
  EXPECT_EQ(s.Point(10, 5), vbBlack);
  EXPECT_EQ(s.CurrentX(), 0);

  s.PSet(15, 8, kRed);
  s.Resize(30, 20);
  EXPECT_EQ(s.Width(), 30);
  EXPECT_EQ(s.Point(15, 8), kRed);
  EXPECT_EQ(s.Point(25, 15), vbBlack);
  s.Resize(0, -5);
  EXPECT_EQ(s.Width(), 1);
  EXPECT_EQ(s.Height(), 1);
}

TEST(SurfaceDraw, SystemAndPaletteColours) {
  Surface s(10, 10);
  s.Line(0, 5, 10, 5, vbButtonShadow);
  EXPECT_EQ(s.Point(5, 5), 0x808080u);
  EXPECT_EQ(ResolveColor(vbButtonFace), 0xC0C0C0u);
  EXPECT_EQ(QBColor(1), RGB(0, 0, 128));
  EXPECT_EQ(QBColor(6), RGB(128, 128, 0));
  EXPECT_EQ(RGB(300, -4, 16), 0x1000FFu);
}

TEST(SurfaceDraw, HugeAndNaNCoordinatesAreClippedNotFatal) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Surface s(100, 100);
  uint64_t calls = 0;
  s.SetChangedCallback([&calls] { ++calls; });

  // A line between far-off ends still crosses the image where it should.
  s.Line(-1e9, 10, 1e9, 10, kRed);
  EXPECT_EQ(s.Point(50, 10), kRed);
  s.Line(-1e300, -1e300, 1e300, 1e300, kRed);
  EXPECT_EQ(s.Point(40, 40), kRed);
  s.SetDrawWidth(32767);
  s.Line(0, 0, inf, nan, kRed);
  s.Line(-inf, 0, inf, 0, kBlue);
  s.SetDrawWidth(1);
  s.PSet(nan, 5);
  s.PSet(1e300, -1e300);
  s.Circle(nan, 0, 5);
  s.Circle(50, 50, inf);
  s.Circle(50, 50, 1e12, kRed, -1.0, 2.0, nan);
  s.SetFillStyle(vbFSSolid);
  // The rim of a huge circle passes through row 90 at x 50.
  s.Circle(50, 1e6 + 90, 1e6, kBlue);
  EXPECT_EQ(s.Point(50, 90), kBlue);
  EXPECT_EQ(s.Point(50, 95), 0u);  // inside: FillColor black
  s.Line(nan, 1, 2, 3, kRed, LineBox::BF);
  s.Line(-1e20, -1e20, 1e20, 1e20, kRed, LineBox::B);
  s.SetCurrentX(nan);
  s.SetCurrentY(1e300);
  s.Print("x");
  s.SetFontSize(nan);
  s.SetFontSize(1e9);
  EXPECT_LE(s.TextHeight("x"), 4096);
  EXPECT_EQ(s.Point(nan, 0), kNoColor);
  EXPECT_GT(calls, 0u);
  EXPECT_EQ(calls, s.ChangeCount());
}

}  // namespace
}  // namespace zarv
