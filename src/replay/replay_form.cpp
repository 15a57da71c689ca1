#include "replay/replay_form.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "flight/flight_loop.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/sound_flags.h"
#include "platform/runtime/text.h"
#include "platform/ui/app.h"
#include "platform/ui/bmp.h"
#include "platform/ui/gdi.h"
#include "platform/ui/keys.h"
#include "platform/ui/sendkeys.h"
#include "replay/camera_map.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/shell_state.h"
#include "view/cockpit_view.h"

namespace zarv::replay {

namespace {

const char* const kMenuHelp = "ヘルプ　     F1";
const char* const kMenuMap = "ｶﾒﾗ立ち位置  F2";
const char* const kMenuOpen = "ﾌｧｲﾙを開く   F3";
const char* const kMenuClose = "ｷｬﾝｾﾙ Esc or F9";

// Readout cells: label number and width of the 640 x 480 design.
constexpr double kMenuRowPitch = 15.6;  // pixels from one menu row to the next
constexpr int kRow1[][2] = {{1, 80}, {2, 100}, {3, 120}, {4, 130}, {5, 90}, {6, 85}};
constexpr int kRow2[][2] = {{7, 85}, {8, 80}, {9, 95}, {10, 100}, {11, 90}, {12, 70}, {15, 115}};

}  // namespace

ReplayForm& Vedeo() {
  static ReplayForm form;
  return form;
}

void OpenReplay(const ReplayLink& link) { Vedeo().Open(link); }

ReplayForm::ReplayForm() : Picture7(660, 480, RGB(0, 0, 128)), Picture6(1, 1, RGB(0, 0, 128)) {
  for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15}) {
    Readout[static_cast<std::size_t>(i)] = std::make_unique<Label>(Picture2);
  }
  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  // The close box unloads the replay, and with it the hidden flight screen,
  // which ends the program, only once the flight is filed. Before that it
  // closes as Esc does, back to the flight screen: an unload would take a
  // flight waiting in the air, or one not yet filed, down with it.
  OnQueryUnload = [this](int& cancel, int mode) {
    if (mode != vbFormControlMenu || !player_) return;
    if (link_.FlightFiled && link_.FlightFiled() && shell::Shell().LogCaller == 0) return;
    cancel = 1;
    Command1_Click();
  };
  OnActivate = [] { shell::Shell().FormActiveFlags[shell::kSlotVedeo] = 1; };
  OnDeactivate = [] { shell::Shell().FormActiveFlags[shell::kSlotVedeo] = 0; };
  // The window keeps the size it opened with; minimised or maximised it is left alone.
  OnResize = [this] { shell::KeepSavedSize(*this, shell::kSlotVedeo, true); };
  OnClick = [] {
    if (shell::Shell().FormActiveFlags[shell::kSlotProcess] > 0) shell::Process().SetFocus();
  };
  OnKeyDown = [this](int& key, int shift) { Form_KeyDown(key, shift); };
  OnMouseDown = [this](int b, int s, double x, double y) { Form_MouseDown(b, s, x, y); };
  OnMouseMove = [this](int b, int s, double x, double y) { Form_MouseMove(b, s, x, y); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command5.OnClick = [this] { Command5_Click(); };
  Command9.OnClick = [this] { Command9_Click(); };
  Command6.OnClick = [this] { Command6_Click(); };
  Command7.OnClick = [this] { Command7_Click(); };
  Command8.OnClick = [this] { Command8_Click(); };
  Check1.OnClick = [this] {
    if (player_) player_->State.WireframeBackground = static_cast<int16_t>(Check1.Value());
  };
  Label13.OnMouseMove = [this](int, int, double, double) {
    Picture1.SetVisible(false);
    if (shell::Shell().FormActiveFlags[shell::kSlotFileSelect] == 0) List1.SetVisible(true);
    Picture3.SetVisible(false);
    Picture5.SetVisible(false);
  };
  Label14.OnMouseMove = [this](int, int, double, double) {
    Picture1.SetVisible(false);
    List1.SetVisible(false);
    if (shell::Shell().FormActiveFlags[shell::kSlotFileSelect] == 0) Picture3.SetVisible(true);
    Picture5.SetVisible(false);
  };
  Label13.OnDblClick = [this] { Command1_Click(); };
  Label14.OnDblClick = [this] { Command1_Click(); };
  Label16.OnDblClick = [this] { Command1_Click(); };
  List1.OnMouseMove = [this](int, int, double, double y) {
    int index = CInt(y / kMenuRowPitch - 0.5);
    if (index > 4) index = 4;
    if (index >= 0) List1.SetListIndex(index);
  };
  List1.OnMouseDown = [this](int, int, double, double) { List1_MouseDown(); };
  Picture1.OnMouseDown = [this](int, int, double x, double y) { Picture1_MouseDown(x, y); };
  Picture1.OnMouseMove = [this](int, int, double x, double y) { Picture1_MouseMove(x, y); };
}

// ---------------------------------------------------------------- opening

void ReplayForm::Open(const ReplayLink& link) {
  if (running_) {
    // Already playing: the running loop takes the new record up.
    link_ = link;
    openLogRequested_ = false;
    if (player_) StartPlayer(timeGetTime());
    return;
  }
  Unload();
  link_ = link;
  Load();
  Show();
  if (link_.FlightScreen != nullptr) link_.FlightScreen->Hide();
  RunLoop();
}

void ReplayForm::StartPlayer(uint64_t now) {
  // The player before gives the flight its values back first, so that the
  // new one keeps the flight's own.
  if (player_) player_->Close(now);
  const ReplayAircraft aircraft = ReplayAircraft::From(*link_.Aircraft, *link_.Flight);
  const ReplayGeometry geometry = ReplayGeometry::ForScale(shell::Shell().ScreenScale);
  player_ = std::make_unique<ReplayPlayer>(*link_.Record, *link_.Outline, *link_.Flight, aircraft,
                                           link_.Scenery, geometry);
  ReplayState& st = player_->State;
  if (link_.Settings != nullptr) {
    const shell::Settings& s = *link_.Settings;
    st.CameraX = s.ReplayCameraX;
    st.CameraY = s.ReplayCameraY;
    st.CameraHeightIndex = s.ReplayCameraHeightIndex;
    st.ZoomIndex = static_cast<int16_t>(std::clamp<int>(s.ReplayZoomIndex, 0, 10));
    st.ManualZoom = s.ManualZoomSelected;
    st.VortexLines = s.VortexLinesSelected;
    st.WireframeBackground = s.WireframeBackground;
  }
  st.Summary = link_.Summary;
  player_->Sounds = link_.Sounds;
  player_->Open(now);
  if (player_->Sounds.PlayTransition) player_->Sounds.PlayTransition();
  Label16.SetCaption(st.Summary);
  Label17.SetCaption(st.CameraHeightCaption);
  model::Scene().Reset();
  model::Polygons().Reset();
}

void ReplayForm::Form_Load() {
  shell::ShellState& sh = shell::Shell();
  sh.LogCaller = 0;
  SetHelpContextID(40);
  SetKeyPreview(true);
  StartPlayer(timeGetTime());
  const double s = sh.ScreenScale;
  SetCaption(sh.AppName + (link_.Settings != nullptr ? ShownName(link_.Settings->AircraftFileName) : std::string()));
  SetWindowState(vbNormal);
  const double tpp = sh.TwipsPerPixel > 0 ? sh.TwipsPerPixel : kTwipsPerPixel;
  if (link_.FlightScreen != nullptr) {
    SetTop(link_.FlightScreen->Top());
    SetLeft(link_.FlightScreen->Left());
  }
  SetWidth(std::round(640 * s) * tpp);
  SetHeight(std::round(480 * s) * tpp);
  shell::SaveFormSize(*this, shell::kSlotVedeo);
  Layout();
  Picture7 = Surface(CLng(660 * s), CLng(480 * s), RGB(0, 0, 128));
  BackgroundLoaded = false;
  const int16_t choice = sh.ScreenSizeInUse;
  if (choice >= 0 && choice <= 2) {
    BackgroundLoaded = LoadBmp(Picture6, ProgramPath("\\Temp\\Back" + std::to_string(choice) + ".bmp"));
  }
  List1.Clear();
  for (const char* item : {kMenuHelp, kMenuMap, kMenuOpen, "", kMenuClose}) List1.AddItem(item);
  List1.SetHeight(87);
  Picture1.SetVisible(false);
  Picture2.SetVisible(true);
  SetMousePointer(vbDefault);
  Picture1.SetMousePointer(vbCrosshair);
}

void ReplayForm::Layout() {
  shell::ShellState& sh = shell::Shell();
  const double s = sh.ScreenScale, fs = sh.FontScale > 0 ? sh.FontScale : 1.0;
  const double cw = ScaleWidth(), ch = ScaleHeight();
  Picture2.Move(0, ch - 30 * s - 27 / fs, cw, 27 / fs + 30 * s);
  Picture2.Canvas().SetDrawWidth(2);
  Picture2.Canvas().Line(2, 1, Picture2.Width() - 2, 1, vbWhite);
  Picture2.Canvas().SetDrawWidth(1);
  Picture4.Move(0, 0, Picture2.Width(), 23);
  Picture4.Canvas().SetDrawWidth(2);
  Picture4.Canvas().Line(0, 22, Picture4.Width(), 22, RGB(128, 128, 128));
  Picture4.Canvas().SetDrawWidth(1);
  Picture4.SetVisible(true);
  Label13.SetCaption("メニュー");
  Label13.Move(0, 2, 97, 17);
  Label14.SetCaption("操作");
  Label14.Move(96, 2, 57, 17);
  // The summary is one line: at 640 it is wider than the bar, and a box
  // of one line's height would show the wrapped rest as a cut strip.
  Label16.SetWordWrap(false);
  Label16.SetAutoSize(true);
  Label16.Move(168, 2, cw - 168, 16);
  for (Label* l : {&Label13, &Label14}) {
    l->SetFontName("ＭＳ ゴシック");
    l->SetFontSize(14 * fs);
    l->SetAlignment(vbCenter);
    l->SetBackStyle(vbTransparent);
  }
  Label16.SetFontName("ＭＳ ゴシック");
  Label16.SetFontSize(10 * fs);
  Label16.SetFontBold(true);
  Label16.SetBackStyle(vbTransparent);

  // Options pop-up.
  Picture5.Move(240, 80, 129, 169);
  Command6.SetCaption("ｶﾒﾗ位置");
  Command6.Move(16, 8, 97, 26);
  Check1.SetCaption("背景のﾜｲﾔﾌﾚｰﾑ化");
  Check1.SetFontName("ＭＳ Ｐゴシック");
  Check1.SetFontSize(8 * fs);
  Check1.Move(10, 36, 110, 20);
  const struct { OptionButton* B; const char* Caption; double Top; } options[] = {
      {&Option1, "自動ズーム", 55}, {&Option2, "手動ズーム", 75}};
  for (const auto& o : options) {
    o.B->SetCaption(o.Caption);
    o.B->SetFontName("ＭＳ Ｐゴシック");
    o.B->SetFontSize(11 * fs);
    o.B->Move(10, o.Top, 110, 20);
  }
  Option2.SetToolTipText("PgUpｷｰでｽﾞｰﾑｱｯﾌﾟ PgDnｷｰでｽﾞｰﾑﾀﾞｳﾝ");
  Frame1.SetBorderStyle(0);
  Frame1.Move(10, 93, 110, 40);
  Option3.SetCaption(" 飛行経路");
  Option4.SetCaption(" 翼端渦線");
  for (OptionButton* b : {&Option3, &Option4}) {
    b->SetFontName("ＭＳ Ｐゴシック");
    b->SetFontSize(11 * fs);
  }
  Option3.Move(0, 0, 110, 20);
  Option4.Move(0, 20, 110, 20);
  Label17.SetFontName("ＭＳ ゴシック");
  Label17.SetFontSize(11 * fs);
  Label17.SetToolTipText("Insｷｰで上昇  Delｷｰで下降");
  Label17.Move(10, 133, 110, 20);
  Label18.SetFontName("ＭＳ ゴシック");
  Label18.SetFontSize(11 * fs);
  Label18.SetCaption("");
  Label18.Move(10, 151, 110, 20);
  const ReplayState& st = player_->State;
  Check1.SetValue(st.WireframeBackground != 0 ? vbChecked : vbUnchecked);
  Option2.SetValue(st.ManualZoom);
  Option1.SetValue(!st.ManualZoom);
  Option4.SetValue(st.VortexLines);
  Option3.SetValue(!st.VortexLines);
  const bool fuel = player_->Aircraft.FuelCapacity > 0;
  Option4.SetEnabled(!fuel);
  Option3.SetEnabled(!fuel);
  Picture5.SetVisible(false);

  // Playback panel.
  Picture3.Move(72, 23, 137, 73);
  const struct { CommandButton* B; const char* Caption; const char* Tip; double L, T, W; } buttons[] = {
      {&Command2, "＞", "再生 Enterｷｰ", 16, 8, 105},
      {&Command4, "<<", "巻き戻し Ｒｷｰ", 8, 40, 25},
      {&Command9, "<", "駒戻し ←ｷｰ", 40, 40, 25},
      {&Command5, ">", "駒送り →ｷｰ", 72, 40, 25},
      {&Command3, ">>", "早送り Ｆｷｰ", 104, 40, 25}};
  for (const auto& b : buttons) {
    b.B->SetCaption(b.Caption);
    b.B->SetToolTipText(b.Tip);
    b.B->SetFontName("ＭＳ Ｐゴシック");
    b.B->SetFontSize(10);
    b.B->SetFontBold(true);
    b.B->Move(b.L, b.T, b.W, 25);
  }
  Picture3.SetVisible(false);
  for (PictureBox* p : {&Picture5, &Picture3}) {
    Surface& c = p->Canvas();
    const double w = p->Width(), h = p->Height();
    c.SetDrawWidth(2);
    c.Line(1, h - 1, 1, 1, vbWhite);
    c.LineTo(w - 1, 1, vbWhite);
    c.Line(w - 1, 2, w - 1, h - 1, RGB(128, 128, 128));
    c.LineTo(2, h - 1, RGB(128, 128, 128));
    c.SetDrawWidth(1);
  }

  // Menu list.
  List1.SetFontName("ＭＳ ゴシック");
  List1.SetFontSize(12 * fs);
  List1.Move(0, 23, 135, 87);
  List1.SetRowHeight(kMenuRowPitch);
  List1.SetVisible(false);

  // Readout cells: row 1 from 5 x scale, row 2 from 5 pixels.
  for (int row = 0; row < 2; ++row) {
    double left = row == 0 ? 5 * s : 5;
    const int count = row == 0 ? 6 : 7;
    for (int i = 0; i < count; ++i) {
      const int* cell = row == 0 ? kRow1[i] : kRow2[i];
      Label& l = *Readout[static_cast<std::size_t>(cell[0])];
      l.SetFontSize(10 * fs * s);
      l.SetFontName("ＭＳ ゴシック");
      l.SetFontBold(true);
      l.SetBackStyle(vbTransparent);
      l.SetCaption("");
      l.Move(left, (row == 0 ? 2 : 16) * s, cell[1] * s, 14 * s);
      left += cell[1] * s;
    }
  }

  // Camera map, centred below the menu bar; drawn when opened.
  Picture1.Move((cw - 400) / 2, 23, 400, 380);
  Picture1.Canvas().SetForeColor(vbWhite);
  Label19.SetFontName("ＭＳ ゴシック");
  Label19.SetFontSize(9 * fs);
  Label19.SetCaption("");
  Label19.Move(0, 380 - 27, 400, 27);

  // The close, open and help commands are reached by keys and the menu.
  Command1.SetCaption("ｷｬﾝｾﾙ");
  Command8.SetCaption("ﾌｧｲﾙを開く");
  Command7.SetCaption("操作要領");
  Frame2.SetVisible(false);
}

void ReplayForm::Form_Unload(int& /*cancel*/) {
  // An unload reached again from its own handlers does nothing more.
  if (unloading_) return;
  unloading_ = true;
  if (player_) {
    player_->State.Position = 0;
    player_->Close(timeGetTime());
    // A replay closed before has handed the sound back with its close: what
    // plays now is the flight screen's, a flight's wind loop in the air.
    if (running_) {
      if (player_->Sounds.PlayTransition) player_->Sounds.PlayTransition();
      if (player_->Sounds.SetWaveVolume) player_->Sounds.SetWaveVolume(static_cast<uint32_t>(link_.SavedWaveVolume));
    }
  }
  Form* flightScreen = link_.FlightScreen;
  // The player ends here but stays alive: a handler further up the stack
  // may still hold it. What it referred to belongs to the opener.
  retired_ = std::move(player_);
  link_ = ReplayLink{};
  if (flightScreen != nullptr && !flightScreen->Visible() && shell::Shell().LogCaller == 0) {
    // A user who stays at its save questions gets the flight screen back
    // where the replay was.
    if (!flightScreen->Unload() && flightScreen->Loaded()) ShowFlightScreenHere(*flightScreen);
  }
  unloading_ = false;
}

// ---------------------------------------------------------------- the loop

void ReplayForm::RunLoop() {
  running_ = true;
  while (player_ && player_->State.Position > 0) {
    flight::LoopTiming& loop = player_->Flight.Loop;
    const uint64_t start = timeGetTime();
    loop.LastTick = start;
    const uint64_t deadline = loop.NextFrameTime + 50;
    if (link_.WaitUntil) {
      link_.WaitUntil(deadline);
    } else {
      while (timeGetTime() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // A handler may have closed or unloaded the replay meanwhile.
    if (!player_ || player_->State.Position <= 0) break;
    const uint64_t now = timeGetTime();
    loop.WaitMs = loop.WaitMs + static_cast<int64_t>(now - start);
    shell::Shell().ScreenMode = 0;
    player_->DrawFrame(now, Picture7, BackgroundLoaded ? &Picture6 : nullptr);
    ShowFrame();
    ReplayState& st = player_->State;
    if (st.ScreenshotRequest == 1) {
      // The next free number of the cockpit view's counter: never over a
      // screenshot taken before. A picture that cannot be written is simply
      // missing; the replay goes on.
      if (link_.SaveScreenshot) {
        link_.SaveScreenshot(Picture7);
      } else {
        int32_t counter = 0;
        view::SaveScreenshot(Picture7, ProgramFolder(), counter);
      }
    }
    st.ScreenshotRequest = 0;
    DoEvents();
    if (openLogRequested_) {
      openLogRequested_ = false;
      if (link_.OpenLog(*link_.Record)) {
        // One loop plays the new record: its opening runs again here.
        StartPlayer(timeGetTime());
      }
    }
  }
  // Closed: the flight goes on with its own values (see ReplayPlayer::Close).
  if (player_) player_->Close(timeGetTime());
  running_ = false;
}

void ReplayForm::ShowFrame() {
  ReplayState& st = player_->State;
  for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15}) {
    Readout[static_cast<std::size_t>(i)]->SetCaption(st.Labels[static_cast<std::size_t>(i)]);
  }
  Label18.SetCaption(st.Labels[18]);
  if (st.ReadoutBarVisible) Picture2.SetVisible(true);
  st.ManualZoom = Option2.Value();
  st.VortexLines = Option4.Value();
  CopySettingsBack();
  const double s = player_->Geometry.ScreenScale;
  BitBlt(Canvas(), 0, 0, CLng(660 * s), CLng(480 * s), Picture7, 0, 0, SRCCOPY);
}

void ReplayForm::CopySettingsBack() {
  if (link_.Settings == nullptr || !player_) return;
  shell::Settings& s = *link_.Settings;
  const ReplayState& st = player_->State;
  s.ReplayCameraX = st.CameraX;
  s.ReplayCameraY = st.CameraY;
  s.ReplayCameraHeightIndex = st.CameraHeightIndex;
  s.ReplayZoomIndex = st.ZoomIndex;
  s.ManualZoomSelected = st.ManualZoom;
  s.VortexLinesSelected = st.VortexLines;
  s.WireframeBackground = st.WireframeBackground;
}

// ---------------------------------------------------------------- input

void ReplayForm::Form_KeyDown(int& key, int /*shift*/) {
  Picture1.SetVisible(false);
  if (!player_) return;
  ReplayPlayer& p = *player_;
  // A held key moves the camera, the zoom and the single steps on; the
  // other commands act once a press.
  const bool steps = key == vbKeyInsert || key == vbKeyDelete || key == vbKeyPageUp || key == vbKeyPageDown ||
                     key == vbKeyLeft || key == vbKeyRight;
  // The screen's keys are its own: a button or option clicked before keeps
  // the focus, and must not take Enter or an arrow as well.
  const int pressed = key;
  if (steps || pressed == vbKeyF2 || pressed == vbKeyF3 || pressed == vbKeyF9 || pressed == vbKeyF12 ||
      pressed == vbKeyEscape || pressed == vbKeyReturn || pressed == 'F' || pressed == 'R' || pressed == 'L')
    key = 0;
  if (KeyRepeating() && !steps) return;
  switch (pressed) {
    case vbKeyInsert: p.ChangeCameraHeight(+1); break;
    case vbKeyDelete: p.ChangeCameraHeight(-1); break;
    case vbKeyF3: Command8_Click(); break;
    case vbKeyF2: Command6_Click(); break;
    case vbKeyEscape:
    case vbKeyF9: Command1_Click(); break;
    case vbKeyReturn:
      if (p.State.Fps >= 1) Command2_Click();
      break;
    case vbKeyRight: Command5_Click(); break;
    case vbKeyLeft: Command9_Click(); break;
    case 'F': Command3_Click(); break;
    case 'R': Command4_Click(); break;
    case vbKeyPageUp:
    case vbKeyPageDown:
      p.State.ManualZoom = Option2.Value();
      p.ChangeZoom(pressed == vbKeyPageUp ? +1 : -1);
      break;
    case vbKeyF12:
      link_.QuitProgram();
      break;
    case 'L': p.State.ScreenshotRequest = 1; break;
    default: break;
  }
  Label17.SetCaption(p.State.CameraHeightCaption);
}

void ReplayForm::Form_MouseDown(int button, int /*shift*/, double x, double y) {
  Picture1.SetVisible(false);
  if (!player_) return;
  ReplayPlayer& p = *player_;
  if (button == vbLeftButton) {
    p.ClickView(x, y);
    Label17.SetCaption(p.State.CameraHeightCaption);
    return;
  }
  double top = y, left = x;
  if (left < 0) left = 0;
  if (top > Picture2.Top() - Picture5.Height()) top = Picture2.Top() - Picture5.Height();
  const double width = link_.FlightScreen != nullptr ? link_.FlightScreen->ScaleWidth() : ScaleWidth();
  if (left > width - Picture5.Width()) left = width - Picture5.Width();
  Picture5.Move(left, top, Picture5.Width(), Picture5.Height());
  Picture5.SetVisible(true);
  p.State.UiDeadlineMs = timeGetTime() + 500;
  Label17.SetCaption(p.State.CameraHeightCaption);
}

void ReplayForm::Form_MouseMove(int /*button*/, int /*shift*/, double x, double y) {
  Picture1.SetVisible(false);
  List1.SetVisible(false);
  Picture3.SetVisible(false);
  pointerX_ = CInt(x);
  pointerY_ = CInt(y);
  if (player_ && player_->State.UiDeadlineMs < timeGetTime()) Picture5.SetVisible(false);
}

void ReplayForm::ShowFlightScreenHere(Form& screen) {
  screen.SetWindowState(vbNormal);
  screen.SetTop(Top());
  screen.SetLeft(Left());
  screen.Show();
}

void ReplayForm::Command1_Click() {
  if (!player_) return;
  ReplayPlayer& p = *player_;
  p.State.Position = 0;
  const bool kept = link_.FlightScreenKeepsDrawing();
  if (!kept && p.Aircraft.LaunchHeight == 0) p.Flight.Body.Altitude = -10000;
  model::PolygonList& list = model::Polygons();
  for (int m = 0; m <= 1000; ++m) {
    list.PolyScreenX[static_cast<std::size_t>(m)] = {};
    list.PolyScreenY[static_cast<std::size_t>(m)] = {};
  }
  if (link_.FlightScreen != nullptr) ShowFlightScreenHere(*link_.FlightScreen);
  if (flight::FlightIsDown(p.Flight)) {
    if (p.Sounds.SetWaveVolume) p.Sounds.SetWaveVolume(static_cast<uint32_t>(link_.SavedWaveVolume));
    if (p.Sounds.PlayTransition) p.Sounds.PlayTransition();
  } else if (p.Sounds.SetWaveVolume) {
    p.Sounds.SetWaveVolume(0);
  }
  Hide();
}

void ReplayForm::Command2_Click() {
  Picture1.SetVisible(false);
  if (player_) player_->Play();
}

void ReplayForm::Command3_Click() {
  if (player_) player_->FastWind(+1, timeGetTime());
  Picture1.SetVisible(false);
}

void ReplayForm::Command4_Click() {
  if (player_) player_->FastWind(-1, timeGetTime());
  Picture1.SetVisible(false);
}

void ReplayForm::Command5_Click() {
  Picture1.SetVisible(false);
  if (player_) player_->StepForward();
}

void ReplayForm::Command9_Click() {
  Picture1.SetVisible(false);
  if (player_) player_->StepBack();
}

void ReplayForm::Command6_Click() {
  double left = pointerX_ - 200;
  if (left < 0) left = 0;
  if (left > ScaleWidth() - 400) left = ScaleWidth() - 400;
  double top = pointerY_ - 180;
  if (top < Picture4.Height()) top = Picture4.Height();
  if (top > Picture2.Top() - 360) top = Picture2.Top() - 360;
  Picture1.Move(left, top, 400, 380);
  DrawMap();
  if (player_) player_->State.Speed = 0;
}

void ReplayForm::DrawMap() {
  if (!player_) return;
  if (player_->State.Position > 0) Picture1.SetVisible(true);
  const PointI cross = DrawCameraMap(*player_, Picture1.Canvas());
  pointerX_ = static_cast<int16_t>(cross.x);
  pointerY_ = static_cast<int16_t>(cross.y);
}

void ReplayForm::Command7_Click() { SendKeys("{F1}"); }

void ReplayForm::Command8_Click() {
  List1.SetVisible(false);
  openLogRequested_ = true;
}

void ReplayForm::List1_MouseDown() {
  const std::string item = List1.Text();
  if (item == kMenuOpen) {
    Command8_Click();
  } else if (item == kMenuMap) {
    pointerX_ = 0;
    pointerY_ = 0;
    Command6_Click();
  } else if (item == kMenuHelp) {
    Command7_Click();
  } else if (item == kMenuClose) {
    Command1_Click();
  }
}

void ReplayForm::Picture1_MouseDown(double x, double y) {
  if (!player_) return;
  PlaceCameraFromMap(*player_, x, y);
  DrawMap();
}

void ReplayForm::Picture1_MouseMove(double x, double y) {
  Picture5.SetVisible(false);
  List1.SetVisible(false);
  if (player_) Label19.SetCaption(CameraMapReadout(*player_, x, y));
}

}  // namespace zarv::replay
