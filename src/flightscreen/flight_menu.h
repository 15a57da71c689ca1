// The flight screen's pop-up menu: its entries in each phase of a run, the
// row under the pointer, and which command an entry runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarv::flightscreen {

enum MenuPhase { kMenuCompanionLoad, kMenuBeforeLaunch, kMenuInFlight, kMenuWritingLog, kMenuAfterFlight };

struct MenuEntries {
  int16_t Count = 0;                 // command entries (MenuItemCount)
  std::vector<std::string> Entries;  // with the empty separator before the last
  double ListHeight = 0;             // pixels, a whole number of rows
  double ListWidth = 0;              // pixels; 0 keeps the list's width
};

MenuEntries MenuFor(MenuPhase phase);

// Pixels from one menu row to the next.
inline constexpr double kMenuRowPitch = 15.6;

// The row under the pointer at y pixels from the list's first row, kept
// within the list's rows.
int16_t HoveredMenuRow(double y, int16_t menuItemCount, int listCount);

enum class MenuCommand {
  None, Help, Ranking, AirfoilChart, AircraftChart, FlightData, Replay, Editor, Registration,
  CancelOrPlatform, ChangeAircraft, Quit,
};

MenuCommand CommandForEntry(const std::string& text);

// Screens other issues build: until they exist their commands tell the user so.

}  // namespace zarv::flightscreen
