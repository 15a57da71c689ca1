// The three pages of flight data and the developer diagnostics that the
// panel writes in its third and fourth phases.
#pragma once

#include "aircraft/aircraft_data.h"
#include "flight/flight_state.h"
#include "view/instrument_panel.h"

namespace zarv::view {

// Pages 1 and 2 (when visible, or when `all`, the aircraft resting in the
// water), then the diagnostics on a pass that wrote page 2.
void WriteListingPages(PanelView& v, const flight::FlightState& s, bool all);
// Page 3, when the aircraft is above the water or the page is visible.
void WriteListingPage3(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData& a);
// The range in nautical miles at the present fuel flow and airspeed.
double RangeNauticalMiles(double fuel, double flow, double airSpeed, double dryMass);

}  // namespace zarv::view
