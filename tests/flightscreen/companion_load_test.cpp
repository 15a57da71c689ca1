// The companion flight read from a flight log in the program folder: which
// file, which rows and columns land where, the outline block, and logs that
// are short, cut off, cancelled, oversized or not logs at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/flight_log_fixture.h"
#include "model/polygon_list.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "logbook/flight_log.h"
#include "logbook/log_text.h"
#include "memory_bounds.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen {
namespace {

using flight::CompanionData;
using flight::CompanionSample;
using testing::ColumnValue;
using testing::TestLog;

class CompanionLoadTest : public testing::CompanionFolderTest {
 protected:
  const CompanionSample& At(int32_t i) const { return companion_->Samples[static_cast<std::size_t>(i)]; }
};

TEST_F(CompanionLoadTest, LightLogUsesRowsFrom40AndHoldsItsLastPosition) {
  TestLog log;
  ASSERT_TRUE(log.WriteTo(Path("1Test.csv")));
  const CompanionLoadResult r = Load();
  ASSERT_TRUE(r.FileTaken);
  EXPECT_EQ(r.FileName, "1Test.csv");
  EXPECT_FALSE(r.Powered);
  EXPECT_EQ(companion_->CompanionSampleCount, 1000);
  EXPECT_EQ(record_->LogRowCount, 1000);
  EXPECT_EQ(taskStart_, 0);

  // Row 40 is the first sample (the writer round trip checks every column).
  for (int k : {0, 1, 500, 958}) {
    EXPECT_EQ(At(k).CompanionEast, ColumnValue(25, k + 40)) << k;
    EXPECT_EQ(At(k).CompanionRudder, CInt(ColumnValue(16, k + 40))) << k;
    EXPECT_EQ(At(k).CompanionAileron, 0);  // not in a light log
  }
  // From the usable count on, position and attitude hold at the entry
  // before it; the surfaces are not held.
  const CompanionSample& last = At(959);
  for (int k : {960, 30000, CompanionData::kSampleCapacity - 1}) {
    EXPECT_EQ(At(k).CompanionEast, last.CompanionEast) << k;
    EXPECT_EQ(At(k).CompanionNorth, last.CompanionNorth);
    EXPECT_EQ(At(k).CompanionAltitude, last.CompanionAltitude);
    EXPECT_EQ(At(k).CompanionHeading, last.CompanionHeading);
    EXPECT_EQ(At(k).CompanionBank, last.CompanionBank);
    EXPECT_EQ(At(k).CompanionPitch, last.CompanionPitch);
    EXPECT_EQ(At(k).CompanionElevator, last.CompanionElevator);
  }
  EXPECT_EQ(last.CompanionEast, ColumnValue(25, 999));
  EXPECT_EQ(At(960).CompanionRudder, CInt(ColumnValue(16, 1000)));  // row 1000, not held over
  EXPECT_EQ(At(961).CompanionRudder, 0);
}

TEST_F(CompanionLoadTest, PoweredLogUsesRowsFrom1WithShiftedPositionAndEngineColumns) {
  TestLog log;
  log.Powered = true;
  ASSERT_TRUE(log.WriteTo(Path("2Jet.csv")));
  const CompanionLoadResult r = Load();
  ASSERT_TRUE(r.Powered);
  EXPECT_EQ(companion_->CompanionSampleCount, 1000);
  for (int k : {0, 700, 997}) {
    EXPECT_EQ(At(k).CompanionEast, ColumnValue(32, k + 1) - 20) << k;
    EXPECT_EQ(At(k).CompanionNorth, ColumnValue(33, k + 1) + 22) << k;
    EXPECT_EQ(At(k).CompanionAfterburner, CInt(ColumnValue(22, k + 1))) << k;
  }
  // c = 999: index 999 onward holds entry 998 (row 999).
  EXPECT_EQ(At(999).CompanionEast, ColumnValue(32, 999) - 20);
  EXPECT_EQ(At(60003).CompanionNorth, ColumnValue(33, 999) + 22);
}

// The log's own layout decides, not the class of the aircraft flown now.
TEST_F(CompanionLoadTest, LayoutFollowsTheLogWhateverAircraftIsFlown) {
  for (const bool poweredLog : {false, true}) {
    for (const double flownLaunchSpeed : {8.0, 150.0}) {
      std::filesystem::remove_all(folder_);
      std::filesystem::create_directories(folder_);
      aircraft::Aircraft().LaunchSpeed = flownLaunchSpeed;
      TestLog log;
      log.Powered = poweredLog;
      ASSERT_TRUE(log.WriteTo(Path("3Log.csv")));
      SetProgramFolder(folder_);
      const CompanionLoadResult r = LoadCompanionFlight(progress_);
      EXPECT_EQ(r.Powered, poweredLog);
      const CompanionSample& s = flight::Companion().Sample(100);
      const int row = poweredLog ? 101 : 140;
      EXPECT_EQ(s.CompanionEast, poweredLog ? ColumnValue(32, row) - 20 : ColumnValue(25, row));
      EXPECT_EQ(s.CompanionHeading, ColumnValue(poweredLog ? 26 : 19, row));
      EXPECT_EQ(s.CompanionTipDeflection, ColumnValue(poweredLog ? 31 : 24, row));
    }
  }
}

TEST_F(CompanionLoadTest, OutlineBlockAndPartReferencesComeFromTheLog) {
  TestLog log;
  ASSERT_TRUE(log.WriteTo(Path("4Out.csv")));
  Load();
  const model::CompanionOutline want = model::CompanionOutlineFrom(log.Outline);
  const model::CompanionOutline& got = companion_->Outline;
  // A grid of every part, not only the wing the writer round trip looks at.
  const auto same = [](const auto& a, const auto& b) {
    for (std::size_t i = 0; i < a.Cells.size(); ++i) ASSERT_NEAR(a.Cells[i], b.Cells[i], 1e-9) << i;
  };
  same(got.FrontFuselageZ, want.FrontFuselageZ);
  same(got.RearFuselageY, want.RearFuselageY);
  same(got.TailZ, want.TailZ);
  same(got.NacelleX, want.NacelleX);
  EXPECT_NEAR(got.Pivots.TailplaneHingeY, -4.25, 1e-9);
  EXPECT_NEAR(got.Pivots.TailplaneHingeZ, 0.375, 1e-9);
  EXPECT_NEAR(got.Pivots.FinHingeX, 0.5, 1e-9);

  // The polygon model's part references are the companion's pivots.
  const model::PartReference want_ref = model::PartReferenceFromPivots(log.Outline.PartPivots);
  EXPECT_NEAR(reference_.FrontFuselage[1].Y, want_ref.FrontFuselage[1].Y, 1e-9);
  EXPECT_NEAR(reference_.Wing[2].X, want_ref.Wing[2].X, 1e-9);
  EXPECT_NEAR(reference_.Tailplane.Z, want_ref.Tailplane.Z, 1e-9);
  EXPECT_NEAR(reference_.Fins[2].Z, want_ref.Fins[2].Z, 1e-9);
  EXPECT_NEAR(reference_.Nacelle[1].X, want_ref.Nacelle[1].X, 1e-9);
  EXPECT_NEAR(reference_.RearFuselage[2].Y, want_ref.RearFuselage[2].Y, 1e-9);
}

TEST_F(CompanionLoadTest, TakesOnlyTheFirstCsvAndOnlyWithANameOfSixCharacters) {
  ASSERT_TRUE(TestLog{}.WriteTo(Path("a.csv")));  // five characters: ignored
  EXPECT_FALSE(Load().FileTaken);
  EXPECT_EQ(companion_->CompanionSampleCount, 0);

  std::filesystem::remove(Path("a.csv"));
  TestLog other;
  other.LastRow = 500;
  ASSERT_TRUE(TestLog{}.WriteTo(Path("1First.csv")));
  ASSERT_TRUE(other.WriteTo(Path("2Second.csv")));
  const CompanionLoadResult r = Load();
  EXPECT_EQ(r.FileName, "1First.csv");
  EXPECT_EQ(companion_->CompanionSampleCount, 1000);

  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  EXPECT_FALSE(Load().FileTaken);  // no log at all
}

TEST_F(CompanionLoadTest, ProgressTitleTextAndCancel) {
  std::vector<std::string> texts;
  std::string title;
  int yields = 0, closes = 0;
  progress_.SetTitle = [&](const std::string& t) { title = t; };
  progress_.SetText = [&](const std::string& t) { texts.push_back(t); };
  progress_.Yield = [&] { ++yields; clock_.Advance(2); };
  progress_.Close = [&] { ++closes; };
  ASSERT_TRUE(TestLog{}.WriteTo(Path("1Prog.csv")));
  Load();
  EXPECT_EQ(title, "随伴ﾓｰﾄﾞに必要なﾌｧｲﾙを読み込んでいます。");
  EXPECT_EQ(yields, 1001);
  EXPECT_EQ(closes, 1);
  ASSERT_EQ(texts.size(), 20u);  // every 50 rows
  EXPECT_EQ(texts[0], "5％完了しました");  // Int(5 + 0.999); 0.1 s elapsed
  // After 0.5 s: 500 rows in 1 s, 500 to go.
  EXPECT_EQ(texts[9], "50％完了しました\r\nあと1秒かかります");

  EXPECT_EQ(CompanionProgressText(3, 7, 0.2), "43％完了しました");
  EXPECT_EQ(CompanionProgressText(100, 1000, 4.0), "10％完了しました\r\nあと36秒かかります");

  // The dialog's cancel zeroes the row bound: no companion, no outline.
  texts.clear();
  closes = 0;
  progress_.Yield = [&] {
    if (++yields == 100) record_->LogRowCount = 0;
  };
  yields = 0;
  Load();
  EXPECT_EQ(yields, 100);
  EXPECT_EQ(companion_->CompanionSampleCount, 0);
  EXPECT_EQ(companion_->Outline.WingX(3, 0), 0);
  EXPECT_EQ(closes, 1);
}

// A short log: no usable sample gives no companion, rather than one drawn
// and shot at from entries never read.
TEST_F(CompanionLoadTest, ShortLogsGiveNoCompanion) {
  for (const auto& [lastRow, powered] : std::vector<std::pair<int, bool>>{
           {3, false}, {3, true}, {15, true}, {20, true}, {30, false}, {40, false}}) {
    TestLog log;
    log.LastRow = lastRow;
    log.Powered = powered;
    ASSERT_TRUE(log.WriteTo(Path("1Short.csv")));
    Load();
    EXPECT_EQ(companion_->CompanionSampleCount, 0) << lastRow << (powered ? " powered" : " light");
    EXPECT_EQ(companion_->Outline.WingX(3, 0), 0);
  }
  TestLog log;
  log.LastRow = 41;  // one light sample: row 40
  ASSERT_TRUE(log.WriteTo(Path("1Short.csv")));
  Load();
  EXPECT_EQ(companion_->CompanionSampleCount, 41);
  EXPECT_EQ(At(0).CompanionEast, ColumnValue(25, 40));
  EXPECT_EQ(At(60003).CompanionEast, ColumnValue(25, 40));
}

TEST_F(CompanionLoadTest, EmptyAndNonLogFilesLoadQuietly) {
  std::ofstream(Path("1Empty.csv")).close();
  EXPECT_TRUE(Load().FileTaken);
  EXPECT_EQ(companion_->CompanionSampleCount, 0);

  // Lines of plain text parse as zeros; without commas they are no rows.
  std::ofstream(Path("1Empty.csv")) << "hello\r\n 200\r\nnames\r\nunits\r\nsome text\r\n";
  Load();
  EXPECT_EQ(companion_->CompanionSampleCount, 0);

  // Comma-separated text that is no log: read as a light log, values 0.
  std::string text = "title\r\n 100\r\na,b\r\nc,d\r\n";
  for (int i = 0; i <= 100; ++i) text += "x,y,z,w,\r\n";
  text += "end\r\n";
  std::ofstream(Path("1Empty.csv"), std::ios::binary) << text;
  Load();
  EXPECT_EQ(companion_->CompanionSampleCount, 100);
  EXPECT_EQ(At(10).CompanionEast, 0);
  EXPECT_EQ(At(60003).CompanionAltitude, 0);

  // A file far larger than the longest flight's log is not read.
  TestLog log;
  ASSERT_TRUE(log.WriteTo(Path("1Empty.csv")));
  std::filesystem::resize_file(Path("1Empty.csv"), records::kMaxLogFileBytes + 1);
  EXPECT_TRUE(Load().FileTaken);
  EXPECT_EQ(companion_->CompanionSampleCount, 0);
}

// 64 MiB of CR bytes as the companion file: no companion, at once, and
// without holding the file's 64 million lines.
TEST_F(CompanionLoadTest, AFileOfLineEndsLoadsNoCompanionQuickly) {
  zarv::testing::WriteRepeatedByte(Path("1Ends.csv"), '\r', 64);
  zarv::testing::ExpectResidentGrowthBelow(16 * 1024, folder_, [this] { Load(); });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Load().FileTaken);
  EXPECT_EQ(companion_->CompanionSampleCount, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

// A log cut off in a row: the cut row is dropped, what came before is kept,
// and the companion holds at the last whole row.
TEST_F(CompanionLoadTest, LogCutOffInARowKeepsTheWholeRows) {
  TestLog log;
  log.Trailer = false;
  log.OutlineBlock = false;
  std::vector<std::string> lines = log.Lines();
  lines.resize(4 + 500);                       // rows 0..499
  lines.push_back(log.Row(500).substr(0, 40));  // half of row 500
  std::string bytes;
  for (const std::string& l : lines) bytes += l + "\r\n";
  bytes.resize(bytes.size() - 2);  // no line end after the cut
  std::ofstream(Path("1Cut.csv"), std::ios::binary) << bytes;
  Load();
  EXPECT_EQ(record_->LogRowCount, 499);
  EXPECT_EQ(companion_->CompanionSampleCount, 499);
  EXPECT_EQ(At(0).CompanionEast, ColumnValue(25, 40));
  EXPECT_EQ(At(458).CompanionEast, ColumnValue(25, 498));
  EXPECT_EQ(At(459).CompanionEast, ColumnValue(25, 498));  // held
  EXPECT_EQ(At(60003).CompanionNorth, ColumnValue(26, 498));
  EXPECT_EQ(companion_->Outline.WingX(3, 0), 0);  // no block in the file
}

// A writer cancelled after 300 rows still wrote its trailer and outline:
// the rows end there and the outline is read.
TEST_F(CompanionLoadTest, CancelledWriterLogStopsAtItsTrailer) {
  TestLog log;
  log.Powered = true;
  log.RowsWritten = 301;  // rows 0..300 of 1000 promised
  ASSERT_TRUE(log.WriteTo(Path("1Cancel.csv")));
  Load();
  EXPECT_EQ(companion_->CompanionSampleCount, 300);
  EXPECT_EQ(At(298).CompanionNorth, ColumnValue(33, 299) + 22);
  EXPECT_EQ(At(5000).CompanionNorth, ColumnValue(33, 299) + 22);
  EXPECT_EQ(At(5000).CompanionAltitude, ColumnValue(3, 299));
  EXPECT_NEAR(companion_->Outline.WingX(3, 0), log.Outline.WingX(3, 0), 1e-9);
  EXPECT_NEAR(companion_->Outline.Pivots.FinHingeY, -4.625, 1e-9);
}

TEST_F(CompanionLoadTest, HugeNumbersAndLongRowsStayInBounds) {
  // A count line far beyond the record: the rows end with the file.
  TestLog log;
  log.LastRow = 200;
  std::vector<std::string> lines = log.Lines();
  lines[1] = " 1E+300,'=データ行数";
  // Huge values in a row, and a row far longer than 400 characters.
  lines[4 + 60] = std::string("0.00,1E+300,-1E+999,") + std::string(500, '7') + ",";
  lines[4 + 61] = "0.00," + std::string(450, '1') + "," + log.Row(61).substr(5);
  // Coordinates no airframe has: read as ones the drawing can take.
  const size_t title = static_cast<size_t>(std::find(lines.begin(), lines.end(), "機体各部の座標") - lines.begin());
  ASSERT_LT(title + 1, lines.size());
  lines[title + 1] = "前部胴体00,1E+400,-1E+999,nan,";
  lines[lines.size() - 1] = "垂直尾翼回転軸XY座標,1E+400,-1E+400";
  ASSERT_TRUE(WriteTextLines(Path("1Huge.csv"), lines));
  Load();
  EXPECT_EQ(companion_->Outline.FrontFuselageX(0, 0), records::kLogValueLimit);
  EXPECT_EQ(companion_->Outline.FrontFuselageY(0, 0), -records::kLogValueLimit);
  EXPECT_EQ(companion_->Outline.FrontFuselageZ(0, 0), 0);
  EXPECT_EQ(companion_->Outline.Pivots.FinHingeX, records::kLogValueLimit);
  EXPECT_EQ(companion_->Outline.Pivots.FinHingeY, -records::kLogValueLimit);
  EXPECT_EQ(record_->LogRowCount, 200);
  EXPECT_EQ(companion_->CompanionSampleCount, 200);
  EXPECT_EQ(At(20).CompanionAltitude, -records::kLogValueLimit);  // row 60, column 3
  EXPECT_EQ(At(20).CompanionEast, 0);             // past the first 400 characters
  EXPECT_EQ(At(21).CompanionAltitude, 0);         // row 61: its fields lie past 400 characters
  EXPECT_EQ(At(21).CompanionEast, 0);
  EXPECT_EQ(At(22).CompanionEast, ColumnValue(25, 62));
  EXPECT_NEAR(companion_->Outline.NacelleZ(12, 11), log.Outline.NacelleZ(12, 11), 1e-9);

  // More rows than the record holds: reading stops at its capacity.
  TestLog big;
  big.Powered = true;
  big.LastRow = 60100;
  big.Trailer = false;
  big.OutlineBlock = false;
  ASSERT_TRUE(big.WriteTo(Path("1Huge.csv")));
  Load();
  EXPECT_EQ(record_->LogRowCount, CompanionData::kSampleCapacity);
  EXPECT_EQ(At(60002).CompanionAltitude, ColumnValue(3, 60003));
  EXPECT_EQ(At(60003).CompanionAltitude, ColumnValue(3, 60003));  // held from 60002
}

// Nothing of an earlier load survives a later, shorter one.
TEST_F(CompanionLoadTest, LaterLoadKeepsNothingOfAnEarlierOne) {
  TestLog longer;
  longer.Powered = true;
  longer.LastRow = 2000;
  ASSERT_TRUE(longer.WriteTo(Path("1Log.csv")));
  Load();
  ASSERT_EQ(At(1500).CompanionRudder, CInt(ColumnValue(16, 1501)));

  TestLog shorter;
  shorter.LastRow = 100;
  shorter.OutlineBlock = false;
  ASSERT_TRUE(shorter.WriteTo(Path("1Log.csv")));
  Load();
  EXPECT_EQ(At(1500).CompanionRudder, 0);
  EXPECT_EQ(At(1500).CompanionEast, ColumnValue(25, 99));
  EXPECT_EQ(At(30).CompanionAileron, 0);
  EXPECT_EQ(companion_->Outline.WingX(3, 0), 0);
}

TEST(SplitLogLine, CommasSeparateWithinTheCharacterLimit) {
  const std::vector<std::string> f = SplitLogLine("前部胴体03,0.120,-1.500,0.850,", 5, 71);
  EXPECT_EQ(f[0], "前部胴体03");
  EXPECT_EQ(f[1], "0.120");
  EXPECT_EQ(f[2], "-1.500");
  EXPECT_EQ(f[3], "0.850");
  EXPECT_EQ(f[4], "");
  // The field after the last separator keeps one character.
  const std::vector<std::string> g = SplitLogLine("a,b,c,d,eeee,f", 5, 71);
  EXPECT_EQ(g[4], "e");
  // Characters, not bytes, count toward the limit.
  const std::vector<std::string> h = SplitLogLine("ああああ,1", 3, 6);
  EXPECT_EQ(h[0], "ああああ");
  EXPECT_EQ(h[1], "1");
  const std::vector<std::string> k = SplitLogLine("ああああ,12", 3, 6);
  EXPECT_EQ(k[1], "1");
}

}  // namespace
}  // namespace zarv::flightscreen
