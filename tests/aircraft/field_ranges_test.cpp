#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
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

// Every checked field at its limits: refused just outside (named in the
// message), taken at an inclusive limit and just inside an exclusive one
// (the values that are divided by). An open end takes anything on its side.
TEST(FieldRanges, EachFieldRefusesJustOutsideAndTakesJustInside) {
  constexpr double kOpen = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    int Field;
    bool Powered, Second;  // the class; the second value of a pair field
    const char* Caption;
    double Min, Max;
    bool AboveMin;
  };
  const Row rows[] = {
      {1, false, false, "パイロット重量(kg)", 1, 1e6, false},
      {1, true, false, "前部胴体重量(kg)", 1, 1e6, false},
      {2, false, false, "主翼及び風防重量(kg)", 0, 1e6, false},
      {2, true, false, "主翼重量(kg)", 0, 1e6, false},
      {3, false, false, "水平、垂直尾翼重量(kg)", 0, 1e6, false},
      {4, false, false, "後部胴体重量(kg)", 0, 1e6, false},
      {5, false, false, "全長 (ｍ)", 0, 1000, true},
      {6, false, false, "水平尾翼モーメントアーム(ｍ)", -1000, 1000, false},
      {7, false, false, "垂直尾翼モーメントアーム(ｍ)", -1000, 1000, false},
      {8, false, false, "後部胴体剛性(Ｎ/Deg)", 1, 1e9, false},
      {9, false, false, "巡航時(１Ｇ)の主翼のたわみ(ｍ)", -100, 100, false},
      {10, false, false, "風防及び有害抵抗", 0, 10000, true},
      {11, false, false, "主翼幅(ｍ)", 1, 1000, false},
      {12, false, false, "主翼面積(㎡)", 0, 10000, true},
      {13, false, false, "主翼端捻り下げ角(deg)", -45, 45, false},
      {14, false, false, "主翼取り付け角(deg)", -45, 45, false},
      {14, false, true, "最大ﾌﾗｯﾌﾟ角(deg)", -90, 90, false},
      {15, false, false, "内翼上反角(deg)", -80, 80, false},
      {15, false, true, "内翼後退角(deg)", -80, 80, false},
      {16, false, false, "内翼テーパー比", 0.05, 5, false},
      {17, false, false, "外翼上反角(deg)", -80, 80, false},
      {17, false, true, "外翼後退角(deg)", -80, 80, false},
      {18, false, false, "外翼テーパー比", 0.05, 5, false},
      {19, false, false, "翼端部長さ(ｍ)", 0, 1000, false},
      {20, false, false, "翼端部上反角(deg)", -80, 80, false},
      {20, false, true, "翼端部後退角(deg)", -80, 80, false},
      {21, false, false, "翼端部テーパー比", 0, 5, false},
      {22, false, false, "水平尾翼面積(㎡)", 0, 10000, false},
      {23, false, false, "水平尾翼取り付け角(deg)", -45, 45, false},
      {24, false, false, "垂直尾翼面積(㎡)", 0, 10000, false},
      {25, false, false, "垂直尾翼傾き角(deg)", -80, 80, false},
      {26, false, false, "垂直尾翼が二枚のときの間隔(ｍ)", 0, 1000, false},
      {27, false, false, "重心位置(%)", -100, 200, false},
      {28, false, false, "尾端の機体最下面からの高さ(ｍ)", -100, 100, false},
      {28, true, false, "降着装置長さ(ｍ)", -100, 100, false},
      {28, true, true, "前後位置（ｍ）", -1000, 1000, false},
      {29, false, false, "主翼取り付け高さ(ｍ)", 0, 100, false},
      {30, false, false, "プラットホーム端での機体最下面高度(ｍ)", 0, 1e6, false},
      {33, false, false, "垂直尾翼作動", -32768, 32767, false},
      {34, false, false, "水平尾翼作動", -32768, 32767, false},
      {35, false, false, "Engines", 0, 100, false},
      {36, false, false, "Fuel(kg)", 0, 1e6, false},
      {39, false, false, "操縦比", kOpen, 1e6, false},
      {40, false, false, "動翼動作速度Deg/Sec", 0, kOpen, false},
      {41, false, false, "ﾋﾟｯﾁ応答特性", -1000, 1000, false},
      {42, false, false, "ﾋﾟｯﾁ減衰特性", -1000, 1000, false},
      {45, false, false, "発進速度", kOpen, 5000, false},
      {46, false, false, "風    速", kOpen, 200, false},
      {47, false, false, "機首方位", -3600, 3600, false},
      {48, false, false, "バンク角", -3600, 3600, false},
      {49, false, false, "ピッチ角", -3600, 3600, false},
      {50, false, false, "風向方位", -3600, 3600, false},
      {51, false, false, "気   圧", 0, 2000, false},
      {52, false, false, "気   温", -273, 1000, false},
      {53, false, false, "Check8", -32768, 32767, false},
  };
  for (const Row& r : rows) {
    const auto check = [&r](double v) {
      char text[64];
      std::snprintf(text, sizeof text, r.Second ? "0/%.3f" : "%.3f", v);
      return CheckFieldRange(r.Field, text, r.Powered);
    };
    const std::string named = std::string("「") + r.Caption + "」の値 ";
    const std::string where = std::to_string(r.Field) + (r.Second ? " second" : "") + (r.Powered ? " powered" : "");
    if (std::isnan(r.Min)) {
      EXPECT_EQ(check(-1e9), "") << where;
    } else {
      EXPECT_EQ(check(r.AboveMin ? r.Min : r.Min - 0.001).rfind(named, 0), 0u) << where;
      EXPECT_EQ(check(r.AboveMin ? r.Min + 0.001 : r.Min), "") << where;
    }
    if (std::isnan(r.Max)) {
      EXPECT_EQ(check(1e9), "") << where;
    } else {
      EXPECT_EQ(check(r.Max), "") << where;
      EXPECT_EQ(check(r.Max + 0.001).rfind(named, 0), 0u) << where;
    }
  }
  // Fields the reader takes no number from, or keeps as text, are not checked.
  for (const int field : {0, 31, 32, 37, 38, 43, 44}) EXPECT_EQ(CheckFieldRange(field, "-1e300", false), "") << field;
  // A light aircraft's gear position is not read at all.
  EXPECT_EQ(CheckFieldRange(28, "0/5000", false), "");
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
