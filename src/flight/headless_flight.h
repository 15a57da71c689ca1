// A flight with no screen: the flight screen's load-time set-up and start
// state, then the flight loop's passes with the seams left empty, on a
// manual clock that runs with the simulation (so the rest watchdog and the
// once-per-second update see simulated time and every run is repeatable).
// The take-off key is pressed once at a chosen flight time, as a pilot
// starting the flight would. For the probe tool, tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flight/flight_keys.h"
#include "flight/flight_loop.h"
#include "flight/key_script.h"
#include "flight/flight_record.h"
#include "flight/flight_seams.h"
#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "model/outline.h"
#include "platform/runtime/clock.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

class HeadlessFlight {
 public:
  // Installs the manual clock (each step takes it again; destruction puts the
  // system clock back) and loads the aircraft for a screen of screenScale
  // (1.0, 1.25 or 1.6: the view's pixels per radian and centre follow it).
  explicit HeadlessFlight(const aircraft::AircraftData& aircraft, double takeoffAt = 0.5,
                          double screenScale = 1.0);
  // Flies by a key script instead of the single take-off key: the keys go
  // through the flight screen's key handlers.
  HeadlessFlight(const aircraft::AircraftData& aircraft, std::vector<ScriptedKey> keys);
  ~HeadlessFlight();
  HeadlessFlight(const HeadlessFlight&) = delete;
  HeadlessFlight& operator=(const HeadlessFlight&) = delete;

  bool Accepted() const { return accepted_; }
  const std::string& RefusalMessage() const { return refusal_; }

  // One pass (the run's start before the first). False once the flight has
  // ended; the after-loop steps have then run.
  bool Step();

  // Passes until the flight ends or FlightTime reaches `seconds` (no limit
  // when <= 0). Returns the end: "water", "cancel", "watchdog", "nonfinite"
  // or "limit".
  std::string Fly(double seconds);

  // True when the recorder will write a sample on the next pass.
  bool WillRecord() const;

  // The end word of a finished flight ("" while it runs).
  std::string EndWord() const;

  FlightLoop Loop() { return FlightLoop{State, Record, Aircraft, Outline, Options, Seams}; }

  aircraft::AircraftData Aircraft;
  FlightState State;
  FlightRecord Record;
  model::AirframeOutline Outline;
  ModelEvaluation Chart;
  FlightOptions Options;
  FlightSeams Seams;
  ManualClock Clock{10000};
  int64_t Passes = 0;
  bool TakeoffPressed = false;
  KeyboardState Keyboard;
  KeyCommands Commands;
  std::string Message;  // a message the flight showed

 private:
  bool accepted_ = false;
  bool started_ = false;
  bool finished_ = false;
  double takeoffAt_;
  std::vector<ScriptedKey> script_;
  uint64_t startMs_ = 0;
  double keysDoneTo_ = -1;  // s: the script has been delivered up to here
  void DeliverScriptedKeys();
  std::string refusal_;
};

}  // namespace zarv::flight
