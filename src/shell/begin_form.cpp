// The start screen: environment set-up, splash or waiting screen, and the
// dispatch to the next screen by start mode.
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "aircraft/aircraft_file.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace zarv::shell {

namespace {
constexpr double kTpp = kTwipsPerPixel;
constexpr double kMinimumSplashSeconds = 2.0;
}  // namespace

BeginForm::BeginForm() {
  // The start sequence is this label's click procedure; the label itself is
  // never seen, or it would cover the drawn border.
  Label1.SetVisible(false);
  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  OnActivate = [] { Shell().FormActiveFlags[kSlotBegin] = 1; };
  OnDeactivate = [] { Shell().FormActiveFlags[kSlotBegin] = 0; };
}

void BeginForm::Form_Load() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  sequenceDone_ = false;
  unloading_ = false;
  SetMousePointer(vbHourglass);
  Timer1.SetEnabled(false);
  Timer1.SetInterval(100);
  sh.TwipsPerPixel = kTpp;
  sh.ScreenScale = 1.0;
  // Points are drawn at a fixed 96 dpi here, so large system fonts never
  // enlarge the layout.
  sh.FontScale = 1.0;
  SetCaption(sh.AppName);

  // What the user must know of the start-up (settings set aside, a leftover
  // log), said once: before the splash on a normal start, else after it.
  bool noticesShown = false;
  const auto showNotices = [&](const StartupOutcome& o) {
    noticesShown = true;
    for (const std::string& notice : o.notices) MsgBox(notice, vbExclamation, sh.AppName);
  };
  // On a normal start the splash is up before the hangars are sorted.
  const StartupOutcome out =
      PrepareEnvironment(CLng(Screen().Width()), CLng(Screen().Height()), [&](const StartupOutcome& sofar) {
        // Start mode 3 without its hand-over file goes on as this normal start.
        if (sofar.handOverMissing) MsgBox(kMissingHandOverMessage, vbExclamation, sh.AppName);
        showNotices(sofar);
        DrawSplash();
        Show();
        Refresh();
        DoEvents();  // mapped and painted before the sorting holds the thread
      });
  if (out.refused) {
    MsgBox(out.refusal, vbExclamation, sh.AppName);
    End();
    return;
  }
  if (!noticesShown) showNotices(out);
  // The flight screen's load resets ExitMode, so the dispatch keeps its own copy.
  startMode_ = s.ExitMode;

  if (s.ExitMode == 3) {
    DrawWaitingScreen();
    Show();
    Refresh();
  }
  SetCaption(sh.AppName);
  Timer1.SetEnabled(true);
}

void BeginForm::DrawSplash() {
  ShellState& sh = Shell();
  SetWindowState(vbNormal);
  SetWidth(370 * kTpp);
  SetHeight(165 * kTpp);
  CentreOn(Screen().Width() / 2, Screen().Height() / 2);
  Surface& c = Canvas();
  c.Cls();
  const double w = ScaleWidth();
  c.SetDrawWidth(3);
  c.Line(2, 110, 2, 2, vbWhite);
  c.LineTo(w - 2, 2, vbWhite);
  c.Line(3, 110, w - 2, 110, vbButtonShadow);
  c.LineTo(w - 2, 3, vbButtonShadow);
  c.SetDrawWidth(1);
  c.Line(2, 109, 2, 111, vbWhite);
  c.Line(w - 2, 2, w - 4, 2, vbWhite);
  c.PSet(3, 109, vbWhite);
  c.PSet(w - 3, 3, vbWhite);

  c.SetFontTransparent(true);
  c.SetFontName("ＭＳ 明朝");
  c.SetFontSize(50 * sh.FontScale);
  c.SetForeColor(0x444444);
  c.SetCurrentX(63);
  c.SetCurrentY(17);
  c.Print(sh.AppName);
  for (int i = 6; i <= 15; ++i) {
    c.SetForeColor(static_cast<Color>(i) * 0x111100u);
    c.SetCurrentX(65 - i);
    c.SetCurrentY(18 - i / 2.0);
    c.Print(sh.AppName);
  }
  c.SetFontName("ＭＳ ゴシック");
  c.SetFontSize(10 * sh.FontScale);
  c.SetForeColor(vbBlack);
  c.SetCurrentX(215);
  c.SetCurrentY(94);
  c.Print(sh.ProgramFileDate + "版");
  c.SetFontName("ＭＳ Ｐゴシック");
  c.SetFontSize(11 * sh.FontScale);
  c.SetCurrentX(40);
  c.SetCurrentY(117);
  c.Print("環境を整えています。しばらくお待ちください。");
}

void BeginForm::DrawWaitingScreen() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  SetWindowState(vbNormal);
  SetWidth(640 * sh.ScreenScale * kTpp);
  SetHeight(480 * sh.ScreenScale * kTpp);
  CentreOnWindowCentre(*this, s.WindowCentreX, s.WindowCentreY);
  Surface& c = Canvas();
  c.Cls();
  c.Line(0, 0, 700 * sh.ScreenScale, 500 * sh.ScreenScale, vbBlack, LineBox::BF);
  c.SetFontTransparent(true);
  c.SetForeColor(0xFF);
  c.SetFontName("ＭＳ Ｐ明朝");
  c.SetFontSize(20 * sh.ScreenScale * sh.FontScale);
  c.SetCurrentX(120 * sh.ScreenScale);
  c.SetCurrentY(180 * sh.ScreenScale);
  c.Print(WaitingScreenText(s, sh.ScreenSizeInUse));
  c.SetCurrentX(140 * sh.ScreenScale);
  c.SetCurrentY(215 * sh.ScreenScale);
  c.Print("しばらくお待ちください。");
}

void BeginForm::Timer1_Timer() {
  if (!sequenceDone_) {
    sequenceDone_ = true;
    Label1_Click();
  }
  if (!Loaded()) return;  // the next screen has taken the start screen down
  // The splash stays for at least two seconds of the monotonic clock.
  if (Timer() < Shell().TaskStartTime + kMinimumSplashSeconds) return;
  Timer1.SetEnabled(false);
  Unload();
}

void BeginForm::Label1_Click() {
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  sh.TaskStartTime = Timer();
  PrepareScreenArt();
  if (startMode_ == 3) {
    sh.SelectedFileName = s.AircraftFileName;
    std::string error;
    if (!aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft(), &error)) {
      // The file vanished after the set-up looked, or holds an aircraft that
      // cannot be flown: go on as a normal start.
      const bool refused = FileExists(aircraft::HandOverPath());
      MsgBox(refused ? "Temp\\file.dat: " + error : std::string(kMissingHandOverMessage), vbExclamation, sh.AppName);
      s.ExitMode = startMode_ = 0;
      return;
    }
    FlightScreen().Show();
  } else if (startMode_ == 1) {
    Notice().Load();
  }
}

void BeginForm::Form_Unload(int& /*cancel*/) {
  unloading_ = true;
  Timer1.SetEnabled(false);
  Shell().FormActiveFlags[kSlotBegin] = 0;
  if (startMode_ == 0) {
    Notice().Load();
  } else if (startMode_ == 2) {
    Choice().Load();
  }
  unloading_ = false;
}

}  // namespace zarv::shell
