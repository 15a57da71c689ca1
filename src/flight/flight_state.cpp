#include "flight/flight_state.h"

namespace zarv::flight {

FlightState& State() {
  static FlightState instance;
  return instance;
}

}  // namespace zarv::flight
