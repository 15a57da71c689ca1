#include "aircraft/aircraft_file.h"

#include <cmath>

#include "aircraft/field_ranges.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::aircraft {

double FieldValue(std::string_view line) { return Val(line); }

double PairSecondValue(std::string_view line) {
  // Only the first 20 characters count; the text after the first "/" among
  // them (further "/" included) is the second number.
  const std::string head = Left(line, 20);
  const int slash = InStr(head, "/");
  if (slash == 0) return 0;
  return Val(Mid(head, slash + 1));
}

bool IsPairField(int field) { return field == 14 || field == 15 || field == 17 || field == 20 || field == 28; }

std::string TrimmedField(int field, std::string_view line) {
  std::string trimmed = Trim(line);
  if (IsPairField(field) && PairSecondValue(trimmed) != PairSecondValue(line)) return RTrim(line);
  return trimmed;
}

void ReadSettingFields(AircraftData& a) {
  auto v = [&a](int field) { return FieldValue(a.AircraftLines[static_cast<size_t>(field)]); };
  const double packed = v(39);
  double roll = Int(packed / 10) / 100;
  double pitch = packed - 1000 * roll;
  a.RollRatio = roll > 3 ? 3 : (roll < 0 ? 0 : roll);
  a.PitchRatio = pitch > 3 ? 3 : (pitch < 0 ? 0 : pitch);

  a.SurfaceRate = v(40) > 240 ? 240.0 : v(40);
  a.PitchResponse = v(41);
  a.PitchDamping = v(42);
  a.LaunchSpeed = v(45) < 1 ? 1.0 : v(45);
  a.WindSpeed = v(46) < 0 ? 0 : v(46);
  a.LaunchHeading = v(47) / kDegreesPerRadian;
  if (a.LaunchHeading == 0) a.LaunchHeading = kFullTurn;
  a.LaunchBank = v(48) / kDegreesPerRadian;
  if (std::fabs(a.LaunchBank) > 1.0) a.LaunchBank = 0;
  a.LaunchPitch = v(49) / kDegreesPerRadian;
  if (a.LaunchPitch > 12.5 / kDegreesPerRadian) a.LaunchPitch = 12.5 / kDegreesPerRadian;
  if (a.LaunchPitch < -15 / kDegreesPerRadian) a.LaunchPitch = -15 / kDegreesPerRadian;
  a.WindDirection = v(50) / kDegreesPerRadian;
  if (a.WindDirection == 0) a.WindDirection = kFullTurn;
  a.SurfacePressure = v(51) == 0 ? 1013 : v(51);
  a.SurfaceTemperature = v(52);
  a.TailHoldFlag = CInt(v(53));
}

void ParseAircraftLines(const std::vector<std::string>& lines, AircraftData& out) {
  AircraftData a;  // every value starts from what an empty file gives
  a.AircraftLines.fill(std::string());
  a.AircraftTag = lines.empty() ? std::string() : lines[0];

  std::array<double, kAircraftFieldCount> v{};
  std::array<double, kAircraftFieldCount> second{};
  for (int i = 0; i < kAircraftFieldCount; ++i) {
    const size_t lineIndex = static_cast<size_t>(i) + 1;
    if (lineIndex >= lines.size()) break;
    a.AircraftLines[i] = lines[lineIndex];
    v[i] = FieldValue(a.AircraftLines[i]);
    second[i] = PairSecondValue(a.AircraftLines[i]);
  }
  const auto& t = a.AircraftLines;

  a.AircraftName = t[0];
  a.PilotWeight = v[1];
  a.WingWeight = v[2];
  a.TailWeight = v[3];
  a.RearFuselageWeight = v[4];
  a.OverallLength = v[5];
  a.TailplaneArm = v[6];
  a.FinArm = v[7];
  a.RearFuselageStiffness = v[8] * kDegreesPerRadian;
  a.WingDeflection = v[9];
  a.ParasiteDragArea = v[10];
  a.WingSpan = v[11];
  a.WingArea = v[12];
  a.TipWashout = v[13] / kDegreesPerRadian;
  a.WingIncidence = v[14];
  a.FlapMax = second[14];
  a.InnerDihedral = v[15] / kDegreesPerRadian;
  a.InnerSweep = second[15] / kDegreesPerRadian;
  a.InnerTaper = v[16];
  a.OuterDihedral = v[17] / kDegreesPerRadian;
  a.OuterSweep = second[17] / kDegreesPerRadian;
  a.OuterTaper = v[18];
  a.TipLength = v[19];
  a.TipDihedral = v[20] / kDegreesPerRadian;
  a.TipSweep = second[20] / kDegreesPerRadian;
  a.TipTaper = v[21];
  a.TailplaneArea = v[22];
  a.TailplaneIncidence = v[23];
  a.FinArea = v[24];
  a.FinTilt = v[25] / kDegreesPerRadian;
  a.FinHalfSpacing = v[26] / 2;
  a.CgPosition = v[27] / 100;
  a.TailEndHeight = v[28];
  a.WingHeight = v[29];
  a.LaunchHeight = v[30];
  a.WingAirfoil = t[31];
  a.TailAirfoil = t[32];
  a.FinFixed = CInt(v[33]);
  a.TailplaneFixed = CInt(v[34]);
  a.EngineCount = CInt(v[35]);
  if (a.EngineCount > 0) {
    a.FuelCapacity = v[36];
  } else {
    a.FuelCapacity = 0;
    a.AircraftLines[36] = " 0";  // writers then write a zero fuel line
  }
  a.EngineFamily = t[37];
  a.EngineModel = t[38];

  a.Reserved43 = t[43];
  a.Reserved44 = t[44];
  ReadSettingFields(a);

  a.EyeHeight = a.OverallLength / 24;
  if (LaunchAtMost10(a.LaunchSpeed) && a.WingSpan > 5) a.EyeHeight = 0.3;
  a.GearPosition = LaunchAbove10(a.LaunchSpeed) ? second[28] : 0;

  out = std::move(a);
}

bool LoadAircraftData(const std::string& path, AircraftData& out, std::string* error) {
  bool ok = false;
  std::vector<std::string> lines;
  if (FileExists(path)) lines = ReadTextLines(path, &ok, kMaxAircraftFileBytes, kAircraftLineCount);
  if (!ok || lines.empty()) {
    out.Reset();
    if (error) *error = ok ? "ファイルが空です。" : "ファイルを読み込めません。";
    return false;
  }
  return ReadAircraftLines(lines, out, error);
}

bool ReadAircraftLines(const std::vector<std::string>& lines, AircraftData& out, std::string* error) {
  std::string refusal = CheckAircraftFileFormat(lines);
  if (refusal.empty()) {
    ParseAircraftLines(lines, out);
    refusal = CheckFieldRanges(out.AircraftLines);
  }
  if (!refusal.empty()) {
    out.Reset();
    if (error) *error = refusal;
    return false;
  }
  return true;
}

std::vector<std::string> AircraftFileLines(const AircraftData& a) {
  std::vector<std::string> lines;
  lines.reserve(kAircraftLineCount);
  lines.push_back(a.AircraftTag);
  for (int i = 0; i < kAircraftFieldCount; ++i) lines.push_back(TrimmedField(i, a.AircraftLines[static_cast<size_t>(i)]));
  return lines;
}

bool SaveAircraftData(const std::string& path, const AircraftData& a, bool* tooLarge) {
  return WriteTextLines(path, AircraftFileLines(a), kMaxAircraftFileBytes, tooLarge);
}

bool SaveAircraftDataAsHeld(const std::string& path, const AircraftData& a, bool* tooLarge) {
  std::vector<std::string> lines;
  lines.reserve(kAircraftLineCount);
  lines.push_back(a.AircraftTag);
  lines.insert(lines.end(), a.AircraftLines.begin(), a.AircraftLines.end());
  return RewriteTextLines(path, lines, kMaxAircraftFileBytes, tooLarge);
}

std::string HandOverPath() { return ProgramPath("\\Temp\\file.dat"); }

bool SaveHandOverFile(const AircraftData& a, const std::string& aircraftPath, bool* tooLarge) {
  return WriteTextLines(HandOverPath(), AircraftFileLines(a),
                        ReadTextFileLines(aircraftPath, nullptr, kMaxAircraftFileBytes, kAircraftLineCount),
                        kMaxAircraftFileBytes, tooLarge);
}

namespace {
// Leading blank for non-negative values, as the back-to-platform form writes.
// (Built by appending: "literal" + string trips a false -Wrestrict in GCC 12.)
std::string Blank(const std::string& text) { return std::string(1, ' ').append(text); }
std::string SignedForm(double v, std::string_view picture) {
  return v < 0 ? Format(v, picture) : Blank(Format(v, picture));
}
}  // namespace

void StoreEditorFields(AircraftData& a) {
  auto& l = a.AircraftLines;
  l[39] = Format(ControlRatioPacked(a), "0.00");
  l[40] = Format(a.SurfaceRate, "#0");
  l[41] = Format(a.PitchResponse, "#0.0");
  l[42] = Format(a.PitchDamping, "#0.0");
  l[43] = "20";
  l[44] = "1.6";
  l[45] = Format(a.LaunchSpeed, "##0.00");
  l[46] = Format(a.WindSpeed, "#0.0");
  l[47] = Format(a.LaunchHeading * kDegreesPerRadian, "##0");
  l[48] = Format(a.LaunchBank * kDegreesPerRadian, "##0");
  l[49] = Format(a.LaunchPitch * kDegreesPerRadian, "#0,0");
  l[50] = Format(a.WindDirection * kDegreesPerRadian, "##0");
  l[51] = Format(a.SurfacePressure, "###0");
  l[52] = Format(a.SurfaceTemperature, "#0.0");
  l[53] = Format(a.TailHoldFlag, "0");
}

void StoreLaunchFields(AircraftData& a) {
  auto& l = a.AircraftLines;
  l[39] = Blank(Format(ControlRatioPacked(a), "0.00"));
  l[40] = Blank(Format(a.SurfaceRate, "0.00"));
  l[41] = Blank(Format(a.PitchResponse, "#0.0"));
  l[42] = Blank(Format(a.PitchDamping, "#0.0"));
  l[45] = Blank(Format(a.LaunchSpeed, "##0.00"));
  l[46] = Blank(Format(a.WindSpeed, "#0.0"));
  l[47] = Blank(Format(a.LaunchHeading * kDegreesPerRadian, "##0"));
  l[48] = SignedForm(a.LaunchBank * kDegreesPerRadian, "##0");
  l[49] = SignedForm(a.LaunchPitch * kDegreesPerRadian, "##0");
  l[50] = Blank(Format(a.WindDirection * kDegreesPerRadian, "##0"));
  l[51] = Blank(Format(a.SurfacePressure, "###0"));
  l[52] = SignedForm(a.SurfaceTemperature, "##0");
  l[53] = Blank(Format(a.TailHoldFlag, "##0"));
}

}  // namespace zarv::aircraft
