#include "platform/runtime/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/runtime/utf8.h"

namespace zarv {

namespace {

// One converter per direction and thread; opening iconv for every line of a
// long flight log would dominate the reading time.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Input bytes handed to iconv at a time. glibc's work at a character it
// cannot write grows with the input it was handed, so handing it the rest of
// the text at every such character cost the square of the length.
constexpr size_t kConvertWindow = 256;

// Runs the converter over in, calling onBad(offset) for each input position
// it cannot convert; onBad appends a replacement and returns how many input
// bytes to skip.
template <typename OnBad>
std::string Convert(iconv_t cd, std::string_view in, OnBad onBad) {
  std::string out;
  out.reserve(in.size() * 3 / 2 + 8);
  char buf[4096];
  size_t pos = 0;
  while (pos < in.size()) {
    const size_t window = std::min(in.size() - pos, kConvertWindow);
    const bool last = pos + window == in.size();
    char* src = const_cast<char*>(in.data() + pos);
    size_t srcLeft = window;
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    out.append(buf, static_cast<size_t>(dst - buf));
    const size_t done = window - srcLeft;
    pos += done;
    if (r != static_cast<size_t>(-1) || err == E2BIG) continue;
    // A character cut by the window's end is taken whole by the next one.
    if (err == EINVAL && !last && done > 0) continue;
    // EILSEQ or EINVAL (truncated at the end): replace and go on.
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    pos += onBad(out, pos);
  }
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  thread_local Converter conv("UTF-8", "CP932");
  if (!conv.ok()) return std::string(bytes);
  return Convert(conv.get(), bytes, [](std::string& out, size_t) -> size_t {
    out += "\xEF\xBF\xBD";  // U+FFFD
    return 1;
  });
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local Converter conv("CP932", "UTF-8");
  if (!conv.ok()) return std::string(utf8);
  return Convert(conv.get(), utf8, [utf8](std::string& out, size_t at) -> size_t {
    out += '?';
    return Utf8CharLen(utf8, at);
  });
}

std::string Utf8ToCp932Exact(std::string_view utf8) {
  std::string bytes = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(bytes) == utf8) return bytes;
  bytes.assign(kUtf8Mark);
  bytes.append(utf8);
  return bytes;
}

std::string FileLineToUtf8(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return Cp932ToUtf8(bytes);
  // Its bytes as they are, bad ones too: a name the file system gave comes
  // back as those bytes, and a cut character costs only itself, not the line.
  return std::string(bytes.substr(kUtf8Mark.size()));
}

std::string ShownName(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  // Each part of a path on its own: a folder named in UTF-8 above a file
  // named in cp932 shows both.
  std::string shown;
  size_t start = 0;
  for (;;) {
    const size_t slash = bytes.find('/', start);
    const std::string_view part = bytes.substr(start, slash == std::string_view::npos ? slash : slash - start);
    shown += IsValidUtf8(part) ? std::string(part) : Cp932ToUtf8(part);
    if (slash == std::string_view::npos) return shown;
    shown += '/';
    start = slash + 1;
  }
}

}  // namespace zarv
