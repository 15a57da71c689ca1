// Shared values of the program shell that are not settings: request words
// between screens, display scales, per-screen slots and what the start-up
// found. One program-wide instance, reached through Shell().
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include "platform/runtime/program_state.h"

namespace zarv::shell {

// Window slots that index the per-screen arrays.
enum FormSlot : int {
  kSlotBegin = 1,
  kSlotNotice = 2,
  kSlotChoice = 3,
  kSlotFlightFrame = 4,
  kSlotWingCharactor = 6,
  kSlotPlaneCharactor = 7,
  kSlotFlightData = 8,
  kSlotWrite = 10,
  kSlotVedeo = 11,
  kSlotResultSheet = 12,
  kSlotFileSelect = 13,
  kSlotProcess = 14,
  kSlotDevice = 15,
};
inline constexpr int kFormSlotCount = 16;  // index 0..15

// Request words (ScreenMode).
inline constexpr int16_t kScreenModeNone = 0;
inline constexpr int16_t kScreenModeChangeAircraft = 3;
inline constexpr int16_t kScreenModeQuit = 19;
inline constexpr int16_t kScreenModeRegister = 20;

struct ShellState {
  std::string AppName = "Zarv";
  int16_t ScreenMode = 0;
  int16_t LogCaller = 0;  // 1 flight-data charts, 2 replay, 0 none
  std::array<int16_t, kFormSlotCount> FormActiveFlags{};
  std::array<int16_t, kFormSlotCount> FormSavedWidth{};   // twips
  std::array<int16_t, kFormSlotCount> FormSavedHeight{};  // twips

  double TwipsPerPixel = 15;
  // The size this run's screens are laid out at: the saved choice cut down
  // to what the desktop offers. Only the user's pick changes the saved one.
  int16_t ScreenSizeInUse = 0;
  double ScreenScale = 1.0;  // 1.0, 1.25 or 1.6 by ScreenSizeInUse
  double FontScale = 1.0;    // 0.8 with large system fonts

  bool DeveloperMode = false;
  std::string ProgramFileDate;        // "yyyy年mm月dd日" of the executable; empty in developer mode
  int16_t NoticeNextPressed = 0;      // 1 when Temp existed at this start
  int16_t NoticePassed = 0;
  std::string HangarFolderDefault;    // "\Data", "\PfData", ...
  std::string SelectedFileName;
  std::string TransitionSound;        // wave image of soundn.wav, byte for byte
  double TaskStartTime = 0;           // monotonic seconds (Timer()) of the current long task
  double GradientBitmapLengthNow = 0;
  int32_t ScratchValue = 0;

  void Reset() { *this = ShellState{}; }
};

inline ShellState& Shell() { return ProgramWide<ShellState>(); }

// The ranking file belongs to the flight records, a layer above the shell:
// the start-up reads it and the flight screen's unload writes it through
// these hooks, which the program's wiring fills.
struct RankingFileHooks {
  std::function<std::string()> Read;  // what the user must be told, or ""
  std::function<bool(bool* tooLarge)> Write;  // *tooLarge: refused as larger than the reader takes
};

inline RankingFileHooks& RankingFile() { return ProgramWide<RankingFileHooks>(); }

// Added to the message of a file not written because it would have grown
// past what its reader takes.
inline constexpr const char* kTooLargeToReadNote =
    "\r\n大きすぎて読み込めなくなるため書き込まず、元のファイルをそのまま残しました。";

}  // namespace zarv::shell
