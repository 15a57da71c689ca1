#include "flightscreen/flight_frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "aircraft/aircraft_file.h"
#include "flight/control_surfaces.h"
#include "flight/flight_commands.h"
#include "flight/flight_load.h"
#include "flight/flight_loop.h"
#include "flight/flight_record.h"
#include "flight/flight_sound.h"
#include "flight/fuel.h"
#include "flight/head_up.h"
#include "flight/model_evaluation.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/conditions.h"
#include "flightscreen/gun_burst.h"
#include "flightscreen/flight_menu.h"
#include "flightscreen/joystick_link.h"
#include "flightscreen/program_wiring.h"
#include "flightscreen/unload_fields.h"
#include "model/outline.h"
#include "platform/devices/joystick.h"
#include "platform/devices/sound.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/program_state.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/bmp.h"
#include "platform/ui/colors.h"
#include "platform/ui/gdi.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/restart.h"
#include "logbook/ranking.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "view/panel_picture.h"

namespace zarv::flightscreen {
namespace {

using flight::FlightState;

// Tests: the flight loop paces without waiting.
struct HeadlessPacing {
  bool On = false;
};

// A box the user can type into (the ranking's name box) has the focus.
bool TypingIntoTextBox(const Form& form) {
  const auto* box = dynamic_cast<const TextBox*>(form.ActiveControl());
  return box != nullptr && !box->Locked() && box->Enabled() && box->Showing();
}

// Keys that type a character: the blank, letters, digits, the punctuation
// keys and the numeric pad's digits and signs.
bool TypesACharacter(int key) {
  return key == vbKeySpace || (key >= '0' && key <= '9') || (key >= vbKeyA && key <= vbKeyZ) ||
         (key >= vbKeyNumpad0 && key <= vbKeyDivide) || (key >= vbKeySemicolon && key <= vbKeyBackquote) ||
         (key >= vbKeyLBracket && key <= vbKeyQuote);
}

}  // namespace

void FlightFrame::SetHeadlessPacing(bool on) { ProgramWide<HeadlessPacing>().On = on; }

FlightFrame::FlightFrame() {
  SetBorderStyle(vbFixedSingle);
  SetKeyPreview(true);
  SetBackColor(RGB(0, 0, 0));
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  Timer2.SetInterval(200);
  Timer3.SetEnabled(false);
  Timer3.SetInterval(100);
  HScroll1.SetMax(kBankBarMax);
  HScroll2.SetMax(kDirectionBarMax);
  HScroll3.SetMax(kDirectionBarMax);
  VScroll1.SetMax(kPitchBarMax);
  VScroll1.SetValue(45);
  VScroll2.SetMax(kSpeedBarMax);
  VScroll2.SetValue(36);
  VScroll3.SetMax(kWindBarMax);
  VScroll3.SetValue(8);
  VScroll4.SetMax(kPressureBarMax);
  VScroll4.SetValue(350);
  VScroll5.SetMin(kTemperatureBarMin);
  VScroll5.SetMax(kTemperatureBarMax);
  Picture7.SetVisible(false);
  Picture6.SetVisible(false);
  Picture14.SetVisible(false);
  List1.SetVisible(false);
  Text13.SetVisible(false);
  Text13.SetMultiLine(true);
  Text13.SetLocked(true);
  Frame3.SetVisible(false);
  Frame4.SetVisible(false);
  Picture9.SetVisible(false);
  Picture13.SetVisible(false);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  OnQueryUnload = [this](int& cancel, int mode) {
    // The close box while the loop runs: the loop ends first, then the quit.
    if (mode == vbFormControlMenu && screen_.LoopDepth > 0) {
      cancel = 1;
      screen_.PendingExit = 0;
      flight::State().Loop.FlightEnded = true;
    }
  };
  OnActivate = [this] { Form_Activate(); };
  OnDeactivate = [this] { Form_Deactivate(); };
  OnResize = [this] { Form_Resize(); };
  OnKeyDown = [this](int& key, int shift) { Form_KeyDown(key, shift); };
  OnKeyPress = [this](int& ascii) { Form_KeyPress(ascii); };
  OnClick = [] {
    if (shell::Shell().FormActiveFlags[shell::kSlotProcess] > 0) shell::Process().ZOrder();
  };
  OnDblClick = [this] {
    if (flight::FlightIsDown(flight::State())) Command11_Click();
  };
  // The view covers the form: its mouse is the form's.
  Picture1.OnMouseDown = [this](int button, int, double x, double y) { Form_MouseDown(button, x, y); };
  Picture1.OnMouseMove = [this](int, int, double x, double y) { Form_MouseMove(x, y); };
  Picture1.OnDblClick = [this] {
    if (flight::FlightIsDown(flight::State())) Command11_Click();
  };
  OnMouseDown = [this](int button, int, double x, double y) { Form_MouseDown(button, x, y); };
  OnMouseMove = [this](int, int, double x, double y) { Form_MouseMove(x, y); };
  Label16.OnMouseDown = [this](int, int, double, double) { Label16_Open(); };
  Label16.OnMouseMove = [this](int, int, double, double) { Label16_Open(); };
  Label21.OnMouseMove = [this](int, int, double, double) { Label21_Close(); };
  List1.OnMouseMove = [this](int, int, double, double y) { List1_MouseMove(y); };
  List1.OnMouseDown = [this](int, int, double, double) { List1_MouseDown(); };
  Timer2.OnTimer = [this] { Timer2_Timer(); };
  Timer3.OnTimer = [this] { Timer3_Timer(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Command14.OnClick = [this] { Command14_Click(); };
  Command16.OnClick = [this] { Command16_Click(); };
  Command17.OnClick = [this] { Command17_Click(); };
  Command1.OnClick = [this] {
    Picture7.SetVisible(false);
    List1.SetVisible(false);
    OpenDeviceDialog();
  };
  Command13.OnClick = [] {
    shell::Shell().ScreenMode = shell::kScreenModeRegister;
    shell::Choice().Load();
  };
  Picture7.OnClick = [this] { OptionPanel_Show(); };
  Check3.OnClick = [this] {
    if (Check3.Value() == 1 && Check4.Value() == 1) Check4.SetValue(0);
  };
  Check4.OnClick = [this] {
    if (Check3.Value() == 1 && Check4.Value() == 1) Check3.SetValue(0);
  };
  Check6.OnClick = [this] { Check6_Click(); };
  Check9.OnClick = [this] { shell::CurrentSettings().WireframeView = static_cast<int16_t>(Check9.Value()); };
  Option1.OnClick = [this] { RestartFrameRateCount(); };
  Option2.OnClick = [this] { RestartFrameRateCount(); };
  HScroll1.OnChange = [this] { ConditionBarChanged(1); };
  HScroll2.OnChange = [this] { ConditionBarChanged(2); };
  HScroll3.OnChange = [this] { ConditionBarChanged(3); };
  VScroll1.OnChange = [this] { ConditionBarChanged(11); };
  VScroll2.OnChange = [this] { ConditionBarChanged(12); };
  VScroll3.OnChange = [this] { ConditionBarChanged(13); };
  VScroll4.OnChange = [this] { ConditionBarChanged(14); };
  VScroll5.OnChange = [this] { ConditionBarChanged(15); };
  Picture14.OnClick = [this] { DrawBallPicture(); };
  // A click on the bank caption runs the joystick's buttons as held now.
  Label1.OnClick = [] { DispatchJoystickButtons(); };
}

// ------------------------------------------------------------------ load

void FlightFrame::Form_Load() {
  shell::Settings& settings = shell::CurrentSettings();
  shell::ShellState& sh = shell::Shell();
  Timer2.SetEnabled(false);
  screen_.Reset();
  loaded_ = true;  // before the hangar goes: it ends the program when no flight screen is loaded
  if (shell::Notice().Loaded()) shell::Notice().Unload();
  if (shell::Choice().Loaded()) shell::Choice().Unload();
  FlightState& s = flight::State();
  aircraft::AircraftData& a = aircraft::Aircraft();
  s.Reset();
  flight::Record().Reset();
  model::Outline().Reset();
  flight::AircraftChartEvaluation().Reset();

  // Wave volume: the user's level is the ceiling of every level set later,
  // and the one given back when the screen goes. Read before anything here
  // (the window's own events among them) can set it.
  waveOutGetVolume(WAVE_MAPPER, &screen_.SavedWaveVolume);
  if (screen_.SavedWaveVolume != 0) {
    screen_.LeftChannelVolume = static_cast<int32_t>(screen_.SavedWaveVolume & 0xFFFF);
    screen_.RightChannelVolume = static_cast<int32_t>(screen_.SavedWaveVolume >> 16);
    screen_.BaseVolume = CLng((screen_.LeftChannelVolume + screen_.RightChannelVolume) / 2.0);
  }
  if (settings.SoundOn == 1) waveOutSetVolume(WAVE_MAPPER, 0);
  screen_.LeftChannelVolume = screen_.RightChannelVolume = 0;

  // Window, sized for the chosen screen and centred where it was.
  const double scale = sh.ScreenScale;
  SetWindowState(vbNormal);
  SetCaption(sh.AppName + ShownName(settings.AircraftFileName));
  SetHelpContextID(30);
  sh.FormSavedWidth[shell::kSlotFlightFrame] = CInt(640 * scale * kTwipsPerPixel);
  sh.FormSavedHeight[shell::kSlotFlightFrame] = CInt(480 * scale * kTwipsPerPixel);
  SetWidth(640 * scale * kTwipsPerPixel);
  SetHeight(480 * scale * kTwipsPerPixel);
  shell::CentreOnWindowCentre(*this, settings.WindowCentreX, settings.WindowCentreY);

  // The per-flight set-up of the flight model (engine, airfoils, wing,
  // masses, trim range, outline).
  const flight::FlightLoadResult load =
      flight::PrepareFlightScreenLoad(a, s, model::Outline(), flight::AircraftChartEvaluation());
  if (!load.Accepted) {
    MsgBox(load.RefusalMessage, vbExclamation, sh.AppName);
    settings.ExitMode = 2;  // back to the hangar to choose another
    Show();
    Unload();
    return;
  }
  for (const std::string& notice : load.Notices) MsgBox(notice, vbInformation, sh.AppName);
  LoadRecordsScreens();

  screen_.Options.ScreenScale = scale;
  screen_.Keys.ScreenScale = scale;
  // The start-up folder decides it; the runtime's own flag is only set for a restart.
  screen_.Keys.DeveloperMode = sh.DeveloperMode;
  screen_.Options.FlightScreenActive = 1;
  sh.FormActiveFlags[shell::kSlotFlightFrame] = 1;

  SetUpScreen();
  if (shell::Begin().Loaded() && !shell::Begin().Unloading()) shell::Begin().Unload();
  DrawBallPicture();
  screen_.WindDirectionAtLoad = a.WindDirection;
  sh.TransitionSound.clear();

  // Sounds: wind from the program folder, else the sound folder, which is
  // a "PData" beside a program folder named "Zarv", else the parent.
  const std::string program = ProgramFolder();
  std::string soundFolder = program;
  if (program.size() > 4 && program.substr(program.size() - 4) == "Zarv") {
    const std::string parent = program.substr(0, program.size() - 5);
    soundFolder = parent;
    const std::vector<std::string> dirs = ListDirs(parent);
    for (size_t i = 0; i < dirs.size() && i < 6; ++i)
      if (dirs[i] == "PData") soundFolder = JoinPath(parent, "PData");
  }
  if (FileExists(JoinPath(program, "wind.wav"))) {
    s.Sound.LoopSound = JoinPath(program, "wind.wav");
  } else if (FileExists(JoinPath(soundFolder, "wind.wav"))) {
    s.Sound.LoopSound = JoinPath(soundFolder, "wind.wav");
  }
  if (FileExists(JoinPath(soundFolder, "shoot.wav"))) screen_.ShootSound = JoinPath(soundFolder, "shoot.wav");
  if (FileExists(JoinPath(soundFolder, "burn.wav"))) s.Sound.BurnSound = JoinPath(soundFolder, "burn.wav");

  // The start state and the rest of the load's duties.
  a.SurfaceRate = flight::SurfaceRateAtLoad(a);
  flight::ApplyFlightStartState(s, a, screen_.Options);
  InitDrawing();
  FillKeyCommands();
  Joystick().Options = &screen_.Options;
  Joystick().UiDeadline = &screen_.Keys.UiDeadline;
  LoadCompanion();
  LoadStartDuties();
  if (!loaded_) return;  // a change or quit asked for during the loading has been carried out
  Timer1.SetEnabled(false);
  const int pitchBar = PitchBarFor(a.LaunchPitch);
  if (VScroll1.Value() != pitchBar) {
    VScroll1.SetValue(pitchBar);
  } else {
    ConditionBarChanged(11);  // the bars follow the aircraft's conditions also then
  }
  s.Loop.TimeMark = CLng(static_cast<double>(timeGetTime()) / 1000);
  s.Loop.PassesThisSecond = 0;
  screen_.TaskStartTime = screen_.Keys.UiDeadline = sh.TaskStartTime = Timer();
  Check8.SetValue(a.TailHoldFlag != 0 ? 1 : 0);
  FillSeams();
  // Every hook of this flight is filled now: one left empty is a fault of
  // the build, found before the flight can meet it.
  CheckFlightScreenWiring();
  Show();
  ZOrder();
  DrawFrame();
  Timer2.SetEnabled(true);
}

void FlightFrame::LoadStartDuties() {
  shell::ShellState& sh = shell::Shell();
  // A change or quit asked for while the companion loaded; a user who stays
  // after a failed save goes on to the flight.
  const int16_t request = sh.ScreenMode;
  sh.ScreenMode = 0;
  if (request == shell::kScreenModeChangeAircraft) Command3_Click();
  if (request == shell::kScreenModeQuit) QuitCommand();
  if (!loaded_) return;
  FillMenu(kMenuBeforeLaunch);
  if (shell::CurrentSettings().SoundOn == 1) {
    PlayLoopSound();
  } else {
    StopSound(SND_ASYNC | SND_MEMORY);
  }
}

void FlightFrame::FillSeams() {
  flight::FlightSeams& seams = screen_.Seams;
  seams = flight::FlightSeams{};
  seams.Headless = ProgramWide<HeadlessPacing>().On;
  seams.UpdateWindSound = [this] { UpdateWindSound(); };
  // No box may open in flight: the unload writes the file again and says so
  // when that fails too.
  seams.SaveSettings = [this] { static_cast<void>(SaveSettingsNow()); };
  seams.SetPointerShape = [this](int shape) { SetMousePointer(shape == 2 ? vbCrosshair : vbArrow); };
  seams.DrawHeadUpDisplay = [this] { DrawHeadUp(); };
  seams.DrawInstrumentPanel = [this] { DrawPanel(); };
  seams.DrawFlightFrame = [this] { DrawFrame(); };
  seams.DoEvents = [this] {
    DoEvents();
    screen_.Options.FlightScreenActive = shell::Shell().FormActiveFlags[shell::kSlotFlightFrame];
    screen_.Options.FlightDataChartsActive = shell::Shell().FormActiveFlags[shell::kSlotFlightData];
    screen_.Options.DeviceDialogActive = shell::Shell().FormActiveFlags[shell::kSlotDevice];
  };
  seams.PlaySound = [](const std::string& file, unsigned flags) { sndPlaySoundA(file, flags); };
  seams.StopSoundAndRestoreVolume = [this] {
    StopSound(SND_MEMORY);
    RestoreVolume();
  };
  seams.ShowMessage = [](const std::string& text) { MsgBox(text, vbExclamation, shell::Shell().AppName); };
  seams.EndFlight = [this] { RunPostFlight(); };
  FillJoystickSeams(seams);
  ConnectCompanionSeams(seams, CompanionLinks());
}

CompanionSeamLinks FlightFrame::CompanionLinks() {
  return {&flight::State(), &flight::Record(), &flight::Companion(), &model::Outline(),
          &drawing_->View.Projection.View, &screen_.Options.SoundOn, [this] {
            screen_.LeftChannelVolume = screen_.RightChannelVolume = screen_.BaseVolume;
            screen_.SoundVolumeRatio = screen_.BaseVolume != 0 ? 1.0 : 0.0;
            SetWave(screen_.LeftChannelVolume, screen_.RightChannelVolume);
          }};
}

void FlightFrame::LoadCompanion() {
  // The first flight log in the program folder flies beside this flight;
  // the progress dialog shows the reading and can cancel it, and the
  // companion menu names its keys meanwhile.
  const records::LongTaskHooks dialog = ProgressDialogHooks();
  CompanionLoadProgress progress;
  progress.Opened = [this] {
    List1.SetVisible(true);
    List1.ZOrder();
  };
  progress.SetTitle = dialog.SetTitle;
  progress.SetText = dialog.SetText;
  progress.Yield = [] { DoEvents(); };
  progress.Close = dialog.Close;
  screen_.CompanionLoading = true;
  LoadCompanionFlight(progress);
  screen_.CompanionLoading = false;
}

void FlightFrame::FireGun() {
  GunBurstContext c{flight::State(), flight::Record(), flight::Companion().CompanionSampleCount, Picture7.Visible(),
                    flight::State().HeadUp.ShotsFiredTarget, {}};
  c.Sound.ShootSound = screen_.ShootSound;
  c.Sound.SoundOn = shell::CurrentSettings().SoundOn;
  c.Sound.BaseVolume = screen_.BaseVolume;
  c.Sound.LeftChannelVolume = &screen_.LeftChannelVolume;
  c.Sound.RightChannelVolume = &screen_.RightChannelVolume;
  c.Sound.SoundVolumeRatio = &screen_.SoundVolumeRatio;
  c.Sound.Play = [](const std::string& file, unsigned flags) { sndPlaySoundA(file, flags); };
  c.Sound.SetWaveVolume = [](uint32_t volume) { waveOutSetVolume(WAVE_MAPPER, volume); };
  FireGunBurst(c, Timer());
}

// ----------------------------------------------------------- the run

void FlightFrame::Timer2_Timer() {
  Timer2.SetEnabled(false);
  ++screen_.LoopDepth;
  flight::FlightLoop loop{flight::State(),  flight::Record(),  aircraft::Aircraft(),
                         model::Outline(), screen_.Options, screen_.Seams};
  flight::RunFlight(loop);
  --screen_.LoopDepth;
  if (screen_.LoopDepth == 0) CarryOutPendingExit();
}

void FlightFrame::CarryOutPendingExit() {
  if (screen_.PendingExit < 0 || !loaded_) return;
  const int16_t mode = screen_.PendingExit;
  screen_.PendingExit = -1;
  shell::CurrentSettings().ExitMode = mode;
  Unload();
}

void FlightFrame::Timer3_Timer() {
  if (shell::Shell().FormActiveFlags[shell::kSlotFlightFrame] != 1) return;
  FlightState& s = flight::State();
  s.View.ViewHeading = s.Body.Heading;
  s.Body.PitchSin = std::sin(s.Body.PitchAngle);
  s.Body.PitchCos = std::cos(s.Body.PitchAngle);
  s.Body.ViewRollSin = std::sin(s.Body.BankAngle);
  s.Body.ViewRollCos = std::cos(s.Body.BankAngle);
  ReadDisplayOptions();
  // The frame's one drawing of the head-up display.
  flight::StepHeadUpDisplay(s, flight::Record(), aircraft::Aircraft(), screen_.Options);
  DrawFrame();
}

// ------------------------------------------------------------ drawing

void FlightFrame::InitDrawing() {
  // The view, the panel face and mask, the speed tape and the ball, for this
  // aircraft at this size; the hooks draw the panel and the head-up display
  // into each frame before it is copied to the screen.
  drawing_ = std::make_unique<CockpitDrawing>();
  CockpitDrawing& d = *drawing_;
  const FlightState& s = flight::State();
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const double scale = shell::Shell().ScreenScale, fontScale = shell::Shell().FontScale;
  d.Sky = view::SkyTablesFrom(shell::Sky());
  view::InitCockpitView(d.View, scale, fontScale, s, a, ProgramFolder());

  view::PanelScreen& ps = d.Panel.Screen;
  ps.FontScale = fontScale;
  ps.ScreenSizeChoice = shell::Shell().ScreenSizeInUse;
  ps.ProgramFolder = ProgramFolder();
  ps.DeveloperMode = screen_.Keys.DeveloperMode;
  ps.Record = &flight::Record();
  ps.ReadDisplayOptions = [this] { ReadDisplayOptions(); };
  ps.RequestAircraftSwap = [this] { Command3_Click(); };
  ps.CloseReplay = [this] { CloseIdleReplay(); };
  ps.ReadWaveVolume = [this] {
    waveOutGetVolume(WAVE_MAPPER, &screen_.WaveOutVolume);
    return screen_.WaveOutVolume;
  };
  d.PanelReady = view::PreparePanel(d.Panel, d.Surfaces, s, a, screen_.Options);
  // The panel stands on the bottom of the drawing area.
  ps.PanelTop = view::PanelTopFor(static_cast<int>(ScaleHeight()), a, scale);

  d.View.Hooks.DrawPanelMeters = [this](Surface& picture) {
    CockpitDrawing& dr = *drawing_;
    view::DrawPanelMeters(dr.Panel, flight::State(), aircraft::Aircraft(), screen_.Options, dr.Surfaces, picture,
                          dr.View.FrameToggle);
  };
  d.View.Hooks.DrawHeadUpDisplay = [this](Surface& picture) {
    CockpitDrawing& dr = *drawing_;
    FillHudInputs(dr.Hud, dr.View, flight::State(), flight::Record(), flight::Companion(),
                  shell::CurrentSettings().WireframeView, shell::Shell().FormActiveFlags[shell::kSlotWrite] != 0);
    view::DrawHeadUpDisplay(dr.Hud, dr.Panel, flight::State(), aircraft::Aircraft(), screen_.Options, picture, Timer());
  };
}

void FlightFrame::DrawFrame() {
  aircraft::AircraftData& a = aircraft::Aircraft();
  CockpitDrawing& d = *drawing_;
  const shell::Settings& st = shell::CurrentSettings();
  d.Panel.Screen.ShowInstrumentPanel = st.ShowInstrumentPanel;
  d.Panel.Screen.ShowPylonOrHangMeter = st.ShowPylonOrHangMeter;
  d.Panel.Screen.ScreenMode = shell::Shell().ScreenMode;
  view::FrameInputs in;
  in.Sky = &d.Sky;
  in.ShowObjects = st.ShowObjects;
  in.ShowPylonOrHangMeter = st.ShowPylonOrHangMeter;
  in.ShowVelocityVector = st.ShowVelocityVector;
  in.WireframeView = st.WireframeView;
  in.SurfaceColour = view::SurfaceColourOf(a);
  in.RecordCount = flight::Record().RecordCount;
  in.ClockSeconds = Timer();
  in.Companion = &flight::Companion();
  if (screen_.Keys.ScreenshotRequest == 1) d.View.ScreenshotRequest = 1;
  screen_.Keys.ScreenshotRequest = 0;
  view::DrawCockpitFrame(d.View, flight::State(), a, in, Picture1.Canvas());
  ShowFrameCaptions();
  Picture1.Refresh();
}

void FlightFrame::ShowFrameCaptions() {
  // The elapsed time in the top strip, the frame rate after it, and the
  // race's lap times in the key-help box once a pylon has been passed.
  const CockpitDrawing& d = *drawing_;
  if (Label24.Caption() != d.View.ElapsedCaption) Label24.SetCaption(d.View.ElapsedCaption);
  if (!d.Panel.FrameRateText.empty() && Label15.Caption() != d.Panel.FrameRateText) {
    Label15.SetCaption(d.Panel.FrameRateText);
  }
  // The time grows a field at its minute, often on the last frame, when the
  // rate is no longer renewed: the rate follows the time whichever changed.
  const double timeRight = Label24.Left() + Label24.Width();
  if (Label15.Left() != timeRight) Label15.SetLeft(timeRight);
  if (!d.View.RaceText.empty() && Text13.Text() != d.View.RaceText) Text13.SetText(d.View.RaceText);
}

void FlightFrame::DrawPanel() {
  // The drawing only: the loop runs the panel's physics after it.
  CockpitDrawing& d = *drawing_;
  d.Panel.Screen.ScreenMode = shell::Shell().ScreenMode;
  view::FlightDataPages& pages = d.Panel.Pages;
  pages.Page1Visible = Picture9.Visible();
  pages.Page2Visible = Frame3.Visible();
  pages.Page3Visible = Frame4.Visible();
  view::DrawInstrumentPanel(d.Panel, flight::State(), aircraft::Aircraft(), screen_.Options, d.Surfaces);
  ShowFlightDataPages();
}

void FlightFrame::ShowFlightDataPages() {
  // The boxes keep what they were given last; the pages hold the same.
  CockpitDrawing& d = *drawing_;
  view::FlightDataPages& pages = d.Panel.Pages;
  auto fill = [](ControlArray<TextBox>& boxes, const auto& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
      TextBox& t = boxes[static_cast<int>(i)];
      if (t.Text() == lines[i]) continue;
      t.SetText(lines[i]);
      t.SetSelStart(0);  // a line a little too long keeps its label in sight
    }
  };
  if (Text15.Count() > 9) fill(Text15, pages.Page1);
  if (Text11.Count() > 8) fill(Text11, pages.Page2);
  if (Text12.Count() > 7) fill(Text12, pages.Page3);
  // The diagnostics replace the key help; taken once, so a block that was
  // not written again leaves what another writer put there.
  if (!pages.Diagnostics.empty()) {
    Text13.SetText(pages.Diagnostics);
    pages.Diagnostics.clear();
  }
  if (Picture13.Visible()) {
    BitBlt(Picture13.Canvas(), 0, 0, CInt(Picture13.ScaleWidth()), CInt(Picture13.ScaleHeight()), d.Surfaces.Trace, 0,
           0, SRCCOPY);
    Picture13.Refresh();
  }
}

void FlightFrame::DrawHeadUp() {
  // The loop has stepped the display; drawn now it would be covered by the
  // frame, whose hook draws it again over the finished view.
}

void FlightFrame::DrawBallPicture() {
  Picture14.Move(0, 0, 13, 13);
  Surface& c = Picture14.Canvas();
  c.SetFillStyle(0);
  const struct {
    int x, y, r;
    Color colour;
  } balls[] = {{5, 5, 5, 0x808080}, {4, 4, 3, 0xC0C0C0}, {3, 3, 1, 0xE0E0E0}};
  for (const auto& b : balls) {
    c.SetFillColor(b.colour);
    c.Circle(b.x, b.y, b.r, b.colour);
  }
}

// --------------------------------------------------------- sounds

void FlightFrame::PlayLoopSound() { sndPlaySoundA(flight::State().Sound.LoopSound, SND_ASYNC | SND_LOOP); }

void FlightFrame::StopSound(unsigned flags) { sndPlaySoundA(shell::Shell().TransitionSound, flags | SND_MEMORY); }

void FlightFrame::RestoreVolume() { waveOutSetVolume(WAVE_MAPPER, screen_.SavedWaveVolume); }

void FlightFrame::PlayTransitionSound() {
  StopSound(SND_MEMORY);
  RestoreVolume();
}

void FlightFrame::SetWave(int32_t left, int32_t right) {
  waveOutSetVolume(WAVE_MAPPER, flight::PackWaveVolume(left, right));
}

void FlightFrame::UpdateWindSound() {
  flight::FlightState& s = flight::State();
  const flight::WindSoundLevels l = flight::ComputeWindSound(s, aircraft::Aircraft(), screen_.BaseVolume);
  screen_.LeftChannelVolume = l.Left;
  screen_.RightChannelVolume = l.Right;
  screen_.SoundVolumeRatio = l.Ratio;
  s.Sound.WindNoiseLevel = l.Ratio;
  if (l.EngineLevelSet) {
    screen_.EngineSoundLevel = l.EngineLevel;
    screen_.SoundPanSine = l.PanSine;
  }
  if (shell::CurrentSettings().SoundOn == 1) SetWave(l.Left, l.Right);
}

// ------------------------------------------------------- settings

void FlightFrame::ApplyOptionBoxesToSettings() {
  // What the boxes hold is the user's choice, also while the flags are held
  // at 0 for the first passes of the flight.
  shell::Settings& st = shell::CurrentSettings();
  st.ShowObjects = static_cast<int16_t>(Check1.Value());
  st.ShowVelocityVector = static_cast<int16_t>(Check2.Value());
  st.ShowDataBox = static_cast<int16_t>(Check3.Value());
  st.ShowInstrumentPanel = static_cast<int16_t>(Check4.Value());
  st.ShowPylonOrHangMeter = static_cast<int16_t>(Check5.Value());
  st.JoystickOn = static_cast<int16_t>(Check6.Value());
  st.SoundOn = static_cast<int16_t>(Check7.Value());
}

bool FlightFrame::SaveSettingsNow(bool* tooLarge) {
  shell::Settings& settings = shell::CurrentSettings();
  shell::Settings held = settings;
  ApplyOptionBoxesToSettings();
  shell::Settings toSave = settings;
  settings = held;  // the flags stay as the flight holds them
  return shell::SaveSettings(shell::SettingsPath(), toSave, tooLarge);
}

void FlightFrame::RestartFrameRateCount() {
  flight::FlightState& s = flight::State();
  s.Loop.TimeMark = CLng(static_cast<double>(timeGetTime()) / 1000);
  s.Loop.PassesThisSecond = 0;
}

void FlightFrame::ReadDisplayOptions() {
  shell::ShellState& sh = shell::Shell();
  FlightState& s = flight::State();
  aircraft::AircraftData& a = aircraft::Aircraft();
  shell::Settings& st = shell::CurrentSettings();
  const double t = static_cast<double>(timeGetTime()) / 1000;
  s.Instruments.WingMassShare = 0.7 * a.WingWeight / s.Masses.Mass;
  const double b = a.WingSpan, c = s.Setup.WingRootOffset, l = a.TipLength, d = a.WingDeflection;
  const double e1 = (c + (b / 2 - c - l) / 2) / (b / 2);
  s.Instruments.InnerPanelBend = std::pow(e1, 1.7) * d;
  const double e2 = (b / 2 - l) / (b / 2);
  s.Instruments.OuterPanelBend = std::pow(e2, 1.7) * d - s.Instruments.InnerPanelBend;
  s.Instruments.TipPanelBend = d - s.Instruments.OuterPanelBend - s.Instruments.InnerPanelBend;
  shell::RecordWindowCentre(*this, st);
  if (sh.FormActiveFlags[shell::kSlotDevice] == 1) Picture6.SetVisible(false);
  struct Box {
    CheckBox& box;
    int16_t& flag;
    int threshold;
  } boxes[] = {{Check1, st.ShowObjects, 30},
               {Check2, st.ShowVelocityVector, 40},
               {Check3, st.ShowDataBox, 60},
               {Check4, st.ShowInstrumentPanel, 60},
               {Check5, st.ShowPylonOrHangMeter, 50}};
  for (Box& box : boxes) {
    if (box.flag != box.box.Value() && s.Loop.PassCount > box.threshold) {
      s.Loop.PassesThisSecond = 0;
      s.Loop.TimeMark = CLng(t);
      box.flag = static_cast<int16_t>(box.box.Value());
    }
  }
  Picture9.SetVisible(st.ShowDataBox == 1);
  s.View.ViewCentreY = CLng(a.LaunchPitch > 9 / kDegreesPerRadian ? s.View.ViewCentreBaseY - 50 * sh.ScreenScale
                                                : s.View.ViewCentreBaseY - 108 * sh.ScreenScale);
  if (s.Loop.FlightTime > 1) {
    if (st.SoundOn != Check7.Value()) {
      st.SoundOn = static_cast<int16_t>(Check7.Value());
      if (s.Body.Altitude > -0.3 && st.SoundOn == 1) {
        // Muted as every other restart of the loop: a window event may have
        // given the user's volume back meanwhile (the companion's progress
        // dialog at the load does), and the loop sets the level on its next
        // sound step.
        waveOutSetVolume(WAVE_MAPPER, 0);
        PlayLoopSound();
      } else {
        RestoreVolume();
        StopSound(SND_MEMORY);
      }
    }
    if (st.JoystickOn != Check6.Value()) st.JoystickOn = static_cast<int16_t>(Check6.Value());
  }
  a.TailHoldFlag = static_cast<int16_t>(Check8.Value());
  st.SimSpeedNormal = Option1.Value();
  st.FrameRate20 = Option7.Value();
  screen_.Keys.SimSpeedNormal = st.SimSpeedNormal;
  s.Loop.SpeedMode = st.SimSpeedNormal ? 1 : (aircraft::LaunchAbove10(a.LaunchSpeed) ? 0 : flight::kSpeedModeThird);
  if (s.Body.Altitude < 600 && s.Loop.SpeedMode <= 1) s.Loop.SpeedMode = 1;
  const int mode = screen_.Keys.InfoPanelMode;
  if (mode == 0) {
    Frame3.SetVisible(false);
    Frame4.SetVisible(false);
    Text13.SetVisible(false);
    Picture13.SetVisible(false);
  } else if (mode == 1 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    Frame3.SetVisible(false);
    Frame4.SetVisible(false);
    Text13.SetVisible(true);
    Picture13.SetVisible(false);
  } else if (mode == 1) {
    Frame3.SetVisible(true);
    Frame4.SetVisible(false);
    if (screen_.Keys.DeveloperMode) Text13.SetVisible(true);
    Picture13.SetVisible(false);
  } else {
    Frame3.SetVisible(true);
    Frame4.SetVisible(true);
    Text13.SetVisible(true);
    // The traces would cover the menu's top rows.
    Picture13.SetVisible(screen_.Keys.DeveloperMode && !List1.Visible());
  }
  // The panel fills a page only while its box shows (or the aircraft rests).
  view::FlightDataPages& pages = drawing_->Panel.Pages;
  pages.Page1Visible = Picture9.Visible();
  pages.Page2Visible = Frame3.Visible();
  pages.Page3Visible = Frame4.Visible();
  bool otherActive = false;
  for (int slot = 5; slot <= 15; ++slot)
    if (sh.FormActiveFlags[static_cast<size_t>(slot)] > 0) otherActive = true;
  Picture8.SetEnabled(!otherActive);
  screen_.Options.SoundOn = st.SoundOn;
  screen_.Options.JoystickOn = st.JoystickOn;
  screen_.Options.FrameRate20 = st.FrameRate20;
  screen_.Options.ShowVelocityVector = st.ShowVelocityVector;
}

// ----------------------------------------------------------- window

void FlightFrame::Form_Activate() {
  shell::ShellState& sh = shell::Shell();
  FlightState& s = flight::State();
  if (shell::CurrentSettings().SoundOn == 1) {
    waveOutSetVolume(WAVE_MAPPER, 0);
    if (sh.FormActiveFlags[shell::kSlotFlightData] == 0 && s.Body.Altitude > 0) PlayLoopSound();
  }
  sh.FormActiveFlags[shell::kSlotFlightFrame] = 1;
  screen_.Options.FlightScreenActive = 1;
}

void FlightFrame::Form_Deactivate() {
  StopSound(SND_ASYNC);
  RestoreVolume();
  shell::Shell().FormActiveFlags[shell::kSlotFlightFrame] = 0;
  screen_.Options.FlightScreenActive = 0;
}

void FlightFrame::Form_Resize() {
  if (!loaded_) return;
  const auto& sh = shell::Shell();
  if (WindowState() != vbNormal || sh.FormSavedWidth[shell::kSlotFlightFrame] < 1 ||
      sh.FormSavedHeight[shell::kSlotFlightFrame] < 1) {
    joyReleaseCapture(0);
    StopSound(SND_MEMORY);
    RestoreVolume();
    shell::Shell().FormActiveFlags[shell::kSlotFlightFrame] = 0;
    screen_.Options.FlightScreenActive = 0;
    return;
  }
  shell::Shell().FormActiveFlags[shell::kSlotFlightFrame] = 1;
  screen_.Options.FlightScreenActive = 1;
  shell::KeepSavedSize(*this, shell::kSlotFlightFrame, false);  // the window keeps its size
  const FlightState& s = flight::State();
  if (s.Loop.FlightTime > 1 && s.Body.Altitude > 0 && shell::CurrentSettings().SoundOn == 1) {
    waveOutSetVolume(WAVE_MAPPER, 0);  // the loop sets the level on its next sound step
    PlayLoopSound();
  } else {
    StopSound(SND_ASYNC | SND_MEMORY);
  }
}

// ------------------------------------------------------------- keys

void FlightFrame::FillKeyCommands() {
  flight::KeyCommands& c = screen_.Commands;
  c.Takeoff = [this] { Command14_Click(); };
  c.Ranking = [this] { Command9_Click(); };
  c.AirfoilChart = [this] { Command4_Click(); };
  c.AircraftChart = [this] { Command7_Click(); };
  c.FlightData = [this] { Command5_Click(); };
  c.Replay = [this] {
    Command6_Click();
    List1.SetListIndex(-1);
  };
  c.Editor = [] {
    shell::Write_().Show();
    shell::Write_().ZOrder();
  };
  c.Registration = [] {
    shell::Shell().ScreenMode = shell::kScreenModeRegister;
    shell::Choice().Load();
  };
  c.CancelOrPlatform = [this] { Command11_Click(); };
  c.ChangeAircraft = [this] { Command3_Click(); };
  c.Minimise = [this] { SetWindowState(vbMinimized); };
  c.EndNow = [] { End(); };
  c.Quit = [this] { QuitCommand(); };
  c.HideResultPanel = [this] { Picture6.SetVisible(false); };
  c.SpeedOptionChanged = [this](bool normal) {
    Option1.SetValue(normal);
    Option2.SetValue(!normal);
  };
  c.ReadDisplayOptions = [this] { ReadDisplayOptions(); };
}

bool FlightFrame::CompanionLoadKey(int& keyCode) {
  // While the companion loads the flight has not begun: the screen's keys
  // are the progress dialog's, as the companion menu names them, and the
  // flight's keys wait (F1 still opens the help).
  if (!screen_.CompanionLoading) return false;
  shell::Process().CancelKey(keyCode);
  if (keyCode != vbKeyF1) keyCode = 0;
  return true;
}

void FlightFrame::Form_KeyDown(int& keyCode, int /*shift*/) {
  if (CompanionLoadKey(keyCode)) return;
  // What is typed into the name box is the name, not a flight key.
  if (TypesACharacter(keyCode) && TypingIntoTextBox(*this)) return;
  if (KeyRepeating() && !flight::KeyDownRepeatsWhenHeld(keyCode)) {
    keyCode = 0;
    return;
  }
  screen_.Keys.ResultPanelVisible = Picture6.Visible();
  const int key = keyCode;
  flight::FlightKeyDown(key, flight::State(), aircraft::Aircraft(), screen_.Keys, screen_.Commands);
  if (screen_.Keys.DeveloperMode) Text13.SetText(Format(key, "##0"));
  // The keys that fly must not also move a focused bar or press a button.
  if (key == vbKeyUp || key == vbKeyDown || key == vbKeyLeft || key == vbKeyRight || key == vbKeyReturn ||
      key == vbKeySpace)
    keyCode = 0;
}

void FlightFrame::Form_KeyPress(int& keyAscii) {
  if (screen_.CompanionLoading) {
    keyAscii = 0;
    return;
  }
  if (TypingIntoTextBox(*this) || (KeyRepeating() && !flight::KeyPressRepeatsWhenHeld(keyAscii))) return;
  flight::FlightKeyPress(keyAscii, flight::State(), aircraft::Aircraft(), screen_.Keys, screen_.Commands);
}

// ----------------------------------------------------------- commands

void FlightFrame::Command14_Click() {
  flight::FlightState& s = flight::State();
  // Down in the water the flight is over: a click or Enter there would
  // start a run again over its record and take the after-flight menu away.
  if (flight::FlightIsDown(s)) return;
  const flight::TakeoffOutcome outcome =
      flight::RunTakeoffCommand(s, flight::Record(), aircraft::Aircraft(), screen_.Keys, Timer());
  if (outcome == flight::TakeoffOutcome::Ignored) return;
  if (outcome == flight::TakeoffOutcome::Started) FillMenu(kMenuInFlight);
  Frame1.SetVisible(false);
  List1.SetVisible(false);
}

void FlightFrame::SetLastFlightStrings() {
  flight::FlightState& s = flight::State();
  shell::Settings& st = shell::CurrentSettings();
  if (st.LastFlightAircraft.empty()) st.LastFlightAircraft.assign(1, ' ');
  if (st.LastFlightDistanceText.empty()) st.LastFlightDistanceText.assign(1, ' ');
  // Ended afloat after a start from the water, it is down above the surface.
  if (s.Body.Altitude < 0.1 || flight::FlightIsDown(s)) {
    st.LastFlightAircraft = aircraft::Aircraft().AircraftName;
    st.LastFlightDistanceText = Format(s.Body.Distance, "###.00") + "m";
  }
}

bool FlightFrame::WriteHandOverFile(bool* tooLarge) {
  aircraft::AircraftData& a = aircraft::Aircraft();
  const AircraftFileText handOver = ReadAircraftFileText(aircraft::HandOverPath(), 39);
  if (handOver.HasTag) a.AircraftTag = handOver.Tag;
  for (size_t i = 0; i < handOver.Fields.size(); ++i) a.AircraftLines[i] = handOver.Fields[i];
  aircraft::StoreLaunchFields(a);
  return aircraft::SaveAircraftDataAsHeld(aircraft::HandOverPath(), a, tooLarge);
}

void FlightFrame::Command11_Click() {
  if (!(Timer() - screen_.TaskStartTime > 2)) return;
  FlightState& s = flight::State();
  if (flight::CancelFlightUnderWay(s, screen_.Keys)) {
    StopSound(SND_MEMORY);
    return;
  }
  // The next flight then starts with the conditions the file still holds.
  bool tooLarge = false;
  if (!WriteHandOverFile(&tooLarge)) shell::ReportNotSaved("機体データ", aircraft::HandOverPath(), tooLarge);
  SetLastFlightStrings();
  if (screen_.LoopDepth > 0) {
    screen_.PendingExit = 3;
    s.Loop.FlightEnded = true;  // the loop ends first, then the restart
    return;
  }
  shell::CurrentSettings().ExitMode = 3;
  Unload();
}

void FlightFrame::Command3_Click() {
  SetLastFlightStrings();
  if (screen_.LoopDepth > 0) {
    screen_.PendingExit = 2;
    flight::State().Loop.FlightEnded = true;
    return;
  }
  shell::CurrentSettings().ExitMode = 2;
  Unload();
}

void FlightFrame::QuitCommand() {
  if (screen_.LoopDepth > 0) {
    screen_.PendingExit = 0;
    flight::State().Loop.FlightEnded = true;
    return;
  }
  shell::CurrentSettings().ExitMode = 0;
  Unload();
}

// --------------------------------------------------------------- unload

bool FlightFrame::AskSaveQuestions() {
  shell::Settings& settings = shell::CurrentSettings();
  shell::ShellState& sh = shell::Shell();
  aircraft::AircraftData& a = aircraft::Aircraft();
  const std::string path = settings.AircraftFilePath;
  const std::string goOn = settings.ExitMode == 2 ? "保存せずに機体を交換しますか。" : "保存せずに終了しますか。";
  const std::string shownPath = ShownName(path);
  const AircraftFileText file = ReadAircraftFileText(path, 53);
  if (!file.Read) {
    // Nothing to compare with and nowhere to save: the user must know, and
    // may stay to register the aircraft under another name.
    const std::string what = PathExists(path) ? "機体ファイルを読み込めません。" : "機体ファイルが見つかりません。";
    return MsgBox(what + "\r\n" + shownPath + "\r\n機体データと発進条件の変更は保存できません。\r\n" + goOn,
                  vbYesNo + vbExclamation + vbDefaultButton2, sh.AppName) == vbYes;
  }
  AircraftFileText handOver = ReadAircraftFileText(aircraft::HandOverPath(), 39);
  // Gone since the start: it held then what the aircraft's lines hold now.
  if (!handOver.Read) handOver.Fields.assign(a.AircraftLines.begin(), a.AircraftLines.begin() + 39);
  bool saveData = false, saveLaunch = false;
  if (AircraftDataChanged(file.Fields, handOver.Fields, a)) {
    saveData = MsgBox(shownPath + "\r\nは機体データが変更されています。保存しますか。", vbYesNo + vbQuestion,
                      sh.AppName) == vbYes;
  }
  if (a.WindDirection == 0) a.WindDirection = kFullTurn;
  if (LaunchConditionsChanged(file.Fields, a, flight::State())) {
    saveLaunch = MsgBox(shownPath + "\r\nは発進条件が変更されています。保存しますか。", vbYesNo + vbQuestion,
                        sh.AppName) == vbYes;
  }
  if (!saveData && !saveLaunch) return true;
  // The questions were about the fields: the tag line stays as the file has it.
  std::vector<std::string> lines{file.HasTag ? file.Tag : a.AircraftTag};
  for (const std::string& f : FieldsToSave(file.Fields, handOver.Fields, a, saveData, saveLaunch)) lines.push_back(f);
  // The lines kept from the file go back as its own bytes.
  bool tooLarge = false;
  if (RewriteTextLines(path, lines, aircraft::kMaxAircraftFileBytes, &tooLarge)) return true;
  // The old file is intact; the changes live only in this run.
  return MsgBox(shownPath + "\r\nに機体データを保存できませんでした。" +
                    (tooLarge ? std::string(shell::kTooLargeToReadNote) : std::string()) + "\r\n" + goOn,
                vbYesNo + vbExclamation + vbDefaultButton2, sh.AppName) == vbYes;
}

void FlightFrame::Form_Unload(int& cancel) {
  screen_.Unloading = true;
  const bool timers[] = {Timer1.Enabled(), Timer2.Enabled(), Timer3.Enabled()};
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  Timer3.SetEnabled(false);
  joyReleaseCapture(0);
  StopSound(SND_MEMORY);
  RestoreVolume();
  bool settingsTooLarge = false;
  if (!SaveSettingsNow(&settingsTooLarge)) shell::ReportNotSaved("設定", shell::SettingsPath(), settingsTooLarge);
  UnloadRecordsScreens();
  bool rankingTooLarge = false;
  if (!shell::RankingFile().Write(&rankingTooLarge)) {
    // Not written over a file the start could not read: that is the cause.
    const std::string unread = records::RankingFileNotice(records::Ranking(), records::RankingPath());
    if (unread.empty()) {
      shell::ReportNotSaved("順位", records::RankingPath(), rankingTooLarge);
    } else {
      MsgBox(unread, vbExclamation, shell::Shell().AppName);
    }
  }
  const int16_t mode = shell::CurrentSettings().ExitMode;
  if ((mode == 0 || mode == 2) && !AskSaveQuestions()) {
    // The user stays with the unsaved changes: the screen goes on.
    cancel = 1;
    screen_.Unloading = false;
    Timer1.SetEnabled(timers[0]);
    Timer2.SetEnabled(timers[1]);
    Timer3.SetEnabled(timers[2]);
    // An exit asked for while the loop ran has ended it short of the water:
    // the after-loop steps are undone and the run goes on where it stopped.
    flight::FlightState& s = flight::State();
    if (s.Loop.AfterLoopDone && !flight::FlightIsDown(s)) {
      s.Loop.AfterLoopDone = false;
      ++flight::Record().RecordCount;
      Timer2.SetEnabled(true);
    }
    return;
  }
  for (Form* f : std::initializer_list<Form*>{&shell::Begin(), &shell::Notice(), &shell::Choice(), &shell::Write_(),
                                              &shell::Process()})
    if (f->Loaded()) f->Unload();
  if (mode < 2) DeleteFile(aircraft::HandOverPath());
  loaded_ = false;
  shell::Shell().FormActiveFlags[shell::kSlotFlightFrame] = 0;
  if (mode == 2 || mode == 3) {
    shell::RestartProgram();
  } else {
    End();
  }
}

FlightFrame& FlightScreenForm() {
  static FlightFrame* form = new FlightFrame();  // persistent, as every form
  return *form;
}

}  // namespace zarv::flightscreen
