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

// Writes every sample into folder where no file of its name exists: a
// user's own aircraft of that name stays as it is. False when any sample
// could not be written.
[[nodiscard]] bool WriteSampleAircraft(const std::string& folder);

}  // namespace zarv::aircraft
