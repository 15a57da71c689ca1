// A stand-in flight screen: it shows the chosen aircraft and carries out the
// flight screen's commands that end a run, through the real restart cycle.
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/keys.h"
#include "aircraft/aircraft_file.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

namespace {
}  // namespace

PlaceholderFlightForm::PlaceholderFlightForm() {
  SetBorderStyle(vbFixedSingle);
  SetKeyPreview(true);
  Label1.Move(20, 20, 600, 40);
  Label1.SetFontName("ＭＳ Ｐゴシック");
  Label1.SetFontSize(20);
  Label2.Move(20, 80, 600, 200);
  Label2.SetFontName("ＭＳ ゴシック");
  Label2.SetFontSize(11);
  Label2.SetCaption(
      "Esc / F9：プラットホームに戻る\r\nF7：機体データの変更\r\nF8：機体の登録\r\n"
      "F10：機体の変更\r\nF12：終了");
  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](int& cancel) { Form_Unload(cancel); };
  OnActivate = [] { Shell().FormActiveFlags[kSlotFlightFrame] = 1; };
  OnDeactivate = [] { Shell().FormActiveFlags[kSlotFlightFrame] = 0; };
  OnKeyDown = [this](int& keyCode, int) {
    switch (keyCode) {
      case vbKeyF10:
        ChangeAircraft();
        break;
      case vbKeyF12:
        Quit();
        break;
      case vbKeyF7:
        EditAircraft();
        break;
      case vbKeyF8:
        RegisterAircraft();
        break;
      case vbKeyF9:
      case vbKeyEscape:
        BackToPlatform();
        break;
      default:
        break;
    }
  };
}

void PlaceholderFlightForm::Form_Load() {
  flightLoaded_ = true;
  SetHelpContextID(30);
  ShellState& sh = Shell();
  Settings& s = CurrentSettings();
  s.ExitMode = 0;  // closing the window ends the program
  sh.ScreenMode = kScreenModeNone;
  SetCaption(sh.AppName + s.AircraftFileName);
  SetWidth(640 * sh.ScreenScale * kTwipsPerPixel);
  SetHeight(480 * sh.ScreenScale * kTwipsPerPixel);
  CentreOnWindowCentre(*this, s.WindowCentreX, s.WindowCentreY);
  Label1.SetCaption(aircraft::Aircraft().AircraftName);
  if (Begin().Loaded() && !Begin().Unloading()) Begin().Unload();
  if (Choice().Loaded()) Choice().Unload();
  if (Notice().Loaded()) Notice().Unload();
  Show();
}

void PlaceholderFlightForm::ChangeAircraft() {
  CurrentSettings().ExitMode = 2;
  Unload();
}

void PlaceholderFlightForm::Quit() {
  CurrentSettings().ExitMode = 0;
  Unload();
}

void PlaceholderFlightForm::EditAircraft() { Write_().Show(); }

void PlaceholderFlightForm::RegisterAircraft() {
  Shell().ScreenMode = kScreenModeRegister;
  Choice().Load();
}

void PlaceholderFlightForm::BackToPlatform() {
  aircraft::AircraftData& a = aircraft::Aircraft();
  aircraft::AircraftData handOver;
  if (aircraft::LoadAircraftData(aircraft::HandOverPath(), handOver)) {
    a.AircraftTag = handOver.AircraftTag;
    for (int i = 0; i <= 38; ++i)
      a.AircraftLines[static_cast<size_t>(i)] = handOver.AircraftLines[static_cast<size_t>(i)];
  }
  aircraft::StoreLaunchFields(a);
  // As held: keeps the launch fields' leading blanks.
  if (!aircraft::SaveAircraftDataAsHeld(aircraft::HandOverPath(), a))
    ReportNotSaved("機体データ", aircraft::HandOverPath());
  CurrentSettings().ExitMode = 3;
  Unload();
}

void PlaceholderFlightForm::Form_Unload(int& /*cancel*/) {
  Settings& s = CurrentSettings();
  SaveSettingsOrReport();
  if (RankingFile().Write && !RankingFile().Write()) ReportNotSaved("順位", ProgramPath("\\Temp\\record.dat"));
  for (Form* f :
       std::initializer_list<Form*>{&Begin(), &Notice(), &Choice(), &Write_(), &Process()})
    if (f->Loaded()) f->Unload();
  if (s.ExitMode < 2) DeleteFile(aircraft::HandOverPath());
  flightLoaded_ = false;
  Shell().FormActiveFlags[kSlotFlightFrame] = 0;
  if (s.ExitMode == 2 || s.ExitMode == 3) {
    RestartProgram();
  } else {
    End();
  }
}

void UsePlaceholderFlightScreen() {
  FlightScreenLink& link = FlightScreen();
  link.Show = [] { PlaceholderFlight().Show(); };
  link.Unload = [] {
    if (PlaceholderFlight().Loaded()) PlaceholderFlight().Unload();
  };
  link.Loaded = [] { return PlaceholderFlight().FlightLoaded(); };
  link.SetCaption = [](const std::string& caption) { PlaceholderFlight().SetCaption(caption); };
  link.Position = [] {
    return std::make_pair(PlaceholderFlight().Left(), PlaceholderFlight().Top());
  };
  link.MoveTo = [](double left, double top) {
    PlaceholderFlight().SetLeft(left);
    PlaceholderFlight().SetTop(top);
  };
  link.ProgressAnchor = nullptr;
  link.CancelLongTasks = nullptr;
}

}  // namespace zarv::shell
