#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/runtime/clock.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/random.h"
#include "platform/runtime/text.h"

namespace zarv {
namespace {

TEST(NumberText, ShortestFormReadsBackExactly) {
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(-2.5), "-2.5");
  EXPECT_EQ(NumberText(7), "7");
  EXPECT_EQ(NumberText(-0.0), "-0");
  EXPECT_EQ(NumberText(1e300), "1e+300");
  EXPECT_EQ(NumberText(HUGE_VAL), "inf");
  EXPECT_EQ(NumberText(-HUGE_VAL), "-inf");
  EXPECT_EQ(NumberText(std::nan("")), "nan");
  for (double v : {1.0 / 3, 0.1 + 0.2, 6378140.0 * 1.0000001, DBL_MIN, DBL_TRUE_MIN, -DBL_MAX, 354.025 / 306 * 1025 / 1013}) {
    const std::string text = NumberText(v);
    ASSERT_LT(text.size(), static_cast<size_t>(kNumberTextMax));
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
  }
}

TEST(RuntimeVal, ConformanceTable) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"true", 0},
      {"  12.5", 12.5},
      {"1 2 3", 123},
      {"\t7", 7},
      {"- 5", -5},
      {"+5", 5},
      {"-.25", -0.25},
      {" .5", 0.5},
      {"5.", 5},
      {".", 0},
      {"-", 0},
      {"+-5", 0},
      {"3.0", 3},
      {"0003", 3},
      {"1.5E3", 1500},
      {"1.5e+3", 1500},
      {"2D-2", 0.02},
      {"1 e 5", 100000},
      {"1e", 1},
      {"1e+", 1},
      {"12abc", 12},
      {"1,000", 1},
      {"1.2.3", 1.2},
      {"460.90", 460.9},
      {"5.5/.52", 5.5},
      {" 1E-05", 0.00001},
      {"123.45m by Marden 20Deg  wind 1.0m/s", 123.45},
      {" 2345,'=データ行数", 2345},
      {"1e-400", 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(Val(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(RuntimeVal, OverflowClampsInsteadOfInfinity) {
  EXPECT_EQ(Val("1e400"), DBL_MAX);
  EXPECT_EQ(Val("-1e400"), -DBL_MAX);
  EXPECT_EQ(Val(std::string(400, '9')), DBL_MAX);
}

// Where Val's reading stops: what a number box may hold beyond its number.
TEST(RuntimeVal, LengthOfTheNumberRead) {
  EXPECT_EQ(ValLength(""), 0u);
  EXPECT_EQ(ValLength("abc"), 0u);
  EXPECT_EQ(ValLength("-"), 0u);
  EXPECT_EQ(ValLength(" . "), 0u);
  EXPECT_EQ(ValLength("12"), 2u);
  EXPECT_EQ(ValLength(" 1 2 "), 5u);
  EXPECT_EQ(ValLength("-.5x"), 3u);
  EXPECT_EQ(ValLength("5.5/.52"), 3u);
  EXPECT_EQ(ValLength("1E5kg"), 3u);
  EXPECT_EQ(ValLength("1D+2"), 4u);
  EXPECT_EQ(ValLength("1E"), 1u);  // no exponent digits: the E is not read
  EXPECT_EQ(ValLength("2e-x"), 1u);
}

TEST(RuntimeStr, ConformanceTable) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {10, " 10"},
      {-1, "-1"},
      {0, " 0"},
      {-0.0, " 0"},
      {0.5, " .5"},
      {-0.25, "-.25"},
      {2.5, " 2.5"},
      {0.1 + 0.2, " .3"},
      {1.0 / 3.0, " .333333333333333"},
      {0.0001, " .0001"},
      {0.00001, " 1E-05"},
      {-1.5e-7, "-1.5E-07"},
      {123456789012345.0, " 123456789012345"},
      {1e15, " 1E+15"},
      {1e20, " 1E+20"},
      {1e100, " 1E+100"},
  };
  for (const Case& c : cases) EXPECT_EQ(Str(c.value), c.text) << c.value;

  EXPECT_EQ(StrSingle(1.0 / 3.0), " .3333333");
  EXPECT_EQ(StrSingle(12345678), " 1.234568E+07");
  EXPECT_EQ(StrSingle(-2.5), "-2.5");
}

TEST(RuntimeStr, ReadsBackThroughVal) {
  const double values[] = {0.5, -0.25, 1.0 / 3.0, 6.2831852, -1.5e-7, 1e20, 12345.678, 9.80665e-12};
  for (double v : values) {
    EXPECT_NEAR(Val(Str(v)), v, std::fabs(v) * 1e-14) << Str(v);
  }
}

TEST(RuntimeFormat, ConformanceTable) {
  struct Case {
    double value;
    const char* picture;
    const char* text;
  };
  const Case cases[] = {
      // No digit before the point unless a "0" asks for one.
      {0.5, "##.00", ".50"},
      {0.9, "###.00", ".90"},
      {0.8, "#.000", ".800"},
      {0.05, "##.0", ".1"},
      {0, "##0", "0"},
      {0, "#", ""},
      // Halves round away from zero, on the decimal value as written.
      {0.5, "0", "1"},
      {2.5, "0", "3"},
      {-2.5, "0", "-3"},
      {0.125, "0.00", "0.13"},
      {-0.125, "0.00", "-0.13"},
      {2.675, "0.00", "2.68"},
      {1.005, "0.00", "1.01"},
      {99.96, "#0.0", "100.0"},
      // Integer digits are never cut off; "0" places pad.
      {1234, "00", "1234"},
      {7, "000", "007"},
      {123.456, "##.0", "123.5"},
      {12.5, ".00", "12.50"},
      {1013.25, "###0", "1013"},
      // Literal text around the number; "-" goes in front of everything.
      {3, "000S", "003S"},
      {12.5, "000m", "013m"},
      {1.25, "0.0kg", "1.3kg"},
      {5, " ##0", " 5"},
      {-5, " ##0", "- 5"},
      {-5, "##0", "-5"},
      {45.6, "\"x\"0", "x46"},
      // A negative value that rounds to zero shows no sign.
      {-0.04, "0.0", "0.0"},
      // "#" after the point drops zeros up to the last "0"; the point stays.
      {12.345, "###.#0", "12.35"},
      {12.3, "###.#0", "12.30"},
      {1.5, "0.##", "1.5"},
      {1, "#.##", "1."},
      // Commas: grouping between digits, scaling after the last digit.
      {1234.5, "#0,0", "1,235"},
      {12345.5, "#0,0", "12,346"},
      {2.5, "#0,0", "03"},
      {-2.5, "#0,0", "-03"},
      {1234567, "#,##0", "1,234,567"},
      {999.5, "#,##0", "1,000"},
      {1234567, "#0,", "1235"},
      // No picture: the Str form without its blank.
      {42, "", "42"},
      {0.5, "", ".5"},
      {-0.5, "", "-.5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.value, c.picture), c.text) << c.value << " \"" << c.picture << '"';
  }
}

// The pictures of the program's screens and files, with what they show.
TEST(RuntimeFormat, PicturesOfScreensAndFiles) {
  struct Case {
    double value;
    const char* picture;
    const char* text;
  };
  const Case cases[] = {
      // Readouts at rest.
      {0, "###0", "0"},
      {0, "0.000", "0.000"},
      {0, "#0.00", "0.00"},
      {0, "#0.0", "0.0"},
      {0, "##0.0", "0.0"},
      {0, "#####0", "0"},
      {1500, "###0", "1500"},
      {0.12345, "#0.0000", "0.1235"},
      {0.0125, "#0.000", "0.013"},
      {1.23456, "0.0000", "1.2346"},
      {12.25, "###0.0", "12.3"},
      {-12.25, "##0.00", "-12.25"},
      {1013, "##00", "1013"},
      {5, "##00", "05"},
      {19.5, "#00", "20"},
      {3, "#00", "03"},
      {30, "00", "30"},
      {7, "0000", "0007"},
      {123456, "#####0", "123456"},
      // Signed angles: the sign takes the place of the blank the caller adds.
      {-5.3, "00.0", "-05.3"},
      {5.3, "00.0", "05.3"},
      {-5.3, "000.0", "-005.3"},
      // Headings: north as 000, 6.2831852 rad as 360.
      {0, "000", "000"},
      {6.2831852 * 57.3, "##0", "360"},
      // Chart labels and written values with letters.
      {0, "000S", "000S"},
      {80.0 / 16, "000S", "005S"},
      {160.0 / 16, "000S", "010S"},
      {120 / 2.4, "000m", "050m"},
      {0.04, "0.0kg", "0.0kg"},
      // The editor's and the hand-over file's forms.
      {460.9, "0.00", "460.90"},
      {20, " ##0.00", " 20.00"},
      {1.6, " #0.0", " 1.6"},
      {1013, " ###0", " 1013"},
      {90, " ##0", " 90"},
      {0, " ##0", " 0"},
      {12.5, "#0,0", "13"},
      {-15, "#0,0", "-15"},
      // Mean chord, wing loading and result distances.
      {0.8, "#.000", ".800"},
      {1.25, "#.000", "1.250"},
      {0.5, "##.00", ".50"},
      {123.456, "###.#0", "123.46"},
      {0.5, "###.#0", ".50"},
      {0.96, "##.0", "1.0"},
      {12.3, "###.00", "12.30"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.value, c.picture), c.text) << c.value << " \"" << c.picture << '"';
  }
}

TEST(RuntimeFormat, ExtremeValuesStaySafe) {
  EXPECT_EQ(Format(1e300, "0").size(), 301u);
  EXPECT_EQ(Format(1e-300, "0.00"), "0.00");
  EXPECT_EQ(Format(std::numeric_limits<double>::quiet_NaN(), "0.0"), "NaN");
  EXPECT_EQ(Format(-std::numeric_limits<double>::infinity(), "0.0"), "-Inf");
}

TEST(RuntimeFormat, WrittenValuesReadBackWithinHalfAStep) {
  struct Pic {
    const char* picture;
    double step;
  };
  const Pic pics[] = {{"0.00", 0.01}, {"#0.0", 0.1}, {"##0", 1}, {"##.00", 0.01}, {"0.000", 0.001}};
  const double values[] = {0, 0.004, 0.5, 1.25, -3.75, 17.125, 359.99, -0.333, 1013.0};
  for (const Pic& p : pics) {
    for (double v : values) {
      const std::string text = Format(v, p.picture);
      EXPECT_LE(std::fabs(Val(text) - v), p.step / 2 + 1e-12) << v << " as " << text;
    }
  }
}

TEST(RuntimeFormatDate, Pictures) {
  const DateTime t{2024, 7, 5, 14, 3, 9};
  EXPECT_EQ(FormatDate(t, "yyyy年mm月dd日"), "2024年07月05日");
  EXPECT_EQ(FormatDate(t, "mm-dd-yyyy   hh:mm:ss"), "07-05-2024   14:03:09");
  EXPECT_EQ(FormatDate(t, "hh:mm:ss"), "14:03:09");
  EXPECT_EQ(FormatDate(t, "yyyy/mm/dd hh:mm"), "2024/07/05 14:03");
  EXPECT_EQ(FormatDate(t, "mm:ss"), "03:09");
  EXPECT_EQ(FormatDate(t, "yy m/d h:nn"), "24 7/5 14:03");
}

TEST(RuntimeNumeric, ConversionsRoundAndClamp) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(2.4999), 2);
  EXPECT_EQ(CInt(std::nan("")), 0);
  EXPECT_EQ(CInt(1e10), 32767);
  EXPECT_EQ(CInt(-1e10), -32768);
  EXPECT_EQ(CInt(32767.5), 32767);
  EXPECT_EQ(CInt(std::numeric_limits<double>::infinity()), 32767);
  EXPECT_EQ(CLng(2147483647.5), 2147483647);
  EXPECT_EQ(CLng(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(CLng(1234567.5), 1234568);
  EXPECT_EQ(CheckedTruncate<int>(std::nan("")), 0);
  EXPECT_EQ(CheckedTruncate<int>(-2.7), -2);
  EXPECT_EQ(CheckedTruncate<int>(-2.7, true), -3);
  EXPECT_EQ(CheckedRound<int64_t>(1e30), std::numeric_limits<int64_t>::max());

  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(2.7), 2);
  EXPECT_EQ(Fix(-2.7), -2);
  EXPECT_EQ(Sgn(-0.1), -1);
  EXPECT_EQ(Sgn(0.0), 0);
  EXPECT_EQ(Sgn(3.0), 1);
}

TEST(RuntimeNumeric, RndIsRepeatableAndBelowOne) {
  Randomize(7);
  const double first = Rnd();
  double lo = 1, hi = 0;
  for (int i = 0; i < 10000; ++i) {
    const double r = Rnd();
    lo = std::min(lo, r);
    hi = std::max(hi, r);
  }
  EXPECT_GE(lo, 0.0);
  EXPECT_LT(hi, 1.0);
  EXPECT_GT(hi - lo, 0.99);
  Randomize(7);
  EXPECT_EQ(Rnd(), first);
}

TEST(RuntimeStrings, CountCharactersNotBytes) {
  EXPECT_EQ(Len("MardenⅡ"), 7);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Left("ﾋﾟｯﾁ", 2), "ﾋﾟ");
  EXPECT_EQ(Left("abc", 0), "");
  EXPECT_EQ(Left("abc", 9), "abc");
  EXPECT_EQ(Right("風向方位", 2), "方位");
  EXPECT_EQ(Right("abc", 9), "abc");
  EXPECT_EQ(Mid("風速計", 2, 1), "速");
  EXPECT_EQ(Mid("風速計", 2), "速計");
  EXPECT_EQ(Mid("abc", 5), "");
  EXPECT_EQ(Mid("abc", 0, 2), "ab");
  EXPECT_EQ(Mid("abc", 2, -1), "");
  // A stray byte counts as one character and is never split.
  EXPECT_EQ(Len("a\xFF" "b"), 3);
  EXPECT_EQ(Right("a\xE9", 1), "\xE9");
}

TEST(RuntimeStrings, InStrAndCaseAndTrim) {
  EXPECT_EQ(InStr(1, "a,b,c", ","), 2);
  EXPECT_EQ(InStr(3, "a,b,c", ","), 4);
  EXPECT_EQ(InStr("機体各部の座標", "座"), 6);
  EXPECT_EQ(InStr(7, "機体各部の座標", "座"), 0);
  EXPECT_EQ(InStr(1, "abc", ""), 1);
  EXPECT_EQ(InStr(4, "abc", ""), 4);
  EXPECT_EQ(InStr(5, "abc", "x"), 0);
  EXPECT_EQ(InStr("Testlab", "lab"), 5);

  EXPECT_EQ(UCase("Marden ｱ"), "MARDEN ｱ");
  EXPECT_EQ(LCase("FlightData"), "flightdata");

  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(LTrim("  a "), "a ");
  EXPECT_EQ(RTrim("  a "), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");  // only blanks, as the runtime does
}


// Str takes a quick path for values whose shortest digits are few; it must
// print exactly what printing with the full precision prints.
TEST(Str, QuickPathMatchesPrintingWithPrecision) {
  auto reference = [](double v, int digits) {
    if (v == 0) return std::string(" 0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, std::fabs(v));
    std::string body = buf;
    if (body.size() > 1 && body[0] == '0' && body[1] == '.') body.erase(0, 1);
    return (v < 0 ? "-" : " ") + body;
  };
  uint64_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return seed >> 11;
  };
  for (int i = 0; i < 200000; ++i) {
    const double mag = std::pow(10.0, static_cast<double>(next() % 4000) / 100.0 - 20.0);
    const double steps[] = {1, 10, 100, 1000, 10000, 1e7};
    const double step = steps[next() % 6];
    double v = (i % 2 ? -1 : 1) * mag * static_cast<double>(next() % 100000) / 100000.0;
    if (i % 3 == 0) v = std::round(v * step) / step;
    ASSERT_EQ(Str(v), reference(v, 15)) << v;
    ASSERT_EQ(StrSingle(v), reference(v, 7)) << v;
  }
  for (double v : {1e15, 999999999999999.0, 1e-4, 1e-5, 0.5, 123456789012345.0, 1e300, 5e-324, 0.1, 1.0 / 3})
    EXPECT_EQ(Str(v), reference(v, 15)) << v;
}

}  // namespace
}  // namespace zarv
