// The flight loop: one pass per simulation step of 1/StepsPerSecond s. Each
// pass tests the end of the flight, keeps the counters, records a sample on
// every second step, runs the flight model's stages in a fixed order (they
// meet only through the flight state), and on display steps paces to real
// time, draws and yields through the seams. RunFlight runs passes until the
// flight ends; it may be entered again from its own yield (the charts and
// the replay resume a flight that way).
#pragma once

#include <cstdint>

#include "flight/flight_record.h"
#include "flight/flight_seams.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

enum class FlightEndCause : int16_t {
  None = 0,
  Water = 1,      // came to rest in the water, or a flying start touched down
  Cancel = 2,     // the cancel command set the sentinel altitude
  Watchdog = 3,   // crept along far out for a minute
  NonFinite = 4,  // the state held NaN or infinity; ended as a cancel
};

// SpeedMode: 1 paced to real time (x1), 0 the fastest (no pacing), and the
// x1/3 choice of a light aircraft.
inline constexpr int16_t kSpeedModeThird = 3;

// Real time per flight time: 3 at x1/3, 1 at x1 (the fastest setting does
// not wait). The flight itself is the same at every speed.
int PaceSlowdown(const LoopTiming& loop);

// Frames drawn per second of real time as paced ("Frm/Sec").
double DrawnFramesPerSecond(const LoopTiming& loop);

// The structs one flight works on.
struct FlightLoop {
  FlightState& State;
  FlightRecord& Record;
  aircraft::AircraftData& Aircraft;
  const model::AirframeOutline& Outline;
  const FlightOptions& Options;  // the caller keeps its activity flags current
  FlightSeams& Seams;
};

// The start of every run, nested or not.
void BeginFlightRun(FlightLoop& f);

// One pass. False at the loop head once the flight has ended (nothing done).
bool RunFlightPass(FlightLoop& f);

// After the loop: once per flight, however many runs were nested.
void FinishFlightRun(FlightLoop& f);

void RunFlight(FlightLoop& f);

// The end tests of the pass head; true when the flight has ended.
bool TestEndOfFlight(const BodyMotion& body, const GroundState& ground, const aircraft::AircraftData& a,
                     LoopTiming& loop, ViewState& view);

// The view's direction (ViewHeading, ViewDepression and their sines and
// cosines) and the pilot's eye in the world, as each display step sets them.
void SetViewAndEye(const BodyMotion& body, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                   ViewState& view);

// True once the flight is down: under the surface (a start afloat floating
// there once its own tests end it), or ended by its own end tests, after
// which the rest of that pass may have lifted it just above.
bool FlightIsDown(const FlightState& s);

// False when a quantity the stages integrate is NaN or infinite.
bool FlightStateIsFinite(const FlightState& s);

// The rest watchdog of display steps: ends a flight that has crept along at
// 1 m/s or less for a minute, beyond 200 m or, once the aircraft has left
// its start, on the water or on the deck (onDeck: the deck touches it)
// anywhere; a start afloat that has not flown clear ends by its own rules.
void CheckRestWatchdog(LoopTiming& loop, const GroundState& ground, BodyMotion& body, bool onDeck = false);

}  // namespace zarv::flight
