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

// The aircraft a flight started from the file's own lines would fly with:
// the reader's corrections (an engineless aircraft's fuel line, the control
// ratios within their range, the launch conditions' limits), the surface
// limits and the default surface rate of the load. Fields past the file's
// end keep the values of `a`.
aircraft::AircraftData LoadedFromFile(const std::vector<std::string>& fileFields, const aircraft::AircraftData& a) {
  std::vector<std::string> lines{a.AircraftTag};
  lines.insert(lines.end(), fileFields.begin(), fileFields.end());
  aircraft::AircraftData read;
  aircraft::ParseAircraftLines(lines, read);
  const int n = static_cast<int>(fileFields.size());
  aircraft::AircraftData out = a;
  out.AircraftLines = read.AircraftLines;
  if (n > 39) {
    out.RollRatio = read.RollRatio;
    out.PitchRatio = read.PitchRatio;
  }
  if (n > 40) out.SurfaceRate = flight::SurfaceRateAtLoad(read);
  if (n > 41) out.PitchResponse = read.PitchResponse;
  if (n > 42) out.PitchDamping = read.PitchDamping;
  if (n > 45) out.LaunchSpeed = read.LaunchSpeed;
  if (n > 46) out.WindSpeed = read.WindSpeed;
  if (n > 47) out.LaunchHeading = read.LaunchHeading;
  if (n > 48) out.LaunchBank = read.LaunchBank;
  if (n > 49) out.LaunchPitch = read.LaunchPitch;
  if (n > 50) out.WindDirection = read.WindDirection;
  if (n > 51) out.SurfacePressure = read.SurfacePressure;
  if (n > 52) out.SurfaceTemperature = read.SurfaceTemperature;
  if (n > 53) out.TailHoldFlag = read.TailHoldFlag;
  flight::ClampSurfaceConditions(out);
  return out;
}

// Fields 39..42 at the precision the file keeps them, so a file line "1"
// equals 1.0.
std::vector<Shown> ShownControls(const aircraft::AircraftData& a) {
  return {{39, aircraft::ControlRatioPacked(a), "0.00"},
          {40, Int(a.SurfaceRate + 0.5), "0"},
          {41, a.PitchResponse, "##0.0"},
          {42, a.PitchDamping, "##0.0"}};
}

// The control fields whose live value differs from the file's.
std::vector<bool> ControlsChanged(const std::vector<std::string>& fileFields, const aircraft::AircraftData& a) {
  const std::vector<Shown> now = ShownControls(a), file = ShownControls(LoadedFromFile(fileFields, a));
  std::vector<bool> changed(now.size(), false);
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i].field >= static_cast<int>(fileFields.size())) break;
    changed[i] = Format(now[i].value, now[i].picture) != Format(file[i].value, file[i].picture);
  }
  return changed;
}

}  // namespace

bool AircraftDataChanged(const std::vector<std::string>& fileFields, const std::vector<std::string>& handOverFields,
                         const aircraft::AircraftData& a) {
  const int common = static_cast<int>(std::min(fileFields.size(), handOverFields.size()));
  const aircraft::AircraftData file = LoadedFromFile(fileFields, a);
  for (int i = 0; i <= 38 && i < common; ++i)
    if (Trim(file.AircraftLines[static_cast<size_t>(i)]) != Trim(handOverFields[static_cast<size_t>(i)])) return true;
  for (const bool changed : ControlsChanged(fileFields, a))
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
  std::vector<std::string> out(aircraft::kAircraftFieldCount);
  for (int i = 0; i < aircraft::kAircraftFieldCount; ++i) {
    out[static_cast<size_t>(i)] =
        i < static_cast<int>(fileFields.size()) ? fileFields[static_cast<size_t>(i)] : a.AircraftLines[static_cast<size_t>(i)];
  }
  if (saveData) {
    for (int i = 0; i <= 38; ++i)
      if (i < static_cast<int>(handOverFields.size())) out[static_cast<size_t>(i)] = handOverFields[static_cast<size_t>(i)];
    // A control setting the user left as it was keeps the file's own line
    // (a surface rate of 0 stays the default that follows the tailplane).
    const std::string saved[] = {Format(aircraft::ControlRatioPacked(a), "0.00"), Format(a.SurfaceRate, "#0"),
                                 Format(a.PitchResponse, "#0.0"), Format(a.PitchDamping, "#0.0")};
    const std::vector<bool> changed = ControlsChanged(fileFields, a);
    for (int i = 0; i < 4; ++i)
      if (changed[static_cast<size_t>(i)] || 39 + i >= static_cast<int>(fileFields.size())) out[static_cast<size_t>(39 + i)] = saved[i];
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
