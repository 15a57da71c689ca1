#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/runtime/cp932.h"

namespace zarv {
namespace {

TEST(RuntimeCp932, WindowsExtensionsAndHalfWidthKana) {
  // Characters that only the Windows variant of Shift-JIS has.
  EXPECT_EQ(Utf8ToCp932("MardenⅡ"), "Marden\x87\x55");
  EXPECT_EQ(Utf8ToCp932("㎡"), "\x87\x75");
  EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");
  // Half-width katakana are single bytes.
  EXPECT_EQ(Utf8ToCp932("ﾋﾟｯﾁ"), "\xCB\xDF\xAF\xC1");
  // Backslash and tilde keep their ASCII meaning (paths and text).
  EXPECT_EQ(Utf8ToCp932("\\Temp\\set.ini~"), "\\Temp\\set.ini~");
}

TEST(RuntimeCp932, RoundTrips) {
  const char* texts[] = {
      "MardenⅡ", "kg/㎡", "ﾋﾟｯﾁ", "ｵﾌﾞｼﾞｪｸﾄの表示", "機体各部の座標", "以後、この画面を表示しない",
      "50％完了しました", "ＭＳ Ｐゴシック", "①②", "℃", "", "plain ASCII 0123,.-",
  };
  for (const char* t : texts) {
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(t)), t) << t;
  }
}

TEST(RuntimeCp932, BadInputIsReplacedNotDropped) {
  // 0x81 0x20 is a lead byte without a valid trail byte; 0xA0 and 0xFD are
  // unused; a lead byte at the very end is cut off.
  EXPECT_EQ(Cp932ToUtf8("a\x81 b"), "a\xEF\xBF\xBD b");
  EXPECT_EQ(Cp932ToUtf8("\xFD" "x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Cp932ToUtf8("x\x88"), "x\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("\x87\x55\xFD\x87\x55"), "Ⅱ\xEF\xBF\xBDⅡ");

  // Characters cp932 has no code for, and malformed UTF-8, become "?".
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("é"), "?");
  EXPECT_EQ(Utf8ToCp932("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToCp932("Ⅱ\xE3\x81"), "\x87\x55?");
}

TEST(RuntimeCp932, LongTextConvertsWhole) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "翼面荷重ﾋﾟｯﾁ,";
  const std::string bytes = Utf8ToCp932(utf8);
  EXPECT_EQ(bytes.size(), 5000u * 13u);
  EXPECT_EQ(Cp932ToUtf8(bytes), utf8);
}

TEST(RuntimeCp932, LongTextWithUnwritableCharactersIsLinear) {
  // Cut characters and "?" at every place against the converter's chunks.
  std::string mixed, mixedBytes, readBack;
  for (int i = 0; i < 300; ++i) {
    mixed += "あ😀ｱ";
    mixedBytes += "\x82\xA0?\xB1";
    readBack += "あ?ｱ";
  }
  EXPECT_EQ(Utf8ToCp932(mixed + "\xE3\x81"), mixedBytes + "?");
  EXPECT_EQ(Cp932ToUtf8(mixedBytes + "\x88"), readBack + "\xEF\xBF\xBD");

  // The longest name a text box takes, none of it cp932: 131,068 bytes of
  // UTF-8. It took over a second when every bad character cost the rest.
  std::string emoji;
  for (int i = 0; i < 32767; ++i) emoji += "😀";
  const auto start = std::chrono::steady_clock::now();
  const std::string bytes = Utf8ToCp932Exact(emoji);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(bytes.size(), 3u + 131068u);
  EXPECT_LT(seconds, 0.25);
}

}  // namespace
}  // namespace zarv
