// The flight screen's unload: which aircraft-file fields differ from what
// the user flew with, and the lines the aircraft file is rewritten with
// after the save questions.
#pragma once

#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "flight/flight_state.h"

namespace zarv::flightscreen {

// An aircraft or hand-over file as the unload and the back-to-platform
// command read it: line 1 is the tag whatever it holds (a tag of any
// length, an editor's byte-order mark dropped), then at most `count` fields,
// each read as the loader reads it: as the whole file reads.
struct AircraftFileText {
  bool Read = false;    // false: missing or unreadable; no tag, no fields
  bool HasTag = false;  // the file has a line 1
  std::string Tag;
  std::vector<std::string> Fields;
};
AircraftFileText ReadAircraftFileText(const std::string& path, int count);

// Fields 0..38 against the hand-over file, 39..42 against the live control
// settings, each file value as a flight started from the file would hold it
// (a surface rate of 0 is the load's default), so that a file the user did
// not change never counts as changed.
bool AircraftDataChanged(const std::vector<std::string>& fileFields, const std::vector<std::string>& handOverFields,
                         const aircraft::AircraftData& a);

// Fields 45..53 against the live launch and weather conditions. The file's
// values are first taken through the condition bars as the screen's load
// takes them, and both are compared at the precision the screen shows, so
// conditions the user did not touch never count as changed.
bool LaunchConditionsChanged(const std::vector<std::string>& fileFields, const aircraft::AircraftData& a,
                             const flight::FlightState& s);

// The 54 field lines to write back: the aircraft file's own, with the
// edited aircraft data (fields 0..42) and the launch conditions (45..53)
// where the user said Yes. A "No" keeps the file's lines as they are, and
// so does a line the edit left as it was (compared trimmed) and a control
// setting (39..42) that compares as unchanged. Lines set are trimmed.
std::vector<std::string> FieldsToSave(const std::vector<std::string>& fileFields,
                                      const std::vector<std::string>& handOverFields, const aircraft::AircraftData& a,
                                      bool saveData, bool saveLaunch);

}  // namespace zarv::flightscreen
