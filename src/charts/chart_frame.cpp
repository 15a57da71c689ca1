// The frame both chart screens share.
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "charts/charts.h"
#include "flight/flight_state.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/shell_state.h"

namespace zarv::charts {
namespace {
constexpr int kKeyF3 = 114;
}  // namespace

ChartForm::ChartForm(int slot, int helpTopic, std::string caption)
    : slot_(slot), helpTopic_(helpTopic), caption_(std::move(caption)) {
  SetBorderStyle(vbFixedSingle);
  SetBackColor(vbWhite);
  SetKeyPreview(true);
  Frame1.SetBorderStyle(0);
  Command1.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Command1.SetCancel(true);
  Command2.SetCaption("印刷(F3)");

  Command1.OnClick = [this] { Unload(); };
  Command2.OnClick = [this] { Command2_Click(); };
  OnKeyDown = [this](int& keyCode, int) {
    if (keyCode == kKeyF3 && !KeyRepeating()) Command2_Click();  // one print a press
  };
  OnActivate = [this] { Form_Activate(); };
  OnDeactivate = [this] { Form_Deactivate(); };
  OnResize = [this] { shell::KeepSavedSize(*this, slot_, false); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
}

void ChartForm::SetUpFrame(double frameWidth, double frameHeight, bool nudged) {
  shell::ShellState& sh = shell::Shell();
  const double tpp = sh.TwipsPerPixel;
  SetHelpContextID(helpTopic_);
  SetCaption(caption_);
  // The chart screens keep 510 x 480 pixels on every screen size.
  SetHeight(480 * tpp);
  SetWidth(510 * tpp);
  shell::SaveFormSize(*this, slot_);
  const auto [left, top] = shell::FlightScreen().Position();
  SetTop(top);
  SetLeft(left);
  Surface& c = Canvas();
  c.SetFontName("ＭＳ ゴシック");
  c.SetFontSize(10 * sh.FontScale);
  c.Cls();

  for (CommandButton* b : {&Command1, &Command2}) {
    b->SetFontName("ＭＳ Ｐゴシック");
    b->SetFontSize(11 * sh.FontScale);
    b->SetWidth(90);
    b->SetHeight(25);
  }
  const double twip = 1 / tpp;
  Command1.SetLeft(0);
  Command1.SetTop(nudged ? twip : 0);
  Command2.SetLeft(Command1.Width() + (nudged ? twip : 0));
  Command2.SetTop(nudged ? twip : 0);
  Frame1.Move(0, 0, frameWidth, frameHeight);
}

void ChartForm::EndWork() {
  busy_ = false;
  if (closePending_) {
    closePending_ = false;
    Unload();
  }
}

void ChartForm::Command2_Click() {
  if (busy_) return;  // one print at a time
  BeginWork();
  Frame1.SetVisible(false);
  const bool printed = PrintForm(*this);
  Frame1.SetVisible(true);
  shell::ReportPrint(printed, caption_);
  EndWork();
}

void ChartForm::Form_Activate() {
  shell::Shell().FormActiveFlags[static_cast<size_t>(slot_)] = 1;
  // Back in front before the work ended: stay open.
  closePending_ = false;
}

void ChartForm::Form_Deactivate() {
  if (busy_) {
    closePending_ = true;
    return;
  }
  Unload();
}

void ChartForm::Form_Unload(int& cancel) {
  if (busy_) {
    // Not while a print runs: the close follows it.
    closePending_ = true;
    cancel = 1;
    return;
  }
  flight::FlightState& s = flight::State();
  s.Loop.PassesThisSecond = 0;
  s.Loop.TimeMark = CheckedRound<int64_t>(Timer());
  shell::Shell().FormActiveFlags[static_cast<size_t>(slot_)] = 0;
}

}  // namespace zarv::charts
