// Numbered sequential files as the runtime has them (Open ... As #n,
// Line Input #n, Print #n, EOF(n), Close #n). Text is cp932 with CR LF on
// disk and UTF-8 in the program.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

  // Next line without its line end (CR LF, LF or CR), converted from cp932.
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
  bool Close(int n);
  // Closes every open file. False when any commit failed.
  bool CloseAll();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The program-wide file table.
FileTable& Files();

// Every line of a cp932 text file (line ends CR LF, LF or CR).
std::vector<std::string> ReadTextLines(const std::string& path, bool* ok = nullptr);
// Writes lines in cp932, each ending in CR LF, atomically.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zarv
