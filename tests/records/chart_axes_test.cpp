#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "records/chart_axes.h"

namespace zarv::records {
namespace {

TEST(ChartAxes, CanvasWidthsForTypicalConstantNegativeAndHugeData) {
  // 60 s of samples: 4 pages of 15 s -> (4 + 1) pages of 240 px + 25.
  EXPECT_EQ(TimeCanvasWidth(1200, 0), 5 * 240 + 25);
  // 1000 m: Int(5 + 0.5) + 1 = 6 pages; 350 m would be narrower than the minimum.
  EXPECT_EQ(DistanceCanvasWidth(1000), 6 * 240 + 25);
  EXPECT_EQ(DistanceCanvasWidth(350), kMinCanvasWidth);
  // A light aircraft's canvases share the larger width.
  const CanvasWidths light = ChartCanvasWidths(1200, 0, 1000, true);
  EXPECT_EQ(light.Time, 6 * 240 + 25);
  EXPECT_EQ(light.Distance, 6 * 240 + 25);
  const CanvasWidths powered = ChartCanvasWidths(1200, 0, 1000, false);
  EXPECT_EQ(powered.Time, 5 * 240 + 25);
  EXPECT_EQ(powered.Distance, 16);
  // Nothing recorded, a flight that never left the platform, one behind it:
  // the minimum width.
  EXPECT_EQ(TimeCanvasWidth(0, 0), kMinCanvasWidth);
  EXPECT_EQ(DistanceCanvasWidth(0), kMinCanvasWidth);
  EXPECT_EQ(DistanceCanvasWidth(-5000), kMinCanvasWidth);
  // Huge or broken data stays within a drawable surface.
  EXPECT_EQ(DistanceCanvasWidth(1e300), kMaxCanvasWidth);
  EXPECT_EQ(TimeCanvasWidth(90004, 0), kMaxCanvasWidth);
  EXPECT_EQ(DistanceCanvasWidth(std::nan("")), kMinCanvasWidth);
  EXPECT_EQ(TimeCanvasWidth(std::numeric_limits<double>::infinity(), 0), kMaxCanvasWidth);
}

TEST(ChartAxes, ViewportAndScrollNeverDivideByZero) {
  // 640 px window: 486 px of viewport.
  EXPECT_EQ(ViewportWidth(640, 5000), 486);
  // A chart narrower than the room makes the viewport as narrow.
  EXPECT_EQ(ViewportWidth(1024, 985), 870);
  EXPECT_EQ(ViewportWidth(100, 985), 1);
  EXPECT_EQ(ScrollMaximum(985, 486), 9);  // Int((2.03 - 1) x 8) + 1
  EXPECT_EQ(ScrollMaximum(985, 985), 1);
  EXPECT_EQ(ScrollMaximum(985, 0), ScrollMaximum(985, 1));
  // At the maximum the viewport shows the right end; at 0 the left.
  const int max = ScrollMaximum(5000, 486);
  EXPECT_EQ(ViewportOffset(5000, 486, max, max), 5000 - 486);
  EXPECT_EQ(ViewportOffset(5000, 486, 0, max), 0);
  EXPECT_EQ(ViewportOffset(985, 985, 1, 1), 0);
  EXPECT_EQ(ViewportOffset(5000, 486, 3, 0), 0);
  // A remembered position beyond a shorter chart's range is held at its end.
  EXPECT_EQ(FitScrollValue(60, 9), 9);
  EXPECT_EQ(FitScrollValue(-3, 9), 0);
}

TEST(ChartAxes, TickLabelsAndSampleColumns) {
  EXPECT_EQ(TimeTickLabel(0), "000S");
  EXPECT_EQ(TimeTickLabel(80), "005S");
  EXPECT_EQ(TimeTickLabel(1600), "100S");
  EXPECT_EQ(DistanceTickLabel(0), "000m");
  EXPECT_EQ(DistanceTickLabel(120), "050m");
  EXPECT_EQ(DistanceTickLabel(240), "100m");
  EXPECT_EQ(TimeX(0, 0), 25);
  EXPECT_EQ(TimeX(0, 20), 41);
  EXPECT_EQ(TimeX(-1, 0), 9);
  EXPECT_EQ(DistanceX(0), 30);
  EXPECT_EQ(DistanceX(100), 270);
  EXPECT_EQ(DistanceX(398), 985);  // about where the connecting lines stop
}

TEST(ChartAxes, SeriesRowsHeldInTheirBands) {
  // Light: 6 px per metre; below the water the curve leaves the band.
  EXPECT_EQ(SeriesY(Series::Altitude, 10, true), 30);
  EXPECT_EQ(SeriesY(Series::Altitude, -0.5, true), 93);
  EXPECT_EQ(SeriesY(Series::Altitude, 100, true), 0);
  // Powered: 0.6 px per 100 ft, held at the band's bottom.
  EXPECT_EQ(SeriesY(Series::Altitude, 3048, false), 30);
  EXPECT_EQ(SeriesY(Series::Altitude, -10, false), 90);
  // Airspeed: 6 px per m/s light; powered 0.6 px per 10 knots (1.95 kt per
  // m/s), 500 m/s at 90 - 58.5, the half to even; held in the band.
  EXPECT_EQ(SeriesY(Series::Airspeed, 8, true), 42);
  EXPECT_EQ(SeriesY(Series::Airspeed, -1, true), 96);
  EXPECT_EQ(SeriesY(Series::Airspeed, 500, false), 32);
  EXPECT_EQ(SeriesY(Series::Airspeed, 100, false), 78);
  EXPECT_EQ(SeriesY(Series::Airspeed, -5, false), 90);
  EXPECT_EQ(SeriesY(Series::Airspeed, 2000, false), 0);
  EXPECT_EQ(SeriesY(Series::LiftCoefficient, 1, true), 30);
  EXPECT_EQ(SeriesY(Series::CentreOfGravity, 30, true), 190);
  EXPECT_EQ(SeriesY(Series::PressureCentre, 80, true), 110);
  // Bottom band: 4 px per unit light, 1 px powered, zero at 330.
  EXPECT_EQ(SeriesY(Series::Pitch, 5, true), 310);
  EXPECT_EQ(SeriesY(Series::Pitch, 5, false), 325);
  EXPECT_EQ(SeriesY(Series::Pitch, -1e300, true), 430);
  EXPECT_EQ(SeriesY(Series::Pitch, 1e300, true), 230);
  // The angle of attack alone keeps its fraction; a half rounds to even.
  EXPECT_DOUBLE_EQ(SeriesY(Series::AngleOfAttack, 0.3, true), 328.8);
  EXPECT_EQ(SeriesY(Series::ElevatorInput, 0.125, true), 330);  // 329.5 -> 330
  EXPECT_EQ(SeriesY(Series::Elevator, std::nan(""), true), 330);
  EXPECT_EQ(SeriesY(Series::Altitude, std::nan(""), true), 90);
}

TEST(ChartAxes, PilotOffsetAndLegends) {
  // Mean chord 1 m, 100 kg, no structure moment, 50 kg pilot: a CG at 35 %
  // is 0.1 x 100 / 50 m = 20 cm behind the quarter chord.
  EXPECT_DOUBLE_EQ(PilotCgOffset(35, {10, 10, 100, 0, 50}), 20);
  EXPECT_EQ(PilotCgOffset(35, {10, 10, 100, 0, 0}), 0);
  EXPECT_EQ(PilotCgOffset(35, {10, 0, 100, 0, 50}), 0);
  EXPECT_EQ(LegendTexts(500)[0], "高度ｍ");
  EXPECT_EQ(LegendTexts(9000)[0], "高度x10ft");
  EXPECT_EQ(LegendTexts(9000)[1], "対気速度kt");
  EXPECT_EQ(LegendTexts(9000)[2], "揚力係数×1000");
}

}  // namespace
}  // namespace zarv::records
