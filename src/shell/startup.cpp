#include "shell/startup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/runtime/cp932.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"
#include "shell/sky_bands.h"
#include "platform/runtime/program_state.h"

namespace zarv::shell {

StartupHooks& Hooks() { return ProgramWide<StartupHooks>(); }

const char* const kRootFolderMessage =
    "  適当なフォルダーを新規作成し、解凍\r\nによって作成されたファイル\r\n"
    "のファイル) をそのフォルダー内にコピーして下さい。";
const char* const kMissingHandOverMessage =
    "前回の機体データ(Temp\\file.dat)が見つかりません。\r\n通常の起動を行います。";

bool IsRootFolder(const std::string& folder) {
  // A backslash is no separator here: a Shift-JIS name may end in its byte
  // (ソ is 83 5C), and only "/" (however often written) is the root.
  return folder.find_first_not_of('/') == std::string::npos;
}

std::string LineBreakFolderMessage(const std::string& folder) {
  return "プログラムのフォルダー名に改行が含まれています。\r\n「" + ShownName(folder) +
         "」\r\n改行を含まない名前のフォルダーに移してから起動して下さい。";
}

bool IsDeveloperFolder(const std::string& folder) { return Right(folder, 7) == "Testlab"; }

const std::vector<std::string>& HelpContentsLines() {
  static const std::vector<std::string> kLines = {
      ": Base ZARV.hlp",
      "1 Zarv for Windows V0.95の概要",
      "2 Zarvとは = IDH_Zarv",
      "2 使用上の注意 = IDH_Note",
      "2 インストール = IDH_Instal",
      "2 プログラムの流れ = IDH_Flow",
      "2 バージョンの違い = IDH_Version",
      "1 操作",
      "2 操作メニュー = IDH_Menu",
      "2 機体選択 = IDH_Select",
      "2 フライト",
      "3 フライト = IDH_Flight",
      "3 飛行のキャンセル = IDH_Cancel",
      "2 ビデオ",
      "3 ビデオ再生 = IDH_Video",
      "3 ビデオ再生の設定 = IDH_Videooption",
      "3 ファイルを開く = Fileopen",
      "2 その他の操作",
      "3 順位 = IDH_Ranking",
      "3 翼型特性 = IDH_Foil_Property",
      "3 機体特性 = IDH_Aircraft_Property",
      "3 飛行記録 = IDH_Flight_Data",
      "3 機体データの変更､作成 = IDH_Datainput",
      "3 機体の登録 = IDH_Save",
      "1 各種設定",
      "2 フライトの表示モード変更 = IDH_Mode",
      "2 発進条件の変更 = IDH_Startoption",
      "2 ビデオ再生の設定 = IDH_Videooption",
  };
  return kLines;
}

std::vector<std::string> ReadmeLines(const std::string& buildDate) {
  std::vector<std::string> l = {
      "Zarv 注意事項　" + buildDate,
      "",
      "１．ご利用について",
      "　このプログラムは無償で自由にお使いいただけます。",
      "　再配布は、添付のファイルをすべてそのままの形でまとめて行ってください。",
      "　このプログラムを使用したことによって生じたいかなる損害についても、",
      "　作者は責任を負いません。各自の判断でご利用ください。",
      "",
      "２．開発の状況",
      "　このプログラムは開発の途中にあり、機能や画面は予告なく変わることがあります。",
      "　計算モデルは簡略化されており、実際の機体の性能を保証するものではありません。",
      "",
      "３．動作条件",
      "　(1) オペレーティングシステム",
      "　　　デスクトップ環境のあるパソコンで動作します。",
      "　(2) 画面",
      "　　　640×480、800×600、1024×768 の三つの画面サイズに対応しています。",
      "　　　システムのフォントサイズが大きい設定では、文字が縮小して表示されます。",
      "",
      "　(3) フォント",
      "　　　明朝体（プロポーショナル）、ゴシック体（プロポーショナル）、",
      "　　　ゴシック体（等幅）の三種類の日本語フォントを使用します。",
      "　　　入っていない場合は、表示が崩れることがあります。",
      "",
      "　(4) 必要なファイル",
      "　　　実行ファイルと同じフォルダーに、添付のファイルをすべて置いてください。",
      "　　　初回の起動時に Temp と FlightData のフォルダー、",
      "　　　および見本の機体ファイルが作られます。",
      "",
      "４．商標について",
      "　本文中に記載のシステム名、製品名は、一般に各開発元の商標または登録商標です。",
      "",
      "５．プログラムの設定",
      "　舞台は湖のほとりに設けられた高いプラットホームです。",
      "　人力飛行機やグライダーはプラットホームの端から滑走して飛び立ち、",
      "　湖面に着水するまでの飛行距離を競います。",
      "　エンジンを持つ機体は、設定した高度と速度で飛行中の状態から始まります。",
      "　飛行距離の上位２０位までは順位として記録されます。",
      "　飛行の記録は FlightData フォルダーに保存され、後から再生できます。",
      "　飛行後には、飛行データのグラフや翼型・機体の特性図も表示できます。",
      "　機体データは「機体データ入力画面」で変更し、格納庫に登録できます。",
      "",
      "６．操作の概要",
      "　次へ　　　　　：格納庫（機体選択画面）に進みます。",
      "　注意事項　　　：この文書を表示します。",
      "　ヘルプ　　　　：ヘルプを表示します。",
      "　Enter／Space　：滑走を開始します。",
      "　矢印キー　　　：昇降舵と方向舵を操作します。",
      "　F7　　　　　　：機体データを変更します。",
      "　F8　　　　　　：機体を登録します。",
      "　F10 　　　　　：機体を変更します。",
      "　F12 　　　　　：プログラムを終了します。",
      "",
      "７．お問い合わせ",
      "　ご質問やご意見は、このプログラムを入手した配布元の案内に従ってお寄せください。",
      "",
      "８．謝辞",
      "　このプログラムの開発にあたり、多くの方々のご協力をいただきました。",
      "　試験飛行に参加し、感想を寄せてくださった皆様、",
      "　機体の資料を提供してくださった皆様、",
      "　翼型の特性について助言をくださった皆様、",
      "　そして、このプログラムを使ってくださるすべての皆様に感謝いたします。",
      "",
      "　人力飛行機やグライダーの設計と製作に取り組む方々にとって、",
      "　このプログラムが少しでもお役に立てば幸いです。",
      "",
      "　見本の機体は、格納庫の Data フォルダーに入っています。",
      "　機体データを変更する前に、元のファイルを別の名前で登録しておくと安心です。",
      "",
      "以上",
  };
  return l;
}

std::string ProgramBuildDate() {
  if (auto t = FileModTime(JoinPath(ProgramFolder(), "zarv")))
    return FormatDate(*t, "yyyy年mm月dd日");
  // No executable beside the data (tests, tools): the compiler's date.
  static const char* const kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const char* d = __DATE__;  // "Mmm dd yyyy"
  DateTime t;
  t.month = static_cast<int>((std::strstr(kMonths, std::string(d, 3).c_str()) - kMonths) / 3 + 1);
  t.day = std::atoi(d + 4);
  t.year = std::atoi(d + 7);
  return FormatDate(t, "yyyy年mm月dd日");
}

std::string SortAircraftIntoHangars(const std::string& folder) {
  // A sample that cannot be written is missing from the hangar; nothing of
  // the user's is touched either way.
  static_cast<void>(aircraft::WriteSampleAircraft(folder));
  std::string hangarDefault;
  const std::vector<std::string> names = ListFiles(folder, "*.brd");
  for (size_t i = 0; i < names.size() && i <= 50; ++i) {
    const std::string from = JoinPath(folder, names[i]);
    const std::string first = FirstTextLine(from, aircraft::kMaxAircraftFileBytes);
    const bool powered = first == "PcD" || first == "PfD" || first == "JfD" || first == "JcD";
    const std::string tag = powered ? first : std::string(1, 'D');
    const std::string hangar = JoinPath(folder, tag + "ata");
    MakeDir(hangar);
    const std::string to = JoinPath(hangar, names[i]);
    // A file of the same name already in the hangar is the user's: keep both.
    if (!FileExists(to)) MoveFile(from, to);
    if (tag != "D") hangarDefault = std::string("\\").append(tag).append("ata");
  }
  return hangarDefault.empty() ? "\\Data" : hangarDefault;
}

double ScreenScaleFor(int screenSizeChoice) {
  switch (screenSizeChoice) {
    case 1:
      return 1.25;
    case 2:
      return 1.6;
    default:
      return 1.0;
  }
}

int16_t LargestScreenSize(int screenPixelWidth, int screenPixelHeight) {
  // Only a size the desktop holds whole: 800 x 600 on a 700-pixel desktop
  // would run off its edge.
  if (screenPixelWidth >= 1024 && screenPixelHeight >= 768) return 2;
  if (screenPixelWidth >= 800 && screenPixelHeight >= 600) return 1;
  return 0;
}

namespace {
bool SizeSuffixed(int choice, std::string* digit) {
  if (choice < 0 || choice > 2) return false;
  *digit = std::to_string(choice);
  return true;
}
}  // namespace

bool NeedSkyBackgrounds(const Settings& s, int16_t sizeInUse, double lengthNow, bool developerMode,
                        const std::string& tempFolder) {
  if (std::fabs(s.GradientBitmapLength - lengthNow) > 1 || developerMode) return true;
  std::string n;
  return SizeSuffixed(sizeInUse, &n) &&
         !FileExists(JoinPath(tempFolder, "Back" + n + ".bmp"));
}

bool NeedPanelArt(const Settings& s, int16_t sizeInUse, double lengthNow, const std::string& tempFolder) {
  if (lengthNow < s.GradientBitmapLength) return true;
  std::string n;
  if (SizeSuffixed(sizeInUse, &n) &&
      (!FileExists(JoinPath(tempFolder, "Panel" + n + ".bmp")) ||
       !FileExists(JoinPath(tempFolder, "Mask" + n + ".bmp"))))
    return true;
  for (int i = 1; i <= 41; ++i)
    if (!FileExists(JoinPath(tempFolder, "logo" + std::to_string(i) + ".bmp"))) return true;
  return false;
}

int16_t Low16(long long length) {
  const auto low = static_cast<uint16_t>(static_cast<unsigned long long>(length) & 0xFFFFu);
  return static_cast<int16_t>(low);
}

std::string SetAsideUnreadableSettings(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  const std::string aside = MoveToFreeName(path, folder, "set-unreadable", ".ini");
  std::string notice = "設定ファイルを読み込めませんでした。\r\n" + ShownName(path) + "\r\n";
  if (!aside.empty()) notice += "このファイルは名前を変えて残しました。\r\n" + ShownName(aside) + "\r\n";
  return notice + "初期設定で起動します。";
}

std::string WaitingScreenText(const Settings& s, int16_t sizeInUse) {
  return s.CachedScreenSizeChoice != sizeInUse ? "画面サイズの変更を行っています。" : "機体外形の再計算を行っています。";
}

namespace {
// The temporary files of saves that a killed run never finished. The
// program folder, Temp and FlightData are the program's own: every name a
// writer of ours ever gave goes. Every other folder in the program folder
// (the hangars, Data among them, and any of the user's) holds the user's
// files too, as do the hangar folders the settings know, which may lie
// deeper or elsewhere, and the one the aircraft's link leads to: there only
// what a save of this version or of the aircraft file can have left goes.
// No link in the program folder is followed but Temp's and FlightData's,
// which stay the program's wherever they lead: another may be anyone's
// folder. The settings' folders are the ones the user chose, links and all.
void RemoveLeftoverTemps(const std::string& folder, const Settings* s) {
  std::vector<std::string> saved;
  std::vector<std::string> hangars;
  if (s) {
    std::error_code ec;
    const std::filesystem::path aircraft(s->AircraftFilePath);
    const std::filesystem::path linked =
        aircraft.empty() ? std::filesystem::path() : std::filesystem::weakly_canonical(aircraft, ec);
    saved = {s->AircraftFileName, aircraft.filename().string(), linked.filename().string()};
    hangars = {s->HangarDir, aircraft.parent_path().string(), linked.parent_path().string()};
  }
  RemoveOrphanTempsBelow(folder, {"Temp", "FlightData"}, saved);
  for (const std::string& hangar : hangars)
    if (!hangar.empty()) RemoveOrphanTemps(hangar, saved);
}
}  // namespace

StartupOutcome PrepareEnvironment(int screenWidthTwips, int screenHeightTwips,
                                  const std::function<void(const StartupOutcome&)>& showSplash) {
  StartupOutcome out;
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  std::string folder = ProgramFolder();

  sh.DeveloperMode = IsDeveloperFolder(folder);
  if (sh.DeveloperMode) {
    // A developer's working copy runs on the data of the folder beside it.
    folder = Left(folder, Len(folder) - 7) + "Zarv";
    SetProgramFolder(folder);
    sh.ProgramFileDate.clear();
  } else {
    sh.ProgramFileDate = ProgramBuildDate();
  }
  if (IsRootFolder(folder)) {
    out.refused = true;
    out.refusal = kRootFolderMessage;
    return out;
  }
  // The settings keep the folder's path one line a value: a line break in it
  // would shift every later line.
  if (HoldsLineBreak(folder)) {
    out.refused = true;
    out.refusal = LineBreakFolderMessage(folder);
    return out;
  }

  const std::string temp = ProgramPath("\\Temp");
  out.firstRun = !DirExists(temp);
  sh.NoticeNextPressed = out.firstRun ? 0 : 1;
  if (out.firstRun) {
    MakeDir(temp);
    // The contents file belongs to the help file: without one it is not
    // written (the help text of the help window needs none).
    for (const char* help : {"Zarv.hlp", "zarv.hlp", "ZARV.HLP"}) {
      if (FileExists(JoinPath(folder, help))) {
        out.wroteHelpContents = WriteTextLines(ProgramPath("\\Zarv.cnt"), HelpContentsLines());
        break;
      }
    }
  }
  if (!DirExists(ProgramPath("\\FlightData"))) MakeDir(ProgramPath("\\FlightData"));

  const std::string settingsPath = SettingsPath();
  const bool settingsThere = PathExists(settingsPath);
  bool readable = true;
  SettingsValid() = settingsThere && LoadSettings(settingsPath, s, &readable);
  if (!SettingsValid()) {
    // No file, or one whose first line was rejected: the defaults.
    s.Reset();
    s.WindowCentreX = CLng(screenWidthTwips / 2.0);
    s.WindowCentreY = CLng(screenHeightTwips / 2.0);
  }
  // A start mode that names no screen would leave the program without one.
  if (s.ExitMode < 0 || s.ExitMode > 3) s.ExitMode = 0;
  RemoveLeftoverTemps(folder, SettingsValid() ? &s : nullptr);
  // The settings must still be written (they carry the next start's mode),
  // but not over a file that may hold the user's settings.
  if (settingsThere && !readable) out.notices.push_back(SetAsideUnreadableSettings(settingsPath));
  // Before any screen can change the aircraft the settings name.
  const std::string leftover = Hooks().FileLeftoverLog(s.AircraftFileName);
  if (!leftover.empty()) out.notices.push_back(leftover);
  if (s.ExitMode == 3 && !FileExists(aircraft::HandOverPath())) {
    out.handOverMissing = true;
    s.ExitMode = 0;
  }

  if (s.ExitMode != 3) {
    bool ok = false;
    sh.TransitionSound = ReadAllBytes(JoinPath(folder, "soundn.wav"), &ok);
    if (!ok) sh.TransitionSound.clear();
    if (!sh.TransitionSound.empty()) Hooks().PlaySoundFromMemory(sh.TransitionSound);
  }

  // Read whatever the settings file held: an invalid settings file must not
  // lose the ranking (the unload writes the list back).
  if (std::string notice = RankingFile().Read(); !notice.empty()) out.notices.push_back(std::move(notice));

  if (s.ExitMode == 0) {
    // The user sees the splash while the hangars are sorted.
    if (showSplash) showSplash(out);
    if (!DirExists(ProgramPath("\\Data"))) {
      sh.HangarFolderDefault = SortAircraftIntoHangars(folder);
      out.sortedHangars = true;
    } else {
      sh.HangarFolderDefault = "\\Data";
    }
    if (!sh.DeveloperMode)
      out.wroteReadme =
          WriteTextLines(JoinPath(folder, "Readme.txt"), ReadmeLines(sh.ProgramFileDate));
  }

  Hooks().DrawGradient();
  const long long length = FileLength(ProgramPath("\\Temp\\zarv.bmp"));
  sh.GradientBitmapLengthNow = length < 0 ? 0 : static_cast<double>(length);
  // A size saved on a wider desktop is cut down here, once, before the art is
  // drawn and any screen laid out for it: every screen and the option panel
  // then take the same size. The saved choice stays: one start on a small
  // desktop must not cost the user the size of the usual one.
  const double tpp = sh.TwipsPerPixel > 0 ? sh.TwipsPerPixel : 15;
  sh.ScreenSizeInUse =
      std::min(s.ScreenSizeChoice, LargestScreenSize(CLng(screenWidthTwips / tpp), CLng(screenHeightTwips / tpp)));
  sh.ScreenScale = ScreenScaleFor(sh.ScreenSizeInUse);
  return out;
}

void PrepareScreenArt() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  BuildSkyBands(sh.GradientBitmapLengthNow, sh.ScreenScale, Sky());
  const std::string temp = ProgramPath("\\Temp");
  if (NeedSkyBackgrounds(s, sh.ScreenSizeInUse, sh.GradientBitmapLengthNow, sh.DeveloperMode, temp))
    Hooks().DrawSkyBackgrounds();
  if (NeedPanelArt(s, sh.ScreenSizeInUse, sh.GradientBitmapLengthNow, temp)) Hooks().DrawPanelArt();
  const long long length = FileLength(ProgramPath("\\Temp\\zarv.bmp"));
  s.GradientBitmapLength = Low16(length < 0 ? 0 : length);
  // Every start, whatever its mode: the next waiting screen compares with
  // the size this run is drawn at, not with the last one that had a
  // waiting screen of its own.
  s.CachedScreenSizeChoice = sh.ScreenSizeInUse;
}

}  // namespace zarv::shell
