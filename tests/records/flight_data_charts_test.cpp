// Pixels of the plotted curves at worked points.
#include <gtest/gtest.h>

#include <cmath>

#include "records/chart_fixture.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/app.h"
#include "records/flight_data_charts.h"

namespace zarv::records {
namespace {

class ChartPixels : public testing::SteadyChartTest {
 protected:
  Surface canvas{kMinCanvasWidth, kChartHeight};
};

constexpr Color kAltitude = kSeriesColours[0];
constexpr Color kPitch = kSeriesColours[5];

TEST_F(ChartPixels, TimeChartStartsAtTheSixthSampleAndHoldsTheScale) {
  DrawChartByTime(canvas, timeTile, in, false);
  // 5 m at 6 px per metre: row 60. Sample 6 lies at x = 25 + 16 x 0.3 = 30;
  // samples 0 to 5 are not drawn.
  EXPECT_EQ(canvas.Point(30, 60), kAltitude);
  EXPECT_EQ(canvas.Point(100, 60), kAltitude);
  EXPECT_NE(canvas.Point(27, 60), kAltitude);
  // Lift 1 at 60 px per unit: row 30; airspeed 8 m/s: row 42.
  EXPECT_EQ(canvas.Point(100, 30), kSeriesColours[2]);
  EXPECT_EQ(canvas.Point(100, 42), kSeriesColours[1]);
  // Centre of gravity 30 %: row 190; of pressure 35 %: row 170.
  EXPECT_EQ(canvas.Point(100, 190), kSeriesColours[4]);
  EXPECT_EQ(canvas.Point(100, 170), kSeriesColours[3]);
  // An unticked bottom series is not drawn; the tick marks are black.
  EXPECT_NE(canvas.Point(100, 310), kPitch);
  EXPECT_EQ(canvas.Point(25 + 80, 250), vbBlack);
}

// Each series draws its own column: in a record whose columns all differ,
// no other column would put a series on its row. Light scales: 6 px per
// metre and per m/s, 60 per unit of lift, 4 per % of chord about 25 % and
// 4 per unit in the bottom band. The pilot's offset from the 30 % centre
// of gravity: 100 x (0.05 x 1 m chord x 100 kg - 1 kg m) / 50 kg = 8 cm.
TEST_F(ChartPixels, EachSeriesDrawsItsOwnColumn) {
  for (int i = 0; i < 400; ++i) {
    flight::FlightSample& x = record->Row(i);
    x = {.Time = x.Time, .DistanceFlown = x.DistanceFlown, .Height = 5, .Airspeed = 8, .RecordedWindSpeed = 3,
         .Pitch = 6, .PitchRateDeg = -5, .WingAngleOfAttack = 12.5, .SideslipAngle = 2, .PathAngleDeg = -2.5,
         .LoadFactor = 1.25, .LiftCoefficient = 0.75, .TailplaneLift = -15, .TailplaneAngle = -10,
         .TailplaneControl = 15, .FinAngle = 7, .AileronDeg = -3, .FlapSetting = 4, .LeadingEdgeFlapAngle = 1,
         .NozzleOpening = 9, .NozzleAngle = -7, .AfterburnerOpening = 11, .AirframeTemperature = 290,
         .CentreOfGravityPct = 30, .PressureCentre = 40, .HeadingDeg = 20, .Bank = -20, .Track = 33,
         .InnerWingDeflection = 0.5, .OuterWingDeflection = 1.5, .WingTipDeflection = 2.5, .East = -8, .North = 60,
         .WindNoiseVolume = 0.25, .TipAEast = 101, .TipANorth = 102, .TipAHeight = 103, .TipBEast = 104,
         .TipBNorth = 105, .TipBHeight = 106};
  }
  for (int k = 1; k <= 7; ++k) in.SeriesFlags[k] = 1;
  in.Pilot = {.WingArea = 20, .WingSpan = 20, .Mass = 100, .StructureMoment = 1, .PilotWeight = 50};
  DrawChartByTime(canvas, timeTile, in, false);
  const struct {
    Series series;
    int row;
  } cases[] = {{Series::Altitude, 60},        {Series::Airspeed, 42},      {Series::LiftCoefficient, 45},
               {Series::PressureCentre, 150}, {Series::CentreOfGravity, 190}, {Series::Pitch, 306},
               {Series::PitchRate, 350},      {Series::AngleOfAttack, 280}, {Series::Elevator, 370},
               {Series::ElevatorInput, 270},  {Series::TailLift, 390},      {Series::PilotCg, 298}};
  // Sample 90 at x = 25 + 16 x 4.5 = 97, clear of the markers at 89 and 105.
  for (const auto& c : cases)
    EXPECT_EQ(canvas.Point(97, c.row), kSeriesColours[static_cast<int>(c.series)]) << static_cast<int>(c.series);
}

TEST_F(ChartPixels, TickingABottomSeriesRedrawsOnlyTheBottomBand) {
  DrawChartByTime(canvas, timeTile, in, false);
  in.SeriesFlags[1] = 1;
  in.Record = nullptr;  // nothing at all: the top band must be left alone
  DrawChartByTime(canvas, timeTile, in, true);
  EXPECT_EQ(canvas.Point(100, 60), kAltitude);
  in.Record = record.get();
  DrawChartByTime(canvas, timeTile, in, true);
  // Pitch 5 degrees at 4 px per degree: row 310.
  EXPECT_EQ(canvas.Point(100, 310), kPitch);
  // A powered aircraft draws it at 1 px per degree and leaves the tail lift out.
  in.Light = false;
  in.SeriesFlags[6] = 1;
  record->Row(200).TailplaneLift = 10;
  DrawChartByTime(canvas, timeTile, in, false);
  EXPECT_EQ(canvas.Point(100, 325), kPitch);
  EXPECT_NE(canvas.Point(25 + 160, 290), kSeriesColours[10]);
}

TEST_F(ChartPixels, DistanceChartBeginsAtColumn30AndStopsLinesAt985) {
  DrawChartByDistance(canvas, distanceTile, in);
  // 0.5 m per sample at 2.4 px per metre: sample 3 at x = 33.6 -> 34.
  EXPECT_EQ(canvas.Point(33, 60), kAltitude);
  EXPECT_NE(canvas.Point(20, 60), kAltitude);
  // A powered aircraft has no distance chart.
  Surface untouched(50, 50);
  in.Light = false;
  DrawChartByDistance(untouched, distanceTile, in);
  EXPECT_EQ(untouched.Point(30, 30), vbWhite);
}

TEST_F(ChartPixels, TheDistanceChartDrawsTheBottomBandOverTheTopOnes) {
  // An altitude below the water falls into the bottom band (row 330), where
  // the pitch rate's last segment climbs through the altitude's last marker.
  for (int i = 0; i < 400; ++i) record->Row(i).Height = -40;
  record->Row(398).PitchRateDeg = -1;
  in.SeriesFlags[2] = 1;
  DrawChartByDistance(canvas, distanceTile, in);
  const int x = CheckedRound<int>(DistanceX(record->Samples[399].DistanceFlown));
  EXPECT_EQ(canvas.Point(x - 1, 333), kSeriesColours[6]);  // the line over the ring
  EXPECT_EQ(canvas.Point(x + 1, 333), kAltitude);          // the ring where no line passes
}

TEST_F(ChartPixels, MarkersAndEmptyRecords) {
  // The filled black triangle of the pilot series: its tip row and base.
  Surface s(20, 20);
  DrawMarker(s, Series::PilotCg, 10, 10);
  EXPECT_EQ(s.Point(10, 7), vbBlack);
  EXPECT_EQ(s.Point(10, 11), vbBlack);
  EXPECT_EQ(s.Point(10, 15), vbWhite);
  // After a filled marker the fill is transparent again.
  EXPECT_EQ(s.FillStyle(), vbFSTransparent);
  // Far off the canvas, at the ends of the integer range and beyond: no
  // marker overflows onto it.
  Surface blank(20, 20);
  const double far[] = {1e300, -1e300, 2147483647.0, -2147483648.0, HUGE_VAL, -HUGE_VAL};
  for (int k = 0; k < kSeriesCount; ++k)
    for (double x : far)
      for (double y : {10.0, x}) {
        DrawMarker(blank, static_cast<Series>(k), x, y);
        DrawMarker(blank, static_cast<Series>(k), y, x);
      }
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(blank.Point(x, y), vbWhite) << x << "," << y;
  // No samples, or a count beyond the record: nothing breaks.
  in.SampleCount = 0;
  DrawChartByTime(canvas, timeTile, in, false);
  EXPECT_NE(canvas.Point(100, 60), kAltitude);
  in.SampleCount = 1e12;
  EXPECT_EQ(DrawableSamples(in), flight::kRecordCapacity);
}

}  // namespace
}  // namespace zarv::records
