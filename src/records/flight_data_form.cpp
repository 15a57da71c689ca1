#include "records/flight_data_form.h"

#include <algorithm>
#include <thread>

#include "aircraft/aircraft_data.h"
#include "flight/flight_state.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/ui/app.h"
#include "platform/ui/gdi.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "records/log_picker.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "platform/runtime/program_state.h"

namespace zarv::records {
namespace {

constexpr int kSlot = shell::kSlotFlightData;
const char* const kMenuRows[] = {"ﾌｧｲﾙを開く F3", "印   刷    F6", "", "ｷｬﾝｾﾙ     Esc"};
constexpr double kMenuRowPitch = 15.6;
const char* const kDrawingTitle = "飛行記録グラフを描いています";

// A canvas of another size is made afresh: the drawings clear it anyway, and
// a resize would first fill the new image and copy the old picture into it.
void SizeCanvas(Surface& c, int width, int height) {
  if (c.Width() == width && c.Height() == height) return;
  c = Surface();  // the old image goes before the new one is made
  c = Surface(width, height);
  c.SetFontName("ＭＳ ゴシック");
  c.SetFontSize(9);
}

}  // namespace

int MenuRowAt(double y) { return CInt(std::clamp(y / kMenuRowPitch - 0.5, -1.0, 3.0)); }

FlightDataLink& FlightDataHost() { return ProgramWide<FlightDataLink>(); }

FlightDataMemory& FlightDataKept() { return ProgramWide<FlightDataMemory>(); }

FlightDataForm::FlightDataForm() {
  checks_ = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7};
  SetBorderStyle(vbFixedSingle);
  SetBackColor(vbWhite);
  SetKeyPreview(true);
  Frame1.SetBorderStyle(0);
  Command4.SetCaption("ファイル");
  Command1.SetCaption("印刷(P)");
  Command3.SetCaption("次ページ(N)");
  DrawTimeTile(timeTile_);
  DrawDistanceTile(distanceTile_);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  OnActivate = [] { shell::Shell().FormActiveFlags[kSlot] = 1; };
  OnClick = [] {
    if (shell::Shell().FormActiveFlags[shell::kSlotProcess] > 0) shell::Process().ZOrder(vbBringToFront);
  };
  OnKeyDown = [this](int& key, int) { Form_KeyDown(key); };
  OnResize = [this] {
    shell::ShellState& sh = shell::Shell();
    if (sh.FormSavedWidth[kSlot] >= 1 && sh.FormSavedHeight[kSlot] >= 1) {
      if (Width() != sh.FormSavedWidth[kSlot]) SetWidth(sh.FormSavedWidth[kSlot]);
      if (Height() != sh.FormSavedHeight[kSlot]) SetHeight(sh.FormSavedHeight[kSlot]);
    }
    FlightDataHost().PlayTransitionSound();
  };
  for (int n = 0; n < 7; ++n) checks_[static_cast<size_t>(n)]->OnClick = [this, n] { CheckClick(n + 1); };
  HScroll1.OnChange = [this] { HScroll1_Change(); };
  Picture4.OnMouseDown = [this](int button, int, double, double) { Picture4_MouseDown(button); };
  auto hideMenu = [this](int, int, double, double) { List1.SetVisible(false); };
  OnMouseMove = hideMenu;
  Label1.OnMouseMove = hideMenu;
  Picture4.OnMouseMove = hideMenu;
  Label10.OnMouseMove = [this](int, int, double, double) { List1.SetVisible(true); };
  List1.OnMouseMove = [this](int, int, double, double y) { List1.SetListIndex(MenuRowAt(y)); };
  List1.OnMouseDown = [this](int, int, double, double) { RunMenuRow(List1.ListIndex()); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

flight::FlightRecord& FlightDataForm::LogRecord() {
  if (!logRecord_) logRecord_ = std::make_unique<flight::FlightRecord>();
  return *logRecord_;
}

void FlightDataForm::ShowRecord(const flight::FlightRecord& record, const std::string& summary) {
  source_ = &record;
  summary_ = summary;
  if (Loaded()) {
    // A stored log replaces the charts in place: the screen stays open, so
    // a flight waiting on it goes on waiting.
    SetUpScreen();
    Show();
  } else {
    Show();
  }
}

void FlightDataForm::Form_Load() { SetUpScreen(); }

ChartInputs FlightDataForm::Inputs() const {
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const flight::FlightState& s = flight::State();
  ChartInputs in;
  in.Record = source_;
  in.SampleCount = source_ ? source_->RecordSampleCount : 0;
  in.Light = light_;
  in.EngineRating = s.Engine.EngineRating;
  in.SeriesFlags = shell::CurrentSettings().ChartSeriesFlags;
  in.Pilot = {a.WingArea, a.WingSpan, s.Masses.Mass, s.Masses.StructureMoment, a.PilotWeight};
  return in;
}

void FlightDataForm::SetUpScreen() {
  shell::ShellState& sh = shell::Shell();
  const double tpp = sh.TwipsPerPixel;
  FlightDataLink& host = FlightDataHost();
  if (source_ == nullptr) source_ = &flight::Record();
  host.PlayTransitionSound();
  sh.FormActiveFlags[kSlot] = 1;
  SetHelpContextID(170);
  Timer1.SetEnabled(false);
  SetCaption(sh.AppName + "フライトデータ");
  drawn_ = false;

  // The flight screen's size; its top.
  double w = sh.FormSavedWidth[shell::kSlotFlightFrame];
  double h = sh.FormSavedHeight[shell::kSlotFlightFrame];
  if (w < 1 || h < 1) {
    w = 640 * sh.ScreenScale * tpp;
    h = 480 * sh.ScreenScale * tpp;
  }
  double flightLeft = 0, flightTop = 0;
  std::tie(flightLeft, flightTop) = shell::FlightScreen().Position();
  sh.FormSavedWidth[kSlot] = 0;  // free to size
  sh.FormSavedHeight[kSlot] = 0;
  Move(std::max(0.0, flightLeft), flightTop, w, h);
  SetAutoRedraw(true);
  Surface& c = Canvas();
  c.SetFontName("ＭＳ ゴシック");
  c.SetFontSize(9 * sh.FontScale);
  c.SetForeColor(vbBlack);
  c.Cls();

  Label10.SetFontName("ＭＳ ゴシック");
  Label10.SetFontSize(12 * sh.FontScale);
  Label10.SetCaption("メニュー");
  Label10.SetBackStyle(vbTransparent);
  Label10.Move(0, 0, 130, 17);
  Label10.SetEnabled(false);
  Label1.SetFontName("ＭＳ ゴシック");
  Label1.SetFontSize(11 * sh.FontScale);
  Label1.SetBackStyle(vbTransparent);
  Label1.Move(130, 0, 800, 17);
  Label1.SetCaption(summary_);
  List1.SetFontName("ＭＳ ゴシック");
  List1.SetFontSize(13 * sh.FontScale);
  List1.Clear();
  for (const char* row : kMenuRows) List1.AddItem(row);
  List1.SetRowHeight(kMenuRowPitch);
  List1.Move(20, 125, 77, 5 * kMenuRowPitch);
  List1.SetVisible(false);
  List1.ZOrder(vbBringToFront);
  Frame1.Move(0, 480, 300, 30);
  Frame1.SetVisible(false);

  // Canvases.
  const flight::FlightRecord& r = *source_;
  light_ = !aircraft::Aircraft().IsPowered();
  const ChartInputs in = Inputs();
  const int32_t n = DrawableSamples(in);
  const double t0 = n > 0 ? r.Samples[0].Time : 0;
  const double d = n > 0 ? r.Samples[static_cast<size_t>(n - 1)].DistanceFlown : 0;
  const CanvasWidths cw = ChartCanvasWidths(n, t0, d, light_);
  // The drawings clear the canvases themselves. A light aircraft opens on
  // the distance chart: its time canvas is sized when that chart is drawn.
  timeWidth_ = cw.Time;
  timeChartDrawn_ = false;
  if (!light_) SizeCanvas(timeCanvas_, cw.Time, kChartHeight);
  SizeCanvas(distanceCanvas_, light_ ? cw.Distance : 16, light_ ? kChartHeight : 16);
  for (Surface* s : {&timeCanvas_, &distanceCanvas_}) {
    s->SetFontName("ＭＳ ゴシック");
    s->SetFontSize(9);
  }
  distanceChosen_ = false;

  // Viewport and scroll bar.
  const int vw = ViewportWidth(CheckedRound<int>(ScaleWidth()), cw.Time);
  HScroll1.SetEnabled(cw.Time >= ScaleWidth() - 154);
  sh.FormSavedWidth[kSlot] = CheckedRound<int16_t>(Width());
  sh.FormSavedHeight[kSlot] = CheckedRound<int16_t>(Height());
  Picture4.Move(kViewportLeft, kViewportTop, vw, kChartHeight);
  Picture4.Canvas().Cls();
  Picture4.SetVisible(true);
  HScroll1.Move(kViewportLeft, 450, vw, std::max(1.0, ScaleHeight() - 450));
  HScroll1.SetMin(0);
  HScroll1.SetMax(ScrollMaximum(cw.Time, vw));
  HScroll1.SetSmallChange(1);
  HScroll1.SetLargeChange(10);

  // Axis labels on the window.
  const double rating = flight::State().Engine.EngineRating;
  auto text = [&c](double x, double y, const std::string& t) {
    c.SetCurrentX(x);
    c.SetCurrentY(y);
    c.Print(t);
  };
  if (rating < 9000) text(138, 46, "10"); else text(127, 46, "1000");
  text(142, 106, "0");
  for (int k = 0; k <= 5; ++k) text(132, 225 - 20 * k, Format(25 + 5 * k, "00") + "%");
  if (light_) {
    for (int k = -2; k <= 2; ++k) text(130, 344 - 40 * k, Str(10 * k));
  } else {
    for (int k = -4; k <= 4; ++k) text(130, 344 - 20 * k, Str(20 * k));
  }

  // Legend.
  const std::array<std::string, 5> legend = LegendTexts(rating);
  for (int k = 0; k < kSeriesCount; ++k) {
    const bool bottom = k >= kFirstBottomSeries;
    const int row = bottom ? kBottomLegendRows[static_cast<size_t>(k - kFirstBottomSeries)]
                           : kLegendRows[static_cast<size_t>(k)];
    const Color colour = kSeriesColours[k];
    c.Line(5, row, 25, row, colour);
    DrawMarker(c, static_cast<Series>(k), 15, row);
    if (!bottom) {
      c.SetForeColor(colour);
      text(36, row - 5, legend[static_cast<size_t>(k)]);
      c.SetForeColor(vbBlack);
    }
  }
  for (int n7 = 0; n7 < 7; ++n7) {
    CheckBox& b = *checks_[static_cast<size_t>(n7)];
    b.SetFontName("ＭＳ Ｐゴシック");
    b.SetFontSize(9 * sh.FontScale);
    b.SetCaption(kBottomCaptions[static_cast<size_t>(n7)]);
    b.SetForeColor(kSeriesColours[kFirstBottomSeries + n7]);
    b.SetBackColor(vbWhite);
    b.Move(30, kBottomLegendRows[static_cast<size_t>(n7)] - 9, 100, 18);
  }
  Check7.SetToolTipText("25%ｺｰﾄﾞからの距離mm");

  host.SetFlightScreenMousePointer(vbDefault);
  host.SetFlightScreenAutoRedraw(false);
  openTime_ = Timer();
  Picture3.Move(0, 0, std::max(1.0, ScaleWidth()), 20);
  Surface& strip = Picture3.Canvas();
  strip.Cls();
  strip.SetDrawWidth(2);
  strip.Line(0, 19, ScaleWidth(), 19, vbButtonShadow);
  strip.SetDrawWidth(1);
  Picture3.ZOrder(vbSendToBack);
  for (int n7 = 0; n7 < 7; ++n7)
    checks_[static_cast<size_t>(n7)]->SetValue(
        shell::CurrentSettings().ChartSeriesFlags[static_cast<size_t>(n7 + 1)] == 1 ? vbChecked : vbUnchecked);
  SetMousePointer(vbHourglass);
  sh.TaskStartTime = 0;
  Timer1.SetInterval(500);
  Timer1.SetEnabled(true);
}

void FlightDataForm::Draw(bool bottomOnly) {
  FlightDataLink& host = FlightDataHost();
  const int32_t n = DrawableSamples(Inputs());
  host.PlayTransitionSound();
  DrawChartByDistance(distanceCanvas_, distanceTile_, Inputs());
  // The time chart of a light aircraft is not on screen at first: it waits
  // until the first picture is up (or until it is asked for).
  if (!light_ || timeChartDrawn_) DrawTimeChart(bottomOnly && timeChartDrawn_);
  host.HideFlightScreen();
  if (!light_ && n > 0 && progressOpen_) {
    shell::Process().Unload();
    ZOrder(vbBringToFront);
  }
  progressOpen_ = false;
}

void FlightDataForm::DrawTimeChart(bool bottomOnly) {
  // The flight loop counts its second afresh; after a long flight the flight
  // screen's mouse waits until the charts close.
  flight::FlightState& s = flight::State();
  s.Loop.TimeMark = s.Loop.FlightTime < 200 ? 20 : 0;
  ChartInputs in = Inputs();
  SizeCanvas(timeCanvas_, timeWidth_, kChartHeight);
  const double start = Timer();
  shell::Shell().TaskStartTime = start;
  progressOpen_ = false;
  in.Progress = [this, start](int32_t done, int32_t total) {
    shell::ProcessForm& p = shell::Process();
    if (!p.Loaded() || !p.Visible()) {
      p.Show();
      p.Label2.SetCaption(kDrawingTitle);
    }
    progressOpen_ = true;
    const double elapsed = Timer() - start;
    // The chart counts whole percent done, rounded down.
    std::string text = Format(Int(static_cast<double>(done) / total * 100), "#0") + "％完了しました";
    if (elapsed > 0.5)
      text += "\r\nあと" + Format(elapsed / done * (total - done) + 0.3, "##0") + "秒かかります";
    p.Label1.SetCaption(text);
  };
  DrawChartByTime(timeCanvas_, timeTile_, in, bottomOnly);
  timeChartDrawn_ = true;
}

void FlightDataForm::EnsureTimeChart() {
  if (!timeChartDrawn_) DrawTimeChart(false);
}

void FlightDataForm::Timer1_Timer() {
  Timer1.SetEnabled(false);
  if (drawn_) {
    // The second round: the chart that is not on screen.
    EnsureTimeChart();
    return;
  }
  Draw(false);
  Label10.SetEnabled(true);
  if (light_) {
    distanceChosen_ = true;
    Picture4.SetToolTipText("ｸﾘｯｸすると横軸が時間になります ");
  }
  DoEvents();
  if (!Loaded()) return;  // closed meanwhile
  drawn_ = true;
  HScroll1.SetValue(FitScrollValue(FlightDataKept().ScrollPosition, HScroll1.Max()));
  Blit();
  if (!timeChartDrawn_) {
    Timer1.SetInterval(50);
    Timer1.SetEnabled(true);
  }
}

void FlightDataForm::Blit() {
  Surface& v = Picture4.Canvas();
  v.Line(0, 0, 490, 430, vbWhite, LineBox::BF);
  if (!distanceChosen_) EnsureTimeChart();
  const Surface& src = distanceChosen_ ? distanceCanvas_ : timeCanvas_;
  const int vw = v.Width();
  const int x = ViewportOffset(src.Width(), vw, HScroll1.Value(), HScroll1.Max());
  BitBlt(v, 0, 0, vw, kChartHeight, src, x, 0, SRCCOPY);
  SetMousePointer(vbArrow);
}

void FlightDataForm::HScroll1_Change() {
  FlightDataKept().ScrollPosition = HScroll1.Value();
  Blit();
}

void FlightDataForm::Picture4_MouseDown(int button) {
  if (button != vbLeftButton) return;
  if (light_) {
    if (!distanceChosen_) {
      distanceChosen_ = true;
      Picture4.SetToolTipText("ｸﾘｯｸするとX軸が時間になります ");
    } else {
      distanceChosen_ = false;
      Picture4.SetToolTipText("ｸﾘｯｸするとX軸が距離になります ");
    }
  }
  Blit();
}

void FlightDataForm::CheckClick(int n) {
  shell::CurrentSettings().ChartSeriesFlags[static_cast<size_t>(n)] =
      static_cast<int16_t>(checks_[static_cast<size_t>(n - 1)]->Value() == vbChecked ? 1 : 0);
  SetMousePointer(vbHourglass);
  if (Timer() - openTime_ > 0.3 && drawn_) {
    Draw(true);
    Blit();
  }
}

void FlightDataForm::RunMenuRow(int row) {
  const std::string text = List1.List(row);
  if (text == kMenuRows[0]) Command4_Click();
  else if (text == kMenuRows[1]) Command1_Click();
  else if (text == kMenuRows[3]) Unload();
}

void FlightDataForm::Form_KeyDown(int& key) {
  if (KeyRepeating()) return;  // every key here is a command: once a press
  switch (key) {
    case vbKeyF6: Command1_Click(); break;
    case vbKeyEscape:
    case vbKeyF9: Unload(); break;
    case vbKeyF2: Command3_Click(); break;
    case vbKeyF3: Command4_Click(); break;
    default: return;
  }
  key = 0;
}

void FlightDataForm::Command1_Click() {
  FlightDataLink& host = FlightDataHost();
  Picture3.SetVisible(false);
  HScroll1.SetVisible(false);
  List1.SetVisible(false);
  host.SetFlightScreenAutoRedraw(true);
  Blit();
  const bool printed = PrintForm(*this);
  Picture3.SetVisible(true);
  HScroll1.SetVisible(true);
  shell::ReportPrint(printed, Caption());
}

void FlightDataForm::Command3_Click() {
  // Hidden charts over a hidden flight screen would leave no window: hiding
  // closes the charts, and the flight screen comes back.
  Unload();
}

void FlightDataForm::Command4_Click() {
  Label10.SetEnabled(false);
  List1.SetVisible(false);
  OpenLogPicker(kLogCallerCharts, LogRecord(), [this](const std::string& summary) {
    FlightDataLink& host = FlightDataHost();
    File_Select().Hide();
    host.SetFlightScreenMousePointer(vbHourglass);
    host.SetFlightScreenAutoRedraw(false);
    ShowRecord(LogRecord(), summary);
  });
}

void FlightDataForm::Form_Unload(int&) {
  shell::ShellState& sh = shell::Shell();
  FlightDataLink& host = FlightDataHost();
  host.PlayTransitionSound();
  sh.FormSavedWidth[kSlot] = 0;
  sh.FormSavedHeight[kSlot] = 0;
  sh.FormActiveFlags[kSlot] = 0;
  host.SetFlightScreenTop(Top());
  flight::FlightState& s = flight::State();
  s.Loop.PassesThisSecond = 0;
  s.Loop.TimeMark = CheckedRound<int64_t>(Timer());
  drawn_ = false;
  source_ = nullptr;
  if (File_Select().Loaded()) File_Select().Unload();
  host.ShowFlightScreen();
}

FlightDataForm& Flight_Data() {
  static FlightDataForm form;
  return form;
}

void OpenFlightData() {
  flight::FlightRecord& r = flight::Record();
  // The samples recorded so far.
  r.RecordSampleCount = std::max<int32_t>(r.RecordCount, 0);
  const FlightDataLink& host = FlightDataHost();
  Flight_Data().ShowRecord(r, host.FlightSummary());
}

void ShowFlightDataAndWait() {
  OpenFlightData();
  while (shell::Shell().FormActiveFlags[kSlot] == 1 && Flight_Data().Loaded()) {
    DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void CloseFlightData() {
  if (Flight_Data().Loaded()) Flight_Data().Unload();
}

}  // namespace zarv::records
