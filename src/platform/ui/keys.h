// Keyboard codes as the screens receive them: Windows virtual-key codes in
// KeyDown/KeyUp and character codes in KeyPress, whatever the toolkit's own
// key numbers are.
#pragma once

#include <string>
#include <string_view>

namespace zarv {

// Virtual-key codes (KeyCode). Letters are 'A'..'Z' (65..90) and the digit
// row '0'..'9' (48..57), whether or not Shift is held.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyClear = 12;  // numeric-pad 5 without Num Lock
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyMenu = 18;  // Alt
inline constexpr int vbKeyPause = 19;
inline constexpr int vbKeyCapital = 20;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyPageUp = 33;
inline constexpr int vbKeyPageDown = 34;
inline constexpr int vbKeyEnd = 35;
inline constexpr int vbKeyHome = 36;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyPrint = 44;
inline constexpr int vbKeyInsert = 45;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbKeyA = 65;
inline constexpr int vbKeyZ = 90;
inline constexpr int vbKeyNumpad0 = 96;  // .. vbKeyNumpad0 + 9 = 105
inline constexpr int vbKeyNumpad5 = 101;
inline constexpr int vbKeyMultiply = 106;
inline constexpr int vbKeyAdd = 107;
inline constexpr int vbKeySubtract = 109;
inline constexpr int vbKeyDecimal = 110;
inline constexpr int vbKeyDivide = 111;
inline constexpr int vbKeyF1 = 112;  // .. vbKeyF1 + 11 = F12 (123) .. F24 (135)
inline constexpr int vbKeyF2 = 113;
inline constexpr int vbKeyF3 = 114;
inline constexpr int vbKeyF4 = 115;
inline constexpr int vbKeyF5 = 116;
inline constexpr int vbKeyF6 = 117;
inline constexpr int vbKeyF7 = 118;
inline constexpr int vbKeyF8 = 119;
inline constexpr int vbKeyF9 = 120;
inline constexpr int vbKeyF10 = 121;
inline constexpr int vbKeyF11 = 122;
inline constexpr int vbKeyF12 = 123;
inline constexpr int vbKeyNumlock = 144;
inline constexpr int vbKeyScrollLock = 145;
inline constexpr int vbKeySemicolon = 186;  // ";" ":" (US layout)
inline constexpr int vbKeyEquals = 187;     // "=" "+"
inline constexpr int vbKeyComma = 188;      // "," "<"
inline constexpr int vbKeyMinus = 189;      // "-" "_"
inline constexpr int vbKeyPeriod = 190;     // "." ">"
inline constexpr int vbKeySlash = 191;      // "/" "?"
inline constexpr int vbKeyBackquote = 192;  // "`" "~"
inline constexpr int vbKeyLBracket = 219;   // "[" "{"
inline constexpr int vbKeyBackslash = 220;  // "\" "|"
inline constexpr int vbKeyRBracket = 221;   // "]" "}"
inline constexpr int vbKeyQuote = 222;      // "'" '"'

// Toolkit modifier bits as VirtualKeyFromQt takes them (the values of the
// toolkit's own modifier flags).
inline constexpr unsigned kQtShift = 0x02000000u;
inline constexpr unsigned kQtControl = 0x04000000u;
inline constexpr unsigned kQtAlt = 0x08000000u;
inline constexpr unsigned kQtKeypad = 0x20000000u;

// The virtual-key code of a toolkit key (its Qt::Key number) pressed with
// the given modifier bits; the keypad bit selects the numeric-pad codes
// (96..111). 0 for keys that have no code.
int VirtualKeyFromQt(int qtKey, unsigned modifiers);
// The Shift argument (1 shift, 2 ctrl, 4 alt) of the modifier bits.
int ShiftMaskFromQt(unsigned modifiers);
// The toolkit key for a virtual-key code (0 when none); keypad is set for
// the numeric-pad codes. Used to send keys to the program itself.
int QtKeyFromVirtualKey(int vk, bool* keypad = nullptr);

// True while the KeyDown and KeyPress handlers of an auto-repeated key run
// (the key is held down). Commands that open a screen, print, save, leave or
// switch something act once a press; steering keys may repeat. The repeats
// of a key reach only the form that took its press.
bool KeyRepeating();

// KeyAscii of the character typed (UTF-8): ASCII as is (Enter 13, Esc 27,
// Backspace 8), half-width katakana as their cp932 byte, other characters
// as their two-byte cp932 code read as a signed 16-bit number (negative,
// as the runtime passes them). 0 for an empty text or one the code page
// cannot hold.
int KeyAsciiFromText(std::string_view utf8);
// The character of a KeyAscii value (UTF-8); "" for 0 or an invalid code.
std::string TextFromKeyAscii(int keyAscii);

}  // namespace zarv
