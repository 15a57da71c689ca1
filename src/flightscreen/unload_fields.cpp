#include "flightscreen/unload_fields.h"

#include <algorithm>

#include "aircraft/aircraft_file.h"
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

bool AircraftDataChanged(const std::vector<std::string>& fileFields, const std::vector<std::string>& handOverFields,
                         const aircraft::AircraftData& a) {
  const int common = static_cast<int>(std::min(fileFields.size(), handOverFields.size()));
  for (int i = 0; i <= 38 && i < common; ++i)
    if (Trim(fileFields[static_cast<size_t>(i)]) != Trim(handOverFields[static_cast<size_t>(i)])) return true;
  // The control settings at the precision the file keeps them, so a file
  // line "1" equals 1.0.
  const Shown controls[] = {{39, aircraft::ControlRatioPacked(a), "0.00"},
                            {40, Int(a.SurfaceRate + 0.5), "0"},
                            {41, a.PitchResponse, "##0.0"},
                            {42, a.PitchDamping, "##0.0"}};
  for (const Shown& c : controls) {
    if (c.field >= static_cast<int>(fileFields.size())) break;
    if (Format(c.value, c.picture) != Format(Val(fileFields[static_cast<size_t>(c.field)]), c.picture)) return true;
  }
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
  auto value = [&](int field, double fallback) { return field < n ? Val(fileFields[static_cast<size_t>(field)]) : fallback; };
  aircraft::AircraftData fromFile = a;
  fromFile.LaunchSpeed = value(45, a.LaunchSpeed);
  fromFile.WindSpeed = value(46, a.WindSpeed);
  fromFile.LaunchHeading = value(47, a.LaunchHeading * kDegreesPerRadian) / kDegreesPerRadian;
  fromFile.LaunchBank = value(48, a.LaunchBank * kDegreesPerRadian) / kDegreesPerRadian;
  fromFile.LaunchPitch = value(49, a.LaunchPitch * kDegreesPerRadian) / kDegreesPerRadian;
  fromFile.WindDirection = value(50, a.WindDirection * kDegreesPerRadian) / kDegreesPerRadian;
  fromFile.SurfacePressure = value(51, a.SurfacePressure);
  fromFile.SurfaceTemperature = value(52, a.SurfaceTemperature);
  fromFile.TailHoldFlag = static_cast<int16_t>(value(53, a.TailHoldFlag));
  fromFile = SyncedThroughBars(fromFile, s);
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
  std::vector<std::string> out(aircraft::kAircraftFieldCount);
  for (int i = 0; i < aircraft::kAircraftFieldCount; ++i) {
    out[static_cast<size_t>(i)] =
        i < static_cast<int>(fileFields.size()) ? fileFields[static_cast<size_t>(i)] : a.AircraftLines[static_cast<size_t>(i)];
  }
  if (saveData) {
    for (int i = 0; i <= 38; ++i)
      if (i < static_cast<int>(handOverFields.size())) out[static_cast<size_t>(i)] = handOverFields[static_cast<size_t>(i)];
    out[39] = Format(aircraft::ControlRatioPacked(a), "0.00") + " ";
    out[40] = Format(a.SurfaceRate, "#0") + " ";
    out[41] = Format(a.PitchResponse, "#0.0") + " ";
    out[42] = Format(a.PitchDamping, "#0.0") + " ";
  }
  if (saveLaunch) {
    aircraft::AircraftData copy = a;
    aircraft::StoreLaunchFields(copy);
    for (int i = 45; i <= 53; ++i) out[static_cast<size_t>(i)] = copy.AircraftLines[static_cast<size_t>(i)];
  }
  for (std::string& line : out) line = Trim(line);
  return out;
}

}  // namespace zarv::flightscreen
