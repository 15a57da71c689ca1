// Numbered sequential files as the runtime has them (Open ... As #n,
// Line Input #n, Print #n, EOF(n), Close #n). Text is cp932 with CR LF on
// disk and UTF-8 in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/files.h"

namespace zarv {

enum class OpenMode { Input, Output, Append, Binary };

class FileTable {
 public:
  FileTable();
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Opens path as file number n (an already open n is closed first).
  // Output and Append write to a temporary file beside path that replaces
  // path on Close (Append starts with a copy of the old content), so a failed
  // or interrupted write never damages the old file. Binary opens for reading.
  bool Open(int n, const std::string& path, OpenMode mode);
  bool IsOpen(int n) const;

  // Next line without its line end (as NextTextLine), converted from cp932.
  // "" at or past the end.
  std::string LineInput(int n);
  // Writes the line in cp932 followed by CR LF.
  void Print(int n, std::string_view utf8line);
  // Writes a number in Str form (" 5", "-1.5", " .25") followed by CR LF,
  // with nothing else on the line.
  void PrintNumber(int n, double v);
  // True when no more data can be read (also for files not open for input).
  bool Eof(int n);
  // Up to `bytes` raw bytes from the current position.
  std::string ReadBlock(int n, size_t bytes);
  // Closes n; for Output/Append commits the new content. False when the
  // commit failed (the old file is then untouched).
  [[nodiscard]] bool Close(int n);
  // Closes every open file. False when any commit failed.
  [[nodiscard]] bool CloseAll();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The program-wide file table.
FileTable& Files();

// The line of data that starts at pos, without its line end; pos moves past
// the line end. A line end is the longest of CR CR LF, CR LF, LF CR, CR and
// LF that starts there: a file whose line ends were doubled on the way (CR CR
// LF, LF CR) keeps its lines, and CR LF CR LF stays one empty line.
std::string_view NextTextLine(std::string_view data, size_t& pos);

// Every line of a cp932 text file (line ends as NextTextLine). *ok is false
// when the file cannot be read or holds more than maxBytes (ReadAllBytes).
std::vector<std::string> ReadTextLines(const std::string& path, bool* ok = nullptr,
                                       int64_t maxBytes = kDefaultReadLimit);
// Writes lines in cp932, each ending in CR LF, atomically.
[[nodiscard]] bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zarv
