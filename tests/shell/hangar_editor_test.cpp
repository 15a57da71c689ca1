#include <sys/stat.h>

#include "platform/runtime/cp932.h"
#include "platform/runtime/text.h"
#include "aircraft/aircraft_file.h"
#include "shell/editor_data.h"
#include "shell/hangar.h"
#include "shell/progress.h"
#include "shell/startup.h"
#include "aircraft/samples.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

class HangarTest : public testing::SampleFoldersTest {};

TEST_F(HangarTest, SelectWritesTheHandOverFileTrimmed) {
  // A listed file with blanks around its fields.
  std::vector<std::string> lines = aircraft::SampleAircraftList()[1].Lines;
  lines[3] = "  40  ";
  ASSERT_TRUE(WriteTextLines(Path("Data/Padded.brd"), lines));
  const auto listed = ListFiles(Path("Data"), "*.brd");
  std::string message;
  ASSERT_TRUE(SelectAircraft(Path("Data"), "Padded.brd", listed, aircraft::Aircraft(), CurrentSettings(),
                             Shell(), &message));
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅡ");
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Padded.brd");
  EXPECT_EQ(CurrentSettings().AircraftFilePath, Path("Data/Padded.brd"));
  EXPECT_EQ(CurrentSettings().HangarDir, Path("Data/"));
  lines[3] = "40";
  std::string expected;
  for (const auto& l : lines) expected += l + "\r\n";
  EXPECT_EQ(Bytes(Path("Temp/file.dat")), Utf8ToCp932(expected));

  for (const char* bad : {"*.brd", "", "Missing.brd"}) {
    EXPECT_FALSE(SelectAircraft(Path("Data"), bad, listed, aircraft::Aircraft(), CurrentSettings(), Shell(),
                                &message));
    EXPECT_EQ(message, kChooseAircraftMessage);
    EXPECT_EQ(Shell().SelectedFileName, bad);
  }
  // A listed file whose name holds a line break would shift the settings'
  // later lines: refused by name, the settings as they were.
  ASSERT_TRUE(WriteTextLines(Path("Data/a\nb.brd"), lines));
  EXPECT_FALSE(SelectAircraft(Path("Data"), "a\nb.brd", ListFiles(Path("Data"), "*.brd"), aircraft::Aircraft(),
                              CurrentSettings(), Shell(), &message));
  EXPECT_EQ(message, std::string(kLineBreakFileNameMessage) + "\r\na\nb.brd");
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Padded.brd");
  EXPECT_EQ(CheckRegistrationName(Path("Data"), "c\rd.brd"), RegistrationCheck::Invalid);
  // A listed but empty file is refused rather than flown as a zero aircraft.
  WriteBytes(Path("Data/Empty.brd"), "");
  EXPECT_FALSE(SelectAircraft(Path("Data"), "Empty.brd", ListFiles(Path("Data"), "*.brd"),
                              aircraft::Aircraft(), CurrentSettings(), Shell(), &message));
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅡ");
  // Names that are not UTF-8 are named in the messages as the lists show them.
  const std::string cp932Broken = "\x83\x65\n\x83\x58.brd", cp932Empty = "\x83\x65\x83\x58.brd";
  ASSERT_TRUE(WriteTextLines(Path("Data/" + cp932Broken), lines));
  WriteBytes(Path("Data/" + cp932Empty), "");
  const std::vector<std::string> withCp932 = ListFiles(Path("Data"), "*.brd");
  EXPECT_FALSE(SelectAircraft(Path("Data"), cp932Broken, withCp932, aircraft::Aircraft(), CurrentSettings(), Shell(),
                              &message));
  EXPECT_EQ(message, std::string(kLineBreakFileNameMessage) + "\r\nテ\nス.brd");
  EXPECT_FALSE(SelectAircraft(Path("Data"), cp932Empty, withCp932, aircraft::Aircraft(), CurrentSettings(), Shell(),
                              &message));
  EXPECT_NE(message.find("/Data/テス.brd\r\n"), std::string::npos) << message;
}

// Files that cannot be written: the user is told which, and nothing that was
// there changes (the settings still name the aircraft flown before).
TEST_F(HangarTest, WritesThatFailSayWhereAndChangeNothing) {
  const auto listed = ListFiles(Path("Data"), "*.brd");
  std::string message;
  ASSERT_TRUE(SelectAircraft(Path("Data"), "MardenⅡ.brd", listed, aircraft::Aircraft(), CurrentSettings(),
                             Shell(), &message));
  const std::string handOver = Bytes(Path("Temp/file.dat"));
  ASSERT_EQ(chmod(Path("Temp/file.dat").c_str(), 0444), 0);
  EXPECT_FALSE(SelectAircraft(Path("Data"), "Marden98.brd", listed, aircraft::Aircraft(), CurrentSettings(),
                              Shell(), &message));
  EXPECT_EQ(message, "機体データを保存できませんでした。\r\n" + aircraft::HandOverPath());
  EXPECT_EQ(Bytes(Path("Temp/file.dat")), handOver);
  EXPECT_EQ(CurrentSettings().AircraftFilePath, Path("Data/MardenⅡ.brd"));
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅡ");

  // Registration over a read-only file of the user's.
  const std::string theirs = Bytes(Path("Data/Marden98.brd"));
  ASSERT_EQ(chmod(Path("Data/Marden98.brd").c_str(), 0444), 0);
  EXPECT_FALSE(RegisterAircraft(Path("Data"), "Marden98.brd", CurrentSettings(), &message));
  EXPECT_EQ(message, "ファイルを書き込めません。\r\n" + Path("Data/Marden98.brd"));
  EXPECT_EQ(Bytes(Path("Data/Marden98.brd")), theirs);
  EXPECT_EQ(CurrentSettings().AircraftFileName, "MardenⅡ.brd");
}

// Names in cp932 ("テスト" as archives made on Japanese systems name files)
// show in the notices as the lists show them, not as raw bytes.
TEST_F(HangarTest, NoticesShowCp932NamesAsTheListsDo) {
  const std::string cp932 = "\x83\x65\x83\x58\x83\x67";
  ASSERT_TRUE(MakeDir(Path(cp932)));
  WriteBytes(Path(cp932 + "/set.ini"), "x");
  const std::string notice = SetAsideUnreadableSettings(Path(cp932 + "/set.ini"));
  EXPECT_NE(notice.find("/テスト/set.ini\r\n"), std::string::npos) << notice;
  EXPECT_NE(notice.find("/テスト/set-unreadable1.ini\r\n"), std::string::npos) << notice;

  std::string message;
  ASSERT_TRUE(SelectAircraft(Path("Data"), "Marden7.brd", ListFiles(Path("Data"), "*.brd"), aircraft::Aircraft(),
                             CurrentSettings(), Shell(), &message));
  WriteBytes(Path("Data/" + cp932 + ".brd"), "theirs");
  ASSERT_EQ(chmod(Path("Data/" + cp932 + ".brd").c_str(), 0444), 0);
  EXPECT_FALSE(RegisterAircraft(Path("Data"), cp932 + ".brd", CurrentSettings(), &message));
  EXPECT_EQ(message, "ファイルを書き込めません。\r\n" + Path("Data/テスト.brd"));
}

// A hangar folder whose name holds a line break would shift the settings'
// later lines (the folder is kept on a line of its own): refused by name in
// both modes, and nothing the settings hold or the files are changes.
TEST_F(HangarTest, AFolderWithALineBreakIsRefusedInBothModes) {
  const auto listed = ListFiles(Path("Data"), "*.brd");
  std::string message;
  ASSERT_TRUE(SelectAircraft(Path("Data"), "MardenⅡ.brd", listed, aircraft::Aircraft(), CurrentSettings(),
                             Shell(), &message));
  const std::string handOver = Bytes(Path("Temp/file.dat"));
  for (const char* cut : {"\n", "\r", "\r\n"}) {
    const std::string folder = Path(std::string("Data/a") + cut + "b");
    ASSERT_TRUE(MakeDir(folder));
    ASSERT_TRUE(aircraft::WriteSampleAircraft(folder));
    const auto inside = ListFiles(folder, "*.brd");
    for (const char* name : {"Marden98.brd", "*.brd"}) {
      EXPECT_FALSE(SelectAircraft(folder, name, inside, aircraft::Aircraft(), CurrentSettings(), Shell(), &message));
      EXPECT_EQ(message, std::string(kLineBreakFolderMessage) + "\r\n" + folder);
    }
    EXPECT_EQ(RegistrationFolderRefusal(folder), std::string(kLineBreakFolderRegisterMessage) + "\r\n" + folder);
    EXPECT_FALSE(RegisterAircraft(folder, "New.brd", CurrentSettings(), &message));
    EXPECT_EQ(message, RegistrationFolderRefusal(folder));
    EXPECT_FALSE(Exists(JoinPath(folder, "New.brd")));
    EXPECT_EQ(CurrentSettings().HangarDir, Path("Data/"));
    EXPECT_EQ(CurrentSettings().AircraftFilePath, Path("Data/MardenⅡ.brd"));
    EXPECT_EQ(CurrentSettings().AircraftFileName, "MardenⅡ.brd");
    EXPECT_EQ(Bytes(Path("Temp/file.dat")), handOver);
    EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅡ");
  }
  EXPECT_EQ(RegistrationFolderRefusal(Path("Data")), "");
  ASSERT_TRUE(RegisterAircraft(Path("Data"), "New.brd", CurrentSettings(), &message)) << message;
}

TEST_F(HangarTest, RegistrationRefusalsAndCopy) {
  const std::string data = Path("Data");
  EXPECT_EQ(CheckRegistrationName(data, "*.brd"), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, ""), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "  "), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "../x.brd"), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "sub/x.brd"), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "a\\b.brd"), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, ".."), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, " .. "), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "."), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "a?.brd"), RegistrationCheck::Invalid);
  // ".." is refused only as a whole component, not inside a name.
  EXPECT_EQ(CheckRegistrationName(data, "my..plane.brd"), RegistrationCheck::New);
  EXPECT_EQ(CheckRegistrationName(data, "..plane"), RegistrationCheck::New);
  EXPECT_EQ(CheckRegistrationName(data, "plane.."), RegistrationCheck::New);
  EXPECT_EQ(CheckRegistrationName(Path("Temp"), "file.dat"), RegistrationCheck::Invalid);
  EXPECT_EQ(CheckRegistrationName(data, "MardenⅡ.brd"), RegistrationCheck::Exists);
  EXPECT_EQ(CheckRegistrationName(data, "New.brd"), RegistrationCheck::New);
  // Existence is checked on disk, however long the list.
  for (int i = 0; i < 120; ++i)
    WriteBytes(Path("Data/a" + std::to_string(100 + i) + ".brd"), "D\r\n");
  EXPECT_EQ(CheckRegistrationName(data, "a219.brd"), RegistrationCheck::Exists);
  EXPECT_EQ(OverwriteQuestion(data, "x.brd"),
            data + "/x.brd\r\nこのファイルは存在します。\r\n上書きしますか？");

  std::string message;
  // No hand-over file: nothing is written.
  EXPECT_FALSE(RegisterAircraft(data, "New.brd", CurrentSettings(), &message));
  EXPECT_FALSE(Exists(Path("Data/New.brd")));

  // All 55 lines copied unchanged, bytes included; lines past 55 dropped.
  std::string handOver;
  for (const auto& l : aircraft::SampleAircraftList()[3].Lines) handOver += Utf8ToCp932(l) + "\r\n";
  handOver[handOver.size() - 3] = '\xFF';  // a byte that is no cp932 character
  WriteBytes(Path("Temp/file.dat"), handOver + "extra\r\n");
  ASSERT_TRUE(RegisterAircraft(data, "Mine", CurrentSettings(), &message)) << message;
  EXPECT_EQ(Bytes(Path("Data/Mine")), handOver);
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Mine");
  EXPECT_EQ(CurrentSettings().AircraftFilePath, Path("Data/Mine"));

  // Its 55 line ends made CR LF must not take the file past the 65,536 bytes
  // the reader takes: a hand-over file with LF line ends registers up to
  // 65,481 bytes; from 65,482 it is refused, said so, and the old file kept.
  const std::string old = Bytes(Path("Data/Marden98.brd"));
  for (const auto& [size, fits] : {std::pair{65481, true}, std::pair{65482, false}}) {
    const int text = size - 55;
    std::string lf = std::string(static_cast<size_t>(text - text / 55 * 54), 'x') + "\n";
    for (int k = 1; k < 55; ++k) lf += std::string(static_cast<size_t>(text / 55), 'x') + "\n";
    ASSERT_EQ(lf.size(), static_cast<size_t>(size));
    WriteBytes(Path("Temp/file.dat"), lf);
    const std::string target = fits ? "Fits.brd" : "Marden98.brd";
    EXPECT_EQ(RegisterAircraft(data, target, CurrentSettings(), &message), fits) << size;
    EXPECT_EQ(FileLength(Path("Data/" + target)), fits ? 65536 : static_cast<int64_t>(old.size())) << size;
  }
  EXPECT_EQ(message, "ファイルを書き込めません。\r\n" + Path("Data/Marden98.brd") +
                         "\r\n大きすぎて読み込めなくなるため書き込まず、元のファイルをそのまま残しました。");
  EXPECT_TRUE(Bytes(Path("Data/Marden98.brd")) == old);
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Fits.brd");
  bool read = false;
  EXPECT_EQ(ReadTextLines(Path("Data/Fits.brd"), &read, aircraft::kMaxAircraftFileBytes).size(), 55u);
  EXPECT_TRUE(read);
}

TEST_F(HangarTest, EditorLoadCaptionsAndSave) {
  // A light aircraft: the hand-over file of MardenⅡ.
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[1].Lines));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), aircraft::Aircraft()));
  EditorEntries e;
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  EXPECT_EQ(e.Name, "MardenⅡ");
  EXPECT_EQ(e.Numbers[14], "1/.52");
  EXPECT_EQ(e.FinMoves, 0);  // field 33 "1": the fin does not move
  EXPECT_EQ(e.EngineCountText, "0");
  EXPECT_EQ(e.EngineCountRead, 0);
  EXPECT_EQ(EditorRowCaption(14, 5.5, 0), "主翼取り付け角(deg)");
  EXPECT_EQ(EditorRowCaption(1, 5.5, 0), "パイロット重量(kg)");
  EXPECT_EQ(WingAirfoilList("MardenⅡ.brd", 0).size(), 8u);
  EXPECT_EQ(WingAirfoilList("Nuvel2000.brd", 0).size(), 9u);
  EXPECT_EQ(EditorRowTooltip(3).substr(EditorRowTooltip(3).size() - 2), " \"");

  // Saving without changes writes the same values, the live launch fields in
  // the editor's forms, to Temp/file.dat.
  ASSERT_TRUE(SaveEditorEntries(e, aircraft::Aircraft()));
  const auto saved = ReadTextLines(Path("Temp/file.dat"));
  ASSERT_EQ(saved.size(), 55u);
  EXPECT_EQ(saved[34], " 1");
  EXPECT_EQ(saved[36], "0");
  EXPECT_EQ(saved[38], "");
  EXPECT_EQ(saved[40], "0.00");
  EXPECT_EQ(saved[44], "20");
  EXPECT_EQ(saved[46], "5.50");
  EXPECT_EQ(saved[48], "290");
  EXPECT_EQ(saved[53], "33.0");
  aircraft::AircraftData again;
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), again));
  EXPECT_EQ(again.WingSpan, aircraft::Aircraft().WingSpan);
  EXPECT_EQ(again.InnerSweep, aircraft::Aircraft().InnerSweep);
  EXPECT_EQ(again.FinFixed, 1);
  EXPECT_FALSE(Exists(Path("temp/file.dat")));
  // A name typed that cp932 cannot hold comes back as typed.
  e.Name = "Café Ⅳ";
  ASSERT_TRUE(SaveEditorEntries(e, aircraft::Aircraft()));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), again));
  EXPECT_EQ(again.AircraftName, "Café Ⅳ");
  // Lines the user did not change keep their bytes (a Latin-1 name), and a
  // pair whose "/" stands past character 20 reads as before (sweep 0).
  auto lines = aircraft::SampleAircraftList()[1].Lines;
  const std::string sweep = std::string(19, ' ') + "18/85";
  lines[18] = sweep;
  lines[1] = "Caf";
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), lines));
  std::string bytes = Bytes(Path("Temp/file.dat"));
  bytes.replace(bytes.find("Caf"), 3, "Caf\xE9");
  WriteBytes(Path("Temp/file.dat"), bytes);
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  e.Numbers[0] = "70";
  EXPECT_EQ(CheckEditorRanges(e, 5.5), "");
  ASSERT_TRUE(SaveEditorEntries(e, aircraft::Aircraft()));
  EXPECT_EQ(Bytes(Path("Temp/file.dat")).substr(0, 13), "D\r\nCaf\xE9\r\n70\r\n");
  EXPECT_EQ(ReadTextLines(Path("Temp/file.dat"))[18], sweep);
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), again));
  EXPECT_EQ(again.OuterSweep, 0);

  // A powered aircraft with two engines.
  EXPECT_EQ(EditorRowCaption(1, 10, 2), "前部胴体重量(kg)");
  EXPECT_EQ(EditorRowCaption(28, 10, 2), "尾端の機体最下面からの高さ(ｍ)");
  EXPECT_EQ(EditorRowCaption(28, 10.5, 2), "降着装置長さ(ｍ)/前後位置（ｍ）");
  EXPECT_EQ(EditorRowCaption(14, 200, 2), "主翼取り付け角(deg)/最大ﾌﾗｯﾌﾟ角(deg)");
  EXPECT_EQ(WingAirfoilList("", 2).size(), 13u);
  EXPECT_EQ(TailAirfoilList(2).size(), 11u);
  EXPECT_EQ(EngineModelsFor("Turbojet").front(), "J79-GE17");
  EXPECT_EQ(EngineModelsFor("Turbojet").back(), "SSME");
  EXPECT_TRUE(EngineModelsFor("Rocket").empty());
}

TEST_F(HangarTest, EditorCheckBoxesAndKeptTexts) {
  auto lines = aircraft::SampleAircraftList()[1].Lines;
  lines[32] = "MyFoil";  // not in the list: kept
  lines[34] = "0";       // field 33: fin moves
  lines[35] = "1.9";     // field 34: 1 - 1.9 would be -1
  lines[36] = "2";
  lines[37] = "4500";
  lines[38] = "Custom";
  lines[39] = "X-1";
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), lines));
  EditorEntries e;
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  EXPECT_EQ(e.WingAirfoil, "MyFoil");
  EXPECT_EQ(e.FinMoves, 1);
  EXPECT_EQ(e.TailplaneMoves, 0);
  EXPECT_EQ(e.EngineCountText, "2");
  EXPECT_EQ(e.EngineCountRead, 1);
  EXPECT_EQ(e.FuelText, "4500");
  EXPECT_EQ(e.EngineFamily, "Custom");
  EXPECT_EQ(e.EngineModel, "X-1");
  for (const char* v : {"5", "-1"}) {
    lines[34] = v;
    ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), lines));
    ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
    EXPECT_EQ(e.FinMoves, 0) << v;
  }
  EXPECT_FALSE(ReadEditorEntries(Path("Temp/none.dat"), e));
}

TEST_F(HangarTest, EditorRefusesValuesThatDivideByZero) {
  EditorEntries e;
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[0].Lines));
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  EXPECT_EQ(CheckEditorEntries(e, 5.8, 0), "");
  struct Case {
    int row;
    const char* value;
    double launchSpeed;
    const char* named;
  };
  for (const Case& c :
       {Case{11, "0", 5.8, "主翼幅(ｍ)"}, Case{12, " 0 ", 5.8, "主翼面積(㎡)"},
        Case{12, "abc", 5.8, "主翼面積(㎡)"}, Case{6, "0", 5.8, "水平尾翼モーメントアーム(ｍ)"},
        Case{7, "0", 5.8, "垂直尾翼モーメントアーム(ｍ)"}, Case{1, "0", 5.8, "パイロット重量(kg)"},
        Case{22, "0", 150, "水平尾翼面積(㎡)"}, Case{24, "0", 150, "垂直尾翼面積(㎡)"}}) {
    EditorEntries bad = e;
    bad.Numbers[static_cast<size_t>(c.row) - 1] = c.value;
    const std::string message = CheckEditorEntries(bad, c.launchSpeed, 0);
    EXPECT_NE(message.find(c.named), std::string::npos) << c.row << ": " << message;
  }
  // A light aircraft without a tailplane needs no tailplane arm check.
  EditorEntries tailless = e;
  tailless.Numbers[21] = "0";
  EXPECT_EQ(CheckEditorEntries(tailless, 5.8, 0), "");
}

TEST_F(HangarTest, EditorRefusesTextThatIsNoNumber) {
  // Every sample as it stands is accepted.
  for (const auto& sample : aircraft::SampleAircraftList()) {
    ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), sample.Lines));
    aircraft::AircraftData a;
    ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), a));
    EditorEntries e;
    ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
    EXPECT_EQ(CheckEditorEntries(e, a.LaunchSpeed, a.EngineCount), "") << sample.FileName;
  }

  EditorEntries e;
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[0].Lines));
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  const std::string pilotNumber = "「パイロット重量(kg)」には数値を入力して下さい。";
  struct Case {
    int row;
    const char* text;
    const char* message;  // "" = accepted
  };
  for (const Case& c : {
           Case{1, "abc", pilotNumber.c_str()},
           Case{1, "", pilotNumber.c_str()},
           Case{1, "  ", pilotNumber.c_str()},
           Case{1, "６０", pilotNumber.c_str()},  // full-width digits read as nothing
           Case{1, "60kg", pilotNumber.c_str()},
           Case{1, "60/5", pilotNumber.c_str()},  // one value only in this row
           Case{5, "xyz", "「全長 (ｍ)」には数値を入力して下さい。"},
           Case{15, "5/", "「内翼上反角(deg)/内翼後退角(deg)」には数値を入力して下さい。"},
           Case{15, "5/x", "「内翼上反角(deg)/内翼後退角(deg)」には数値を入力して下さい。"},
           Case{15, "/5", "「内翼上反角(deg)/内翼後退角(deg)」には数値を入力して下さい。"},
           Case{1, " 6 0 ", ""},  // the runtime reads blanks within a number
           Case{1, "-1.5E1", ""},
           Case{5, " 2.5 ", ""},
           Case{15, "5.5 / .52", ""},
           Case{15, "-3", ""},
           Case{1, "0", "「パイロット重量(kg)」に 0 は入力できません。"},
       }) {
    EditorEntries bad = e;
    bad.Numbers[static_cast<size_t>(c.row) - 1] = c.text;
    EXPECT_EQ(CheckEditorEntries(bad, 5.8, 0), c.message) << c.row << " '" << c.text << "'";
  }

  // The pair rows take two values whatever their captions.
  EditorEntries pair = e;
  pair.Numbers[13] = "2/30";
  pair.Numbers[27] = ".8/1.2";
  EXPECT_EQ(CheckEditorEntries(pair, 150, 1), "");
  EXPECT_EQ(CheckEditorEntries(pair, 5.8, 0), "");

  EditorEntries engines = e;
  engines.EngineCountText = "two";
  EXPECT_EQ(CheckEditorEntries(engines, 150, 2), "「Engines」には数値を入力して下さい。");
  engines.EngineCountText = "2";
  engines.FuelText = "";
  EXPECT_EQ(CheckEditorEntries(engines, 150, 2), "「Fuel(kg)」には数値を入力して下さい。");
}

// A text field is one line of the hand-over file: every ASCII character in
// each text field is either refused by the editor, naming the field, or
// written so that the reader gives it back as it was.
TEST_F(HangarTest, EditorTextFieldsComeBackOrAreRefusedByName) {
  aircraft::AircraftData& a = aircraft::Aircraft();
  auto lines = aircraft::SampleAircraftList()[1].Lines;
  lines[36] = "2";  // with engines: the engine lists are written and read
  lines[37] = "4500";
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), lines));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), a));
  EditorEntries e;
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  struct Field {
    std::string EditorEntries::*entry;
    std::string aircraft::AircraftData::*read;
    const char* caption;
  };
  const Field fields[] = {{&EditorEntries::Name, &aircraft::AircraftData::AircraftName, "機体名"},
                          {&EditorEntries::WingAirfoil, &aircraft::AircraftData::WingAirfoil, "主翼翼型"},
                          {&EditorEntries::TailAirfoil, &aircraft::AircraftData::TailAirfoil, "水平尾翼翼型"},
                          {&EditorEntries::EngineFamily, &aircraft::AircraftData::EngineFamily, "エンジンの種類"},
                          {&EditorEntries::EngineModel, &aircraft::AircraftData::EngineModel, "エンジンの型式"}};
  int refused = 0;
  for (const Field& f : fields) {
    for (int b = 0; b < 0x80; ++b) {
      EditorEntries typed = e;
      typed.*f.entry = std::string("Line1") + static_cast<char>(b) + "Line2";
      const std::string message = CheckEditorEntries(typed, a.LaunchSpeed, a.EngineCount);
      if (!message.empty()) {
        EXPECT_EQ(message, "「" + std::string(f.caption) + "」に改行や制御文字は使えません。") << b;
        ++refused;
        continue;
      }
      ASSERT_TRUE(SaveEditorEntries(typed, a)) << b;
      aircraft::AircraftData reread;
      std::string why;
      ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), reread, &why)) << f.caption << " " << b << ": " << why;
      EXPECT_EQ(reread.*f.read, typed.*f.entry) << f.caption << " " << b;
      EXPECT_EQ(reread.WingSpan, a.WingSpan) << f.caption << " " << b;  // the later lines where they were
    }
  }
  EXPECT_EQ(refused, 5 * 32);  // 0x00..0x1F but the tab, and 0x7F
  // A pasted line break in the name comes before any number the user has yet to fix.
  EditorEntries both = e;
  both.Name = "Line1\r\nLine2";
  both.Numbers[0] = "abc";
  EXPECT_EQ(CheckEditorEntries(both, a.LaunchSpeed, a.EngineCount), "「機体名」に改行や制御文字は使えません。");
}

// Every box filled to its limit with a character cp932 lacks (가, 3 bytes in
// UTF-8) still makes a hand-over file the restart reads.
TEST_F(HangarTest, EditorFilesAtTheBoxesLimitsReadBack) {
  aircraft::AircraftData& a = aircraft::Aircraft();
  ASSERT_TRUE(aircraft::ReadAircraftLines(aircraft::SampleAircraftList()[0].Lines, a));
  std::string full;
  for (int i = 0; i < aircraft::kMaxFieldTextLength; ++i) full += "가";
  EditorEntries e;
  e.Name = e.EngineCountText = e.FuelText = full;
  for (auto& n : e.Numbers) n = full;
  ASSERT_TRUE(SaveEditorEntries(e, a));
  bool ok = false;
  EXPECT_EQ(ReadTextLines(Path("Temp/file.dat"), &ok, aircraft::kMaxAircraftFileBytes), EditorFileLines(e, a));
  EXPECT_TRUE(ok);
}

TEST_F(HangarTest, EditorRefusesWhatTheReaderWouldRefuseWithTheSameMessage) {
  EditorEntries e;
  aircraft::AircraftData& a = aircraft::Aircraft();
  ASSERT_TRUE(aircraft::ReadAircraftLines(aircraft::SampleAircraftList()[0].Lines, a));
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[0].Lines));
  ASSERT_TRUE(ReadEditorEntries(Path("Temp/file.dat"), e));
  EXPECT_EQ(CheckEditorRanges(e, a.LaunchSpeed), "");

  struct Case {
    int row;  // 31 = engine count box, 32 = fuel box
    const char* value;
  };
  for (const Case& c : {Case{10, "-0.001"}, Case{24, "-1"}, Case{2, "1e308"}, Case{16, "-1"}, Case{11, "0.5"},
                        Case{15, "5/95"}, Case{31, "-1"}}) {
    EditorEntries bad = e;
    if (c.row == 31) {
      bad.EngineCountText = c.value;
    } else {
      bad.Numbers[static_cast<size_t>(c.row) - 1] = c.value;
    }
    const std::string message = CheckEditorRanges(bad, a.LaunchSpeed);
    ASSERT_FALSE(message.empty()) << c.row;
    // What the editor would write is refused by the reader with these words.
    std::vector<std::string> lines = EditorFileLines(bad, a);
    std::string error;
    aircraft::AircraftData reread;
    EXPECT_FALSE(aircraft::ReadAircraftLines(lines, reread, &error)) << c.row;
    EXPECT_EQ(error, message);
  }
  // Fuel counts only with an engine, as the reader takes it.
  EditorEntries fuel = e;
  fuel.FuelText = "-5";
  EXPECT_EQ(CheckEditorRanges(fuel, a.LaunchSpeed), "");
  fuel.EngineCountText = "1";
  EXPECT_NE(CheckEditorRanges(fuel, a.LaunchSpeed).find("Fuel(kg)"), std::string::npos);
}

TEST(Progress, TextAndBar) {
  EXPECT_EQ(ProgressText(37, 200, 3.7, true), "19％完了しました\r\nあと17秒かかります");
  EXPECT_EQ(ProgressText(37, 200, 3.7, false), "19％完了しました");
  EXPECT_EQ(ProgressText(0, 200, 0, true), "0％完了しました");
  EXPECT_EQ(ProgressText(5, 0, 1, false), "0％完了しました");
  EXPECT_EQ(ProgressBarWidth("50％完了しました"), 90);
  EXPECT_EQ(ProgressBarWidth("100％完了しました"), 180);
  EXPECT_EQ(ProgressBarWidth("250"), 180);
  EXPECT_EQ(ProgressBarWidth("完了"), 0);
  EXPECT_EQ(ProgressBarWidth("-5"), 0);
}

}  // namespace
}  // namespace zarv::shell
