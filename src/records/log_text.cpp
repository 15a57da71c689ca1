#include "records/log_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/runtime/text.h"

namespace zarv::records {

void AppendFixed(std::string& out, double v, int decimals) {
  if (!std::isfinite(v) || decimals < 0 || decimals > 6) {
    out += Format(v, decimals == 3 ? "0.000" : "0.00");
    return;
  }
  const double a = std::fabs(v);
  char digits[48];
  int count = 0;  // digits of the rounded value a x 10^decimals
  if (a != 0) {
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    // buf: d.ddddddddddddddE+xx
    char sig[16];
    int n = 0;
    const char* p = buf;
    for (; p != res.ptr && *p != 'e'; ++p)
      if (*p != '.') sig[n++] = *p;
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
    const int keep = exp10 + 1 + decimals;
    if (keep > 40) {
      out += Format(v, decimals == 3 ? "0.000" : "0.00");
      return;
    }
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
  if (!zero && v < 0) out += '-';
  // digits hold a x 10^decimals; at least one digit goes before the point.
  const int pad = count < decimals + 1 ? decimals + 1 - count : 0;
  const int total = count + pad;
  for (int i = 0; i < total; ++i) {
    if (i == total - decimals) out += '.';
    out += i < pad ? '0' : digits[i - pad];
  }
}

std::string FormatFixed(double v, int decimals) {
  std::string s;
  AppendFixed(s, v, decimals);
  return s;
}

void AppendStr(std::string& out, double v) { out += Str(v); }

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

}  // namespace zarv::records
