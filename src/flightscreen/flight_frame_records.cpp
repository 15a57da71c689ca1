// The flight screen's side of what is kept of a flight: the end of the
// flight (result, log, ranking place, filing), the ranking window, the
// characteristic charts, the flight-data charts and the replay.
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "aircraft/aircraft_data.h"
#include "charts/charts.h"
#include "flight/companion_record.h"
#include "flight/flight_loop.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "flightscreen/flight_frame.h"
#include "flightscreen/flight_menu.h"
#include "logbook/flight_log.h"
#include "logbook/log_filing.h"
#include "logbook/post_flight.h"
#include "logbook/ranking.h"
#include "model/outline.h"
#include "platform/devices/sound.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "records/flight_data_form.h"
#include "records/log_picker.h"
#include "records/records_screens.h"
#include "replay/replay_form.h"
#include "shell/flight_screen_link.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "view/cockpit_view.h"

namespace zarv::flightscreen {
namespace {

struct ReplayPacing {
  std::function<void(uint64_t)> Wait;  // empty: real time
};
std::function<void(uint64_t)>& ReplayWait() { return ProgramWide<ReplayPacing>().Wait; }

}  // namespace

records::LongTaskHooks ProgressDialogHooks() {
  records::LongTaskHooks h;
  h.SetTitle = [](const std::string& title) {
    shell::ProcessForm& p = shell::Process();
    if (!p.Loaded() || !p.Visible()) p.Show();
    p.Label2.SetCaption(title);
  };
  h.SetText = [](const std::string& text) {
    if (shell::Process().Loaded()) shell::Process().Label1.SetCaption(text);
    DoEvents();
  };
  h.DoEvents = [] { DoEvents(); };
  h.Close = [] {
    if (shell::Process().Loaded()) shell::Process().Unload();
  };
  return h;
}

void FlightFrame::SetReplayWait(std::function<void(uint64_t)> wait) { ReplayWait() = std::move(wait); }

// ------------------------------------------------------ load and unload

void FlightFrame::LoadRecordsScreens() {
  shell::ShellState& sh = shell::Shell();
  records::PostFlight().Reset();  // one flight per load
  postFlight_ = records::PostFlightOutcome{};
  flightSummary_.clear();
  quitAfterReplay_ = false;
  // The load has just evaluated the aircraft chart: it is drawn from that.
  charts::LoadAircraftChartHidden();
  NameEntry.Layout(sh.AppName, sh.FontScale);
}

void FlightFrame::UnloadRecordsScreens() {
  NameEntry.Close();
  records::CloseFlightData();
  charts::UnloadCharts();
  if (records::File_Select().Loaded()) records::File_Select().Unload();
  if (records::ResultSheet().Loaded()) records::ResultSheet().Unload();
  CloseIdleReplay();
}

void FlightFrame::CloseIdleReplay() {
  // A closed replay keeps its window loaded; its unload brings a hidden
  // flight screen down with it, so it goes only while this one shows.
  replay::ReplayForm& v = replay::Vedeo();
  if (v.Loaded() && !v.Running() && Visible()) v.Unload();
}

// ------------------------------------------------------- end of flight

records::PostFlightScreen FlightFrame::PostFlightScreenHooks(std::string& prompt) {
  records::PostFlightScreen ps;
  ps.ShowWritingMenu = [this] {
    FillMenu(kMenuWritingLog);
    List1.SetLeft(0);
    List1.SetVisible(false);
    SetMousePointer(vbHourglass);
  };
  ps.Progress = ProgressDialogHooks();
  // F10 or F12 in the progress dialog: carried out once the log is filed.
  ps.Progress.AfterRows = [this] {
    const int16_t mode = shell::Shell().ScreenMode;
    shell::Shell().ScreenMode = shell::kScreenModeNone;
    if (mode == shell::kScreenModeChangeAircraft) Command3_Click();
    if (mode == shell::kScreenModeQuit) QuitCommand();
  };
  ps.AskPilotName = [&prompt](const std::string& text) { prompt = text; };
  ps.ShowMessage = [](const std::string& message) { MsgBox(message, vbExclamation, shell::Shell().AppName); };
  ps.ShowPostFlightMenu = [this] {
    FillMenu(kMenuAfterFlight);
    SetMousePointer(vbDefault);
  };
  return ps;
}

void FlightFrame::RunPostFlight() {
  if (Timer1.Enabled()) return;  // armed already by a nested loop
  flight::FlightState& s = flight::State();
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const bool soundOn = shell::CurrentSettings().SoundOn == 1;
  if (soundOn) {
    RestoreVolume();
    if (records::PlaysEndSound(true, s.Body.Altitude, a.EngineCount)) sndPlaySoundA(s.Sound.BurnSound, SND_ASYNC);
  }
  records::EndFlightRecordSteps(s, flight::Record(), a);
  records::CloseFlightData();
  Check7.SetEnabled(true);
  Timer1.SetInterval(records::PostFlightDelayMs(soundOn, s.Body.Altitude, a.EngineCount));
  Timer1.SetEnabled(true);
}

void FlightFrame::Timer1_Timer() {
  StopSound(SND_MEMORY);
  RestoreVolume();
  screen_.TaskStartTime = Timer();
  flight::FlightState& s = flight::State();
  std::string prompt;
  records::PostFlightInputs in{s,
                               flight::Record(),
                               aircraft::Aircraft(),
                               model::Outline(),
                               records::Ranking(),
                               records::LogSuffixFor(shell::CurrentSettings().AircraftFileName),
                               ProgramPath("\\Temp\\before.csv"),
                               ProgramPath("\\FlightData"),
                               ""};
  const records::PostFlightScreen ps = PostFlightScreenHooks(prompt);
  // The writer's progress dialog takes F10 and F12, also after a stored log
  // was read into the charts during the flight.
  shell::Shell().LogCaller = records::kLogCallerNone;
  // The writer yields to events: a change or quit asked for meanwhile
  // waits, as it does while the flight loop runs.
  ++screen_.LoopDepth;
  const records::PostFlightOutcome out = records::OnPostFlightTimer(Timer1, in, ps);
  --screen_.LoopDepth;
  if (out.Ran) {
    postFlight_ = out;
    flightSummary_ = out.Result.FlightSummary;
  }
  if (!prompt.empty() && loaded_) NameEntry.Offer(prompt, out.Result.RecordEntryText);
  Timer1.SetEnabled(false);
  s.Body.ViewRollSin = std::sin(s.Body.BankAngle);
  s.Body.ViewRollCos = std::cos(s.Body.BankAngle);
  s.Body.PitchSin = std::sin(s.Body.PitchAngle);
  s.Body.PitchCos = std::cos(s.Body.PitchAngle);
  Timer3.SetEnabled(true);
  if (screen_.LoopDepth == 0) CarryOutPendingExit();
}

// ------------------------------------------------------------ commands

void FlightFrame::Command9_Click() { records::ResultSheet().Show(); }

void FlightFrame::Command4_Click() { charts::OpenAirfoilChart(); }

void FlightFrame::Command7_Click() { charts::OpenAircraftChart(); }

void FlightFrame::ResumeFlightInAir() {
  flight::FlightState& s = flight::State();
  // An exit asked for meanwhile lets the suspended loop end instead.
  if (!loaded_ || screen_.Unloading || screen_.PendingExit >= 0) return;
  // In the air, and not ended by its own tests (the pass they fired on may
  // have lifted it back above the water): an ended flight is filed, not flown.
  if (!(s.Body.Altitude > 0) || flight::FlightIsDown(s)) return;
  SetAutoRedraw(false);
  ++screen_.LoopDepth;
  flight::FlightLoop loop{s, flight::Record(), aircraft::Aircraft(), model::Outline(), screen_.Options, screen_.Seams};
  flight::RunFlight(loop);
  --screen_.LoopDepth;
  if (screen_.LoopDepth == 0) CarryOutPendingExit();
}

void FlightFrame::Command5_Click() {
  SetMousePointer(vbHourglass);
  const bool panelOpen = NameEntry.IsOpen();
  Picture6.SetVisible(false);
  SetAutoRedraw(true);
  records::ShowFlightDataAndWait();
  if (panelOpen && loaded_) Picture6.SetVisible(true);
  screen_.Options.FlightDataChartsActive = shell::Shell().FormActiveFlags[shell::kSlotFlightData];
  ResumeFlightInAir();
}

void FlightFrame::FillReplayLink(replay::ReplayLink& link) {
  flight::FlightState& s = flight::State();
  link.Outline = &model::Outline();
  link.Flight = &s;
  link.Aircraft = &aircraft::Aircraft();
  link.Scenery = replay::SceneryOf(drawing_->View.Scene, s.Ground);
  link.Settings = &shell::CurrentSettings();
  replay::ReplaySounds& sounds = link.Sounds;
  sounds.SoundOn = shell::CurrentSettings().SoundOn;
  sounds.LoopSound = s.Sound.LoopSound;
  sounds.LaunchSound = screen_.ShootSound;
  sounds.BurnSound = s.Sound.BurnSound;
  sounds.BaseWaveVolume = screen_.BaseVolume;
  sounds.CompanionSampleCount = flight::Companion().CompanionSampleCount;
  sounds.SetWaveVolume = [](uint32_t volume) { waveOutSetVolume(WAVE_MAPPER, volume); };
  sounds.PlaySound = [](const std::string& file, unsigned flags) { sndPlaySoundA(file, flags); };
  sounds.PlayTransition = [this] { StopSound(SND_MEMORY); };
  link.SavedWaveVolume = static_cast<int32_t>(screen_.SavedWaveVolume);
  link.FlightScreen = this;
  link.FlightScreenKeepsDrawing = [this] { return AutoRedraw(); };
  // Filed once this load's post-flight processing has run (the screen keeps
  // its outcome), and no loop waits on the screen.
  link.FlightFiled = [this] { return loaded_ && postFlight_.Ran && screen_.LoopDepth == 0; };
  link.WaitUntil = ReplayWait();
  // A stored log goes into a record of its own: the flight's record must
  // survive a flight that goes on after the replay. The picker is modeless;
  // its OK hands the log to the running replay (or opens one).
  link.OpenLog = [this](flight::FlightRecord&) {
    if (!replayLog_) replayLog_ = std::make_unique<flight::FlightRecord>();
    records::OpenLogPicker(records::kLogCallerReplay, *replayLog_, [this](const std::string& summary) {
      replay::ReplayLink next;
      FillReplayLink(next);
      next.Record = replayLog_.get();
      next.Summary = summary;
      replay::OpenReplay(next);
    });
    return false;
  };
  link.QuitProgram = [this] {
    quitAfterReplay_ = true;
    replay::Vedeo().Command1_Click();
  };
  link.SaveScreenshot = [this](const Surface& picture) {
    view::CockpitView& v = drawing_->View;
    const std::string path = view::SaveScreenshot(picture, v.ScreenshotFolder, v.ScreenshotCounter);
    if (!path.empty()) v.LastScreenshot = path;
  };
}

void FlightFrame::Command6_Click() {
  flight::FlightRecord& r = flight::Record();
  r.RecordSampleCount = std::max(r.RecordCount, 0);
  screen_.Keys.UiDeadline = Timer();
  SetAutoRedraw(true);
  // The trail of the wing tips: the log writer fills it at the end of the
  // flight, a replay during the flight needs it now.
  const int32_t last = std::min<int32_t>(static_cast<int32_t>(r.RecordSampleCount),
                                         static_cast<int32_t>(r.Samples.size()) - 1);
  for (int32_t i = 0; i <= last; ++i) records::ComputeTipTrail(r.Row(i), model::Outline());
  replay::ReplayLink link;
  FillReplayLink(link);
  link.Record = &r;
  link.Summary = flightSummary_;
  quitAfterReplay_ = false;
  replay::OpenReplay(link);
  if (quitAfterReplay_) {
    quitAfterReplay_ = false;
    QuitCommand();
    return;
  }
  ResumeFlightInAir();
}

}  // namespace zarv::flightscreen
