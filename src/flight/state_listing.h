// Name/value listing of the flight state and the aircraft record, for the
// developer probe and for comparing two set-ups line by line.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// A number as the listings write it: the shortest text that reads back
// to the same double.
std::string ListingNumber(double v);

// "Name value" per field; array elements as "Name(i) value".
void ListFlightState(std::ostream& out, const FlightState& s);
void ListAircraftData(std::ostream& out, const aircraft::AircraftData& a);

// Sets the record's real-valued field listed as `name` to v (in the units the
// listing shows); false when the record lists no such field.
bool SetAircraftNumber(aircraft::AircraftData& a, std::string_view name, double v);

}  // namespace zarv::flight
