#include "flightscreen/unload_fields.h"

#include <algorithm>

#include "aircraft/aircraft_file.h"
#include "flight/flight_load.h"
#include "flightscreen/conditions.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::flightscreen {
namespace {


struct Shown {
  int field;
  double value;
  const char* picture;
};

}  // namespace

AircraftFileText ReadAircraftFileText(const std::string& path, int count) {
  AircraftFileText text;
  std::vector<std::string> lines =
      ReadTextLines(path, &text.Read, aircraft::kMaxAircraftFileBytes, static_cast<size_t>(count) + 1);
  if (lines.empty()) return text;
  text.HasTag = true;
  text.Tag = std::move(lines.front());
  text.Fields.assign(std::make_move_iterator(lines.begin() + 1), std::make_move_iterator(lines.end()));
  return text;
}

namespace {

// The aircraft being flown, with the file's lines and the control settings
// and launch conditions they hold, as a flight started from the file would
// hold them: the reader's corrections, the surface limits and the load's
// default surface rate (which follows the file's tailplane). Only fields the
// file holds are compared; later settings read as an empty line reads.
aircraft::AircraftData LoadedFromFile(const std::vector<std::string>& fileFields, const aircraft::AircraftData& a) {
  std::vector<std::string> lines{a.AircraftTag};
  lines.insert(lines.end(), fileFields.begin(), fileFields.end());
  aircraft::AircraftData read;
  aircraft::ParseAircraftLines(lines, read);
  aircraft::AircraftData out = a;
  out.AircraftLines = read.AircraftLines;
  aircraft::ReadSettingFields(out);
  out.SurfaceRate = flight::SurfaceRateAtLoad(read);
  flight::ClampSurfaceConditions(out);
  return out;
}

// Fields 39..42 as the file keeps them: compared in these forms (so a file
// line "1" equals 1.0), and written in them when changed.
struct ControlField {
  int field;
  double (*value)(const aircraft::AircraftData&);
  const char* picture;
};
constexpr ControlField kControlFields[] = {
    {39, aircraft::ControlRatioPacked, "0.00"},
    {40, [](const aircraft::AircraftData& a) { return a.SurfaceRate; }, "#0"},
    {41, [](const aircraft::AircraftData& a) { return a.PitchResponse; }, "#0.0"},
    {42, [](const aircraft::AircraftData& a) { return a.PitchDamping; }, "#0.0"},
};

std::string ControlText(const ControlField& c, const aircraft::AircraftData& a) { return Format(c.value(a), c.picture); }

// The control fields the file holds whose live value differs from the file's.
std::vector<bool> ControlsChanged(size_t fileFieldCount, const aircraft::AircraftData& a,
                                  const aircraft::AircraftData& file) {
  std::vector<bool> changed;
  for (const ControlField& c : kControlFields)
    changed.push_back(static_cast<size_t>(c.field) < fileFieldCount && ControlText(c, a) != ControlText(c, file));
  return changed;
}

}  // namespace

bool AircraftDataChanged(const std::vector<std::string>& fileFields, const std::vector<std::string>& handOverFields,
                         const aircraft::AircraftData& a) {
  const int common = static_cast<int>(std::min(fileFields.size(), handOverFields.size()));
  const aircraft::AircraftData file = LoadedFromFile(fileFields, a);
  for (int i = 0; i <= 38 && i < common; ++i)
    if (Trim(file.AircraftLines[static_cast<size_t>(i)]) != Trim(handOverFields[static_cast<size_t>(i)])) return true;
  for (const bool changed : ControlsChanged(fileFields.size(), a, file))
    if (changed) return true;
  return false;
}

namespace {

std::vector<Shown> ShownLaunchValues(const aircraft::AircraftData& a) {
  return {
      {45, a.LaunchSpeed, "##0.00"},          {46, a.WindSpeed, "#0.0"},
      {47, a.LaunchHeading * kDegreesPerRadian, "##0"},    {48, a.LaunchBank * kDegreesPerRadian, "##0"},
      {49, a.LaunchPitch * kDegreesPerRadian, "#0.0"},     {50, a.WindDirection * kDegreesPerRadian, "##0"},
      {51, a.SurfacePressure, "###0"},        {52, a.SurfaceTemperature, "#0.0"},
      {53, static_cast<double>(a.TailHoldFlag), "##0"},
  };
}

}  // namespace

bool LaunchConditionsChanged(const std::vector<std::string>& fileFields, const aircraft::AircraftData& a,
                             const flight::FlightState& s) {
  const int n = static_cast<int>(fileFields.size());
  aircraft::AircraftData fromFile = SyncedThroughBars(LoadedFromFile(fileFields, a), s);
  if (fromFile.WindDirection == 0) fromFile.WindDirection = kFullTurn;
  const std::vector<Shown> now = ShownLaunchValues(a), file = ShownLaunchValues(fromFile);
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i].field >= n) break;
    if (Format(now[i].value, now[i].picture) != Format(file[i].value, file[i].picture)) return true;
  }
  return false;
}

std::vector<std::string> FieldsToSave(const std::vector<std::string>& fileFields,
                                      const std::vector<std::string>& handOverFields, const aircraft::AircraftData& a,
                                      bool saveData, bool saveLaunch) {
  // A line of the file the save does not set stays as the file has it,
  // blanks included; every line set is trimmed.
  std::vector<std::string> out(aircraft::kAircraftFieldCount);
  auto set = [&out](int i, const std::string& line) {
    out[static_cast<size_t>(i)] = aircraft::TrimmedField(i, line);
  };
  for (int i = 0; i < aircraft::kAircraftFieldCount; ++i) {
    if (i < static_cast<int>(fileFields.size())) {
      out[static_cast<size_t>(i)] = fileFields[static_cast<size_t>(i)];
    } else {
      set(i, a.AircraftLines[static_cast<size_t>(i)]);
    }
  }
  if (saveData) {
    // A line the user did not change keeps the file's own form.
    for (int i = 0; i <= 38 && i < static_cast<int>(handOverFields.size()); ++i) {
      const size_t at = static_cast<size_t>(i);
      if (i >= static_cast<int>(fileFields.size()) || Trim(fileFields[at]) != Trim(handOverFields[at]))
        set(i, handOverFields[at]);
    }
    // A control setting the user left as it was keeps the file's own line
    // (a surface rate of 0 stays the default that follows the tailplane).
    const std::vector<bool> changed = ControlsChanged(fileFields.size(), a, LoadedFromFile(fileFields, a));
    for (size_t i = 0; i < std::size(kControlFields); ++i) {
      const ControlField& c = kControlFields[i];
      if (changed[i] || static_cast<size_t>(c.field) >= fileFields.size()) set(c.field, ControlText(c, a));
    }
  }
  if (saveLaunch) {
    aircraft::AircraftData copy = a;
    aircraft::StoreLaunchFields(copy);
    for (int i = 45; i <= 53; ++i) set(i, copy.AircraftLines[static_cast<size_t>(i)]);
  }
  return out;
}

}  // namespace zarv::flightscreen
