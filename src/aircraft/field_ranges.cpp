#include "aircraft/field_ranges.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "aircraft/aircraft_file.h"
#include "platform/runtime/text.h"

namespace zarv::aircraft {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A bound of kNone is open-ended (the reader corrects values past it);
// `aboveMin` makes the lower bound exclusive for values that are divided by
// or raised to a fractional power.
struct Range {
  const char* Caption;
  double Min;
  double Max;
  bool AboveMin = false;
};

constexpr double kMass = 1.0e6;     // kg: heavier than any aircraft that flew
constexpr double kLength = 1000;    // m
constexpr double kArea = 10000;     // m2
constexpr double kAngle = 80;       // deg: sines, cosines and tangents stay sound
// Chord relative to the root chord: the panel's centre of area and its
// aspect ratio are taken from the ratio of two tapers.
constexpr double kTaperMin = 0.05, kTaperMax = 5;
constexpr double kHeading = 3600;   // deg: any turn the flight screen writes back
constexpr double kInt16Min = -32768, kInt16Max = 32767;

// First (or only) value of fields 0..53; Caption nullptr = not checked.
const std::array<Range, kAircraftFieldCount> kFirst = {{
    {nullptr, 0, 0},                                           // 0 name
    {"パイロット重量(kg)", 1, kMass},                   // 1
    {"主翼及び風防重量(kg)", 0, kMass},                        // 2
    {"水平、垂直尾翼重量(kg)", 0, kMass},                      // 3
    {"後部胴体重量(kg)", 0, kMass},                            // 4
    {"全長 (ｍ)", 0, kLength, true},                           // 5
    {"水平尾翼モーメントアーム(ｍ)", -kLength, kLength},        // 6
    {"垂直尾翼モーメントアーム(ｍ)", -kLength, kLength},        // 7
    {"後部胴体剛性(Ｎ/Deg)", 1, 1.0e9},                        // 8
    {"巡航時(１Ｇ)の主翼のたわみ(ｍ)", -100, 100},              // 9
    {"風防及び有害抵抗", 0, kArea, true},                      // 10
    {"主翼幅(ｍ)", 1, kLength},                                // 11
    {"主翼面積(㎡)", 0, kArea, true},                          // 12
    {"主翼端捻り下げ角(deg)", -45, 45},                        // 13
    {"主翼取り付け角(deg)", -45, 45},                          // 14
    {"内翼上反角(deg)", -kAngle, kAngle},                      // 15
    {"内翼テーパー比", kTaperMin, kTaperMax},                       // 16
    {"外翼上反角(deg)", -kAngle, kAngle},                      // 17
    {"外翼テーパー比", kTaperMin, kTaperMax},                       // 18
    {"翼端部長さ(ｍ)", 0, kLength},                            // 19
    {"翼端部上反角(deg)", -kAngle, kAngle},                    // 20
    {"翼端部テーパー比", 0, kTaperMax},                           // 21
    {"水平尾翼面積(㎡)", 0, kArea},                            // 22
    {"水平尾翼取り付け角(deg)", -45, 45},                      // 23
    {"垂直尾翼面積(㎡)", 0, kArea},                            // 24
    {"垂直尾翼傾き角(deg)", -kAngle, kAngle},                  // 25
    {"垂直尾翼が二枚のときの間隔(ｍ)", 0, kLength},             // 26
    {"重心位置(%)", -100, 200},                                // 27
    {"尾端の機体最下面からの高さ(ｍ)", -100, 100},              // 28
    {"主翼取り付け高さ(ｍ)", 0, 100},                          // 29 0: the wing at the body bottom
    {"プラットホーム端での機体最下面高度(ｍ)", 0, 1.0e6},       // 30
    {nullptr, 0, 0},                                           // 31 wing airfoil
    {nullptr, 0, 0},                                           // 32 tail airfoil
    {"垂直尾翼作動", kInt16Min, kInt16Max},                    // 33
    {"水平尾翼作動", kInt16Min, kInt16Max},                    // 34
    {"Engines", 0, 100},                                       // 35
    {"Fuel(kg)", 0, kMass},                                    // 36
    {nullptr, 0, 0},                                           // 37 engine family
    {nullptr, 0, 0},                                           // 38 engine model
    {"操縦比", kNone, 1.0e6},                                  // 39 packed, clamped on reading
    {"動翼動作速度Deg/Sec", 0, kNone},                         // 40 above 240 reads as 240
    {"ﾋﾟｯﾁ応答特性", -1000, 1000},                             // 41
    {"ﾋﾟｯﾁ減衰特性", -1000, 1000},                             // 42
    {nullptr, 0, 0},                                           // 43 reserved
    {nullptr, 0, 0},                                           // 44 reserved
    {"発進速度", kNone, 5000},                                 // 45 below 1 reads as 1
    {"風    速", kNone, 200},                                  // 46 below 0 reads as 0
    {"機首方位", -kHeading, kHeading},                         // 47
    {"バンク角", -kHeading, kHeading},                         // 48 over 1 rad reads as 0
    {"ピッチ角", -kHeading, kHeading},                         // 49 limited on reading
    {"風向方位", -kHeading, kHeading},                         // 50
    {"気   圧", 0, 2000},                                      // 51 0 reads as 1013
    {"気   温", -273, 1000},                                   // 52 limited at the load
    {"Check8", kInt16Min, kInt16Max},                          // 53
}};

// The second value of the pair fields.
const Range* SecondRange(int field) {
  static const Range kFlap{"最大ﾌﾗｯﾌﾟ角(deg)", -90, 90};
  static const Range kInnerSweep{"内翼後退角(deg)", -kAngle, kAngle};
  static const Range kOuterSweep{"外翼後退角(deg)", -kAngle, kAngle};
  static const Range kTipSweep{"翼端部後退角(deg)", -kAngle, kAngle};
  static const Range kGear{"前後位置（ｍ）", -kLength, kLength};
  switch (field) {
    case 14: return &kFlap;
    case 15: return &kInnerSweep;
    case 17: return &kOuterSweep;
    case 20: return &kTipSweep;
    case 28: return &kGear;
    default: return nullptr;
  }
}

std::string Caption(int field, const Range& r, bool powered) {
  if (powered && field == 1) return "前部胴体重量(kg)";
  if (powered && field == 2) return "主翼重量(kg)";
  if (powered && field == 28) return "降着装置長さ(ｍ)";
  return r.Caption;
}

// Plain decimals for the usual magnitudes, an exponent for the rest.
std::string Number(double v) {
  char buf[64];
  const auto format = std::fabs(v) < 1e9 ? std::chars_format::fixed : std::chars_format::scientific;
  const auto r = std::to_chars(buf, buf + sizeof buf, v, format);
  return std::string(buf, r.ptr);
}

// Blanks only: what a short file gives for the fields it never reached.
bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

std::string Check(const std::string& caption, const Range& r, double v, bool missing = false) {
  const bool low = !std::isnan(r.Min) && (r.AboveMin ? !(v > r.Min) : !(v >= r.Min));
  const bool high = !std::isnan(r.Max) && !(v <= r.Max);
  if (!low && !high) return {};
  std::string allowed;
  if (std::isnan(r.Min)) {
    allowed = Number(r.Max) + " 以下";
  } else if (std::isnan(r.Max)) {
    allowed = Number(r.Min) + (r.AboveMin ? " より大きい値" : " 以上");
  } else {
    allowed = Number(r.Min) + (r.AboveMin ? " より大きく " : " 以上 ") + Number(r.Max) + " 以下";
  }
  if (missing) return "「" + caption + "」の値がありません。" + allowed + "の値が必要です。";
  return "「" + caption + "」の値 " + Number(v) + " は範囲外です。" + allowed + "にして下さい。";
}

// The fields the reader takes a number from (43 and 44 are kept as text).
bool IsNumericField(int field) {
  return (field >= 1 && field <= 30) || (field >= 33 && field <= 36) || (field >= 39 && field <= 42) ||
         (field >= 45 && field <= 53);
}

}  // namespace

bool HoldsNonText(std::string_view line) {
  for (const char c : line) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && b != '\t') || b == 0x7F) return true;
  }
  return false;
}

std::string CheckAircraftFileFormat(const std::vector<std::string>& lines) {
  const size_t count = std::min(lines.size(), static_cast<size_t>(kAircraftLineCount));
  for (size_t i = 0; i < count; ++i) {
    if (HoldsNonText(lines[i])) {
      return "機体ファイルではありません（" + std::to_string(i + 1) + " 行目に文字でないデータがあります）。";
    }
  }
  // Fuel is read only with an engine; the class names some of the fields.
  const auto field = [&](int i) { return static_cast<size_t>(i) + 1 < count ? lines[static_cast<size_t>(i) + 1] : ""; };
  const bool powered = FieldValue(field(45)) > 10;
  const bool engines = FieldValue(field(35)) > 0.5;
  for (int i = 1; static_cast<size_t>(i) + 1 < count; ++i) {
    const std::string& text = lines[static_cast<size_t>(i) + 1];
    if (!IsNumericField(i) || (i == 36 && !engines) || IsBlank(text) || ValLength(text) > 0) continue;
    return "機体ファイルではありません（" + std::to_string(i + 2) + " 行目の「" +
           Caption(i, kFirst[static_cast<size_t>(i)], powered) + "」が数値ではありません）。";
  }
  return {};
}

std::string CheckFieldRange(int field, std::string_view text, bool powered) {
  if (field < 0 || field >= kAircraftFieldCount) return {};
  const Range& first = kFirst[static_cast<size_t>(field)];
  if (first.Caption == nullptr) return {};
  std::string message = Check(Caption(field, first, powered), first, FieldValue(text), IsBlank(text));
  if (!message.empty()) return message;
  const Range* second = SecondRange(field);
  if (second == nullptr || (field == 28 && !powered)) return {};
  return Check(second->Caption, *second, PairSecondValue(text));
}

std::string CheckFieldRanges(const std::array<std::string, kAircraftFieldCount>& fields) {
  const bool powered = FieldValue(fields[45]) > 10;
  const bool engines = FieldValue(fields[35]) > 0.5;  // the reader's rounded count above 0
  for (int i = 1; i < kAircraftFieldCount; ++i) {
    if (i == 36 && !engines) continue;
    std::string message = CheckFieldRange(i, fields[static_cast<size_t>(i)], powered);
    if (!message.empty()) return message;
  }
  return {};
}

}  // namespace zarv::aircraft
