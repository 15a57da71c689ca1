// The hangar: choosing the aircraft to fly, or registering the current one.
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/ui/app.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "shell/flight_screen_link.h"
#include "shell/hangar.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace zarv::shell {

namespace {
constexpr int kHelpTopic = 20;

// "\Data" -> ProgramFolder()/Data
std::string HangarFolderPath(const std::string& windowsStyle) {
  return windowsStyle.empty() ? ProgramFolder() : ProgramPath(windowsStyle);
}
}  // namespace

ChoiceForm::ChoiceForm() {
  SetCaption("Zarv");
  SetBorderStyle(vbFixedSingle);
  SetWidth(441 * kTwipsPerPixel);
  SetHeight(226 * kTwipsPerPixel);
  SetKeyPreview(true);
  // As wide as the name box below it: the caption needs more than 97
  // pixels in the installed face.
  Label4.Move(24, 8, 169, 17);
  Label4.SetCaption("機体ファイル名：");
  Text1.Move(24, 24, 169, 22);
  Text1.SetText("*.brd");
  File1.Move(24, 56, 169, 162);
  File1.SetPattern("*.brd");
  Label2.Move(200, 8, 113, 17);
  Label2.SetCaption("格納庫：");
  Dir1.Move(200, 24, 129, 166);
  Command2.Move(344, 16, 89, 25);
  Command2.SetCaption("OK");
  Command2.SetDefault(true);
  Command4.Move(344, 56, 89, 25);
  Command4.SetCaption("戻る");
  Command1.Move(344, 96, 89, 25);
  Command1.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Timer1.SetInterval(500);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command1.OnClick = [this] {
    Shell().FormActiveFlags[kSlotChoice] = 0;
    Unload();
  };
  Command4.OnClick = [this] { Command4_Click(); };
  Dir1.OnChange = [this] { Dir1_Change(); };
  File1.OnClick = [this] {
    if (!File1.FileName().empty() && File1.FileName() != TypedFileName()) ShowFileName(File1.FileName());
  };
  File1.OnDblClick = [this] {
    if (File1.FileName().empty()) return;
    ShowFileName(File1.FileName());
    Command2_Click();
  };
  OnActivate = [] { Shell().FormActiveFlags[kSlotChoice] = 1; };
  OnDeactivate = [this] {
    Shell().FormActiveFlags[kSlotChoice] = 0;
    // Registration gives up as soon as the user turns to another window
    // (our own questions excepted).
    if (Shell().ScreenMode == kScreenModeRegister && !asking_ && Loaded()) Unload();
  };
  OnKeyDown = [this](int& keyCode, int) {
    if (keyCode == vbKeyF12) {
      CurrentSettings().ExitMode = 0;
      Unload();
    }
  };
  OnMouseMove = [this](int, int, double, double) { SetMousePointer(vbDefault); };
  OnResize = [this] { KeepSavedSize(*this, kSlotChoice, true); };
  Timer1.OnTimer = [this] { RecordWindowCentre(*this, CurrentSettings()); };
}

int ChoiceForm::Ask(const std::string& prompt, int style) {
  asking_ = true;
  const int answer = MsgBox(prompt, style, Shell().AppName);
  asking_ = false;
  return answer;
}

void ChoiceForm::Form_Load() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  SetHelpContextID(kHelpTopic);
  SetCaption(sh.AppName);
  CentreOnWindowCentre(*this, s.WindowCentreX, s.WindowCentreY);
  for (CommandButton* b : {&Command1, &Command2, &Command4}) {
    b->SetFontName("ＭＳ Ｐゴシック");
    b->SetFontSize(sh.FontScale * 11);
    b->SetWidth(90);
    b->SetHeight(25);
  }
  Command1.SetLeft(ScaleWidth());  // out of sight in select mode
  for (Control* c : std::initializer_list<Control*>{&Dir1, &File1, &Label2, &Label4, &Text1}) {
    c->SetFontName("ＭＳ Ｐゴシック");
    c->SetFontSize(11);
  }
  SaveFormSize(*this, kSlotChoice);
  sh.TaskStartTime = Timer();

  Dir1.SetPath(ProgramFolder());
  if (sh.ScreenMode == kScreenModeRegister) {
    SetCaption("機体の登録");
    Command2.SetCaption("登　録");
    Command1.SetLeft(Command4.Left());
    Command1.SetTop(Command4.Top());
    if (File1.ListCount() > 0) {
      int found = 0;
      for (int i = 0; i < File1.ListCount() && i != 100; ++i)
        if (File1.List(i) == s.AircraftFileName) found = i;
      File1.SetListIndex(found);
      ShowFileName(File1.FileName());
    }
    Command1.SetVisible(true);
    Command1.SetCancel(true);
    Command4.SetVisible(false);
  }
  Show();
  SetMousePointer(vbDefault);

  if (sh.DeveloperMode) {
    Dir1.SetPath(s.HangarDir);
  } else if (s.HangarDir.empty()) {
    const std::string wanted = HangarFolderPath(sh.HangarFolderDefault);
    for (int i = 0; i < Dir1.ListCount() && i != 50; ++i) {
      if (Dir1.List(i) == wanted) {
        Dir1.SetPath(wanted);
        break;
      }
    }
    s.HangarDir = Dir1.Path();
  } else {
    Dir1.SetPath(s.HangarDir);  // a folder that is gone leaves the list where it was
  }
  Timer1.SetEnabled(true);
}

void ChoiceForm::Dir1_Change() {
  File1.SetPath(Dir1.Path());
  Shell().SelectedFileName = File1.FileName();
  Text1.SetText("*.brd");
  File1.SetListIndex(-1);
}

void ChoiceForm::ShowFileName(const std::string& name) {
  Text1.SetText(shown_.Show(name));
}

std::string ChoiceForm::TypedFileName() const {
  return shown_.Typed(Text1.Text());
}

void ChoiceForm::Command2_Click() {
  if (Shell().ScreenMode == kScreenModeRegister) {
    RegisterOk();
  } else {
    SelectOk();
  }
}

void ChoiceForm::SelectOk() {
  ShellState& sh = Shell();
  sh.FormActiveFlags[kSlotChoice] = 0;
  SetMousePointer(vbHourglass);
  File1.Refresh();
  std::vector<std::string> listed;
  for (int i = 0; i < File1.ListCount(); ++i) listed.push_back(File1.List(i));
  std::string message;
  if (!SelectAircraft(Dir1.Path(), TypedFileName(), listed, aircraft::Aircraft(), CurrentSettings(), sh,
                      &message)) {
    Ask(message, vbExclamation);
    SetMousePointer(vbDefault);
    return;
  }
  const std::string notice = Hooks().LogNamesNotice ? Hooks().LogNamesNotice(CurrentSettings().AircraftFileName) : "";
  if (!notice.empty()) Ask(notice, vbExclamation);
  FlightScreen().Show();
}

void ChoiceForm::RegisterOk() {
  ShellState& sh = Shell();
  const std::string folder = Dir1.Path();
  const std::string typed = TypedFileName();
  const std::string name = RegistrationFileName(typed);
  const std::string refusal = RegistrationFolderRefusal(folder);
  if (!refusal.empty()) {
    Ask(refusal, vbExclamation);
    sh.FormActiveFlags[kSlotChoice] = 0;
    return;
  }
  RegistrationCheck check = CheckRegistrationName(folder, typed);
  if (check != RegistrationCheck::Invalid) check = CheckRegistrationName(folder, name);
  if (check == RegistrationCheck::Invalid) {
    Ask(kInvalidFileNameMessage, vbExclamation);
    sh.FormActiveFlags[kSlotChoice] = 0;
    return;
  }
  sh.SelectedFileName = name;
  int answer = vbYes;
  if (check == RegistrationCheck::Exists)
    answer = Ask(OverwriteQuestion(ShownName(folder), ShownName(name)), vbYesNo + vbQuestion);
  if (answer == vbYes) {
    std::string message;
    if (!RegisterAircraft(folder, name, CurrentSettings(), &message)) {
      Ask(message, vbExclamation);
    } else {
      FlightScreen().SetCaption(sh.AppName + ShownName(name));
      File1.Refresh();
      Unload();
    }
  }
  sh.FormActiveFlags[kSlotChoice] = 0;
}

void ChoiceForm::Command4_Click() {
  CurrentSettings().ExitMode = 1;
  SaveSettingsOrReport();
  RestartProgram();
}

void ChoiceForm::Form_Unload(int& /*cancel*/) {
  Timer1.SetEnabled(false);
  Shell().FormActiveFlags[kSlotChoice] = 0;
  const bool flying = FlightScreen().Loaded();
  if (Shell().ScreenMode < kScreenModeRegister && !flying) {
    // Closed at start-up without an aircraft: the program ends.
    CurrentSettings().ExitMode = 0;
    SaveSettingsOrReport();
    End();
  }
}

}  // namespace zarv::shell
