// Program-wide state: the few named structs the program keeps for its whole
// run (the flight state, the settings, the screens' links, ...). Each one
// registers, the first time it is used, how it goes back to its load-time
// values, so that one call returns the whole program to a fresh start: every
// test begins and ends with it.
#pragma once

#include <functional>

namespace zarv {

// Screens go first: their unload handlers still read and write the state.
enum class ResetStage { Screens, State };

// Registers how one program-wide structure goes back to its load-time values.
// Returns true, so that it can initialise a static.
bool OnProgramReset(ResetStage stage, std::function<void()> reset);

// Unloads every screen, then puts every registered structure, and the
// runtime's own (clock source, program folder, open files), back to its
// load-time values.
void ResetProgramState();

// The one program-wide T, made on first use; ResetProgramState() calls its
// Reset() or, without one, assigns a fresh T. One instance per type: a
// second structure of the same type needs a type of its own.
template <class T>
T& ProgramWide() {
  static T instance;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] {
    if constexpr (requires { instance.Reset(); }) {
      instance.Reset();
    } else {
      instance = T{};
    }
  });
  return instance;
}

}  // namespace zarv
