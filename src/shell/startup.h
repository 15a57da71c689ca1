// Start-up work that needs no screen: folders, settings, the transition
// sound, the ranking list, the first-run samples and hangar sorting, the
// notes and help contents files, the sky bands and the bitmap cache tests.
// The drawing of the cached art belongs to the flight view; it is called
// through StartupHooks, which that code fills in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

struct StartupHooks {
  // Instrument-panel face and mask of the current size (Temp/PanelN.bmp, MaskN.bmp; graph*.bmp in developer mode).
  std::function<void()> DrawPanelArt;
  // Grey gradient of 20 x ScreenScale lines saved as Temp/zarv.bmp.
  std::function<void()> DrawGradient;
  // Sky backgrounds of the current size (Temp/BackN.bmp, CBackN.bmp).
  std::function<void()> DrawSkyBackgrounds;
  // Plays a wave image from memory and returns when it has ended.
  std::function<void(const std::string& waveImage)> PlaySoundFromMemory;
  // Files a flight log that an earlier run left in Temp/before.csv as a log
  // of the aircraft file named; returns what the user must be told, or "".
  std::function<std::string(const std::string& aircraftFileName)> FileLeftoverLog;
  // What the hangar tells the user on choosing the aircraft file named when
  // its flight logs cannot be named, or "".
  std::function<std::string(const std::string& aircraftFileName)> LogNamesNotice;
};
StartupHooks& Hooks();

// Shown when the program lies in the root folder; the program then ends.
extern const char* const kRootFolderMessage;
// Shown when start mode 3 finds no hand-over file; the start goes on as a normal start.
extern const char* const kMissingHandOverMessage;

// The root folder, "/" (or no path at all).
bool IsRootFolder(const std::string& folder);
// Shown when the program folder's path holds a line break; the program then ends.
std::string LineBreakFolderMessage(const std::string& folder);
// A program folder ending in "Testlab" is a developer's working copy.
bool IsDeveloperFolder(const std::string& folder);

// The 28 lines of Zarv.cnt and the 70 lines of Readme.txt (heading ends with buildDate).
const std::vector<std::string>& HelpContentsLines();
std::vector<std::string> ReadmeLines(const std::string& buildDate);

// Date of the executable as "yyyy年mm月dd日" (the build date when there is none).
std::string ProgramBuildDate();

// Writes the samples, then moves up to 51 aircraft files of folder into the
// hangar folder their tag names (a file whose target exists stays put).
// Returns the hangar folder to open by default ("\Data", "\JcData", ...).
std::string SortAircraftIntoHangars(const std::string& folder);

// Screen scale of a screen-size choice (other values: 1.0).
double ScreenScaleFor(int screenSizeChoice);

// The largest screen-size choice (0, 1, 2: 640 x 480, 800 x 600, 1024 x 768)
// that a desktop of this many pixels holds whole; 640 x 480 on any smaller.
int16_t LargestScreenSize(int screenPixelWidth, int screenPixelHeight);

// Cache tests of the start sequence for the art of size sizeInUse (0, 1, 2).
// tempFolder is the folder of the bitmaps.
bool NeedSkyBackgrounds(const Settings& s, int16_t sizeInUse, double lengthNow, bool developerMode,
                        const std::string& tempFolder);
bool NeedPanelArt(const Settings& s, int16_t sizeInUse, double lengthNow, const std::string& tempFolder);
// Low 16 bits of a byte length, read as signed (as the settings keep it).
int16_t Low16(long long length);

// Moves a settings file that exists but cannot be read aside, beside itself,
// so that the settings written later do not replace it. Returns the notice
// for the user.
std::string SetAsideUnreadableSettings(const std::string& path);

// Text of the waiting screen of start mode 3 for the screens' size
// sizeInUse: a size change where it differs from the size the run before
// was drawn at (which PrepareScreenArt records).
std::string WaitingScreenText(const Settings& s, int16_t sizeInUse);

// What the environment set-up found; the screens act on it.
struct StartupOutcome {
  bool refused = false;          // root folder or a line break in its path: show refusal and end
  std::string refusal;
  bool firstRun = false;         // Temp was missing
  bool handOverMissing = false;  // mode 3 without Temp/file.dat: show kMissingHandOverMessage
  bool sortedHangars = false;
  bool wroteReadme = false;
  bool wroteHelpContents = false;
  std::vector<std::string> notices;  // to show the user, in this order
};

// The set-up of the start screen's load, in its order, for the program
// folder ProgramFolder(): the temporary files a killed run left, folders,
// help contents, settings (defaults with the window centred on a screen of
// the given size in twips; an unreadable file set aside; a start mode that
// names no screen becomes 0), a flight log left unfiled, transition sound,
// ranking list, on a normal start the splash (showSplash, given what was
// found so far), the samples, hangar sorting and notes, and last the
// gradient bitmap's length and the screen size in use: the saved choice cut
// down to what a desktop of that width offers (the choice itself stays as
// saved), and its scale.
StartupOutcome PrepareEnvironment(int screenWidthTwips, int screenHeightTwips,
                                  const std::function<void(const StartupOutcome&)>& showSplash = {});

// The art part of the start sequence: sky bands, sky backgrounds and panel
// art when their caches need it, then the stored gradient length and the
// size the art is drawn at (settings line 35).
void PrepareScreenArt();

}  // namespace zarv::shell
