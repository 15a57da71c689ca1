#include "shell/settings.h"

#include <cmath>

#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::shell {

std::string IntegerText(long long v) {
  std::string text = v < 0 ? std::string() : std::string(1, ' ');
  text += std::to_string(v);
  return text;
}

std::string SettingsPath() { return ProgramPath("\\Temp\\set.ini"); }

bool AcceptStartModeLine(const std::string& line, int16_t* exitMode) {
  if (line == "true") {
    *exitMode = 0;
    return true;
  }
  const double v = Val(line);
  if (Len(line) > 3 || v > 3) return false;
  // A mode below 0 is kept as read; the start-up starts it as mode 0.
  *exitMode = CInt(v);
  return true;
}

namespace {

bool OptionValue(const std::string& line, bool fallback) {
  const std::string t = UCase(Trim(line));
  if (t == "TRUE") return true;
  if (t == "FALSE") return false;
  if (!t.empty() && (t[0] == '-' || (t[0] >= '0' && t[0] <= '9'))) return Val(t) != 0;
  return fallback;
}

}  // namespace

bool ParseSettingsLines(const std::vector<std::string>& lines, Settings& s) {
  s.Reset();
  int16_t mode = 0;
  if (!AcceptStartModeLine(lines.empty() ? std::string() : lines[0], &mode)) return false;
  s.ExitMode = mode;

  static const std::string kEmpty;
  auto line = [&](int n) -> const std::string& {  // 1-based; missing lines read as ""
    return static_cast<size_t>(n) <= lines.size() ? lines[static_cast<size_t>(n) - 1] : kEmpty;
  };
  auto i16 = [&](int n) { return CInt(Val(line(n))); };
  auto present = [&](int n) { return static_cast<size_t>(n) <= lines.size(); };
  // An edited or damaged file must not take a screen out of reach.
  auto step = [&](int n, int16_t last) {
    const int16_t v = i16(n);
    return v >= 0 && v <= last ? v : int16_t{0};
  };
  auto checkBox = [&](int n) { return step(n, 1); };
  auto offset = [&](int n) {
    const double v = Val(line(n));
    return std::fabs(v) <= kMaxReplayCameraOffset ? v : 0.0;  // NaN fails too
  };

  s.LastFlightAircraft = line(2);
  s.LastFlightDistanceText = line(3);
  s.AircraftFilePath = line(4);
  s.HangarDir = line(5);
  s.AircraftFileName = line(6);
  s.ShowObjects = checkBox(7);
  s.ShowVelocityVector = checkBox(8);
  s.ShowDataBox = checkBox(9);
  s.ShowInstrumentPanel = checkBox(10);
  s.ShowPylonOrHangMeter = checkBox(11);
  s.JoystickOn = checkBox(12);
  s.SoundOn = checkBox(13);
  s.NoticeSkip = checkBox(14);
  s.WireframeView = checkBox(15);
  for (int k = 1; k <= 7; ++k) s.ChartSeriesFlags[k] = checkBox(15 + k);
  s.WireframeBackground = checkBox(23);
  if (present(24)) s.SimSpeedNormal = OptionValue(line(24), true);
  if (present(25)) s.FrameRate20 = OptionValue(line(25), false);
  if (present(26)) s.ManualZoomSelected = OptionValue(line(26), false);
  if (present(27)) s.VortexLinesSelected = OptionValue(line(27), false);
  s.ReplayZoomIndex = step(28, kMaxReplayZoomIndex);
  s.GradientBitmapLength = i16(29);
  s.ProgramFolder = line(30);
  s.ReplayCameraX = offset(31);
  s.ReplayCameraY = offset(32);
  s.ReplayCameraHeightIndex = step(33, kMaxReplayCameraHeightIndex);
  s.ScreenSizeChoice = step(34, kMaxScreenSizeChoice);
  s.CachedScreenSizeChoice = i16(35);
  s.WindowCentreX = CLng(Val(line(36)));
  s.WindowCentreY = CLng(Val(line(37)));
  return true;
}

bool LoadSettings(const std::string& path, Settings& s, bool* readable) {
  bool ok = false;
  std::vector<std::string> lines = ReadTextLines(path, &ok, kMaxSettingsFileBytes, kSettingsLineCount);
  if (readable) *readable = ok;
  if (!ok) {
    s.Reset();
    return false;
  }
  return ParseSettingsLines(lines, s);
}

std::vector<std::string> SettingsLines(const Settings& s) {
  auto b = [](bool v) { return std::string(v ? "True" : "False"); };
  std::vector<std::string> l;
  l.reserve(kSettingsLineCount);
  l.push_back(IntegerText(s.ExitMode));
  l.push_back(s.LastFlightAircraft);
  l.push_back(s.LastFlightDistanceText);
  l.push_back(s.AircraftFilePath);
  l.push_back(s.HangarDir);
  l.push_back(s.AircraftFileName);
  for (int16_t v : {s.ShowObjects, s.ShowVelocityVector, s.ShowDataBox, s.ShowInstrumentPanel,
                    s.ShowPylonOrHangMeter, s.JoystickOn, s.SoundOn, s.NoticeSkip, s.WireframeView})
    l.push_back(IntegerText(v));
  for (int k = 1; k <= 7; ++k) l.push_back(IntegerText(s.ChartSeriesFlags[k]));
  l.push_back(IntegerText(s.WireframeBackground));
  l.push_back(b(s.SimSpeedNormal));
  l.push_back(b(s.FrameRate20));
  l.push_back(b(s.ManualZoomSelected));
  l.push_back(b(s.VortexLinesSelected));
  l.push_back(IntegerText(s.ReplayZoomIndex));
  l.push_back(IntegerText(s.GradientBitmapLength));
  l.push_back(s.ProgramFolder);
  l.push_back(Str(s.ReplayCameraX));
  l.push_back(Str(s.ReplayCameraY));
  l.push_back(IntegerText(s.ReplayCameraHeightIndex));
  l.push_back(IntegerText(s.ScreenSizeChoice));
  l.push_back(IntegerText(s.CachedScreenSizeChoice));
  l.push_back(IntegerText(s.WindowCentreX));
  l.push_back(IntegerText(s.WindowCentreY));
  return l;
}

bool SaveSettings(const std::string& path, const Settings& s, bool* tooLarge) {
  // A path cp932 cannot hold (a folder named "josé") comes back as it was
  // after the restart: the writer marks that line and writes it in UTF-8.
  // A line read from the file and not changed keeps its bytes.
  return RewriteTextLines(path, SettingsLines(s), kMaxSettingsFileBytes, tooLarge);
}

}  // namespace zarv::shell
