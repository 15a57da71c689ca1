// The computing steps of the flight screen's load: from the aircraft record
// to a flight state ready for the first pass of the flight loop (start
// values, engine and airfoil look-up, wing panels, masses and trim range,
// the per-flight set-up with its outline, the aircraft chart's evaluation
// and the flight limits).
#pragma once

#include <string>
#include <vector>

#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "model/outline.h"
#include "model/powered_outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

struct FlightLoadResult {
  // False: the aircraft cannot be flown and RefusalMessage says why: a
  // field at fault (nothing was changed then), or a quantity of the set-up
  // that came out NaN or infinite (the state and outline are then spoilt).
  bool Accepted = true;
  std::string RefusalMessage;
  // Things the user is told once (an airfoil name the tables do not know).
  std::vector<std::string> Notices;
  model::OutlineBuilder Builder = model::OutlineBuilder::None;
};

// The message for an aircraft whose data would divide by zero in the set-up
// or the aerodynamics; empty when it can be flown.
std::string CheckAircraftForFlight(const aircraft::AircraftData& a);

// The message for a set-up whose flight state, outline or chart values hold
// a NaN or an infinity, naming the first such quantity; "" when all are
// finite.
std::string CheckDerivedQuantities(const FlightState& s, const model::AirframeOutline& o,
                                   const ModelEvaluation& chart);

// Surface temperature and pressure brought into the range the condition
// controls offer (-20..50 C, 700..1050 hPa).
void ClampSurfaceConditions(aircraft::AircraftData& a);

// The control-surface rate a flight takes: the aircraft's own, or for a rate
// of 0 the default its tailplane area gives (deg/s, at most 60).
double SurfaceRateAtLoad(const aircraft::AircraftData& a);

// The load's set-up of one flight. Expects a freshly reset flight state and
// outline (the program runs one flight per start); changes the aircraft
// record in place as the set-up does (engine model of a light aircraft,
// taper ratios, launch height of a powered aircraft, dihedrals, gear
// position, eye height, flap maximum / 300, control-surface rate). The
// chart instance keeps what the aircraft chart keeps between its loads.
FlightLoadResult PrepareFlightScreenLoad(aircraft::AircraftData& a, FlightState& s, model::AirframeOutline& o,
                                         ModelEvaluation& chart);

}  // namespace zarv::flight
