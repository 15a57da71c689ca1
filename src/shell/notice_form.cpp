// The notice screen: the notes, the help, and the way on to the hangar.
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/help.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

namespace {
constexpr double kTpp = kTwipsPerPixel;
constexpr double kInnerWidthTwips = 7905;
constexpr int kHelpTopic = 1;
// More than the text box is meant to show; a file of nothing but line ends
// is not turned into millions of lines.
constexpr size_t kMaxReadmeLines = 10000;
}  // namespace

NoticeForm::NoticeForm() {
  SetCaption("Zarv");
  SetBorderStyle(vbFixedSingle);
  Command1.SetCaption("次へ");
  Command2.SetCaption("注意事項");
  Command4.SetCaption("ヘルプ");
  Command3.SetCaption("ｷｬﾝｾﾙ");
  Command3.SetCancel(true);
  Check1.Move(16, 40, 300, 20);
  Text1.SetMultiLine(true);
  Text1.SetScrollBars(vbVertical);
  Text1.SetLocked(true);
  Text1.Move(8, 66, kInnerWidthTwips / kTpp - 16, 40);
  Text1.SetText("ボタンを選んで下さい。");

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command3.OnClick = [this] { Unload(); };
  Check1.OnClick = [this] { CurrentSettings().NoticeSkip = static_cast<int16_t>(Check1.Value()); };
  OnActivate = [] { Shell().FormActiveFlags[kSlotNotice] = 1; };
  OnDeactivate = [] { Shell().FormActiveFlags[kSlotNotice] = 0; };
  OnResize = [this] { KeepSavedSize(*this, kSlotNotice, true); };
}

void NoticeForm::Form_Load() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  SetHelpContextID(kHelpTopic);
  sh.NoticePassed = 0;
  SetCaption(sh.AppName);
  SetWidth(kInnerWidthTwips);
  SetHeight(CLng(Screen().Height() * 0.3));
  CentreOnWindowCentre(*this, s.WindowCentreX, s.WindowCentreY);
  SaveFormSize(*this, kSlotNotice);
  Text1.SetHeight(ScaleHeight() - Text1.Top() - 10);
  DrawBorder();

  const double w = ScaleWidth();
  for (CommandButton* b : {&Command1, &Command2, &Command4}) {
    b->SetFontName("ＭＳ Ｐゴシック");
    b->SetFontSize(11 * sh.FontScale);
    b->SetWidth(90);
    b->SetHeight(25);
    b->SetTop(5);
  }
  Command1.SetLeft(w * 3 / 4 - 45);
  Command2.SetLeft(w / 4 - 45);
  Command4.SetLeft(w / 2 - 45);
  Command3.Move(w, 5, 90, 25);  // out of sight: Esc only

  Check1.SetFontName("ＭＳ Ｐゴシック");
  Check1.SetFontSize(12);
  Check1.SetTop(Command1.Height() + 10);
  Check1.SetCaption("以後、この画面を表示しない");
  Check1.SetValue(s.NoticeSkip ? vbChecked : vbUnchecked);
  Text1.SetFontName("ＭＳ ゴシック");
  Text1.SetFontSize(12);
  Text1.SetTop(Check1.Top() + Check1.Height() + 4);
  Text1.SetHeight(ScaleHeight() - Text1.Top() - 10);

  if (Begin().Loaded() && !Begin().Unloading()) Begin().Unload();

  if (sh.NoticeNextPressed == 0) Command2_Click();
  if (s.ExitMode == 1 || Check1.Value() != vbChecked) {
    Show();
    Refresh();
  } else {
    sh.NoticePassed = 1;
    Choice().Show();
  }
}

void NoticeForm::DrawBorder() {
  Canvas().Cls();
  DrawRaisedBorder(*this, 2);
}

void NoticeForm::Command1_Click() {
  ShellState& sh = Shell();
  if (sh.NoticeNextPressed != 0) {
    sh.NoticePassed = 1;
    Choice().Show();
    Unload();
  } else {
    sh.NoticeNextPressed = 1;
    Command4_Click();
  }
}

void NoticeForm::Command2_Click() {
  ShellState& sh = Shell();
  Canvas().Cls();
  const std::string path = JoinPath(ProgramFolder(), "Readme.txt");
  if (FileExists(path)) {
    std::string text;
    for (const auto& line : ReadTextLines(path, nullptr, kDefaultReadLimit, kMaxReadmeLines)) text += line + "\r\n";
    Text1.SetText(text);
  }
  sh.FormSavedHeight[kSlotNotice] = CInt(480 * sh.ScreenScale * kTpp);
  SetHeight(sh.FormSavedHeight[kSlotNotice]);
  CentreOn(Screen().Width() / 2, Screen().Height() / 2);
  Text1.SetHeight(ScaleHeight() - Text1.Top() - 10);
  DrawBorder();
}

void NoticeForm::Command4_Click() { ShowHelp(kHelpTopic, this); }

void NoticeForm::Form_Unload(int& /*cancel*/) {
  SaveSettingsOrReport();
  Shell().FormActiveFlags[kSlotNotice] = 0;
  if (Shell().NoticePassed == 0) {
    if (FlightScreen().Loaded()) FlightScreen().Unload();
    End();
  }
}

}  // namespace zarv::shell
