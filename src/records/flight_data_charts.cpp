#include "records/flight_data_charts.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/numeric.h"
#include "platform/ui/gdi.h"

namespace zarv::records {
namespace {

constexpr Marker kMarkers[kSeriesCount] = {
    Marker::Circle, Marker::Cross,        Marker::Triangle,     Marker::Circle,
    Marker::Cross,  Marker::Circle,       Marker::Cross,        Marker::Triangle,
    Marker::Square, Marker::FilledCircle, Marker::FilledSquare, Marker::FilledTriangle};

double SeriesValue(Series s, const flight::FlightSample& x, const PilotCgInputs& pilot) {
  switch (s) {
    case Series::Altitude: return x.Height;
    case Series::Airspeed: return x.Airspeed;
    case Series::LiftCoefficient: return x.LiftCoefficient;
    case Series::PressureCentre: return x.PressureCentre;
    case Series::CentreOfGravity: return x.CentreOfGravityPct;
    case Series::Pitch: return x.Pitch;
    case Series::PitchRate: return x.PitchRateDeg;
    case Series::AngleOfAttack: return x.WingAngleOfAttack;
    case Series::Elevator: return x.TailplaneAngle;
    case Series::ElevatorInput: return x.TailplaneControl;
    case Series::TailLift: return x.TailplaneLift;
    case Series::PilotCg: return PilotCgOffset(x.CentreOfGravityPct, pilot);
  }
  return 0;
}

// Which of the twelve series a drawing draws.
std::array<bool, kSeriesCount> DrawnSeries(const ChartInputs& in, bool bottomOnly) {
  std::array<bool, kSeriesCount> on{};
  for (int k = 0; k < kSeriesCount; ++k) {
    const Series s = static_cast<Series>(k);
    if (k < kFirstBottomSeries) {
      on[k] = !bottomOnly;
    } else {
      on[k] = in.SeriesFlags[static_cast<size_t>(k - kFirstBottomSeries + 1)] == 1 &&
              (in.Light || !SeriesLightOnly(s));
    }
  }
  return on;
}

// Copies the tile across the canvas in 48-px steps; the first copy takes the
// tile's left margin too unless skipMargin. Rows from `fromRow` down only.
void TileBackground(Surface& canvas, const Surface& tile, bool skipMargin, int fromRow) {
  const int w = canvas.Width();
  const int h = kChartHeight - fromRow;
  const int last = CheckedRound<int>((w - kAxisMargin) / double(kTilePeriod));
  for (int k = 0; k <= last; ++k) {
    if (k == 0 && !skipMargin) {
      BitBlt(canvas, 0, fromRow, kTileWidth, h, tile, 0, fromRow, SRCCOPY);
    } else {
      BitBlt(canvas, kAxisMargin + kTilePeriod * k, fromRow, kTileWidth - kAxisMargin, h, tile, kAxisMargin,
             fromRow, SRCCOPY);
    }
  }
}

void DrawTileGrid(Surface& t, int axisColumn, int denseStep) {
  t.SetBackColor(vbWhite);
  t.Cls();
  const Color grid = 0x808080;
  const struct {
    int top, bottom, rowStep;
  } bands[] = {{0, 90, 6}, {110, 210, 4}, {230, 429, 4}};
  for (const auto& b : bands) {
    // Dotted rows, one dot every 4 px.
    for (int y = b.top; y <= b.bottom; y += b.rowStep)
      for (int x = kAxisMargin; x < kTileWidth; x += 4) t.PSet(x, y, grid);
    // Dotted columns every 4 px; denser ones every second or every 10 m.
    for (int x = kAxisMargin; x < kTileWidth; x += 4) {
      const bool dense = (x - kAxisMargin) % denseStep == 0;
      for (int y = b.top; y <= b.bottom; y += dense ? 2 : 4) t.PSet(x, y, grid);
    }
    t.Line(axisColumn, b.top, axisColumn, b.bottom + 1, vbBlack);
  }
  for (int y : {30, 90, 110, 130, 150, 170, 190, 210, 250, 290, 330, 370, 410})
    t.Line(axisColumn, y, kTileWidth, y, vbBlack);
}

void DrawTicks(Surface& c, int step, bool distance, bool bottomOnly) {
  const int w = c.Width();
  const int end = w - kAxisMargin + 1;
  const int labelLimit = distance ? w - 26 : w - kAxisMargin;
  for (int i = 0; i <= end; i += step) {
    if (!bottomOnly && i < labelLimit) {
      const std::string label = distance ? DistanceTickLabel(i) : TimeTickLabel(i);
      for (int row : {93, 213}) {
        c.SetCurrentX(i + 20);
        c.SetCurrentY(row);
        c.Print(label);
      }
    }
    const int x = kAxisMargin + i;
    if (!bottomOnly) {
      c.Line(x, 0, x, 90, vbBlack);
      c.Line(x, 110, x, 210, vbBlack);
    }
    c.Line(x, 230, x, 430, vbBlack);
  }
}

struct PointState {
  double x = 0;
  std::array<double, kSeriesCount> y{};
};

void SampleYs(const ChartInputs& in, int32_t i, const std::array<bool, kSeriesCount>& on, PointState& p) {
  const flight::FlightSample& x = in.Record->Samples[static_cast<size_t>(i)];
  for (int k = 0; k < kSeriesCount; ++k) {
    if (!on[k]) continue;
    const Series s = static_cast<Series>(k);
    p.y[k] = SeriesY(s, SeriesValue(s, x, in.Pilot), in.Light);
  }
}

void DrawSegments(Surface& c, const std::array<bool, kSeriesCount>& on, const PointState& cur,
                  const PointState& prev, bool lines, bool markers) {
  for (int k = 0; k < kSeriesCount; ++k) {
    if (!on[k]) continue;
    if (lines) c.Line(cur.x, cur.y[k], prev.x, prev.y[k], kSeriesColours[k]);
  }
  if (!markers) return;
  for (int k = 0; k < kSeriesCount; ++k)
    if (on[k]) DrawMarker(c, static_cast<Series>(k), cur.x, cur.y[k]);
}

}  // namespace

Marker SeriesMarker(Series s) { return kMarkers[static_cast<int>(s)]; }

namespace {
// The radius-3 circle, pixel by pixel: the toolkit's ellipse is far too slow
// for thousands of markers on a wide canvas.
constexpr int kRing[][2] = {{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}};

void Ring(Surface& c, int x, int y, Color colour, bool filled) {
  if (filled) {
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        if (dx * dx + dy * dy <= 10) c.PSet(x + dx, y + dy, colour);
    return;
  }
  for (const auto& p : kRing) {
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) c.PSet(x + sx * p[0], y + sy * p[1], colour);
  }
}
}  // namespace

void DrawMarker(Surface& c, Series series, double x, double y) {
  // Far off the canvas, with room for the marker's few pixels: the integer
  // corners below must not overflow.
  constexpr double kFarOff = 1e6;
  x = std::clamp(x, -kFarOff, kFarOff);
  y = std::clamp(y, -kFarOff, kFarOff);
  const Color colour = kSeriesColours[static_cast<int>(series)];
  switch (SeriesMarker(series)) {
    case Marker::Circle:
      Ring(c, CheckedRound<int>(x), CheckedRound<int>(y), colour, false);
      break;
    case Marker::Cross:
      c.Line(x - 3, y - 3, x + 4, y + 4, colour);
      c.Line(x - 3, y + 3, x + 4, y - 4, colour);
      break;
    case Marker::Triangle:
      c.Line(x - 3, y + 2, x + 1, y - 3, colour);
      c.LineTo(x + 5, y + 2, colour);
      c.LineTo(x - 3, y + 2, colour);
      break;
    case Marker::Square:
      c.Line(x - 3, y - 3, x + 3, y + 3, colour, LineBox::B);
      break;
    case Marker::FilledCircle:
    case Marker::FilledSquare:
    case Marker::FilledTriangle: {
      c.SetFillStyle(vbFSSolid);
      c.SetFillColor(colour);
      if (SeriesMarker(series) == Marker::FilledCircle) {
        Ring(c, CheckedRound<int>(x), CheckedRound<int>(y), colour, true);
      } else if (SeriesMarker(series) == Marker::FilledSquare) {
        c.Line(x - 3, y - 3, x + 3, y + 3, colour, LineBox::B);
      } else {
        const int px = CheckedRound<int>(x), py = CheckedRound<int>(y);
        const Color fore = c.ForeColor();
        c.SetForeColor(colour);
        const PointI pts[] = {{px, py - 3}, {px - 4, py + 2}, {px + 4, py + 2}};
        Polygon(c, pts, 3);
        c.SetForeColor(fore);
      }
      c.SetFillStyle(vbFSTransparent);
      break;
    }
  }
}

int32_t DrawableSamples(const ChartInputs& in) {
  if (in.Record == nullptr || !(in.SampleCount > 0)) return 0;
  const double cap = static_cast<double>(in.Record->Samples.size());
  return CheckedRound<int32_t>(std::min(in.SampleCount, cap));
}

void DrawTimeTile(Surface& tile) {
  tile.Resize(kTileWidth, kChartHeight);
  DrawTileGrid(tile, 9, 16);
}

void DrawDistanceTile(Surface& tile) {
  tile.Resize(kTileWidth, kChartHeight);
  DrawTileGrid(tile, 1, 24);
}

void DrawChartByTime(Surface& c, const Surface& tile, const ChartInputs& in, bool bottomOnly) {
  c.SetForeColor(vbBlack);
  const int w = c.Width();
  if (bottomOnly) {
    TileBackground(c, tile, false, 230);
  } else {
    c.Cls();
    TileBackground(c, tile, false, 0);
  }
  DrawTicks(c, 80, false, bottomOnly);
  if (in.EngineRating >= 9000) {
    for (int k = -4; k <= 4; ++k) c.Line(9, 330 + 20 * k, 9 + w, 330 + 20 * k, vbBlack);
  }

  const int32_t n = DrawableSamples(in);
  const double t0 = n > 0 ? in.Record->Samples[0].Time : 0;
  const bool showProgress = n > 600 && !in.Light && in.Progress;
  const int32_t step = std::max<int32_t>(10, n / 20);
  const std::array<bool, kSeriesCount> on = DrawnSeries(in, bottomOnly);
  std::array<bool, kSeriesCount> top{}, bottom{};
  for (int k = 0; k < kSeriesCount; ++k) (k < kFirstBottomSeries ? top : bottom)[k] = on[k];

  PointState prev, cur;
  for (int32_t i = 0; i < n; ++i) {
    cur.x = TimeX(t0, i);
    SampleYs(in, i, on, cur);
    if (i > 5 && cur.x > 9) {
      const bool markers = i % 20 == 0 || i == n - 1;
      DrawSegments(c, top, cur, prev, true, markers);
      DrawSegments(c, bottom, cur, prev, true, markers);
    }
    if (showProgress && i > 0 && i % step == 0) in.Progress(i, n);
    prev = cur;
  }
}

void DrawChartByDistance(Surface& c, const Surface& tile, const ChartInputs& in) {
  if (!in.Light) return;
  c.SetForeColor(vbBlack);
  c.Cls();
  TileBackground(c, tile, true, 0);
  DrawTicks(c, 120, true, false);

  const int32_t n = DrawableSamples(in);
  const std::array<bool, kSeriesCount> on = DrawnSeries(in, false);
  std::array<bool, kSeriesCount> top{}, bottom{};
  for (int k = 0; k < kSeriesCount; ++k) (k < kFirstBottomSeries ? top : bottom)[k] = on[k];
  PointState prev, cur;
  for (int32_t i = 0; i < n; ++i) {
    cur.x = DistanceX(in.Record->Samples[static_cast<size_t>(i)].DistanceFlown);
    SampleYs(in, i, on, cur);
    const bool lines = i >= 2 && cur.x < kMinCanvasWidth;
    const bool markers = i % 20 == 0 || i == n - 1;
    DrawSegments(c, top, cur, prev, lines, markers);
    DrawSegments(c, bottom, cur, prev, lines, markers);
    prev = cur;
  }
}

}  // namespace zarv::records
