#include "platform/ui/keys.h"

#include <Qt>

#include <cstdint>

#include "platform/runtime/cp932.h"

namespace zarv {

static_assert(kQtShift == Qt::ShiftModifier);
static_assert(kQtControl == Qt::ControlModifier);
static_assert(kQtAlt == Qt::AltModifier);
static_assert(kQtKeypad == Qt::KeypadModifier);

namespace {

struct KeyPair {
  int qt;
  int vk;
};

// Keys whose code does not follow from a range rule. Shifted symbols map to
// the key that carries them on a US keyboard, as the virtual-key code names
// the key, not the character.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},       {Qt::Key_Return, 13},     {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},   {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},         {Qt::Key_Home, 36},       {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},          {Qt::Key_Right, 39},      {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},        {Qt::Key_Meta, 91},       {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},  {Qt::Key_Colon, 186},     {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},       {Qt::Key_Comma, 188},     {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},      {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},    {Qt::Key_Slash, 191},     {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},  {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},  {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digit row.
    {Qt::Key_Exclam, 49},      {Qt::Key_At, 50},         {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},      {Qt::Key_Percent, 53},    {Qt::Key_AsciiCircum, 54},
    {Qt::Key_Ampersand, 55},   {Qt::Key_Asterisk, 56},   {Qt::Key_ParenLeft, 57},
    {Qt::Key_ParenRight, 48},
};

// Keys of the numeric pad (with the keypad modifier).
constexpr KeyPair kPadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
    {Qt::Key_Enter, 13},     {Qt::Key_Return, 13},
};

}  // namespace

int VirtualKeyFromQt(int qtKey, unsigned modifiers) {
  const bool pad = (modifiers & kQtKeypad) != 0;
  if (pad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
    for (const auto& k : kPadKeys) {
      if (k.qt == qtKey) return k.vk;
    }
    // Without Num Lock the pad sends the navigation keys: same codes as
    // the main keys (and Clear for 5).
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 65 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 48 + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  for (const auto& k : kKeys) {
    if (k.qt == qtKey) return k.vk;
  }
  return 0;
}

int ShiftMaskFromQt(unsigned modifiers) {
  int mask = 0;
  if (modifiers & kQtShift) mask |= 1;
  if (modifiers & kQtControl) mask |= 2;
  if (modifiers & kQtAlt) mask |= 4;
  return mask;
}

int QtKeyFromVirtualKey(int vk, bool* keypad) {
  if (keypad) *keypad = false;
  if (vk >= 65 && vk <= 90) return Qt::Key_A + (vk - 65);
  if (vk >= 48 && vk <= 57) return Qt::Key_0 + (vk - 48);
  if (vk >= 112 && vk <= 135) return Qt::Key_F1 + (vk - 112);
  if (vk >= 96 && vk <= 111) {
    if (keypad) *keypad = true;
    if (vk <= 105) return Qt::Key_0 + (vk - 96);
    for (const auto& k : kPadKeys) {
      if (k.vk == vk) return k.qt;
    }
    return 0;
  }
  // First entry wins: the unshifted key of each code comes first.
  for (const auto& k : kKeys) {
    if (k.vk == vk) return k.qt;
  }
  return 0;
}

int KeyAsciiFromText(std::string_view utf8) {
  if (utf8.empty()) return 0;
  // One character only: the first code point.
  size_t len = 1;
  const auto lead = static_cast<unsigned char>(utf8[0]);
  if (lead >= 0xF0) {
    len = 4;
  } else if (lead >= 0xE0) {
    len = 3;
  } else if (lead >= 0xC0) {
    len = 2;
  }
  if (len > utf8.size()) return 0;
  if (len == 1) return lead < 0x80 ? lead : 0;
  const std::string bytes = Utf8ToCp932(utf8.substr(0, len));
  if (bytes.size() == 1) {
    const auto b = static_cast<unsigned char>(bytes[0]);
    return b == '?' ? 0 : b;  // '?' is what cp932 writes for unknown characters
  }
  if (bytes.size() != 2) return 0;
  const int code = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
  return static_cast<int16_t>(static_cast<uint16_t>(code));
}

std::string TextFromKeyAscii(int keyAscii) {
  if (keyAscii == 0) return {};
  const int code = keyAscii < 0 ? keyAscii + 65536 : keyAscii;
  if (code < 0 || code > 0xFFFF) return {};
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  std::string bytes;
  if (code < 0x100) {
    bytes.assign(1, static_cast<char>(code));
  } else {
    bytes.push_back(static_cast<char>(code >> 8));
    bytes.push_back(static_cast<char>(code & 0xFF));
  }
  std::string text = Cp932ToUtf8(bytes);
  if (text.find("\xEF\xBF\xBD") != std::string::npos) return {};  // not a valid code
  return text;
}

}  // namespace zarv
