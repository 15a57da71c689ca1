// How the shell's screens reach the flight screen, which lives in a later
// layer: the program's wiring fills the link at start-up.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace zarv::shell {

struct FlightScreenLink {
  // Loads and shows the flight screen for the aircraft now in Aircraft();
  // its load takes down the start, notice and hangar screens.
  std::function<void()> Show;
  // Unloads it: settings and ranking saved, then restart or end by ExitMode.
  std::function<void()> Unload;
  std::function<bool()> Loaded;
  std::function<void(const std::string&)> SetCaption;
  // Window position in twips.
  std::function<std::pair<double, double>()> Position;
  std::function<void(double left, double top)> MoveTo;
  // Where the progress dialog goes (twips); the window centre when unset.
  std::function<std::pair<double, double>()> ProgressAnchor;
  // The progress dialog's cancel: zeroes the counts that bound the long tasks.
  std::function<void()> CancelLongTasks;
};

FlightScreenLink& FlightScreen();

}  // namespace zarv::shell
