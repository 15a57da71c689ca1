// A flight written by the log writer, read back by the reader and charted:
// the charts of the stored log are the charts of the flight, for both
// layouts. A column the writer and the reader place differently shows up
// here as a moved curve.
#include <gtest/gtest.h>

#include <cmath>

#include "flight/flight_record.h"
#include "logbook/flight_log.h"
#include "logbook/records_fixture.h"
#include "platform/ui/app.h"
#include "records/flight_data_charts.h"

namespace zarv::records {
namespace {

// A flight out over the water: every charted series varies, each on its
// own curve, in steps of 1/8 so the log's numbers read back exactly (the
// reader cuts heights and positions to 0.01 m: those in quarters).
std::unique_ptr<flight::FlightRecord> VariedFlight(int lastRow) {
  auto r = std::make_unique<flight::FlightRecord>();
  for (int i = 0; i <= lastRow; ++i) {
    flight::FlightSample& x = r->Row(i);
    const double q = std::round(8 * std::sin(i / 37.0)) / 8;
    x.Time = static_cast<float>(i / 20.0);
    x.DistanceFlown = i * 0.5;
    x.Height = 10 + std::round(4 * (q - i * 0.0125)) / 4;
    x.Airspeed = 8 + q;
    x.Pitch = 4 - q;
    x.PitchRateDeg = 2 * q;
    x.WingAngleOfAttack = 6 + q / 2;
    x.PathAngleDeg = -3 + q;
    x.LoadFactor = 1 + q / 4;
    x.LiftCoefficient = 1 + q / 8;
    x.TailplaneLift = 12 * q;
    x.TailplaneAngle = -q;
    x.TailplaneControl = 3 * q;
    x.FinAngle = q;
    x.CentreOfGravityPct = 30 + q;
    x.PressureCentre = 35 - q;
    x.HeadingDeg = 90 + q;
    x.Bank = 5 * q;
    x.East = i * 0.5;
    x.North = std::round(4 * q) / 4;
  }
  r->RecordCount = lastRow;
  return r;
}

void Draw(const flight::FlightRecord& r, double launchSpeed, Surface& time, Surface& distance) {
  Surface timeTile, distanceTile;
  DrawTimeTile(timeTile);
  DrawDistanceTile(distanceTile);
  ChartInputs in;
  in.Record = &r;
  in.SampleCount = r.RecordSampleCount;
  in.Light = launchSpeed <= 10;
  in.EngineRating = in.Light ? 0 : 1000;
  for (int k = 1; k <= 7; ++k) in.SeriesFlags[static_cast<size_t>(k)] = 1;
  time = Surface(TimeCanvasWidth(in.SampleCount, r.Samples[0].Time), kChartHeight);
  distance = Surface(DistanceCanvasWidth(r.Samples[static_cast<size_t>(in.SampleCount)].DistanceFlown), kChartHeight);
  DrawChartByTime(time, timeTile, in, false);
  DrawChartByDistance(distance, distanceTile, in);
}

int DifferentPixels(const Surface& a, const Surface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Point(x, y) != b.Point(x, y)) ++n;
  return n;
}

TEST(LogChartRoundTrip, TheStoredLogChartsAsTheFlightDid) {
  Application::Ensure();
  for (const double launchSpeed : {8.0, 60.0}) {
    SCOPED_TRACE(launchSpeed);
    zarv::ScratchFolder dir;
    const model::AirframeOutline outline;
    auto flown = VariedFlight(700);
    LogWriteInputs w;
    w.FlightSummary = " 350.00m by Test  90Deg  wind 1.0m/s  35.0sec 01-02-2024   10:11:12";
    w.Altitude = -0.5;
    w.LaunchSpeed = launchSpeed;
    w.EngineCount = launchSpeed > 10 ? 1 : 0;
    ASSERT_TRUE(WriteFlightLog(dir / "0Test.csv", w, *flown, outline));
    flown->RecordSampleCount = flown->RecordCount;

    auto stored = std::make_unique<flight::FlightRecord>();
    const LogReadResult read =
        ReadFlightLog(dir / "0Test.csv", LogReadInputs{launchSpeed, w.EngineCount}, *stored, outline);
    ASSERT_TRUE(read.Opened);
    EXPECT_EQ(read.FlightSummary, w.FlightSummary);
    EXPECT_EQ(stored->RecordSampleCount, flown->RecordSampleCount);

    Surface flownTime, flownDistance, storedTime, storedDistance;
    Draw(*flown, launchSpeed, flownTime, flownDistance);
    Draw(*stored, launchSpeed, storedTime, storedDistance);
    EXPECT_EQ(DifferentPixels(flownTime, storedTime), 0);
    EXPECT_EQ(DifferentPixels(flownDistance, storedDistance), 0);
    // Not an empty chart compared with an empty chart: the curves are there.
    Surface blank(flownTime.Width(), kChartHeight);
    Surface tile;
    DrawTimeTile(tile);
    ChartInputs none;
    none.Record = flown.get();
    none.SampleCount = 0;
    DrawChartByTime(blank, tile, none, false);
    EXPECT_GT(DifferentPixels(flownTime, blank), 1000);
  }
}

}  // namespace
}  // namespace zarv::records
