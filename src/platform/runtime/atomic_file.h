// Internal helpers for writing a file through a temporary file beside it.
// Used by files.cpp and textfile.cpp only.
#pragma once

#include <string>
#include <string_view>

namespace zarv {

// The file a rewrite of path replaces: the file a link leads to (which may
// not exist yet), else path; "" when that is no plain file (a device, FIFO,
// folder or a loop of links), which a rewrite must leave alone.
std::string ReplacedFile(const std::string& path);
// Creates a new hidden temporary file in the folder of target; returns its
// descriptor (and its path in tempPath), or -1, also when target is a file
// that may not be written.
int CreateTempBeside(const std::string& target, std::string& tempPath);
// Writes all bytes; false on any error.
bool WriteAllFd(int fd, std::string_view bytes);
// Syncs and closes fd and renames tempPath over target. On failure removes
// the temporary file and leaves target as it was.
bool CommitTemp(int fd, const std::string& tempPath, const std::string& target);
// Closes fd (when >= 0) and removes the temporary file.
void DiscardTemp(int fd, const std::string& tempPath);

}  // namespace zarv
