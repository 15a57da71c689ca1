#include "flight/headless_flight.h"

#include "flight/flight_commands.h"
#include "flight/flight_load.h"

namespace zarv::flight {

HeadlessFlight::HeadlessFlight(const aircraft::AircraftData& aircraft, double takeoffAt,
                               double screenScale)
    : Aircraft(aircraft), takeoffAt_(takeoffAt) {
  SetClockSource(&Clock);
  Options.ScreenScale = screenScale;
  const FlightLoadResult load = PrepareFlightScreenLoad(Aircraft, State, Outline, Chart);
  accepted_ = load.Accepted;
  refusal_ = load.RefusalMessage;
  if (!accepted_) return;
  ApplyFlightStartState(State, Aircraft, Options);

  // Real time runs with the simulation: one drawn frame's worth per yield.
  Seams.Headless = true;
  Seams.DoEvents = [this] {
    Clock.Advance(static_cast<uint64_t>(1000 / State.Loop.StepsPerSecond * State.Loop.DisplayDivisor));
    if (!TakeoffPressed && takeoffAt_ >= 0 && State.Loop.FlightTime >= takeoffAt_ - 1e-9) {
      TakeoffPressed = true;
      ApplyTakeoffCommand(State, Record, Aircraft);
    }
  };
  Seams.ShowMessage = [this](const std::string& text) { Message = text; };

  Keyboard.ScreenScale = Options.ScreenScale;
  Commands.Takeoff = [this] { RunTakeoffCommand(State, Record, Aircraft, Keyboard, Timer()); };
  Commands.CancelOrPlatform = [this] { CancelFlightUnderWay(State, Keyboard); };
  // The screen's other commands have no screen here.
  for (std::function<void()>* none :
       {&Commands.Ranking, &Commands.AirfoilChart, &Commands.AircraftChart, &Commands.FlightData, &Commands.Replay,
        &Commands.Editor, &Commands.Registration, &Commands.ChangeAircraft, &Commands.Minimise, &Commands.EndNow,
        &Commands.Quit, &Commands.HideResultPanel, &Commands.ReadDisplayOptions})
    *none = [] {};
  Commands.SpeedOptionChanged = [](bool) {};
  startMs_ = Clock.MonotonicMs();
}

HeadlessFlight::HeadlessFlight(const aircraft::AircraftData& aircraft, std::vector<ScriptedKey> keys)
    : HeadlessFlight(aircraft, -1.0) {
  TakeoffPressed = true;
  script_ = std::move(keys);
  if (!accepted_) return;
  Seams.DoEvents = [this] {
    Clock.Advance(static_cast<uint64_t>(1000 / State.Loop.StepsPerSecond * State.Loop.DisplayDivisor));
    DeliverScriptedKeys();
  };
}

void HeadlessFlight::DeliverScriptedKeys() {
  const double now = static_cast<double>(Clock.MonotonicMs() - startMs_) / 1000.0;
  for (const ScriptedKey& k : KeysDue(script_, keysDoneTo_, now)) {
    if (k.KeyCode != 0) FlightKeyDown(k.KeyCode, State, Aircraft, Keyboard, Commands);
    if (k.KeyAscii != 0) FlightKeyPress(k.KeyAscii, State, Aircraft, Keyboard, Commands);
  }
  keysDoneTo_ = now;
}

HeadlessFlight::~HeadlessFlight() { ResetClockSource(); }

bool HeadlessFlight::WillRecord() const {
  return !State.Loop.FlightEnded && State.Loop.StepCounter % 2 == 0 && Record.RecordCount >= 0 &&
         Record.RecordCount < kRecordCapacity && FlightStateIsFinite(State);
}

bool HeadlessFlight::Step() {
  if (!accepted_ || finished_) return false;
  SetClockSource(&Clock);  // another flight may have taken the clock meanwhile
  FlightLoop loop = Loop();
  if (!started_) {
    started_ = true;
    BeginFlightRun(loop);
  }
  if (RunFlightPass(loop)) {
    ++Passes;
    return true;
  }
  FinishFlightRun(loop);
  finished_ = true;
  return false;
}

std::string HeadlessFlight::EndWord() const {
  if (!State.Loop.FlightEnded) return "";
  switch (static_cast<FlightEndCause>(State.Loop.EndCause)) {
    case FlightEndCause::Cancel: return "cancel";
    case FlightEndCause::Watchdog: return "watchdog";
    case FlightEndCause::NonFinite: return "nonfinite";
    case FlightEndCause::Water:
    case FlightEndCause::None: break;
  }
  return "water";
}

std::string HeadlessFlight::Fly(double seconds) {
  while (Step()) {
    if (seconds > 0 && State.Loop.FlightTime >= seconds - 1e-9) return "limit";
  }
  return EndWord();
}

}  // namespace zarv::flight
