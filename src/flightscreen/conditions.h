// The launch and weather condition bars of the flight screen: what each
// bar's value means for the aircraft's conditions, the caption it shows,
// and how the bars are brought into line with conditions read from a file.
// Plain functions; the screen calls them from the bars' change events.
#pragma once

#include <optional>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"

namespace zarv::flightscreen {

// Bar ranges of the screen's layout.
inline constexpr int kBankBarMax = 40, kDirectionBarMax = 73, kPitchBarMax = 55, kSpeedBarMax = 70,
                     kWindBarMax = 8, kPressureBarMax = 350, kTemperatureBarMin = -100, kTemperatureBarMax = 40;

// Heading and wind-direction bars wrap: the end becomes 1, 0 the end less 1.
int WrapDirectionBar(int v);

std::string ApplyBankBar(int v, aircraft::AircraftData& a);
std::string ApplyHeadingBar(int v, aircraft::AircraftData& a, flight::FlightState& s, flight::FlightRecord& r);
std::string ApplyWindDirectionBar(int v, aircraft::AircraftData& a);
std::string ApplyLaunchSpeedBar(int v, aircraft::AircraftData& a, flight::FlightState& s, flight::FlightRecord& r);
std::string ApplyWindSpeedBar(int v, aircraft::AircraftData& a);
std::string ApplyPressureBar(int v, aircraft::AircraftData& a);
std::string ApplyTemperatureBar(int v, aircraft::AircraftData& a);
// Sets LaunchPitch; returns the pitch caption.
std::string ApplyPitchBar(int v, aircraft::AircraftData& a);
int PitchBarFor(double launchPitch);

// Where the pitch bar's handler puts the other bars for the present
// conditions. The heading and direction bars are left alone (nullopt) when
// the value is a full turn, as the aircraft file stores north.
struct BarPositions {
  int Speed = 0, Wind = 0, Pressure = 0, Temperature = 0, Bank = 0;
  std::optional<int> Heading, WindDirection;
  std::string SpeedCaption;
};
BarPositions BarsForConditions(const aircraft::AircraftData& a, double engineRating);

// The conditions as the screen's load leaves them after the bars have been
// brought into line (bars at their stored start positions; a bar moved by
// the synchronisation writes its own, coarser value back).
aircraft::AircraftData SyncedThroughBars(const aircraft::AircraftData& a, const flight::FlightState& s);

// The captions the set-up shows before any bar moves.
std::string SpeedCaption(const aircraft::AircraftData& a);
std::string WindSpeedCaption(const aircraft::AircraftData& a);  // one line, "m/s" or "kt"
std::string PressureCaption(const aircraft::AircraftData& a);
std::string TemperatureCaption(const aircraft::AircraftData& a);
std::string BankCaption(const aircraft::AircraftData& a);
std::string HeadingCaption(const aircraft::AircraftData& a);
std::string WindDirectionCaption(const aircraft::AircraftData& a);

}  // namespace zarv::flightscreen
