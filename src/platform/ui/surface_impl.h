// Internal to the drawing files: the state behind Surface and the pixel
// and clipping helpers that Surface, BitBlt, Polygon and the bitmap code share.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/surface.h"

namespace zarv {

// 0xffRRGGBB of a Format_RGB32 image from &HBBGGRR (system colours resolved).
inline uint32_t ToArgb(Color c) {
  c = ResolveColor(c);
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline Color FromArgb(uint32_t p) {
  return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

struct PointD {
  double x;
  double y;
};

// Coordinates beyond this are pulled in before any arithmetic, so that
// differences and products stay finite.
inline constexpr double kCoordLimit = 1e12;

struct Surface::Impl {
  QImage img;
  std::optional<QImage> picture;
  QPainter painter;

  Color fore = vbBlack;
  Color back = vbWhite;
  Color fill = vbBlack;
  int fillStyle = vbFSTransparent;
  int drawWidth = 1;
  double curX = 0;
  double curY = 0;
  std::string fontName = "ＭＳ Ｐゴシック";
  double fontSize = 9;
  bool fontBold = false;
  bool fontItalic = false;
  bool fontTransparent = true;

  bool fontDirty = true;
  QFont font;
  std::unique_ptr<QFontMetricsF> metrics;
  // The ASCII characters' face where it differs (AsciiFamilyFor), else null.
  std::optional<QFont> asciiFont;
  std::unique_ptr<QFontMetricsF> asciiMetrics;

  std::vector<double> crossings;  // scratch of ScanFill

  std::function<void()> changed;
  uint64_t changes = 0;

  // The painter on img, begun on first use and kept until End().
  QPainter& P();
  // Finishes painting so that img may be copied, resized or replaced.
  void End();
  // Writable pixels of img (detached; painting may stay active).
  uint32_t* Row(int y);
  void Changed();

  int W() const { return img.width(); }
  int H() const { return img.height(); }
  // Pen width actually used: DrawWidth, but never wider than needed to
  // cover the whole image.
  int PenWidth() const;

  // Clears img to the back colour and draws the picture.
  void Erase();
  void FillRect(int x0, int y0, int x1, int y1, uint32_t argb);  // inclusive, clipped
  void Dot(int x, int y, uint32_t argb, int width);
  // A straight line with the pen (width, colour). includeLast: the pixel at
  // (x2, y2) is drawn too (width 1 only; wider lines have round ends).
  void Stroke(double x1, double y1, double x2, double y2, Color c, bool includeLast);
  // A closed polygon (or an open polyline when closed is false) filled with
  // brush (when set) and outlined with the pen (when set). touching: the
  // brush covers every pixel the polygon touches (see ScanFill).
  void Shape(const std::vector<PointD>& pts, bool closed, std::optional<Color> pen,
             std::optional<Color> brush, bool touching = false);

  // Fills the polygon through pts (alternate rule): the pixels whose point
  // (x, y) lies inside or on an edge, and with touching also every pixel
  // whose square [x - 0.5, x + 0.5) x [y - 0.5, y + 0.5) an edge crosses.
  void ScanFill(const std::vector<PointD>& pts, uint32_t argb, bool touching = false);

  const QFont& Font();
  const QFontMetricsF& Metrics();
  // Width of one line of text in the current font (unrounded), and drawing
  // it with its left end at x and its baseline at y.
  double LineAdvance(const QString& line);
  void DrawLine(QPainter& p, double x, double y, const QString& line);
};

// Rounds a coordinate to a whole pixel, halves to even, keeping it a
// double; huge values are pulled in to kCoordLimit. NaN stays NaN.
double PixelCoord(double v);

}  // namespace zarv
