#include "flightscreen/joy_button_map.h"

#include <algorithm>

#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "platform/runtime/program_state.h"

namespace zarv::flightscreen {

JoyButtonMap& JoyMap() { return ProgramWide<JoyButtonMap>(); }

int32_t SafeDetent(int32_t detent) { return std::max(detent, kMinThrottleDetent); }

void JoyButtonMap::SetDetent(int32_t lever) { Entries[kJoyDetentEntry] = SafeDetent(lever); }

std::string JoyFilePath() { return ProgramPath("\\Temp\\joy.ini"); }

bool ReadJoyFile(const std::string& path, JoyButtonMap& map) {
  if (!PathExists(path)) {
    map.SetDetent(map.Detent());
    return false;
  }
  bool ok = false;
  const std::vector<std::string> lines = ReadTextLines(path, &ok, kMaxJoyFileBytes, kJoyMapSize);
  JoyButtonMap read;
  if (ok) {
    const size_t n = std::min(lines.size(), static_cast<size_t>(kJoyMapSize));
    for (size_t i = 0; i < n; ++i) read.Entries[i] = CLng(Val(lines[i]));
  }
  read.SetDetent(read.Detent());
  map = read;
  return true;
}

bool WriteJoyFile(const std::string& path, JoyButtonMap& map) {
  map.SetDetent(map.Detent());
  std::vector<std::string> lines;
  lines.reserve(kJoyMapSize);
  for (int32_t v : map.Entries) lines.push_back(Str(v));
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) MakeDir(path.substr(0, slash));
  return WriteTextLines(path, lines);
}

void LoadJoyButtonMap(flight::FlightState& s) {
  ReadJoyFile(JoyFilePath(), JoyMap());
  s.Pilot.ThrottleDetent = JoyMap().Detent();
}

}  // namespace zarv::flightscreen
