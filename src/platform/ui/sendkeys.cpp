#include "platform/ui/sendkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <cctype>

#include "platform/ui/app.h"
#include "platform/ui/events.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"

namespace zarv {

namespace {

struct NamedKey {
  const char* name;
  int vk;
  const char* text;
};

constexpr NamedKey kNamed[] = {
    {"ENTER", 13, "\r"}, {"ESC", 27, "\x1b"}, {"ESCAPE", 27, "\x1b"}, {"TAB", 9, "\t"},
    {"BS", 8, "\b"}, {"BKSP", 8, "\b"}, {"BACKSPACE", 8, "\b"}, {"DEL", 46, ""},
    {"DELETE", 46, ""}, {"INS", 45, ""}, {"INSERT", 45, ""}, {"HOME", 36, ""},
    {"END", 35, ""}, {"PGUP", 33, ""}, {"PGDN", 34, ""}, {"UP", 38, ""},
    {"DOWN", 40, ""}, {"LEFT", 37, ""}, {"RIGHT", 39, ""}, {"BREAK", 19, ""},
    {"CAPSLOCK", 20, ""}, {"NUMLOCK", 144, ""}, {"SCROLLLOCK", 145, ""}, {"HELP", 47, ""},
    {"PRTSC", 44, ""}, {"CLEAR", 12, ""}, {"ADD", 107, "+"}, {"SUBTRACT", 109, "-"},
    {"MULTIPLY", 106, "*"}, {"DIVIDE", 111, "/"},
};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The key of one typed character.
SentKey CharKey(const std::string& ch, int shift) {
  SentKey k;
  k.shift = shift;
  k.text = ch;
  if (ch.size() == 1) {
    const auto c = static_cast<unsigned char>(ch[0]);
    if (std::isupper(c)) k.shift |= vbShiftMask;
    const int qtKey = std::isalpha(c) ? std::toupper(c) : c;
    k.vk = VirtualKeyFromQt(qtKey, 0);
  }
  return k;
}

size_t CharLength(const std::string& s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(len, s.size() - i);
}

}  // namespace

bool ParseSendKeys(const std::string& keys, std::vector<SentKey>* out) {
  int pending = 0;    // modifiers for the next key or group
  int groupMods = 0;  // modifiers of the open group
  bool inGroup = false;
  size_t i = 0;
  auto addKey = [&](SentKey k, int count) {
    k.shift |= pending | groupMods;
    if (k.shift & (vbCtrlMask | vbAltMask)) k.text.clear();
    for (int n = 0; n < count; ++n) out->push_back(k);
    pending = 0;
  };
  while (i < keys.size()) {
    const char c = keys[i];
    if (c == '+' || c == '^' || c == '%') {
      pending |= c == '+' ? vbShiftMask : c == '^' ? vbCtrlMask : vbAltMask;
      ++i;
    } else if (c == '(') {
      if (inGroup) return false;
      inGroup = true;
      groupMods = pending;
      pending = 0;
      ++i;
    } else if (c == ')') {
      if (!inGroup) return false;
      inGroup = false;
      groupMods = 0;
      ++i;
    } else if (c == '~') {
      addKey(SentKey{13, 0, "\r"}, 1);
      ++i;
    } else if (c == '{') {
      // "{}}" and "{{}" are literal braces.
      size_t close = keys.find('}', i + 2);
      if (i + 1 < keys.size() && keys[i + 1] == '}') close = i + 2 < keys.size() && keys[i + 2] == '}' ? i + 2 : std::string::npos;
      if (close == std::string::npos) return false;
      std::string body = keys.substr(i + 1, close - i - 1);
      int count = 1;
      const size_t space = body.find(' ', 1);
      if (space != std::string::npos) {
        const std::string n = body.substr(space + 1);
        if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos) return false;
        count = std::stoi(n);
        body.resize(space);
      }
      const std::string name = Upper(body);
      SentKey key;
      bool found = false;
      if (name.size() >= 2 && name[0] == 'F' && name.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int f = std::stoi(name.substr(1));
        if (f >= 1 && f <= 24) {
          key.vk = vbKeyF1 + f - 1;
          found = true;
        }
      }
      for (const NamedKey& k : kNamed) {
        if (!found && name == k.name) {
          key.vk = k.vk;
          key.text = k.text;
          found = true;
        }
      }
      if (!found) {
        if (body.empty() || CharLength(body, 0) != body.size()) return false;
        key = CharKey(body, 0);  // "{+}", "{~}", "{a}", ...
      }
      addKey(key, count);
      i = close + 1;
    } else {
      const size_t len = CharLength(keys, i);
      addKey(CharKey(keys.substr(i, len), 0), 1);
      i += len;
    }
  }
  return !inGroup;
}

bool SendKeys(const std::string& keys, bool wait) {
  std::vector<SentKey> parsed;
  if (!ParseSendKeys(keys, &parsed)) return false;
  Form* form = Screen().ActiveForm();
  if (!form) return false;
  QWidget* window = form->impl().widget;
  for (const SentKey& k : parsed) {
    bool keypad = false;
    int qtKey = QtKeyFromVirtualKey(k.vk, &keypad);
    if (qtKey == 0 && !k.text.empty()) qtKey = Qt::Key_unknown;
    Qt::KeyboardModifiers mods;
    if (k.shift & vbShiftMask) mods |= Qt::ShiftModifier;
    if (k.shift & vbCtrlMask) mods |= Qt::ControlModifier;
    if (k.shift & vbAltMask) mods |= Qt::AltModifier;
    if (keypad) mods |= Qt::KeypadModifier;
    const QString text = QString::fromUtf8(k.text.data(), static_cast<qsizetype>(k.text.size()));
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QWidget* target = window->focusWidget() ? window->focusWidget() : window;
      if (wait) {
        QKeyEvent e(type, qtKey, mods, text);
        QCoreApplication::sendEvent(target, &e);
      } else {
        QCoreApplication::postEvent(target, new QKeyEvent(type, qtKey, mods, text));
      }
    }
  }
  return true;
}

}  // namespace zarv
