// The seven sample aircraft written on a first installation.
#pragma once

#include <string>
#include <vector>

namespace zarv::aircraft {

struct SampleAircraft {
  std::string FileName;            // e.g. "MardenⅡ.brd"
  std::vector<std::string> Lines;  // the 55 lines, tag first
};

const std::vector<SampleAircraft>& SampleAircraftList();

// Writes every sample into folder (replacing files of the same name).
// False when any file could not be written.
bool WriteSampleAircraft(const std::string& folder);

}  // namespace zarv::aircraft
