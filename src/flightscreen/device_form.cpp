#include "flightscreen/device_form.h"

#include <algorithm>
#include <array>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_state.h"
#include "flightscreen/joy_button_map.h"
#include "flightscreen/joystick_link.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "shell/screen_util.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen {
namespace {

// Design geometry in pixels. List rows are kRowPitch apart and each box
// sits on its row.
constexpr int kListLeft = 8;
constexpr int kListTop = 8;
constexpr int kListWidth = 250;
constexpr int kRowPitch = 15;
constexpr int kBoxWidth = 52;
constexpr int kBoxHeight = 14;
constexpr int kBarWidth = 16;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kBoxLeft = kListLeft + kListWidth;
constexpr int kFormWidth = kBoxLeft + 3 * kBoxWidth + 10;

constexpr const char* kPitchRatioRow = "ﾋﾟｯﾁ動作比率";
constexpr const char* kRollRatioRow = "ﾛｰﾙ動作比率";
constexpr const char* kTailplaneRatioRow = "動作比率水平尾翼";
constexpr const char* kFinRatioRow = "動作比率垂直尾翼";
constexpr const char* kSurfaceRateRow = "動翼動作速度Deg/Sec";
constexpr const char* kPitchResponseRow = "ﾋﾟｯﾁ応答特性";
constexpr const char* kPitchDampingRow = "ﾋﾟｯﾁ減衰特性";

// A PCAS aircraft: the device dialog and its surface rate switch on it.
constexpr double kPcasRating = 9000;

}  // namespace

DeviceForm& Device() {
  static DeviceForm form;
  return form;
}

DeviceForm::DeviceForm() {
  SetBorderStyle(vbFixedDialog);
  List1.Move(kListLeft, kListTop, kListWidth, 54);
  List1.SetRowHeight(kRowPitch);
  Text1(0).Move(kBoxLeft, kListTop + 1, kBoxWidth, kBoxHeight);
  Text1(0).SetBackColor(vbWhite);
  Text1(0).SetForeColor(vbBlack);
  const std::array<VScrollBar*, 5> bars{&VScroll1, &VScroll2, &VScroll3, &VScroll4, &VScroll5};
  const std::array<int, 5> maxima{300, 300, 60, 100, 100};
  for (size_t i = 0; i < bars.size(); ++i) {
    bars[i]->SetMin(0);
    bars[i]->SetMax(maxima[i]);
    bars[i]->SetSmallChange(1);
    bars[i]->SetLargeChange(10);
    const int bar = static_cast<int>(i) + 1;
    bars[i]->OnChange = [this, bar] { VScroll_Change(bar); };
  }
  Label2.SetWordWrap(true);
  Command1.SetCaption("完了");
  Command2.SetCaption("ｷｬﾝｾﾙ");
  Command3.SetCaption("ﾎﾞﾀﾝのｷｬﾝｾﾙ");
  Timer1.SetInterval(100);

  OnLoad = [this] { Form_Load(); };
  OnActivate = [this] { Form_Activate(); };
  // The dialog closes as soon as another window takes the focus.
  OnDeactivate = [this] { Unload(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Unload(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void DeviceForm::Form_Load() {
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const flight::FlightState& s = flight::State();
  const shell::ShellState& sh = shell::Shell();
  JoystickLink& link = Joystick();
  const double fs = sh.FontScale;

  surfaceRateEdit_ = a.SurfaceRate;
  pitchResponseEdit_ = a.PitchResponse;
  pitchDampingEdit_ = a.PitchDamping;
  joystickBox_ = link.JoystickBoxValue();
  pcas_ = s.Engine.EngineRating >= kPcasRating;
  gaugeLeft_ = 0;
  leverFraction_ = 0;
  lever_ = static_cast<int16_t>(std::clamp(JoyMap().Detent(), 0, 256));

  const auto [left, top] = link.FlightScreenTopLeft();
  SetLeft(left);
  SetTop(top);
  const std::string font = "ＭＳ Ｐゴシック";
  auto setFont = [&](Control& c, double points) {
    c.SetFontName(font);
    c.SetFontSize(points * fs);
  };
  setFont(List1, 11);
  setFont(Label1, 9);
  setFont(Label2, 9);
  setFont(Label3, 10);
  setFont(Command1, 11);
  setFont(Command2, 11);
  setFont(Command3, 9);
  for (Control* c : std::initializer_list<Control*>{&Text1(0), &Text3, &Text4, &Text5, &Text6, &Text7})
    setFont(*c, 10);
  Text2.SetFontName("ＭＳ ゴシック");
  Text2.SetFontSize(11);
  Command1.SetToolTipText("設定を保存して、このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます");
  Command2.SetToolTipText("設定を保存しないで、ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます");
  Command3.SetToolTipText("ｱｸﾃｨﾌﾞの項目のボタン設定を解除します");

  // Code boxes, each on its list row, showing the stored masks.
  for (int i = 1; i < kJoyFunctionCount; ++i) Text1.Load(i);
  for (int i = 0; i < kJoyFunctionCount; ++i) {
    Text1(i).Move(kBoxLeft, kListTop + kRowPitch * i + 1, kBoxWidth, kBoxHeight);
    Text1(i).SetText(std::to_string(JoyMap().Entries[static_cast<size_t>(i)]));
  }

  Text5.SetText(Format(surfaceRateEdit_, "#0"));
  Text6.SetText(Format(a.PitchResponse, "#0.0"));
  Text7.SetText(Format(a.PitchDamping, "#0.0"));
  Text3.SetText(Format(a.PitchRatio, "0.00"));
  Text4.SetText(Format(a.RollRatio, "0.00"));

  BuildLayout();
  PlaceValueRows();

  Label1.SetCaption(
      "  マウスで項目をクリックしてボタンを押して下さい\r\n"
      "  現在押されているボタンのコードは下の数字です");
  Label2.SetCaption(s.Engine.AfterburnerMax > 1
                        ? "  ﾐﾘﾀﾘｰ推力のｽﾛｯﾄﾙ位置(中間の引っ掛かり)にしてから完了ボタンを押して下さい"
                        : "");
  if (joystickBox_ > 0 && aircraft::LaunchAbove10(a.LaunchSpeed) && pcas_) {
    gaugeLeft_ = CheckedRound<int>(Text1(0).Left() + 2 * Text1(0).Width());
  }
  StackLowerControls();
  Canvas().Cls();
  if (gaugeLeft_ > 0) DrawGaugeFrame();
  ShowReadout();
  Show();
}

void DeviceForm::BuildLayout() {
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const flight::FlightState& s = flight::State();
  const bool joystick = joystickBox_ > 0;
  const std::string rollOrFin = aircraft::LaunchAbove10(a.LaunchSpeed) ? kRollRatioRow : kFinRatioRow;

  std::vector<std::string> functions;
  std::vector<std::string> values;
  if (joystick && pcas_) {
    layout_ = DeviceLayout::JoystickPcas;
    SetCaption("ｼﾞｮｲｽﾃｨｯｸのボタン、ＰＣＡＳの設定");
    functions = {"Wheel Brakes on/off",
                 flight::Companion().CompanionSampleCount != 0 ? "Gun Fire" : "Joy <-> Key Change",
                 "Bk Hld on/off",
                 "水平尾翼トリム機首上げ",
                 "水平尾翼トリム機首下げ",
                 "垂直尾翼トリム左",
                 "垂直尾翼トリム右",
                 "Gear Up/Down",
                 "Flaps Up",
                 "Flaps Down",
                 "Fuel Dump"};
    if (s.Engine.TvcCapability >= 2) functions.emplace_back("TVC on/off");
    values = {kPitchRatioRow, kRollRatioRow, kSurfaceRateRow, kPitchResponseRow, kPitchDampingRow};
  } else if (joystick) {
    layout_ = DeviceLayout::JoystickRatios;
    SetCaption("ｼﾞｮｲｽﾃｨｯｸのボタン、動作比率の設定");
    // The dialog opens on the loaded flight screen, whose set-up has left
    // the launch height at 0 or above 1 m.
    functions = {aircraft::StartsAboveSurface(a) ? "スタート" : "Wheel Brakes on/off", "Joy<->Key 切り替え",
                 "Bk Hld on/off", "水平尾翼トリム機首上げ", "水平尾翼トリム機首下げ"};
    values = {kTailplaneRatioRow, rollOrFin, "動作速度Deg/Sec"};
  } else if (pcas_) {
    layout_ = DeviceLayout::MousePcas;
    SetCaption("ＰＣＡＳの設定");
    values = {kSurfaceRateRow, kPitchResponseRow, kPitchDampingRow};
  } else {
    layout_ = DeviceLayout::MouseRatios;
    SetCaption("マウスの動作比率の設定");
    values = {kTailplaneRatioRow, rollOrFin, kSurfaceRateRow};
  }
  functionRows_ = static_cast<int>(functions.size());
  firstValueRow_ = functionRows_;

  List1.Clear();
  for (const auto& row : functions) List1.AddItem(row);
  for (const auto& row : values) List1.AddItem(row);
  int listHeight = 54;
  if (layout_ == DeviceLayout::JoystickPcas) listHeight = 18 * (functionRows_ + 3);
  if (layout_ == DeviceLayout::JoystickRatios) listHeight = 126;
  List1.SetHeight(listHeight);

  // Code boxes: one per function row; the ratio layout keeps boxes 5 and up
  // (their rows do not exist there) out of sight, and an aircraft without
  // afterburner shows no code for the thrust-vector row.
  for (int i = 0; i < kJoyFunctionCount; ++i) {
    bool shown = i < functionRows_;
    if (layout_ == DeviceLayout::JoystickPcas && i == kJoyTvc && s.Engine.AfterburnerMax <= 1) shown = false;
    Text1(i).SetVisible(shown);
  }
  const bool assigning = joystick;
  Text2.SetVisible(assigning);
  Label1.SetVisible(assigning);
  Command3.SetVisible(assigning);
  Label2.SetVisible(assigning);
  Label3.SetVisible(layout_ != DeviceLayout::MousePcas);
}

void DeviceForm::PlaceValueRows() {
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const std::array<VScrollBar*, 5> bars{&VScroll1, &VScroll2, &VScroll3, &VScroll4, &VScroll5};
  const std::array<TextBox*, 5> boxes{&Text3, &Text4, &Text5, &Text6, &Text7};

  // Positions from the values, for hidden bars too; a value off the bar's
  // scale holds the bar at its end.
  auto position = [](double p, int max) { return std::clamp(CheckedRound<int>(p), 0, max); };
  VScroll1.SetValue(position(300 - 100 * a.PitchRatio, 300));
  VScroll2.SetValue(position(300 - 100 * a.RollRatio, 300));
  VScroll3.SetValue(position(pcas_ ? 60 - surfaceRateEdit_ / 4 : 60 - surfaceRateEdit_, 60));
  VScroll4.SetValue(position(100 - 10 * pitchResponseEdit_, 100));
  VScroll5.SetValue(position(100 - 10 * pitchDampingEdit_, 100));
  VScroll1.SetEnabled(a.TailplaneFixed != 1);
  VScroll2.SetEnabled(a.FinFixed != 1);
  VScroll3.SetEnabled(!(a.TailplaneFixed == 1 && a.FinFixed == 1));

  int first = 0, last = 0;  // bars shown, 1-based
  switch (layout_) {
    case DeviceLayout::JoystickPcas:
      first = 1, last = 5;
      break;
    case DeviceLayout::MousePcas:
      first = 3, last = 5;
      break;
    default:
      first = 1, last = 3;
      break;
  }
  for (int bar = 1; bar <= 5; ++bar) {
    const bool shown = bar >= first && bar <= last;
    const auto i = static_cast<size_t>(bar - 1);
    bars[i]->SetVisible(shown);
    boxes[i]->SetVisible(shown);
    if (!shown) continue;
    const int top = kListTop + kRowPitch * (firstValueRow_ + bar - first) + 1;
    boxes[i]->Move(kBoxLeft, top, kBoxWidth, kBoxHeight);
    bars[i]->Move(kBoxLeft + kBoxWidth, top, kBarWidth, kBoxHeight);
  }
  // The read-out beside the value rows, clear of the throttle gauge.
  const double fs = shell::Shell().FontScale;
  double readoutTop = kListTop + kRowPitch * firstValueRow_ + 1;
  if (layout_ == DeviceLayout::JoystickPcas) readoutTop = std::max(readoutTop, 185 / fs + 6);
  Label3.Move(kBoxLeft + kBoxWidth + kBarWidth + 6, readoutTop, 2 * kBoxWidth - kBarWidth - 6, 34);
}

void DeviceForm::StackLowerControls() {
  const shell::ShellState& sh = shell::Shell();
  const double listBottom = List1.Top() + List1.Height();
  Label1.Move(kListLeft, listBottom + 5, 300, 30);
  Label2.Move(kListLeft + 306, listBottom + 5, kFormWidth - kListLeft - 306 - 6, 64);
  Text2.Move(kListLeft, Label1.Top() + Label1.Height(), 100, 18 / sh.FontScale);
  Command3.Move(kListLeft + 110, Text2.Top(), kButtonWidth, kButtonHeight);
  const double buttonsTop = Text2.Top() + Text2.Height() + kButtonHeight / 2.0;
  Command1.Move(kListLeft + 100, buttonsTop, kButtonWidth, kButtonHeight);
  Command2.Move(kListLeft + 210, buttonsTop, kButtonWidth, kButtonHeight);
  // The window is sized by its client area here, so the title bar's share of
  // the runtime's height is left out.
  SetWidth(kFormWidth * sh.TwipsPerPixel);
  SetHeight((buttonsTop + 1.5 * kButtonHeight) * sh.TwipsPerPixel);
}

void DeviceForm::Form_Activate() {
  shell::Shell().FormActiveFlags[shell::kSlotDevice] = 1;
  if (Joystick().Options != nullptr) Joystick().Options->DeviceDialogActive = 1;
}

void DeviceForm::Form_Unload(int&) {
  shell::Shell().FormActiveFlags[shell::kSlotDevice] = 0;
  if (Joystick().Options != nullptr) Joystick().Options->DeviceDialogActive = 0;
}

void DeviceForm::VScroll_Change(int bar) {
  aircraft::AircraftData& a = aircraft::Aircraft();
  switch (bar) {
    case 1:
      a.PitchRatio = 3.0 - VScroll1.Value() / 100.0;
      Text3.SetText(Format(a.PitchRatio, "0.00"));
      break;
    case 2:
      a.RollRatio = 3.0 - VScroll2.Value() / 100.0;
      Text4.SetText(Format(a.RollRatio, "0.00"));
      break;
    case 3:
      surfaceRateEdit_ = pcas_ ? (60 - VScroll3.Value()) * 4.0 : 60.0 - VScroll3.Value();
      Text5.SetText(Format(surfaceRateEdit_, "#0"));
      break;
    case 4:
      pitchResponseEdit_ = 10 - VScroll4.Value() / 10.0;
      Text6.SetText(Format(pitchResponseEdit_, "0.0"));
      break;
    case 5:
      pitchDampingEdit_ = 10 - VScroll5.Value() / 10.0;
      Text7.SetText(Format(pitchDampingEdit_, "0.0"));
      break;
    default:
      break;
  }
}

void DeviceForm::Timer1_Timer() {
  if (joystickBox_ > 0) {
    flight::FlightState& s = flight::State();
    PollJoystick(s);
    const uint32_t mask = s.Pilot.JoyButtons;
    Text2.SetText(Str(static_cast<double>(mask)));
    // The mask is taken whole: a chord of buttons is one code.
    if (mask != 0 && IsFunctionRow(List1.ListIndex())) Text1(List1.ListIndex()).SetText(std::to_string(mask));
    if (pcas_) {
      const uint32_t z = s.Pilot.JoyZpos;
      if (z > 5) {
        s.Pilot.JoyAxisPresentZ = 1;
        lever_ = CInt((2 - z / 32767.0) * 128);
      } else {
        lever_ = 256;
      }
      if (gaugeLeft_ > 0) DrawGaugeFill();
    } else {
      lever_ = static_cast<int16_t>(std::clamp(JoyMap().Detent(), 0, 256));
    }
    if (s.Pilot.JoyYpos != 0) s.Pilot.JoyAxisPresentY = 1;
  }
  ShowReadout();
}

void DeviceForm::ShowReadout() {
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const flight::FlightState& s = flight::State();
  std::string text = Format(Sgn(a.TailplaneArm) * s.Controls.ElevatorDemand * kDegreesPerRadian, "0.0") + "°\r\n";
  if (a.FinFixed == 0 && aircraft::LaunchAtMost10(a.LaunchSpeed)) text += Format(s.Controls.RudderAngle * kDegreesPerRadian, "0.0");
  Label3.SetCaption(text);
}

void DeviceForm::DrawGaugeFrame() {
  Surface& c = Canvas();
  const double fs = shell::Shell().FontScale;
  const double left = gaugeLeft_;
  const double right = gaugeLeft_ + Text1(0).Width() - 1;
  const double top = 15 / fs, bottom = 175 / fs;
  c.Line(left - 1, top - 1, right + 1, 185 / fs + 1, vbBlack, LineBox::BF);
  c.Line(left - 3, bottom, left - 3, top - 3, 0x808080);
  c.LineTo(right + 3, top - 3, 0x808080);
  c.Line(right + 3, top - 3, right + 3, bottom + 1, 0xE0E0E0);
  DrawGaugeFill();
}

void DeviceForm::DrawGaugeFill() {
  // As the flight loop turns the lever into throttle without afterburner.
  double t = lever_ / 245.0 + 0.05;
  t = std::clamp(t, 0.1, 1.0);
  leverFraction_ = (t - 0.1) / 0.9;
  Surface& c = Canvas();
  const double fs = shell::Shell().FontScale;
  const double left = gaugeLeft_;
  const double right = gaugeLeft_ + Text1(0).Width() - 1;
  const double level = (175 - 160 * leverFraction_) / fs;
  c.Line(left, 15 / fs, right, level, vbWhite, LineBox::BF);
  c.Line(left, level, right, 175 / fs, vbRed, LineBox::BF);
}

void DeviceForm::Command3_Click() {
  if (IsFunctionRow(List1.ListIndex())) Text1(List1.ListIndex()).SetText("0");
}

void DeviceForm::Command1_Click() {
  aircraft::AircraftData& a = aircraft::Aircraft();
  flight::FlightState& s = flight::State();
  JoystickLink& link = Joystick();
  if (joystickBox_ >= 1) {
    JoyButtonMap& map = JoyMap();
    for (int i = 0; i < kJoyFunctionCount; ++i) map.Entries[static_cast<size_t>(i)] = CLng(Val(Text1(i).Text()));
    if (s.Engine.AfterburnerMax > 1) map.SetDetent(lever_);
    if (!WriteJoyFile(JoyFilePath(), map)) shell::ReportNotSaved("ジョイスティックの設定", JoyFilePath());
    s.Pilot.ThrottleDetent = map.Detent();
  }
  a.SurfaceRate = surfaceRateEdit_;
  a.PitchResponse = pitchResponseEdit_;
  a.PitchDamping = pitchDampingEdit_;
  if (link.Options != nullptr) link.Options->JoystickOn = static_cast<int16_t>(joystickBox_);
  Unload();
}

void OpenDeviceDialog() { Device().Show(); }

}  // namespace zarv::flightscreen
