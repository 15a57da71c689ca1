#include "flightscreen/program_wiring.h"

#include <functional>
#include <utility>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_commands.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "flightscreen/flight_frame.h"
#include "flightscreen/joystick_link.h"
#include "logbook/flight_log.h"
#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "model/outline.h"
#include "platform/devices/sound.h"
#include "platform/runtime/files.h"
#include "platform/ui/control.h"
#include "records/flight_data_form.h"
#include "records/log_picker.h"
#include "records/records_screens.h"
#include "shell/flight_screen_link.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "shell/startup.h"
#include "view/screen_art.h"
#include "view/sky_ground.h"

namespace zarv::flightscreen {

void WireProgram() {
  // The start-up (shell) has the cached art drawn by the flight view and
  // plays the transition sound.
  shell::StartupHooks& startup = shell::Hooks();
  // A cache that could not be written is drawn again at the next start.
  startup.DrawPanelArt = [] {
    const shell::ShellState& sh = shell::Shell();
    static_cast<void>(view::SavePanelArt(ProgramPath("\\Temp"), sh.ScreenScale, sh.FontScale,
                                         shell::CurrentSettings().ScreenSizeChoice, sh.DeveloperMode));
  };
  startup.DrawGradient = [] { static_cast<void>(view::SaveGradientProbe(ProgramPath("\\Temp"))); };
  startup.DrawSkyBackgrounds = [] {
    const shell::ShellState& sh = shell::Shell();
    static_cast<void>(view::SaveSkyBackgrounds(ProgramPath("\\Temp"), sh.ScreenScale,
                                               shell::CurrentSettings().ScreenSizeChoice, sh.GradientBitmapLengthNow,
                                               view::SkyTablesFrom(shell::Sky())));
  };
  // The transition sound plays from memory; the start-up waits for its end.
  startup.PlaySoundFromMemory = [](const std::string& waveImage) { sndPlaySoundA(waveImage, SND_MEMORY); };
  // A log an earlier run left in Temp/before.csv is filed by the records.
  startup.FileLeftoverLog = [](const std::string& aircraftFileName) {
    return records::FileLeftoverLog(ProgramPath("\\Temp\\before.csv"), ProgramPath("\\FlightData"),
                                    aircraftFileName);
  };

  // The ranking file belongs to the records: read at start-up, written by
  // the flight screen's unload.
  shell::RankingFileHooks& ranking = shell::RankingFile();
  ranking.Read = [] {
    records::ReadRankingFile(records::RankingPath(), records::Ranking());
    return records::RankingFileNotice(records::Ranking(), records::RankingPath());
  };
  ranking.Write = [] { return records::WriteRankingFile(records::RankingPath(), records::Ranking()); };

  // The shell's screens (hangar, editor, notice, progress dialog, charts'
  // placing) reach the flight screen.
  shell::FlightScreenLink& flightScreen = shell::FlightScreen();
  flightScreen.Show = [] { FlightScreenForm().Show(); };
  flightScreen.Unload = [] {
    if (FlightScreenForm().Loaded()) FlightScreenForm().Unload();
  };
  flightScreen.Loaded = [] { return FlightScreenForm().FlightLoaded(); };
  flightScreen.SetCaption = [](const std::string& caption) { FlightScreenForm().SetCaption(caption); };
  flightScreen.Position = [] { return std::make_pair(FlightScreenForm().Left(), FlightScreenForm().Top()); };
  flightScreen.MoveTo = [](double left, double top) {
    FlightScreenForm().SetLeft(left);
    FlightScreenForm().SetTop(top);
  };
  // The progress dialog opens where the name-entry panel sits.
  flightScreen.ProgressAnchor = [] {
    FlightFrame& f = FlightScreenForm();
    return std::make_pair(f.Left() + f.Picture6.Left() * kTwipsPerPixel, f.Top() + f.Picture6.Top() * kTwipsPerPixel);
  };
  flightScreen.CancelLongTasks = [] {
    flight::Record().LogRowCount = 0;
    flight::Companion().CompanionSampleCount = 0;
  };

  // The flight-data charts hide the flight screen while they are open.
  records::FlightDataLink& flightData = records::FlightDataHost();
  flightData.HideFlightScreen = [] { FlightScreenForm().Hide(); };
  flightData.ShowFlightScreen = [] {
    if (FlightScreenForm().FlightLoaded()) FlightScreenForm().Show();
  };
  flightData.SetFlightScreenAutoRedraw = [](bool on) { FlightScreenForm().SetAutoRedraw(on); };
  flightData.SetFlightScreenMousePointer = [](int pointer) { FlightScreenForm().SetMousePointer(pointer); };
  flightData.SetFlightScreenTop = [](double top) { FlightScreenForm().SetTop(top); };
  flightData.FlightSummary = [] { return FlightScreenForm().FlightSummary(); };
  flightData.PlayTransitionSound = [] { FlightScreenForm().PlayTransitionSound(); };

  // The log picker reads stored logs with the current aircraft's layout.
  records::LogPickerLink& picker = records::LogPickerHost();
  picker.ReadLog = [](const std::string& path, flight::FlightRecord& record, std::string*) {
    const aircraft::AircraftData& a = aircraft::Aircraft();
    return records::ReadFlightLog(path, records::LogReadInputs{a.LaunchSpeed, a.EngineCount}, record,
                                  model::Outline(), ProgressDialogHooks())
        .Opened;
  };
  picker.LogSuffix = [] { return records::LogSuffixFor(shell::CurrentSettings().AircraftFileName); };

  // The ranking window opens over the flight screen; closing it restarts
  // the flight's frame-rate count.
  records::ResultSheetLink& sheet = records::ResultSheetHost();
  sheet.Anchor = [] { return std::make_pair(FlightScreenForm().Left(), FlightScreenForm().Top()); };
  sheet.OnClosed = [] { FlightScreenForm().RestartFrameRateCount(); };

  // The joystick's buttons carry out the flight screen's commands; the
  // device dialog opens over it and reads its joystick box.
  JoystickLink& joystick = Joystick();
  joystick.Commands.TakeoffCommand = [] { FlightScreenForm().Command14_Click(); };
  joystick.Commands.FireGunBurst = [] { FlightScreenForm().FireGun(); };
  joystick.Commands.ToggleGear = [] { flight::ToggleGear(flight::State(), aircraft::Aircraft()); };
  joystick.Commands.FlapUp = [] { flight::FlapUp(flight::State()); };
  joystick.Commands.FlapDown = [] { flight::FlapDown(flight::State(), aircraft::Aircraft()); };
  joystick.Commands.ToggleFuelDump = [] { flight::ToggleFuelDump(flight::State(), aircraft::Aircraft()); };
  joystick.JoystickBoxValue = [] { return FlightScreenForm().Check6.Value(); };
  joystick.FlightScreenTopLeft = [] { return std::make_pair(FlightScreenForm().Left(), FlightScreenForm().Top()); };
}

namespace {

// Walks one set of hooks by name and notes the empty ones.
class HookCheck {
 public:
  explicit HookCheck(std::vector<std::string>& unwired) : unwired_(unwired) {}

  HookCheck& Set(std::string name) {
    set_ = std::move(name);
    listed_ = 0;
    return *this;
  }
  template <class Hook>
  HookCheck& operator()(const char* name, const Hook& hook) {
    ++listed_;
    if (!hook) unwired_.push_back(set_ + "." + name);
    return *this;
  }
  // For a set made of hooks only: one added to it but not to this check is
  // reported too (every std::function has the same size).
  template <class Hooks>
  void Whole(const Hooks&) {
    if (sizeof(Hooks) != listed_ * sizeof(std::function<void()>))
      unwired_.push_back(set_ + ": a hook the check does not list");
  }

 private:
  std::vector<std::string>& unwired_;
  std::string set_;
  std::size_t listed_ = 0;
};

}  // namespace

std::vector<std::string> UnwiredHooks() {
  std::vector<std::string> unwired;
  HookCheck check(unwired);

  const shell::StartupHooks& startup = shell::Hooks();
  check.Set("shell::Hooks()")("DrawPanelArt", startup.DrawPanelArt)("DrawGradient", startup.DrawGradient)(
      "DrawSkyBackgrounds", startup.DrawSkyBackgrounds)("PlaySoundFromMemory", startup.PlaySoundFromMemory)(
      "FileLeftoverLog", startup.FileLeftoverLog)
      .Whole(startup);

  const shell::RankingFileHooks& ranking = shell::RankingFile();
  check.Set("shell::RankingFile()")("Read", ranking.Read)("Write", ranking.Write).Whole(ranking);

  const shell::FlightScreenLink& fs = shell::FlightScreen();
  check.Set("shell::FlightScreen()")("Show", fs.Show)("Unload", fs.Unload)("Loaded", fs.Loaded)(
      "SetCaption", fs.SetCaption)("Position", fs.Position)("MoveTo", fs.MoveTo)("ProgressAnchor", fs.ProgressAnchor)(
      "CancelLongTasks", fs.CancelLongTasks)
      .Whole(fs);

  const records::FlightDataLink& data = records::FlightDataHost();
  check.Set("records::FlightDataHost()")("HideFlightScreen", data.HideFlightScreen)(
      "ShowFlightScreen", data.ShowFlightScreen)("SetFlightScreenAutoRedraw", data.SetFlightScreenAutoRedraw)(
      "SetFlightScreenMousePointer", data.SetFlightScreenMousePointer)("SetFlightScreenTop", data.SetFlightScreenTop)(
      "FlightSummary", data.FlightSummary)("PlayTransitionSound", data.PlayTransitionSound)
      .Whole(data);

  const records::LogPickerLink& picker = records::LogPickerHost();
  check.Set("records::LogPickerHost()")("ReadLog", picker.ReadLog)("LogSuffix", picker.LogSuffix).Whole(picker);

  const records::ResultSheetLink& sheet = records::ResultSheetHost();
  check.Set("records::ResultSheetHost()")("Anchor", sheet.Anchor)("OnClosed", sheet.OnClosed).Whole(sheet);

  const JoystickLink& joystick = Joystick();
  const JoyCommands& joy = joystick.Commands;
  check.Set("Joystick().Commands")("TakeoffCommand", joy.TakeoffCommand)("FireGunBurst", joy.FireGunBurst)(
      "ToggleGear", joy.ToggleGear)("FlapUp", joy.FlapUp)("FlapDown", joy.FlapDown)(
      "ToggleFuelDump", joy.ToggleFuelDump)
      .Whole(joy);
  check.Set("Joystick()")("JoystickBoxValue", joystick.JoystickBoxValue)("FlightScreenTopLeft",
                                                                        joystick.FlightScreenTopLeft);

  // What the flight screen fills for each flight.
  FlightFrame& f = FlightScreenForm();
  if (!f.FlightLoaded()) return unwired;
  const view::FrameHooks& frame = f.Drawing().View.Hooks;
  check.Set("FlightScreenForm().Drawing().View.Hooks")("DrawPanelMeters", frame.DrawPanelMeters)(
      "DrawHeadUpDisplay", frame.DrawHeadUpDisplay)
      .Whole(frame);
  const view::PanelScreen& panel = f.Drawing().Panel.Screen;
  check.Set("FlightScreenForm().Drawing().Panel.Screen")("ReadDisplayOptions", panel.ReadDisplayOptions)(
      "RequestAircraftSwap", panel.RequestAircraftSwap)("CloseReplay", panel.CloseReplay)(
      "ReadWaveVolume", panel.ReadWaveVolume);
  const flight::KeyCommands& keys = f.Screen().Commands;
  check.Set("FlightScreenForm().Screen().Commands")("Takeoff", keys.Takeoff)("Ranking", keys.Ranking)(
      "AirfoilChart", keys.AirfoilChart)("AircraftChart", keys.AircraftChart)("FlightData", keys.FlightData)(
      "Replay", keys.Replay)("Editor", keys.Editor)("Registration", keys.Registration)(
      "CancelOrPlatform", keys.CancelOrPlatform)("ChangeAircraft", keys.ChangeAircraft)("Minimise", keys.Minimise)(
      "EndNow", keys.EndNow)("Quit", keys.Quit)("HideResultPanel", keys.HideResultPanel)(
      "SpeedOptionChanged", keys.SpeedOptionChanged)("ReadDisplayOptions", keys.ReadDisplayOptions)
      .Whole(keys);
  replay::ReplayLink link;
  f.FillReplayLink(link);
  check.Set("the flight screen's replay link")("FlightScreenKeepsDrawing", link.FlightScreenKeepsDrawing)(
      "OpenLog", link.OpenLog)("QuitProgram", link.QuitProgram)("SaveScreenshot", link.SaveScreenshot);
  check.Set("the flight screen's replay sounds")("SetWaveVolume", link.Sounds.SetWaveVolume)(
      "PlaySound", link.Sounds.PlaySound)("PlayTransition", link.Sounds.PlayTransition);
  return unwired;
}

}  // namespace zarv::flightscreen
