#include "shell/editor_data.h"

#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/field_ranges.h"
#include "shell/settings.h"

namespace zarv::shell {

namespace {

struct Row {
  const char* caption;
  const char* tooltip;
};

const Row kRows[kEditorRows] = {
    {"パイロット重量(kg)",
     "パイロットの装備品を含んだ体重です。重心移動に対する機体の反応を決める要素となります｡"},
    {"主翼及び風防重量(kg)", "機体の後部胴体取り付け以後の重量を除いた重量です。"},
    {"水平、垂直尾翼重量(kg)",
     "水平、垂直尾翼の合計重量です。機体の慣性モーメントを決定する要素になります｡ \""},
    {"後部胴体重量(kg)", "後部胴体の重量です。機体の慣性モーメントを決定する要素になります｡"},
    {"全長 (ｍ)", ""},
    {"水平尾翼モーメントアーム(ｍ)",
     "機体中心線上の翼断面形の２５％位置からの距離を入力して下さい｡ただし､無尾翼の場合でも0は入力し"
     "ないで下さい。"},
    {"垂直尾翼モーメントアーム(ｍ)",
     "機体中心線上の翼断面形の２５％位置からの距離を入力して下さい｡"},
    {"後部胴体剛性(Ｎ/Deg)",
     "後部胴体の剛性です。水平尾翼取付部で後部胴体の構造線を一度（Deg）曲げる力("
     "Newton）を入力して下さい。"},
    {"巡航時(１Ｇ)の主翼のたわみ(ｍ)", "主翼端の巡航時（１Ｇ）のたわみ量を入力して下さい。"},
    {"風防及び有害抵抗", "翼以外の抵抗です。"},
    {"主翼幅(ｍ)", "主翼幅です。"},
    {"主翼面積(㎡)", "主翼面積です。"},
    {"主翼端捻り下げ角(deg)",
     "主翼端の捻り下げの角度です。捻り下げの角度は主翼長の半分までが0度で､それから翼端に向かって斬"
     "増し翼端でこの角度になるようになっています｡ご了承ください｡"},
    {"主翼取り付け角(deg)", "主翼取り付け角です。"},
    {"内翼上反角(deg)/内翼後退角(deg)", ""},
    {"内翼テーパー比", ""},
    {"外翼上反角(deg)/外翼後退角(deg)", ""},
    {"外翼テーパー比", ""},
    {"翼端部長さ(ｍ)", ""},
    {"翼端部上反角(deg)/翼端部後退角(deg)", ""},
    {"翼端部テーパー比", ""},
    {"水平尾翼面積(㎡)", "水平尾翼面積です。"},
    {"水平尾翼取り付け角(deg)",
     "設計上の水平尾翼取り付け角です。そのため、静止時は後部胴体の剛性のため垂れ下がるようになりま"
     "す。"},
    {"垂直尾翼面積(㎡)", "垂直尾翼面積です。"},
    {"垂直尾翼傾き角(deg)", "垂直尾翼が２枚の時の垂直からの傾きです。"},
    {"垂直尾翼が二枚のときの間隔(ｍ)",
     "垂直尾翼が２枚の時の間隔です。この値を0にすると垂直尾翼が一枚になります。"},
    {"重心位置(%)", "設計重心位置です。"},
    {"尾端の機体最下面からの高さ(ｍ)", "後部胴体端部の機体下面からの高さです。"},
    {"主翼取り付け高さ(ｍ)",
     "主翼の生えている位置の胴体最下部からの高さです。地面効果を決定する要素です｡"},
    {"プラットホーム端での機体最下面高度(ｍ)", "踏み切り時の胴体最下面の湖水面からの高さです。"},
};

// Numeric value as the editor shows it: "2", "4500", "0".
std::string NumberText(double v) { return Trim(Str(v)); }

}  // namespace

std::string EditorRowCaption(int row, double launchSpeed, int engineCount) {
  if (row < 1 || row > kEditorRows) return {};
  if (row == 1 && launchSpeed >= 10) return "前部胴体重量(kg)";
  if (row == 2 && launchSpeed >= 10) return "主翼重量(kg)";
  if (row == 14 && engineCount != 0) return "主翼取り付け角(deg)/最大ﾌﾗｯﾌﾟ角(deg)";
  if (row == 28 && launchSpeed > 10) return "降着装置長さ(ｍ)/前後位置（ｍ）";
  return kRows[row - 1].caption;
}

std::string EditorRowTooltip(int row) {
  if (row < 1 || row > kEditorRows) return {};
  return kRows[row - 1].tooltip;
}

namespace {
const char* const kCommonAirfoils[] = {"NACA0009", "NACA0012", "NACA4412",  "NACA4415",
                                       "NACA6412", "DAE41?",   "FX61-126?", "NACA64A510?"};
}  // namespace

std::vector<std::string> WingAirfoilList(const std::string& selectedFileName, int engineCount) {
  std::vector<std::string> l(std::begin(kCommonAirfoils), std::end(kCommonAirfoils));
  if (selectedFileName == "Nuvel2000.brd") l.push_back("AG-160-21?");
  if (engineCount > 0)
    for (const char* s :
         {"NACA64A710?", "NACA64A210?", "NACA64A205?", "NACA64A005?", "NACA64A105LE?"})
      l.push_back(s);
  return l;
}

std::vector<std::string> TailAirfoilList(int engineCount) {
  std::vector<std::string> l(std::begin(kCommonAirfoils), std::end(kCommonAirfoils));
  if (engineCount > 0)
    for (const char* s : {"NACA64A210?", "NACA64A205?", "NACA64A005?"}) l.push_back(s);
  return l;
}

const std::vector<std::string>& EngineFamilyList() {
  static const std::vector<std::string> kFamilies = {"Turbofan", "Aug fan(USA)", "Aug fan",
                                                     "Turbojet", "Piston"};
  return kFamilies;
}

std::vector<std::string> EngineModelsFor(const std::string& family) {
  if (family == "Piston")
    return {"O-200",       "RR V1650-7",  "Racing Marin", "栄２１",
            "PW R2800-18", "PW R2800-63", "PW R4360-63",  "M-14P"};
  if (family == "Turbofan") return {"JT8D-9", "F3-IHI30", "PW4052", "PW4090"};
  if (family == "Aug fan(USA)")
    return {"F100-PW100", "F119-PW100", "F404-GE400", "F404-GE402", "F110-GE129", "TFE1042-70"};
  if (family == "Aug fan")
    return {"AL-31F", "AL-37FU", "RD-33", "TF40-IHI801", "RB168-Mk202", "RM8B", "FNX-5011B"};
  if (family == "Turbojet") return {"J79-GE17", "J79-GE8A", "J85-GE21", "Olympus", "LMDPS", "SSME"};
  return {};
}

bool ReadEditorEntries(const std::string& path, EditorEntries& e) {
  e = EditorEntries{};
  bool ok = false;
  const std::vector<std::string> lines =
      FileExists(path) ? ReadTextLines(path, &ok, aircraft::kMaxAircraftFileBytes, aircraft::kAircraftLineCount)
                       : std::vector<std::string>{};
  if (!ok || lines.empty()) return false;
  auto field = [&](int i) -> std::string {
    const size_t at = static_cast<size_t>(i) + 1;
    return at < lines.size() ? lines[at] : std::string();
  };
  auto checkBox = [](const std::string& line, int current) {
    const double v = Val(line);
    if (v < 0 || v >= 2) return current;
    const int moves = CInt(1 - v);
    return moves < 0 ? 0 : (moves > 1 ? 1 : moves);
  };
  e.Name = field(0);
  for (int i = 1; i <= kEditorRows; ++i) e.Numbers[static_cast<size_t>(i) - 1] = field(i);
  e.WingAirfoil = field(31);
  e.TailAirfoil = field(32);
  e.FinMoves = checkBox(field(33), 0);
  e.TailplaneMoves = checkBox(field(34), 0);
  const double engines = Val(field(35));
  e.EngineCountText = NumberText(engines);
  e.EngineCountRead = engines > 0 ? 1 : 0;
  e.FuelText = NumberText(Val(field(36)));
  e.EngineFamily = field(37);
  e.EngineModel = field(38);
  return true;
}

namespace {

// The text as Val reads it, with nothing after the number but blanks; in a
// row that holds two values, also two numbers joined by "/".
bool IsNumberEntry(std::string_view text, bool pair) {
  const size_t n = ValLength(text);
  if (n == 0) return false;
  const std::string_view rest = text.substr(n);
  if (Trim(rest).empty()) return true;
  if (!pair || rest.front() != '/') return false;
  const std::string_view second = rest.substr(1);
  const size_t m = ValLength(second);
  return m > 0 && Trim(second.substr(m)).empty();
}


std::string NumberExpected(const std::string& caption) {
  return "「" + caption + "」には数値を入力して下さい。";
}

}  // namespace

std::string CheckEditorEntries(const EditorEntries& e, double launchSpeed, int engineCount) {
  // A text field is one line of the file: a pasted line break would shift
  // every later field, and the reader refuses a control character. Text the
  // readers would silently take as 0 is refused too. Both before anything is
  // written, in the order of the fields.
  auto text = [](const std::string& t, const char* caption) {
    return aircraft::HoldsNonText(t) ? "「" + std::string(caption) + "」に改行や制御文字は使えません。" : std::string();
  };
  std::string refusal = text(e.Name, "機体名");
  for (int row = 1; row <= kEditorRows && refusal.empty(); ++row) {
    if (!IsNumberEntry(e.Numbers[static_cast<size_t>(row) - 1], aircraft::IsPairField(row)))
      refusal = NumberExpected(EditorRowCaption(row, launchSpeed, engineCount));
  }
  if (refusal.empty()) refusal = text(e.WingAirfoil, "主翼翼型");
  if (refusal.empty()) refusal = text(e.TailAirfoil, "水平尾翼翼型");
  if (refusal.empty() && !IsNumberEntry(e.EngineCountText, false)) refusal = NumberExpected("Engines");
  if (refusal.empty() && !IsNumberEntry(e.FuelText, false)) refusal = NumberExpected("Fuel(kg)");
  if (refusal.empty()) refusal = text(e.EngineFamily, kEngineFamilyCaption);
  if (refusal.empty()) refusal = text(e.EngineModel, kEngineModelCaption);
  if (!refusal.empty()) return refusal;

  auto value = [&](int row) { return Val(Trim(e.Numbers[static_cast<size_t>(row) - 1])); };
  auto refuse = [&](int row) {
    return "「" + EditorRowCaption(row, launchSpeed, engineCount) + "」に 0 は入力できません。";
  };
  if (value(1) == 0) return refuse(1);  // the pilot's mass divides the trim arm
  if (value(1) + value(2) + value(3) + value(4) <= 0) return refuse(2);
  if (value(11) == 0) return refuse(11);
  if (value(12) == 0) return refuse(12);
  const bool powered = launchSpeed > 10;
  if (value(22) == 0 && powered) return refuse(22);
  if (value(24) == 0 && powered) return refuse(24);
  if (value(6) == 0 && value(22) != 0) return refuse(6);
  if (value(7) == 0 && value(24) != 0) return refuse(7);
  return {};
}

std::string CheckEditorRanges(const EditorEntries& e, double launchSpeed) {
  const bool powered = launchSpeed > 10;
  for (int row = 1; row <= kEditorRows; ++row) {
    std::string message =
        aircraft::CheckFieldRange(row, aircraft::TrimmedField(row, e.Numbers[static_cast<size_t>(row) - 1]), powered);
    if (!message.empty()) return message;
  }
  std::string message = aircraft::CheckFieldRange(35, Trim(e.EngineCountText), powered);
  if (message.empty() && Val(Trim(e.EngineCountText)) > 0.5) {
    message = aircraft::CheckFieldRange(36, Trim(e.FuelText), powered);
  }
  return message;
}

std::vector<std::string> EditorFileLines(const EditorEntries& e, aircraft::AircraftData& a) {
  aircraft::StoreEditorFields(a);
  std::vector<std::string> l;
  l.reserve(aircraft::kAircraftLineCount);
  l.push_back(a.AircraftTag);
  l.push_back(e.Name);
  for (int row = 1; row <= kEditorRows; ++row) l.push_back(aircraft::TrimmedField(row, e.Numbers[static_cast<size_t>(row) - 1]));
  l.push_back(e.WingAirfoil);
  l.push_back(e.TailAirfoil);
  l.push_back(IntegerText(1 - e.FinMoves));
  l.push_back(IntegerText(1 - e.TailplaneMoves));
  l.push_back(Trim(e.EngineCountText));
  l.push_back(Trim(e.FuelText));
  l.push_back(e.EngineFamily);
  l.push_back(e.EngineModel);
  for (int i = 39; i <= 53; ++i) l.push_back(a.AircraftLines[static_cast<size_t>(i)]);
  return l;
}

bool SaveEditorEntries(const EditorEntries& e, aircraft::AircraftData& a, bool* tooLarge) {
  // What the user left as it was keeps the file's bytes.
  return RewriteTextLines(aircraft::HandOverPath(), EditorFileLines(e, a), aircraft::kMaxAircraftFileBytes,
                          tooLarge);
}

}  // namespace zarv::shell
