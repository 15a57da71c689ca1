#include "platform/runtime/textfile.h"

#include <unistd.h>

#include <algorithm>
#include <unordered_map>

#include "platform/runtime/atomic_file.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/runtime/utf8.h"

namespace zarv {

namespace {

// Length of the line end at data[end] (a CR or LF): the longest of CR CR LF,
// CR LF, LF CR, CR and LF.
size_t LineEndLength(std::string_view data, size_t end) {
  auto at = [&](size_t k, char c) { return end + k < data.size() && data[end + k] == c; };
  if (data[end] == '\r') {
    if (at(1, '\r') && at(2, '\n')) return 3;
    return at(1, '\n') ? 2 : 1;
  }
  return at(1, '\r') ? 2 : 1;
}

constexpr size_t kReadBlock = 64 * 1024;

}  // namespace

std::string_view NextTextLine(std::string_view data, size_t& pos) {
  if (pos >= data.size()) return {};
  const size_t end = data.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) {
    std::string_view line = data.substr(pos);
    pos = data.size();
    return line;
  }
  std::string_view line = data.substr(pos, end - pos);
  pos = end + LineEndLength(data, end);
  return line;
}

TextLineReader::TextLineReader(const std::string& path, int64_t maxBytes, size_t maxLineBytes)
    : maxBytes_(maxBytes), maxLine_(maxLineBytes) {
  fd_ = OpenForReading(path, maxBytes);
  ok_ = fd_ >= 0;
  eof_ = !ok_;
}

TextLineReader::TextLineReader(std::string_view text) : data_(text) {}

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) close(fd_);
}

std::string_view TextLineReader::Peek() {
  if (!Locate()) return {};
  return data_.substr(pos_, lineEnd_ - pos_);
}

std::string_view TextLineReader::Next() {
  if (!Locate()) return {};
  const std::string_view line = data_.substr(pos_, lineEnd_ - pos_);
  pos_ = next_;
  located_ = false;
  return line;
}

bool TextLineReader::Locate() {
  if (located_) return true;
  size_t from = pos_;
  for (;;) {
    const size_t end = data_.find_first_of("\r\n", from);
    // A line end is known once the two bytes after its first are in.
    if (end != std::string_view::npos && (eof_ || end + 2 < data_.size())) {
      lineEnd_ = end;
      next_ = end + LineEndLength(data_, end);
      located_ = true;
      return true;
    }
    if (eof_) {
      if (pos_ >= data_.size()) return false;
      lineEnd_ = next_ = data_.size();
      located_ = true;
      return true;
    }
    if (end == std::string_view::npos) {
      from = data_.size();
      if (from - pos_ > maxLine_) {
        buf_.resize(pos_ + maxLine_);
        from = buf_.size();
        skipping_ = true;
      }
    } else {
      from = end;
    }
    from -= pos_;  // Fill moves the line to the start of the buffer
    Fill();
    from = std::min(from, data_.size());
  }
}

void TextLineReader::Fill() {
  buf_.erase(0, pos_);
  pos_ = 0;
  for (;;) {
    const size_t had = buf_.size();
    buf_.resize(had + kReadBlock);
    const long got = ReadSome(fd_, buf_.data() + had, kReadBlock);
    buf_.resize(had + static_cast<size_t>(std::max(got, 0L)));
    readBytes_ += std::max(got, 0L);
    if (got <= 0 || readBytes_ > maxBytes_) {
      // The end, a failed read, or a file that grew past its limit.
      if (got < 0 || readBytes_ > maxBytes_) ok_ = false;
      eof_ = true;
      close(fd_);
      fd_ = -1;
      break;
    }
    if (!skipping_) break;
    // The rest of an overlong line is dropped up to its line end.
    const size_t end = buf_.find_first_of("\r\n", had);
    if (end == std::string::npos) {
      buf_.resize(had);
      continue;
    }
    buf_.erase(had, end - had);
    skipping_ = false;
    break;
  }
  data_ = buf_;
}

namespace {
bool StartsWithMark(std::string_view s) { return s.substr(0, kUtf8Mark.size()) == kUtf8Mark; }
}  // namespace

namespace {

// The texts of a file's lines, from their bytes.
std::vector<std::string> DecodedLines(const std::vector<std::string>& raw) {
  // A marked line reads the same either way, whatever its bytes: only the
  // others decide.
  const bool utf8 = !raw.empty() && StartsWithMark(raw.front()) &&
                    std::all_of(raw.begin(), raw.end(),
                                [](const std::string& l) { return StartsWithMark(l) || IsValidUtf8(l); });
  std::vector<std::string> lines;
  lines.reserve(raw.size());
  for (const std::string& line : raw) {
    if (!utf8) {
      lines.push_back(FileLineToUtf8(line));
    } else {
      lines.push_back(StartsWithMark(line) ? line.substr(kUtf8Mark.size()) : line);
    }
  }
  return lines;
}

}  // namespace

TextFileLines ReadTextFileLines(const std::string& path, bool* ok, int64_t maxBytes, size_t maxLines) {
  TextLineReader in(path, maxBytes);
  TextFileLines file;
  while (file.Bytes.size() < maxLines && !in.AtEnd()) file.Bytes.emplace_back(in.Next());
  if (ok) *ok = in.Ok();
  if (!in.Ok()) return {};
  file.Text = DecodedLines(file.Bytes);
  return file;
}

std::vector<std::string> ReadTextLines(const std::string& path, bool* ok, int64_t maxBytes, size_t maxLines) {
  return ReadTextFileLines(path, ok, maxBytes, maxLines).Text;
}

std::string FirstTextLine(const std::string& path, int64_t maxBytes, bool* ok) {
  TextLineReader in(path, maxBytes);
  const std::string line = in.AtEnd() ? std::string() : FileLineToUtf8(in.Next());
  if (ok) *ok = in.Ok();
  return in.Ok() ? line : std::string();
}

namespace {

std::vector<std::string> EncodedLines(const std::vector<std::string>& lines, const TextFileLines* kept) {
  std::unordered_map<std::string_view, size_t> first;  // each kept text's first line
  const size_t keptCount = kept ? std::min(kept->Text.size(), kept->Bytes.size()) : 0;
  for (size_t i = keptCount; i-- > 0;) first[kept->Text[i]] = i;
  std::vector<std::string> written;
  written.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t from = i;
    if (i >= keptCount || kept->Text[i] != lines[i]) {
      const auto it = first.find(lines[i]);
      from = it == first.end() ? SIZE_MAX : it->second;
    }
    written.push_back(from != SIZE_MAX ? kept->Bytes[from] : Utf8ToCp932Exact(lines[i]));
  }
  // A file that begins with the mark and is UTF-8 throughout reads as UTF-8:
  // a cp932 line whose bytes pass for other UTF-8 (a kanji before a
  // half-width kana may) would come back changed, so it goes marked too.
  if (!written.empty() && StartsWithMark(written.front())) {
    for (size_t i = 1; i < written.size(); ++i) {
      if (!StartsWithMark(written[i]) && written[i] != lines[i] && IsValidUtf8(written[i]))
        written[i] = std::string(kUtf8Mark).append(lines[i]);
    }
  }
  return written;
}

std::string TextLinesBytes(const std::vector<std::string>& lines, const TextFileLines* kept) {
  std::vector<std::string> written = EncodedLines(lines, kept);
  // Kept bytes can change how the file as a whole reads (a UTF-8 file among
  // cp932 lines): then the lines go as they would without them.
  if (kept && DecodedLines(written) != lines) written = EncodedLines(lines, nullptr);
  std::string bytes;
  for (const std::string& line : written) bytes.append(line).append("\r\n");
  return bytes;
}

bool WriteBytesWithin(const std::string& path, const std::string& bytes, int64_t maxBytes, bool* tooLarge) {
  const bool over = static_cast<int64_t>(bytes.size()) > maxBytes;
  if (tooLarge) *tooLarge = over;
  return !over && AtomicWriteBytes(path, bytes);
}
}  // namespace

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, int64_t maxBytes,
                    bool* tooLarge) {
  return WriteBytesWithin(path, TextLinesBytes(lines, nullptr), maxBytes, tooLarge);
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, const TextFileLines& kept,
                    int64_t maxBytes, bool* tooLarge) {
  return WriteBytesWithin(path, TextLinesBytes(lines, &kept), maxBytes, tooLarge);
}

bool RewriteTextLines(const std::string& path, const std::vector<std::string>& lines, int64_t maxBytes,
                      bool* tooLarge) {
  return WriteTextLines(path, lines, ReadTextFileLines(path, nullptr, maxBytes, lines.size()), maxBytes, tooLarge);
}

int64_t TextLinesSize(const std::vector<std::string>& lines) {
  return static_cast<int64_t>(TextLinesBytes(lines, nullptr).size());
}

}  // namespace zarv
