#include "platform/ui/fonts.h"

#include <QString>

#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv {

std::string FontFamilyFor(const std::string& name) {
  // Fold full-width letters and the ideographic space to ASCII, drop the
  // blanks and ignore case: "ＭＳ Ｐゴシック", "MS PGothic", "ms pゴシック" meet.
  QString key;
  for (QChar ch : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) {
    char16_t u = ch.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E) u = static_cast<char16_t>(u - 0xFEE0);
    if (u == 0x3000 || u == ' ' || u == '\t') continue;
    key.append(QChar(u).toLower());
  }
  static const struct {
    const char* key;
    const char* family;
  } kMap[] = {
      {"msゴシック", "IPAGothic"},    {"msgothic", "IPAGothic"},   {"ipagothic", "IPAGothic"},
      {"mspゴシック", "IPAPGothic"},  {"mspgothic", "IPAPGothic"}, {"ipapgothic", "IPAPGothic"},
      {"ms明朝", "IPAMincho"},        {"msmincho", "IPAMincho"},   {"ipamincho", "IPAMincho"},
      {"msp明朝", "IPAPMincho"},      {"mspmincho", "IPAPMincho"}, {"ipapmincho", "IPAPMincho"},
  };
  for (const auto& m : kMap) {
    if (key == QString::fromUtf8(m.key)) return m.family;
  }
  return "IPAPGothic";
}

std::string AsciiFamilyFor(const std::string& name) {
  const std::string family = FontFamilyFor(name);
  if (family == "IPAPGothic") return "IPAGothic";
  if (family == "IPAPMincho") return "IPAMincho";
  return {};
}

int FontPixelSize(double points) {
  if (!(points > 0)) return 1;  // also NaN
  int px = CheckedTruncate<int>(points * 96.0 / 72.0 + 0.5, true);
  if (px < 1) px = 1;
  return px > 2048 ? 2048 : px;
}

}  // namespace zarv
