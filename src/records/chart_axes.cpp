#include "records/chart_axes.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::records {
namespace {

int ClampWidth(double w) {
  if (std::isnan(w)) return kMinCanvasWidth;
  return std::clamp(CheckedRound<int>(w), kMinCanvasWidth, kMaxCanvasWidth);
}

struct Band {
  double zero, top, bottom;
};
constexpr Band kTop{90, 0, 90};
constexpr Band kMiddle{210, 110, 210};
constexpr Band kBottom{330, 230, 430};

Band BandOf(Series s) {
  switch (s) {
    case Series::Altitude:
    case Series::Airspeed:
    case Series::LiftCoefficient:
      return kTop;
    case Series::PressureCentre:
    case Series::CentreOfGravity:
      return kMiddle;
    default:
      return kBottom;
  }
}

double Pixel(double y) { return static_cast<double>(CheckedRound<int>(y)); }

}  // namespace

const std::array<const char*, 7> kBottomCaptions = {
    "ﾋﾟｯﾁ角°", "ﾋﾟｯﾁ率°/s", "主翼迎角°", "水尾舵角°", "水尾操舵量°", "水尾揚力N", "Pilot重心cm"};

int TimeCanvasWidth(double sampleCount, double firstTime) {
  return ClampWidth((Int((sampleCount / 20 + firstTime) / 15 + 0.5) + 1) * 240 + kAxisMargin);
}

int DistanceCanvasWidth(double lastDistance) {
  return ClampWidth((Int(lastDistance / 200 + 0.5) + 1) * 240 + kAxisMargin);
}

CanvasWidths ChartCanvasWidths(double sampleCount, double firstTime, double lastDistance, bool light) {
  CanvasWidths w;
  w.Time = TimeCanvasWidth(sampleCount, firstTime);
  if (light) {
    w.Distance = std::max(w.Time, DistanceCanvasWidth(lastDistance));
    w.Time = w.Distance;
  }
  return w;
}

int ViewportWidth(int windowPixels, int timeCanvasWidth) {
  return std::max(1, std::min(windowPixels - 154, timeCanvasWidth));
}

int ScrollMaximum(int canvasWidth, int viewportWidth) {
  if (viewportWidth < 1) viewportWidth = 1;
  const double m = Int((static_cast<double>(canvasWidth) / viewportWidth - 1) * 8) + 1;
  return std::max(1, CheckedRound<int>(m));
}

int ViewportOffset(int canvasWidth, int viewportWidth, int value, int maximum) {
  if (maximum < 1) return 0;
  const int room = std::max(0, canvasWidth - viewportWidth);
  value = std::clamp(value, 0, maximum);
  return CheckedRound<int>(static_cast<double>(room) * value / maximum);
}

int FitScrollValue(int value, int maximum) { return std::clamp(value, 0, std::max(0, maximum)); }

int TimeX(double firstTime, int32_t i) { return CheckedRound<int>(kAxisMargin + 16 * (firstTime + i / 20.0)); }

int DistanceX(double distance) { return CheckedRound<int>(30 + 2.4 * distance); }

std::string TimeTickLabel(int offset) { return Format(offset / 16.0, "000S"); }

std::string DistanceTickLabel(int offset) { return Format(offset / 2.4, "000m"); }

double PilotCgOffset(double c, const PilotCgInputs& in) {
  if (in.PilotWeight == 0 || in.WingSpan == 0) return 0;
  const double p =
      100 * ((c / 100 - 0.25) * (in.WingArea / in.WingSpan) * in.Mass - in.StructureMoment) / in.PilotWeight;
  return std::isfinite(p) ? p : 0;
}

bool SeriesLightOnly(Series s) { return s == Series::TailLift || s == Series::PilotCg; }

double SeriesY(Series s, double v, bool light) {
  const Band b = BandOf(s);
  if (std::isnan(v)) return b.zero;
  double y = 0;
  switch (s) {
    case Series::Altitude:
      y = light ? 90 - 6 * v : 90 - v * 0.6 / 30.48;
      break;
    case Series::Airspeed:
      y = light ? 90 - 6 * v : 90 - v * 0.6 * 0.195;
      break;
    case Series::LiftCoefficient:
      y = 90 - 60 * v;
      break;
    case Series::PressureCentre:
    case Series::CentreOfGravity:
      y = 210 - (v - 25) * 4;
      break;
    default:
      y = 330 - (light ? 4 : 1) * v;
      break;
  }
  if (std::isnan(y)) return b.zero;
  if (s == Series::AngleOfAttack) return std::clamp(y, b.top, b.bottom);
  y = Pixel(y);
  // A light aircraft's height and speed may run below the band (under the
  // water), never above the canvas.
  if (light && (s == Series::Altitude || s == Series::Airspeed)) return std::max(y, b.top);
  return std::clamp(y, b.top, b.bottom);
}

std::array<std::string, 5> LegendTexts(double engineRating) {
  if (engineRating < 9000) return {"高度ｍ", "対気速度m/s", "揚力係数×10", "風圧中心％", "重心％"};
  return {"高度x10ft", "対気速度kt", "揚力係数×1000", "風圧中心％", "重心％"};
}

}  // namespace zarv::records
