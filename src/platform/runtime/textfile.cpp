#include "platform/runtime/textfile.h"

#include <unistd.h>

#include <algorithm>
#include <unordered_map>
#include <utility>

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
    // A line end is known once the two bytes after its first are in. A
    // line longer than the limit is cut here too, wherever it lies in the
    // buffer.
    if (end != std::string_view::npos && (eof_ || end + 2 < data_.size())) {
      lineEnd_ = std::min(end, pos_ + maxLine_);
      next_ = end + LineEndLength(data_, end);
      located_ = true;
      return true;
    }
    if (eof_) {
      if (pos_ >= data_.size()) return false;
      lineEnd_ = std::min(data_.size(), pos_ + maxLine_);
      next_ = data_.size();
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

// How a file reads as a whole, taken a line at a time: as UTF-8 when its
// first line is marked and every unmarked line is UTF-8 (as an editor saves
// it), else line by line as cp932. A marked line reads the same either way,
// whatever its bytes: only the others decide.
class FileReading {
 public:
  void Add(std::string_view line) {
    if (first_) marked_ = StartsWithMark(line), first_ = false;
    if (utf8Lines_ && !StartsWithMark(line) && !IsValidUtf8(line)) utf8Lines_ = false;
  }
  bool Utf8() const { return !first_ && marked_ && utf8Lines_; }
  // No later line can change the reading.
  bool Settled() const { return !first_ && !Utf8(); }

 private:
  bool first_ = true, marked_ = false, utf8Lines_ = true;
};

std::string LineText(std::string_view line, bool utf8) {
  if (!utf8) return FileLineToUtf8(line);
  return std::string(StartsWithMark(line) ? line.substr(kUtf8Mark.size()) : line);
}

bool ReadsAsUtf8(const std::vector<std::string>& raw) {
  FileReading reading;
  for (const std::string& line : raw) reading.Add(line);
  return reading.Utf8();
}

// The texts of a whole file's lines, from their bytes.
std::vector<std::string> DecodedLines(const std::vector<std::string>& raw) {
  const bool utf8 = ReadsAsUtf8(raw);
  std::vector<std::string> lines;
  lines.reserve(raw.size());
  for (const std::string& line : raw) lines.push_back(LineText(line, utf8));
  return lines;
}

}  // namespace

TextFileLines ReadTextFileLines(const std::string& path, bool* ok, int64_t maxBytes, size_t maxLines) {
  TextLineReader in(path, maxBytes);
  TextFileLines file;
  FileReading reading;
  while (file.Bytes.size() < maxLines && !in.AtEnd()) {
    file.Bytes.emplace_back(in.Next());
    reading.Add(file.Bytes.back());
  }
  // The lines not taken still decide how the taken ones read.
  while (!reading.Settled() && !in.AtEnd()) reading.Add(in.Next());
  if (ok) *ok = in.Ok();
  if (!in.Ok()) return {};
  file.Utf8 = reading.Utf8();
  file.Text.reserve(file.Bytes.size());
  for (const std::string& line : file.Bytes) file.Text.push_back(LineText(line, file.Utf8));
  return file;
}

std::vector<std::string> ReadTextLines(const std::string& path, bool* ok, int64_t maxBytes, size_t maxLines) {
  return ReadTextFileLines(path, ok, maxBytes, maxLines).Text;
}

std::string FirstTextLine(const std::string& path, int64_t maxBytes, bool* ok) {
  // Line 1 reads the same in a file read either way.
  TextLineReader in(path, maxBytes);
  const std::string line = in.AtEnd() ? std::string() : FileLineToUtf8(in.Next());
  if (ok) *ok = in.Ok();
  return in.Ok() ? line : std::string();
}

namespace {

// Each line's bytes: those of the kept line that reads as it (the one at
// the same position first), else its own (Utf8ToCp932Exact). *keptFrom
// gets the kept line each came from, SIZE_MAX for none.
std::vector<std::string> EncodedLines(const std::vector<std::string>& lines, const TextFileLines* kept,
                                      std::vector<size_t>* keptFrom) {
  std::unordered_map<std::string_view, size_t> first;  // each kept text's first line
  const size_t keptCount = kept ? std::min(kept->Text.size(), kept->Bytes.size()) : 0;
  for (size_t i = keptCount; i-- > 0;) first[kept->Text[i]] = i;
  std::vector<std::string> written;
  written.reserve(lines.size());
  keptFrom->assign(lines.size(), SIZE_MAX);
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t from = i;
    if (i >= keptCount || kept->Text[i] != lines[i]) {
      const auto it = first.find(lines[i]);
      from = it == first.end() ? SIZE_MAX : it->second;
    }
    (*keptFrom)[i] = from;
    written.push_back(from != SIZE_MAX ? kept->Bytes[from] : Utf8ToCp932Exact(lines[i]));
  }
  return written;
}

// The lines made to read as UTF-8: line 1 marked, and every other line that
// would not read as its text there marked too (a cp932 line whose bytes
// pass for other UTF-8: a kanji before a half-width kana may). Always
// gives the lines back.
std::vector<std::string> AsUtf8File(std::vector<std::string> written, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < written.size(); ++i) {
    std::string& w = written[i];
    if (StartsWithMark(w)) continue;  // reads as its text in any file
    if (i == 0 || w != lines[i] || !IsValidUtf8(w)) w = std::string(kUtf8Mark).append(lines[i]);
  }
  return written;
}

// The lines made to read as cp932: a line that would read otherwise there
// takes its own bytes. Where the file would still read as UTF-8, one more
// line does: line 1 if its own bytes are unmarked, or one whose own bytes
// UTF-8 cannot read, a line not kept in its own place first. Empty where
// no line can.
std::vector<std::string> AsCp932File(std::vector<std::string> written, const std::vector<std::string>& lines,
                                     const std::vector<size_t>& keptFrom) {
  for (size_t i = 0; i < written.size(); ++i)
    if (FileLineToUtf8(written[i]) != lines[i]) written[i] = Utf8ToCp932Exact(lines[i]);
  if (!ReadsAsUtf8(written)) return written;
  for (const bool anyPlace : {false, true}) {
    for (size_t i = 0; i < written.size(); ++i) {
      if (!anyPlace && keptFrom[i] == i) continue;
      std::string own = Utf8ToCp932Exact(lines[i]);
      if (!StartsWithMark(own) && (i == 0 || !IsValidUtf8(own))) {
        written[i] = std::move(own);
        return written;
      }
    }
  }
  return {};
}

std::string TextLinesBytes(const std::vector<std::string>& lines, const TextFileLines* kept) {
  std::vector<size_t> keptFrom;
  const std::vector<std::string> own = EncodedLines(lines, kept, &keptFrom);
  // The lines set can change how the file as a whole reads: a cp932 line
  // among a UTF-8 file's lines, or a cp932 file's last line that UTF-8
  // cannot read set to one it can, behind a marked first line. Then the
  // file reads the way that keeps the most kept lines' bytes (then the most
  // in their own places, then its old way): every line a rewrite does not
  // set comes back as it was wherever one way can read them all.
  std::vector<std::string> written = own;
  if (DecodedLines(written) != lines) {
    auto keptLines = [&](const std::vector<std::string>& w) {
      std::pair<size_t, size_t> n{0, 0};  // kept, of them in their own places
      for (size_t i = 0; i < w.size(); ++i) {
        if (keptFrom[i] == SIZE_MAX || w[i] != kept->Bytes[keptFrom[i]]) continue;
        ++n.first;
        n.second += keptFrom[i] == i;
      }
      return n;
    };
    const bool wasUtf8 = kept != nullptr && kept->Utf8;
    std::vector<std::string> asUtf8 = AsUtf8File(own, lines), asCp932 = AsCp932File(own, lines, keptFrom);
    if (asCp932.empty()) {
      written = std::move(asUtf8);
    } else {
      const auto utf8Kept = keptLines(asUtf8), cp932Kept = keptLines(asCp932);
      const bool utf8 = utf8Kept != cp932Kept ? utf8Kept > cp932Kept : wasUtf8;
      written = std::move(utf8 ? asUtf8 : asCp932);
    }
  }
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

}  // namespace zarv
