// Numbers to text and back in the forms the program's files and screens use,
// and character-wise string helpers. Strings are UTF-8; positions and
// lengths count characters (code points), not bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zarv {

struct DateTime;

// Leading decimal number of s: blanks, tabs and line feeds are skipped (also
// inside the number), optional sign, digits with an optional "." fraction,
// optional exponent (E/e or D/d). Stops at the first other character; 0 when
// there is none. The decimal point is always ".", whatever the locale.
// A value beyond the double range gives +-DBL_MAX instead of infinity.
double Val(std::string_view s);
// Bytes of s that Val's reading takes (blanks within and after the number
// included); 0 when s does not begin with a number.
size_t ValLength(std::string_view s);

// Number as the runtime prints it: a leading blank when not negative, at most
// 15 significant digits, no leading zero before the point (" .5", "-.25",
// " 10"), exponent form from 1E+15 up and below 1E-04 (" 1E+20",
// "-1.5E-07", " 1E-05"). NaN gives "NaN".
std::string Str(double v);
// Str form of a single-precision value: at most 7 significant digits.
std::string StrSingle(double v);

// |v| as m / 10^k with at most 7 decimals and m below 1E+15, when that
// decimal reads back as |v| (the fewest decimals that do); false otherwise.
// The quick path of the number printers.
bool ShortDecimal(double v, unsigned long long& m, int& k);

// Number through a picture: "#" optional digit, "0" forced digit, "." decimal
// point, "," thousands grouping (anywhere among the integer digits), other
// characters and "quoted" or \escaped text copied literally. Rounds halves
// away from zero. Format(0.5,"##.00") = ".50", Format(1234.5,"#0,0") = "1,235",
// Format(3,"000S") = "003S", Format(5,"#0,0") = "05". A "," right before the
// decimal point (or after the last digit) divides by 1000. A trailing "#"
// after the point drops a zero digit; the point itself always shows
// (Format(1,"#.##") = "1."). A negative value gets "-" in front of everything
// unless it rounds to zero. An empty picture gives the Str form without its
// leading blank.
std::string Format(double v, std::string_view picture);

// Date/time through a picture: yyyy, yy, mm (month, or minutes right after
// hh / before ss), m, dd, d, hh, h, nn, ss, s; other characters copied, e.g.
// "yyyy年mm月dd日", "mm-dd-yyyy   hh:mm:ss", "hh:mm:ss".
std::string FormatDate(const DateTime& t, std::string_view picture);

// Character helpers. Trim removes ASCII spaces only, as the runtime does.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// First n characters (all when n >= Len; "" when n <= 0).
std::string Left(std::string_view s, int n);
// Last n characters.
std::string Right(std::string_view s, int n);
// From character start (1-based) to the end, or len characters.
// start < 1 is treated as 1; start past the end gives "".
std::string Mid(std::string_view s, int start);
std::string Mid(std::string_view s, int start, int len);
// Length in characters.
int Len(std::string_view s);
// 1-based character position of find in s at or after start; 0 when absent.
// An empty find returns start (when start <= Len(s)+1).
int InStr(int start, std::string_view s, std::string_view find);
int InStr(std::string_view s, std::string_view find);
// A CR or LF in s: the files that keep one value a line cannot hold it.
inline bool HoldsLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }
// ASCII letters only; other characters unchanged.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

}  // namespace zarv
