#include "platform/runtime/textfile.h"

#include <unistd.h>

#include <algorithm>
#include <map>

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

struct OpenFile {
  OpenMode mode = OpenMode::Input;
  std::string path;
  // Text read, or to be written at the close.
  std::vector<std::string> lines;
  size_t nextLine = 0;
  // Binary.
  std::string data;
  size_t pos = 0;

  bool writing() const { return mode == OpenMode::Output || mode == OpenMode::Append; }
};

// Whether a rewrite of path may start: the writer's own tests, made now so
// that an open for writing fails where the close would.
bool MayRewrite(const std::string& path) {
  const std::string target = ReplacedFile(path);
  std::string temp;
  const int fd = target.empty() ? -1 : CreateTempBeside(target, temp);
  if (fd < 0) return false;
  DiscardTemp(fd, temp);
  return true;
}

}  // namespace

struct FileTable::Impl {
  std::map<int, OpenFile> files;

  OpenFile* Find(int n) {
    auto it = files.find(n);
    return it == files.end() ? nullptr : &it->second;
  }
};

FileTable::FileTable() : impl_(std::make_unique<Impl>()) {}

FileTable::~FileTable() { static_cast<void>(CloseAll()); }

bool FileTable::Open(int n, const std::string& path, OpenMode mode) {
  if (!Close(n)) return false;  // the earlier file's failure must not pass unseen
  OpenFile f;
  f.mode = mode;
  f.path = path;
  bool ok = true;
  if (mode == OpenMode::Binary) {
    f.data = ReadAllBytes(path, &ok);
  } else if (mode == OpenMode::Input) {
    f.lines = ReadTextLines(path, &ok);
  } else {
    ok = MayRewrite(path);
    // Never replace a file whose lines could not be taken over.
    if (ok && mode == OpenMode::Append && FileExists(path)) f.lines = ReadTextLines(path, &ok);
  }
  if (!ok) return false;
  impl_->files.emplace(n, std::move(f));
  return true;
}

bool FileTable::IsOpen(int n) const { return impl_->files.count(n) != 0; }

std::string FileTable::LineInput(int n) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->mode != OpenMode::Input || f->nextLine >= f->lines.size()) return {};
  return std::move(f->lines[f->nextLine++]);
}

void FileTable::Print(int n, std::string_view utf8line) {
  OpenFile* f = impl_->Find(n);
  if (f && f->writing()) f->lines.emplace_back(utf8line);
}

void FileTable::PrintNumber(int n, double v) { Print(n, Str(v)); }

bool FileTable::Eof(int n) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->writing()) return true;
  return f->mode == OpenMode::Binary ? f->pos >= f->data.size() : f->nextLine >= f->lines.size();
}

std::string FileTable::ReadBlock(int n, size_t bytes) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->mode != OpenMode::Binary || f->pos >= f->data.size()) return {};
  std::string block = f->data.substr(f->pos, bytes);
  f->pos += block.size();
  return block;
}

bool FileTable::Close(int n) {
  auto it = impl_->files.find(n);
  if (it == impl_->files.end()) return true;
  OpenFile f = std::move(it->second);
  impl_->files.erase(it);
  return !f.writing() || WriteTextLines(f.path, f.lines);
}

bool FileTable::CloseAll() {
  bool ok = true;
  while (!impl_->files.empty()) {
    ok = Close(impl_->files.begin()->first) && ok;
  }
  return ok;
}

FileTable& Files() {
  static FileTable table;
  return table;
}

namespace {
bool StartsWithMark(std::string_view s) { return s.substr(0, kUtf8Mark.size()) == kUtf8Mark; }
}  // namespace

std::vector<std::string> ReadTextLines(const std::string& path, bool* ok, int64_t maxBytes, size_t maxLines) {
  TextLineReader in(path, maxBytes);
  std::vector<std::string> raw;
  while (raw.size() < maxLines && !in.AtEnd()) raw.emplace_back(in.Next());
  if (ok) *ok = in.Ok();
  if (!in.Ok()) return {};
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

std::string FirstTextLine(const std::string& path, int64_t maxBytes, bool* ok) {
  TextLineReader in(path, maxBytes);
  const std::string line = in.AtEnd() ? std::string() : FileLineToUtf8(in.Next());
  if (ok) *ok = in.Ok();
  return in.Ok() ? line : std::string();
}

namespace {
std::string TextLinesBytes(const std::vector<std::string>& lines) {
  std::vector<std::string> written;
  written.reserve(lines.size());
  for (const std::string& line : lines) written.push_back(Utf8ToCp932Exact(line));
  // A file that begins with the mark and is UTF-8 throughout reads as UTF-8:
  // a cp932 line whose bytes pass for other UTF-8 (a kanji before a
  // half-width kana may) would come back changed, so it goes marked too.
  if (!written.empty() && StartsWithMark(written.front())) {
    for (size_t i = 1; i < written.size(); ++i) {
      if (!StartsWithMark(written[i]) && written[i] != lines[i] && IsValidUtf8(written[i]))
        written[i] = std::string(kUtf8Mark).append(lines[i]);
    }
  }
  std::string bytes;
  for (const std::string& line : written) bytes.append(line).append("\r\n");
  return bytes;
}
}  // namespace

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, int64_t maxBytes,
                    bool* tooLarge) {
  const std::string bytes = TextLinesBytes(lines);
  const bool over = static_cast<int64_t>(bytes.size()) > maxBytes;
  if (tooLarge) *tooLarge = over;
  return !over && AtomicWriteBytes(path, bytes);
}

int64_t TextLinesSize(const std::vector<std::string>& lines) {
  return static_cast<int64_t>(TextLinesBytes(lines).size());
}

}  // namespace zarv
