#include "flight/key_script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

bool ParseNumber(const std::string& text, double& v) {
  if (text.empty()) return false;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(v) && v >= 0;
}

}  // namespace

std::optional<ScriptedKey> KeyByName(const std::string& name) {
  ScriptedKey k;
  struct Named {
    const char* name;
    int code, ascii;
  };
  static const Named kNamed[] = {
      {"Return", 13, 13}, {"Enter", 13, 13},   {"Space", 32, 32},    {"Escape", 27, 27}, {"Esc", 27, 27},
      {"Up", 38, 0},      {"Down", 40, 0},     {"Left", 37, 0},      {"Right", 39, 0},   {"Comma", 188, ','},
      {"Period", 190, '.'}, {"Minus", 189, '-'}, {"Plus", 187, '+'}, {"Semicolon", 186, ';'}, {"Pad5", 101, '5'},
  };
  for (const Named& n : kNamed) {
    if (name == n.name) {
      k.KeyCode = n.code;
      k.KeyAscii = n.ascii;
      return k;
    }
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    const int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 12 && std::to_string(n) == name.substr(1)) {
      k.KeyCode = 111 + n;
      return k;
    }
  }
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'A' && c <= 'Z') {
      k.KeyCode = c;
      k.KeyAscii = c - 'A' + 'a';
      return k;
    }
    if (c >= 'a' && c <= 'z') {
      k.KeyCode = c - 'a' + 'A';
      k.KeyAscii = c;
      return k;
    }
    if (c >= '0' && c <= '9') {
      k.KeyCode = c;
      k.KeyAscii = c;
      return k;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<ScriptedKey>> ParseKeyScript(const std::string& script, std::string* error) {
  std::vector<ScriptedKey> keys;
  size_t pos = 0;
  while (pos <= script.size()) {
    size_t end = script.find(',', pos);
    if (end == std::string::npos) end = script.size();
    const std::string item = script.substr(pos, end - pos);
    pos = end + 1;
    const size_t colon = item.find(':');
    auto fail = [&](const std::string& why) -> std::optional<std::vector<ScriptedKey>> {
      if (error) *error = why + ": \"" + item + "\"";
      return std::nullopt;
    };
    if (colon == std::string::npos) return fail("no ':'");
    std::string when = item.substr(0, colon);
    double at = 0, hold = 0;
    const size_t plus = when.find('+');
    if (plus != std::string::npos) {
      if (!ParseNumber(when.substr(plus + 1), hold)) return fail("bad hold time");
      when = when.substr(0, plus);
    }
    if (!ParseNumber(when, at)) return fail("bad time");
    std::optional<ScriptedKey> key = KeyByName(item.substr(colon + 1));
    if (!key) return fail("unknown key");
    key->At = at;
    key->Hold = hold;
    keys.push_back(*key);
    if (end == script.size()) break;
  }
  return keys;
}

std::vector<ScriptedKey> KeysDue(const std::vector<ScriptedKey>& script, double from, double to) {
  // One drawn frame delivers all presses due within it: by time, whatever
  // order they are written in. Times are compared to the microsecond, so
  // that a held key's summed repeat times meet the times written beside
  // them; equal times keep the written order.
  struct Press {
    int64_t Micros;
    const ScriptedKey* Key;
  };
  std::vector<Press> presses;
  constexpr double kEps = 1e-9;
  for (const ScriptedKey& k : script) {
    for (double t = k.At; t <= k.At + k.Hold + kEps; t += kKeyRepeatInterval) {
      if (t > from + kEps && t <= to + kEps) presses.push_back({CheckedRound<int64_t>(t * 1e6), &k});
      if (k.Hold <= 0) break;
    }
  }
  std::stable_sort(presses.begin(), presses.end(), [](const Press& a, const Press& b) { return a.Micros < b.Micros; });
  std::vector<ScriptedKey> due;
  due.reserve(presses.size());
  for (const Press& p : presses) due.push_back(*p.Key);
  return due;
}

}  // namespace zarv::flight
