// Drawing of the flight-data charts into off-screen canvases: the recorded
// flight against time (every aircraft) and against distance (light aircraft
// only), in three stacked bands on a tiled background. Reads the record,
// changes nothing in it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "flight/flight_record.h"
#include "platform/ui/surface.h"
#include "records/chart_axes.h"

namespace zarv::records {

// The 16-colour palette entries the series use.
inline constexpr Color kSeriesColours[kSeriesCount] = {
    0x800000, 0x008000, 0x808000,                      // altitude, airspeed, lift: QBColor 1, 2, 3
    0x800000, 0x008000,                                // centre of pressure, centre of gravity
    0x800000, 0x008000, 0x808000, 0x000080, 0x800080,  // pitch .. elevator input: 1 .. 5
    0x008080, 0x000000};                               // tail lift 6, pilot black

enum class Marker { Circle, Cross, Triangle, Square, FilledCircle, FilledSquare, FilledTriangle };
Marker SeriesMarker(Series s);
// Draws the marker of a series centred on (x, y) in the series colour.
void DrawMarker(Surface& s, Series series, double x, double y);

struct ChartInputs {
  const flight::FlightRecord* Record = nullptr;
  double SampleCount = 0;       // samples to draw (RecordSampleCount)
  bool Light = true;            // launch speed 10 m/s or less
  double EngineRating = 0;
  std::array<int16_t, 8> SeriesFlags{};  // index 1..7: bottom series ticked
  PilotCgInputs Pilot;
  // Called at progress steps of a long time chart (powered aircraft,
  // more than 600 samples): samples done, samples in all.
  std::function<void(int32_t done, int32_t total)> Progress;
};

// Samples that can be drawn: the sample count held within the record.
int32_t DrawableSamples(const ChartInputs& in);

// The two 73 x 430 background tiles (time: axis at column 9, a dense grid
// line every second; distance: axis at column 1, one every 10 m).
void DrawTimeTile(Surface& tile);
void DrawDistanceTile(Surface& tile);

// The chart against time; with bottomOnly only the bottom band is redrawn.
void DrawChartByTime(Surface& canvas, const Surface& tile, const ChartInputs& in, bool bottomOnly);
// The chart against distance (light aircraft; nothing for a powered one).
void DrawChartByDistance(Surface& canvas, const Surface& tile, const ChartInputs& in);

}  // namespace zarv::records
