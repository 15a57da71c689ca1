// The flight-data charts read back from the drawn canvas: where the markers
// fall and how many, the rows of the tick labels, the extra lines of a
// strong engine, where the distance chart stops joining samples, and the
// powered aircraft's scales.
#include <gtest/gtest.h>

#include <set>

#include "records/chart_fixture.h"

namespace zarv::records {
namespace {

class ChartsAsDrawn : public testing::SteadyChartTest {
 protected:
  // Centres of the altitude's circles: the three pixels of a ring's top,
  // 3 rows above the constant curve on row 60.
  std::set<int> AltitudeMarkers(const Surface& c) const {
    std::set<int> centres;
    for (int x = 1; x + 1 < c.Width(); ++x)
      if (c.Point(x - 1, 57) == kAltitude && c.Point(x, 57) == kAltitude && c.Point(x + 1, 57) == kAltitude)
        centres.insert(x);
    return centres;
  }
  static constexpr Color kAltitude = kSeriesColours[0];
};

TEST_F(ChartsAsDrawn, MarkersEveryTwentiethSampleAndAtTheLast) {
  Surface canvas(kMinCanvasWidth, kChartHeight);
  DrawChartByTime(canvas, timeTile, in, false);
  // Sample i at x = 25 + 0.8 i: 20, 40 ... 380, then 399 at 344.2; none for
  // sample 0, which is not drawn.
  std::set<int> expected;
  for (int x = 41; x <= 329; x += 16) expected.insert(x);
  expected.insert(344);
  EXPECT_EQ(AltitudeMarkers(canvas), expected);

  // Against distance, 1.25 m a sample at 2.4 px a metre: x = 30 + 3 i. The
  // markers go on past x = 985, the lines stop there, and the first line
  // joins samples 1 and 2.
  for (int i = 0; i < 400; ++i) record->Row(i).DistanceFlown = 1.25 * i;
  Surface wide(1300, kChartHeight);
  DrawChartByDistance(wide, distanceTile, in);
  expected.clear();
  for (int x = 30; x <= 1170; x += 60) expected.insert(x);
  expected.insert(1227);
  EXPECT_EQ(AltitudeMarkers(wide), expected);
  for (int x : {34, 35, 500, 983, 984}) EXPECT_EQ(wide.Point(x, 60), kAltitude) << x;  // joined
  for (int x : {31, 32, 985, 986, 1000, 1100, 1200}) EXPECT_NE(wide.Point(x, 60), kAltitude) << x;
}

TEST_F(ChartsAsDrawn, TickLabelsOnRows93And213AndNowhereElseInTheGaps) {
  struct Case {
    bool distance;
    int width;
    int step, labels;
  };
  // The time chart labels every 80 px while i < W - 25, the distance chart
  // every 120 px while i < W - 26: 986 px wide, its label for 400 m at
  // i = 960 stays off.
  for (const Case& k : {Case{false, 985, 80, 12}, Case{true, 986, 120, 8}}) {
    SCOPED_TRACE(k.distance ? "distance" : "time");
    Surface c(k.width, kChartHeight);
    if (k.distance) {
      DrawChartByDistance(c, distanceTile, in);
    } else {
      DrawChartByTime(c, timeTile, in, false);
    }
    // Each label is its text printed with its top-left corner at (i + 20,
    // row), pixel for pixel; the white gaps between the bands (rows 91-109
    // and 211-229) hold nothing else.
    constexpr int kBoxW = 60, kBoxH = 20;
    for (int row : {93, 213})
      for (int n = 0; n < k.labels; ++n) {
        const int i = n * k.step;
        Surface alone(kBoxW, kBoxH);
        alone.Print(k.distance ? DistanceTickLabel(i) : TimeTickLabel(i));
        int inked = 0;
        for (int y = 0; y < 17; ++y)  // to the gap's end
          for (int x = 0; x < kBoxW; ++x) {
            const bool expected = alone.Point(x, y) != vbWhite;
            inked += expected;
            ASSERT_EQ(c.Point(i + 20 + x, row + y) != vbWhite, expected) << i << " on row " << row;
          }
        ASSERT_GT(inked, 10);
      }
    for (int gapTop : {91, 211})
      for (int y = gapTop; y < gapTop + 19; ++y)
        for (int x = 12; x < k.width; ++x) {  // right of the axis column
          const int n = (x - 20) / k.step;
          const bool inLabel = x >= 20 && n < k.labels && x - 20 - n * k.step < kBoxW && y >= gapTop + 2;
          if (!inLabel) {
            ASSERT_EQ(c.Point(x, y), vbWhite) << x << "," << y;
          }
        }
  }
}

TEST_F(ChartsAsDrawn, NineBottomLinesForAStrongEngineOnly) {
  Surface canvas(kMinCanvasWidth, kChartHeight);
  for (double rating : {8999.0, 9000.0}) {
    in.EngineRating = rating;
    in.Light = false;
    DrawChartByTime(canvas, timeTile, in, false);
    // Rows 270, 310, 350 and 390 lie between the grid's own lines; columns
    // clear of the time ticks at 25 + 80 k.
    for (int y : {270, 310, 350, 390})
      for (int x : {10, 101, 500, 984})
        EXPECT_EQ(canvas.Point(x, y) == vbBlack, rating >= 9000) << rating << ": " << x << "," << y;
    if (rating >= 9000) {
      for (int y = 250; y <= 410; y += 20) EXPECT_EQ(canvas.Point(984, y), vbBlack) << y;  // across
    }
    for (int y = 240; y <= 420; y += 20) EXPECT_NE(canvas.Point(101, y), vbBlack) << y;
    EXPECT_NE(canvas.Point(8, 270), vbBlack);  // from the axis at column 9
  }
}

TEST_F(ChartsAsDrawn, PoweredScalesOfTheTopBand) {
  // 400 m/s at 0.6 px per 10 knots (1.95 kt per m/s): 90 - 46.8, row 43;
  // 10,000 ft: row 30; lift 0.5: row 60.
  for (int i = 0; i < 400; ++i) {
    record->Row(i).Airspeed = 400;
    record->Row(i).Height = 3048;
    record->Row(i).LiftCoefficient = 0.5;
  }
  in.Light = false;
  Surface canvas(kMinCanvasWidth, kChartHeight);
  DrawChartByTime(canvas, timeTile, in, false);
  EXPECT_EQ(canvas.Point(193, 43), kSeriesColours[1]);
  EXPECT_EQ(canvas.Point(193, 30), kAltitude);
  EXPECT_EQ(canvas.Point(193, 60), kSeriesColours[2]);
  EXPECT_NE(canvas.Point(193, 42), kSeriesColours[1]);
  EXPECT_NE(canvas.Point(193, 44), kSeriesColours[1]);
}

}  // namespace
}  // namespace zarv::records
