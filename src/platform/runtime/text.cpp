#include "platform/runtime/text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/utf8.h"

namespace zarv {

namespace {

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Byte offset of character index ci (0-based); s.size() when past the end.
size_t ByteOffset(std::string_view s, int ci) {
  size_t i = 0;
  while (ci > 0 && i < s.size()) {
    i += Utf8CharLen(s, i);
    --ci;
  }
  return i;
}

// The literal at pic[i] of a format picture: a "quoted" run, a character
// escaped by a backslash, or one character as it stands. Moves i past it.
std::string TakeLiteral(std::string_view pic, size_t& i) {
  if (pic[i] == '"') {
    size_t end = pic.find('"', i + 1);
    if (end == std::string_view::npos) end = pic.size();
    std::string text(pic.substr(i + 1, end - i - 1));
    i = end < pic.size() ? end + 1 : end;
    return text;
  }
  const size_t start = pic[i] == '\\' && i + 1 < pic.size() ? i + 1 : i;
  const size_t n = Utf8CharLen(pic, start);
  i = start + n;
  return std::string(pic.substr(start, n));
}

// Text of v in %G form with the given significant digits, as Str prints it.
constexpr double kPow10[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7};

std::string StrDigitsSlow(double v, int digits) {
  // to_chars with a precision prints as %G does (lower-case exponent).
  char buf[64];
  buf[0] = v < 0 ? '-' : ' ';
  char* first = buf + 1;
  const auto res = std::to_chars(first, buf + sizeof buf, std::fabs(v), std::chars_format::general, digits);
  char* end = res.ptr;
  for (char* c = first; c != end; ++c)
    if (*c == 'e') *c = 'E';
  if (end - first > 1 && first[0] == '0' && first[1] == '.') {
    first[0] = buf[0];
    return std::string(first, end);
  }
  return std::string(buf, end);
}

std::string StrDigits(double v, int digits) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? " Inf" : "-Inf";
  if (v == 0) return " 0";
  unsigned long long m = 0;
  int k = 0;
  if (digits == 15 && std::fabs(v) >= 1e-4 && ShortDecimal(v, m, k)) {
    // The shortest digits, below 1E+15: the 15-digit form, printed plainly.
    char digitsOf[24];
    int n = 0;
    for (unsigned long long x = m; x > 0; x /= 10) digitsOf[n++] = static_cast<char>('0' + x % 10);
    while (n <= k) digitsOf[n++] = '0';  // at least one digit before the point
    char buf[48];
    int at = 0;
    buf[at++] = v < 0 ? '-' : ' ';
    const bool belowOne = n == k + 1 && digitsOf[n - 1] == '0';
    for (int i = n - 1; i >= k; --i)
      if (!belowOne) buf[at++] = digitsOf[i];
    if (k > 0) {
      buf[at++] = '.';
      for (int i = k - 1; i >= 0; --i) buf[at++] = digitsOf[i];
    }
    return std::string(buf, static_cast<size_t>(at));
  }
  // The shortest digits that read back as v are the rounding to `digits`
  // significant digits whenever there are no more of them than that (the
  // grid of such decimals is far coarser than the doubles'). Much faster
  // than printing with a precision; the flight log prints millions.
  char sci[40];
  const auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific);
  char mant[24];
  int n = 0;
  const char* p = sci;
  for (; p != res.ptr && *p != 'e'; ++p)
    if (*p != '.') mant[n++] = *p;
  // (Subnormal values are too coarse for that.)
  if (n > digits || p == res.ptr || std::fabs(v) < DBL_MIN) return StrDigitsSlow(v, digits);
  int exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
  char buf[64];
  int at = 0;
  buf[at++] = v < 0 ? '-' : ' ';
  if (exp10 < -4 || exp10 >= digits) {
    buf[at++] = mant[0];
    if (n > 1) {
      buf[at++] = '.';
      for (int i = 1; i < n; ++i) buf[at++] = mant[i];
    }
    buf[at++] = 'E';
    buf[at++] = exp10 < 0 ? '-' : '+';
    const int e = exp10 < 0 ? -exp10 : exp10;
    if (e >= 100) buf[at++] = static_cast<char>('0' + e / 100);
    buf[at++] = static_cast<char>('0' + e / 10 % 10);
    buf[at++] = static_cast<char>('0' + e % 10);
  } else if (exp10 >= 0) {
    for (int i = 0; i <= exp10; ++i) buf[at++] = i < n ? mant[i] : '0';
    if (n > exp10 + 1) {
      buf[at++] = '.';
      for (int i = exp10 + 1; i < n; ++i) buf[at++] = mant[i];
    }
  } else {
    buf[at++] = '.';  // no digit before the point below 1
    for (int i = 0; i < -exp10 - 1; ++i) buf[at++] = '0';
    for (int i = 0; i < n; ++i) buf[at++] = mant[i];
  }
  return std::string(buf, static_cast<size_t>(at));
}

// |v| as decimal digits rounded half away from zero to `decimals` places.
// Works on the 15-significant-digit decimal form, so 2.675 rounds as written.
void RoundDecimal(double a, int decimals, std::string& intDigits,
                  std::string& fracDigits) {
  intDigits.clear();
  fracDigits.assign(static_cast<size_t>(decimals), '0');
  if (a == 0) return;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", a);
  // buf: d.ddddddddddddddE+xx
  std::string digits;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (IsDigit(*p)) digits += *p;
  }
  const int exp10 = *p ? std::atoi(p + 1) : 0;
  // Value = 0.digits x 10^(exp10 + 1). Keep exp10 + 1 + decimals digits.
  long long keep = static_cast<long long>(exp10) + 1 + decimals;
  int pointPos = exp10 + 1;  // digits before the decimal point
  if (keep < 0) return;
  if (keep < static_cast<long long>(digits.size())) {
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      long long i = keep - 1;
      for (; i >= 0; --i) {
        if (digits[static_cast<size_t>(i)] == '9') {
          digits[static_cast<size_t>(i)] = '0';
        } else {
          ++digits[static_cast<size_t>(i)];
          break;
        }
      }
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++pointPos;
      }
    }
  }
  // Lay the digits out around the point.
  std::string all;
  if (pointPos <= 0) {
    all.assign(static_cast<size_t>(-pointPos), '0');
    all += digits;
    pointPos = 0;
  } else {
    all = digits;
  }
  const size_t total = static_cast<size_t>(pointPos) + static_cast<size_t>(decimals);
  if (all.size() < total) all.append(total - all.size(), '0');
  intDigits = all.substr(0, static_cast<size_t>(pointPos));
  fracDigits = all.substr(static_cast<size_t>(pointPos), static_cast<size_t>(decimals));
  size_t nz = intDigits.find_first_not_of('0');
  intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
}

struct PicToken {
  enum Kind { Digit, Point, Comma, Literal } kind;
  char ch = 0;       // '0' or '#' for Digit
  std::string text;  // Literal
};

std::vector<PicToken> ParsePicture(std::string_view pic) {
  std::vector<PicToken> out;
  bool havePoint = false;
  for (size_t i = 0; i < pic.size();) {
    const char c = pic[i];
    if (c == '0' || c == '#') {
      out.push_back({PicToken::Digit, c, {}});
      ++i;
    } else if (c == '.' && !havePoint) {
      havePoint = true;
      out.push_back({PicToken::Point, c, {}});
      ++i;
    } else if (c == ',') {
      out.push_back({PicToken::Comma, c, {}});
      ++i;
    } else {
      out.push_back({PicToken::Literal, 0, TakeLiteral(pic, i)});
    }
  }
  return out;
}

std::string Pad2(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

namespace {

// Scans the leading number as Val reads it into num (a from_chars form).
// Returns the bytes it took, 0 when there is no digit.
size_t ScanVal(std::string_view s, std::string& num) {
  size_t i = 0;
  auto skip = [&] {
    while (i < s.size() && IsValBlank(s[i])) ++i;
  };
  skip();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') num += '-';
    ++i;
  }
  bool anyDigit = false;
  for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
    num += s[i++];
    anyDigit = true;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!anyDigit) num += '0';
    num += '.';
    for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
      num += s[i++];
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    size_t j = i + 1;
    while (j < s.size() && IsValBlank(s[j])) ++j;
    std::string ex = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      ex += s[j++];
    }
    bool expDigit = false;
    while (j < s.size() && (IsDigit(s[j]) || IsValBlank(s[j]))) {
      if (IsDigit(s[j])) {
        ex += s[j];
        expDigit = true;
      }
      ++j;
    }
    if (expDigit) {
      num += ex;
      i = j;
    }
  }
  return i;
}

}  // namespace

size_t ValLength(std::string_view s) {
  std::string num;
  return ScanVal(s, num);
}

double Val(std::string_view s) {
  std::string num;
  if (ScanVal(s, num) == 0) return 0.0;
  double v = 0;
  const char* b = num.data();
  const char* e = num.data() + num.size();
  auto res = std::from_chars(b, e, v);
  if (res.ec == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the strtod result.
    const double approx = std::strtod(num.c_str(), nullptr);
    if (std::isinf(approx) || std::fabs(approx) >= DBL_MAX) {
      return num.front() == '-' ? -DBL_MAX : DBL_MAX;
    }
    return num.front() == '-' ? -0.0 : 0.0;
  }
  if (res.ec != std::errc()) return 0.0;
  return v;
}

bool ShortDecimal(double v, unsigned long long& m, int& k) {
  const double a = std::fabs(v);
  if (!(a < 1e15)) return false;
  // Most numbers the program prints have a few decimals. Wherever a x 10^n
  // stays below 1E+15 (n <= 7), no two decimals of n places read back as
  // one double; so when the one of 3 (or else 6) places does, its digits
  // less their trailing zeros are what the search below would find.
  for (const int n : {3, 6}) {
    const double p = a * kPow10[n];
    if (!(p < 1e15)) break;
    const auto whole = static_cast<unsigned long long>(p);
    if (static_cast<double>(whole) == p && p / kPow10[n] == a) {
      m = whole;
      for (k = n; k > 0 && m % 10 == 0; --k) m /= 10;
      return true;
    }
  }
  for (k = 0; k <= 7; ++k) {
    const double p = a * kPow10[k];
    if (p >= 1e15) return false;
    // Below 1E+15 the integer conversion is exact when p is whole (and
    // needs no call into the maths library, as floor does).
    const auto whole = static_cast<unsigned long long>(p);
    if (static_cast<double>(whole) == p && p / kPow10[k] == a) {
      m = whole;
      for (; k > 0 && m % 10 == 0; --k) m /= 10;
      return true;
    }
  }
  return false;
}

std::string Str(double v) { return StrDigits(v, 15); }
std::string StrSingle(double v) { return StrDigits(v, 7); }

std::string Format(double v, std::string_view picture) {
  if (std::isnan(v) || std::isinf(v)) return Trim(StrDigits(v, 15));
  if (picture.empty()) {
    std::string s = Str(v);
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    return s;
  }
  std::vector<PicToken> toks = ParsePicture(picture);

  // Split at the decimal point.
  size_t pointIdx = toks.size();
  for (size_t i = 0; i < toks.size(); ++i) {
    if (toks[i].kind == PicToken::Point) {
      pointIdx = i;
      break;
    }
  }
  // Commas of the integer part: between digits they ask for grouping; after
  // the last digit they scale by 1000; before the first digit they are text.
  int firstDigit = -1, lastDigit = -1;
  for (size_t i = 0; i < pointIdx; ++i) {
    if (toks[i].kind == PicToken::Digit) {
      if (firstDigit < 0) firstDigit = static_cast<int>(i);
      lastDigit = static_cast<int>(i);
    }
  }
  bool grouping = false;
  int scaleCommas = 0;
  for (size_t i = 0; i < toks.size(); ++i) {
    if (toks[i].kind != PicToken::Comma) continue;
    const int ii = static_cast<int>(i);
    if (i < pointIdx && firstDigit >= 0 && ii > firstDigit && ii < lastDigit) {
      grouping = true;
      toks[i].kind = PicToken::Literal;
      toks[i].text.clear();
    } else if (i < pointIdx && firstDigit >= 0 && ii > lastDigit) {
      ++scaleCommas;
      toks[i].kind = PicToken::Literal;
      toks[i].text.clear();
    } else {
      toks[i].kind = PicToken::Literal;
      toks[i].text.assign(1, ',');
    }
  }

  int intPlaces = 0, minInt = 0;
  bool seenZero = false;
  for (size_t i = 0; i < pointIdx; ++i) {
    if (toks[i].kind != PicToken::Digit) continue;
    ++intPlaces;
    if (toks[i].ch == '0') seenZero = true;
    if (seenZero) ++minInt;
  }
  int decimals = 0, lastZeroDecimal = 0;
  for (size_t i = pointIdx; i < toks.size(); ++i) {
    if (toks[i].kind != PicToken::Digit) continue;
    ++decimals;
    if (toks[i].ch == '0') lastZeroDecimal = decimals;
  }

  double a = std::fabs(v);
  for (int k = 0; k < scaleCommas; ++k) a /= 1000.0;
  std::string intDigits, fracDigits;
  RoundDecimal(a, decimals, intDigits, fracDigits);
  const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;

  // Trailing "#" places after the point drop zero digits.
  size_t shownDecimals = fracDigits.size();
  while (shownDecimals > static_cast<size_t>(lastZeroDecimal) &&
         fracDigits[shownDecimals - 1] == '0') {
    --shownDecimals;
  }
  if (intDigits.size() < static_cast<size_t>(minInt)) {
    intDigits.insert(0, static_cast<size_t>(minInt) - intDigits.size(), '0');
  }

  std::string out;
  if (v < 0 && !isZero) out += '-';

  // Integer part: placeholders take digits from the right; the leftmost one
  // takes whatever is left over.
  const int nd = static_cast<int>(intDigits.size());
  auto emitDigits = [&](int from, int to) {  // [from, to) indices into intDigits
    for (int k = from; k < to; ++k) {
      out += intDigits[static_cast<size_t>(k)];
      const int fromRight = nd - k;  // 1-based position from the right
      if (grouping && fromRight > 1 && (fromRight - 1) % 3 == 0) out += ',';
    }
  };
  int placeholderNo = 0;  // counts integer placeholders from the left
  for (size_t i = 0; i < pointIdx; ++i) {
    const PicToken& t = toks[i];
    if (t.kind == PicToken::Literal) {
      out += t.text;
      continue;
    }
    if (t.kind != PicToken::Digit) continue;
    ++placeholderNo;
    const int fromRightPlace = intPlaces - placeholderNo;  // places to its right
    const int end = nd - fromRightPlace;                  // digits up to here
    if (placeholderNo == 1) {
      if (end > 0) emitDigits(0, end);
    } else if (end >= 1) {
      emitDigits(end - 1, end);
    }
  }
  if (intPlaces == 0 && nd > 0) emitDigits(0, nd);

  if (pointIdx < toks.size()) {
    out += '.';
    size_t fi = 0;
    for (size_t i = pointIdx + 1; i < toks.size(); ++i) {
      const PicToken& t = toks[i];
      if (t.kind == PicToken::Literal) {
        out += t.text;
      } else if (t.kind == PicToken::Digit) {
        if (fi < shownDecimals) out += fracDigits[fi];
        ++fi;
      }
    }
  }
  return out;
}

std::string FormatDate(const DateTime& t, std::string_view pic) {
  struct Tok {
    char letter;  // 0 for literal
    int count;
    std::string text;
  };
  std::vector<Tok> toks;
  for (size_t i = 0; i < pic.size();) {
    const char c = pic[i];
    const char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 'n' || lc == 's') {
      size_t j = i;
      while (j < pic.size() && (pic[j] == c)) ++j;
      toks.push_back({lc, static_cast<int>(j - i), {}});
      i = j;
    } else {
      toks.push_back({0, 0, TakeLiteral(pic, i)});
    }
  }
  std::string out;
  char prevField = 0;
  for (size_t i = 0; i < toks.size(); ++i) {
    const Tok& k = toks[i];
    if (k.letter == 0) {
      out += k.text;
      continue;
    }
    char nextField = 0;
    for (size_t j = i + 1; j < toks.size(); ++j) {
      if (toks[j].letter) {
        nextField = toks[j].letter;
        break;
      }
    }
    auto num = [&](int v, int cnt) { out += cnt >= 2 ? Pad2(v) : std::to_string(v); };
    switch (k.letter) {
      case 'y':
        if (k.count >= 3) {
          char buf[16];
          std::snprintf(buf, sizeof buf, "%04d", t.year);
          out += buf;
        } else {
          out += Pad2(((t.year % 100) + 100) % 100);
        }
        break;
      case 'm':
        // Right after hours or right before seconds "m" means minutes.
        if (k.count <= 2 && (prevField == 'h' || nextField == 's')) {
          num(t.minute, k.count);
        } else {
          num(t.month, k.count);
        }
        break;
      case 'd': num(t.day, k.count); break;
      case 'h': num(t.hour, k.count); break;
      case 'n': num(t.minute, k.count); break;
      case 's': num(t.second, k.count); break;
    }
    prevField = k.letter;
  }
  return out;
}

std::string LTrim(std::string_view s) {
  size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
  size_t i = s.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(0, i + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

int Len(std::string_view s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); i += Utf8CharLen(s, i)) ++n;
  return n;
}

std::string Left(std::string_view s, int n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, ByteOffset(s, n)));
}

std::string Right(std::string_view s, int n) {
  if (n <= 0) return {};
  const int len = Len(s);
  if (n >= len) return std::string(s);
  return std::string(s.substr(ByteOffset(s, len - n)));
}

std::string Mid(std::string_view s, int start) {
  if (start < 1) start = 1;
  return std::string(s.substr(ByteOffset(s, start - 1)));
}

std::string Mid(std::string_view s, int start, int len) {
  if (start < 1) start = 1;
  if (len <= 0) return {};
  const size_t b = ByteOffset(s, start - 1);
  std::string_view rest = s.substr(b);
  return std::string(rest.substr(0, ByteOffset(rest, len)));
}

int InStr(int start, std::string_view s, std::string_view find) {
  if (start < 1) start = 1;
  const int len = Len(s);
  if (start > len) return (find.empty() && start == len + 1) ? start : 0;
  if (find.empty()) return start;
  const size_t b = ByteOffset(s, start - 1);
  // Search character by character so a match never starts inside a
  // character (matters only for malformed UTF-8).
  int pos = start;
  for (size_t i = b; i < s.size(); i += Utf8CharLen(s, i), ++pos) {
    if (s.substr(i, find.size()) == find) return pos;
  }
  return 0;
}

int InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

std::string UCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

std::string LCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return r;
}

}  // namespace zarv
