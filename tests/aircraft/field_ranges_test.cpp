#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "aircraft/aircraft_file.h"
#include "aircraft/field_ranges.h"
#include "aircraft/samples.h"

namespace zarv::aircraft {
namespace {

std::vector<std::string> Sample(size_t i) { return SampleAircraftList()[i].Lines; }

TEST(FieldRanges, EverySampleAircraftLoads) {
  for (const SampleAircraft& s : SampleAircraftList()) {
    AircraftData a;
    std::string error;
    EXPECT_TRUE(ReadAircraftLines(s.Lines, a, &error)) << s.FileName << ": " << error;
  }
}

TEST(FieldRanges, ValuesTheSetUpCannotTakeAreRefusedNamingFieldAndRange) {
  struct Case {
    int field;
    const char* text;
    const char* named;
    const char* range;
  };
  for (const Case& c : {
           Case{10, "-0.001", "「風防及び有害抵抗」の値 -0.001 は範囲外です。", "0 より大きく 10000 以下"},
           Case{24, "-1", "「垂直尾翼面積(㎡)」", "0 以上 10000 以下"},
           Case{22, "-1", "「水平尾翼面積(㎡)」", "0 以上"},
           Case{2, "1e308", "「主翼及び風防重量(kg)」の値 1e+308", "0 以上 1000000 以下"},
           Case{2, "1e999", "「主翼及び風防重量(kg)」", "1000000 以下"},  // the reader saturates
           Case{16, "-1", "「内翼テーパー比」", "0.05 以上 5 以下"},
           Case{11, "0.5", "「主翼幅(ｍ)」", "1 以上"},
           Case{15, "5/95", "「内翼後退角(deg)」の値 95", "-80 以上 80 以下"},
           Case{53, "40000", "「Check8」", "-32768 以上 32767 以下"},
           Case{45, "9000", "「発進速度」", "5000 以下"},
       }) {
    std::vector<std::string> lines = Sample(0);
    lines[static_cast<size_t>(c.field) + 1] = c.text;
    AircraftData a;
    a.AircraftName = "left over";
    std::string error;
    EXPECT_FALSE(ReadAircraftLines(lines, a, &error)) << c.field;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_NE(error.find(c.range), std::string::npos) << error;
    EXPECT_EQ(a.AircraftName, "");
  }
}

TEST(FieldRanges, CorrectedValuesAndUncheckedCasesStillLoad) {
  // Values the reader corrects by itself are no reason to refuse.
  for (const auto& [field, text] : std::vector<std::pair<int, const char*>>{
           {45, "-3"}, {46, "-5"}, {40, "300"}, {48, "58"}, {49, "-20"}, {51, "0"}, {39, "4500"}}) {
    std::vector<std::string> lines = Sample(1);
    lines[static_cast<size_t>(field) + 1] = text;
    AircraftData a;
    std::string error;
    EXPECT_TRUE(ReadAircraftLines(lines, a, &error)) << field << ": " << error;
  }
  // A gear position is read only for a powered aircraft; fuel only with an engine.
  std::vector<std::string> lines = Sample(1);
  lines[29] = "1/5000";
  lines[37] = "-100";
  AircraftData a;
  EXPECT_TRUE(ReadAircraftLines(lines, a));
  lines[46] = "150";
  std::string error;
  EXPECT_FALSE(ReadAircraftLines(lines, a, &error));
  EXPECT_NE(error.find("前後位置"), std::string::npos) << error;
  EXPECT_EQ(CheckFieldRange(1, "0", true).find("「前部胴体重量(kg)」"), 0u);
}

TEST(FieldRanges, AnyTagIsReadButNoTextOrNoNumberIsNoAircraftFile) {
  struct Case {
    int line;  // 1-based; 0 = the whole file becomes junk
    const char* text;
    const char* refusal;  // "" = read
  };
  for (const Case& c : {
           Case{1, "X", ""},
           Case{1, "", ""},
           Case{1, "Jet", ""},
           Case{0, "", "機体ファイルではありません（1 行目に文字でないデータがあります）。"},
           Case{2, "Mard\x01en", "機体ファイルではありません（2 行目に文字でないデータがあります）。"},
           Case{7, "abc", "機体ファイルではありません（7 行目の「全長 (ｍ)」が数値ではありません）。"},
           Case{17, "/.52", "機体ファイルではありません（17 行目の「内翼上反角(deg)」が数値ではありません）。"},
           Case{54, "nan", "機体ファイルではありません（54 行目の「気   温」が数値ではありません）。"},
           Case{7, "\t", "「全長 (ｍ)」の値がありません。0 より大きく 1000 以下の値が必要です。"},
           Case{12, "", "「風防及び有害抵抗」の値がありません。0 より大きく 10000 以下の値が必要です。"},
           Case{15, " ", ""},        // a blank whose 0 the range allows
           Case{17, "5.5/x", ""},    // the second value of a pair reads as 0
           Case{38, "full", ""},     // fuel is not read without an engine
           Case{45, "abc", ""},      // kept as text
           Case{56, "\x1a", ""},     // past the lines the reader takes
       }) {
    std::vector<std::string> lines = Sample(0);
    if (c.line == 0) {
      lines.assign(40, "\x89PNG\x1a");
    } else {
      lines.resize(std::max(lines.size(), static_cast<size_t>(c.line)));
      lines[static_cast<size_t>(c.line) - 1] = c.text;
    }
    AircraftData a;
    std::string error;
    EXPECT_EQ(ReadAircraftLines(lines, a, &error), std::string(c.refusal).empty()) << c.line << " " << error;
    EXPECT_EQ(error, c.refusal) << c.line;
    if (c.line == 1) {
      EXPECT_EQ(a.AircraftTag, c.text);
    }
  }
}

}  // namespace
}  // namespace zarv::aircraft
