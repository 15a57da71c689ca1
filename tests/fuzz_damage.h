// Seeded damage for the readers' fuzz tests: a good file changed in the ways
// files get damaged (line ends doubled or lost, cut short, bytes changed,
// numbers no writer makes). The same seed gives the same inputs on every run.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace zarv::testing {

// text with every CR LF changed into end, as a file's line ends get changed
// on its way (doubled, or one kind only).
inline std::string WithLineEnds(const std::string& text, std::string_view end) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.append(end);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

class Damage {
 public:
  explicit Damage(uint32_t seed) : rng_(seed) {}

  // One to four changes of text.
  std::string operator()(std::string text) {
    const int changes = Pick(4) + 1;
    for (int i = 0; i < changes; ++i) Change(text);
    return text;
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
  size_t At(const std::string& text) { return text.empty() ? 0 : rng_() % (text.size() + 1); }

  void Change(std::string& text) {
    static constexpr std::string_view kTokens[] = {
        "\r",   "\n",      "\r\r\n",    "\n\r",       ",",         ",,,,",   "-",       ".",
        "e",    "1e400",   "-1E+999",   "nan",        "inf",       "1e308",  "-0",      "2147483648",
        "-2147483649",     "99999999999999999999999", "1E+12",     " ",      "\x81",    "\xff\xfe",
        std::string_view("\0", 1), "0.05,",   std::string_view("\r\n\r\n"), "機体各部の座標", "'=データ行数"};
    switch (Pick(7)) {
      case 0:
        if (!text.empty()) text[At(text) % text.size()] = static_cast<char>(rng_());
        break;
      case 1: {
        const std::string_view t = kTokens[Pick(static_cast<int>(std::size(kTokens)))];
        text.insert(At(text), t.data(), t.size());
        break;
      }
      case 2: {
        const size_t from = At(text);
        text.erase(from, static_cast<size_t>(Pick(40)));
        break;
      }
      case 3: {
        const size_t from = At(text);
        const std::string piece = text.substr(from, static_cast<size_t>(Pick(200)));
        text.insert(At(text), piece);
        break;
      }
      case 4:
        text.resize(At(text));
        break;
      case 5: {
        // Every line end of the file changed on its way: doubled, or one kind only.
        static constexpr std::string_view kEnds[] = {"\r\r\n", "\n\r", "\r", "\n", "\r\n\r\n"};
        text = WithLineEnds(text, kEnds[Pick(static_cast<int>(std::size(kEnds)))]);
        break;
      }
      default: {
        // A number replaced by one no writer makes.
        const size_t digit = text.find_first_of("0123456789", At(text));
        if (digit == std::string::npos) break;
        const std::string_view t = kTokens[9 + Pick(10)];
        text.replace(digit, 1, t.data(), t.size());
        break;
      }
    }
  }

  std::mt19937 rng_;
};

}  // namespace zarv::testing
