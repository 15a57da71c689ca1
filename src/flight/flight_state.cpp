#include "flight/flight_state.h"
#include "platform/runtime/program_state.h"

namespace zarv::flight {

FlightState& State() { return ProgramWide<FlightState>(); }

}  // namespace zarv::flight
