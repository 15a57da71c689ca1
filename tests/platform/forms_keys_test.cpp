#include <gtest/gtest.h>

#include <Qt>

#include <vector>

#include "platform/ui/events.h"
#include "platform/ui/keys.h"
#include "platform/ui/sendkeys.h"

namespace zarv {
namespace {

TEST(FormsKeys, VirtualKeyCodesOfTheKeysTheScreensUse) {
  struct Case {
    int qt;
    unsigned mods;
    int vk;
  };
  const Case cases[] = {
      {Qt::Key_Return, 0, 13},      {Qt::Key_Enter, kQtKeypad, 13}, {Qt::Key_Space, 0, 32},
      {Qt::Key_Escape, 0, 27},      {Qt::Key_Left, 0, 37},          {Qt::Key_Up, 0, 38},
      {Qt::Key_Right, 0, 39},       {Qt::Key_Down, 0, 40},          {Qt::Key_F1, 0, 112},
      {Qt::Key_F12, 0, 123},        {Qt::Key_A, 0, 65},             {Qt::Key_Z, kQtShift, 90},
      {Qt::Key_0, 0, 48},           {Qt::Key_9, 0, 57},             {Qt::Key_0, kQtKeypad, 96},
      {Qt::Key_5, kQtKeypad, 101},  {Qt::Key_9, kQtKeypad, 105},    {Qt::Key_Clear, kQtKeypad, 12},
      {Qt::Key_Comma, 0, 188},      {Qt::Key_Period, 0, 190},       {Qt::Key_Minus, 0, 189},
      {Qt::Key_Semicolon, 0, 186},  {Qt::Key_Plus, kQtShift, 187},  {Qt::Key_Minus, kQtKeypad, 109},
      {Qt::Key_Plus, kQtKeypad, 107}, {Qt::Key_Insert, 0, 45},      {Qt::Key_Delete, 0, 46},
      {Qt::Key_PageUp, 0, 33},      {Qt::Key_PageDown, 0, 34},      {Qt::Key_Exclam, kQtShift, 49},
      {Qt::Key_Less, kQtShift, 188}, {Qt::Key_Backspace, 0, 8},     {Qt::Key_Tab, 0, 9},
      {Qt::Key_Home, kQtKeypad, 36}, {Qt::Key_yen, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromQt(c.qt, c.mods), c.vk) << "qt key 0x" << std::hex << c.qt;
  }
  EXPECT_EQ(ShiftMaskFromQt(kQtShift | kQtControl | kQtAlt), vbShiftMask | vbCtrlMask | vbAltMask);
  EXPECT_EQ(ShiftMaskFromQt(kQtKeypad), 0);
  // The way back, for keys sent to the program.
  bool pad = false;
  EXPECT_EQ(QtKeyFromVirtualKey(101, &pad), Qt::Key_5);
  EXPECT_TRUE(pad);
  EXPECT_EQ(QtKeyFromVirtualKey(188, &pad), Qt::Key_Comma);
  EXPECT_FALSE(pad);
  for (int vk : {8, 13, 27, 32, 37, 40, 46, 65, 90, 48, 57, 96, 105, 112, 123, 186, 188, 189, 190}) {
    bool keypad = false;
    const int qt = QtKeyFromVirtualKey(vk, &keypad);
    EXPECT_EQ(VirtualKeyFromQt(qt, keypad ? kQtKeypad : 0), vk) << vk;
  }
}

TEST(FormsKeys, KeyAsciiIsTheCodePageCharacter) {
  EXPECT_EQ(KeyAsciiFromText("a"), 97);
  EXPECT_EQ(KeyAsciiFromText("-"), 45);
  EXPECT_EQ(KeyAsciiFromText("\r"), 13);
  EXPECT_EQ(KeyAsciiFromText(""), 0);
  EXPECT_EQ(KeyAsciiFromText("ｱ"), 0xB1);              // half-width katakana: one byte
  EXPECT_EQ(KeyAsciiFromText("あ"), static_cast<int16_t>(0x82A0));  // two bytes, negative
  EXPECT_LT(KeyAsciiFromText("あ"), 0);
  EXPECT_EQ(KeyAsciiFromText("\xF0\x9F\x98\x80"), 0);  // not in the code page
  for (const char* s : {"a", "Z", "ｱ", "あ", "機"}) EXPECT_EQ(TextFromKeyAscii(KeyAsciiFromText(s)), s);
  EXPECT_EQ(TextFromKeyAscii(0), "");
}

TEST(FormsKeys, SendKeysStrings) {
  std::vector<SentKey> keys;
  ASSERT_TRUE(ParseSendKeys("{F1}", &keys));
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].vk, vbKeyF1);
  EXPECT_EQ(keys[0].text, "");

  keys.clear();
  ASSERT_TRUE(ParseSendKeys("aB~{ESC}{+}{LEFT 3}", &keys));
  ASSERT_EQ(keys.size(), 8u);
  EXPECT_EQ(keys[0].vk, 65);
  EXPECT_EQ(keys[0].text, "a");
  EXPECT_EQ(keys[0].shift, 0);
  EXPECT_EQ(keys[1].vk, 66);
  EXPECT_EQ(keys[1].shift, vbShiftMask);
  EXPECT_EQ(keys[2].vk, vbKeyReturn);
  EXPECT_EQ(keys[3].vk, vbKeyEscape);
  EXPECT_EQ(keys[4].text, "+");
  EXPECT_EQ(keys[4].vk, 187);
  for (int i = 5; i < 8; ++i) EXPECT_EQ(keys[i].vk, vbKeyLeft);

  keys.clear();
  ASSERT_TRUE(ParseSendKeys("^(ab)c%{F4}{}}", &keys));
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[0].shift, vbCtrlMask);
  EXPECT_EQ(keys[0].text, "");  // ctrl keys type nothing
  EXPECT_EQ(keys[1].shift, vbCtrlMask);
  EXPECT_EQ(keys[2].shift, 0);
  EXPECT_EQ(keys[3].vk, vbKeyF4);
  EXPECT_EQ(keys[3].shift, vbAltMask);
  EXPECT_EQ(keys[4].text, "}");

  keys.clear();
  EXPECT_FALSE(ParseSendKeys("{F1", &keys));
  EXPECT_FALSE(ParseSendKeys("(ab", &keys));
  EXPECT_FALSE(ParseSendKeys("{NOSUCHKEY}", &keys));
  EXPECT_FALSE(ParseSendKeys("{LEFT x}", &keys));
}

}  // namespace
}  // namespace zarv
