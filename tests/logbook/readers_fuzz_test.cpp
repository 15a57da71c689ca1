// Seeded fuzzing of the flight-log and ranking readers: damaged files must
// read into sane values, never crash, and never show what was there before.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "fuzz_damage.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "logbook/flight_log.h"
#include "logbook/log_text.h"
#include "logbook/ranking.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {

using zarv::testing::Damage;

constexpr int kLogRounds = 2000;
constexpr int kRankingRounds = 2000;

bool Sane(double v) { return std::isfinite(v) && std::fabs(v) <= kLogValueLimit; }

TEST(ReadersFuzz, DamagedLogsReadIntoSaneRecords) {
  // Good logs of both layouts, with the engine trailer and without.
  std::string logs[2];
  for (int powered = 0; powered < 2; ++powered) {
    auto r = testing::SteadyRecord(60);
    LogWriteInputs in;
    in.FlightSummary = "29.50m by Fuzz";
    in.LaunchSpeed = powered ? 60 : 7;
    in.EngineCount = powered;
    logs[powered] = ComposeFlightLog(in, *r, model::AirframeOutline{});
  }
  Damage damage(25);
  auto r = std::make_unique<flight::FlightRecord>();
  for (int round = 0; round < kLogRounds; ++round) {
    const int layout = round % 2;
    // The record holds the previous log's rows: nothing of them may count.
    const std::string text = damage(logs[layout]);
    const LogReadResult res = ReadFlightLogText(text, {layout ? 60.0 : 7.0, layout}, *r, {});
    SCOPED_TRACE(round);
    if (!res.Opened) {
      // Refused only when line 2 holds no count; the record stays as it was.
      size_t at = 0;
      NextTextLine(text, at);
      ASSERT_EQ(ValLength(NextTextLine(text, at)), 0u);
      continue;
    }
    ASSERT_EQ(r->RecordSampleCount, r->LogRowCount);
    ASSERT_GE(r->LogRowCount, 0);
    ASSERT_LE(r->LogRowCount, std::max(res.RowsRead - 1, 0));
    for (int32_t i = 0; i < res.RowsRead; ++i) {
      const flight::FlightSample& x = r->Samples[static_cast<size_t>(i)];
      for (double v : {double(x.Time), x.DistanceFlown, x.Height, x.Airspeed, x.Pitch, x.Bank, x.HeadingDeg,
                       x.East, x.North, x.WindNoiseVolume, x.TipAEast, x.TipBHeight})
        ASSERT_TRUE(Sane(v)) << "row " << i << ": " << v;
    }
  }
}

TEST(ReadersFuzz, DamagedRankingFilesKeepTwentyPlaces) {
  ScratchFolder dir;
  const std::string path = dir / "record.dat";
  std::string good;
  for (int k = 1; k <= 20; ++k) good += k % 7 == 0 ? "\r\n" : std::to_string(900 - k) + ".50m by Marden  太郎\r\n";
  good = Utf8ToCp932(good);
  Damage damage(2025);
  for (int round = 0; round < kRankingRounds; ++round) {
    SCOPED_TRACE(round);
    testing::WriteBytes(path, damage(good));
    RankingState r;
    ReadRankingFile(path, r);
    ASSERT_EQ(r.File, RankingState::FileState::Read);
    for (int k = 1; k <= kRankingPlaces; ++k)
      ASSERT_EQ(r.RecordLines[static_cast<size_t>(k)].find_first_of("\r\n"), std::string::npos);
    // Written back, the file reads as the same twenty places.
    if (round % 20 != 0) continue;
    ASSERT_TRUE(WriteRankingFile(path, r));
    RankingState back;
    ReadRankingFile(path, back);
    ASSERT_EQ(ReadTextLines(path).size(), static_cast<size_t>(kRankingPlaces));
    for (int k = 1; k <= kRankingPlaces; ++k)
      ASSERT_EQ(RankingValue(back.RecordLines[static_cast<size_t>(k)]),
                RankingValue(r.RecordLines[static_cast<size_t>(k)]));
  }
}

}  // namespace
}  // namespace zarv::records
