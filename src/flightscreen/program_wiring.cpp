#include "flightscreen/program_wiring.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_commands.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/flight_frame.h"
#include "flightscreen/joystick_link.h"
#include "logbook/flight_log.h"
#include "logbook/post_flight.h"
#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "model/outline.h"
#include "platform/devices/sound.h"
#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
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
    static_cast<void>(view::SavePanelArt(ProgramPath("\\Temp"), sh.ScreenScale, sh.FontScale, sh.ScreenSizeInUse,
                                         sh.DeveloperMode));
  };
  startup.DrawGradient = [] { static_cast<void>(view::SaveGradientProbe(ProgramPath("\\Temp"))); };
  startup.DrawSkyBackgrounds = [] {
    const shell::ShellState& sh = shell::Shell();
    static_cast<void>(view::SaveSkyBackgrounds(ProgramPath("\\Temp"), sh.ScreenScale,
                                               sh.ScreenSizeInUse, sh.GradientBitmapLengthNow,
                                               view::SkyTablesFrom(shell::Sky())));
  };
  // The transition sound plays from memory; the start-up waits for its end.
  startup.PlaySoundFromMemory = [](const std::string& waveImage) { sndPlaySoundA(waveImage, SND_MEMORY); };
  // A log an earlier run left in Temp/before.csv is filed by the records.
  startup.FileLeftoverLog = [](const std::string& aircraftFileName) {
    return records::FileLeftoverLog(ProgramPath("\\Temp\\before.csv"), ProgramPath("\\FlightData"),
                                    aircraftFileName);
  };
  startup.LogNamesNotice = [](const std::string& aircraftFileName) {
    return records::LogNamesNotice(ProgramPath("\\FlightData"), aircraftFileName);
  };

  // The ranking file belongs to the records: read at start-up, written by
  // the flight screen's unload.
  shell::RankingFileHooks& ranking = shell::RankingFile();
  ranking.Read = [] {
    records::ReadRankingFile(records::RankingPath(), records::Ranking());
    return records::RankingFileNotice(records::Ranking(), records::RankingPath());
  };
  ranking.Write = [](bool* tooLarge) {
    return records::WriteRankingFile(records::RankingPath(), records::Ranking(), tooLarge);
  };

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

// Stands for any member in a brace initialiser, to count a set's members.
struct AnyMember {
  template <class T>
  operator T() const;  // never called: only the initialiser's form is tested
};

// The number of data members of an aggregate.
template <class T, class... Members>
constexpr std::size_t MemberCount() {
  if constexpr (requires { T{Members{}..., AnyMember{}}; }) {
    return MemberCount<T, Members..., AnyMember>();
  } else {
    return sizeof...(Members);
  }
}

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
  // A hook the set may leave empty by design (its comment says what an
  // empty one means): listed, not required.
  HookCheck& Optional(const char*) {
    ++listed_;
    return *this;
  }
  // One added to the set but not to this check is reported too: the set
  // has as many members as the check lists hooks, and the members named in
  // `values`, which are no hooks.
  template <class Hooks>
  void Whole(const Hooks&, std::initializer_list<const char*> values = {}) {
    static_assert(std::is_aggregate_v<Hooks>, "a hook set is a plain struct");
    if (MemberCount<Hooks>() != listed_ + values.size()) unwired_.push_back(set_ + ": a hook the check does not list");
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
      "FileLeftoverLog", startup.FileLeftoverLog)("LogNamesNotice", startup.LogNamesNotice)
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
                                                                        joystick.FlightScreenTopLeft)
      .Whole(joystick, {"Options", "UiDeadline", "OwnUiDeadline", "Commands"});

  FlightFrame& f = FlightScreenForm();
  if (f.FlightLoaded()) {
    const std::vector<std::string> flight = UnwiredFlightHooks(f);
    unwired.insert(unwired.end(), flight.begin(), flight.end());
  }
  return unwired;
}

std::vector<std::string> UnwiredFlightHooks(FlightFrame& f) {
  std::vector<std::string> unwired;
  HookCheck check(unwired);

  const view::FrameHooks& frame = f.Drawing().View.Hooks;
  check.Set("FlightScreenForm().Drawing().View.Hooks")("DrawPanelMeters", frame.DrawPanelMeters)(
      "DrawHeadUpDisplay", frame.DrawHeadUpDisplay)
      .Whole(frame);
  const view::PanelScreen& panel = f.Drawing().Panel.Screen;
  check.Set("FlightScreenForm().Drawing().Panel.Screen")("ReadDisplayOptions", panel.ReadDisplayOptions)(
      "RequestAircraftSwap", panel.RequestAircraftSwap)("CloseReplay", panel.CloseReplay)(
      "ReadWaveVolume", panel.ReadWaveVolume)
      .Whole(panel, {"FontScale", "ScreenSizeChoice", "ProgramFolder", "DeveloperMode", "ScreenMode",
                     "ShowInstrumentPanel", "ShowPylonOrHangMeter", "PanelTop", "Record"});
  const flight::KeyCommands& keys = f.Screen().Commands;
  check.Set("FlightScreenForm().Screen().Commands")("Takeoff", keys.Takeoff)("Ranking", keys.Ranking)(
      "AirfoilChart", keys.AirfoilChart)("AircraftChart", keys.AircraftChart)("FlightData", keys.FlightData)(
      "Replay", keys.Replay)("Editor", keys.Editor)("Registration", keys.Registration)(
      "CancelOrPlatform", keys.CancelOrPlatform)("ChangeAircraft", keys.ChangeAircraft)("Minimise", keys.Minimise)(
      "EndNow", keys.EndNow)("Quit", keys.Quit)("HideResultPanel", keys.HideResultPanel)(
      "SpeedOptionChanged", keys.SpeedOptionChanged)("ReadDisplayOptions", keys.ReadDisplayOptions)
      .Whole(keys);
  // The flight loop skips an empty seam so that it flies headless; the
  // flight screen fills every one but the pacing wait and the exhaust.
  const flight::FlightSeams& seams = f.Screen().Seams;
  check.Set("FlightScreenForm().Screen().Seams")("UpdateWindSound", seams.UpdateWindSound)(
      "SaveSettings", seams.SaveSettings)("SetPointerShape", seams.SetPointerShape)(
      "DrawHeadUpDisplay", seams.DrawHeadUpDisplay)("UpdateCompanion", seams.UpdateCompanion)(
      "UpdateGunRounds", seams.UpdateGunRounds)
      .Optional("UpdateExhaustAndEngineSound")("DrawInstrumentPanel", seams.DrawInstrumentPanel)("DrawFlightFrame", seams.DrawFlightFrame)(
      "DoEvents", seams.DoEvents)
      .Optional("WaitUntil")("PlaySound", seams.PlaySound)("StopSoundAndRestoreVolume",
                                                             seams.StopSoundAndRestoreVolume)(
          "PollJoystick", seams.PollJoystick)("DispatchJoystickButtons", seams.DispatchJoystickButtons)(
          "ShowMessage", seams.ShowMessage)("EndFlight", seams.EndFlight)
      .Whole(seams, {"Headless"});
  const CompanionSeamLinks companion = f.CompanionLinks();
  check.Set("the flight screen's companion links")("SetHitVolume", companion.SetHitVolume)
      .Whole(companion, {"State", "Record", "Companion", "Outline", "View", "SoundOn"});

  // The post-flight processing and the long tasks' progress dialog skip an
  // empty hook, for a headless log; the flight screen fills them.
  const records::LongTaskHooks dialog = ProgressDialogHooks();
  check.Set("ProgressDialogHooks()")("SetTitle", dialog.SetTitle)("SetText", dialog.SetText)(
      "DoEvents", dialog.DoEvents)("Close", dialog.Close)
      .Optional("AfterRows")
      .Optional("Seconds")
      .Whole(dialog);
  std::string prompt;
  const records::PostFlightScreen post = f.PostFlightScreenHooks(prompt);
  check.Set("the flight screen's post-flight hooks")("ShowWritingMenu", post.ShowWritingMenu)(
      "AskPilotName", post.AskPilotName)("ShowMessage", post.ShowMessage)("ShowPostFlightMenu",
                                                                            post.ShowPostFlightMenu)
      .Whole(post, {"Progress"});
  check.Set("the flight screen's post-flight progress")("AfterRows", post.Progress.AfterRows);

  replay::ReplayLink link;
  f.FillReplayLink(link);
  check.Set("the flight screen's replay link")("FlightScreenKeepsDrawing", link.FlightScreenKeepsDrawing)(
      "FlightFiled", link.FlightFiled)("OpenLog", link.OpenLog)("QuitProgram", link.QuitProgram)("SaveScreenshot", link.SaveScreenshot)
      .Optional("WaitUntil")
      .Whole(link, {"Record", "Outline", "Flight", "Aircraft", "Scenery", "Settings", "Sounds", "Summary",
                    "SavedWaveVolume", "FlightScreen"});
  check.Set("the flight screen's replay sounds")("SetWaveVolume", link.Sounds.SetWaveVolume)(
      "PlaySound", link.Sounds.PlaySound)("PlayTransition", link.Sounds.PlayTransition)
      .Whole(link.Sounds, {"SoundOn", "LoopSound", "LaunchSound", "BurnSound", "BaseWaveVolume",
                           "CompanionSampleCount"});
  return unwired;
}

void EndForUnwiredHooks(const std::vector<std::string>& unwired) {
  if (unwired.empty()) return;
  for (const std::string& hook : unwired) std::fprintf(stderr, "zarv: hook not wired: %s\n", hook.c_str());
  UnwiredHookStop& stop = ProgramWide<UnwiredHookStop>();
  if (stop.Instead) {
    stop.Instead(unwired);
    return;
  }
  std::fflush(stderr);
  // A fault of the build, not of the user's files: nothing of the run is
  // worth keeping, and the screens are in no state to close in order.
  std::_Exit(kUnwiredHookExitCode);
}

void CheckFlightScreenWiring() { EndForUnwiredHooks(UnwiredHooks()); }

}  // namespace zarv::flightscreen
