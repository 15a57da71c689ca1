#include "platform/runtime/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>

#include "platform/runtime/atomic_file.h"
#include "platform/runtime/program_state.h"

namespace zarv {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive (ASCII) glob with "*" and "?". "?" matches one byte,
// which is one character for the ASCII names the patterns select on.
bool Match(std::string_view pat, std::string_view name) {
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pat.size() && (pat[p] == '?' || Lower(pat[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pat.size() && pat[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  return p == pat.size();
}

// A pattern may list several alternatives separated by ";". "*.*" matches
// every name, with or without an extension: it is the file lists' "all
// files", also for files named without a dot.
bool MatchAny(std::string_view patterns, std::string_view name) {
  if (patterns.empty()) return true;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    std::string_view one = patterns.substr(start, end - start);
    while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
    while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
    if (one == "*.*" || Match(one, name)) return true;
    start = end + 1;
  }
  return false;
}

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = Lower(a[i]), y = Lower(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// Names in dir whose type test passes. Hidden names (leading ".") are left
// out: they are our own temporary files or not the user's business.
std::vector<std::string> ListEntries(const std::string& dir, bool wantDirs,
                                     std::string_view pattern) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat st{};
    if (stat(JoinPath(dir, name).c_str(), &st) != 0) continue;
    if (wantDirs ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) continue;
    if (!wantDirs && !MatchAny(pattern, name)) continue;
    names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end(), CaseInsensitiveLess);
  return names;
}

std::mutex g_folderMutex;
std::string g_programFolderOverride;

std::string DirName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

// ---- temporary files beside their target -------------------------------

namespace {
// The writer's temporary files are named "." + kTempTag + "." + 12 hex digits
// + ".tmp"; earlier versions put the target's name in place of the tag.
constexpr std::string_view kTempTag = "zarv";

// What stands between the leading "." and the 12 hex digits of a temporary
// file's name: kTempTag, or the target's name of an earlier version's; ""
// for a name no writer of ours gives.
std::string_view TempNameStem(std::string_view name) {
  constexpr std::string_view kTail = ".tmp";
  constexpr size_t kHex = 12;
  if (name.size() < 1 + 1 + 1 + kHex + kTail.size() || name.front() != '.') return {};
  if (name.substr(name.size() - kTail.size()) != kTail) return {};
  const size_t dot = name.size() - kTail.size() - kHex - 1;
  if (name[dot] != '.') return {};
  for (size_t i = dot + 1; i < dot + 1 + kHex; ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
  }
  return name.substr(1, dot - 1);
}

// Locks a temporary file just made and tells whether its name still leads to
// it: a clean-up in another run may have locked it between its making and its
// locking (it then unlinks it), or already unlinked it. A file system without
// locks gives a clean-up none to take either.
bool LockedUnderItsName(int fd, const std::string& path) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
  struct stat held{}, named{};
  return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}
}  // namespace

std::string ReplacedFile(const std::string& path) {
  // A link the user made stays a link: the file it leads to is the one
  // rewritten (a rename would put a copy in the link's place), also when it
  // leads nowhere yet. Only a plain file is replaced: a device, a FIFO or a
  // folder, here or at the end of a link, is nothing a save may take over.
  // As many links as the system follows when it opens the file for reading.
  constexpr int kMostLinks = 40;
  std::string at = path;
  for (int hops = 0; hops <= kMostLinks; ++hops) {
    struct stat st{};
    if (lstat(at.c_str(), &st) != 0) return errno == ENOENT ? at : std::string();
    if (S_ISREG(st.st_mode)) return at;
    if (!S_ISLNK(st.st_mode)) return {};
    std::error_code ec;
    const std::string to = std::filesystem::read_symlink(at, ec).string();
    if (ec || to.empty()) return {};
    at = to.front() == '/' ? to : JoinPath(DirName(at), to);
  }
  return {};  // links in a loop
}

namespace {
// The new file takes the old one's owner and group where the writer may set
// them: in a folder a group shares, a save must not take the file out of the
// group. Someone else's file at least keeps its group when the writer
// belongs to it. Owner first: a change of owner may clear the mode's bits.
void KeepOwnerAndRights(int fd, const struct stat& old) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) static_cast<void>(fchown(fd, static_cast<uid_t>(-1), old.st_gid));
  fchmod(fd, old.st_mode & 0777);
}
}  // namespace

namespace {
// The writer holds a lock on its temporary file until the file has its
// final name, so a temporary file nobody holds is one a killed run left.
int CreateTempIn(const std::string& dir, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 rng(std::random_device{}() ^
                                       static_cast<unsigned>(getpid()));
  // A short name of its own, not the target's name with more added: any
  // name the folder can hold can be saved.
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".zarv.%08x%04x.tmp", static_cast<unsigned>(rng()),
                  counter.fetch_add(1) & 0xFFFFu);
    tempPath = JoinPath(dir, name);
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      if (!LockedUnderItsName(fd, tempPath)) {
        close(fd);  // a clean-up's now, and gone or going: another name
        continue;
      }
      return fd;
    }
    if (errno != EEXIST) break;
  }
  tempPath.clear();
  return -1;
}
}  // namespace

int CreateTempBeside(const std::string& target, std::string& tempPath) {
  // A rename replaces a file whatever its rights: a file the user has made
  // read-only, or may not write, is refused as a direct write would be.
  // The new file keeps the old one's rights.
  struct stat old{};
  const bool replacing = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (replacing && ((old.st_mode & 0222) == 0 || faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    tempPath.clear();
    return -1;
  }
  const int fd = CreateTempIn(DirName(target), tempPath);
  if (fd >= 0 && replacing) KeepOwnerAndRights(fd, old);
  return fd;
}

bool WriteAllFd(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t w = write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(w);
  }
  return true;
}

bool CommitTemp(int fd, const std::string& tempPath, const std::string& target) {
  // Renamed while still open (and locked): a cleaner never sees it unheld.
  const bool ok = fsync(fd) == 0 && rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) unlink(tempPath.c_str());
  close(fd);
  if (!ok) return false;
  // Make the rename itself durable; failure here does not undo the write.
  SyncDir(DirName(target));
  return true;
}

void DiscardTemp(int fd, const std::string& tempPath) {
  if (!tempPath.empty()) unlink(tempPath.c_str());
  if (fd >= 0) close(fd);
}

// ---- public functions ---------------------------------------------------

bool FileExists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirExists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListFiles(const std::string& dir, std::string_view pattern) {
  return ListEntries(dir, false, pattern);
}

std::vector<std::string> ListDirs(const std::string& dir) { return ListEntries(dir, true, {}); }

bool MakeDir(const std::string& path) {
  if (path.empty()) return false;
  if (DirExists(path)) return true;
  const std::string parent = DirName(path);
  if (parent != path && parent != "." && parent != "/" && !DirExists(parent)) {
    if (!MakeDir(parent)) return false;
  }
  if (mkdir(path.c_str(), 0777) == 0) return true;
  return DirExists(path);
}

namespace {
// A rename that never replaces: false when to exists.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File system without no-replace renames: test, then rename.
  struct stat st{};
  if (lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

// Test hook of a move between two file systems (tests only).
std::function<void()>& CopiedAcrossHook() {
  static std::function<void()> hook;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] { hook = nullptr; });
  return hook;
}

// True when path names the file st describes (no link to it, no other file
// put in its place).
bool NameHolds(const std::string& path, const struct stat& st) {
  struct stat now{};
  return lstat(path.c_str(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino;
}

// The move a rename cannot make between two file systems: the file is
// copied into a temporary file beside to, synced, given its name there and
// only then removed from where it was. A copy that fails leaves the source
// as it was and nothing beside to; a run killed meanwhile leaves a
// temporary file the start's clean-up removes, or at worst both copies.
bool CopyAcross(const std::string& from, const std::string& to) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (in < 0) return false;
  struct stat st{};
  std::string temp;
  const int out = fstat(in, &st) == 0 && S_ISREG(st.st_mode) ? CreateTempBeside(to, temp) : -1;
  bool ok = out >= 0;
  char buf[65536];
  while (ok) {
    const long r = ReadSome(in, buf, sizeof buf);
    if (r <= 0) {
      ok = r == 0;
      break;
    }
    ok = WriteAllFd(out, std::string_view(buf, static_cast<size_t>(r)));
  }
  close(in);
  struct stat copy{};
  if (ok) {
    // Owner, group, rights and time as a rename would have kept them.
    KeepOwnerAndRights(out, st);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out, times);
    ok = fstat(out, &copy) == 0 && fsync(out) == 0 && RenameNoReplace(temp, to);
  }
  DiscardTemp(out, ok ? std::string() : temp);
  if (!ok) return false;
  if (CopiedAcrossHook()) CopiedAcrossHook()();
  // Only the file copied goes: another copy of the program may have put a
  // new file under the name meanwhile, or removed it (then the copy is the
  // one left). An unlink that finds nothing (one retried on a network
  // share) removed it.
  if (NameHolds(from, st) && unlink(from.c_str()) != 0 && errno != ENOENT) {
    // Where the source may not be removed, a rename would have failed too:
    // one copy, the source's, is kept.
    if (NameHolds(to, copy)) unlink(to.c_str());
    return false;
  }
  SyncDir(DirName(to));
  SyncDir(DirName(from));
  return true;
}

// Moves from to the first name of names in dir that is free, never over a
// file. "" when no move succeeded; *noFreeName tells when every name was
// taken.
std::string MoveToFirstFree(const std::string& from, const std::string& dir, const std::vector<std::string>& names,
                            bool* noFreeName) {
  if (noFreeName) *noFreeName = false;
  for (const std::string& name : names) {
    const std::string to = JoinPath(dir, name);
    if (PathExists(to)) continue;
    if (MoveFile(from, to)) return to;
    if (!PathExists(to)) return {};  // not a name clash: no other name will do
  }
  if (noFreeName) *noFreeName = true;
  return {};
}
}  // namespace

bool MoveFile(const std::string& from, const std::string& to) {
  if (RenameNoReplace(from, to)) return true;
  return errno == EXDEV && CopyAcross(from, to);
}

std::vector<std::string> FreeNames(const std::string& stem, const std::string& extension) {
  std::vector<std::string> names;
  for (int n = 1; n <= 999; ++n) names.push_back(stem + std::to_string(n) + extension);
  return names;
}

std::string MoveToFreeName(const std::string& from, const std::string& dir, const std::string& stem,
                           const std::string& extension) {
  return MoveToFirstFree(from, dir, FreeNames(stem, extension), nullptr);
}

std::string WriteToFreeName(const std::string& dir, const std::vector<std::string>& names, std::string_view bytes,
                            bool* noFreeName) {
  if (noFreeName) *noFreeName = false;
  std::string temp;
  const int fd = CreateTempIn(dir, temp);
  if (fd < 0) return {};
  if (!WriteAllFd(fd, bytes) || fsync(fd) != 0) {
    DiscardTemp(fd, temp);
    return {};
  }
  // Named while still open (and locked): a cleaner never sees it unheld.
  const std::string path = MoveToFirstFree(temp, dir, names, noFreeName);
  DiscardTemp(fd, path.empty() ? temp : std::string());
  if (!path.empty()) SyncDir(dir);
  return path;
}

void SetCopiedAcrossHook(std::function<void()> hook) { CopiedAcrossHook() = std::move(hook); }

bool DeleteFile(const std::string& path) {
  struct stat st{};
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return unlink(path.c_str()) == 0;
}

int64_t FileLength(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

std::optional<DateTime> FileModTime(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  std::tm tm{};
  const std::time_t t = st.st_mtime;
  if (!localtime_r(&t, &tm)) return std::nullopt;
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int OpenForReading(const std::string& path, int64_t maxBytes, int64_t* size) {
  // Non-blocking, so that the open of a FIFO returns; the type test follows.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
    close(fd);
    return -1;
  }
  if (size) *size = static_cast<int64_t>(st.st_size);
  return fd;
}

long ReadSome(int fd, char* buf, size_t n) {
  for (;;) {
    const ssize_t r = read(fd, buf, n);
    if (r >= 0 || errno != EINTR) return static_cast<long>(r);
  }
}

std::string ReadAllBytes(const std::string& path, bool* ok, int64_t maxBytes) {
  std::string data;
  int64_t size = 0;
  const int fd = OpenForReading(path, maxBytes, &size);
  bool good = fd >= 0;
  if (good) {
    data.reserve(static_cast<size_t>(size));
    char buf[65536];
    while (good) {
      const long r = ReadSome(fd, buf, sizeof buf);
      if (r < 0) {
        good = false;
      } else if (r == 0) {
        break;
      } else {
        data.append(buf, static_cast<size_t>(r));
        // A file that grows while it is read.
        if (static_cast<int64_t>(data.size()) > maxBytes) good = false;
      }
    }
    close(fd);
  }
  if (!good) data.clear();
  if (ok) *ok = good;
  return data;
}

bool AtomicWriteBytes(const std::string& path, std::string_view bytes) {
  const std::string target = ReplacedFile(path);
  if (target.empty()) return false;
  std::string temp;
  const int fd = CreateTempBeside(target, temp);
  if (fd < 0) return false;
  if (!WriteAllFd(fd, bytes)) {
    DiscardTemp(fd, temp);
    return false;
  }
  return CommitTemp(fd, temp, target);
}

bool NameFitsIn(const std::string& dir, std::string_view name) {
  errno = 0;
  const long most = pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
  // No answer (a missing folder): the common limit of 255 bytes.
  return static_cast<long>(name.size()) <= (most > 0 ? most : 255);
}

void SyncDir(const std::string& dir) {
  const int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  fsync(dfd);
  close(dfd);
}

namespace {
using StemRule = std::function<bool(std::string_view stem)>;

// Every name a writer of ours ever gave.
bool AnyWritersStem(std::string_view) { return true; }

// Only what a save into a folder of the user's can have left: this writer's
// names, and an earlier version's made from the name of a file saved there.
StemRule SavedFilesStems(const std::vector<std::string>& targets) {
  return [targets](std::string_view stem) {
    return stem == kTempTag || std::find(targets.begin(), targets.end(), stem) != targets.end();
  };
}

// Calls use(name) for each name in the open folder dirFd, read through a
// handle of its own (a dup would share, and move, dirFd's place).
template <class Use>
void ForEachName(int dirFd, Use use) {
  const int fd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* d = fd < 0 ? nullptr : fdopendir(fd);
  if (!d) {
    if (fd >= 0) close(fd);
    return;
  }
  while (const dirent* e = readdir(d)) use(e->d_name);
  closedir(d);
}

// The clean-up of the open folder dirFd, every step relative to it: a folder
// renamed or replaced by a link meanwhile takes the clean-up nowhere else.
int RemoveOrphanTempsAt(int dirFd, const StemRule& ours) {
  std::vector<std::string> names;
  ForEachName(dirFd, [&](const char* name) {
    const std::string_view stem = TempNameStem(name);
    if (!stem.empty() && ours(stem)) names.push_back(name);
  });
  int removed = 0;
  for (const std::string& name : names) {
    const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) continue;
    struct stat held{}, named{};
    // Taking the lock proves that no writer holds the file any more. The
    // name must still lead to the file locked: unlinked by another clean-up
    // meanwhile, it may name a writer's new file.
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino && unlinkat(dirFd, name.c_str(), 0) == 0)
      ++removed;
    close(fd);
  }
  return removed;
}

// dir itself may be reached through links (the path the caller chose).
int RemoveOrphanTempsIn(const std::string& dir, const StemRule& ours) {
  const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  const int removed = RemoveOrphanTempsAt(fd, ours);
  close(fd);
  return removed;
}
}  // namespace

int RemoveOrphanTemps(const std::string& dir) { return RemoveOrphanTempsIn(dir, AnyWritersStem); }

int RemoveOrphanTemps(const std::string& dir, const std::vector<std::string>& targets) {
  return RemoveOrphanTempsIn(dir, SavedFilesStems(targets));
}

int RemoveOrphanTempsBelow(const std::string& dir, const std::vector<std::string>& own,
                           const std::vector<std::string>& targets) {
  const int top = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top < 0) return 0;
  int removed = RemoveOrphanTempsAt(top, AnyWritersStem);
  auto isOwn = [&](const std::string& name) { return std::find(own.begin(), own.end(), name) != own.end(); };
  std::vector<std::string> subs;
  ForEachName(top, [&](const char* name) {
    struct stat st{};
    if (name[0] != '.' && fstatat(top, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && isOwn(name))))
      subs.emplace_back(name);
  });
  const StemRule saved = SavedFilesStems(targets);
  for (const std::string& name : subs) {
    const bool ours = isOwn(name);
    // The program's own folders are its own wherever their links lead; any
    // other is not entered through a link, also one put in the folder's
    // place since it was listed.
    const int sub = openat(top, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (ours ? 0 : O_NOFOLLOW));
    if (sub < 0) continue;
    removed += RemoveOrphanTempsAt(sub, ours ? StemRule(AnyWritersStem) : saved);
    close(sub);
  }
  close(top);
  return removed;
}

std::string ProgramFolder() {
  {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    if (!g_programFolderOverride.empty()) return g_programFolderOverride;
  }
  static const std::string exeFolder = [] {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string(".");
    return DirName(std::string(buf, static_cast<size_t>(n)));
  }();
  return exeFolder;
}

void SetProgramFolder(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_folderMutex);
  g_programFolderOverride = path;
  while (g_programFolderOverride.size() > 1 && g_programFolderOverride.back() == '/') {
    g_programFolderOverride.pop_back();
  }
}

std::string JoinPath(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  if (b.front() == '/') return b;
  if (a.back() == '/') return a + b;
  return a + "/" + b;
}

std::string ProgramPath(std::string_view windowsStyleRelative) {
  std::string rel(windowsStyleRelative);
  std::replace(rel.begin(), rel.end(), '\\', '/');
  size_t start = rel.find_first_not_of('/');
  rel = start == std::string::npos ? std::string() : rel.substr(start);
  return JoinPath(ProgramFolder(), rel);
}

}  // namespace zarv
