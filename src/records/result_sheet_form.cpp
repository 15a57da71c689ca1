// The ranking window and the name-entry panel.
#include "logbook/post_flight.h"
#include "logbook/ranking.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/colors.h"
#include "platform/ui/msgbox.h"
#include "records/records_screens.h"
#include "shell/screen_util.h"
#include "shell/shell_state.h"

namespace zarv::records {

namespace {
constexpr double kTpp = 15;  // twips per pixel
constexpr int kListWidth = 641, kListHeight = 361, kListTop = 24;
}  // namespace

ResultSheetForm::ResultSheetForm() {
  SetBorderStyle(vbFixedSingle);
  Command1.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Command1.SetCancel(true);
  OnLoad = [this] { Form_Load(); };
  Command1.OnClick = [this] { Unload(); };
  OnActivate = [] { shell::Shell().FormActiveFlags[shell::kSlotResultSheet] = 1; };
  OnDeactivate = [this] {
    shell::Shell().FormActiveFlags[shell::kSlotResultSheet] = 0;
    Unload();
  };
  OnResize = [this] { shell::KeepSavedSize(*this, shell::kSlotResultSheet, false); };
  OnUnload = [this](int&) {
    shell::Shell().FormActiveFlags[shell::kSlotResultSheet] = 0;
    ResultSheetHost().OnClosed();
  };
}

void ResultSheetForm::Form_Load() {
  const shell::ShellState& sh = shell::Shell();
  SetCaption(sh.AppName + "順位");
  SetWidth((kListWidth + 6) * kTpp);
  SetHeight((kListTop + kListHeight + 30) * kTpp);
  shell::SaveFormSize(*this, shell::kSlotResultSheet);
  const auto [left, top] = ResultSheetHost().Anchor();
  SetLeft(left);
  SetTop(top);
  Label1.Move(0, kListTop, kListWidth, kListHeight);
  Label1.SetFontName("ＭＳ ゴシック");
  Label1.SetFontSize(12);
  Label1.SetCaption(RankingListText(Ranking()));
  Command1.SetFontName("ＭＳ Ｐゴシック");
  Command1.SetFontSize(11 * sh.FontScale);
  Command1.Move(0, 0, 90, 25);
  Command1.SetVisible(false);
}

ResultSheetForm& ResultSheet() {
  static ResultSheetForm instance;
  return instance;
}

ResultSheetLink& ResultSheetHost() { return ProgramWide<ResultSheetLink>(); }

NameEntryPanel::NameEntryPanel(Container& flightScreen) : Picture6(flightScreen) {
  Picture6.SetVisible(false);
  Picture6.SetAutoRedraw(true);
  Command10.SetCaption("OK");
  Command15.SetCaption("Ｘ");
  Text1.SetMaxLength(kMaxPilotNameLength);  // twenty such lines still read back
  Command10.OnClick = [this] { Command10_Click(); };
  Command15.OnClick = [this] { Close(); };
  Picture6.OnLostFocus = [this] { Command10.SetDefault(false); };
}

void NameEntryPanel::Layout(const std::string& appName, double fontScale) {
  Picture6.SetVisible(false);
  Picture6.SetWidth(240);
  Picture6.SetHeight(130);
  Picture6.SetBackColor(RGB(192, 192, 192));
  const double w = 240;
  for (Control* c : std::initializer_list<Control*>{&Label23, &Label20, &Text1, &Command10, &Command15})
    c->SetFontName("ＭＳ Ｐゴシック");
  Label23.SetCaption(appName);
  Label23.SetFontSize(9);
  Label23.SetBackStyle(vbTransparent);
  Label23.SetForeColor(RGB(255, 255, 255));
  Label23.Move(10, 8, 220, 13 / fontScale);
  Label20.SetFontSize(10 * fontScale);
  Label20.SetBackColor(RGB(192, 192, 192));
  Label20.Move(20, Label23.Top() + Label23.Height() + 8, 200, 42);
  Text1.SetFontSize(10 * fontScale);
  Text1.Move(20, Label20.Top() + Label20.Height() + 5, 200, 15);
  Command10.SetFontSize(11 * fontScale);
  Command10.Move((w - 90) / 2, Text1.Top() + Text1.Height() + 4, 90, 25);
  Command15.SetFontSize(9 * fontScale);
  Command15.SetFontBold(true);
  Command15.Move(w - 8 - 17, Label23.Top() + (Label23.Height() - 16) / 2, 17, 16);
  DrawPanel();
}

void NameEntryPanel::DrawPanel() {
  Surface& s = Picture6.Canvas();
  const double w = Picture6.ScaleWidth(), h = Picture6.ScaleHeight();
  s.Line(0, 0, w - 1, 0, RGB(255, 255, 255));
  s.Line(0, 0, 0, h - 1, RGB(255, 255, 255));
  s.Line(w - 1, 0, w - 1, h, RGB(128, 128, 128));
  s.Line(0, h - 1, w, h - 1, RGB(128, 128, 128));
  // Title bar and the sunken bevel around the name box.
  s.Line(Label23.Left() - 3, 5, Label23.Left() + Label23.Width() + 2, Label23.Height() + 9, RGB(0, 0, 128),
         LineBox::BF);
  const double l = Text1.Left() - 1, t = Text1.Top() - 1, r = Text1.Left() + Text1.Width(),
               b = Text1.Top() + Text1.Height();
  s.Line(l, t, r, t, RGB(128, 128, 128));
  s.Line(l, t, l, b, RGB(128, 128, 128));
  s.Line(r, t, r, b + 1, RGB(255, 255, 255));
  s.Line(l, b, r, b, RGB(255, 255, 255));
}

void NameEntryPanel::Offer(const std::string& prompt, const std::string& recordEntryText) {
  entryText_ = recordEntryText;
  Label20.SetCaption(prompt);
  Picture6.SetVisible(true);
  Picture6.ZOrder(vbBringToFront);
  Command10.SetDefault(true);
  Text1.SetText("");
  Text1.SetFocus();
}

void NameEntryPanel::Close() { Picture6.SetVisible(false); }

bool NameEntryPanel::IsOpen() const { return Picture6.Visible(); }

void NameEntryPanel::Command10_Click() {
  bool openRanking = false;
  const std::string problem = EnterPilotName(Ranking(), entryText_, Text1.Text(), openRanking);
  if (!problem.empty()) {
    MsgBox(problem, vbExclamation, shell::Shell().AppName);
    Text1.SetFocus();
    return;
  }
  if (openRanking) ResultSheet().Show();
  Close();
}

PostFlightOutcome OnPostFlightTimer(TimerControl& timer, PostFlightInputs& in, const PostFlightScreen& screen) {
  timer.SetEnabled(false);
  return RunPostFlight(in, screen);
}

}  // namespace zarv::records
