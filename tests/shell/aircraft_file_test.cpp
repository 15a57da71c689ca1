#include "aircraft/aircraft_file.h"

#include <sys/stat.h>

#include <cmath>
#include <tuple>

#include "platform/runtime/cp932.h"
#include "platform/runtime/text.h"
#include "aircraft/samples.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

using testing::ProgramFolderTest;

constexpr double kDeg = 57.3;

// 55 lines of a light aircraft; fields can be overridden by index (0..53).
std::vector<std::string> BaseLines() {
  std::vector<std::string> l = {"D", "Test"};
  for (int i = 1; i <= 30; ++i) l.push_back(std::to_string(i));
  for (const char* s : {"NACA4412", "NACA0009", "0",     "0",   "0",    "0",    "",     "",
                        "460.90",   "60",       "0.0",   "0.0", "20",   "1.6",  "5.80", "1.0",
                        "315",      "-9",       "-15.0", "90",  "1013", "31.0", "1"})
    l.push_back(s);
  return l;
}
aircraft::AircraftData ParseWith(std::initializer_list<std::pair<int, std::string>> fields) {
  auto l = BaseLines();
  for (const auto& [field, text] : fields) l[static_cast<size_t>(field) + 1] = text;
  aircraft::AircraftData a;
  aircraft::ParseAircraftLines(l, a);
  return a;
}

TEST_F(ProgramFolderTest, SampleFilesAreByteExactCp932) {
  ASSERT_TRUE(aircraft::WriteSampleAircraft(folder_));
  const char* lines[] = {"D",        "Marden\x87\x55",
                         "65",       "40",
                         "4",        "7",
                         "6.2",      "4.5",
                         "4.2",      "30",
                         ".4",       ".15",
                         "17.6",     "19.6",
                         "0",        "6",
                         "1/.52",    ".8",
                         "18/.52",   ".5",
                         ".6",       "50/45",
                         ".1",       "1.62",
                         "-1",       "1.51",
                         "0",        "2.7",
                         "30",       "1.1",
                         ".9",       "10.5",
                         "NACA4415", "NACA0009",
                         "1",        "1",
                         "0",        "0",
                         "",         "",
                         "00.00",    "0",
                         "0.0",      "0.0",
                         "20",       "1.6",
                         "5.50",     "1.5",
                         "290",      "-6",
                         "0.0",      "315",
                         "1013",     "33.0",
                         "1"};
  std::string expected;
  for (const char* l : lines) expected += std::string(l) + "\r\n";
  EXPECT_EQ(Bytes(Path("MardenⅡ.brd")), expected);
  EXPECT_EQ(Utf8ToCp932("Marden７"), "Marden\x82\x56");

  for (const auto& sample : aircraft::SampleAircraftList()) {
    const std::string bytes = Bytes(Path(sample.FileName));
    size_t crlf = 0;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
      ++crlf;
    EXPECT_EQ(crlf, 55u) << sample.FileName;
    aircraft::AircraftData a;
    ASSERT_TRUE(aircraft::LoadAircraftData(Path(sample.FileName), a)) << sample.FileName;
    EXPECT_FALSE(a.IsPowered()) << sample.FileName;
    EXPECT_EQ(a.AircraftTag, "D");
  }
  EXPECT_EQ(aircraft::SampleAircraftList().size(), 7u);
}

TEST_F(ProgramFolderTest, SamplesReadWithTheirConversions) {
  ASSERT_TRUE(aircraft::WriteSampleAircraft(folder_));
  aircraft::AircraftData m7, m2, sz, un;
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Marden7.brd"), m7));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("MardenⅡ.brd"), m2));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Super ZarvⅣ.brd"), sz));
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("Ultra Nuvel.brd"), un));
  EXPECT_EQ(m7.AircraftName, "Marden７");
  EXPECT_DOUBLE_EQ(m7.LaunchPitch, -15 / kDeg);
  EXPECT_DOUBLE_EQ(m7.RollRatio, 0.5);
  EXPECT_NEAR(m7.PitchRatio, 0.67, 1e-9);
  EXPECT_DOUBLE_EQ(m7.InnerDihedral, 5.5 / kDeg);
  EXPECT_DOUBLE_EQ(m7.InnerSweep, .52 / kDeg);
  EXPECT_DOUBLE_EQ(m7.FinHalfSpacing, 1.35);
  EXPECT_DOUBLE_EQ(m7.RearFuselageStiffness, 17 * kDeg);
  EXPECT_DOUBLE_EQ(m7.CgPosition, 0.33);
  EXPECT_DOUBLE_EQ(m7.LaunchBank, -9 / kDeg);
  EXPECT_DOUBLE_EQ(m7.EyeHeight, 0.3);  // light, span above 5 m
  EXPECT_EQ(m7.TailHoldFlag, 1);
  EXPECT_EQ(m2.AircraftName, "MardenⅡ");
  EXPECT_EQ(m2.SurfaceRate, 0);
  EXPECT_EQ(m2.RollRatio, 0);
  EXPECT_EQ(m2.PitchRatio, 0);
  EXPECT_EQ(m2.FinFixed, 1);
  EXPECT_DOUBLE_EQ(sz.RollRatio, 0.46);
  EXPECT_NEAR(sz.PitchRatio, 0.69, 1e-9);
  EXPECT_EQ(sz.FinHalfSpacing, 0);
  EXPECT_EQ(un.WingAirfoil, "DAE41?");
  EXPECT_EQ(un.Reserved44, "1.6");
  EXPECT_DOUBLE_EQ(un.LaunchSpeed, 6.1);
}

TEST(AircraftFile, PairFieldsTakeTheTextAfterTheFirstSlashWithin20Characters) {
  EXPECT_DOUBLE_EQ(aircraft::FieldValue("5.5/.52"), 5.5);
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("5.5/.52"), 0.52);
  EXPECT_EQ(aircraft::PairSecondValue("3/0"), 0);
  EXPECT_EQ(aircraft::PairSecondValue("4"), 0);
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("1234567890123456789/5"), 0);  // "/" is character 20
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("123456789012345678/5"), 5);   // character 19
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("1/23456789012345678901"), 234567890123456789.0);
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("1/2/3"), 2);
  // Characters, not bytes: a full-width digit before the slash still counts as one.
  EXPECT_DOUBLE_EQ(aircraft::PairSecondValue("１２３４５６７８９０１２３４５６７８/7"), 7);
  // The writers' trim keeps what a line reads as: the blanks that hold a
  // pair's "/" past character 20 stay.
  const std::string far = std::string(19, ' ') + "5/718/.52 ";
  EXPECT_EQ(aircraft::TrimmedField(17, far), std::string(19, ' ') + "5/718/.52");
  EXPECT_EQ(aircraft::TrimmedField(1, far), "5/718/.52");  // one value: 5 either way
  EXPECT_EQ(aircraft::TrimmedField(14, "  5.5/.52 "), "5.5/.52");
  EXPECT_EQ(aircraft::TrimmedField(28, std::string(17, ' ') + "3/0"), "3/0");  // 0 either way
}

TEST(AircraftFile, FieldConversionsAndCorrections) {
  auto a = ParseWith({{14, "5.5/.52"}, {28, ".73/1.5"}});
  EXPECT_DOUBLE_EQ(a.WingIncidence, 5.5);
  EXPECT_DOUBLE_EQ(a.FlapMax, 0.52);
  EXPECT_EQ(a.GearPosition, 0);  // light aircraft: second value not read
  EXPECT_DOUBLE_EQ(a.TailEndHeight, 0.73);

  a = ParseWith({{45, "40"}, {28, ".73/1.5"}, {5, "12"}});
  EXPECT_TRUE(a.IsPowered());
  EXPECT_DOUBLE_EQ(a.GearPosition, 1.5);
  EXPECT_DOUBLE_EQ(a.EyeHeight, 0.5);

  EXPECT_EQ(ParseWith({{45, "0"}}).LaunchSpeed, 1.0);
  EXPECT_FALSE(ParseWith({{45, "10"}}).IsPowered());
  EXPECT_TRUE(ParseWith({{45, "10.01"}}).IsPowered());
  EXPECT_EQ(ParseWith({{47, "0"}}).LaunchHeading, 6.2831852);
  EXPECT_DOUBLE_EQ(ParseWith({{47, "360"}}).LaunchHeading, 360 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{48, "57"}}).LaunchBank, 57 / kDeg);
  EXPECT_EQ(ParseWith({{48, "-58"}}).LaunchBank, 0);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "-20"}}).LaunchPitch, -15 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "13"}}).LaunchPitch, 12.5 / kDeg);
  EXPECT_EQ(ParseWith({{50, "0"}}).WindDirection, 6.2831852);
  EXPECT_EQ(ParseWith({{46, "-3"}}).WindSpeed, 0);
  EXPECT_EQ(ParseWith({{40, "300"}}).SurfaceRate, 240);
  EXPECT_EQ(ParseWith({{51, "0"}}).SurfacePressure, 1013);
  EXPECT_EQ(ParseWith({{51, "1010"}}).SurfacePressure, 1010);

  a = ParseWith({{35, "0"}, {36, "500"}});
  EXPECT_EQ(a.FuelCapacity, 0);
  EXPECT_EQ(a.AircraftLines[36], " 0");
  a = ParseWith({{35, "2"}, {36, "500"}});
  EXPECT_EQ(a.FuelCapacity, 500);
  EXPECT_EQ(ParseWith({{35, "2.5"}}).EngineCount, 2);        // ties to even
  EXPECT_EQ(ParseWith({{35, "99999"}}).EngineCount, 32767);  // clamped, no overflow

  a = ParseWith({{11, "5"}, {5, "4.8"}});
  EXPECT_DOUBLE_EQ(a.EyeHeight, 0.2);  // span not above 5: length / 24
}

// Each correction at both ends of what it lets through: just inside a limit
// the value is kept, just outside it is corrected.
TEST(AircraftFile, CorrectionsHoldAtBothEndsOfTheirRanges) {
  EXPECT_EQ(ParseWith({{45, "0.99"}}).LaunchSpeed, 1.0);
  EXPECT_EQ(ParseWith({{45, "1.01"}}).LaunchSpeed, 1.01);
  EXPECT_EQ(ParseWith({{46, "-0.1"}}).WindSpeed, 0);
  EXPECT_EQ(ParseWith({{46, "0.1"}}).WindSpeed, 0.1);
  // The bank's limit is 1.0 rad either way: 57.3 degrees is kept, 57.4 is not.
  EXPECT_DOUBLE_EQ(ParseWith({{48, "57.3"}}).LaunchBank, 1.0);
  EXPECT_DOUBLE_EQ(ParseWith({{48, "-57.3"}}).LaunchBank, -1.0);
  EXPECT_DOUBLE_EQ(ParseWith({{48, "-57"}}).LaunchBank, -57 / kDeg);
  EXPECT_EQ(ParseWith({{48, "57.4"}}).LaunchBank, 0);
  EXPECT_EQ(ParseWith({{48, "58"}}).LaunchBank, 0);
  EXPECT_EQ(ParseWith({{48, "-57.4"}}).LaunchBank, 0);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "12.5"}}).LaunchPitch, 12.5 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "12.4"}}).LaunchPitch, 12.4 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "12.6"}}).LaunchPitch, 12.5 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "-15"}}).LaunchPitch, -15 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "-14.9"}}).LaunchPitch, -14.9 / kDeg);
  EXPECT_DOUBLE_EQ(ParseWith({{49, "-15.1"}}).LaunchPitch, -15 / kDeg);
  EXPECT_EQ(ParseWith({{40, "240"}}).SurfaceRate, 240);
  EXPECT_EQ(ParseWith({{40, "239.5"}}).SurfaceRate, 239.5);
  EXPECT_EQ(ParseWith({{40, "240.5"}}).SurfaceRate, 240);
  // Whole-number fields stay within 16 bits at both ends.
  EXPECT_EQ(ParseWith({{35, "-99999"}}).EngineCount, -32768);
  EXPECT_EQ(ParseWith({{53, "99999"}}).TailHoldFlag, 32767);
  EXPECT_EQ(ParseWith({{53, "-99999"}}).TailHoldFlag, -32768);
  EXPECT_EQ(ParseWith({{33, "40000"}}).FinFixed, 32767);
  EXPECT_EQ(ParseWith({{34, "-40000"}}).TailplaneFixed, -32768);
  // The ratios of the mouse steering: each between 0 and 3.
  for (const auto& [text, roll, pitch] : {std::tuple{"3012.5", 3.0, 2.5}, std::tuple{"2999", 2.99, 3.0},
                                          std::tuple{"-10", 0.0, 0.0}, std::tuple{"-995", 0.0, 3.0}}) {
    const auto a = ParseWith({{39, text}});
    EXPECT_NEAR(a.RollRatio, roll, 1e-9) << text;
    EXPECT_NEAR(a.PitchRatio, pitch, 1e-9) << text;
  }
}

TEST(AircraftFile, PackedControlRatios) {
  struct Case {
    const char* text;
    double roll, pitch;
  };
  for (const Case& c : {Case{"00.00", 0, 0}, Case{"500.67", 0.5, 0.67}, Case{"3003", 3, 3},
                        Case{"4500", 3, 0}, Case{"460.90", 0.46, 0.9}, Case{"-5", 0, 3}}) {
    auto a = ParseWith({{39, c.text}});
    EXPECT_NEAR(a.RollRatio, c.roll, 1e-9) << c.text;
    EXPECT_NEAR(a.PitchRatio, c.pitch, 1e-9) << c.text;
  }
  // Saving and reading again never drifts a ratio (0.29 x 100 is just under 29).
  for (double roll : {0.29, 0.57, 0.58, 1.13, 2.01}) {
    aircraft::AircraftData a;
    a.RollRatio = roll;
    a.PitchRatio = 0.9;
    aircraft::StoreEditorFields(a);
    auto b = ParseWith({{39, a.AircraftLines[39]}});
    EXPECT_DOUBLE_EQ(b.RollRatio, roll) << a.AircraftLines[39];
    EXPECT_NEAR(b.PitchRatio, 0.9, 1e-9);
  }
  aircraft::AircraftData a;
  a.RollRatio = 0.46;
  a.PitchRatio = 0.9;
  EXPECT_EQ(Format(aircraft::ControlRatioPacked(a), "0.00"), "460.90");
}

TEST(AircraftFile, ShortOrEmptyFilesReadAsDefaults) {
  aircraft::AircraftData a;
  aircraft::ParseAircraftLines({"D", "Stub"}, a);
  EXPECT_EQ(a.AircraftName, "Stub");
  EXPECT_EQ(a.LaunchSpeed, 1.0);
  EXPECT_EQ(a.SurfacePressure, 1013);
  EXPECT_EQ(a.LaunchHeading, 6.2831852);
  EXPECT_EQ(a.WindDirection, 6.2831852);
  EXPECT_EQ(a.AircraftLines[36], " 0");
  EXPECT_EQ(a.AircraftLines[53], "");

  std::string error;
  a.AircraftName = "left over";
  EXPECT_FALSE(aircraft::LoadAircraftData("/nonexistent/x.brd", a, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(a.AircraftName, "");
  EXPECT_EQ(a.LaunchSpeed, 1.0);
}

// A FIFO would hang the read, a file far larger than any aircraft is none.
TEST_F(ProgramFolderTest, SpecialAndHugeAircraftFilesAreRefused) {
  std::string sample;
  for (const std::string& line : aircraft::SampleAircraftList()[0].Lines) sample += Utf8ToCp932(line) + "\r\n";
  WriteBytes(Path("Huge.brd"), sample + std::string(aircraft::kMaxAircraftFileBytes, ' '));
  ASSERT_EQ(mkfifo(Path("Fifo.brd").c_str(), 0600), 0);
  for (const char* name : {"Huge.brd", "Fifo.brd"}) {
    aircraft::AircraftData a;
    std::string error;
    EXPECT_FALSE(aircraft::LoadAircraftData(Path(name), a, &error)) << name;
    EXPECT_EQ(error, "ファイルを読み込めません。");
  }
  WriteBytes(Path("Plain.brd"), sample);
  aircraft::AircraftData a;
  EXPECT_TRUE(aircraft::LoadAircraftData(Path("Plain.brd"), a));
}

// A name of 32,767 × あ (65,534 bytes) would make a file the reader refuses:
// neither form of the writer writes it, and the old file stays.
TEST_F(ProgramFolderTest, NoAircraftFileTheReaderWouldRefuseIsWritten) {
  aircraft::AircraftData a;
  ASSERT_TRUE(aircraft::ReadAircraftLines(aircraft::SampleAircraftList()[0].Lines, a));
  const std::string path = Path("Plane.brd");
  ASSERT_TRUE(aircraft::SaveAircraftData(path, a));
  const std::string before = Bytes(path);
  for (int i = 0; i < 32767; ++i) a.AircraftLines[0] += "あ";
  bool tooLarge = false;
  EXPECT_FALSE(aircraft::SaveAircraftData(path, a, &tooLarge));
  EXPECT_TRUE(tooLarge);
  tooLarge = false;
  EXPECT_FALSE(aircraft::SaveAircraftDataAsHeld(path, a, &tooLarge));
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(Bytes(path), before);
}

TEST_F(ProgramFolderTest, EveryFieldSurvivesAWriteAndReadRoundTrip) {
  // Distinct values in every field, blanks around some to see the trim.
  std::vector<std::string> l = {"JcD", " Jet Ⅱ "};
  const char* fields[] = {"1.5",
                          "2.25",
                          "3",
                          "4",
                          "15.5",
                          " 6.5 ",
                          "7.25",
                          "80",
                          ".9",
                          ".11",
                          "12.5",
                          "30",
                          "-2",
                          "2.5/35",
                          "4/20",
                          ".7",
                          "3/25",
                          ".45",
                          "1.2",
                          "-5/40",
                          ".3",
                          "4.4",
                          "-1.5",
                          "3.3",
                          "7",
                          "3",
                          "28",
                          "1.9/2.1",
                          ".6",
                          "100",
                          "NACA64A105LE?",
                          "NACA64A005?",
                          "1",
                          "0",
                          "2",
                          "4500",
                          "Aug fan(USA)",
                          "F119-PW100",
                          "1230.45",
                          "120",
                          "1.5",
                          "2.5",
                          "17",
                          "0.5",
                          "150.00",
                          "12.5",
                          "90",
                          "-30",
                          "-10",
                          "45",
                          "990",
                          "-5",
                          "1"};
  for (const char* f : fields) l.push_back(f);
  ASSERT_EQ(l.size(), 55u);
  aircraft::AircraftData a;
  aircraft::ParseAircraftLines(l, a);
  ASSERT_TRUE(aircraft::SaveAircraftData(Path("round.brd"), a));
  aircraft::AircraftData b;
  ASSERT_TRUE(aircraft::LoadAircraftData(Path("round.brd"), b));

  EXPECT_EQ(b.AircraftTag, "JcD");
  EXPECT_EQ(b.AircraftName, "Jet Ⅱ");  // written trimmed
  EXPECT_EQ(a.AircraftLines[6], " 6.5 ");
  EXPECT_EQ(b.AircraftLines[6], "6.5");
  EXPECT_EQ(b.OverallLength, a.OverallLength);
  const double aircraft::AircraftData::*reals[] = {&aircraft::AircraftData::PilotWeight,
                                         &aircraft::AircraftData::WingWeight,
                                         &aircraft::AircraftData::TailWeight,
                                         &aircraft::AircraftData::RearFuselageWeight,
                                         &aircraft::AircraftData::TailplaneArm,
                                         &aircraft::AircraftData::FinArm,
                                         &aircraft::AircraftData::RearFuselageStiffness,
                                         &aircraft::AircraftData::WingDeflection,
                                         &aircraft::AircraftData::ParasiteDragArea,
                                         &aircraft::AircraftData::WingSpan,
                                         &aircraft::AircraftData::WingArea,
                                         &aircraft::AircraftData::TipWashout,
                                         &aircraft::AircraftData::WingIncidence,
                                         &aircraft::AircraftData::FlapMax,
                                         &aircraft::AircraftData::InnerDihedral,
                                         &aircraft::AircraftData::InnerSweep,
                                         &aircraft::AircraftData::InnerTaper,
                                         &aircraft::AircraftData::OuterDihedral,
                                         &aircraft::AircraftData::OuterSweep,
                                         &aircraft::AircraftData::OuterTaper,
                                         &aircraft::AircraftData::TipLength,
                                         &aircraft::AircraftData::TipDihedral,
                                         &aircraft::AircraftData::TipSweep,
                                         &aircraft::AircraftData::TipTaper,
                                         &aircraft::AircraftData::TailplaneArea,
                                         &aircraft::AircraftData::TailplaneIncidence,
                                         &aircraft::AircraftData::FinArea,
                                         &aircraft::AircraftData::FinTilt,
                                         &aircraft::AircraftData::FinHalfSpacing,
                                         &aircraft::AircraftData::CgPosition,
                                         &aircraft::AircraftData::TailEndHeight,
                                         &aircraft::AircraftData::GearPosition,
                                         &aircraft::AircraftData::WingHeight,
                                         &aircraft::AircraftData::LaunchHeight,
                                         &aircraft::AircraftData::FuelCapacity,
                                         &aircraft::AircraftData::RollRatio,
                                         &aircraft::AircraftData::PitchRatio,
                                         &aircraft::AircraftData::SurfaceRate,
                                         &aircraft::AircraftData::PitchResponse,
                                         &aircraft::AircraftData::PitchDamping,
                                         &aircraft::AircraftData::LaunchSpeed,
                                         &aircraft::AircraftData::WindSpeed,
                                         &aircraft::AircraftData::LaunchHeading,
                                         &aircraft::AircraftData::LaunchBank,
                                         &aircraft::AircraftData::LaunchPitch,
                                         &aircraft::AircraftData::WindDirection,
                                         &aircraft::AircraftData::SurfacePressure,
                                         &aircraft::AircraftData::SurfaceTemperature,
                                         &aircraft::AircraftData::EyeHeight};
  for (size_t i = 0; i < std::size(reals); ++i) {
    EXPECT_EQ(a.*reals[i], b.*reals[i]) << "real #" << i;
    EXPECT_NE(a.*reals[i], 0) << "real #" << i << " should be a distinct non-zero value";
  }
  EXPECT_EQ(b.WingAirfoil, "NACA64A105LE?");
  EXPECT_EQ(b.TailAirfoil, "NACA64A005?");
  EXPECT_EQ(b.FinFixed, 1);
  EXPECT_EQ(b.TailplaneFixed, 0);
  EXPECT_EQ(b.EngineCount, 2);
  EXPECT_EQ(b.EngineFamily, "Aug fan(USA)");
  EXPECT_EQ(b.EngineModel, "F119-PW100");
  EXPECT_EQ(b.Reserved43, "17");
  EXPECT_EQ(b.Reserved44, "0.5");
  EXPECT_EQ(b.TailHoldFlag, 1);
  EXPECT_DOUBLE_EQ(b.GearPosition, 2.1);

  // The editor's and the platform's written forms read back to the same values
  // (to the decimals they show).
  for (bool editor : {true, false}) {
    aircraft::AircraftData c = b;
    if (editor) {
      aircraft::StoreEditorFields(c);
      ASSERT_TRUE(aircraft::SaveAircraftData(Path("forms.brd"), c));
    } else {
      aircraft::StoreLaunchFields(c);
      ASSERT_TRUE(aircraft::SaveAircraftDataAsHeld(Path("forms.brd"), c));
      const auto raw = ReadTextLines(Path("forms.brd"));
      ASSERT_EQ(raw.size(), 55u);
      EXPECT_EQ(raw[40], " 1230.45");  // written as held, leading blank kept
      EXPECT_EQ(raw[47], " 12.5");
    }
    aircraft::AircraftData d;
    ASSERT_TRUE(aircraft::LoadAircraftData(Path("forms.brd"), d));
    EXPECT_DOUBLE_EQ(d.RollRatio, b.RollRatio);
    EXPECT_NEAR(d.PitchRatio, b.PitchRatio, 1e-9);
    EXPECT_EQ(d.SurfaceRate, 120);
    EXPECT_EQ(d.PitchResponse, 1.5);
    EXPECT_EQ(d.LaunchSpeed, 150);
    EXPECT_EQ(d.WindSpeed, 12.5);
    EXPECT_NEAR(d.LaunchHeading, b.LaunchHeading, 1e-12);
    EXPECT_NEAR(d.LaunchBank, b.LaunchBank, 1e-12);
    EXPECT_NEAR(d.LaunchPitch, b.LaunchPitch, 1e-12);
    EXPECT_EQ(d.SurfacePressure, 990);
    EXPECT_EQ(d.SurfaceTemperature, -5);
    EXPECT_EQ(d.Reserved43, editor ? "20" : "17");
  }
}

TEST(AircraftFile, WrittenFormsOfTheLaunchFields) {
  aircraft::AircraftData a;
  a.RollRatio = 0.46;
  a.PitchRatio = 0.9;
  a.SurfaceRate = 60;
  a.LaunchSpeed = 5.8;
  a.WindSpeed = 1;
  a.LaunchHeading = 6.2831852;
  a.LaunchBank = -9 / kDeg;
  a.LaunchPitch = 2.5 / kDeg;
  a.WindDirection = 90 / kDeg;
  a.SurfacePressure = 1013;
  a.SurfaceTemperature = -3.4;
  a.TailHoldFlag = 1;
  a.Reserved43 = a.AircraftLines[43] = "x";
  aircraft::StoreEditorFields(a);
  const auto& e = a.AircraftLines;
  EXPECT_EQ(e[39], "460.90");
  EXPECT_EQ(e[40], "60");
  EXPECT_EQ(e[43], "20");
  EXPECT_EQ(e[44], "1.6");
  EXPECT_EQ(e[45], "5.80");
  EXPECT_EQ(e[46], "1.0");
  EXPECT_EQ(e[47], "360");
  EXPECT_EQ(e[48], "-9");
  EXPECT_EQ(Val(e[49]), 3);  // whole degrees
  EXPECT_EQ(e[49].find('.'), std::string::npos);
  EXPECT_EQ(e[50], "90");
  EXPECT_EQ(e[52], "-3.4");
  EXPECT_EQ(e[53], "1");

  a.AircraftLines[43] = "x";
  aircraft::StoreLaunchFields(a);
  EXPECT_EQ(e[39], " 460.90");
  EXPECT_EQ(e[40], " 60.00");
  EXPECT_EQ(e[43], "x");
  EXPECT_EQ(e[45], " 5.80");
  EXPECT_EQ(e[47], " 360");
  EXPECT_EQ(e[48], "-9");
  EXPECT_EQ(e[49], " 3");
  EXPECT_EQ(e[52], "-3");
  EXPECT_EQ(e[53], " 1");
}

}  // namespace
}  // namespace zarv::shell
