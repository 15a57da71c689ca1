// The flight-data charts' geometry, without drawing: canvas widths, the
// viewport and its scroll mapping, the x of a sample, the y of every series
// in its band, tick labels and legend texts.
//
// The value scales are fixed by the aircraft class (6 px per metre for a
// light aircraft, 0.6 px per 100 ft for a powered one, ...); nothing is
// scaled to the data, so no data range ever becomes a divisor. The only
// extents taken from the data are the canvas widths, held between the
// minimum width and the largest surface side.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zarv::records {

inline constexpr int kChartHeight = 430;
inline constexpr int kMinCanvasWidth = 985;
inline constexpr int kMaxCanvasWidth = 65536;  // the largest surface side
inline constexpr int kAxisMargin = 25;          // canvas columns left of time 0
inline constexpr int kTileWidth = 73;
inline constexpr int kTilePeriod = 48;
inline constexpr int kViewportLeft = 150;
inline constexpr int kViewportTop = 20;

// The twelve curves: five of the top and middle bands, then the seven
// optional series of the bottom band in check-box order.
enum class Series : int {
  Altitude = 0,
  Airspeed,
  LiftCoefficient,
  PressureCentre,
  CentreOfGravity,
  Pitch,
  PitchRate,
  AngleOfAttack,
  Elevator,
  ElevatorInput,
  TailLift,
  PilotCg,
};
inline constexpr int kSeriesCount = 12;
inline constexpr int kFirstBottomSeries = 5;

// Width of the time canvas for N samples whose first time is t0: whole
// 15-second pages of 240 px plus the axis margin.
int TimeCanvasWidth(double sampleCount, double firstTime);
// Width of the distance canvas when the last sample is `lastDistance` m out:
// whole 100-m pages of 240 px plus the margin.
int DistanceCanvasWidth(double lastDistance);

struct CanvasWidths {
  int Time = kMinCanvasWidth;
  int Distance = 16;  // a powered aircraft's distance canvas is unused
};
// Both canvases; a light aircraft's two take the larger width.
CanvasWidths ChartCanvasWidths(double sampleCount, double firstTime, double lastDistance, bool light);

// The viewport is the window less 154 px, but never wider than the time
// canvas; at least 1 px.
int ViewportWidth(int windowPixels, int timeCanvasWidth);
// Eight scroll steps per viewport width; at least 1.
int ScrollMaximum(int canvasWidth, int viewportWidth);
// Canvas column shown at the viewport's left edge for a scroll value.
int ViewportOffset(int canvasWidth, int viewportWidth, int value, int maximum);
// A remembered scroll value that fits the range of the new chart.
int FitScrollValue(int value, int maximum);

// x of sample i on the time chart (16 px per second).
int TimeX(double firstTime, int32_t i);
// x of a sample at distance d on the distance chart (2.4 px per metre).
int DistanceX(double distance);

// Tick labels: "000S", "005S" ... every 80 px; "000m", "050m" ... every 120 px.
std::string TimeTickLabel(int offset);
std::string DistanceTickLabel(int offset);

// The pilot's centre-of-gravity offset in cm from the quarter chord, from
// the sample's centre of gravity in % of chord. 0 when the aircraft has no
// pilot weight or no span.
struct PilotCgInputs {
  double WingArea = 0;
  double WingSpan = 0;
  double Mass = 0;
  double StructureMoment = 0;
  double PilotWeight = 0;
};
double PilotCgOffset(double centreOfGravityPct, const PilotCgInputs& in);

// y of a value of a series (the pilot series takes the offset in cm), taken
// to the nearest pixel and held in its band. The wing angle of attack stays
// a real value. A NaN value draws on the band's zero row.
double SeriesY(Series s, double v, bool light);
// True when a powered aircraft's chart leaves the series out.
bool SeriesLightOnly(Series s);

// Legend texts of the top and middle bands, in legend-row order
// (rows 40, 60, 80, 170, 190); metric when the engine rating is below 9000.
std::array<std::string, 5> LegendTexts(double engineRating);
inline constexpr std::array<int, 5> kLegendRows = {40, 60, 80, 170, 190};
// Legend rows of the seven bottom series.
inline constexpr std::array<int, 7> kBottomLegendRows = {300, 320, 340, 360, 380, 400, 420};
// Check-box captions.
extern const std::array<const char*, 7> kBottomCaptions;

}  // namespace zarv::records
