#include "shell/settings.h"

#include <cmath>
#include <fstream>

#include "fuzz_damage.h"
#include "platform/runtime/cp932.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

using testing::ProgramFolderTest;

TEST(Settings, StartModeLineValidity) {
  struct Case {
    const char* line;
    bool valid;
    int mode;
  };
  for (const Case& c :
       {Case{" 3", true, 3}, Case{"3.0", true, 3}, Case{"", true, 0}, Case{"abc", true, 0},
        Case{"true", true, 0}, Case{" 0", true, 0}, Case{" 2", true, 2}, Case{"1.5", true, 2},
        Case{" 4", false, 0}, Case{"0003", false, 0}, Case{"True", false, 0}, Case{"3.4", false, 0},
        Case{"-1", true, -1}, Case{"-99", true, -99}, Case{"-.4", true, 0}}) {
    int16_t mode = 99;
    const bool valid = AcceptStartModeLine(c.line, &mode);
    EXPECT_EQ(valid, c.valid) << '"' << c.line << '"';
    if (valid) {
      EXPECT_EQ(mode, c.mode) << '"' << c.line << '"';
    }
  }
}

TEST(Settings, RejectedFileGivesDefaultsAndReadsNothingMore) {
  Settings s;
  s.ShowObjects = 1;
  s.SimSpeedNormal = false;
  std::vector<std::string> lines(37, " 1");
  lines[0] = " 4";
  lines[23] = "False";
  EXPECT_FALSE(ParseSettingsLines(lines, s));
  EXPECT_EQ(s.ExitMode, 0);
  EXPECT_EQ(s.ShowObjects, 0);
  EXPECT_EQ(s.NoticeSkip, 0);
  EXPECT_TRUE(s.SimSpeedNormal);
  EXPECT_FALSE(s.FrameRate20);
}

TEST(Settings, ShortFileIsReadAsFarAsItGoes) {
  Settings s;
  s.ScreenSizeChoice = 2;
  s.ProgramFolder = "old";
  ASSERT_TRUE(
      ParseSettingsLines({" 2", "Marden７", " 123.45m", "/x/Data/a.brd", "/x/Data", "a.brd"}, s));
  EXPECT_EQ(s.ExitMode, 2);
  EXPECT_EQ(s.LastFlightAircraft, "Marden７");
  EXPECT_EQ(s.AircraftFileName, "a.brd");
  EXPECT_EQ(s.ScreenSizeChoice, 0);
  EXPECT_EQ(s.ProgramFolder, "");
  EXPECT_TRUE(s.SimSpeedNormal);
  EXPECT_FALSE(s.VortexLinesSelected);

  ASSERT_TRUE(ParseSettingsLines({" 1", "only two"}, s));  // ends before line 6: empty texts
  EXPECT_EQ(s.ExitMode, 1);
  EXPECT_EQ(s.HangarDir, "");
  ASSERT_TRUE(ParseSettingsLines({}, s));  // an empty file: first line empty
  EXPECT_EQ(s.ExitMode, 0);
}

TEST_F(ProgramFolderTest, SettingsFileRoundTripIsByteStable) {
  Settings s;
  s.ExitMode = 3;
  s.LastFlightAircraft = "MardenⅡ";
  s.LastFlightDistanceText = "123.45m";
  s.AircraftFilePath = folder_ + "/Data/MardenⅡ.brd";
  s.HangarDir = folder_ + "/Data/";
  s.AircraftFileName = "MardenⅡ.brd";
  s.ShowObjects = 1;
  s.SoundOn = 1;
  s.NoticeSkip = 1;
  s.ChartSeriesFlags[1] = 1;
  s.ChartSeriesFlags[7] = 1;
  s.SimSpeedNormal = false;
  s.FrameRate20 = true;
  s.VortexLinesSelected = true;
  s.ReplayZoomIndex = 4;
  s.GradientBitmapLength = -2;
  s.ProgramFolder = folder_;
  s.ReplayCameraX = 0.5;
  s.ReplayCameraY = -120.25;
  s.ScreenSizeChoice = 1;
  s.CachedScreenSizeChoice = 2;
  s.WindowCentreX = 7680;
  s.WindowCentreY = 5760;

  const std::string path = Path("set.ini");
  ASSERT_TRUE(SaveSettings(path, s));
  const std::string bytes = Bytes(path);
  const auto lines = ReadTextLines(path);
  ASSERT_EQ(lines.size(), 37u);
  EXPECT_EQ(lines[0], " 3");
  EXPECT_EQ(lines[6], " 1");
  EXPECT_EQ(lines[7], " 0");
  EXPECT_EQ(lines[23], "False");
  EXPECT_EQ(lines[24], "True");
  EXPECT_EQ(lines[27], " 4");
  EXPECT_EQ(lines[28], "-2");
  EXPECT_EQ(lines[30], " .5");
  EXPECT_EQ(lines[31], "-120.25");
  EXPECT_EQ(lines[35], " 7680");
  EXPECT_NE(bytes.find("Marden\x87\x55\r\n"), std::string::npos);

  Settings r;
  ASSERT_TRUE(LoadSettings(path, r));
  ASSERT_TRUE(SaveSettings(path, r));
  EXPECT_EQ(Bytes(path), bytes);
  EXPECT_EQ(r.WindowCentreX, 7680);
  EXPECT_EQ(r.ReplayCameraY, -120.25);
  EXPECT_EQ(r.ChartSeriesFlags[7], 1);
  EXPECT_FALSE(r.SimSpeedNormal);
  EXPECT_TRUE(r.FrameRate20);
  EXPECT_EQ(r.AircraftFileName, "MardenⅡ.brd");

  // A name with a byte cp932 cannot read (Latin-1) and one in the NEC code
  // of a character cp932 has twice keep their bytes through the next save.
  std::string other = bytes;
  other.replace(other.find("Marden\x87\x55\r\n"), 10, "Caf\xE9\r\n");
  other.replace(other.find("123.45m"), 7, "\x87\x90");
  WriteBytes(path, other);
  ASSERT_TRUE(LoadSettings(path, r));
  ASSERT_TRUE(SaveSettings(path, r));
  EXPECT_EQ(Bytes(path), other);
}

// The name of an aircraft flown last of 32,767 × あ (65,534 bytes) would make
// a file the next start refuses: it is not written, the old file stays.
TEST_F(ProgramFolderTest, SettingsTheStartWouldRefuseAreNotWritten) {
  const std::string path = Path("set.ini");
  Settings s;
  ASSERT_TRUE(SaveSettings(path, s));
  const std::string before = Bytes(path);
  for (int i = 0; i < 32767; ++i) s.LastFlightAircraft += "あ";
  bool tooLarge = false;
  EXPECT_FALSE(SaveSettings(path, s, &tooLarge));
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(Bytes(path), before);
}

// Paths of folders whose names cp932 cannot hold come back exactly after the
// restart; every path cp932 holds keeps its cp932 bytes as before.
TEST_F(ProgramFolderTest, PathsCp932CannotHoldReadBackExactly) {
  for (const std::string folder : {"/home/josé/Zarv", "/srv/Müller/Zarv", "/home/太郎/Zarv"}) {
    SCOPED_TRACE(folder);
    Settings s;
    s.ExitMode = 3;
    s.LastFlightAircraft = "Flügel";
    s.AircraftFilePath = folder + "/Flügel é/Plane.brd";
    s.HangarDir = folder + "/Flügel é/";
    s.AircraftFileName = "Plane.brd";
    s.ProgramFolder = folder;
    const std::string path = Path("set.ini");
    ASSERT_TRUE(SaveSettings(path, s));
    Settings r;
    ASSERT_TRUE(LoadSettings(path, r));
    EXPECT_EQ(r.ExitMode, 3);
    EXPECT_EQ(r.LastFlightAircraft, "Flügel");
    EXPECT_EQ(r.AircraftFilePath, s.AircraftFilePath);
    EXPECT_EQ(r.HangarDir, s.HangarDir);
    EXPECT_EQ(r.AircraftFileName, "Plane.brd");
    EXPECT_EQ(r.ProgramFolder, folder);
  }
  const std::string path = Path("set.ini");
  Settings s;
  s.AircraftFilePath = "/home/太郎/Zarv/Data/MardenⅡ.brd";
  ASSERT_TRUE(SaveSettings(path, s));
  EXPECT_NE(Bytes(path).find("\r\n/home/\x91\xBE\x98\x59/Zarv/Data/Marden\x87\x55.brd\r\n"), std::string::npos);
}

// A value no screen offers reads as its default; numbers beyond their type
// are clamped, not wrapped.
TEST(Settings, OutOfRangeValuesFallBackOrClamp) {
  const struct {
    int line;
    const char* text;
    double want;
  } cases[] = {
      {7, "2", 0},         {13, "-1", 0},          {14, "1", 1},          {22, "5", 0},
      {23, "1", 1},        {28, "11", 0},          {28, "10", 10},        {28, "-1", 0},
      {33, "14", 0},       {33, "13", 13},         {31, "1000001", 0},    {31, "-1000000", -1e6},
      {32, "1e308", 0},    {32, "-1E+999", 0},     {34, "3", 0},          {34, "2", 2},
      {34, "-1", 0},       {29, "70000", 32767},   {36, "9999999999", 2147483647},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines(37, "0");
    lines[static_cast<size_t>(c.line) - 1] = c.text;
    Settings s;
    ASSERT_TRUE(ParseSettingsLines(lines, s));
    const double got = c.line == 7    ? s.ShowObjects
                       : c.line == 13 ? s.SoundOn
                       : c.line == 14 ? s.NoticeSkip
                       : c.line == 22 ? s.ChartSeriesFlags[7]
                       : c.line == 23 ? s.WireframeBackground
                       : c.line == 28 ? s.ReplayZoomIndex
                       : c.line == 29 ? s.GradientBitmapLength
                       : c.line == 31 ? s.ReplayCameraX
                       : c.line == 32 ? s.ReplayCameraY
                       : c.line == 33 ? s.ReplayCameraHeightIndex
                       : c.line == 34 ? s.ScreenSizeChoice
                                      : s.WindowCentreX;
    EXPECT_EQ(got, c.want) << "line " << c.line << " " << c.text;
  }
}

// Seeded damage: an accepted file always reads into values the screens
// offer, and what is written back reads the same.
TEST_F(ProgramFolderTest, DamagedSettingsFilesReadIntoUsableSettings) {
  Settings good;
  good.ExitMode = 2;
  good.AircraftFilePath = folder_ + "/Data/Marden7.brd";
  good.ShowObjects = good.SoundOn = 1;
  good.ReplayZoomIndex = 7;
  good.ReplayCameraX = -250.5;
  good.ReplayCameraHeightIndex = 13;
  good.ScreenSizeChoice = 2;
  good.WindowCentreX = 7680;
  std::string text;
  for (const std::string& line : SettingsLines(good)) text += Utf8ToCp932(line) + "\r\n";
  const std::string path = Path("set.ini");
  zarv::testing::Damage damage(37);
  for (int round = 0; round < 2000; ++round) {
    SCOPED_TRACE(round);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << damage(text);
    Settings s;
    bool readable = false;
    if (!LoadSettings(path, s, &readable)) continue;
    ASSERT_TRUE(readable);
    for (int16_t box : {s.ShowObjects, s.ShowVelocityVector, s.ShowDataBox, s.ShowInstrumentPanel,
                        s.ShowPylonOrHangMeter, s.JoystickOn, s.SoundOn, s.NoticeSkip, s.WireframeView,
                        s.WireframeBackground, s.ChartSeriesFlags[1], s.ChartSeriesFlags[7]})
      ASSERT_TRUE(box == 0 || box == 1);
    ASSERT_TRUE(s.ScreenSizeChoice >= 0 && s.ScreenSizeChoice <= kMaxScreenSizeChoice);
    ASSERT_TRUE(s.ReplayZoomIndex >= 0 && s.ReplayZoomIndex <= kMaxReplayZoomIndex);
    ASSERT_TRUE(s.ReplayCameraHeightIndex >= 0 && s.ReplayCameraHeightIndex <= kMaxReplayCameraHeightIndex);
    ASSERT_LE(std::fabs(s.ReplayCameraX), kMaxReplayCameraOffset);
    ASSERT_LE(std::fabs(s.ReplayCameraY), kMaxReplayCameraOffset);
    if (round % 50 != 0) continue;
    ASSERT_TRUE(SaveSettings(path, s));
    Settings back;
    ASSERT_TRUE(LoadSettings(path, back));
    // The texts too come back as read, also those cp932 cannot hold.
    ASSERT_EQ(SettingsLines(back), SettingsLines(s));
  }
}

}  // namespace
}  // namespace zarv::shell
