#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/runtime/atomic_file.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "file_size_limit.h"
#include "program_test.h"

namespace zarv {
namespace {

using testing::FileSizeLimit;


TEST(RuntimeFiles, ListFilesFiltersAndSortsLikeAFileList) {
  ScratchFolder dir;
  for (const char* name : {"b.brd", "MardenⅡ.brd", "a.BRD", "Zed.brd", "c.csv", "brd", ".hidden.brd"}) {
    ASSERT_TRUE(AtomicWriteBytes(dir / name, "x"));
  }
  ASSERT_TRUE(MakeDir(dir / "sub.brd"));
  EXPECT_EQ(ListFiles(dir.path(), "*.brd"),
            (std::vector<std::string>{"a.BRD", "b.brd", "MardenⅡ.brd", "Zed.brd"}));
  EXPECT_EQ(ListFiles(dir.path(), "*.CSV"), std::vector<std::string>{"c.csv"});
  EXPECT_EQ(ListFiles(dir.path(), "?.*").size(), 3u);
  EXPECT_EQ(ListFiles(dir.path(), "*.*").size(), 6u);
  EXPECT_EQ(ListFiles(dir.path(), "*.csv;*.BRD").size(), 5u);
  EXPECT_TRUE(ListFiles(dir / "missing", "*").empty());
}

TEST(RuntimeFiles, ListDirsAndMakeDir) {
  ScratchFolder dir;
  EXPECT_TRUE(MakeDir(dir / "Temp"));
  EXPECT_TRUE(MakeDir(dir / "Temp"));  // already there
  EXPECT_TRUE(MakeDir(dir / "FlightData/Marden/old"));
  EXPECT_TRUE(MakeDir(dir / "data"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "file", ""));
  EXPECT_FALSE(MakeDir(dir / "file"));
  EXPECT_EQ(ListDirs(dir.path()), (std::vector<std::string>{"data", "FlightData", "Temp"}));
  EXPECT_TRUE(DirExists(dir / "FlightData/Marden/old"));
  EXPECT_FALSE(FileExists(dir / "Temp"));
}

TEST(RuntimeFiles, MoveDeleteLengthAndTime) {
  ScratchFolder dir;
  ASSERT_TRUE(AtomicWriteBytes(dir / "a.csv", "12345"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "b.csv", "1"));
  EXPECT_EQ(FileLength(dir / "a.csv"), 5);
  EXPECT_EQ(FileLength(dir / "none"), -1);
  EXPECT_EQ(FileLength(dir.path()), -1);

  EXPECT_FALSE(MoveFile(dir / "a.csv", dir / "b.csv"));  // target exists
  EXPECT_EQ(FileLength(dir / "b.csv"), 1);
  EXPECT_TRUE(MoveFile(dir / "a.csv", dir / "c.csv"));
  EXPECT_FALSE(FileExists(dir / "a.csv"));
  EXPECT_EQ(ReadAllBytes(dir / "c.csv"), "12345");

  EXPECT_TRUE(DeleteFile(dir / "c.csv"));
  EXPECT_FALSE(DeleteFile(dir / "c.csv"));
  EXPECT_FALSE(DeleteFile(dir.path()));

  const auto t = FileModTime(dir / "b.csv");
  ASSERT_TRUE(t.has_value());
  EXPECT_GE(t->year, 2000);
  EXPECT_FALSE(FileModTime(dir / "none").has_value());

  bool ok = true;
  EXPECT_EQ(ReadAllBytes(dir / "none", &ok), "");
  EXPECT_FALSE(ok);
}

TEST(RuntimeFiles, AtomicWriteReplacesAndKeepsOldOnFailure) {
  ScratchFolder dir;
  const std::string path = dir / "set.ini";
  ASSERT_TRUE(AtomicWriteBytes(path, "first"));
  ASSERT_TRUE(AtomicWriteBytes(path, "second"));
  EXPECT_EQ(ReadAllBytes(path), "second");
  // A folder that cannot be written (skipped for users that bypass rights).
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(AtomicWriteBytes(path, "third"));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(ReadAllBytes(path), "second");
  }
  EXPECT_FALSE(AtomicWriteBytes(dir / "missing/set.ini", "x"));
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"set.ini"});
}

// A rewrite never passes over what the user set: a read-only file stays as
// it is (a rename would replace it whatever its rights), a file keeps its
// rights, and a link stays a link to the file it names.
TEST(RuntimeFiles, RewritesKeepReadOnlyFilesRightsAndLinks) {
  ScratchFolder dir;
  auto mode = [](const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode : 0u;
  };
  const std::string locked = dir / "Marden7.brd";
  ASSERT_TRUE(AtomicWriteBytes(locked, "mine"));
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  EXPECT_FALSE(AtomicWriteBytes(locked, "changed"));
  EXPECT_FALSE(WriteTextLines(locked, {"changed"}));
  EXPECT_EQ(ReadAllBytes(locked), "mine");
  EXPECT_EQ(mode(locked) & 0777, 0444u);

  const std::string own = dir / "set.ini";
  ASSERT_TRUE(AtomicWriteBytes(own, "first"));
  ASSERT_EQ(chmod(own.c_str(), 0640), 0);
  ASSERT_TRUE(AtomicWriteBytes(own, "second"));
  EXPECT_EQ(mode(own) & 0777, 0640u);

  ASSERT_TRUE(MakeDir(dir / "elsewhere"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "elsewhere/Plane.brd", "old"));
  ASSERT_EQ(symlink("elsewhere/Plane.brd", (dir / "Plane.brd").c_str()), 0);
  ASSERT_TRUE(AtomicWriteBytes(dir / "Plane.brd", "new"));
  ASSERT_TRUE(WriteTextLines(dir / "Plane.brd", {"new", "more"}));
  EXPECT_TRUE(S_ISLNK(mode(dir / "Plane.brd")));
  EXPECT_EQ(ReadAllBytes(dir / "elsewhere/Plane.brd"), "new\r\nmore\r\n");
  EXPECT_EQ(ListFiles(dir.path()), (std::vector<std::string>{"Marden7.brd", "Plane.brd", "set.ini"}));
  EXPECT_EQ(ListFiles(dir / "elsewhere"), std::vector<std::string>{"Plane.brd"});
}

// A save writes only a plain file: a link to a FIFO, a folder or round in a
// loop, or such a thing in the file's own place, is refused and left as it
// was; a link that leads nowhere stays a link and its target is written.
// (A link to a device is the same case; no test writes at one, which as
// root would replace the device.)
TEST(RuntimeFiles, ASaveWritesOnlyAPlainFile) {
  ScratchFolder dir;
  auto kind = [](const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0u;
  };
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  ASSERT_TRUE(MakeDir(dir / "folder"));
  ASSERT_TRUE(MakeDir(dir / "Temp"));
  const struct {
    const char* name;
    const char* to;  // the link's target, or nullptr for the thing itself
    mode_t kind;     // what stays at the name
  } refused[] = {{"to-fifo.ini", "fifo", S_IFLNK},     {"to-folder.ini", "folder", S_IFLNK},
                 {"to-link.ini", "to-fifo.ini", S_IFLNK}, {"loop.ini", "loop.ini", S_IFLNK},
                 {"fifo", nullptr, S_IFIFO},           {"folder", nullptr, S_IFDIR}};
  for (const auto& r : refused) {
    SCOPED_TRACE(r.name);
    const std::string path = dir / r.name;
    if (r.to) {
      ASSERT_EQ(symlink(r.to, path.c_str()), 0);
    }
    EXPECT_FALSE(AtomicWriteBytes(path, "settings"));
    EXPECT_FALSE(WriteTextLines(path, {"settings"}));
    EXPECT_EQ(kind(path), r.kind);
  }
  EXPECT_EQ(kind(dir / "fifo"), S_IFIFO);
  EXPECT_EQ(kind(dir / "folder"), S_IFDIR);
  EXPECT_TRUE(ListFiles(dir / "folder").empty());
  EXPECT_TRUE(ListFiles(dir.path()).empty());  // no plain file, no temporary file left

  // Dangling, relative and absolute: the target is made, the link stays.
  ASSERT_EQ(symlink("../Elsewhere/set.ini", (dir / "Temp/set.ini").c_str()), 0);
  ASSERT_EQ(symlink((dir / "Temp/set.ini").c_str(), (dir / "set.ini").c_str()), 0);
  EXPECT_FALSE(AtomicWriteBytes(dir / "set.ini", "no folder"));  // the target's folder is missing
  ASSERT_TRUE(MakeDir(dir / "Elsewhere"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "set.ini", "first"));
  ASSERT_TRUE(WriteTextLines(dir / "Temp/set.ini", {"second"}));
  EXPECT_EQ(kind(dir / "set.ini"), S_IFLNK);
  EXPECT_EQ(kind(dir / "Temp/set.ini"), S_IFLNK);
  EXPECT_EQ(ReadAllBytes(dir / "Elsewhere/set.ini"), "second\r\n");
  EXPECT_EQ(ListFiles(dir / "Elsewhere"), std::vector<std::string>{"set.ini"});
}

// In a folder a group shares, a save keeps the file's owner and group, so
// the others keep their access. Handing files to others needs root.
TEST(RuntimeFiles, RewritesKeepOwnerAndGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "needs the right to give files away";
  ScratchFolder dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  auto owner = [](const std::string& path) {
    struct stat st{};
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return std::make_pair(st.st_uid, st.st_gid);
  };
  const std::string path = dir / "record.dat";
  ASSERT_TRUE(AtomicWriteBytes(path, "old"));
  if (chown(path.c_str(), 4321, 8765) != 0) GTEST_SKIP() << "files cannot be given away here";
  ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  ASSERT_TRUE(AtomicWriteBytes(path, "new"));
  EXPECT_EQ(owner(path), std::make_pair(uid_t{4321}, gid_t{8765}));
  ASSERT_TRUE(WriteTextLines(path, {"lines"}));
  EXPECT_EQ(owner(path), std::make_pair(uid_t{4321}, gid_t{8765}));

  // Another member of the group saves: the file becomes theirs (only root
  // may give a file away) but stays in the group.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const gid_t shared = 8765;
    if (setgroups(1, &shared) != 0 || setgid(1111) != 0 || setuid(2222) != 0) _exit(2);
    _exit(AtomicWriteBytes(path, "theirs") ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no other user can be taken on here";
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAllBytes(path), "theirs");
  EXPECT_EQ(owner(path), std::make_pair(uid_t{2222}, gid_t{8765}));
  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u);
}

// Readers take regular files of a sane size only: the open of a FIFO would
// block for ever, a device never ends.
TEST(RuntimeFiles, ReadersRefuseSpecialAndOversizedFiles) {
  ScratchFolder dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  ASSERT_TRUE(AtomicWriteBytes(dir / "big", std::string(5000, 'x')));
  const struct {
    std::string path;
    int64_t limit;
    bool readable;
  } cases[] = {{dir / "fifo", kDefaultReadLimit, false}, {"/dev/zero", kDefaultReadLimit, false},
               {dir.path(), kDefaultReadLimit, false},   {dir / "big", 4999, false},
               {dir / "big", 5000, true}};
  for (const auto& c : cases) {
    bool ok = !c.readable;
    const std::string bytes = ReadAllBytes(c.path, &ok, c.limit);
    EXPECT_EQ(ok, c.readable) << c.path;
    EXPECT_EQ(bytes.size(), c.readable ? 5000u : 0u) << c.path;
  }
}

TEST(RuntimeFiles, OrphanTemporaryFilesGoHeldOnesStay) {
  ScratchFolder dir;
  ASSERT_TRUE(AtomicWriteBytes(dir / "set.ini", "kept"));
  // Left by a killed writer: nobody holds them.
  for (const char* name : {".set.ini.0123456789ab.tmp", ".before.csv.deadbeef0001.tmp"})
    ASSERT_TRUE(AtomicWriteBytes(dir / name, "half"));
  // Not ours.
  for (const char* name : {".notes.tmp", ".x.0123456789AB.tmp", "a.0123456789ab.tmp"})
    ASSERT_TRUE(AtomicWriteBytes(dir / name, "theirs"));
  // A write in progress.
  std::string temp;
  const int fd = CreateTempBeside(dir / "record.dat", temp);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(WriteAllFd(fd, "line\r\n"));

  EXPECT_EQ(RemoveOrphanTemps(dir.path()), 2);
  EXPECT_FALSE(PathExists(dir / ".set.ini.0123456789ab.tmp"));
  for (const char* name : {".notes.tmp", ".x.0123456789AB.tmp", "a.0123456789ab.tmp", "set.ini"})
    EXPECT_TRUE(PathExists(dir / name)) << name;
  EXPECT_TRUE(CommitTemp(fd, temp, dir / "record.dat"));
  EXPECT_EQ(ReadAllBytes(dir / "record.dat"), "line\r\n");
}

// A folder the user chose also holds the user's own files: there only what a
// save can have left goes, this writer's names and an earlier version's made
// from the name of a file saved there.
TEST(RuntimeFiles, InAUsersFolderOnlyWhatASaveLeftGoes) {
  ScratchFolder dir;
  const struct {
    const char* name;
    bool left;
  } cases[] = {{".zarv.0123456789ab.tmp", false},        {".Marden7.brd.0123456789ab.tmp", false},
               {".notes.txt.0123456789ab.tmp", true},    {".marden7.brd.0123456789ab.tmp", true},
               {".Marden7.brd.x.0123456789ab.tmp", true}, {".zarv.0123456789ab.tmp.tmp", true}};
  for (const auto& c : cases) ASSERT_TRUE(AtomicWriteBytes(dir / c.name, "x"));
  EXPECT_EQ(RemoveOrphanTemps(dir.path(), {"Marden7.brd"}), 2);
  for (const auto& c : cases) EXPECT_EQ(PathExists(dir / c.name), c.left) << c.name;
}

// Clean-ups that run all the time beside a writer (other copies starting)
// never take the temporary file of a save in progress: every save is made.
TEST(RuntimeFiles, CleanUpsBesideAWriterTakeNoSave) {
  ScratchFolder dir;
  std::atomic<bool> done{false};
  std::vector<std::thread> cleaners;
  for (int i = 0; i < 2; ++i)
    cleaners.emplace_back([&] {
      while (!done) RemoveOrphanTemps(dir.path());
    });
  constexpr int kSaves = 2000;
  int failed = 0;
  for (int i = 0; i < kSaves; ++i) failed += AtomicWriteBytes(dir / "record.dat", std::to_string(i)) ? 0 : 1;
  done = true;
  for (std::thread& t : cleaners) t.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(ReadAllBytes(dir / "record.dat"), std::to_string(kSaves - 1));
  EXPECT_EQ(RemoveOrphanTemps(dir.path()), 0);
}

// A folder of the user's (a hangar) swapped for a link to someone else's
// folder, and back, while clean-ups of the program folder run: none reaches
// through the link, though the folder itself loses this writer's names.
TEST(RuntimeFiles, TheCleanUpBelowAFolderFollowsNoLinkEvenOneSwappedIn) {
  ScratchFolder dir, elsewhere;
  ASSERT_TRUE(MakeDir(dir / "Data"));
  for (const char* name : {".notes.txt.0123456789ab.tmp", ".zarv.0123456789ab.tmp"})
    ASSERT_TRUE(AtomicWriteBytes(elsewhere / name, "theirs"));
  std::atomic<bool> done{false};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (!done) {
      const bool swapped = rename((dir / "Data").c_str(), (dir / "Kept").c_str()) == 0 &&
                           symlink(elsewhere.path().c_str(), (dir / "Data").c_str()) == 0;
      std::this_thread::yield();
      if (swapped) ++swaps;
      unlink((dir / "Data").c_str());
      rename((dir / "Kept").c_str(), (dir / "Data").c_str());
    }
  });
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  while (std::chrono::steady_clock::now() < until || swaps < 100) RemoveOrphanTempsBelow(dir.path(), {"Temp"}, {});
  done = true;
  swapper.join();
  EXPECT_TRUE(PathExists(elsewhere / ".notes.txt.0123456789ab.tmp"));
  EXPECT_TRUE(PathExists(elsewhere / ".zarv.0123456789ab.tmp"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "Data/.zarv.0123456789ab.tmp", "half"));
  EXPECT_EQ(RemoveOrphanTempsBelow(dir.path(), {"Temp"}, {}), 1);
}

// The program's Temp and FlightData put on another disk through links are
// still the program's: every name a writer of ours gave goes from them, the
// user's names stay, and no link in them is followed.
TEST(RuntimeFiles, TheProgramsOwnFoldersAreCleanedThroughTheirLinks) {
  ScratchFolder dir, disk, outside;
  for (const char* own : {"Temp", "FlightData"}) {
    ASSERT_TRUE(MakeDir(disk / own));
    ASSERT_EQ(symlink((disk / own).c_str(), (dir / own).c_str()), 0);
  }
  ASSERT_TRUE(AtomicWriteBytes(outside / ".zarv.0123456789ab.tmp", "theirs"));
  ASSERT_EQ(symlink((outside / ".zarv.0123456789ab.tmp").c_str(), (disk / "Temp/.zarv.aaaaaaaaaaaa.tmp").c_str()), 0);
  ASSERT_EQ(symlink(outside.path().c_str(), (disk / "Temp/sub").c_str()), 0);
  const struct {
    const char* name;
    bool left;
  } cases[] = {{"Temp/.zarv.0123456789ab.tmp", false},       {"Temp/.set.ini.0123456789ab.tmp", false},
               {"FlightData/.zarv.00000000ffff.tmp", false}, {"FlightData/.before.csv.0123456789ab.tmp", false},
               {"Temp/set.ini", true},                        {"Temp/.notes.tmp", true},
               {"FlightData/0Marden7.csv", true},             {"FlightData/a.0123456789ab.tmp", true}};
  for (const auto& c : cases) ASSERT_TRUE(AtomicWriteBytes(disk / c.name, "x"));
  EXPECT_EQ(RemoveOrphanTempsBelow(dir.path(), {"Temp", "FlightData"}, {}), 4);
  for (const auto& c : cases) EXPECT_EQ(PathExists(disk / c.name), c.left) << c.name;
  EXPECT_TRUE(PathExists(disk / "Temp/.zarv.aaaaaaaaaaaa.tmp"));
  EXPECT_TRUE(PathExists(outside / ".zarv.0123456789ab.tmp"));
}

// Any name the folder holds can be saved, also where a temporary file named
// after it would be too long; a save follows a chain of links as far as
// the system's own reading does (40 links), no further.
TEST(RuntimeFiles, LongNamesAndLongChainsOfLinksAreSaved) {
  ScratchFolder dir;
  for (const size_t length : {237u, 238u, 255u}) {
    const std::string path = dir / (std::string(length - 4, 'a') + ".brd");
    EXPECT_TRUE(AtomicWriteBytes(path, "saved")) << length;
    EXPECT_TRUE(WriteTextLines(path, {"saved"})) << length;
    EXPECT_EQ(ReadAllBytes(path), "saved\r\n") << length;
    DeleteFile(path);
  }
  const struct {
    int links;
    bool saved;
  } chains[] = {{40, true}, {41, false}};
  for (const auto& c : chains) {
    ScratchFolder in;
    ASSERT_TRUE(AtomicWriteBytes(in / "plane.brd", "old"));
    std::string to = "plane.brd";
    for (int k = 1; k <= c.links; ++k) {
      const std::string link = "link" + std::to_string(k);
      ASSERT_EQ(symlink(to.c_str(), (in / link).c_str()), 0);
      to = link;
    }
    bool read = false;
    EXPECT_EQ(ReadAllBytes(in / to, &read), c.saved ? "old" : "");
    EXPECT_EQ(read, c.saved) << c.links;
    EXPECT_EQ(AtomicWriteBytes(in / to, "new"), c.saved) << c.links;
    EXPECT_EQ(ReadAllBytes(in / "plane.brd"), c.saved ? "new" : "old") << c.links;
  }
}

// True when the two folders lie on different file systems.
bool OnOtherFileSystems(const std::string& a, const std::string& b) {
  struct stat x{}, y{};
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev != y.st_dev;
}

// A log filed from Temp into a FlightData on another file system: where no
// rename crosses, the move copies (the file's bytes, rights and time) and
// only then removes the source; it never replaces a file, and a copy that
// fails keeps the source whole and leaves nothing at the target.
TEST(RuntimeFiles, MoveFileCrossesFileSystems) {
  ScratchFolder dir, other("/dev/shm");  // a RAM disk
  if (!OnOtherFileSystems(dir.path(), other.path())) GTEST_SKIP() << "no second file system at /dev/shm";
  const std::string log(100000, 'x');
  ASSERT_TRUE(AtomicWriteBytes(dir / "before.csv", log));
  ASSERT_EQ(chmod((dir / "before.csv").c_str(), 0640), 0);
  const timespec times[2] = {{1700000000, 0}, {1600000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir / "before.csv").c_str(), times, 0), 0);
  EXPECT_TRUE(MoveFile(dir / "before.csv", other / "0Marden7.csv"));
  EXPECT_FALSE(PathExists(dir / "before.csv"));
  EXPECT_EQ(ReadAllBytes(other / "0Marden7.csv"), log);
  struct stat st{};
  ASSERT_EQ(stat((other / "0Marden7.csv").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1600000000);

  ASSERT_TRUE(AtomicWriteBytes(dir / "before.csv", "new"));
  EXPECT_FALSE(MoveFile(dir / "before.csv", other / "0Marden7.csv"));
  EXPECT_EQ(ReadAllBytes(other / "0Marden7.csv"), log);
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(MoveFile(other / "0Marden7.csv", dir / "1Marden7.csv"));
  }
  EXPECT_EQ(ReadAllBytes(other / "0Marden7.csv"), log);
  EXPECT_FALSE(PathExists(dir / "1Marden7.csv"));
  EXPECT_EQ(RemoveOrphanTemps(dir.path()), 0);
  EXPECT_TRUE(MoveFile(dir / "before.csv", other / "1Marden7.csv"));
  EXPECT_EQ(ReadAllBytes(other / "1Marden7.csv"), "new");
}

// While a move copies a log across, another copy of the program may file
// the same working copy's name, or write its own log under it: the move
// removes the source only while its name holds the file it copied, and a
// source that is gone already leaves the copy as the moved file. The copy
// keeps the owner and group a rename would have kept.
TEST(RuntimeFiles, AMoveAcrossRemovesOnlyTheFileItCopied) {
  ScratchFolder dir, other("/dev/shm");
  if (!OnOtherFileSystems(dir.path(), other.path())) GTEST_SKIP() << "no second file system at /dev/shm";
  struct HookReset {
    ~HookReset() { SetCopiedAcrossHook(nullptr); }
  } reset;
  const std::string from = dir / "before.csv";
  const struct {
    const char* meanwhile;
    std::function<void()> hook;
    const char* leftAtSource;  // nullptr: nothing
  } cases[] = {
      {"nothing", nullptr, nullptr},
      {"the source removed", [&] { ASSERT_EQ(unlink(from.c_str()), 0); }, nullptr},
      {"another log written under its name", [&] { ASSERT_TRUE(AtomicWriteBytes(from, "theirs")); }, "theirs"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.meanwhile);
    const std::string to = other / (std::to_string(n++) + "Marden7.csv");
    ASSERT_TRUE(AtomicWriteBytes(from, "mine"));
    SetCopiedAcrossHook(c.hook);
    EXPECT_TRUE(MoveFile(from, to));
    EXPECT_EQ(ReadAllBytes(to), "mine");
    if (c.leftAtSource) {
      EXPECT_EQ(ReadAllBytes(from), c.leftAtSource);
    } else {
      EXPECT_FALSE(PathExists(from));
    }
    DeleteFile(from);
  }
  SetCopiedAcrossHook(nullptr);
  if (geteuid() != 0) return;  // only root may give files away
  ASSERT_TRUE(AtomicWriteBytes(from, "nobody's"));
  ASSERT_EQ(chown(from.c_str(), 65534, 65534), 0);
  ASSERT_TRUE(MoveFile(from, other / "theirs.csv"));
  struct stat st{};
  ASSERT_EQ(stat((other / "theirs.csv").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
}

// A source in a folder this user may not change cannot be removed, as a
// rename could not move it: the move fails and keeps only the source, no
// copy at the target. Root may change any folder, so a child process of
// another user tries it there.
TEST(RuntimeFiles, AMoveAcrossWhoseSourceStaysLeavesNoCopy) {
  ScratchFolder dir, other("/dev/shm");
  if (!OnOtherFileSystems(dir.path(), other.path())) GTEST_SKIP() << "no second file system at /dev/shm";
  const std::string from = dir / "before.csv", to = other / "0Marden7.csv";
  ASSERT_TRUE(AtomicWriteBytes(from, "log"));
  ASSERT_EQ(chmod(from.c_str(), 0644), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  ASSERT_EQ(chmod(other.path().c_str(), 0777), 0);
  if (geteuid() != 0) {
    EXPECT_FALSE(MoveFile(from, to));
  } else {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (setgid(1111) != 0 || setuid(2222) != 0) _exit(2);
      _exit(MoveFile(from, to) ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no other user can be taken on here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the move said it moved";
  }
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(ReadAllBytes(from), "log");
  EXPECT_FALSE(PathExists(to));
  EXPECT_EQ(RemoveOrphanTemps(other.path()), 0);
}

TEST(RuntimeFiles, MoveToFreeNameNeverReplaces) {
  ScratchFolder dir;
  ASSERT_TRUE(AtomicWriteBytes(dir / "before.csv", "new"));
  ASSERT_TRUE(AtomicWriteBytes(dir / "before1.csv", "old"));
  EXPECT_EQ(MoveToFreeName(dir / "before.csv", dir.path(), "before", ".csv"), dir / "before2.csv");
  EXPECT_EQ(ReadAllBytes(dir / "before1.csv"), "old");
  EXPECT_EQ(ReadAllBytes(dir / "before2.csv"), "new");
  EXPECT_EQ(MoveToFreeName(dir / "gone.csv", dir.path(), "before", ".csv"), "");
}

TEST(RuntimeFiles, ProgramPaths) {
  EXPECT_FALSE(ProgramFolder().empty());
  EXPECT_TRUE(DirExists(ProgramFolder()));
  SetProgramFolder("/opt/zarv/");
  EXPECT_EQ(ProgramFolder(), "/opt/zarv");
  EXPECT_EQ(ProgramPath("\\Temp\\set.ini"), "/opt/zarv/Temp/set.ini");
  EXPECT_EQ(ProgramPath("Temp\\joy.ini"), "/opt/zarv/Temp/joy.ini");
  EXPECT_EQ(ProgramPath("\\MardenⅡ.brd"), "/opt/zarv/MardenⅡ.brd");
  SetProgramFolder("");
  EXPECT_NE(ProgramFolder(), "/opt/zarv");

  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "/b"), "/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(JoinPath("/a", ""), "/a");
}

}  // namespace
}  // namespace zarv
