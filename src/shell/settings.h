// The settings file Temp/set.ini: 37 lines carried across the program's
// restarts, line 1 the start mode of the next run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "platform/runtime/program_state.h"

namespace zarv::shell {

inline constexpr int kSettingsLineCount = 37;
// A settings file is a few hundred bytes: anything far larger is not one.
inline constexpr int64_t kMaxSettingsFileBytes = 64 * 1024;
// What the screens offer; a value read outside falls back to its default.
inline constexpr int16_t kMaxScreenSizeChoice = 2;
inline constexpr int16_t kMaxReplayZoomIndex = 10;
inline constexpr int16_t kMaxReplayCameraHeightIndex = 13;
inline constexpr double kMaxReplayCameraOffset = 1e6;  // m from the platform

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
  int16_t ScreenSizeChoice = 0;         // 34 0: 640x480, 1: 800x600, 2: 1024x768; the user's pick
  int16_t CachedScreenSizeChoice = 0;   // 35 the size the last start drew its screens at
  int32_t WindowCentreX = 0;            // 36 twips; the start-up sets half the screen
  int32_t WindowCentreY = 0;            // 37

  void Reset() { *this = Settings{}; }
};

// The program-wide settings and whether the last read accepted the file.
inline Settings& CurrentSettings() { return ProgramWide<Settings>(); }
struct SettingsValidity {
  bool Valid = false;
};
inline bool& SettingsValid() { return ProgramWide<SettingsValidity>().Valid; }

// Line 1 test: at most 3 characters and a value up to 3 (rounded; negative
// values stay as read), or exactly "true".
bool AcceptStartModeLine(const std::string& line, int16_t* exitMode);

// Reads the lines into s. An accepted file fills every line it holds (lines
// it lacks read as 0, empty text or the option defaults; a check box other
// than 0 or 1, a screen size, zoom or camera height step the screens do not
// offer, and a camera place farther than kMaxReplayCameraOffset read as their
// defaults). A rejected line 1 leaves s at its defaults. Returns whether the
// file was accepted.
bool ParseSettingsLines(const std::vector<std::string>& lines, Settings& s);
// As ParseSettingsLines on the file's lines. *readable is false when the file
// could not be read at all (missing, no regular file, larger than
// kMaxSettingsFileBytes, no right to read it).
bool LoadSettings(const std::string& path, Settings& s, bool* readable = nullptr);

std::vector<std::string> SettingsLines(const Settings& s);
// Atomic rewrite; false when it could not be written, or (with *tooLarge
// set) when the file would be larger than the reader takes: the old file is
// then kept.
[[nodiscard]] bool SaveSettings(const std::string& path, const Settings& s, bool* tooLarge = nullptr);

// ProgramPath("\Temp\set.ini").
std::string SettingsPath();

// Integer as the settings and aircraft files write it: " 0", " 7680", "-1".
std::string IntegerText(long long v);

}  // namespace zarv::shell
