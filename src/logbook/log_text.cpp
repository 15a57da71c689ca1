#include "logbook/log_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/runtime/text.h"

namespace zarv::records {

namespace {

char* Put(char* p, const std::string& text) {
  for (char c : text) *p++ = c;
  return p;
}

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

char* PutFixed(char* p, double v, int decimals) {
  if (!std::isfinite(v) || decimals < 0 || decimals > 6) return Put(p, Format(v, decimals == 3 ? "0.000" : "0.00"));
  const double a = std::fabs(v);
  char digits[48];
  int count = 0;  // digits of the rounded value a x 10^decimals
  unsigned long long m = 0;
  int k = 0;
  if (a != 0 && decimals <= 3 && ShortDecimal(a, m, k)) {
    // a = m / 10^k exactly in its 15-digit form: round that at `decimals`.
    for (; k < decimals; ++k) m *= 10;
    if (k > decimals) {
      unsigned long long div = 1;
      for (int i = decimals; i < k; ++i) div *= 10;
      const unsigned long long rest = m % div;
      m = m / div + (rest * 2 >= div ? 1 : 0);
    }
    char rev[24];
    int n = 0;
    for (; m > 0; m /= 10) rev[n++] = static_cast<char>('0' + m % 10);
    for (int i = n - 1; i >= 0; --i) digits[count++] = rev[i];
  } else if (a != 0) {
    // The 15-digit decimal form: the shortest digits that read back as a
    // when there are no more than 15 of them (then they are its rounding),
    // else the digits printed with that precision.
    char buf[48];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    char sig[24];
    int n = 0;
    const char* q = buf;
    for (; q != res.ptr && *q != 'e'; ++q)
      if (*q != '.') sig[n++] = *q;
    if (n > 15 || a < 1e-300) {
      res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
      n = 0;
      for (q = buf; q != res.ptr && *q != 'e'; ++q)
        if (*q != '.') sig[n++] = *q;
    }
    int exp10 = 0;
    std::from_chars(q + 1 + (q[1] == '+' ? 1 : 0), res.ptr, exp10);
    const int keep = exp10 + 1 + decimals;
    if (keep > 40) return Put(p, Format(v, decimals == 3 ? "0.000" : "0.00"));
    if (keep >= 0) {
      for (int i = 0; i < keep; ++i) digits[count++] = i < n ? sig[i] : '0';
      if (keep < n && sig[keep] >= '5') {
        int i = count - 1;
        for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
        if (i >= 0) {
          ++digits[i];
        } else {
          for (int j = count; j > 0; --j) digits[j] = digits[j - 1];
          digits[0] = '1';
          ++count;
        }
      }
    }
  }
  bool zero = true;
  for (int i = 0; i < count; ++i)
    if (digits[i] != '0') zero = false;
  if (!zero && v < 0) *p++ = '-';
  // digits hold a x 10^decimals; at least one digit goes before the point.
  const int pad = count < decimals + 1 ? decimals + 1 - count : 0;
  const int total = count + pad;
  for (int i = 0; i < total; ++i) {
    if (i == total - decimals) *p++ = '.';
    *p++ = i < pad ? '0' : digits[i - pad];
  }
  return p;
}

char* PutStr(char* p, double v) {
  // The record's values are short decimals: their Str form is made here,
  // digits two at a time; anything else goes through Str itself.
  unsigned long long m = 0;
  int k = 0;
  if (v == 0 || !(std::fabs(v) >= 1e-4) || !ShortDecimal(v, m, k)) return Put(p, Str(v));
  // m's digits from the right, at least k + 1 of them.
  char digits[24];
  int n = 0;
  while (m >= 100) {
    const auto r = static_cast<unsigned>(m % 100);
    m /= 100;
    digits[n++] = kPairs[2 * r + 1];
    digits[n++] = kPairs[2 * r];
  }
  if (m >= 10) {
    digits[n++] = kPairs[2 * m + 1];
    digits[n++] = kPairs[2 * m];
  } else {
    digits[n++] = static_cast<char>('0' + m);
  }
  while (n <= k) digits[n++] = '0';
  *p++ = v < 0 ? '-' : ' ';
  // No digit before the point below 1.
  if (!(n == k + 1 && digits[n - 1] == '0'))
    for (int i = n - 1; i >= k; --i) *p++ = digits[i];
  if (k > 0) {
    *p++ = '.';
    for (int i = k - 1; i >= 0; --i) *p++ = digits[i];
  }
  return p;
}

void AppendFixed(std::string& out, double v, int decimals) {
  if (std::fabs(v) >= 1e40 && std::isfinite(v)) {
    out += Format(v, decimals == 3 ? "0.000" : "0.00");
    return;
  }
  char buf[kNumberTextRoom];
  out.append(buf, PutFixed(buf, v, decimals));
}

std::string FormatFixed(double v, int decimals) {
  std::string s;
  AppendFixed(s, v, decimals);
  return s;
}

std::string FormatStr(double v) {
  char buf[kNumberTextRoom];
  return std::string(buf, PutStr(buf, v));
}

double FieldValue(const char* begin, const char* end) {
  const char* p = begin;
  if (p != end && *p == ' ') ++p;
  // Quick path: -?digits*(.digits*)? with at least one digit, nothing after.
  const char* q = p;
  if (q != end && *q == '-') ++q;
  bool digit = false, plain = true;
  for (const char* c = q; c != end; ++c) {
    if (*c >= '0' && *c <= '9') {
      digit = true;
    } else if (*c != '.') {
      plain = false;
      break;
    }
  }
  if (plain && digit) {
    double v = 0;
    const auto res = std::from_chars(p, end, v);
    if (res.ec == std::errc() && res.ptr == end) return v;
  }
  return Val(std::string_view(begin, static_cast<size_t>(end - begin)));
}

double LogValue(double v) {
  if (std::isnan(v)) return 0;
  return std::clamp(v, -kLogValueLimit, kLogValueLimit);
}

}  // namespace zarv::records
