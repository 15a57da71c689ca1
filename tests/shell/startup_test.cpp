#include "shell/startup.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime/cp932.h"
#include "platform/runtime/scratch_folder.h"
#include "platform/runtime/text.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"
#include "shell/hangar.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

using testing::ProgramFolderTest;

constexpr int kScreenW = 1024 * 15, kScreenH = 768 * 15;

TEST_F(ProgramFolderTest, FirstStartInAnEmptyFolderPreparesEverything) {
  WriteBytes(Path("zarv-help.txt"), "[1] Zarv\r\n");  // the help text is no help file
  const StartupOutcome out = PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_FALSE(out.refused);
  EXPECT_TRUE(out.firstRun);
  EXPECT_TRUE(out.sortedHangars);
  EXPECT_TRUE(DirExists(Path("Temp")));
  EXPECT_TRUE(DirExists(Path("FlightData")));
  EXPECT_FALSE(Exists(Path("Zarv.cnt")));
  EXPECT_EQ(Shell().NoticeNextPressed, 0);
  EXPECT_EQ(Shell().HangarFolderDefault, "\\Data");
  EXPECT_FALSE(SettingsValid());
  EXPECT_EQ(CurrentSettings().WindowCentreX, 512 * 15);
  EXPECT_EQ(CurrentSettings().WindowCentreY, 384 * 15);
  for (const auto& sample : aircraft::SampleAircraftList()) {
    EXPECT_FALSE(Exists(Path(sample.FileName))) << sample.FileName;
    EXPECT_TRUE(Exists(Path("Data/" + sample.FileName))) << sample.FileName;
  }
  // The notes: 70 lines, 13 empty, heading ending in the build date, cp932.
  const auto readme = ReadTextLines(Path("Readme.txt"));
  ASSERT_EQ(readme.size(), 70u);
  EXPECT_EQ(std::count(readme.begin(), readme.end(), std::string()), 13);
  EXPECT_EQ(Right(readme[0], 1), "日");
  EXPECT_EQ(Right(readme[0], 11), ProgramBuildDate());
  std::string expected;
  for (const auto& line : ReadmeLines(ProgramBuildDate())) expected += line + "\r\n";
  EXPECT_EQ(Bytes(Path("Readme.txt")), Utf8ToCp932(expected));

  // A second start finds Temp and Data: nothing is sorted again.
  WriteBytes(Path("Extra.brd"), "JcD\r\nExtra\r\n");
  Shell().Reset();
  const StartupOutcome again = PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_FALSE(again.firstRun);
  EXPECT_FALSE(again.sortedHangars);
  EXPECT_EQ(Shell().NoticeNextPressed, 1);
  EXPECT_EQ(Shell().HangarFolderDefault, "\\Data");
  EXPECT_TRUE(Exists(Path("Extra.brd")));
}

TEST_F(ProgramFolderTest, FirstRunSortsByTagAndKeepsExistingTargets) {
  WriteBytes(Path("Zarv.hlp"), "help");
  WriteBytes(Path("Jet.brd"), "JcD\r\nJet\r\n");
  WriteBytes(Path("Odd.brd"), "X\r\nOdd\r\n");
  WriteBytes(Path("Marked.brd"), "\xEF\xBB\xBFJcD\r\nMarked\r\n");  // an editor's byte-order mark
  // The user's own file already in the hangar under a sample's name stays.
  ASSERT_TRUE(MakeDir(Path("JfData")));
  WriteBytes(Path("Prop.brd"), "JfD\r\nnew\r\n");
  WriteBytes(Path("JfData/Prop.brd"), "JfD\r\nmine\r\n");
  // The user's own aircraft under a sample's name: the sample never replaces it.
  WriteBytes(Path("Marden7.brd"), "D\r\nmine\r\n");

  const StartupOutcome out = PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_TRUE(out.wroteHelpContents);
  const auto cnt = ReadTextLines(Path("Zarv.cnt"));
  ASSERT_EQ(cnt.size(), 28u);
  EXPECT_EQ(cnt[0], ": Base ZARV.hlp");
  EXPECT_EQ(cnt[22], "3 機体データの変更､作成 = IDH_Datainput");

  EXPECT_TRUE(Exists(Path("JcData/Jet.brd")));
  EXPECT_TRUE(Exists(Path("Data/Odd.brd")));
  EXPECT_TRUE(Exists(Path("JcData/Marked.brd")));
  EXPECT_EQ(Bytes(Path("JfData/Prop.brd")), "JfD\r\nmine\r\n");
  EXPECT_EQ(Bytes(Path("Prop.brd")), "JfD\r\nnew\r\n");
  EXPECT_EQ(Bytes(Path("Data/Marden7.brd")), "D\r\nmine\r\n");
  EXPECT_FALSE(Exists(Path("Marden7.brd")));
  EXPECT_TRUE(Exists(Path("Data/MardenⅡ.brd")));
  // Files are taken in name order: Prop (JfD) comes after Jet (JcD).
  EXPECT_EQ(Shell().HangarFolderDefault, "\\JfData");
}

TEST_F(ProgramFolderTest, RankingIsReadWhateverTheSettingsSaid) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(Path("Data")));
  int reads = 0;
  bool settingsReadFirst = false;
  std::string notice;
  RankingFile().Read = [&] {
    ++reads;
    settingsReadFirst = CurrentSettings().ExitMode == 2;
    return notice;
  };
  WriteBytes(Path("Temp/set.ini"), " 2\r\n");
  EXPECT_TRUE(PrepareEnvironment(kScreenW, kScreenH).notices.empty());
  EXPECT_TRUE(SettingsValid());
  EXPECT_EQ(reads, 1);
  EXPECT_TRUE(settingsReadFirst);
  // What the reader has to say of the file is said at the start.
  notice = "unreadable";
  EXPECT_EQ(PrepareEnvironment(kScreenW, kScreenH).notices, std::vector<std::string>{"unreadable"});
  notice.clear();
  EXPECT_FALSE(Exists(Path("Readme.txt")));  // not a normal start

  // A rejected settings file must not cost the ranking.
  WriteBytes(Path("Temp/set.ini"), " 9\r\n");
  PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_FALSE(SettingsValid());
  EXPECT_EQ(reads, 3);
}

// A settings file that exists but cannot be read (a FIFO would hang the
// start, a huge one is no settings file) is set aside before anything writes
// the settings, and the user is told; the start goes on with the defaults.
TEST_F(ProgramFolderTest, UnreadableSettingsAreSetAsideAndReported) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(Path("Data")));
  const std::string huge = " 2\r\n" + std::string(kMaxSettingsFileBytes, 'x');
  for (int kind = 0; kind < 2; ++kind) {
    if (kind == 0) {
      ASSERT_EQ(mkfifo(Path("Temp/set.ini").c_str(), 0600), 0);
    } else {
      WriteBytes(Path("Temp/set.ini"), huge);
    }
    const StartupOutcome out = PrepareEnvironment(kScreenW, kScreenH);
    EXPECT_FALSE(SettingsValid());
    EXPECT_EQ(CurrentSettings().ExitMode, 0);
    const std::string aside = Path("Temp/set-unreadable" + std::to_string(kind + 1) + ".ini");
    ASSERT_EQ(out.notices.size(), 1u);
    EXPECT_NE(out.notices[0].find(aside), std::string::npos) << out.notices[0];
    EXPECT_FALSE(PathExists(Path("Temp/set.ini")));
    EXPECT_TRUE(PathExists(aside));
    ASSERT_TRUE(SaveSettings(SettingsPath(), CurrentSettings()));
    ASSERT_TRUE(DeleteFile(SettingsPath()));
  }
  EXPECT_EQ(Bytes(Path("Temp/set-unreadable2.ini")), huge);
  // A readable file that is no settings file (line 1 rejected) is no failure.
  WriteBytes(Path("Temp/set.ini"), " 9\r\n");
  EXPECT_TRUE(PrepareEnvironment(kScreenW, kScreenH).notices.empty());
}

// The start removes what a killed write left, and hands a log that a run
// left unfiled to the records before any screen can change the aircraft.
TEST_F(ProgramFolderTest, LeftoversOfAKilledRunAreDealtWith) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(Path("Data")));
  ASSERT_TRUE(MakeDir(Path("Data/Gliders")));
  ASSERT_TRUE(MakeDir(Path("Data/Mine")));
  ASSERT_TRUE(MakeDir(Path("Data/Gliders/real")));
  WriteBytes(Path("Data/Gliders/real/Marden7.brd"), "D\r\n");
  ASSERT_EQ(symlink("real/Marden7.brd", Path("Data/Gliders/Marden7.brd").c_str()), 0);
  // Of earlier versions (the target's name in it) and of this one.
  const std::vector<std::string> temps = {"Temp/.before.csv.0123456789ab.tmp", "Data/.Marden7.brd.0123456789ab.tmp",
                                          "Data/Gliders/.zarv.0123456789ab.tmp",
                                          "Data/Mine/.Marden7.brd.0123456789ab.tmp",
                                          "Data/Gliders/real/.zarv.0123456789ab.tmp"};
  for (const std::string& temp : temps) WriteBytes(Path(temp), "half a file");
  WriteBytes(Path("Data/Mine/.zarv.0123456789ab"), "theirs");
  WriteBytes(Path("Temp/set.ini"), " 2\r\n\r\n\r\n" + Path("Data/Gliders/Marden7.brd") + "\r\n" + Path("Data/Mine/") +
                                       "\r\nMarden7.brd\r\n");
  std::string named;
  Hooks().FileLeftoverLog = [&](const std::string& aircraftFileName) {
    named = aircraftFileName;
    return std::string("kept");
  };
  const StartupOutcome out = PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_EQ(named, "Marden7.brd");
  EXPECT_EQ(out.notices, std::vector<std::string>{"kept"});
  for (const std::string& temp : temps) EXPECT_FALSE(Exists(Path(temp))) << temp;
  EXPECT_TRUE(Exists(Path("Data/Mine/.zarv.0123456789ab")));
}

// The folders the settings name outside the program folder (often the home
// folder) hold the user's own files: only what a save can have left goes.
TEST_F(ProgramFolderTest, InTheUsersFoldersOnlyWhatASaveLeftGoes) {
  ScratchFolder home;
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(home / "planes"));
  const struct {
    std::string path;
    bool left;
  } cases[] = {{home / ".notes.txt.0123456789ab.tmp", true},
               {home / ".zarv.0123456789ab.tmp", false},
               {home / "planes/.Other.brd.0123456789ab.tmp", true},
               {home / "planes/.Marden7.brd.0123456789ab.tmp", false},
               {Path("Temp/.notes.txt.0123456789ab.tmp"), false}};  // the program's own folder
  for (const auto& c : cases) WriteBytes(c.path, "a file");
  WriteBytes(Path("Temp/set.ini"), " 2\r\n\r\n\r\n" + home / "planes/Marden7.brd" + "\r\n" + home.path() +
                                       "/\r\nMarden7.brd\r\n");
  PrepareEnvironment(kScreenW, kScreenH);
  ASSERT_TRUE(SettingsValid());
  for (const auto& c : cases) EXPECT_EQ(Exists(c.path), c.left) << c.path;
}

// In the program folder only its own folders lose every name a writer of
// ours ever gave, also where they are links (FlightData here); the hangars,
// Data among them, and the user's own folders only this version's; and no
// other link is followed, whatever its name.
TEST_F(ProgramFolderTest, TheCleanUpFollowsNoLinkAndLeavesTheUsersNames) {
  ScratchFolder elsewhere;
  for (const char* folder : {"Temp", "Data", "PfData", "Mine"}) ASSERT_TRUE(MakeDir(Path(folder)));
  ASSERT_TRUE(MakeDir(elsewhere / "logs"));
  ASSERT_EQ(symlink(elsewhere.path().c_str(), Path("Ext").c_str()), 0);
  ASSERT_EQ(symlink((elsewhere / "logs").c_str(), Path("FlightData").c_str()), 0);
  const struct {
    std::string path;
    bool left;
  } cases[] = {{Path(".Readme.txt.0123456789ab.tmp"), false},
               {Path("Temp/.set.ini.0123456789ab.tmp"), false},
               {Path("Data/.zarv.0123456789ab.tmp"), false},
               {Path("Data/.notes.txt.0123456789ab.tmp"), true},
               {Path("PfData/.notes.txt.0123456789ab.tmp"), true},
               {Path("Mine/.zarv.0123456789ab.tmp"), false},
               {Path("Mine/.notes.txt.0123456789ab.tmp"), true},
               {elsewhere / ".notes.txt.0123456789ab.tmp", true},
               {elsewhere / ".zarv.0123456789ab.tmp", true},
               {elsewhere / "logs/.Marden7-1.csv.0123456789ab.tmp", false},
               {elsewhere / "logs/.notes.tmp", true}};
  for (const auto& c : cases) WriteBytes(c.path, "a file");
  PrepareEnvironment(kScreenW, kScreenH);
  for (const auto& c : cases) EXPECT_EQ(Exists(c.path), c.left) << c.path;
}

TEST_F(ProgramFolderTest, StartModeThreeWithoutHandOverFileFallsBackToANormalStart) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  WriteBytes(Path("Temp/set.ini"), " 3\r\n");
  WriteBytes(Path("soundn.wav"), std::string("RIFF\0\0 \x01 ", 10));
  int played = 0;
  Hooks().PlaySoundFromMemory = [&](const std::string&) { ++played; };
  const StartupOutcome out = PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_TRUE(out.handOverMissing);
  EXPECT_EQ(CurrentSettings().ExitMode, 0);
  EXPECT_EQ(played, 1);
  EXPECT_TRUE(Exists(Path("Data/MardenⅡ.brd")));

  // With the hand-over file the mode stays and no sound is played.
  WriteBytes(Path("Temp/file.dat"), "D\r\nX\r\n");
  WriteBytes(Path("Temp/set.ini"), " 3\r\n");
  played = 0;
  Shell().Reset();
  EXPECT_FALSE(PrepareEnvironment(kScreenW, kScreenH).handOverMissing);
  EXPECT_EQ(CurrentSettings().ExitMode, 3);
  EXPECT_EQ(played, 0);
  EXPECT_TRUE(Shell().TransitionSound.empty());
}

// A start mode below 0 keeps the settings file valid and starts normally.
TEST_F(ProgramFolderTest, NegativeStartModeKeepsTheOptionsAndStartsNormally) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  std::vector<std::string> settings(37, " 0");
  settings[0] = "-1";
  settings[6] = " 1";  // ShowObjects
  ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), settings));
  int splashes = 0;
  PrepareEnvironment(kScreenW, kScreenH, [&](const StartupOutcome&) { ++splashes; });
  EXPECT_TRUE(SettingsValid());
  EXPECT_EQ(CurrentSettings().ShowObjects, 1);
  EXPECT_EQ(CurrentSettings().ExitMode, 0);
  EXPECT_EQ(splashes, 1);
  EXPECT_TRUE(Exists(Path("Readme.txt")));
}

// The splash is up before the samples are written, the hangars sorted and
// the notes rewritten; only a normal start shows it.
TEST_F(ProgramFolderTest, SplashComesBeforeTheSortingAndTheNotes) {
  WriteBytes(Path("Mine.brd"), "D\r\nMine\r\n");
  std::vector<bool> seen;
  auto splash = [&](const StartupOutcome&) {
    seen = {DirExists(Path("Temp")), Exists(Path("Mine.brd")), Exists(Path("Marden7.brd")),
            DirExists(Path("Data")), Exists(Path("Readme.txt"))};
  };
  PrepareEnvironment(kScreenW, kScreenH, splash);
  EXPECT_EQ(seen, (std::vector<bool>{true, true, false, false, false}));
  EXPECT_TRUE(Exists(Path("Data/Mine.brd")));

  seen.clear();
  WriteBytes(Path("Temp/set.ini"), " 2\r\n");
  PrepareEnvironment(kScreenW, kScreenH, splash);
  EXPECT_TRUE(seen.empty());
}

// A copy of a sample under a tag that names no hangar goes to Data, and the
// hangar reads it with its tag as written.
TEST_F(ProgramFolderTest, ACopyTaggedXIsSortedIntoDataAndChosen) {
  std::vector<std::string> copy = aircraft::SampleAircraftList()[0].Lines;
  copy[0] = "X";
  ASSERT_TRUE(WriteTextLines(Path("Copy.brd"), copy));
  PrepareEnvironment(kScreenW, kScreenH);
  ASSERT_TRUE(Exists(Path("Data/Copy.brd")));
  std::string message;
  ASSERT_TRUE(SelectAircraft(Path("Data"), "Copy.brd", ListFiles(Path("Data"), "*.brd"), aircraft::Aircraft(),
                             CurrentSettings(), Shell(), &message))
      << message;
  EXPECT_EQ(aircraft::Aircraft().AircraftTag, "X");
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Marden７");
  EXPECT_EQ(ReadTextLines(Path("Temp/file.dat")), copy);
}

TEST_F(ProgramFolderTest, TransitionSoundIsKeptByteForByte) {
  std::string wave("  RIFF\0\x01\x02 data \0\0  ", 20);
  for (int i = 0; i < 3000; ++i) wave += static_cast<char>(i * 7);
  wave += "   ";
  WriteBytes(Path("soundn.wav"), wave);
  std::string heard;
  Hooks().PlaySoundFromMemory = [&](const std::string& image) { heard = image; };
  PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_EQ(Shell().TransitionSound, wave);
  EXPECT_EQ(heard, wave);
}

TEST_F(ProgramFolderTest, ArtHooksRunWhenTheirCachesNeedThem) {
  int gradient = 0, sky = 0, panel = 0;
  Hooks().DrawGradient = [&] {
    ++gradient;
    WriteBytes(Path("Temp/zarv.bmp"), std::string(1078, 'g'));
  };
  Hooks().DrawSkyBackgrounds = [&] { ++sky; };
  Hooks().DrawPanelArt = [&] { ++panel; };
  PrepareEnvironment(kScreenW, kScreenH);
  EXPECT_EQ(Shell().GradientBitmapLengthNow, 1078);
  PrepareScreenArt();
  EXPECT_EQ(gradient, 1);
  EXPECT_EQ(sky, 1);    // stored length 0 differs by more than 1
  EXPECT_EQ(panel, 1);  // no panel, mask or logos
  EXPECT_EQ(CurrentSettings().GradientBitmapLength, 1078);
  EXPECT_EQ(Sky().SkyBandColour[1], 16578780);  // computed bands (length >= 1000)
}

// A size saved on a wider desktop is cut down to the largest this desktop
// offers before the cached art is drawn: the art, the scale every screen
// lays itself out by and the choice the option panel shows are one size.
// The settings keep the size saved, for the next start on the wider one.
TEST_F(ProgramFolderTest, ASizeSavedOnAWiderDesktopIsCutDownBeforeTheArtIsDrawn) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(Path("Data")));
  const struct {
    int saved, width, height, allowed;  // choices; desktop in pixels
  } cases[] = {
      {2, 640, 480, 0},  {2, 799, 600, 0},  {2, 800, 599, 0}, {2, 800, 600, 1},  {2, 1023, 768, 1},
      {2, 1024, 767, 1}, {2, 1024, 600, 1}, {2, 1024, 768, 2}, {1, 799, 600, 0}, {1, 800, 600, 1},
      {1, 640, 480, 0},  {0, 1024, 768, 0}, {0, 640, 480, 0},  {1, 1280, 1024, 1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines(37, " 0");
    lines[0] = " 2";
    lines[33] = " " + std::to_string(c.saved);
    lines[34] = " " + std::to_string(c.saved);  // its art is cached
    ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), lines));
    std::vector<std::pair<int, double>> drawn;
    const auto draw = [&drawn] { drawn.emplace_back(Shell().ScreenSizeInUse, Shell().ScreenScale); };
    Hooks().DrawSkyBackgrounds = Hooks().DrawPanelArt = draw;
    Shell().Reset();
    PrepareEnvironment(c.width * 15, c.height * 15);
    const std::string at = std::to_string(c.saved) + " on " + std::to_string(c.width);
    EXPECT_EQ(Shell().ScreenSizeInUse, c.allowed) << at;
    EXPECT_EQ(Shell().ScreenScale, ScreenScaleFor(c.allowed)) << at;
    EXPECT_EQ(SettingsLines(CurrentSettings())[33], " " + std::to_string(c.saved)) << at;
    PrepareScreenArt();
    const std::vector<std::pair<int, double>> expected(2, {c.allowed, ScreenScaleFor(c.allowed)});
    EXPECT_EQ(drawn, expected) << at;  // nothing cached yet: both drawn, for the size in use
    EXPECT_EQ(SettingsLines(CurrentSettings())[33], " " + std::to_string(c.saved)) << at;
  }
}

TEST_F(ProgramFolderTest, CacheTests) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  const std::string temp = Path("Temp");
  Settings s;
  s.GradientBitmapLength = 1000;
  WriteBytes(Path("Temp/Back1.bmp"), "b");
  EXPECT_FALSE(NeedSkyBackgrounds(s, 1, 1001, false, temp));  // differs by exactly 1
  EXPECT_TRUE(NeedSkyBackgrounds(s, 1, 1002, false, temp));
  EXPECT_TRUE(NeedSkyBackgrounds(s, 1, 1000, true, temp));  // developer mode
  EXPECT_TRUE(NeedSkyBackgrounds(s, 2, 1000, false, temp));  // Back2 missing
  EXPECT_FALSE(NeedSkyBackgrounds(s, 5, 1000, false, temp));  // only the length test

  WriteBytes(Path("Temp/Panel1.bmp"), "p");
  WriteBytes(Path("Temp/Mask1.bmp"), "m");
  for (int i = 1; i <= 40; ++i) WriteBytes(Path("Temp/logo" + std::to_string(i) + ".bmp"), "l");
  EXPECT_TRUE(NeedPanelArt(s, 1, 1000, temp));  // logo41 missing
  WriteBytes(Path("Temp/logo41.bmp"), "l");
  EXPECT_FALSE(NeedPanelArt(s, 1, 1000, temp));
  EXPECT_TRUE(NeedPanelArt(s, 1, 999, temp));  // stored length larger by 1
  std::filesystem::remove(Path("Temp/Mask1.bmp"));
  EXPECT_TRUE(NeedPanelArt(s, 1, 1000, temp));

  EXPECT_EQ(Low16(1078), 1078);
  EXPECT_EQ(Low16(40000), -25536);
  EXPECT_EQ(Low16(70000), 4464);
}

TEST(Startup, SkyBands) {
  SkyBands fixed;
  BuildSkyBands(999, 1.0, fixed);
  EXPECT_EQ(fixed.SkyBandColour[1], 0xFFFFFF);
  EXPECT_EQ(fixed.SkyBandColour[19], 0x7F5C00);
  EXPECT_EQ(fixed.SkyBandColour[23], 0x4F3B00);
  EXPECT_EQ(fixed.SkyBandColour[24], 0);
  EXPECT_EQ(fixed.SkyBandEdge[1], 4);
  EXPECT_EQ(fixed.SkyBandEdge[2], 9);
  EXPECT_EQ(fixed.SkyBandEdge[24], 1571);
  EXPECT_EQ(fixed.SkyBandEdge[25], 0);  // the fixed table has 24 edges

  SkyBands computed;
  BuildSkyBands(1000, 1.6, computed);
  EXPECT_EQ(computed.SkyBandColour[1], 16578780);
  EXPECT_EQ(computed.SkyBandColour[20], 10758400);  // red 0.03 rounds to 0
  EXPECT_EQ(computed.SkyBandColour[21], 10354688);
  EXPECT_EQ(computed.SkyBandColour[30], 0);
  EXPECT_EQ(computed.SkyBandEdge[24], 2510);
}

TEST(Startup, FoldersAndScales) {
  EXPECT_TRUE(IsRootFolder("/"));
  EXPECT_TRUE(IsRootFolder("//"));
  EXPECT_TRUE(IsRootFolder(""));
  EXPECT_FALSE(IsRootFolder("/opt/zarv"));
  // Shift-JIS names whose last byte is that of a backslash: ソ, 表, 能.
  EXPECT_FALSE(IsRootFolder("/opt/\x83\x5C"));
  EXPECT_FALSE(IsRootFolder("/opt/\x95\x5C"));
  EXPECT_FALSE(IsRootFolder("/opt/\x94\x5C"));
  EXPECT_FALSE(IsRootFolder("/opt/ソ"));
  EXPECT_FALSE(IsRootFolder("/opt/zarv/"));
  EXPECT_TRUE(IsDeveloperFolder("/home/x/Testlab"));
  EXPECT_FALSE(IsDeveloperFolder("/home/x/Testlab2"));
  EXPECT_EQ(ScreenScaleFor(0), 1.0);
  EXPECT_EQ(ScreenScaleFor(1), 1.25);
  EXPECT_EQ(ScreenScaleFor(2), 1.6);
  EXPECT_EQ(ScreenScaleFor(7), 1.0);
}

// The waiting screen names a size change only where the size this start
// runs at differs from the one the start before ran at, whatever kind of
// start that was: settings line 35 follows every start, line 34 only the
// user's pick. Each run ends in a restart into the flight screen, as Esc
// after a flight does.
TEST_F(ProgramFolderTest, TheWaitingScreenNamesASizeChangeOnlyWhenTheSizeChanges) {
  ASSERT_TRUE(MakeDir(Path("Temp")));
  ASSERT_TRUE(MakeDir(Path("Data")));
  WriteBytes(Path("Temp/file.dat"), "D\r\n");
  const std::string change = "画面サイズの変更を行っています。", same = "機体外形の再計算を行っています。";
  const std::string normal;  // a normal start: no waiting screen
  struct Run {
    int desktop;       // pixels wide, 4:3
    int pick;          // picked in the option panel during the run; -1 none
    std::string text;  // its waiting screen
    const char *line34, *line35;  // saved at its end
  };
  const struct {
    const char* line35;  // in the file before the first start; line 34 " 2"
    std::vector<Run> runs;
  } cycles[] = {
      {" 1", {{1024, -1, normal, " 2", " 2"}, {1024, -1, same, " 2", " 2"}, {1024, -1, same, " 2", " 2"}}},
      // Saved at 1024, then on an 800 desktop, which runs at 800.
      {" 2",
       {{800, -1, normal, " 2", " 1"},
        {800, -1, same, " 2", " 1"},
        {1024, -1, change, " 2", " 2"},
        {800, -1, change, " 2", " 1"}}},
      // 640 picked at 1024, then 1024 again.
      {" 1",
       {{1024, 0, normal, " 0", " 2"},
        {1024, -1, change, " 0", " 0"},
        {1024, 2, same, " 2", " 0"},
        {1024, -1, change, " 2", " 2"}}},
  };
  for (const auto& cycle : cycles) {
    std::vector<std::string> lines(37, " 0");
    lines[33] = " 2";
    lines[34] = cycle.line35;
    ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), lines));
    for (const Run& run : cycle.runs) {
      const std::string at = std::string(cycle.line35) + ", run " + std::to_string(&run - cycle.runs.data());
      Shell().Reset();
      PrepareEnvironment(run.desktop * 15, run.desktop * 3 / 4 * 15);
      Settings& s = CurrentSettings();
      ASSERT_EQ(s.ExitMode, run.text.empty() ? 0 : 3) << at;
      if (!run.text.empty()) {
        EXPECT_EQ(WaitingScreenText(s, Shell().ScreenSizeInUse), run.text) << at;
      }
      PrepareScreenArt();
      if (run.pick >= 0) s.ScreenSizeChoice = static_cast<int16_t>(run.pick);
      s.ExitMode = 3;
      ASSERT_TRUE(SaveSettings(SettingsPath(), s));
      const std::vector<std::string> saved = ReadTextLines(Path("Temp/set.ini"));
      EXPECT_EQ(saved[33], run.line34) << at;
      EXPECT_EQ(saved[34], run.line35) << at;
    }
  }
}

}  // namespace
}  // namespace zarv::shell
