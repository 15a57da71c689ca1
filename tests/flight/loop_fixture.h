// Aircraft for the flight-loop tests: the sample aircraft as their files hold
// them, and three powered aircraft made from one of them.
#pragma once

#include <string>
#include <vector>

#include "shell/aircraft_data.h"
#include "shell/aircraft_file.h"
#include "shell/samples.h"

namespace zarv::flight::testing {

inline std::vector<std::string> SampleLines(const std::string& name) {
  for (const shell::SampleAircraft& s : shell::SampleAircraftList()) {
    if (s.Lines.size() > 1 && s.Lines[1] == name) return s.Lines;
  }
  return {};
}

inline shell::AircraftData FromLines(const std::vector<std::string>& lines) {
  shell::AircraftData a;
  shell::ParseAircraftLines(lines, a);
  return a;
}

inline shell::AircraftData Sample(const std::string& name) { return FromLines(SampleLines(name)); }

inline std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  for (const shell::SampleAircraft& s : shell::SampleAircraftList()) names.push_back(s.Lines[1]);
  return names;
}

// Field f of an aircraft file is line f + 1 (line 0 is the hangar tag).
inline void SetField(std::vector<std::string>& lines, int field, const std::string& text) {
  lines[static_cast<std::size_t>(field) + 1] = text;
}

enum class Engine { Piston, Jet, Rocket };

// A powered aircraft with a flying start at `height` m.
inline shell::AircraftData Powered(Engine engine, double height = 300) {
  std::vector<std::string> l = shell::SampleAircraftList().front().Lines;
  const bool piston = engine == Engine::Piston;
  SetField(l, 0, piston ? "Test piston" : engine == Engine::Jet ? "Test jet" : "Test rocket");
  SetField(l, 1, piston ? "300" : "3000");   // front fuselage
  SetField(l, 2, piston ? "200" : "1500");   // wing
  SetField(l, 3, piston ? "30" : "300");     // tail
  SetField(l, 4, piston ? "60" : "800");     // rear fuselage
  SetField(l, 5, piston ? "7.5" : "14");     // length
  SetField(l, 6, piston ? "4.5" : "6");      // tailplane arm
  SetField(l, 7, piston ? "4.8" : "6.5");    // fin arm
  SetField(l, 8, "20000");                   // stiffness
  SetField(l, 9, ".1");                      // wing deflection
  SetField(l, 10, piston ? ".6" : "1.5");    // parasite drag area
  SetField(l, 11, piston ? "11" : "9");      // span
  SetField(l, 12, piston ? "16.2" : "25");   // area
  SetField(l, 13, "1");
  SetField(l, 14, "1.5/30");                 // incidence / flap maximum
  SetField(l, 15, "3/0");
  SetField(l, 16, ".8");
  SetField(l, 17, "3/.3");
  SetField(l, 18, ".6");
  SetField(l, 19, ".5");
  SetField(l, 20, "3/.3");
  SetField(l, 21, ".5");
  SetField(l, 22, piston ? "3" : "6");       // tailplane area
  SetField(l, 23, "-1");
  SetField(l, 24, piston ? "1.5" : "5");     // fin area
  SetField(l, 25, "0");
  SetField(l, 26, "0");
  SetField(l, 27, "27");
  SetField(l, 28, "1.5/0.3");                // gear length / position
  SetField(l, 29, ".6");
  SetField(l, 30, std::to_string(height));
  SetField(l, 33, "0");
  SetField(l, 34, "0");
  SetField(l, 35, piston ? "1" : engine == Engine::Jet ? "2" : "1");
  SetField(l, 36, piston ? "100" : "2000");  // fuel
  SetField(l, 37, piston ? "pist" : engine == Engine::Jet ? "jet" : "roket");
  SetField(l, 38, piston ? "O-200" : engine == Engine::Jet ? "J85-GE21" : "LMDPS");
  SetField(l, 40, "30");
  SetField(l, 41, "1");
  SetField(l, 42, "1");
  SetField(l, 45, piston ? "50" : "150");    // launch speed
  SetField(l, 46, "0");
  SetField(l, 47, "90");
  SetField(l, 48, "0");
  SetField(l, 49, "0");
  SetField(l, 50, "90");
  SetField(l, 53, "0");
  return FromLines(l);
}

}  // namespace zarv::flight::testing
