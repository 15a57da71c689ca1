#include "platform/ui/surface.h"

#include <QPen>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/runtime/numeric.h"
#include "platform/ui/fonts.h"
#include "platform/ui/surface_impl.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Shapes whose points all lie this close to the image go to Qt as they are;
// anything farther out is clipped here first.
constexpr double kQtSafe = 8192;
// Thin lines up to this long (and this far out) are walked whole.
constexpr double kLongestWalk = 32768;

QSize ClampSize(int w, int h) {
  w = std::clamp(w, 1, Surface::kMaxSide);
  h = std::clamp(h, 1, Surface::kMaxSide);
  if (int64_t{w} * h > Surface::kMaxPixels) h = static_cast<int>(Surface::kMaxPixels / w);
  return QSize(w, h);
}

QImage NewImage(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  if (img.isNull()) img = QImage(1, 1, QImage::Format_RGB32);  // out of memory
  return img;
}

bool AnyNaN(std::initializer_list<double> vs) {
  for (double v : vs)
    if (std::isnan(v)) return true;
  return false;
}

QPen MakePen(Color c, int width) {
  QPen pen(ToQColor(c));
  pen.setWidth(width);
  pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  return pen;
}

// Liang-Barsky: clips the segment to the rectangle; false when nothing is left.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                 double xmax, double ymax) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double ox = x1, oy = y1;
  if (t1 < 1) {
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
  }
  if (t0 > 0) {
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
  }
  return true;
}

// Sutherland-Hodgman against one rectangle edge at a time.
std::vector<PointD> ClipPolygon(std::vector<PointD> pts, double xmin, double ymin, double xmax,
                                double ymax) {
  auto pass = [&pts](auto inside, auto cross) {
    std::vector<PointD> out;
    out.reserve(pts.size() + 4);
    for (size_t i = 0; i < pts.size(); ++i) {
      const PointD& a = pts[i];
      const PointD& b = pts[(i + 1) % pts.size()];
      bool ia = inside(a), ib = inside(b);
      if (ia) out.push_back(a);
      if (ia != ib) out.push_back(cross(a, b));
    }
    pts.swap(out);
  };
  auto atX = [](double x) {
    return [x](const PointD& a, const PointD& b) {
      return PointD{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
    };
  };
  auto atY = [](double y) {
    return [y](const PointD& a, const PointD& b) {
      return PointD{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
  };
  pass([&](const PointD& p) { return p.x >= xmin; }, atX(xmin));
  if (!pts.empty()) pass([&](const PointD& p) { return p.x <= xmax; }, atX(xmax));
  if (!pts.empty()) pass([&](const PointD& p) { return p.y >= ymin; }, atY(ymin));
  if (!pts.empty()) pass([&](const PointD& p) { return p.y <= ymax; }, atY(ymax));
  return pts;
}

int Angle16(double radians) { return CheckedRound<int>(radians * (180.0 / std::numbers::pi) * 16.0); }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char ch : text) {
    if (ch == '\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(ch);
    }
  }
  for (auto& l : lines)
    if (!l.empty() && l.back() == '\r') l.pop_back();
  return lines;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

double PixelCoord(double v) {
  if (std::isnan(v)) return v;
  return std::nearbyint(std::clamp(v, -kCoordLimit, kCoordLimit));
}

// ---------------------------------------------------------------- Impl

QPainter& Surface::Impl::P() {
  if (!painter.isActive()) {
    img.bits();  // unshare before painting
    painter.begin(&img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
  }
  return painter;
}

void Surface::Impl::End() {
  if (painter.isActive()) painter.end();
}

uint32_t* Surface::Impl::Row(int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }

void Surface::Impl::Changed() {
  ++changes;
  if (changed) changed();
}

int Surface::Impl::PenWidth() const {
  int cover = 2 * (W() + H()) + 4;
  return std::clamp(drawWidth, 1, cover);
}

void Surface::Impl::Erase() {
  img.fill(ToArgb(back));
  if (picture) P().drawImage(0, 0, *picture);
}

void Surface::Impl::FillRect(int x0, int y0, int x1, int y1, uint32_t argb) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, W() - 1);
  y1 = std::min(y1, H() - 1);
  if (x0 > x1 || y0 > y1) return;
  for (int y = y0; y <= y1; ++y) std::fill(Row(y) + x0, Row(y) + x1 + 1, argb);
}

void Surface::Impl::Dot(int x, int y, uint32_t argb, int width) {
  if (width <= 1) {
    if (x >= 0 && y >= 0 && x < W() && y < H()) Row(y)[x] = argb;
    return;
  }
  // A round dot of the pen's diameter centred on the pixel.
  const int x0 = x - width / 2, y0 = y - width / 2;
  const double c = (width - 1) / 2.0, r2 = double(width) * width / 4.0;
  const int ya = std::max(y0, 0), yb = std::min(y0 + width, H());
  const int xa = std::max(x0, 0), xb = std::min(x0 + width, W());
  for (int py = ya; py < yb; ++py) {
    uint32_t* row = Row(py);
    const double dy = py - y0 - c;
    for (int px = xa; px < xb; ++px) {
      const double dx = px - x0 - c;
      if (dx * dx + dy * dy <= r2) row[px] = argb;
    }
  }
}

void Surface::Impl::Stroke(double x1, double y1, double x2, double y2, Color c, bool includeLast) {
  if (AnyNaN({x1, y1, x2, y2})) return;
  x1 = PixelCoord(x1);
  y1 = PixelCoord(y1);
  x2 = PixelCoord(x2);
  y2 = PixelCoord(y2);
  const int w = PenWidth();
  const double m = w + 2;
  // A thin line of moderate length is walked from its own end points, the
  // pixels off the picture skipped: ends cut at the picture's edge and
  // rounded there would tilt it off its own pixels, and a polygon's outline
  // off the edge its fill was sampled against.
  const bool walkWhole = w == 1 && std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)) <= kLongestWalk &&
                         std::max({std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)}) <= kLongestWalk;
  if (!walkWhole && !ClipSegment(x1, y1, x2, y2, -m, -m, W() - 1 + m, H() - 1 + m)) return;
  const int ax = CheckedRound<int>(x1), ay = CheckedRound<int>(y1);
  const int bx = CheckedRound<int>(x2), by = CheckedRound<int>(y2);
  if (w > 1) {
    P().setPen(MakePen(c, w));
    painter.drawLine(ax, ay, bx, by);
    return;
  }
  const uint32_t argb = ToArgb(c);
  uint32_t* bits = reinterpret_cast<uint32_t*>(img.bits());
  const qsizetype stride = img.bytesPerLine() / 4;
  const int width = W(), height = H();
  int x = ax, y = ay;
  const int dx = std::abs(bx - ax), sx = ax < bx ? 1 : -1;
  const int dy = -std::abs(by - ay), sy = ay < by ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    const bool last = x == bx && y == by;
    if ((!last || includeLast) && x >= 0 && y >= 0 && x < width && y < height)
      bits[y * stride + x] = argb;
    if (last) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Surface::Impl::Shape(const std::vector<PointD>& pts, bool closed, std::optional<Color> pen,
                          std::optional<Color> brush, bool touching) {
  if (pts.size() < 2) return;
  for (const PointD& p : pts)
    if (AnyNaN({p.x, p.y})) return;
  std::vector<PointD> q;
  q.reserve(pts.size());
  bool safe = true;
  double minX = kCoordLimit, maxX = -kCoordLimit, minY = kCoordLimit, maxY = -kCoordLimit;
  for (const PointD& p : pts) {
    PointD r{PixelCoord(p.x), PixelCoord(p.y)};
    safe = safe && r.x >= -kQtSafe && r.y >= -kQtSafe && r.x <= W() + kQtSafe && r.y <= H() + kQtSafe;
    minX = std::min(minX, r.x);
    maxX = std::max(maxX, r.x);
    minY = std::min(minY, r.y);
    maxY = std::max(maxY, r.y);
    q.push_back(r);
  }
  const int w = PenWidth();
  if (maxX < -w || maxY < -w || minX > W() + w || minY > H() + w) return;  // wholly outside
  // Plain values rather than optionals below: keeps the compiler's
  // may-be-uninitialised analysis quiet.
  const bool hasPen = pen.has_value(), hasBrush = closed && brush.has_value();
  const Color penColor = pen.value_or(0), brushColor = brush.value_or(0);
  if (hasBrush) {
    const double m = w + 2;
    if (safe) {
      ScanFill(q, ToArgb(brushColor), touching);
    } else {
      ScanFill(ClipPolygon(q, -m, -m, W() + m, H() + m), ToArgb(brushColor), touching);
    }
  }
  if (!hasPen) return;
  if (w > 1 && safe) {
    QPolygon poly(static_cast<int>(q.size()));
    for (size_t i = 0; i < q.size(); ++i)
      poly.setPoint(static_cast<int>(i), CheckedRound<int>(q[i].x), CheckedRound<int>(q[i].y));
    QPainter& p = P();
    p.setPen(MakePen(penColor, w));
    p.setBrush(Qt::NoBrush);
    if (closed) {
      p.drawPolygon(poly);
    } else {
      p.drawPolyline(poly);
    }
    return;
  }
  const size_t n = closed ? q.size() : q.size() - 1;
  for (size_t i = 0; i < n; ++i) {
    const PointD& a = q[i];
    const PointD& b = q[(i + 1) % q.size()];
    Stroke(a.x, a.y, b.x, b.y, penColor, true);
  }
}

void Surface::Impl::ScanFill(const std::vector<PointD>& pts, uint32_t argb, bool touching) {
  if (pts.size() < 3) return;
  if (touching) {
    // Each edge: per pixel row, the pixels under the part of the edge that
    // runs through the row's strip.
    for (size_t i = 0; i < pts.size(); ++i) {
      const PointD& a = pts[i];
      const PointD& b = pts[(i + 1) % pts.size()];
      const int ya = std::max(0, CheckedTruncate<int>(std::floor(std::min(a.y, b.y) + 0.5)));
      const int yb = std::min(H() - 1, CheckedTruncate<int>(std::floor(std::max(a.y, b.y) + 0.5)));
      for (int y = ya; y <= yb; ++y) {
        double x0 = a.x, x1 = b.x;
        if (a.y != b.y) {
          const double t0 = std::clamp((y - 0.5 - a.y) / (b.y - a.y), 0.0, 1.0);
          const double t1 = std::clamp((y + 0.5 - a.y) / (b.y - a.y), 0.0, 1.0);
          x0 = a.x + t0 * (b.x - a.x);
          x1 = a.x + t1 * (b.x - a.x);
        }
        if (x0 > x1) std::swap(x0, x1);
        FillRect(CheckedTruncate<int>(std::floor(x0 + 0.5)), y, CheckedTruncate<int>(std::floor(x1 + 0.5)), y, argb);
      }
    }
  }
  double minY = pts[0].y, maxY = pts[0].y;
  for (const PointD& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  // Pixel (x, y) is the point (x, y), as for the outline: a pixel is filled
  // when that point lies inside or on an edge (alternate rule). Sampling
  // anywhere else would shift the fill against the border the pen draws,
  // and polygons that share an edge would leave gaps between them.
  const int width = W();
  const int y0 = std::max(0, CheckedTruncate<int>(std::ceil(minY)));
  const int y1 = std::min(H() - 1, CheckedTruncate<int>(std::floor(maxY)));
  if (y0 > y1) return;
  uint32_t* bits = reinterpret_cast<uint32_t*>(img.bits());
  const qsizetype stride = img.bytesPerLine() / 4;
  std::vector<double>& xs = crossings;
  for (int y = y0; y <= y1; ++y) {
    const double sy = y;
    xs.clear();
    for (size_t i = 0; i < pts.size(); ++i) {
      const PointD& a = pts[i];
      const PointD& b = pts[(i + 1) % pts.size()];
      if ((a.y <= sy) != (b.y <= sy)) xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    uint32_t* row = bits + y * stride;
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int xa = std::max(0, CheckedTruncate<int>(std::ceil(xs[i])));
      const int xb = std::min(width - 1, CheckedTruncate<int>(std::floor(xs[i + 1])));
      if (xa <= xb) std::fill(row + xa, row + xb + 1, argb);
    }
  }
}

const QFont& Surface::Impl::Font() {
  if (fontDirty) {
    EnsureGuiApplication();
    font = MakeFont(fontName, fontSize, fontBold, fontItalic);
    metrics = std::make_unique<QFontMetricsF>(font);
    const std::string ascii = AsciiFamilyFor(fontName);
    asciiFont.reset();
    asciiMetrics.reset();
    if (!ascii.empty()) {
      asciiFont = MakeFont(ascii, fontSize, fontBold, fontItalic);
      asciiMetrics = std::make_unique<QFontMetricsF>(*asciiFont);
    }
    fontDirty = false;
  }
  return font;
}

namespace {

// Splits line into runs of ASCII and of other characters and calls
// f(run, ascii) for each in order.
template <class F>
void ForEachRun(const QString& line, F&& f) {
  qsizetype start = 0;
  for (qsizetype i = 1; i <= line.size(); ++i) {
    const bool before = line[i - 1].unicode() < 0x80;
    if (i == line.size() || (line[i].unicode() < 0x80) != before) {
      f(line.mid(start, i - start), before);
      start = i;
    }
  }
}

}  // namespace

double Surface::Impl::LineAdvance(const QString& line) {
  const QFontMetricsF& fm = Metrics();
  if (!asciiFont) return fm.horizontalAdvance(line);
  double w = 0;
  ForEachRun(line, [&](const QString& run, bool ascii) {
    w += (ascii ? *asciiMetrics : fm).horizontalAdvance(run);
  });
  return w;
}

void Surface::Impl::DrawLine(QPainter& p, double x, double y, const QString& line) {
  Font();
  if (!asciiFont) {
    p.setFont(font);
    p.drawText(QPointF(x, y), line);
    return;
  }
  ForEachRun(line, [&](const QString& run, bool ascii) {
    p.setFont(ascii ? *asciiFont : font);
    p.drawText(QPointF(x, y), run);
    x += (ascii ? *asciiMetrics : *metrics).horizontalAdvance(run);
  });
}

const QFontMetricsF& Surface::Impl::Metrics() {
  Font();
  return *metrics;
}

// ---------------------------------------------------------------- Surface

Surface::Surface(int width, int height, Color back) : impl_(std::make_unique<Impl>()) {
  impl_->back = back;
  impl_->img = NewImage(ClampSize(width, height));
  impl_->img.fill(ToArgb(back));
}

Surface::~Surface() = default;
Surface::Surface(Surface&&) noexcept = default;
Surface& Surface::operator=(Surface&&) noexcept = default;

int Surface::Width() const { return impl_->W(); }
int Surface::Height() const { return impl_->H(); }

void Surface::Resize(int width, int height) {
  Impl& d = *impl_;
  const QSize size = ClampSize(width, height);
  if (size == d.img.size()) return;
  d.End();
  QImage old = d.img;
  d.img = NewImage(size);
  d.Erase();
  d.End();
  const int w = std::min(old.width(), d.W()), h = std::min(old.height(), d.H());
  for (int y = 0; y < h; ++y) std::memcpy(d.Row(y), old.constScanLine(y), size_t(w) * 4);
  d.Changed();
}

Color Surface::ForeColor() const { return impl_->fore; }
void Surface::SetForeColor(Color c) { impl_->fore = c; }
Color Surface::BackColor() const { return impl_->back; }
void Surface::SetBackColor(Color c) {
  impl_->back = c;
  impl_->Erase();
  impl_->Changed();
}
Color Surface::FillColor() const { return impl_->fill; }
void Surface::SetFillColor(Color c) { impl_->fill = c; }
int Surface::FillStyle() const { return impl_->fillStyle; }
void Surface::SetFillStyle(int style) { impl_->fillStyle = style; }
int Surface::DrawWidth() const { return impl_->drawWidth; }
void Surface::SetDrawWidth(int width) { impl_->drawWidth = std::clamp(width, 1, 32767); }
double Surface::CurrentX() const { return impl_->curX; }
double Surface::CurrentY() const { return impl_->curY; }
void Surface::SetCurrentX(double x) { impl_->curX = x; }
void Surface::SetCurrentY(double y) { impl_->curY = y; }

const std::string& Surface::FontName() const { return impl_->fontName; }
void Surface::SetFontName(const std::string& name) {
  impl_->fontName = name;
  impl_->fontDirty = true;
}
double Surface::FontSize() const { return impl_->fontSize; }
void Surface::SetFontSize(double points) {
  if (std::isnan(points)) return;
  impl_->fontSize = std::clamp(points, 1.0, 2048.0);
  impl_->fontDirty = true;
}
bool Surface::FontBold() const { return impl_->fontBold; }
void Surface::SetFontBold(bool on) {
  impl_->fontBold = on;
  impl_->fontDirty = true;
}
bool Surface::FontItalic() const { return impl_->fontItalic; }
void Surface::SetFontItalic(bool on) {
  impl_->fontItalic = on;
  impl_->fontDirty = true;
}
bool Surface::FontTransparent() const { return impl_->fontTransparent; }
void Surface::SetFontTransparent(bool on) { impl_->fontTransparent = on; }

void Surface::SetPicture(const Surface& picture, bool autoSize) {
  QImage pic = SurfaceImage(picture).convertToFormat(QImage::Format_RGB32);
  if (pic.isNull()) return;
  Impl& d = *impl_;
  d.End();
  d.picture = std::move(pic);
  if (autoSize) {
    const QSize size = ClampSize(d.picture->width(), d.picture->height());
    if (size != d.img.size()) d.img = NewImage(size);
  }
  d.Erase();
  d.Changed();
}

void Surface::ClearPicture() { impl_->picture.reset(); }
bool Surface::HasPicture() const { return impl_->picture.has_value(); }

void Surface::Cls() {
  impl_->Erase();
  impl_->curX = 0;
  impl_->curY = 0;
  impl_->Changed();
}

void Surface::Line(double x1, double y1, double x2, double y2, std::optional<Color> color,
                   LineBox box) {
  Impl& d = *impl_;
  d.curX = x2;
  d.curY = y2;
  if (AnyNaN({x1, y1, x2, y2})) return;
  const Color c = color.value_or(d.fore);
  if (box == LineBox::None) {
    d.Stroke(x1, y1, x2, y2, c, false);
    d.Changed();
    return;
  }
  // Box corners, pulled in to just outside the image.
  auto cx = [&d](double v) { return CheckedRound<int>(std::clamp(PixelCoord(v), -1.0, double(d.W()))); };
  auto cy = [&d](double v) { return CheckedRound<int>(std::clamp(PixelCoord(v), -1.0, double(d.H()))); };
  const int xa = cx(x1), ya = cy(y1), xb = cx(x2), yb = cy(y2);
  const int w = d.PenWidth();
  const std::vector<PointD> corners = {
      {PixelCoord(x1), PixelCoord(y1)}, {PixelCoord(x2), PixelCoord(y1)},
      {PixelCoord(x2), PixelCoord(y2)}, {PixelCoord(x1), PixelCoord(y2)}};
  if (box == LineBox::BF) {
    d.FillRect(xa, ya, xb, yb, ToArgb(c));
    if (w > 1) d.Shape(corners, true, c, std::nullopt);
  } else {
    if (d.fillStyle == vbFSSolid) d.FillRect(xa, ya, xb, yb, ToArgb(d.fill));
    if (w > 1) {
      d.Shape(corners, true, c, std::nullopt);
    } else {
      const uint32_t argb = ToArgb(c);
      d.FillRect(xa, ya, xb, ya, argb);
      d.FillRect(xa, yb, xb, yb, argb);
      d.FillRect(xa, ya, xa, yb, argb);
      d.FillRect(xb, ya, xb, yb, argb);
    }
  }
  d.Changed();
}

void Surface::LineStep(double x1, double y1, double dx, double dy, std::optional<Color> color,
                       LineBox box) {
  Line(x1, y1, x1 + dx, y1 + dy, color, box);
}

void Surface::LineTo(double x2, double y2, std::optional<Color> color, LineBox box) {
  Line(impl_->curX, impl_->curY, x2, y2, color, box);
}

void Surface::LineToStep(double dx, double dy, std::optional<Color> color, LineBox box) {
  const double x = impl_->curX, y = impl_->curY;
  Line(x, y, x + dx, y + dy, color, box);
}

void Surface::PSet(double x, double y, std::optional<Color> color) {
  Impl& d = *impl_;
  d.curX = x;
  d.curY = y;
  if (AnyNaN({x, y})) return;
  const double px = PixelCoord(x), py = PixelCoord(y);
  const int w = d.PenWidth();
  if (px < -w || py < -w || px > d.W() + w || py > d.H() + w) return;
  d.Dot(CheckedRound<int>(px), CheckedRound<int>(py), ToArgb(color.value_or(d.fore)), w);
  d.Changed();
}

Color Surface::Point(double x, double y) const {
  const Impl& d = *impl_;
  if (AnyNaN({x, y})) return kNoColor;
  const double px = PixelCoord(x), py = PixelCoord(y);
  if (px < 0 || py < 0 || px >= d.W() || py >= d.H()) return kNoColor;
  const int ix = CheckedRound<int>(px), iy = CheckedRound<int>(py);
  return FromArgb(reinterpret_cast<const uint32_t*>(d.img.constScanLine(iy))[ix]);
}

void Surface::Circle(double x, double y, double r, std::optional<Color> color,
                     std::optional<double> start, std::optional<double> end, double aspect) {
  Impl& d = *impl_;
  d.curX = x;
  d.curY = y;
  if (AnyNaN({x, y, r}) || (start && std::isnan(*start)) || (end && std::isnan(*end))) return;
  if (std::isnan(aspect)) aspect = 1;
  aspect = std::fabs(aspect);
  r = std::fabs(r);
  double rx = r, ry = r * aspect;
  if (aspect > 1) {
    rx = r / aspect;
    ry = r;
  }
  const double cx = PixelCoord(x), cy = PixelCoord(y);
  rx = PixelCoord(rx);
  ry = PixelCoord(ry);
  const int w = d.PenWidth();
  if (cx + rx + w < 0 || cy + ry + w < 0 || cx - rx - w > d.W() || cy - ry - w > d.H()) return;

  const Color c = color.value_or(d.fore);
  const std::optional<Color> brush =
      d.fillStyle == vbFSSolid ? std::optional<Color>(d.fill) : std::nullopt;
  const bool arc = start.has_value() || end.has_value();
  const bool startRadius = start && *start < 0, endRadius = end && *end < 0;
  const double s = start ? std::fmod(std::fabs(*start), kTwoPi) : 0.0;
  const double e = end ? std::fmod(std::fabs(*end), kTwoPi) : 0.0;
  double span = e - s;
  if (span <= 0) span += kTwoPi;
  const bool pie = startRadius && endRadius;
  auto rim = [&](double a) { return PointD{cx + rx * std::cos(a), cy - ry * std::sin(a)}; };

  const bool big = rx > kQtSafe || ry > kQtSafe || std::fabs(cx) > 4 * kQtSafe ||
                   std::fabs(cy) > 4 * kQtSafe;
  if (!big) {
    const QRectF rect(cx - rx, cy - ry, 2 * rx, 2 * ry);
    QPainter& p = d.P();
    p.setPen(MakePen(c, w));
    if (!arc) {
      p.setBrush(brush ? QBrush(ToQColor(*brush)) : QBrush(Qt::NoBrush));
      p.drawEllipse(rect);
    } else if (pie) {
      p.setBrush(brush ? QBrush(ToQColor(*brush)) : QBrush(Qt::NoBrush));
      p.drawPie(rect, Angle16(s), Angle16(span));
    } else {
      p.setBrush(Qt::NoBrush);
      p.drawArc(rect, Angle16(s), Angle16(span));
    }
  } else {
    // Too large for the rasteriser: an outline of short chords, clipped here.
    constexpr int kChords = 4096;
    const double sweep = arc ? span : kTwoPi;
    const int n = std::max(2, CheckedRound<int>(kChords * sweep / kTwoPi));
    std::vector<PointD> pts;
    pts.reserve(size_t(n) + 2);
    for (int i = 0; i <= n; ++i) pts.push_back(rim(s + sweep * i / n));
    if (!arc) {
      pts.pop_back();
      d.Shape(pts, true, c, brush);
    } else if (pie) {
      pts.push_back({cx, cy});
      d.Shape(pts, true, c, brush);
    } else {
      d.Shape(pts, false, c, std::nullopt);
    }
  }
  if (arc && !pie) {
    if (startRadius) {
      PointD a = rim(s);
      d.Stroke(cx, cy, a.x, a.y, c, true);
    }
    if (endRadius) {
      PointD b = rim(s + span);
      d.Stroke(cx, cy, b.x, b.y, c, true);
    }
  }
  d.Changed();
}

void Surface::Print(const std::string& text) {
  Impl& d = *impl_;
  const QFontMetricsF& fm = d.Metrics();
  const double lineHeight = std::round(fm.height());
  const double ascent = std::round(fm.ascent());
  const std::vector<std::string> lines = SplitLines(text);
  bool drawn = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      d.curX = 0;
      d.curY += lineHeight;
    }
    const QString line = Q(lines[i]);
    const double width = std::round(d.LineAdvance(line));
    const int x = CheckedRound<int>(PixelCoord(d.curX));
    const int y = CheckedRound<int>(PixelCoord(d.curY));
    if (!line.isEmpty() && x < d.W() && y < d.H() && x + width > 0 && y + lineHeight > 0) {
      QPainter& p = d.P();
      if (!d.fontTransparent)
        p.fillRect(QRectF(x, y, width, lineHeight), ToQColor(d.back));
      p.setPen(ToQColor(d.fore));
      d.DrawLine(p, x, y + ascent, line);
      drawn = true;
    }
    d.curX += width;
  }
  if (drawn) d.Changed();
}

void Surface::PrintLine(const std::string& text) {
  Print(text);
  impl_->curX = 0;
  impl_->curY += std::round(impl_->Metrics().height());
}

double Surface::TextWidth(const std::string& text) const {
  double width = 0;
  for (const std::string& line : SplitLines(text)) width = std::max(width, std::round(impl_->LineAdvance(Q(line))));
  return width;
}

double Surface::TextHeight(const std::string& text) const {
  return std::round(impl_->Metrics().height()) * static_cast<double>(SplitLines(text).size());
}

void Surface::SetChangedCallback(std::function<void()> callback) {
  impl_->changed = std::move(callback);
}
uint64_t Surface::ChangeCount() const { return impl_->changes; }

}  // namespace zarv
