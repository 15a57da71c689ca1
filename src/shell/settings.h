// The settings file Temp/set.ini: 37 lines carried across the program's
// restarts, line 1 the start mode of the next run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zarv::shell {

inline constexpr int kSettingsLineCount = 37;

struct Settings {
  int16_t ExitMode = 0;                 // 1: 0 normal, 1 notice, 2 hangar, 3 flight
  std::string LastFlightAircraft;       // 2
  std::string LastFlightDistanceText;   // 3 "###.00" & "m"
  std::string AircraftFilePath;         // 4
  std::string HangarDir;                // 5
  std::string AircraftFileName;         // 6
  int16_t ShowObjects = 0;              // 7
  int16_t ShowVelocityVector = 0;       // 8
  int16_t ShowDataBox = 0;              // 9
  int16_t ShowInstrumentPanel = 0;      // 10
  int16_t ShowPylonOrHangMeter = 0;     // 11
  int16_t JoystickOn = 0;               // 12
  int16_t SoundOn = 0;                  // 13
  int16_t NoticeSkip = 0;               // 14
  int16_t WireframeView = 0;            // 15
  std::array<int16_t, 8> ChartSeriesFlags{};  // 16..22, index 1..7 (0 unused)
  int16_t WireframeBackground = 0;      // 23
  bool SimSpeedNormal = true;           // 24 "True"/"False"
  bool FrameRate20 = false;             // 25
  bool ManualZoomSelected = false;      // 26
  bool VortexLinesSelected = false;     // 27
  int16_t ReplayZoomIndex = 0;          // 28
  int16_t GradientBitmapLength = 0;     // 29
  std::string ProgramFolder;            // 30
  double ReplayCameraX = 0;             // 31
  double ReplayCameraY = 0;             // 32
  int16_t ReplayCameraHeightIndex = 0;  // 33
  int16_t ScreenSizeChoice = 0;         // 34 0: 640x480, 1: 800x600, 2: 1024x768
  int16_t CachedScreenSizeChoice = 0;   // 35
  int32_t WindowCentreX = 0;            // 36 twips; the start-up sets half the screen
  int32_t WindowCentreY = 0;            // 37

  void Reset() { *this = Settings{}; }
};

// The program-wide settings and whether the last read accepted the file.
inline Settings& CurrentSettings() {
  static Settings instance;
  return instance;
}
inline bool& SettingsValid() {
  static bool valid = false;
  return valid;
}

// Line 1 test: at most 3 characters and a value up to 3 (rounded; negative
// values stay as read), or exactly "true".
bool AcceptStartModeLine(const std::string& line, int16_t* exitMode);

// Reads the lines into s. An accepted file fills every line it holds (lines
// it lacks read as 0, empty text or the option defaults). A rejected line 1
// leaves s at its defaults. Returns whether the file was accepted.
bool ParseSettingsLines(const std::vector<std::string>& lines, Settings& s);
bool LoadSettings(const std::string& path, Settings& s);

std::vector<std::string> SettingsLines(const Settings& s);
// Atomic rewrite; false when it could not be written.
bool SaveSettings(const std::string& path, const Settings& s);

// ProgramPath("\Temp\set.ini").
std::string SettingsPath();

// Integer as the settings and aircraft files write it: " 0", " 7680", "-1".
std::string IntegerText(long long v);

}  // namespace zarv::shell
