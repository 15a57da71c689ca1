// Files and folders. Paths are UTF-8. All data files live below the program
// folder (the folder of the executable).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/clock.h"

namespace zarv {

bool FileExists(const std::string& path);  // a regular file
bool DirExists(const std::string& path);
// Anything of that name: a file, folder, link (even a dangling one) or FIFO.
bool PathExists(const std::string& path);
// Names (not paths) of regular files in dir matching pattern ("*.brd", "*",
// "a?c.txt", "*.*" for all, "*.csv;*.brd" for either; case-insensitive),
// sorted case-insensitively as a file list shows them. Hidden names (leading
// ".", such as half-written temporary files) are left out. Empty when dir is
// missing.
std::vector<std::string> ListFiles(const std::string& dir, std::string_view pattern = "*");
// Names of sub-folders of dir (without "." and ".."), same order.
std::vector<std::string> ListDirs(const std::string& dir);
// Creates the folder (and missing parents). True when it exists afterwards.
bool MakeDir(const std::string& path);
// Renames; fails when the target already exists. Between two file systems
// the file is copied (with its owner and group where this user may give
// them, its rights and time), synced and then removed, only while its name
// still holds the file copied: one removed or replaced meanwhile leaves the
// copy as the moved file. A copy that fails, or a source that may not be
// removed, leaves the source as it was and no part of it at the target.
bool MoveFile(const std::string& from, const std::string& to);
// stem + n + extension for n = 1 ... 999: the names a file set aside takes.
std::vector<std::string> FreeNames(const std::string& stem, const std::string& extension);
// Moves from into dir under the first free name of FreeNames. Returns the
// new path, or "" when no move succeeded.
std::string MoveToFreeName(const std::string& from, const std::string& dir, const std::string& stem,
                           const std::string& extension);
// Writes bytes to a new file in dir under the first of names that is free,
// never over a file (also not over one another program makes meanwhile):
// written to a temporary file, synced, then given the name. Returns its
// path; "" when it could not be written or no name was free (*noFreeName
// then set), nothing of it being left.
std::string WriteToFreeName(const std::string& dir, const std::vector<std::string>& names, std::string_view bytes,
                            bool* noFreeName = nullptr);
// Test hook: runs in a move between two file systems once the copy has its
// name, just before the source is removed. nullptr: none.
void SetCopiedAcrossHook(std::function<void()> hook);
bool DeleteFile(const std::string& path);
// Size in bytes; -1 when missing.
int64_t FileLength(const std::string& path);
// Local modification time.
std::optional<DateTime> FileModTime(const std::string& path);
// What a reader takes at most when it names no limit of its own.
inline constexpr int64_t kDefaultReadLimit = int64_t{256} << 20;
// Whole file; "" with *ok=false when it cannot be read, is no regular file
// (the open of a FIFO would block, a device never ends) or holds more than
// maxBytes.
std::string ReadAllBytes(const std::string& path, bool* ok = nullptr, int64_t maxBytes = kDefaultReadLimit);
// The file opened for reading as ReadAllBytes takes it (a regular file of at
// most maxBytes); -1 otherwise. The caller closes it.
int OpenForReading(const std::string& path, int64_t maxBytes, int64_t* size = nullptr);
// read() of up to n bytes into buf, again after an interruption: the count,
// 0 at the end, -1 on an error.
long ReadSome(int fd, char* buf, size_t n);
// Writes to a temporary file in the same folder, syncs, renames over path
// (over the file a link leads to, or creating it when it is missing; with
// the old file's rights). A file that is read-only or that this user may not
// write is refused, as is anything but a plain file (a device, FIFO or
// folder, also at the end of a link). On failure path is left as it was.
[[nodiscard]] bool AtomicWriteBytes(const std::string& path, std::string_view bytes);
// True when the file system of dir holds a file of that name (its length
// in bytes is within the folder's limit).
bool NameFitsIn(const std::string& dir, std::string_view name);
// Makes the renames and deletions in dir durable.
void SyncDir(const std::string& dir);
// Removes the temporary files of the atomic writer in dir that no running
// process is writing (left by a run that was killed). Returns how many.
// For the program's own folders: every name the writer ever gave.
int RemoveOrphanTemps(const std::string& dir);
// For a folder that also holds the user's own files: only names that no one
// but this writer gives, and those an earlier version gave the temporary
// files of the targets named (file names in dir).
int RemoveOrphanTemps(const std::string& dir, const std::vector<std::string>& targets);
// The program folder dir and the folders directly in it: in dir and in the
// folders `own` names, every name the writer ever gave; in every other one
// (they hold the user's files too) only those of the rule above for
// `targets`. An `own` folder may be a link (to a larger disk, say): it is
// still the program's. No other link below dir is followed, also none put
// in a folder's place while the clean-up runs: a linked folder may be
// anyone's.
int RemoveOrphanTempsBelow(const std::string& dir, const std::vector<std::string>& own,
                           const std::vector<std::string>& targets);

// Folder of the running executable (no trailing slash).
std::string ProgramFolder();
// Overrides ProgramFolder (tests); "" restores the real one.
void SetProgramFolder(const std::string& path);
// a + "/" + b, without doubling the slash; b absolute returns b.
std::string JoinPath(const std::string& a, const std::string& b);
// "\Temp\set.ini" or "Temp\set.ini" -> ProgramFolder()/Temp/set.ini.
std::string ProgramPath(std::string_view windowsStyleRelative);

}  // namespace zarv
