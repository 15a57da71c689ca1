// The flight screen's set-up and its mouse, menu, option-panel and
// condition-bar handlers.
#include <algorithm>
#include <cmath>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "flight/loop_input.h"
#include "flightscreen/conditions.h"
#include "flightscreen/flight_frame.h"
#include "flightscreen/flight_menu.h"
#include "flightscreen/joystick_link.h"
#include "flightscreen/screen_setup.h"
#include "logbook/log_filing.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/sendkeys.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace zarv::flightscreen {
namespace {

bool MenuBlocked() {
  const auto& f = shell::Shell().FormActiveFlags;
  for (int slot : {5, 6, 7, 8, 9, 10, 12, 13, 15})
    if (f[static_cast<size_t>(slot)] != 0) return true;
  return false;
}

void Font(Control& c, const char* face, double size) {
  c.SetFontName(face);
  c.SetFontSize(size);
}

const char* const kGothic = "ＭＳ ゴシック";
const char* const kPGothic = "ＭＳ Ｐゴシック";

}  // namespace

void FlightFrame::SetUpScreen() {
  shell::ShellState& sh = shell::Shell();
  settingUp_ = true;
  flight::FlightState& s = flight::State();
  aircraft::AircraftData& a = aircraft::Aircraft();
  shell::Settings& st = shell::CurrentSettings();
  const double sc = sh.ScreenScale, fs = sh.FontScale;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  const double formW = 640 * sc;

  Label15.SetCaption("");
  Picture1.Move(0, 0, 642 * sc, 482 * sc);
  Picture1.SetAutoRedraw(true);
  Picture6.Move(formW / 2 - 120, 225 * sc - 18 * sc / fs - 65, 240, 130);
  // The screen shows from here on: the companion's loading puts its dialog
  // and menu on it.
  Show();
  ZOrder();

  // The program folder as this screen sees it, kept in the settings; then
  // the joystick's button map and throttle detent (the loop divides by
  // it), and one poll so the first pass reads a real position.
  st.ProgramFolder = ProgramFolder();
  LoadJoyButtonMap(s);
  PollJoystick(s);

  // The top strip with the menu label, wider than any screen.
  const double stripW = 1.2 * zarv::Screen().PixelWidth();
  Picture8.Move(0, 0, stripW, 23);
  Picture8.SetBackColor(RGB(212, 208, 200));
  Picture8.Canvas().SetDrawWidth(2);
  Picture8.Canvas().Line(0, 22, stripW, 22, RGB(128, 128, 128));
  Picture8.Canvas().SetDrawWidth(1);
  Label16.SetCaption("メニュー");
  Font(Label16, kGothic, 13 * fs);
  Label16.Move(0, 1, 80, 18);
  Font(Label21, kGothic, 13 * fs);
  Label21.SetBackStyle(vbTransparent);
  // The title row: the menu, the launch conditions, the aircraft's name,
  // then the elapsed time and the frame rate, which the frames keep up.
  Label21.SetCaption("発進条件");
  Label21.SetAutoSize(true);
  Label21.SetLeft(Label16.Width() + 10);
  Label21.SetTop(1);
  Label14.SetCaption(a.AircraftName);
  Font(Label14, kGothic, 11 * fs);
  Label14.SetAutoSize(true);
  Label14.SetLeft(Label21.Left() + Label21.Width() + 10);
  Label14.SetTop(1);
  Label24.SetCaption("");
  Font(Label24, kPGothic, 11 * fs);
  Label24.SetAutoSize(true);
  Label24.SetLeft(Label14.Left() + Label14.Width() + 20);
  Label24.SetTop(2);
  Font(Label15, kGothic, 11 * fs);
  Label15.SetAutoSize(true);
  Label15.SetLeft(Label24.Left() + Label24.Width());
  Label15.SetTop(2);
  for (Label* l : {&Label14, &Label15, &Label24}) {
    l->SetBackStyle(vbTransparent);
    l->SetVisible(true);
  }

  Command14.Move(0, 480 * sc, 60, 20);
  Command14.SetCaption("発進");
  Command14.SetTabStop(false);
  screen_.LogSuffix = records::LogSuffixFor(st.AircraftFileName);

  Command1.SetFontName(kGothic);
  Command1.SetFontSize(9 * fs);
  if (st.JoystickOn != 0) {
    Command1.SetCaption("ｼﾞｮｲｽﾃｨｯｸ操縦の詳細設定");
  } else {
    Command1.SetCaption(s.Engine.EngineRating > 9000 ? "ＰＣＡＳの設定" : "マウス操縦の尾翼動作比率");
    if (a.TailplaneFixed != 0 && a.FinFixed != 0) Command1.SetEnabled(false);
  }
  Command13.SetCaption("機体の登録");
  Font(Command13, kPGothic, 12);

  // The condition frame: three horizontal bars left, five vertical ones,
  // then the display options.
  // The strip covers the frame's top edge and caption (the strip names it).
  Frame1.Move(45 * sc, Picture8.Height() - 10 * sc, 560 * sc, 236 * sc);
  Picture8.ZOrder();
  Frame1.SetCaption("発進条件");
  const double x0 = 10 * sc;
  HScroll1.Move(x0, 20 * sc, 150 * sc, 16);
  HScroll2.Move(x0, 70 * sc, 150 * sc, 16);
  HScroll3.Move(x0, 120 * sc, 150 * sc, 16);
  Label1.Move(x0, 20 * sc + 21, 150 * sc, 18);
  Label2.Move(x0, 70 * sc + 21, 150 * sc, 18);
  Label3.Move(x0, 120 * sc + 21, 150 * sc, 18);
  ScrollBar* vbars[] = {&VScroll1, &VScroll2, &VScroll3, &VScroll4, &VScroll5};
  Label* titles[] = {&Label4, &Label6, &Label8, &Label10, &Label12};
  Label* values[] = {&Label5, &Label7, &Label9, &Label11, &Label13};
  const char* titleText[] = {"ﾋﾟｯﾁ", "速度", "風速", "気圧", "気温"};
  for (int i = 0; i < 5; ++i) {
    const double x = (175 + 45 * i) * sc;
    titles[i]->Move(x - 6 * sc, 16 * sc, 44 * sc, 16);
    titles[i]->SetCaption(titleText[i]);
    Font(*titles[i], kGothic, 10);
    vbars[i]->Move(x + 6 * sc, 34 * sc, 16, 90 * sc);
    values[i]->Move(x - 8 * sc, 128 * sc, 48 * sc, 34);
    values[i]->SetAlignment(vbCenter);
    Font(*values[i], kPGothic, 10);
  }
  Font(Label11, kPGothic, 9);
  for (Label* l : {&Label1, &Label2, &Label3}) Font(*l, kPGothic, 10);
  Check8.Move(x0, 160 * sc, 150 * sc, 20);
  Font(Check8, kGothic, 12);
  CheckBox* checks[] = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check9};
  for (int i = 0; i < 7; ++i) {
    checks[i]->Move(400 * sc, (14 + 18 * i) * sc, 155 * sc, 18);
    Font(*checks[i], kGothic, 10);
  }
  Frame5.Move(400 * sc, 140 * sc, 155 * sc, 44);
  Frame5.SetCaption("");
  Option1.Move(4, 6, 150 * sc - 8, 17);
  Option2.Move(4, 24, 150 * sc - 8, 17);
  Frame7.Move(400 * sc, 186 * sc, 155 * sc, 44);
  Frame7.SetCaption("");
  Option6.Move(4, 6, 150 * sc - 8, 17);
  Option7.Move(4, 24, 150 * sc - 8, 17);
  for (OptionButton* o : {&Option1, &Option2, &Option6, &Option7}) Font(*o, kGothic, 10);
  Command1.Move(x0 + 160 * sc, 186 * sc, 220 * sc, 24);
  Command13.SetVisible(false);

  // The option panel.
  Picture7.Move(0, 0, 200, 150);
  Picture7.SetBorderStyle(0);  // its raised border is drawn when it opens
  Picture7.SetAutoRedraw(true);
  Check7.Move(10, 8, 180, 20);
  Font(Check7, kGothic, 10);
  Frame6.Move(8, 32, 184, 112);
  Frame6.SetCaption("");
  Option3.Move(6, 6, 170, 18);
  Option4.Move(6, 26, 170, 18);
  Option5.Move(6, 46, 170, 18);
  for (OptionButton* o : {&Option3, &Option4, &Option5}) {
    Font(*o, kGothic, 10);
    o->SetToolTipText("OKﾎﾞﾀﾝをｸﾘｯｸして変更して下さい");
  }
  Command16.Move(184 / 3.0 - 60 + 30, 74, 60, 25);
  Command17.Move(184 / 6.0 + 92 - 30 + 10, 74, 70, 25);
  Command16.SetCaption("ＯＫ");
  Command17.SetCaption("キャンセル");
  Font(Command16, kPGothic, 11 * fs);
  Font(Command17, kPGothic, 11 * fs);
  Command16.SetToolTipText("画面ｻｲｽﾞを変更する場合ｸﾘｯｸして下さい");

  // The data box, the information columns, the trace picture and the key help.
  SetUpDataBoxes();
  Text13.Move(0, 210 * sc, 160, 138);
  Font(Text13, kGothic, 10 * fs);
  Canvas().SetFontName(kGothic);
  Canvas().SetFontSize(9 * fs * sc);
  Font(List1, kGothic, 12 * fs);

  // Captions by class.
  Check1.SetCaption("ｵﾌﾞｼﾞｪｸﾄの表示");
  Check2.SetCaption("ﾍﾞﾛｼﾃｰﾍﾞｸﾀｰの表示");
  Check3.SetCaption("ﾃﾞｰﾀﾎﾞｯｸｽの表示");
  Check4.SetCaption("計器盤の表示");
  Check5.SetCaption(light ? "ﾊﾝｸﾞ用ﾒｰﾀｰの表示" : "パイロンの表示");
  Check6.SetCaption("ｼﾞｮｲｽﾃｨｯｸ");
  Check7.SetCaption("風切り音 on/off");
  Check8.SetCaption(light ? "尾端ホールド" : "ﾌﾟﾛﾍﾟﾗﾄﾙｸ再現");
  Check8.SetEnabled(!(!light && (s.Engine.EngineType == aircraft::EngineKind::Jet || s.Engine.EngineType == aircraft::EngineKind::Rocket)));
  Check9.SetCaption("背景のﾜｲﾔﾌﾚｰﾑ化");
  Option1.SetCaption("ｼﾐｭﾚｰﾄｽﾋﾟｰﾄﾞ×１");
  Option2.SetCaption(light ? "ｼﾐｭﾚｰﾄｽﾋﾟｰﾄﾞ×1/3" : "ｼﾐｭﾚｰﾄｽﾋﾟｰﾄﾞ最高速");
  Option3.SetCaption("画面ｻｲｽﾞ640×480");
  Option4.SetCaption("画面ｻｲｽﾞ800×600");
  Option5.SetCaption("画面ｻｲｽﾞ1024×768");
  Option6.SetCaption("画面表示ﾌﾚｰﾑﾚｰﾄ1/10");
  Option7.SetCaption("画面表示ﾌﾚｰﾑﾚｰﾄ1/20");

  // The stored options into the boxes; the display flags then stay 0 for
  // the first passes of the flight (the display options take them back).
  CheckBox* optionBoxes[] = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7};
  int16_t* flags[] = {&st.ShowObjects, &st.ShowVelocityVector, &st.ShowDataBox, &st.ShowInstrumentPanel,
                      &st.ShowPylonOrHangMeter, &st.JoystickOn, &st.SoundOn};
  for (int i = 0; i < 7; ++i) {
    optionBoxes[i]->SetValue(*flags[i] != 0 ? 1 : 0);
    *flags[i] = 0;
  }
  Check9.SetValue(st.WireframeView != 0 ? 1 : 0);
  if (st.SimSpeedNormal) {
    Option1.SetValue(true);
  } else {
    Option2.SetValue(true);
  }
  screen_.Keys.SimSpeedNormal = st.SimSpeedNormal;
  Label1.SetCaption(BankCaption(a));
  Label2.SetCaption(HeadingCaption(a));
  Label3.SetCaption("風向方位" + Str(Int(a.WindDirection * kDegreesPerRadian + 0.5)) + "°");
  Label7.SetCaption(SpeedCaption(a));
  Label11.SetCaption(PressureCaption(a));
  Label13.SetCaption(TemperatureCaption(a));
  if (st.FrameRate20) {
    Option7.SetValue(true);
  } else {
    Option6.SetValue(true);
  }
  // The start-up has cut the choice down to what the desktop offers: the
  // option set is the size this screen is laid out at.
  const int16_t largest = shell::LargestScreenSize(zarv::Screen().PixelWidth(), zarv::Screen().PixelHeight());
  Option4.SetEnabled(largest >= 1);
  Option5.SetEnabled(largest >= 2);
  ShowSizeInUse();
  Label5.SetCaption(Format(a.LaunchPitch * kDegreesPerRadian, "#0.0"));
  Label9.SetCaption(WindSpeedCaption(a));
  screen_.KeyHelpText = KeyHelpText(s.Engine.AfterburnerMax, s.Engine.EngineType, s.Engine.TvcCapability);
  Text13.SetText(screen_.KeyHelpText);
  a.AircraftTag = HangarTag(a.AircraftTag, light, s.Engine.EngineType, s.Engine.EngineRating);
  // The first set-up puts the menu under the strip with the companion
  // menu; a later one (the list already there) leaves the menu as it is.
  if (List1.Top() != Picture8.Height()) {
    List1.Move(0, Picture8.Height(), 185, 78);
    List1.SetRowHeight(kMenuRowPitch);
    FillMenu(kMenuCompanionLoad);
  }
  screen_.Options.SoundOn = st.SoundOn;
  screen_.Options.JoystickOn = st.JoystickOn;
  screen_.Options.FrameRate20 = st.FrameRate20;
  screen_.Options.ShowVelocityVector = st.ShowVelocityVector;
  settingUp_ = false;
}

void FlightFrame::SetUpDataBoxes() {
  const double sc = shell::Shell().ScreenScale, fs = shell::Shell().FontScale;
  const double formW = 640 * sc;
  constexpr Color kBoxGrey = 0xC0C0C0;
  auto lineBox = [&](TextBox& t, double size) {
    Font(t, kGothic, size);
    t.SetBackColor(kBoxGrey);
    t.SetBorderStyle(0);
    t.SetLocked(true);     // shown, never typed into
    t.SetTabStop(false);   // the keys stay with the flight
    t.SetText("");
    t.SetVisible(true);
  };

  Picture13.Move(0, 208 * sc - 152, 200, 150);
  Picture13.SetBackColor(vbBlack);

  // Element 0 of each array is the design's; the rest are made here once
  // per load (the unload drops them).
  for (int i = 1; i <= 11; ++i) Text15.Load(i);
  for (int i = 1; i <= 8; ++i) Text11.Load(i);
  for (int i = 1; i <= 7; ++i) Text12.Load(i);

  // The data box: two columns of six lines where the panel would stand.
  Picture9.Move(150 * sc, 360 * sc, 350 * sc, 105 * sc);
  Picture9.SetBackColor(kBoxGrey);
  Surface& box = Picture9.Canvas();
  const double bw = Picture9.ScaleWidth() - 1, bh = Picture9.ScaleHeight() - 1;
  box.Line(0, 0, bw, 0, 0x808080);
  box.Line(0, 0, 0, bh, 0x808080);
  box.Line(0, bh, bw, bh, vbWhite);
  box.Line(bw, 0, bw, bh + 1, vbWhite);
  for (int i = 0; i <= 11; ++i) {
    TextBox& t = Text15[i];
    lineBox(t, 12 * fs * sc);
    const int column = i / 6;
    t.Move((column * 170 + 5) * sc, ((i - column * 6) * 16 + 5) * sc, 170 * sc, 16 * sc);
  }

  // The information columns, right-aligned to the view's edge. They are as
  // wide as their longest line in the font this system has.
  Surface probe(4, 4);
  probe.SetFontName(kGothic);
  probe.SetFontSize(10 * fs);
  const double columnW = std::max(150.0, std::ceil(probe.TextWidth("航続可能距離=99999nm") + 6));
  for (int i = 0; i <= 8; ++i) {
    lineBox(Text11[i], 10 * fs);
    Text11[i].Move(0, 14 * i, columnW, 14);
  }
  for (int i = 0; i <= 7; ++i) {
    lineBox(Text12[i], 10 * fs);
    Text12[i].Move(0, 14 * i, columnW, 14);
  }
  for (Frame* f : {&Frame3, &Frame4}) {
    f->SetCaption("");
    f->SetBorderStyle(0);
    f->SetBackColor(kBoxGrey);
  }
  Frame4.Move(formW - columnW, 95 * sc, columnW, 112);
  Frame3.Move(formW - columnW, 95 * sc + 115, columnW, 128);
}

void FlightFrame::FillMenu(int phase) {
  const MenuEntries m = MenuFor(static_cast<MenuPhase>(phase));
  List1.Clear();
  for (const std::string& e : m.Entries) List1.AddItem(e);
  screen_.Keys.MenuItemCount = m.Count;
  List1.SetHeight(m.ListHeight);
  if (m.ListWidth > 0) List1.SetWidth(m.ListWidth);
}

// ---------------------------------------------------------------- menu

void FlightFrame::Label16_Open() {
  Picture7.SetVisible(false);
  Picture13.SetVisible(false);
  Frame1.SetVisible(false);
  if (!MenuBlocked()) {
    List1.SetVisible(true);
    List1.ZOrder();
  }
}

void FlightFrame::Label21_Close() {
  const flight::FlightState& s = flight::State();
  if (!(s.Loop.TimeMark >= 1 || s.Loop.FlightEnded)) return;
  List1.SetVisible(false);
  const aircraft::AircraftData& a = aircraft::Aircraft();
  // Once the take-off key has started the run the bars stay away: behind the
  // line on the deck or afloat, they would put the aircraft back on its start.
  const bool underWay = ((aircraft::LaunchAtMost10(a.LaunchSpeed) || s.Body.GroundSpeed >= 0.1) && s.Body.CourseDistance >= 0 &&
                         (a.LaunchSpeed >= 1.1 || s.Body.GroundSpeed >= 0.1) && !s.Loop.FlightEnded) ||
                        (s.Ground.RunStarted && !s.Loop.FlightEnded);
  if (!underWay && !MenuBlocked()) Frame1.SetVisible(true);
}

void FlightFrame::List1_MouseMove(double y) {
  const int16_t row = HoveredMenuRow(y, screen_.Keys.MenuItemCount, List1.ListCount());
  screen_.HoveredMenuIndex = row;
  if (row == screen_.Keys.MenuItemCount - 1) List1.SetListIndex(-1);
  List1.SetListIndex(row);
}

void FlightFrame::List1_MouseDown() {
  List1.SetVisible(false);
  const int index = List1.ListIndex();
  const std::string text = index >= 0 ? List1.List(index) : std::string();
  switch (CommandForEntry(text)) {
    case MenuCommand::Help:
      SendKeys("{F1}");
      break;
    case MenuCommand::Ranking:
      Command9_Click();
      break;
    case MenuCommand::AirfoilChart:
      Command4_Click();
      break;
    case MenuCommand::AircraftChart:
      Command7_Click();
      break;
    case MenuCommand::FlightData:
      Command5_Click();
      break;
    case MenuCommand::Replay:
      Command6_Click();
      List1.SetListIndex(-1);
      break;
    case MenuCommand::Editor:
      shell::Write_().Show();
      shell::Write_().ZOrder();
      break;
    case MenuCommand::Registration:
      shell::Shell().ScreenMode = shell::kScreenModeRegister;
      shell::Choice().Load();
      break;
    case MenuCommand::CancelOrPlatform:
      Command11_Click();
      break;
    case MenuCommand::ChangeAircraft:
      Command3_Click();
      break;
    case MenuCommand::Quit:
      QuitCommand();
      break;
    case MenuCommand::None:
      break;
  }
  if (text.empty()) {
    List1.SetListIndex(-1);
    List1.SetVisible(true);
  } else {
    // A choice ends a log write or the companion's reading in progress: the
    // four-entry menus only name their keys.
    flight::Record().LogRowCount = 0;
  }
}

// --------------------------------------------------------------- mouse

void FlightFrame::Form_MouseDown(int button, double x, double y) {
  shell::ShellState& sh = shell::Shell();
  sh.FormActiveFlags[8] = 0;
  sh.FormActiveFlags[9] = 0;
  const flight::FlightState& s = flight::State();
  const double now = Timer();
  if (!(static_cast<float>(now) > static_cast<float>(screen_.Keys.UiDeadline + 0.2)) || s.Loop.TimeMark <= 0) return;
  if (button == vbLeftButton && shell::CurrentSettings().JoystickOn == 0) {
    // A powered aircraft's click is the trigger, once a companion is there
    // to fire at.
    if (aircraft::LaunchAtMost10(aircraft::Aircraft().LaunchSpeed)) {
      Command14_Click();
    } else if (flight::Companion().CompanionSampleCount > 0) {
      FireGun();
    }
    screen_.Keys.UiDeadline = Timer();
    if (s.Body.GroundSpeed > 0.2 && s.Body.Altitude > 0) {
      Picture7.SetVisible(false);
    } else if (s.Body.Altitude > 0) {
      Command17_Click();
    }
  } else if (button == vbRightButton && sh.FormActiveFlags[shell::kSlotProcess] == 0 && !Picture7.Visible()) {
    double top = y, left = std::max(x, 0.0);
    top = std::min(top, ScaleHeight() - Picture7.Height());
    left = std::min(left, ScaleWidth() - Picture7.Width());
    Picture7.SetTop(top);
    Picture7.SetLeft(left);
    OptionPanel_Show();
    screen_.Keys.UiDeadline = Timer();
  }
}

void FlightFrame::Form_MouseMove(double x, double y) {
  flight::FlightState& s = flight::State();
  if (y < 5) {
    Picture8.SetVisible(true);
  } else if (!s.Loop.FlightEnded && !List1.Visible()) {
    Picture8.SetVisible(false);
  }
  if (s.Body.Altitude > -1 && s.Pilot.MouseSteering == 1 && shell::CurrentSettings().JoystickOn == 0) {
    s.Pilot.SteeringPointerX = CInt(x);
    s.Pilot.SteeringPointerY = CInt(y);
  }
  if (s.Loop.StepCounter % 12 == 0) {
    if (!s.Loop.FlightEnded && s.Loop.TimeMark > 0) List1.SetVisible(false);
    Frame1.SetVisible(false);
    if (Timer() - screen_.Keys.UiDeadline > 0.6 && Picture7.Visible()) Command17_Click();
  }
}

void FlightFrame::OptionPanel_Show() {
  shell::DrawRaisedBorder(Picture7.Canvas(), Picture7.ScaleWidth(), Picture7.ScaleHeight(), 2);
  const flight::FlightState& s = flight::State();
  const bool flying = s.Body.GroundSpeed > 0.2 && s.Body.Altitude > 0;
  for (Control* c : std::initializer_list<Control*>{&Check7, &Option3, &Command16, &Command17}) c->SetEnabled(!flying);
  const int16_t largest = shell::LargestScreenSize(zarv::Screen().PixelWidth(), zarv::Screen().PixelHeight());
  Option4.SetEnabled(!flying && largest >= 1);
  Option5.SetEnabled(!flying && largest >= 2);
  Picture7.SetVisible(true);
  Picture7.ZOrder();
}

void FlightFrame::Command16_Click() {
  Picture7.SetVisible(false);
  // Only a size picked here becomes the saved choice: OK on the size shown
  // keeps a larger one saved on another desktop.
  OptionButton* sizes[] = {&Option3, &Option4, &Option5};
  for (int16_t i = 0; i < 3; ++i) {
    if (sizes[i]->Value() && i != shell::Shell().ScreenSizeInUse) {
      shell::CurrentSettings().ScreenSizeChoice = i;
      Command11_Click();
      return;
    }
  }
}

void FlightFrame::Command17_Click() {
  Picture7.SetVisible(false);
  ShowSizeInUse();
}

void FlightFrame::ShowSizeInUse() {
  const int16_t c = shell::Shell().ScreenSizeInUse;
  Option3.SetValue(c == 0);
  Option4.SetValue(c == 1);
  Option5.SetValue(c == 2);
}

void FlightFrame::Check6_Click() {
  aircraft::AircraftData& a = aircraft::Aircraft();
  if (Check6.Value() == 0) {
    Command1.SetCaption(flight::State().Engine.EngineRating > 9000 ? "ＰＣＡＳの設定" : "マウス操縦の尾翼動作比率");
    if (a.TailplaneFixed != 0 && a.FinFixed != 0) Command1.SetEnabled(false);
  } else {
    Command1.SetCaption("ｼﾞｮｲｽﾃｨｯｸ操縦の詳細設定");
    // Where the stick rests now is its centre: the loop takes the offsets
    // off its reading, so a stick off the middle does not steer.
    flight::FlightState& s = flight::State();
    PollJoystick(s);
    flight::SetJoystickRest(s.Pilot, shell::Shell().ScreenScale);
    Command1.SetEnabled(true);
  }
}

// ------------------------------------------------------ condition bars

void FlightFrame::ConditionBarChanged(int bar) {
  if (!loaded_) return;
  aircraft::AircraftData& a = aircraft::Aircraft();
  flight::FlightState& s = flight::State();
  flight::FlightRecord& r = flight::Record();
  switch (bar) {
    case 1:
      Label1.SetCaption(ApplyBankBar(HScroll1.Value(), a));
      break;
    case 2:
    case 3: {
      HScrollBar& b = bar == 2 ? HScroll2 : HScroll3;
      const int wrapped = WrapDirectionBar(b.Value());
      if (wrapped != b.Value()) b.SetValue(wrapped);  // runs this handler again with the new value
      if (bar == 2) {
        Label2.SetCaption(ApplyHeadingBar(b.Value(), a, s, r));
      } else {
        Label3.SetCaption(ApplyWindDirectionBar(b.Value(), a));
      }
      break;
    }
    case 12:
      Label7.SetCaption(ApplyLaunchSpeedBar(VScroll2.Value(), a, s, r));
      break;
    case 13:
      Label9.SetCaption(ApplyWindSpeedBar(VScroll3.Value(), a));
      break;
    case 14:
      Label11.SetCaption(ApplyPressureBar(VScroll4.Value(), a));
      break;
    case 15:
      Label13.SetCaption(ApplyTemperatureBar(VScroll5.Value(), a));
      break;
    case 11: {
      // The other bars follow the conditions; each bar's handler runs also
      // when the bar already stands where it belongs, so values read from a
      // file come onto the bars' steps (a light aircraft's strong wind
      // becomes calm).
      const std::string pitch = ApplyPitchBar(VScroll1.Value(), a);
      const BarPositions p = BarsForConditions(a, s.Engine.EngineRating);
      auto place = [this](ScrollBar& b, int value, int handler) {
        if (b.Value() != value) {
          b.SetValue(value);
        } else {
          ConditionBarChanged(handler);
        }
      };
      place(VScroll2, p.Speed, 12);
      if (!p.SpeedCaption.empty() && p.Speed != 0) Label7.SetCaption(SpeedCaption(a));
      place(VScroll3, p.Wind, 13);
      place(VScroll4, p.Pressure, 14);
      place(VScroll5, p.Temperature, 15);
      place(HScroll1, p.Bank, 1);
      if (p.Heading) place(HScroll2, *p.Heading, 2);
      if (p.WindDirection) place(HScroll3, *p.WindDirection, 3);
      Label5.SetCaption(pitch);
      break;
    }
    default:
      break;
  }
}

}  // namespace zarv::flightscreen
