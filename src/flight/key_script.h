// Timed key scripts for flights without a screen: "T:KEY" presses KEY at T
// seconds after the start, "T+D:KEY" holds it for D seconds (repeating as a
// held key does), comma-separated. Keys by name: Return, Space, Escape, Up,
// Down, Left, Right, Comma, Period, Minus, Plus, Semicolon, Pad5, F1..F12,
// letters and digits.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zarv::flight {

struct ScriptedKey {
  double At = 0;      // s after the start
  double Hold = 0;    // s held (0: one press)
  int KeyCode = 0;    // virtual-key code for the key-down handler (0: none)
  int KeyAscii = 0;   // character for the key-press handler (0: none)
};

inline constexpr double kKeyRepeatInterval = 0.05;  // s between repeats of a held key

// The virtual-key code and typed character of a key name; nullopt when unknown.
std::optional<ScriptedKey> KeyByName(const std::string& name);

// Parses a script; nullopt (and the fault in *error) when it is malformed.
std::optional<std::vector<ScriptedKey>> ParseKeyScript(const std::string& script, std::string* error = nullptr);

// The presses due in (from, to], in time order (equal times as written):
// each key at its time and, while held, every repeat interval after it.
std::vector<ScriptedKey> KeysDue(const std::vector<ScriptedKey>& script, double from, double to);

}  // namespace zarv::flight
