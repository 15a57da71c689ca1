// Internal helpers for writing a file through a temporary file beside it.
// Used by files.cpp and textfile.cpp only.
#pragma once

#include <string>
#include <string_view>

namespace zarv {

// Creates a new hidden temporary file in the folder of target; returns its
// descriptor (and its path in tempPath), or -1.
int CreateTempBeside(const std::string& target, std::string& tempPath);
// Writes all bytes; false on any error.
bool WriteAllFd(int fd, std::string_view bytes);
// Syncs and closes fd and renames tempPath over target. On failure removes
// the temporary file and leaves target as it was.
bool CommitTemp(int fd, const std::string& tempPath, const std::string& target);
// Closes fd (when >= 0) and removes the temporary file.
void DiscardTemp(int fd, const std::string& tempPath);

}  // namespace zarv
