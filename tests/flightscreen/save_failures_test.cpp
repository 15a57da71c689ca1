// Saves that fail at the flight screen's end: the user is told what was not
// saved and where, the old files stay as they were, and a failed aircraft
// file lets the user stay with the changes.
#include <sys/stat.h>

#include <filesystem>

#include "flightscreen/flight_screen_fixture.h"
#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "platform/runtime/cp932.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;

class SaveFailureTest : public FlightScreenTest {
 protected:
  void SetUp() override {
    FlightScreenTest::SetUp();
    SetMessageBoxResponder([this](const MsgBoxCall& call) {
      if ((call.style & 7) != vbYesNo) return vbOK;
      return (call.style & 0x70) == vbQuestion ? vbYes : goOn_;
    });
  }
  // Nothing can be written where a folder stands in the file's place.
  void Block(const std::string& relative) {
    std::filesystem::remove(Path(relative));
    ASSERT_TRUE(MakeDir(Path(relative) + "/in the way"));
  }
  // The flight screen on an aircraft file that reads but cannot be
  // replaced, with a launch condition changed: the user made it read-only,
  // which a save refuses for any user, whatever the rights.
  std::string OpenUnwritableAircraft() {
    Open(lines_);
    const std::string unwritable = Path("Data/Plane.brd");
    EXPECT_EQ(chmod(unwritable.c_str(), 0444), 0);
    FlightScreenForm().HScroll3.SetValue(36);
    return unwritable;
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const MsgBoxCall& call : MessageBoxCalls()) prompts.push_back(call.prompt);
    return prompts;
  }

  int goOn_ = vbNo;
  const std::vector<std::string> lines_ = flight::testing::SampleLines("Marden７");
};

TEST_F(SaveFailureTest, AnAircraftFileThatCannotBeSavedLetsTheUserStay) {
  const std::string unwritable = OpenUnwritableAircraft();
  FlightFrame& f = FlightScreenForm();
  Advance(3000);

  Key(123);  // F12, "Yes, save", then No: stay
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  const MsgBoxCall& failed = MessageBoxCalls()[1];
  EXPECT_EQ(failed.prompt, unwritable + "\r\nに機体データを保存できませんでした。\r\n保存せずに終了しますか。");
  EXPECT_EQ(failed.style & 0x70, vbExclamation);
  EXPECT_EQ(failed.style & 0x300, vbDefaultButton2);  // Enter stays
  EXPECT_TRUE(f.FlightLoaded());
  EXPECT_EQ(ends_, 0);
  EXPECT_TRUE(FileExists(aircraft::HandOverPath()));
  EXPECT_TRUE(f.Timer2.Enabled());  // the flight can still start
  EXPECT_EQ(Lines(unwritable), lines_);

  // F10 asks again and, answered Yes, changes the aircraft without the save.
  ClearMessageBoxCalls();
  goOn_ = vbYes;
  Key(121);
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  EXPECT_NE(MessageBoxCalls()[1].prompt.find("保存せずに機体を交換しますか。"), std::string::npos);
  EXPECT_FALSE(f.FlightLoaded());
  EXPECT_EQ(restarts_, 1);
  EXPECT_EQ(Lines(unwritable), lines_);
}

// A file the user has made read-only is not replaced by the save: the user
// is asked, and a quit without the save leaves it as it was.
TEST_F(SaveFailureTest, AReadOnlyAircraftFileStaysAsItWas) {
  Open(lines_);
  const std::string path = Path("Data/Plane.brd");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  FlightScreenForm().HScroll3.SetValue(36);
  Advance(3000);
  goOn_ = vbYes;
  Key(123);  // F12, "Yes, save", then Yes: quit without it
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  EXPECT_EQ(MessageBoxCalls()[1].prompt, path + "\r\nに機体データを保存できませんでした。\r\n保存せずに終了しますか。");
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(Lines(path), lines_);
  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST_F(SaveFailureTest, AQuitInTheAirThatStaysFliesOn) {
  OpenUnwritableAircraft();
  FlightFrame& f = FlightScreenForm();
  Advance(200);
  Key(13);
  flight::FlightSeams& seams = f.Screen().Seams;
  auto yield = seams.DoEvents;
  seams.DoEvents = [&] {
    yield();
    if (flight::State().Loop.FlightTime > 2 && MessageBoxCalls().empty()) Key(123);
  };
  f.Timer2_Timer();  // the loop ends first, then the unload asks
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  EXPECT_TRUE(f.FlightLoaded());
  const double distance = flight::State().Body.Distance;
  EXPECT_GT(flight::State().Body.Altitude, 0);
  ASSERT_TRUE(f.Timer2.Enabled());
  f.Timer2_Timer();  // on to the water, and the after-flight processing
  EXPECT_GT(flight::State().Body.Distance, distance);
  ASSERT_TRUE(f.Timer1.Enabled());
  f.Timer1_Timer();
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
  EXPECT_EQ(records::AircraftLogs(Path("FlightData"), "Plane.csv").size(), 1u);
}

TEST_F(SaveFailureTest, OtherFilesAreWrittenWithoutAQuestionAndAFailureSaysWhere) {
  Open(flight::testing::SampleLines("Marden７"));
  records::Ranking().File = records::RankingState::FileState::Absent;
  Block("Temp/set.ini");
  Block("Temp/record.dat");
  Block("Temp/file.dat");
  Advance(3000);
  Key(27);  // back to the platform: the hand-over file, the settings, the ranking
  EXPECT_EQ(Prompts(), (std::vector<std::string>{
                           "機体データを保存できませんでした。\r\n" + aircraft::HandOverPath(),
                           "設定を保存できませんでした。\r\n" + shell::SettingsPath(),
                           "順位を保存できませんでした。\r\n" + records::RankingPath()}));
  EXPECT_EQ(restarts_, 1);  // the run still ends as asked
}

// Settings and a ranking that would grow past what the next start reads are
// not written, and the user is told why; the old files stay.
TEST_F(SaveFailureTest, FilesTooLargeToReadBackAreNotWrittenAndSaySo) {
  Open(lines_);
  records::Ranking().File = records::RankingState::FileState::Absent;
  const std::string settings = Bytes(shell::SettingsPath());
  std::string name;
  for (int i = 0; i < 32767; ++i) name += "あ";
  shell::CurrentSettings().HangarDir = name;
  records::Ranking().RecordLines[1] = "812.50m by X 07-04-2026   12:00:00  " + name;
  Advance(3000);
  Key(27);
  const std::string note = "\r\n大きすぎて読み込めなくなるため書き込まず、元のファイルをそのまま残しました。";
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"設定を保存できませんでした。\r\n" + shell::SettingsPath() + note,
                                                 "順位を保存できませんでした。\r\n" + records::RankingPath() + note}));
  EXPECT_EQ(Bytes(shell::SettingsPath()), settings);
  EXPECT_FALSE(Exists(records::RankingPath()));
  EXPECT_EQ(restarts_, 1);
}

// The message says what the write found: nineteen places kept as marked
// UTF-8 (3,005 bytes a line) below a new first place of 10,000 bytes come to
// 67,097 bytes, though the same lines in cp932 would come to 48,040.
TEST_F(SaveFailureTest, ARankingTooLargeForItsKeptBytesSaysSo) {
  Open(lines_);
  std::string file;
  std::string place(kUtf8Mark);
  for (int i = 0; i < 1000; ++i) place += "あ";
  for (int k = 1; k <= 19; ++k) file += place + "\r\n";
  file += "\r\n";
  WriteBytes(records::RankingPath(), file);
  shell::RankingFile().Read();
  ASSERT_TRUE(records::InsertRankingEntry(records::Ranking(), 1, "900.00m by " + std::string(9989, 'x'), ""));
  Advance(3000);
  Key(27);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"順位を保存できませんでした。\r\n" + records::RankingPath() +
                                                "\r\n大きすぎて読み込めなくなるため書き込まず、元のファイルをそのまま残しました。"});
  EXPECT_EQ(Bytes(records::RankingPath()), file);
}

// The settings a link to a FIFO: the save is refused and said, the FIFO
// stays; the ranking a link that leads nowhere yet: it stays a link and its
// target is written.
TEST_F(SaveFailureTest, ALinkToWhatIsNoPlainFileIsRefusedADanglingOneFollowed) {
  Open(lines_);
  records::Ranking().File = records::RankingState::FileState::Absent;
  const std::string fifo = Path("Temp/pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::remove(shell::SettingsPath());
  std::filesystem::create_symlink("pipe", shell::SettingsPath());
  std::filesystem::remove(records::RankingPath());
  std::filesystem::create_symlink("../Kept/record.dat", records::RankingPath());
  ASSERT_TRUE(MakeDir(Path("Kept")));
  Advance(3000);
  Key(27);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"設定を保存できませんでした。\r\n" + shell::SettingsPath()});
  EXPECT_TRUE(std::filesystem::is_symlink(shell::SettingsPath()));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_TRUE(std::filesystem::is_symlink(records::RankingPath()));
  EXPECT_EQ(ReadTextLines(Path("Kept/record.dat")).size(), 20u);
  EXPECT_EQ(restarts_, 1);
}

TEST_F(SaveFailureTest, TheSaveInFlightOpensNoBoxTheUnloadReportsIt) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Block("Temp/set.ini");
  Advance(200);
  Key(13);
  f.Timer2_Timer();  // to the water: pass 25 saved the settings, and failed
  EXPECT_GT(flight::State().Loop.PassCount, 25);
  EXPECT_TRUE(MessageBoxCalls().empty());
  f.Timer1_Timer();
  Advance(3000);
  Key(123);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"設定を保存できませんでした。\r\n" + shell::SettingsPath()});
  EXPECT_EQ(ends_, 1);
}

// The settings may name a FIFO as the aircraft file: the quit must not wait
// for a writer that never comes. Nothing to compare with: the user is told.
TEST_F(SaveFailureTest, AnAircraftPathNamingAFifoDoesNotHangTheQuit) {
  OpenUnwritableAircraft();
  const std::string fifo = Path("Data/Plane.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  shell::CurrentSettings().AircraftFilePath = fifo;
  Advance(3000);
  goOn_ = vbYes;
  Key(123);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"機体ファイルを読み込めません。\r\n" + fifo +
                                                "\r\n機体データと発進条件の変更は保存できません。\r\n保存せずに終了しますか。"});
  EXPECT_EQ(ends_, 1);
}

}  // namespace
}  // namespace zarv::flightscreen
