// The program's text files: cp932 with CR LF on disk, UTF-8 in the
// program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/files.h"

namespace zarv {

// The line of data that starts at pos, without its line end; pos moves past
// the line end. A line end is the longest of CR CR LF, CR LF, LF CR, CR and
// LF that starts there: a file whose line ends were doubled on the way (CR CR
// LF, LF CR) keeps its lines, and CR LF CR LF stays one empty line.
std::string_view NextTextLine(std::string_view data, size_t& pos);

// A line longer than this is no line of any of the program's files.
inline constexpr size_t kMaxTextLineBytes = 64 * 1024;

// The lines of a text file read a block at a time: the reader holds a block
// and the line it is on, never the whole file, so a file of nothing but line
// ends costs no more than any other. Lines are the file's bytes without
// their line ends (NextTextLine's rule); a line longer than maxLineBytes
// keeps its first maxLineBytes bytes.
class TextLineReader {
 public:
  // The file taken as ReadAllBytes takes it: a regular file of at most
  // maxBytes, else Ok() is false and there are no lines.
  TextLineReader(const std::string& path, int64_t maxBytes, size_t maxLineBytes = kMaxTextLineBytes);
  // Text in memory, which must outlive the reader.
  explicit TextLineReader(std::string_view text);
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // False when the file could not be opened or a read failed (what was read
  // before the failure stays readable).
  bool Ok() const { return ok_; }
  bool AtEnd() { return !Locate(); }
  // The next line ("" at the end), left for Next / taken. The view holds
  // until the reader is used again.
  std::string_view Peek();
  std::string_view Next();

 private:
  bool Locate();
  void Fill();

  int fd_ = -1;
  int64_t maxBytes_ = 0;
  int64_t readBytes_ = 0;
  size_t maxLine_ = kMaxTextLineBytes;
  std::string buf_;
  std::string_view data_;  // buf_, or the text in memory
  size_t pos_ = 0;         // start of the next line in data_
  size_t lineEnd_ = 0, next_ = 0;
  bool located_ = false;   // lineEnd_ and next_ belong to the line at pos_
  bool eof_ = true;
  bool skipping_ = false;  // dropping the rest of an overlong line
  bool ok_ = true;
};

// The first maxLines lines of a cp932 text file (line ends as
// NextTextLine). *ok is false when the file cannot be read or holds more
// than maxBytes (ReadAllBytes). A line marked as UTF-8 (kUtf8Mark) reads as
// the bytes after the mark (FileLineToUtf8); a file that begins with the
// mark and whose unmarked lines are UTF-8, as an editor may save it, reads
// as UTF-8. That is decided by the whole file, so the first lines read as
// they read in the whole (the rest is read only when line 1 is marked). The
// mark never reaches the text.
std::vector<std::string> ReadTextLines(const std::string& path, bool* ok = nullptr,
                                       int64_t maxBytes = kDefaultReadLimit, size_t maxLines = SIZE_MAX);
// The first line alone, read as ReadTextLines reads it; "" when the file
// cannot be read or is empty.
std::string FirstTextLine(const std::string& path, int64_t maxBytes, bool* ok = nullptr);

// The lines ReadTextLines reads, each with the bytes it was read from (its
// line end left out).
struct TextFileLines {
  std::vector<std::string> Text;
  std::vector<std::string> Bytes;
  bool Utf8 = false;  // the file reads as UTF-8 throughout
};
TextFileLines ReadTextFileLines(const std::string& path, bool* ok = nullptr, int64_t maxBytes = kDefaultReadLimit,
                                size_t maxLines = SIZE_MAX);

// Writes lines for a cp932 file, each ending in CR LF, atomically, so that
// ReadTextLines gives them back exactly: a line cp932 holds is its cp932
// bytes, any other is marked and in UTF-8 (Utf8ToCp932Exact). A file larger
// than maxBytes (what its reader takes) is not written: false, *tooLarge
// set and the old file kept.
[[nodiscard]] bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                                  int64_t maxBytes = INT64_MAX, bool* tooLarge = nullptr);
// The same, but a line that reads as one of kept's lines (the one at the
// same position first) is written as that line's bytes: a byte cp932 cannot
// read, or one of the two codes cp932 has for some characters, is not lost
// to the decoding, also where a line moved (a ranking). Where the kept bytes
// would change how the file reads as a whole, it reads the way that keeps
// the most of them (its old way where both keep as many), and a line that
// would read otherwise that way goes in a form that reads right in it
// (marked, in a file that reads as UTF-8).
[[nodiscard]] bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                                  const TextFileLines& kept, int64_t maxBytes = INT64_MAX,
                                  bool* tooLarge = nullptr);
// A writer's rewrite of a file it read: every line that reads as the
// file's own line there keeps its bytes (the file is read again, up to
// maxBytes; an unreadable one keeps nothing). Refused as WriteTextLines.
[[nodiscard]] bool RewriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                                    int64_t maxBytes, bool* tooLarge = nullptr);

}  // namespace zarv
