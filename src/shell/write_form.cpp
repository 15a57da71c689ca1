// The aircraft data editor: fields 0..38 of the hand-over file in a column of
// boxes and lists; OK saves the hand-over file and restarts into the flight.
#include "platform/runtime/text.h"
#include "platform/ui/app.h"
#include "platform/ui/help.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "aircraft/aircraft_file.h"
#include "shell/editor_data.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

namespace {
constexpr int kHelpTopic = 180;
constexpr double kEngineCaptionPoints = 10.5;

// Selects text in the list; a text the list lacks is added and kept.
void SelectOrKeep(ComboBox& combo, const std::string& text) {
  for (int i = 0; i < combo.ListCount(); ++i) {
    if (combo.List(i) == text) {
      combo.SetListIndex(i);
      return;
    }
  }
  if (text.empty()) {
    combo.SetListIndex(-1);
    return;
  }
  combo.AddItem(text);
  combo.SetListIndex(combo.ListCount() - 1);
}

void Fill(ComboBox& combo, const std::vector<std::string>& items) {
  combo.Clear();
  for (const auto& item : items) combo.AddItem(item);
}
}  // namespace

WriteForm::WriteForm() {
  SetBorderStyle(vbFixedSingle);
  SetKeyPreview(true);
  Label1.Move(16, 8, 329, 449);
  // One label per row keeps every caption on the line of its box, whatever
  // the line height of the installed face; Label1 keeps the whole text.
  Label1.SetVisible(false);
  RowCaption(0).Move(16, 3, 329, 15);
  Text1(0).Move(360, 8, 97, 18);
  Frame2.Move(480, 0, 145, 457);
  Command1.Move(24, 16, 97, 25);
  Command1.SetCaption("ＯＫ");
  Command2.Move(24, 48, 97, 25);
  Command2.SetCaption("ｷｬﾝｾﾙ(Esc)");
  Command2.SetCancel(true);
  Command3.Move(24, 80, 97, 25);
  Command3.SetCaption("ヘルプ");
  Label2.Move(8, 112, 89, 17);
  Text2.Move(8, 128, 129, 25);
  Label3.Move(8, 160, 65, 17);
  Combo1.Move(8, 176, 129, 24);
  Label4.Move(8, 208, 121, 17);
  Combo2.Move(8, 224, 129, 24);
  Check1.Move(8, 256, 129, 25);
  Check2.Move(8, 280, 129, 25);
  Command6.Move(24, 312, 97, 25);
  Command6.SetCaption("印刷");
  Label5.Move(8, 344, 73, 15);
  Text3.Move(64, 344, 73, 18);
  Label6.Move(8, 368, 65, 17);
  Text4.Move(64, 368, 73, 19);
  Combo3.Move(8, 392, 129, 24);
  Combo4.Move(8, 424, 129, 24);
  for (ComboBox* c : {&Combo1, &Combo2, &Combo3, &Combo4}) c->SetStyle(vbComboDropDownList);
  // What a hand-over file holds and still reads back (the rows copy Text1(0)).
  for (TextBox* t : {&Text1(0), &Text2, &Text3, &Text4}) t->SetMaxLength(aircraft::kMaxFieldTextLength);
  for (Control* c :
       std::initializer_list<Control*>{&Label5, &Text3, &Label6, &Text4, &Combo3, &Combo4})
    c->SetVisible(false);
  Combo3.SetFontName("ＭＳ ゴシック");
  Combo3.SetFontSize(12);
  Combo4.SetFontName("ＭＳ ゴシック");
  Combo4.SetFontSize(12);
  Timer1.SetInterval(20);
  Timer1.SetEnabled(false);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int&) {
    Timer1.SetEnabled(false);
    Shell().FormActiveFlags[kSlotWrite] = 0;
    FlightScreen().MoveTo(Left(), Top());
  };
  OnActivate = [] { Shell().FormActiveFlags[kSlotWrite] = 1; };
  OnDeactivate = [] { Shell().FormActiveFlags[kSlotWrite] = 0; };
  OnResize = [this] { KeepSavedSize(*this, kSlotWrite, false); };
  OnKeyDown = [this](int& keyCode, int) {
    if (keyCode != vbKeyReturn) return;
    keyCode = 0;  // the save, whatever button has the focus: not that button too
    Command1_Click();
  };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Unload(); };
  Command3.OnClick = [this] { ShowHelp(kHelpTopic, this); };
  Command6.OnClick = [this] { Command6_Click(); };
  Check2.OnClick = [this] {
    if (Check2.Value() == vbChecked) Check1.SetValue(vbChecked);
  };
  Label1.OnClick = [this] { Label1_Click(); };
  RowCaption.OnEach([this](Label& l, int) { l.OnClick = [this] { Label1_Click(); }; });
  Combo4.OnDropDown = [this] { Combo4_DropDown(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Text1.OnEach([this](TextBox& box, int i) {
    // The current box follows clicks and Up/Down only: Timer1 puts the focus
    // back on it when Tab moves it to another number box.
    box.OnClick = [this, i] { fieldIndex_ = i; };
    box.OnKeyDown = [this](int& keyCode, int) {
      if (keyCode == vbKeyUp && fieldIndex_ >= 1) --fieldIndex_;
      if (keyCode == vbKeyDown && fieldIndex_ < kEditorRows - 1) ++fieldIndex_;
    };
  });
}

void WriteForm::Form_Load() {
  ShellState& sh = Shell();
  aircraft::AircraftData& a = aircraft::Aircraft();
  fieldIndex_ = 0;
  SetWidth(kTwipsPerPixel * 640 / sh.FontScale);
  SetHeight(kTwipsPerPixel * 480 / sh.FontScale);
  SetHelpContextID(kHelpTopic);
  SaveFormSize(*this, kSlotWrite);
  for (Control* c : std::initializer_list<Control*>{
           &Command1, &Command2, &Command3, &Command6, &Check1, &Check2, &Combo1, &Combo2, &Label2,
           &Label3, &Label4, &Label5, &Label6, &Text2, &Text3}) {
    c->SetFontName("ＭＳ Ｐゴシック");
    c->SetFontSize(12);
  }
  // The count and fuel boxes stand 56 pixels after their captions' left
  // edge; the Latin letters of our face need more at 12 points.
  for (Label* l : {&Label5, &Label6}) l->SetFontSize(kEngineCaptionPoints);
  Label1.SetFontName("ＭＳ Ｐゴシック");
  Label1.SetFontSize(11);
  Text4.SetFontName("ＭＳ ゴシック");
  Text4.SetFontSize(12);
  Text1(0).SetFontSize(10);

  SetCaption(sh.AppName + "データ入力画面");
  Text3.SetText("");
  Label2.SetCaption("");
  Label4.SetCaption("");
  Check1.SetCaption("");
  Check2.SetCaption("");
  const auto [left, top] = FlightScreen().Position();
  SetLeft(left);
  SetTop(top);
  Text1(0).SetTop(5);
  Text1(0).SetHeight(16);
  Label1.SetTop(3);
  Label1.SetHeight(ScaleHeight() - 8);
  for (int i = 1; i < kEditorRows; ++i) {
    TextBox& box = Text1.Load(i);
    box.SetHeight(Text1(0).Height());
    box.SetTop(15 * i + 5);
    box.SetVisible(true);
  }
  for (int i = 0; i < kEditorRows; ++i) Text1(i).SetToolTipText(EditorRowTooltip(i + 1));
  RowCaption(0).SetFontName("ＭＳ Ｐゴシック");
  RowCaption(0).SetFontSize(10);
  for (int i = 1; i < kEditorRows; ++i) {
    Label& l = RowCaption.Load(i);
    l.SetTop(15 * i + 3);
    l.SetVisible(true);
  }

  Canvas().Cls();
  Canvas().SetDrawWidth(2);
  Canvas().Line(356, 2, 356, 458, vbBlack);
  Canvas().Line(460, 2, 460, 458, vbWhite);
  Canvas().Line(12, 2, 12, 458, vbBlack);
  Canvas().Line(350, 2, 350, 458, vbWhite);
  Canvas().SetDrawWidth(1);

  Fill(Combo1, WingAirfoilList(sh.SelectedFileName, a.EngineCount));
  Fill(Combo2, TailAirfoilList(a.EngineCount));
  Fill(Combo3, EngineFamilyList());

  std::string captions;
  for (int row = 1; row <= kEditorRows; ++row) {
    if (row > 1) captions += "\r\n";
    captions += EditorRowCaption(row, a.LaunchSpeed, a.EngineCount);
    RowCaption(row - 1).SetCaption(EditorRowCaption(row, a.LaunchSpeed, a.EngineCount));
  }
  Label1.SetCaption(captions);
  Label2.SetCaption("機体名");
  Label3.SetCaption("主翼翼型");
  Label4.SetCaption("水平尾翼翼型");
  Check1.SetCaption("垂直尾翼作動");
  Check2.SetCaption("水平尾翼作動");
  Label5.SetCaption("Engines");
  Label6.SetCaption("Fuel(kg)");

  EditorEntries e;
  if (!ReadEditorEntries(aircraft::HandOverPath(), e)) {
    MsgBox("機体データ(Temp\\file.dat)を読み込めません。", vbExclamation, sh.AppName);
    Unload();
    return;
  }
  for (int i = 0; i < kEditorRows; ++i) Text1(i).SetText(e.Numbers[static_cast<size_t>(i)]);
  SelectOrKeep(Combo1, e.WingAirfoil);
  SelectOrKeep(Combo2, e.TailAirfoil);
  // Tailplane first: its click ticks the fin box, which must then show the file's value.
  Check2.SetValue(e.TailplaneMoves);
  Check1.SetValue(e.FinMoves);
  Text3.SetText(e.EngineCountText);
  Text4.SetText(e.FuelText);
  const bool engines = e.EngineCountRead > 0;
  for (Control* c :
       std::initializer_list<Control*>{&Label5, &Text3, &Label6, &Text4, &Combo3, &Combo4})
    c->SetVisible(engines);
  SelectOrKeep(Combo3, e.EngineFamily);
  loadedFamily_ = e.EngineFamily;
  loadedModel_ = e.EngineModel;
  Label1_Click();
  SelectOrKeep(Combo4, e.EngineModel);
  Text2.SetText(e.Name);

  a.WingAirfoil = Combo1.Text();
  a.TailAirfoil = Combo2.Text();
  a.EngineFamily = Combo3.Text();
  a.EngineModel = Combo4.Text();
  Timer1.SetEnabled(true);
}

void WriteForm::Label1_Click() {
  aircraft::Aircraft().EngineFamily = Combo3.Text();
  Fill(Combo4, EngineModelsFor(aircraft::Aircraft().EngineFamily));
}

void WriteForm::Combo4_DropDown() {
  aircraft::AircraftData& a = aircraft::Aircraft();
  Label1_Click();
  bool found = false;
  for (int i = 0; i < Combo4.ListCount(); ++i) {
    if (Combo4.List(i) == a.EngineModel) {
      Combo4.SetListIndex(i);
      found = true;
      break;
    }
  }
  // A model the lists do not know stays while its family is the one read.
  if (!found && !a.EngineModel.empty() && a.EngineModel == loadedModel_ &&
      a.EngineFamily == loadedFamily_)
    SelectOrKeep(Combo4, a.EngineModel);
  a.EngineModel = Combo4.Text();
}

void WriteForm::Timer1_Timer() {
  Control* active = ActiveControl();
  if (active == nullptr || active == &Text1(fieldIndex_)) return;
  for (int i = 0; i < kEditorRows; ++i) {
    if (Text1.Exists(i) && active == &Text1(i)) {
      Text1(fieldIndex_).SetFocus();
      return;
    }
  }
}

void WriteForm::Command6_Click() {
  for (CommandButton* b : {&Command1, &Command2, &Command3, &Command6}) b->SetVisible(false);
  const bool printed = PrintForm(*this);
  for (CommandButton* b : {&Command1, &Command2, &Command3, &Command6}) b->SetVisible(true);
  ReportPrint(printed, Shell().AppName);
}

void WriteForm::Command1_Click() {
  ShellState& sh = Shell();
  aircraft::AircraftData& a = aircraft::Aircraft();
  EditorEntries e;
  e.Name = Text2.Text();
  for (int i = 0; i < kEditorRows; ++i) e.Numbers[static_cast<size_t>(i)] = Trim(Text1(i).Text());
  e.WingAirfoil = Combo1.Text();
  e.TailAirfoil = Combo2.Text();
  e.FinMoves = Check1.Value() == vbChecked ? 1 : 0;
  e.TailplaneMoves = Check2.Value() == vbChecked ? 1 : 0;
  e.EngineCountText = Text3.Text();
  e.FuelText = Text4.Text();
  e.EngineFamily = Combo3.Text();
  e.EngineModel = Combo4.Text();

  const std::string refusal = CheckEditorEntries(e, a.LaunchSpeed, a.EngineCount);
  if (!refusal.empty()) {
    MsgBox(refusal, vbExclamation, sh.AppName);
    return;
  }
  const std::string outOfRange = CheckEditorRanges(e, a.LaunchSpeed);
  if (!outOfRange.empty()) {
    MsgBox(outOfRange, vbExclamation, sh.AppName);
    return;
  }
  bool tooLarge = false;
  if (!SaveEditorEntries(e, a, &tooLarge)) {
    ReportNotSaved("機体データ", aircraft::HandOverPath(), tooLarge);
    return;
  }
  SetMousePointer(vbHourglass);
  CurrentSettings().ExitMode = 3;
  Unload();
  FlightScreen().Unload();
}

}  // namespace zarv::shell
