// A companion read from a log that the program's own log writer wrote (not a
// hand-made one): every column the loader takes must be the column the
// writer put that value in, in both layouts, and the outline block must
// carry the flying aircraft's shape over.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/flight_log_fixture.h"
#include "logbook/flight_log.h"
#include "model/polygon_list.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"

namespace zarv::flightscreen {
namespace {

// Each field of row i its own value, in steps of 1/8 (exact in the log).
void FillRow(flight::FlightSample& x, int i) {
  const double v = i / 8.0;
  x.Time = static_cast<float>(i / 20.0);
  x.DistanceFlown = 1 + v;
  x.Height = 2 + v;
  x.Airspeed = 3 + v;
  x.Pitch = 4 + v;
  x.TailplaneAngle = 5 + v;
  x.TailplaneControl = 6 + v;
  x.FinAngle = 7 + i % 5;
  x.AileronDeg = static_cast<int16_t>(8 + i % 7);
  x.FlapSetting = static_cast<int16_t>(9 + i % 3);
  x.NozzleOpening = static_cast<int16_t>(10 + i % 11);
  x.NozzleAngle = static_cast<int16_t>(11 + i % 4);
  x.AfterburnerOpening = static_cast<int16_t>(12 + i % 13);
  x.CentreOfGravityPct = 13 + v;
  x.PressureCentre = 14 + v;
  x.HeadingDeg = 15 + v;
  x.Bank = -16 - v / 64;
  x.Track = 17 + v;
  x.InnerWingDeflection = 18 + v;
  x.OuterWingDeflection = 19 + v;
  x.WingTipDeflection = 20 + v;
  x.East = 21 + v;
  x.North = 22 + v;
}

class CompanionFromWriter : public testing::CompanionFolderTest {
 protected:
  // Writes a flight of rows 0..lastRow as the post-flight processing does.
  void WriteFlight(int lastRow, bool powered) {
    auto flown = std::make_unique<flight::FlightRecord>();
    for (int i = 0; i <= lastRow; ++i) FillRow(flown->Row(i), i);
    flown->RecordCount = lastRow;
    records::LogWriteInputs w;
    w.FlightSummary = " 123.40m by Test  90Deg  wind 1.0m/s  12.3sec 01-02-2024   10:11:12";
    w.Altitude = -0.5;
    w.LaunchSpeed = powered ? 60 : 8;
    w.EngineCount = powered ? 1 : 0;
    ASSERT_TRUE(records::WriteFlightLog(folder_ + "/0Flown.csv", w, *flown, outline_));
  }

  const model::AirframeOutline outline_ = testing::TestOutline();
};

TEST_F(CompanionFromWriter, LightAndPoweredLogsFlyAsTheyWereFlown) {
  for (const bool powered : {false, true}) {
    SCOPED_TRACE(powered ? "powered" : "light");
    std::filesystem::remove(folder_ + "/0Flown.csv");
    WriteFlight(600, powered);
    const CompanionLoadResult r = Load();
    ASSERT_TRUE(r.FileTaken);
    EXPECT_EQ(r.Powered, powered);
    EXPECT_EQ(companion_->CompanionSampleCount, 600);
    const int first = powered ? 1 : kLightFirstRow;
    const double east = powered ? -20 : 0, north = powered ? 22 : 0;
    for (int k : {0, 1, 250, 600 - first - 2}) {
      const int i = k + first;
      flight::FlightSample x;
      FillRow(x, i);
      const flight::CompanionSample& c = companion_->Samples[static_cast<std::size_t>(k)];
      EXPECT_EQ(c.CompanionAltitude, x.Height) << k;
      EXPECT_EQ(c.CompanionEast, x.East + east) << k;
      EXPECT_EQ(c.CompanionNorth, x.North + north) << k;
      EXPECT_EQ(c.CompanionPitch, x.Pitch) << k;
      EXPECT_EQ(c.CompanionHeading, x.HeadingDeg) << k;
      EXPECT_EQ(c.CompanionBank, x.Bank) << k;
      EXPECT_EQ(c.CompanionElevator, x.TailplaneAngle) << k;
      EXPECT_EQ(c.CompanionRudder, CInt(x.FinAngle)) << k;
      EXPECT_EQ(c.CompanionInnerDeflection, x.InnerWingDeflection) << k;
      EXPECT_EQ(c.CompanionOuterDeflection, x.OuterWingDeflection) << k;
      EXPECT_EQ(c.CompanionTipDeflection, x.WingTipDeflection) << k;
      EXPECT_EQ(c.CompanionAileron, powered ? x.AileronDeg : 0) << k;
      EXPECT_EQ(c.CompanionFlap, powered ? x.FlapSetting : 0) << k;
      EXPECT_EQ(c.CompanionNozzle, powered ? x.NozzleOpening : 0) << k;
      EXPECT_EQ(c.CompanionAfterburner, powered ? x.AfterburnerOpening : 0) << k;
    }
    // The outline block behind the rows (and the powered log's engine
    // trailer before it) is read as the flying aircraft's shape.
    const model::CompanionOutline want = model::CompanionOutlineFrom(outline_);
    for (std::size_t i = 0; i < want.WingX.Cells.size(); ++i)
      ASSERT_NEAR(companion_->Outline.WingX.Cells[i], want.WingX.Cells[i], 1e-9) << i;
    for (int k = 0; k < model::PartPivotSet::kCount; ++k)
      EXPECT_NEAR(companion_->Outline.Pivots.Points[k].Z, want.Pivots.Points[k].Z, 1e-9) << k;
    EXPECT_NEAR(companion_->Outline.Pivots.FinHingeY, outline_.FinHingeY, 1e-9);
  }
}

// A log cut off inside its last row: the companion and the log reader of
// the charts and the replay both end at the whole row before it.
TEST_F(CompanionFromWriter, ALogCutInItsLastRowEndsAtTheSameRowInBothReaders) {
  const std::string path = folder_ + "/0Flown.csv";
  for (const bool powered : {false, true}) {
    SCOPED_TRACE(powered ? "powered" : "light");
    std::filesystem::remove(path);
    WriteFlight(600, powered);
    std::string bytes = ReadAllBytes(path);
    const size_t last = bytes.rfind("\r\n30.00,");
    ASSERT_NE(last, std::string::npos);
    bytes.resize(last + 2 + 60);
    ASSERT_TRUE(AtomicWriteBytes(path, bytes));
    ASSERT_TRUE(Load().FileTaken);
    auto charted = std::make_unique<flight::FlightRecord>();
    ASSERT_TRUE(records::ReadFlightLog(path, {powered ? 60.0 : 8.0, 0}, *charted, outline_).Opened);
    EXPECT_EQ(charted->LogRowCount, 599);
    EXPECT_EQ(companion_->CompanionSampleCount, 599);
    flight::FlightSample x;
    FillRow(x, 599);
    EXPECT_EQ(charted->Samples[599].Track, x.Track);
    EXPECT_EQ(companion_->Samples[static_cast<std::size_t>(599 - (powered ? 1 : kLightFirstRow))].CompanionTipDeflection,
              x.WingTipDeflection);
  }
}

}  // namespace
}  // namespace zarv::flightscreen
