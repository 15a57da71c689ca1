// Print, TextWidth/TextHeight and the Japanese font mapping.
#include <gtest/gtest.h>

#include "platform/runtime/numeric.h"
#include "platform/ui/fonts.h"
#include "platform/ui/surface.h"

namespace zarv {
namespace {

int DarkPixels(const Surface& s) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.Point(x, y) == vbBlack) ++n;
  return n;
}

TEST(SurfaceText, FontNamesMapToTheIpaFaces) {
  EXPECT_EQ(FontFamilyFor("ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(FontFamilyFor("ＭＳ Ｐゴシック"), "IPAPGothic");
  EXPECT_EQ(FontFamilyFor("ＭＳ 明朝"), "IPAMincho");
  EXPECT_EQ(FontFamilyFor("ＭＳ Ｐ明朝"), "IPAPMincho");
  EXPECT_EQ(FontFamilyFor("MS Gothic"), "IPAGothic");
  EXPECT_EQ(FontFamilyFor("ms pgothic"), "IPAPGothic");
  EXPECT_EQ(FontFamilyFor("Arial"), "IPAPGothic");
  EXPECT_EQ(FontPixelSize(9), 12);
  EXPECT_EQ(FontPixelSize(11.25), 15);
}

TEST(SurfaceText, PrintAdvancesByTextWidthAndPrintLineStartsANewLine) {
  Surface s(300, 100);
  s.SetFontName("ＭＳ ゴシック");
  s.SetFontSize(12);
  s.SetCurrentX(10);
  s.SetCurrentY(5);
  const double w = s.TextWidth("Fuel(lb)");
  EXPECT_GT(w, 0);
  s.Print("Fuel(lb)");
  EXPECT_EQ(s.CurrentX(), 10 + w);
  EXPECT_EQ(s.CurrentY(), 5);
  s.Print("1");
  EXPECT_EQ(s.CurrentX(), 10 + w + s.TextWidth("1"));
  const double h = s.TextHeight("x");
  EXPECT_GE(h, 16);
  s.PrintLine("");
  EXPECT_EQ(s.CurrentX(), 0);
  EXPECT_EQ(s.CurrentY(), 5 + h);
  EXPECT_EQ(s.TextHeight("a\r\nb"), 2 * h);
  s.Print("ab\r\nc");
  EXPECT_EQ(s.CurrentY(), 5 + 2 * h);
  EXPECT_EQ(s.CurrentX(), s.TextWidth("c"));
}

// Readout windows are drawn for letters and digits of half an em in the
// proportional Gothic; its kana stay proportional, and a mixed line draws
// as wide as it measures.
TEST(SurfaceText, ProportionalGothicLettersAreHalfAnEm) {
  Surface s(200, 40, vbWhite);
  s.SetFontName("ＭＳ Ｐゴシック");
  s.SetFontSize(9);  // 12 px
  EXPECT_EQ(s.TextWidth("1013hPa"), 7 * 6);
  EXPECT_LT(s.TextWidth("を"), 12);
  s.Print("重心33.0%");
  EXPECT_EQ(s.CurrentX(), s.TextWidth("重心") + 5 * 6);
  for (int y = 0; y < s.Height(); ++y)
    for (int x = CheckedRound<int>(s.CurrentX()) + 1; x < s.Width(); ++x) ASSERT_EQ(s.Point(x, y), vbWhite);
}

TEST(SurfaceText, JapaneseRendersInTheFixedPitchGothic) {
  Surface s(200, 40);
  s.SetFontName("ＭＳ ゴシック");
  s.SetFontSize(12);  // 16 px
  // IPAGothic is fixed pitch: full-width characters are one em wide.
  EXPECT_EQ(s.TextWidth("計器速度"), 4 * 16);
  EXPECT_EQ(s.TextWidth("ABCD"), 2 * 16);
  s.Print("計器速度");
  const int dark = DarkPixels(s);
  EXPECT_GT(dark, 40);
  // Text lies below and right of the current point, inside its box.
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 64; x < s.Width(); ++x) ASSERT_NE(s.Point(x, y), vbBlack);

  // Bold is heavier; an opaque font paints its box in BackColor.
  Surface b(200, 40);
  b.SetFontName("ＭＳ ゴシック");
  b.SetFontSize(12);
  b.SetFontBold(true);
  b.Print("計器速度");
  EXPECT_GT(DarkPixels(b), dark);
  Surface o(100, 40, 0x0000FF);
  o.Line(0, 0, 99, 39, 0x00FF00, LineBox::BF);
  o.SetFontTransparent(false);
  o.SetCurrentX(0);
  o.SetCurrentY(0);
  o.Print(" ");
  EXPECT_EQ(o.Point(1, 1), 0x0000FFu);
}

}  // namespace
}  // namespace zarv
