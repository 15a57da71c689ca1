// SendKeys: keys typed into the program itself, as the runtime's SendKeys
// statement writes them: plain characters, "{F1}", "{ENTER}" or "~",
// "{ESC}", "{TAB}", "{UP}", "{PGDN}", "{F1 3}" (three times), "{+}" for a
// literal plus, and "+" shift, "^" ctrl, "%" alt before a key or a
// "( ... )" group.
#pragma once

#include <string>
#include <vector>

namespace zarv {

struct SentKey {
  int vk = 0;         // virtual-key code
  int shift = 0;      // vbShiftMask | vbCtrlMask | vbAltMask
  std::string text;   // the character typed ("" for keys without one)
};

// Parses a key string; false (with what was parsed so far) on a syntax error.
bool ParseSendKeys(const std::string& keys, std::vector<SentKey>* out);

// Sends the keys to the focused control of the active form, as if typed.
// Without wait they are queued and act at the next yield; with wait they
// act before SendKeys returns. False on a syntax error or without an
// active form.
bool SendKeys(const std::string& keys, bool wait = false);

}  // namespace zarv
