// A whole flight's end: a headless flight flown to the water, then the
// post-flight processing in a scratch program folder: result, log filed and
// readable, ranking place offered.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "aircraft/aircraft_file.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "logbook/post_flight.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {


const std::string kAircraftDir = std::string(ZARV_SOURCE_DIR) + "/tests/data/aircraft/";

std::unique_ptr<flight::HeadlessFlight> Flown(const std::string& file) {
  aircraft::AircraftData a;
  EXPECT_TRUE(aircraft::LoadAircraftData(kAircraftDir + file, a));
  auto f = std::make_unique<flight::HeadlessFlight>(a);
  EXPECT_TRUE(f->Accepted());
  EXPECT_EQ(f->Fly(0), "water");
  return f;
}

TEST(PostFlight, ResultTextsAndTimer) {
  const FlightResult r = ComposeFlightResult(201.368, "Super ZarvⅣ", 1.5708, 2.25, 23.35, 0.5,
                                             "07-04-2026   12:00:00");
  EXPECT_EQ(r.FlightSummary, "201.37m by Super ZarvⅣ  90Deg  wind2.3m/s  22.8sec 07-04-2026   12:00:00");
  EXPECT_EQ(r.RecordEntryText, "201.37m by Super ZarvⅣ 07-04-2026   12:00:00  ");
  EXPECT_EQ(ComposeFlightResult(-1, "A", -0.1, 0, 0.05, 0, "d").FlightSummary,
            "-1.00m by A -6Deg  wind.0m/s  .0sec d");
  EXPECT_EQ(PostFlightDelayMs(true, -0.5, 1), 720);
  EXPECT_EQ(PostFlightDelayMs(false, -0.5, 1), 100);
  EXPECT_EQ(PostFlightDelayMs(true, -2000, 1), 100);  // cancelled: no end sound
  EXPECT_EQ(PostFlightDelayMs(true, -0.5, 0), 100);
}

class PostFlightRun : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(MakeDir(Path("Temp")));
  }
  PostFlightOutcome Run(flight::HeadlessFlight& f, const std::string& suffix, RankingState& ranking,
                        PostFlightScreen screen = {}) {
    EndFlightRecordSteps(f.State, f.Record, f.Aircraft);
    PostFlightInputs in{f.State, f.Record, f.Aircraft, f.Outline, ranking, suffix,
                        ProgramPath("\\Temp\\before.csv"), ProgramPath("\\FlightData"), "07-04-2026   12:00:00"};
    return RunPostFlight(in, screen);
  }
};

TEST_F(PostFlightRun, AQualifyingGliderFlightIsFiledAndOfferedAPlace) {
  auto f = Flown("Super ZarvⅣ.brd");
  RankingState ranking;
  ranking.RecordLines[1] = "150.00m by Other";
  std::string prompt;
  int menus = 0;
  PostFlightScreen screen;
  screen.AskPilotName = [&](const std::string& p) { prompt = p; };
  screen.ShowWritingMenu = [&] { ++menus; };
  screen.ShowPostFlightMenu = [&] { ++menus; };
  const int32_t last = f->Record.RecordCount;  // the last sample recorded
  const PostFlightOutcome out = Run(*f, "Super ZarvⅣ.csv", ranking, screen);
  ASSERT_TRUE(out.Ran);
  EXPECT_EQ(menus, 2);
  EXPECT_TRUE(out.LogWritten);
  EXPECT_EQ(out.Filing.FiledName, "0Super ZarvⅣ.csv");
  EXPECT_FALSE(FileExists(ProgramPath("\\Temp\\before.csv")));
  EXPECT_EQ(f->Record.RecordCount, last + 1);
  EXPECT_EQ(out.Rank, 1);
  EXPECT_EQ(prompt, PilotNamePrompt(f->State.Body.Distance, 1));
  EXPECT_EQ(out.Result.FlightSummary.substr(0, 6), Format(f->State.Body.Distance, "###.#0").substr(0, 6));

  // The filed log reads back into a fresh record with every row recorded,
  // and none after them: its last row is the touch-down.
  auto back = std::make_unique<flight::FlightRecord>();
  const LogReadResult read = ReadFlightLog(ProgramPath("\\FlightData\\0Super ZarvⅣ.csv"),
                                           {f->Aircraft.LaunchSpeed, f->Aircraft.EngineCount}, *back, f->Outline);
  EXPECT_EQ(read.FlightSummary, out.Result.FlightSummary);
  EXPECT_EQ(read.RowsRead, last + 1);
  EXPECT_EQ(back->LogRowCount, last);
  for (int32_t i : {100, last}) {
    EXPECT_EQ(back->Samples[static_cast<size_t>(i)].Time, f->Record.Samples[static_cast<size_t>(i)].Time) << i;
  }
  EXPECT_GT(back->Samples[static_cast<size_t>(last)].Time, 20);
  EXPECT_EQ(back->Samples[100].DistanceFlown, f->Record.Samples[100].DistanceFlown);

  // The name goes in at the place offered, the other entry moves down.
  bool open = false;
  EXPECT_TRUE(EnterPilotName(ranking, out.Result.RecordEntryText, "Hanako", open).empty());
  EXPECT_EQ(ranking.RecordLines[1], out.Result.RecordEntryText + "Hanako");
  EXPECT_EQ(ranking.RecordLines[2], "150.00m by Other");

  // The timer firing again does nothing.
  EXPECT_FALSE(Run(*f, "Super ZarvⅣ.csv", ranking).Ran);
}

// The left button is the take-off command: pressed again in the air it only
// sets the brake. The stalled glide that follows falls below 1 m/s and ends
// slowly in the water; its log and result must be those of the same flight
// without the press, not times counted back from the end.
TEST_F(PostFlightRun, ATakeoffCommandInTheAirLeavesTheLogAsItWas) {
  aircraft::AircraftData a;
  ASSERT_TRUE(aircraft::LoadAircraftData(kAircraftDir + "Marden7.brd", a));
  RankingState ranking;
  std::vector<std::string> filed;
  for (const char* script : {"0.5:Return,2+4:Down", "0.5:Return,1.5:Return,2+4:Down"}) {
    ResetProgramState();  // every flight is a run of its own
    SetProgramFolder(folder_);
    flight::HeadlessFlight f(a, *flight::ParseKeyScript(script));
    ASSERT_EQ(f.Fly(0), "water") << script;
    EXPECT_GT(f.State.Body.Distance, 80) << script;
    const PostFlightOutcome out = Run(f, "Marden7.csv", ranking);
    ASSERT_TRUE(out.LogWritten) << script;
    // "m/s  " then the seconds from the edge to the water: a glide of 13 s or so.
    const std::string summary = out.Result.FlightSummary;
    const size_t at = summary.find("m/s  ");
    ASSERT_NE(at, std::string::npos) << summary;
    EXPECT_GT(std::stod(summary.substr(at + 5)), 10) << summary;
    filed.push_back(Bytes(ProgramPath("\\FlightData\\" + out.Filing.FiledName)));
  }
  EXPECT_TRUE(filed[0] == filed[1]) << "the two logs differ";
  // Rows from before the edge to the touch-down, not ending at 0.
  auto back = std::make_unique<flight::FlightRecord>();
  model::AirframeOutline outline;
  const LogReadResult read =
      ReadFlightLog(ProgramPath("\\FlightData\\1Marden7.csv"), {a.LaunchSpeed, a.EngineCount}, *back, outline);
  ASSERT_GT(read.RowsRead, 200);
  EXPECT_LT(back->Samples[0].Time, 0);
  EXPECT_GT(back->Samples[static_cast<size_t>(read.RowsRead - 1)].Time, 10);
}

// Row 0 is the aircraft at its start, written 0.1 s after the load; a
// powered take-off goes on from row 1. A key before then filed row 0 as
// never written: 0 m high at east and north 0. Every filed row is one the
// recorder wrote, the first at the start, 300 m up and 0.1 m behind its line.
TEST_F(PostFlightRun, EveryFiledRowIsTheAircraftsWheneverTheTakeoffKeyComes) {
  for (const char* file : {"TestPiston.brd", "TestJet.brd"}) {  // from 300 m
    for (const char* key : {"0.025", "0.1", "0.15", "0.5"}) {
      const std::string script = std::string(key) + ":Return,3:Escape";
      SCOPED_TRACE(std::string(file) + " --keys " + script);
      ResetProgramState();
      SetProgramFolder(folder_);
      aircraft::AircraftData a;
      ASSERT_TRUE(aircraft::LoadAircraftData(kAircraftDir + file, a));
      flight::HeadlessFlight f(a, *flight::ParseKeyScript(script));
      std::vector<bool> written(flight::kRecordCapacity);
      while (f.Step()) {
        if (f.Record.LastRecorded >= 0) written[static_cast<size_t>(f.Record.LastRecorded)] = true;
      }
      RankingState ranking;
      const PostFlightOutcome out = Run(f, "Piston.csv", ranking);
      ASSERT_TRUE(out.Filing.Filed);
      const std::string path = ProgramPath("\\FlightData\\" + out.Filing.FiledName);
      const std::vector<std::string> lines = testing::SplitLines(Bytes(path));
      DeleteFile(path);
      const int32_t n = CLng(Val(lines[1]));
      ASSERT_GT(n, 40);  // 3 s at 20 rows a second, less the cancel's two
      for (int32_t i = 0; i <= n; ++i) EXPECT_TRUE(written[static_cast<size_t>(i)]) << "row " << i;
      const std::string& first = lines[4];  // time, distance, height, ...
      const size_t distance = first.find(',') + 1, height = first.find(',', distance) + 1;
      EXPECT_NEAR(Val(first.substr(distance)), -0.1, 0.05) << first;
      EXPECT_NEAR(Val(first.substr(height)), 300, 0.05) << first;
    }
  }
}

TEST_F(PostFlightRun, ACancelledFlightIsNotEnteredAndAShortOneLeavesNoLog) {
  auto f = Flown("Marden7.brd");
  f->State.Body.Altitude = -2000;  // as the cancel leaves it
  f->Record.RecordCount = 4;  // 5 samples, two dropped by the cancel
  const double time = f->State.Loop.FlightTime;
  RankingState ranking;
  bool asked = false;
  PostFlightScreen screen;
  screen.AskPilotName = [&](const std::string&) { asked = true; };
  const PostFlightOutcome out = Run(*f, "Marden7.csv", ranking, screen);
  EXPECT_FALSE(asked);
  EXPECT_DOUBLE_EQ(f->State.Loop.FlightTime, time - 0.1);
  EXPECT_TRUE(out.Filing.Discarded);
  EXPECT_FALSE(FileExists(ProgramPath("\\Temp\\before.csv")));
  EXPECT_TRUE(ListFiles(ProgramPath("\\FlightData"), "*").empty());
}

// Cancelled in the air, a light aircraft records on at the cancel's height
// until it has slowed down; dropping the last two samples left a row at
// -2000 m at the end of the filed log.
TEST_F(PostFlightRun, ACancelledFlightFilesNoRowAtTheCancel) {
  aircraft::AircraftData a;
  ASSERT_TRUE(aircraft::LoadAircraftData(kAircraftDir + "Marden98.brd", a));
  flight::HeadlessFlight f(
      a, *flight::ParseKeyScript("0.33:Up,0.45+0.64:A,1.13:Return,1.46+0.39:Left,2.87+0.24:Right,4.84:Escape,6.84+0.78:Down"));
  ASSERT_EQ(f.Fly(0), "cancel");
  RankingState ranking;
  const PostFlightOutcome out = Run(f, "Marden98.csv", ranking);
  ASSERT_TRUE(out.LogWritten);
  EXPECT_EQ(out.Result.FlightSummary.substr(0, 10), "7.88m by M");
  // The count line promises the rows the file holds; the last is the
  // sample before the cancel.
  const std::vector<std::string> lines =
      testing::SplitLines(Bytes(ProgramPath("\\FlightData\\" + out.Filing.FiledName)));
  ASSERT_GT(lines.size(), 60u);
  const int32_t n = CLng(Val(lines[1]));
  ASSERT_GT(n, 50);
  EXPECT_EQ(lines[static_cast<size_t>(n) + 4].substr(0, 18), "1.20, 7.538, 9.36,");
  EXPECT_EQ(lines[static_cast<size_t>(n) + 5].find(','), std::string::npos);  // the rows end there
}

// A log left in the working copy (another copy's, which could not be
// filed) stays as it is: the flight's own log is filed all the same.
TEST_F(PostFlightRun, ALogKeptInTheWorkingCopyStaysThere) {
  auto f = Flown("Marden7.brd");
  WriteBytes(Path("Temp/before.csv"), "kept");
  RankingState ranking;
  const PostFlightOutcome out = Run(*f, "Marden7.csv", ranking);
  EXPECT_TRUE(out.LogWritten);
  EXPECT_EQ(out.Filing.FiledName, "0Marden7.csv");
  EXPECT_EQ(Bytes(Path("Temp/before.csv")), "kept");
  EXPECT_EQ(ListFiles(Path("Temp"), "*.csv"), std::vector<std::string>{"before.csv"});
  EXPECT_EQ(Bytes(Path("FlightData/0Marden7.csv")).substr(0, 5), Format(f->State.Body.Distance, "###.#0").substr(0, 5));
}

TEST_F(PostFlightRun, AFailedLogWriteFilesNothingAndSaysSo) {
  auto f = Flown("Marden7.brd");
  ASSERT_TRUE(MakeDir(Path("FlightData")));
  WriteBytes(Path("FlightData/0Marden7.csv"), "old");
  RankingState ranking;
  std::string message;
  PostFlightScreen screen;
  screen.ShowMessage = [&](const std::string& m) { message = m; };
  EndFlightRecordSteps(f->State, f->Record, f->Aircraft);
  PostFlightInputs in{f->State, f->Record, f->Aircraft, f->Outline, ranking, "Marden7.csv",
                      Path("NoSuchFolder/before.csv"), Path("FlightData"), "d"};
  const PostFlightOutcome out = RunPostFlight(in, screen);
  EXPECT_FALSE(out.LogWritten);
  EXPECT_EQ(message, "飛行記録ﾌｧｲﾙを書き込めませんでした。\r\n" + Path("NoSuchFolder/before.csv"));
  EXPECT_EQ(ListFiles(Path("FlightData"), "*"), std::vector<std::string>{"0Marden7.csv"});
  EXPECT_EQ(Bytes(Path("FlightData/0Marden7.csv")), "old");
}

}  // namespace
}  // namespace zarv::records
