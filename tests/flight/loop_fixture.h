// Aircraft for the flight-loop tests: the sample aircraft as their files hold
// them, and three powered aircraft made from one of them.
#pragma once

#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"

namespace zarv::flight::testing {

inline std::vector<std::string> SampleLines(const std::string& name) {
  for (const aircraft::SampleAircraft& s : aircraft::SampleAircraftList()) {
    if (s.Lines.size() > 1 && s.Lines[1] == name) return s.Lines;
  }
  return {};
}

inline aircraft::AircraftData FromLines(const std::vector<std::string>& lines) {
  aircraft::AircraftData a;
  aircraft::ParseAircraftLines(lines, a);
  return a;
}

inline aircraft::AircraftData Sample(const std::string& name) { return FromLines(SampleLines(name)); }

#ifdef ZARV_SOURCE_DIR  // the test programs; the benchmarks know no source folder
// An aircraft file of tests/data/aircraft as the program reads it (an empty
// record, which no flight accepts, when it cannot be read).
inline aircraft::AircraftData DataAircraft(const std::string& file) {
  aircraft::AircraftData a;
  if (!aircraft::LoadAircraftData(std::string(ZARV_SOURCE_DIR) + "/tests/data/aircraft/" + file, a)) return {};
  return a;
}
#endif

inline std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  for (const aircraft::SampleAircraft& s : aircraft::SampleAircraftList()) names.push_back(s.Lines[1]);
  return names;
}

// Field f of an aircraft file is line f + 1 (line 0 is the hangar tag).
inline void SetField(std::vector<std::string>& lines, int field, const std::string& text) {
  lines[static_cast<std::size_t>(field) + 1] = text;
}

// A sample from another launch height (field 30) and wind speed (field 46),
// as the probe's --set puts them.
inline aircraft::AircraftData SampleAt(const std::string& name, const std::string& height, const std::string& wind) {
  std::vector<std::string> lines = SampleLines(name);
  SetField(lines, 30, height);
  SetField(lines, 46, wind);
  return FromLines(lines);
}

enum class Engine { Piston, Jet, Rocket };

// A powered aircraft with a flying start at `height` m.
inline aircraft::AircraftData Powered(Engine engine, double height = 300) {
  std::vector<std::string> l = aircraft::SampleAircraftList().front().Lines;
  const bool piston = engine == Engine::Piston;
  const bool jet = engine == Engine::Jet;
  // Field: piston value, jet and rocket value.
  const struct { int Field; const char *Piston, *Jet; } fields[] = {
      {1, "300", "3000"}, {2, "200", "1500"}, {3, "30", "300"}, {4, "60", "800"},  // masses
      {5, "7.5", "14"},   {6, "4.5", "6"},    {7, "4.8", "6.5"},                     // length, arms
      {8, "20000", "20000"}, {9, ".1", ".1"}, {10, ".6", "1.5"},                    // stiffness, drag
      {11, "11", "9"},    {12, "16.2", "25"}, {13, "1", "1"},  {14, "1.5/30", "1.5/30"},
      {15, "3/0", "3/0"}, {16, ".8", ".8"},   {17, "3/.3", "3/.3"}, {18, ".6", ".6"},
      {19, ".5", ".5"},   {20, "3/.3", "3/.3"}, {21, ".5", ".5"}, {22, "3", "6"},
      {23, "-1", "-1"},   {24, "1.5", "5"},   {25, "0", "0"},  {26, "0", "0"},
      {27, "27", "27"},   {28, "1.5/0.3", "1.5/0.3"}, {29, ".6", ".6"},
      {33, "0", "0"},     {34, "0", "0"},     {36, "100", "2000"},  // fuel
      {40, "30", "30"},   {41, "1", "1"},     {42, "1", "1"},  {45, "50", "150"},  // launch speed
      {46, "0", "0"},     {47, "90", "90"},   {48, "0", "0"},  {49, "0", "0"},
      {50, "90", "90"},   {53, "0", "0"}};
  for (const auto& f : fields) SetField(l, f.Field, piston ? f.Piston : f.Jet);
  SetField(l, 0, piston ? "Test piston" : jet ? "Test jet" : "Test rocket");
  SetField(l, 30, std::to_string(height));
  SetField(l, 35, jet ? "2" : "1");
  SetField(l, 37, piston ? "pist" : jet ? "jet" : "roket");
  SetField(l, 38, piston ? "O-200" : jet ? "J85-GE21" : "LMDPS");
  return FromLines(l);
}

}  // namespace zarv::flight::testing
