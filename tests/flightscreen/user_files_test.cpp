// Aircraft files and folders as users make them, through the hangar, the
// restart into the flight screen and its end: a tag longer than three
// characters, an editor's byte-order mark, folder names cp932 cannot hold.
#include "flightscreen/flight_screen_fixture.h"

#include "aircraft/samples.h"
#include "logbook/ranking.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/text.h"
#include "platform/ui/keys.h"
#include "shell/hangar.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;

class UserFilesTest : public FlightScreenTest {
 protected:
  // The hangar's OK on folder/name: the hand-over file and the settings,
  // then the flight screen.
  void Choose(const std::string& folder, const std::string& name) {
    std::string message;
    ASSERT_TRUE(shell::SelectAircraft(folder, name, {name}, aircraft::Aircraft(), shell::CurrentSettings(),
                                      shell::Shell(), &message))
        << message;
    OpenHandedOver();
  }
  // The run after a restart: nothing of the last run but its files.
  void NextRun() {
    shell::CurrentSettings().Reset();
    aircraft::Aircraft().Reset();
    ASSERT_TRUE(shell::LoadSettings(shell::SettingsPath(), shell::CurrentSettings()));
    ASSERT_EQ(shell::CurrentSettings().ExitMode, 3);
    OpenHandedOver();
  }
  void Quit(int answer) {
    answer_ = answer;
    Advance(3000);
    Key(vbKeyF12);
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const MsgBoxCall& call : MessageBoxCalls()) prompts.push_back(call.prompt);
    return prompts;
  }
  static std::string Cp932Lines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += Utf8ToCp932(line) + "\r\n";
    return bytes;
  }

  // MardenⅡ with a surface rate of its own.
  static std::vector<std::string> Sample() {
    std::vector<std::string> lines = flight::testing::SampleLines("MardenⅡ");
    lines[41] = "60";
    return lines;
  }
  const std::vector<std::string> sample_ = Sample();
};

TEST_F(UserFilesTest, ALongTagOrAByteOrderMarkKeepsTheAircraftFileThroughF9AndF12) {
  std::vector<std::string> longTag = sample_;
  longTag[0] = "Data";
  const struct {
    const char* what;
    std::string bytes;
    std::string tag;
  } files[] = {{"a four-character tag", Cp932Lines(longTag), "Data"},
               {"a byte-order mark", std::string(kUtf8Mark) + Cp932Lines(sample_), "D"}};
  const std::string path = Path("Data/Plane.brd");
  for (const auto& file : files) {
    SCOPED_TRACE(file.what);
    ClearMessageBoxCalls();
    WriteBytes(path, file.bytes);
    Choose(Path("Data"), "Plane.brd");

    // F9: the hand-over file holds the tag on line 1, the fields below it,
    // and the next start takes it.
    const int restarts = restarts_;
    Advance(2500);
    Key(vbKeyF9);
    ASSERT_EQ(restarts_, restarts + 1);
    const std::vector<std::string> handedOver = Lines(aircraft::HandOverPath());
    ASSERT_EQ(handedOver.size(), 55u);
    EXPECT_EQ(handedOver[0], file.tag);
    for (size_t i = 1; i <= 39; ++i) EXPECT_EQ(handedOver[i], sample_[i]) << i;
    aircraft::AircraftData next;
    std::string why;
    EXPECT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), next, &why)) << why;
    EXPECT_EQ(next.AircraftName, "MardenⅡ");

    // F12 with nothing changed asks nothing and leaves the file as it was.
    NextRun();
    Quit(vbYes);
    EXPECT_EQ(Prompts(), std::vector<std::string>{});
    EXPECT_EQ(Bytes(path), file.bytes);

    // A launch condition changed: No keeps the file byte for byte; Yes
    // saves the launch lines and keeps the tag and the aircraft's fields.
    for (const int answer : {vbNo, vbYes}) {
      ClearMessageBoxCalls();
      Choose(Path("Data"), "Plane.brd");
      FlightScreenForm().HScroll3.SetValue(36);  // wind from 180 degrees
      Quit(answer);
      ASSERT_EQ(Prompts(), std::vector<std::string>{path + "\r\nは発進条件が変更されています。保存しますか。"});
    }
    const std::vector<std::string> saved = Lines(path);
    ASSERT_EQ(saved.size(), 55u);
    EXPECT_EQ(saved[0], file.tag);
    for (size_t i = 1; i <= 46; ++i) EXPECT_EQ(saved[i], sample_[i]) << i;
    EXPECT_EQ(saved[51], "180");
    EXPECT_TRUE(aircraft::LoadAircraftData(path, next, &why)) << why;
  }
}

// A program folder, an aircraft folder and an aircraft file whose names
// cp932 cannot hold, or that are not UTF-8 (Latin-1, cp932 from an
// archive): the settings bring the aircraft file's path back by its bytes
// after the restart, so that the quit asks about the changed launch
// conditions, naming the file as it reads, and saves them there.
TEST_F(UserFilesTest, AFolderCp932CannotHoldKeepsTheLaunchConditionsThroughTheRestart) {
  const struct {
    const char *program, *hangar, *file, *shown;  // shown: hangar/file as the question names them
  } folders[] = {{"josé", "Jeté", "Plane.brd", "Jeté/Plane.brd"},
                 {"Müller", "Flügel", "Plane.brd", "Flügel/Plane.brd"},
                 {"caf\xE9", "\x83\x65\x83\x58\x83\x67", "\x91\xBE\x98\x59.brd", "テスト/太郎.brd"},
                 {"Latin", "Jet\xE9", "Plane.brd", "Jet\uFFFD/Plane.brd"},
                 {"Sjis", "Hangar", "\x83\x5C.brd", "Hangar/ソ.brd"}};  // a trail byte that is "\\"
  for (const auto& [program, hangar, file, shown] : folders) {
    SCOPED_TRACE(ShownName(program));
    ClearMessageBoxCalls();
    SetProgramFolder(Path(program));
    ASSERT_TRUE(MakeDir(Path(program) + "/Temp"));
    const std::string folder = Path(program) + "/" + hangar;
    ASSERT_TRUE(MakeDir(folder));
    const std::string path = folder + "/" + file;
    ASSERT_TRUE(WriteTextLines(path, sample_));
    Choose(folder, file);
    Advance(2500);
    Key(vbKeyF9);  // the restart into the flight screen
    shell::Settings saved;
    ASSERT_TRUE(shell::LoadSettings(shell::SettingsPath(), saved));
    EXPECT_EQ(saved.ProgramFolder, Path(program));

    NextRun();
    EXPECT_EQ(shell::CurrentSettings().AircraftFilePath, path);
    EXPECT_EQ(shell::CurrentSettings().HangarDir, folder + "/");
    FlightScreenForm().HScroll3.SetValue(36);
    const int ends = ends_;
    Quit(vbYes);
    EXPECT_EQ(Prompts(), std::vector<std::string>{ShownName(Path(program)) + "/" + shown +
                                                  "\r\nは発進条件が変更されています。保存しますか。"});
    EXPECT_EQ(Lines(path)[51], "180");
    EXPECT_EQ(ends_, ends + 1);
  }
}

// An aircraft name and ranking lines cp932 cannot hold (one cut short),
// read from lines marked as UTF-8, pass through the hand-over file, the restart, the
// registration and the quit exactly: the quit asks nothing about what the
// user did not change, and what it saves keeps them.
TEST_F(UserFilesTest, NamesCp932CannotHoldSurviveTheRestartAndTheQuit) {
  const std::string mark(kUtf8Mark);
  std::vector<std::string> plane = sample_;
  plane[1] = "Café Ⅳ";
  std::string bytes = Utf8ToCp932(plane[0]) + "\r\n" + mark + plane[1] + "\r\n";
  for (size_t i = 2; i < plane.size(); ++i) bytes += Utf8ToCp932(plane[i]) + "\r\n";
  const std::string path = Path("Data/Plane.brd");
  WriteBytes(path, bytes);
  // The second line cut inside an emoji: all before the cut is kept.
  const std::string cut = "500.12m by Marden7  テスト太郎\xF0\x9F\x98";
  std::string ranking = mark + "812.50m by Café Ⅳ 07-04-2026   12:00:00  José Müller\r\n" + mark + cut + "\r\n" +
                        Utf8ToCp932("300.00m by MardenⅡ") + "\r\n";
  for (int k = 4; k <= 20; ++k) ranking += "\r\n";
  WriteBytes(records::RankingPath(), ranking);
  shell::RankingFile().Read();
  EXPECT_EQ(records::Ranking().RecordLines[2], cut);
  EXPECT_EQ(records::Ranking().RecordLines[3], "300.00m by MardenⅡ");

  Choose(Path("Data"), "Plane.brd");
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Café Ⅳ");
  Advance(2500);
  Key(vbKeyF9);
  EXPECT_EQ(Lines(aircraft::HandOverPath())[1], "Café Ⅳ");
  NextRun();
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Café Ⅳ");
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{});
  EXPECT_EQ(Bytes(path), bytes);
  EXPECT_EQ(Bytes(records::RankingPath()), ranking);

  // The registration's copy of the hand-over file keeps the name; a launch
  // condition saved keeps the name as the file has it.
  ClearMessageBoxCalls();
  Choose(Path("Data"), "Plane.brd");
  shell::Settings copied;
  std::string message;
  ASSERT_TRUE(shell::RegisterAircraft(Path("Data"), "Copy.brd", copied, &message)) << message;
  EXPECT_EQ(Lines(Path("Data/Copy.brd"))[1], "Café Ⅳ");
  FlightScreenForm().HScroll3.SetValue(36);
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{path + "\r\nは発進条件が変更されています。保存しますか。"});
  EXPECT_EQ(Lines(path)[1], "Café Ⅳ");
  EXPECT_EQ(Lines(path)[51], "180");
}

// Lines the user did not change keep their bytes through the hangar, F9,
// the restart and a launch condition saved with F12: a byte cp932 cannot
// read (a Latin-1 "é") and the NEC and IBM codes of characters cp932 has
// twice (87 90, ED 40) in the name, and an outer sweep that reads as 0
// because its "/" stands past character 20.
TEST_F(UserFilesTest, LinesTheUserDidNotChangeKeepTheirBytes) {
  // The launch lines as the save writes them: pitch and temperature whole.
  auto bytes = [this](bool saved) {
    std::vector<std::string> lines = sample_;
    lines[18] = std::string(19, ' ') + "5/718/.52";
    if (saved) lines[50] = "0", lines[51] = "180", lines[53] = "33";
    std::string b = "D\r\nCaf\xE9 \x87\x90\xED\x40\r\n";
    for (size_t i = 2; i < lines.size(); ++i) b += lines[i] + "\r\n";
    return b;
  };
  const std::string path = Path("Data/Plane.brd");
  WriteBytes(path, bytes(false));
  Choose(Path("Data"), "Plane.brd");
  EXPECT_EQ(aircraft::Aircraft().OuterSweep, 0);
  Advance(2500);
  Key(vbKeyF9);
  EXPECT_EQ(Bytes(aircraft::HandOverPath()).substr(0, 14), "D\r\nCaf\xE9 \x87\x90\xED\x40\r\n");
  NextRun();
  EXPECT_EQ(aircraft::Aircraft().OuterSweep, 0);
  FlightScreenForm().HScroll3.SetValue(36);  // wind from 180 degrees
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{path + "\r\nは発進条件が変更されています。保存しますか。"});
  EXPECT_EQ(Bytes(path), bytes(true));
}

// A file whose first line is marked but whose last line UTF-8 cannot read
// reads as cp932 wherever it is read: the name is the hangar's, the quit
// (at once, and after F9's restart) asks nothing, and a launch condition
// saved keeps the name line's bytes. The mark goes: with the last line
// set, it alone would make the name read as UTF-8.
TEST_F(UserFilesTest, AFileMarkedFirstThatReadsAsCp932ReadsSoAtTheQuit) {
  auto bytes = [this](bool saved) {
    std::vector<std::string> lines = sample_;
    lines[54] = saved ? "0" : "0 \x95\x5C";
    if (saved) lines[50] = "0", lines[51] = "180", lines[53] = "33";
    std::string b = (saved ? std::string() : std::string(kUtf8Mark)) + "D\r\nMarden\xC3\xA9\r\n";
    for (size_t i = 2; i < lines.size(); ++i) b += lines[i] + "\r\n";
    return b;
  };
  const std::string path = Path("Data/Plane.brd");
  WriteBytes(path, bytes(false));
  Choose(Path("Data"), "Plane.brd");
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Mardenﾃｩ");
  Advance(2500);
  Key(vbKeyF9);
  NextRun();
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Mardenﾃｩ");
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{});
  Choose(Path("Data"), "Plane.brd");
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{});
  EXPECT_EQ(Bytes(path), bytes(false));

  Choose(Path("Data"), "Plane.brd");
  FlightScreenForm().HScroll3.SetValue(36);  // wind from 180 degrees
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{path + "\r\nは発進条件が変更されています。保存しますか。"});
  EXPECT_EQ(Bytes(path), bytes(true));
  EXPECT_EQ(Lines(path)[1], "Mardenﾃｩ");
}

// The ranking the quit writes keeps every line's bytes: its first line is
// marked, but a line UTF-8 cannot read makes it read as cp932, so a line
// whose bytes would pass for other UTF-8 (CF B2, "ﾏｲ") stays unmarked.
TEST_F(UserFilesTest, TheRankingAQuitWritesKeepsItsLinesBytes) {
  const std::string ranking = std::string(kUtf8Mark) + "900.00m  Marden7  2026/12/07 \xF0\x9F\x98\x80\r\n" +
                              "870.00m  Marden7  2026/12/07 \x95\x5C\r\n840.00m  Marden7  2026/12/07 \xCF\xB2\r\n";
  WriteBytes(records::RankingPath(), ranking);
  shell::RankingFile().Read();
  ASSERT_EQ(records::Ranking().RecordLines[3], "840.00m  Marden7  2026/12/07 ﾏｲ");
  Open(sample_);
  Quit(vbYes);
  std::string padded = ranking;
  for (int place = 4; place <= 20; ++place) padded += "\r\n";
  EXPECT_EQ(Bytes(records::RankingPath()), padded);
}

// The samples as the program writes them, and files with lines the reader or
// the load correct (a surface rate of 0 takes the tailplane's default): F12,
// F9 and then F12 (and F10) with nothing touched ask nothing and leave the
// file byte for byte.
TEST_F(UserFilesTest, AnAircraftNobodyChangedIsNeverAskedAbout) {
  std::vector<std::pair<std::string, std::vector<std::string>>> files;
  for (const aircraft::SampleAircraft& sample : aircraft::SampleAircraftList())
    files.emplace_back(sample.FileName, sample.Lines);
  const std::vector<std::string> marden = flight::testing::SampleLines("MardenⅡ");
  ASSERT_EQ(marden[41], "0");
  ASSERT_EQ(marden[36], "0");  // no engines
  const struct {
    const char* what;
    int line;
    const char* text;
  } corrected[] = {{"control ratios past their range", 40, "3500.5"}, {"a surface rate past 240", 41, "300"},
                   {"fuel without engines", 37, "12"},               {"a bank past a radian", 49, "70"},
                   {"a pressure of 0", 52, "0"}};
  for (const auto& c : corrected) {
    std::vector<std::string> lines = sample_;  // a surface rate of its own
    lines[static_cast<size_t>(c.line)] = c.text;
    files.emplace_back(c.what, lines);
  }
  const std::string path = Path("Data/Plane.brd");
  for (const auto& [what, lines] : files) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(WriteTextLines(path, lines));
    const std::string bytes = Bytes(path);
    for (const int exit : {vbKeyF12, vbKeyF9, what == files.front().first ? vbKeyF10 : 0}) {
      if (exit == 0) continue;
      ClearMessageBoxCalls();
      Choose(Path("Data"), "Plane.brd");
      ASSERT_TRUE(FlightScreenForm().FlightLoaded());
      answer_ = vbYes;
      Advance(3000);
      Key(exit);
      if (exit == vbKeyF9) {
        NextRun();
        Quit(vbYes);
      }
      EXPECT_EQ(Prompts(), std::vector<std::string>{}) << exit;
      EXPECT_EQ(Bytes(path), bytes) << exit;
    }
  }
}

// A control setting changed and saved: the settings the user left keep the
// file's own lines, a surface rate of 0 among them.
TEST_F(UserFilesTest, SavingAChangedControlKeepsTheOthersAsTheFileHasThem) {
  const std::vector<std::string> marden = flight::testing::SampleLines("MardenⅡ");
  const std::string path = Path("Data/Plane.brd");
  ASSERT_TRUE(WriteTextLines(path, marden));
  Choose(Path("Data"), "Plane.brd");
  aircraft::Aircraft().PitchDamping += 1;
  Quit(vbYes);
  EXPECT_EQ(Prompts(), std::vector<std::string>{path + "\r\nは機体データが変更されています。保存しますか。"});
  const std::vector<std::string> saved = Lines(path);
  ASSERT_EQ(saved.size(), 55u);
  EXPECT_EQ(saved[43], Format(Val(marden[43]) + 1, "#0.0"));
  for (size_t i = 0; i < saved.size(); ++i) {
    if (i == 43) continue;
    EXPECT_EQ(saved[i], marden[i]) << i;
  }
}

// An aircraft file gone since the start is named, and the user may stay;
// a hand-over file gone since the start holds what the run read from it.
TEST_F(UserFilesTest, FilesGoneSinceTheStartAreNotPassedOverInSilence) {
  const std::string path = Path("Data/Plane.brd");
  Open(sample_);
  ASSERT_TRUE(DeleteFile(path));
  FlightScreenForm().HScroll3.SetValue(36);
  Quit(vbNo);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"機体ファイルが見つかりません。\r\n" + path +
                                                "\r\n機体データと発進条件の変更は保存できません。\r\n保存せずに終了しますか。"});
  EXPECT_EQ(ends_, 0);
  EXPECT_TRUE(FlightScreenForm().FlightLoaded());
  Quit(vbYes);
  EXPECT_EQ(ends_, 1);

  // The editor's engine model, in the hand-over file this run started from.
  ClearMessageBoxCalls();
  std::vector<std::string> edited = sample_;
  edited[39] = "O-200";
  ASSERT_TRUE(WriteTextLines(path, sample_));
  ASSERT_TRUE(WriteTextLines(aircraft::HandOverPath(), edited));
  OpenHandedOver();
  ASSERT_TRUE(DeleteFile(aircraft::HandOverPath()));
  FlightScreenForm().HScroll3.SetValue(36);
  Quit(vbYes);
  EXPECT_EQ(Prompts(), (std::vector<std::string>{path + "\r\nは機体データが変更されています。保存しますか。",
                                                 path + "\r\nは発進条件が変更されています。保存しますか。"}));
  EXPECT_EQ(Lines(path)[39], "O-200");
  EXPECT_EQ(Lines(path)[51], "180");
}

}  // namespace
}  // namespace zarv::flightscreen
