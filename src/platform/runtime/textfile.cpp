#include "platform/runtime/textfile.h"

#include <map>

#include "platform/runtime/atomic_file.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"

namespace zarv {

std::string_view NextTextLine(std::string_view data, size_t& pos) {
  if (pos >= data.size()) return {};
  const size_t end = data.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) {
    std::string_view line = data.substr(pos);
    pos = data.size();
    return line;
  }
  std::string_view line = data.substr(pos, end - pos);
  auto at = [&](size_t k, char c) { return end + k < data.size() && data[end + k] == c; };
  size_t endLength = 1;
  if (data[end] == '\r') {
    if (at(1, '\r') && at(2, '\n')) {
      endLength = 3;
    } else if (at(1, '\n')) {
      endLength = 2;
    }
  } else if (at(1, '\r')) {
    endLength = 2;
  }
  pos = end + endLength;
  return line;
}

namespace {

constexpr size_t kFlushAt = 64 * 1024;

struct OpenFile {
  OpenMode mode = OpenMode::Input;
  std::string path;
  // Reading.
  std::string data;
  size_t pos = 0;
  // Writing.
  int fd = -1;
  std::string tempPath;
  std::string pending;
  bool failed = false;

  bool writing() const { return mode == OpenMode::Output || mode == OpenMode::Append; }

  void Write(std::string_view bytes) {
    if (failed) return;
    pending.append(bytes);
    if (pending.size() >= kFlushAt) Flush();
  }
  void Flush() {
    if (!failed && !pending.empty() && !WriteAllFd(fd, pending)) failed = true;
    pending.clear();
  }
};

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
  f.path = mode == OpenMode::Output || mode == OpenMode::Append ? ReplacedFile(path) : path;
  if (mode == OpenMode::Input || mode == OpenMode::Binary) {
    bool ok = false;
    f.data = ReadAllBytes(path, &ok);
    if (!ok) return false;
  } else {
    std::string old;
    if (mode == OpenMode::Append && FileExists(f.path)) {
      bool ok = false;
      old = ReadAllBytes(f.path, &ok);
      if (!ok) return false;  // never replace a file we could not copy
    }
    f.fd = CreateTempBeside(f.path, f.tempPath);
    if (f.fd < 0) return false;
    f.Write(old);
  }
  impl_->files.emplace(n, std::move(f));
  return true;
}

bool FileTable::IsOpen(int n) const { return impl_->files.count(n) != 0; }

std::string FileTable::LineInput(int n) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->writing()) return {};
  return Cp932ToUtf8(NextTextLine(f->data, f->pos));
}

void FileTable::Print(int n, std::string_view utf8line) {
  OpenFile* f = impl_->Find(n);
  if (!f || !f->writing()) return;
  f->Write(Utf8ToCp932(utf8line));
  f->Write("\r\n");
}

void FileTable::PrintNumber(int n, double v) { Print(n, Str(v)); }

bool FileTable::Eof(int n) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->writing()) return true;
  return f->pos >= f->data.size();
}

std::string FileTable::ReadBlock(int n, size_t bytes) {
  OpenFile* f = impl_->Find(n);
  if (!f || f->writing() || f->pos >= f->data.size()) return {};
  std::string block = f->data.substr(f->pos, bytes);
  f->pos += block.size();
  return block;
}

bool FileTable::Close(int n) {
  auto it = impl_->files.find(n);
  if (it == impl_->files.end()) return true;
  OpenFile f = std::move(it->second);
  impl_->files.erase(it);
  if (!f.writing()) return true;
  f.Flush();
  if (f.failed) {
    DiscardTemp(f.fd, f.tempPath);
    return false;
  }
  return CommitTemp(f.fd, f.tempPath, f.path);
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

std::vector<std::string> ReadTextLines(const std::string& path, bool* ok, int64_t maxBytes) {
  std::vector<std::string> lines;
  bool good = false;
  const std::string data = ReadAllBytes(path, &good, maxBytes);
  if (ok) *ok = good;
  size_t pos = 0;
  while (pos < data.size()) lines.push_back(Cp932ToUtf8(NextTextLine(data, pos)));
  return lines;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += Utf8ToCp932(line);
    bytes += "\r\n";
  }
  return AtomicWriteBytes(path, bytes);
}

}  // namespace zarv
