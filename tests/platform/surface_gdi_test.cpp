// BitBlt raster operations and GDI Polygon on surfaces.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/ui/gdi.h"

namespace zarv {
namespace {

TEST(SurfaceGdi, RasterOpsCombinePerChannel) {
  Surface dst(8, 8, 0x33CC0F);
  Surface src(8, 8, 0x0F55F0);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 4, 8, src, 0, 0, SRCAND));
  EXPECT_TRUE(BitBlt(dst, 4, 0, 4, 8, src, 0, 0, SRCPAINT));
  EXPECT_EQ(dst.Point(1, 1), 0x33CC0Fu & 0x0F55F0u);
  EXPECT_EQ(dst.Point(6, 6), 0x33CC0Fu | 0x0F55F0u);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCINVERT));
  EXPECT_EQ(dst.Point(0, 0), (0x33CC0Fu & 0x0F55F0u) ^ 0x0F55F0u);
  EXPECT_TRUE(BitBlt(dst, 0, 0, 8, 8, src, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Point(3, 3), 0x0F55F0u);
  EXPECT_FALSE(BitBlt(dst, 0, 0, 8, 8, src, 0, 0, 0x12345678));
}

TEST(SurfaceGdi, MaskThenFaceComposesAPanel) {
  // The panel idiom: a mask (black where the face goes, white elsewhere)
  // ANDed in, then the face (black outside) ORed in.
  Surface view(10, 4, 0x446688);
  Surface mask(10, 4, vbWhite);
  mask.Line(0, 0, 4, 3, vbBlack, LineBox::BF);
  Surface face(10, 4, vbBlack);
  face.Line(0, 0, 4, 3, 0x999999, LineBox::BF);
  BitBlt(view, 0, 0, 10, 4, mask, 0, 0, SRCAND);
  BitBlt(view, 0, 0, 10, 4, face, 0, 0, SRCPAINT);
  EXPECT_EQ(view.Point(2, 2), 0x999999u);
  EXPECT_EQ(view.Point(8, 2), 0x446688u);
}

TEST(SurfaceGdi, BlitsClipAndCopyWithinOneSurface) {
  Surface s(10, 10);
  for (int x = 0; x < 10; ++x) s.PSet(x, 0, RGB(x * 20, 0, 0));
  // Overlapping copy one pixel to the right reads the source first.
  BitBlt(s, 1, 0, 9, 1, s, 0, 0, SRCCOPY);
  for (int x = 1; x < 10; ++x) EXPECT_EQ(s.Point(x, 0), RGB((x - 1) * 20, 0, 0)) << x;
  // Blocks hanging over any edge, or absurd, are cut to what exists.
  Surface src(4, 4, 0x00FF00);
  EXPECT_TRUE(BitBlt(s, -2, 8, 4, 4, src, 0, 0, SRCCOPY));
  EXPECT_EQ(s.Point(1, 9), 0x00FF00u);
  EXPECT_EQ(s.Point(2, 9), vbWhite);
  EXPECT_FALSE(BitBlt(s, INT_MAX, INT_MAX, INT_MAX, INT_MAX, src, INT_MIN, INT_MIN, SRCCOPY));
  EXPECT_FALSE(BitBlt(s, 0, 0, -5, 5, src, 0, 0, SRCCOPY));
}

TEST(SurfaceGdi, PolygonFillsWithBrushAndOutlinesWithPen) {
  Surface s(60, 40);
  s.SetForeColor(0x0000FF);
  s.SetFillColor(0x00FF00);
  s.SetFillStyle(vbFSSolid);
  std::vector<PointI> tri = {{5, 5}, {35, 5}, {5, 35}};
  EXPECT_TRUE(Polygon(s, tri));
  EXPECT_EQ(s.Point(12, 12), 0x00FF00u);
  EXPECT_EQ(s.Point(20, 5), 0x0000FFu);
  EXPECT_EQ(s.Point(30, 30), vbWhite);

  s.SetFillStyle(vbFSTransparent);  // outline only
  std::vector<PointI> quad = {{40, 5}, {55, 5}, {55, 30}, {40, 30}};
  Polygon(s, quad);
  EXPECT_EQ(s.Point(47, 17), vbWhite);
  EXPECT_EQ(s.Point(55, 17), 0x0000FFu);

  // Two points: a line with both end pixels.
  PointI seg[3] = {{2, 38}, {20, 38}, {99, 99}};
  EXPECT_TRUE(Polygon(s, seg, 2));
  EXPECT_EQ(s.Point(2, 38), 0x0000FFu);
  EXPECT_EQ(s.Point(20, 38), 0x0000FFu);
  EXPECT_EQ(s.Point(21, 38), vbWhite);
  EXPECT_FALSE(Polygon(s, seg, 1));
}

TEST(SurfaceGdi, FlatPolygonStillStrokesAndFarPointsAreClipped) {
  Surface s(100, 50);
  s.SetForeColor(0xFF0000);
  s.SetFillStyle(vbFSSolid);
  // A band of zero width along the horizon: only the pen shows.
  std::vector<PointI> band = {{-10, 20}, {-10, 20}, {110, 20}, {110, 20}};
  Polygon(s, band);
  EXPECT_EQ(s.Point(50, 20), 0xFF0000u);
  EXPECT_EQ(s.Point(50, 21), vbWhite);

  // A sky polygon with far-off corners still fills the image's half.
  s.SetFillColor(0x00FFFF);
  std::vector<PointI> sky = {{-2000000000, 30}, {2000000000, 30}, {2000000000, -2000000000},
                             {-2000000000, -2000000000}};
  Polygon(s, sky);
  EXPECT_EQ(s.Point(50, 10), 0x00FFFFu);
  EXPECT_EQ(s.Point(50, 40), vbWhite);
  std::vector<PointI> wild = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MAX, INT_MAX}};
  s.SetDrawWidth(1000);
  Polygon(s, wild);
}

}  // namespace
}  // namespace zarv
