#include "records/log_picker.h"

#include <algorithm>

#include "flight/flight_state.h"
#include "logbook/log_filing.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "records/flight_data_form.h"
#include "logbook/flight_log.h"
#include "logbook/log_text.h"
#include "shell/shell_state.h"
#include "platform/runtime/program_state.h"

namespace zarv::records {

const char* const kChooseFileMessage = "ファイルを選んで下さい。";
const char* const kNoSuchFileMessage = "ファイルが見つかりません：";
const char* const kUnreadableMessage = "フライトデータを読み込めませんでした。";

LogPickerLink& LogPickerHost() { return ProgramWide<LogPickerLink>(); }

std::string LogListRow(const DateTime& modified, const std::string& firstLine) {
  // No flight comes near ten thousand kilometres: a damaged summary
  // ("1e400") shows the most the row has room for.
  constexpr double kMostListed = 9999999;
  const double distance = std::clamp(LogValue(Val(firstLine)), -kMostListed, kMostListed);
  return FormatDate(modified, "yyyy/mm/dd hh:mm") + " " + Format(distance, "###0") + "m";
}

// Only the first line is read: the listing reads it for every log.
std::string FirstLine(const std::string& path) { return FirstTextLine(path, kMaxLogFileBytes); }

std::vector<LogListing> ListAircraftLogs(const std::string& folder, const std::string& logSuffix) {
  std::vector<LogListing> out;
  // The filing's own rule: digits followed by exactly this aircraft's suffix.
  for (const std::string& name : AircraftLogs(folder, logSuffix)) {
    const std::string path = JoinPath(folder, name);
    const DateTime t = FileModTime(path).value_or(DateTime{});
    out.push_back({name, LogListRow(t, FirstLine(path))});
  }
  return out;
}

FileSelectForm::FileSelectForm() {
  SetBorderStyle(vbFixedSingle);
  SetKeyPreview(true);
  Command4.SetCancel(true);
  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  OnActivate = [] { shell::Shell().FormActiveFlags[shell::kSlotFileSelect] = 1; };
  OnDeactivate = [] { shell::Shell().FormActiveFlags[shell::kSlotFileSelect] = 0; };
  OnLostFocus = [this] { SetFocus(); };  // back to the front
  Dir1.OnChange = [this] { Dir1_Change(); };
  List1.OnClick = [this] { List1_Click(); };
  List2.OnClick = [this] { List1.SetListIndex(List2.ListIndex()); };
  List1.OnDblClick = [this] {
    if (List1.ListIndex() >= 0) {
      List1_Click();
      Command2_Click();
    }
  };
  List2.OnDblClick = List1.OnDblClick;
  Text1.OnChange = [this] { Text1_Change(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command4.OnClick = [this] {
    Unload();
    shell::Shell().LogCaller = kLogCallerNone;
  };
}

void FileSelectForm::Prepare(int16_t caller, flight::FlightRecord* target, LogHandOver handOver) {
  caller_ = caller;
  target_ = target;
  handOver_ = std::move(handOver);
}

void FileSelectForm::Form_Load() {
  shell::ShellState& sh = shell::Shell();
  const double tpp = sh.TwipsPerPixel;
  SetCaption("ファイルを開く");
  SetWidth(460 * tpp);
  SetHeight(335 * tpp);
  CentreOn(Screen().Width() / 2, Screen().Height() / 2);
  sh.FormSavedWidth[shell::kSlotFileSelect] = CheckedRound<int16_t>(Width());
  sh.FormSavedHeight[shell::kSlotFileSelect] = CheckedRound<int16_t>(Height());
  for (Control* c : std::initializer_list<Control*>{&Label2, &Label5, &Dir1, &Label4, &Text1, &List1, &List2,
                                                    &Label1, &Command2, &Command4}) {
    c->SetFontName("ＭＳ Ｐゴシック");
    c->SetFontSize(11 * ((c == &Command2 || c == &Command4) ? sh.FontScale : 1.0));
  }
  Label2.SetCaption("ディレクトリ：");
  Label2.Move(10, 8, 90, 18);
  Label5.Move(100, 8, 350, 18);
  Dir1.Move(10, 30, 200, 112);
  Label4.SetCaption("ファイル名：");
  Label4.Move(220, 30, 120, 18);
  Text1.Move(220, 50, 230, 22);
  List1.Move(10, 150, 200, 120);
  List2.Move(215, 150, 235, 120);
  Label1.Move(10, 276, 440, 18);
  Label1.SetCaption("");
  Command2.SetCaption("OK");
  Command2.Move(260, 300, 90, 25);
  Command4.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Command4.Move(360, 300, 90, 25);
  File1.SetPattern("*.csv");
  File1.SetVisible(false);
  File1.SetEnabled(false);
  List1.SetVisible(true);
  List1.SetEnabled(true);
  const std::string folder = ProgramPath("\\FlightData\\");
  if (!Dir1.SetPath(folder)) Dir1_Change();  // not there: an empty listing
  Label5.SetCaption(ShownName(File1.Path()));
}

void FileSelectForm::Dir1_Change() {
  File1.SetPath(Dir1.Path());
  Label5.SetCaption(ShownName(Dir1.Path()));
  if (shell::Shell().ScreenMode == shell::kScreenModeRegister) {
    Text1.SetText("*.brd");
    return;
  }
  Text1.SetText("");
  List1.Clear();
  List2.Clear();
  listed_.clear();
  const std::string suffix = LogPickerHost().LogSuffix();
  for (const LogListing& l : ListAircraftLogs(Dir1.Path(), suffix)) {
    listed_.push_back(l.Name);
    List1.AddItem(ShownName(l.Name));
    List2.AddItem(l.Row);
  }
}

void FileSelectForm::List1_Click() {
  const int row = List1.ListIndex();
  if (List1.Text().empty() || row < 0 || row >= static_cast<int>(listed_.size())) return;
  Text1.SetText(shown_.Show(listed_[static_cast<size_t>(row)]));
  if (List2.ListIndex() != List1.ListIndex()) List2.SetListIndex(List1.ListIndex());
}

void FileSelectForm::Text1_Change() {
  const std::string shown = Text1.Text();
  if (shown == "*.br*" || Len(shown) < 6) {
    Label1.SetCaption("");
    return;
  }
  // A typed name that names no file shows nothing.
  const std::string path = JoinPath(Dir1.Path(), TypedName());
  Label1.SetCaption(FileExists(path) ? FirstLine(path) : std::string());
}

void FileSelectForm::Command2_Click() {
  if (reading_) return;
  const std::string title = shell::Shell().AppName;
  const std::string name = TypedName();
  if (Len(Text1.Text()) <= 5) {
    MsgBox(kChooseFileMessage, vbExclamation, title);
    return;
  }
  const std::string path = JoinPath(Dir1.Path(), name);
  if (!FileExists(path)) {
    MsgBox(kNoSuchFileMessage + ShownName(name), vbExclamation, title);
    return;
  }
  if (target_ == nullptr) return;
  reading_ = true;
  Hide();
  std::string error;
  const ReadLogFunction read = LogPickerHost().ReadLog;
  const bool ok = read && read(path, *target_, &error);
  reading_ = false;
  if (!ok) {
    MsgBox(error.empty() ? std::string(kUnreadableMessage) : error, vbExclamation, title);
    Show();
    return;
  }
  // The hand-over may open this picker again (a replay nested in a replay):
  // keep our own copy.
  const LogHandOver handOver = handOver_;
  const std::string summary = FirstLine(path);
  if (handOver) handOver(summary);
  Unload();
}

void FileSelectForm::Form_Unload(int&) {
  shell::ShellState& sh = shell::Shell();
  sh.FormActiveFlags[shell::kSlotFileSelect] = 0;
  flight::FlightState& s = flight::State();
  s.Loop.PassesThisSecond = 0;
  s.Loop.TimeMark = CheckedRound<int64_t>(Timer());
  if (sh.FormActiveFlags[shell::kSlotFlightData] > 0) Flight_Data().Label10.SetEnabled(true);
}

FileSelectForm& File_Select() {
  static FileSelectForm form;
  return form;
}

void OpenLogPicker(int16_t caller, flight::FlightRecord& target, LogHandOver handOver) {
  shell::Shell().LogCaller = caller;
  FileSelectForm& f = File_Select();
  f.Prepare(caller, &target, std::move(handOver));
  f.Show();
}

}  // namespace zarv::records
