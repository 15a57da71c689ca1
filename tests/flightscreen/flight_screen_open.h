// The flight screen loaded as the hangar leaves it for a flight: the aircraft
// file and its hand-over copy in the program folder, named in the settings.
// Shared by the flight screen's tests and the benchmarks, so free of the
// test framework: each step says whether it worked.
#pragma once

#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"
#include "flightscreen/flight_frame.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen::testing {

// Writes `folder`/Data/Plane.brd and the hand-over file from `lines` and
// names the aircraft file in the settings.
inline bool WritePlane(const std::string& folder, const std::vector<std::string>& lines) {
  if (!WriteTextLines(folder + "/Data/Plane.brd", lines) || !WriteTextLines(aircraft::HandOverPath(), lines)) {
    return false;
  }
  shell::Settings& s = shell::CurrentSettings();
  s.AircraftFilePath = folder + "/Data/Plane.brd";
  s.AircraftFileName = "Plane.brd";
  s.HangarDir = folder + "/Data";
  return true;
}

// Loads the flight screen at screen size `size` (0, 1, 2) on the hand-over
// file as it stands, for the aircraft file the settings name.
inline bool LoadHandedOver(int size) {
  shell::Settings& s = shell::CurrentSettings();
  s.ScreenSizeChoice = static_cast<int16_t>(size);
  s.WindowCentreX = 7680;
  s.WindowCentreY = 5760;
  const double scales[] = {1.0, 1.25, 1.6};
  shell::Shell().ScreenScale = scales[size];
  shell::Shell().ScreenSizeInUse = static_cast<int16_t>(size);
  if (!aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft())) return false;
  ResetEnded();  // a previous unload ended the program
  FlightScreenForm().Load();
  return true;
}

}  // namespace zarv::flightscreen::testing
