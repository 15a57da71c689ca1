// The progress dialog of long tasks: title, progress text and a bar that
// only grows; cancel, and F10 / F12 queued for the task.
#include "platform/runtime/numeric.h"
#include "platform/ui/keys.h"
#include "platform/ui/app.h"
#include "shell/flight_screen_link.h"
#include "shell/progress.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

ProcessForm::ProcessForm() {
  SetBorderStyle(vbBSNone);
  SetKeyPreview(true);
  Command1.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Command1.SetCancel(true);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [](int&) { Shell().FormActiveFlags[kSlotProcess] = 0; };
  Label1.OnChange = [this] { Label1_Change(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command1.OnMouseDown = [this](int, int, double, double) { Command1_Click(); };
  OnResize = [this] { KeepSavedSize(*this, kSlotProcess, false); };
  OnKeyDown = [this](int& keyCode, int) { CancelKey(keyCode); };  // Esc presses the cancel button first
}

void ProcessForm::CancelKey(int keyCode) {
  if (keyCode == vbKeyEscape || keyCode == vbKeyF9) {
    Command1_Click();
  } else if (Shell().LogCaller == 0 && keyCode == vbKeyF10) {
    Command1_Click();
    Shell().ScreenMode = kScreenModeChangeAircraft;
  } else if (Shell().LogCaller == 0 && keyCode == vbKeyF12) {
    Command1_Click();
    Shell().ScreenMode = kScreenModeQuit;
  }
}

void ProcessForm::Form_Load() {
  ShellState& sh = Shell();
  sh.FormActiveFlags[kSlotProcess] = 1;
  barWidth_ = 0;
  SetWidth(240 * sh.TwipsPerPixel);
  SetHeight(130 * sh.TwipsPerPixel);
  SaveFormSize(*this, kSlotProcess);
  const auto [left, top] = FlightScreen().ProgressAnchor();
  SetLeft(left);
  SetTop(top);
  for (Control* c : std::initializer_list<Control*>{&Label2, &Label1, &Command1}) {
    c->SetFontName("ＭＳ ゴシック");
    c->SetFontSize(11 * sh.FontScale);
  }
  Label2.Move(10, 6, 220, 32);
  Label1.Move(20, 68, 200, 32);
  Command1.Move(75, 100, 90, 25);
  Label1.SetCaption("");
  Label2.SetCaption("");

  Surface& c = Canvas();
  c.Cls();
  const double w = ScaleWidth(), h = ScaleHeight();
  c.Line(0, 0, w - 1, h - 1, vbBlack, LineBox::B);
  c.SetFillStyle(0);
  c.SetFillColor(vbWhite);
  c.Line(29, 40, 29 + 180, 40 + 21, vbBlack, LineBox::B);
  c.SetFillStyle(1);
  c.SetDrawWidth(2);
  c.Line(2, h - 2, 2, 2, vbWhite);
  c.LineTo(w - 2, 2, vbWhite);
  c.Line(3, h - 2, w - 2, h - 2, vbButtonShadow);
  c.LineTo(w - 2, 3, vbButtonShadow);
  c.Line(28, 39, 28 + 183, 39 + 24, vbButtonShadow, LineBox::B);
  c.SetDrawWidth(1);
  c.Line(211, 40, 211, 63, vbWhite);
  c.Line(29, 63, 211, 63, vbWhite);
  SetMousePointer(vbHourglass);
}

void ProcessForm::Label1_Change() {
  if (Label1.Caption().empty()) return;  // cleared at load
  const int width = ProgressBarWidth(Label1.Caption());
  if (width > barWidth_) barWidth_ = width;
  if (width > 0) Canvas().Line(30, 41, 30 + width, 41 + 19, vbGreen, LineBox::BF);
  DoEvents();
}

void ProcessForm::Command1_Click() {
  FlightScreen().CancelLongTasks();
  Unload();
}

}  // namespace zarv::shell
