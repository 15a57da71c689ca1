// Starting a detached process: the restart's new program gets the standard
// handles and nothing else of the old one, in its folder, whatever bytes the
// path holds.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/runtime/process.h"
#include "program_test.h"
#include "tools/command_output.h"

namespace zarv {
namespace {

constexpr const char* kReportVariable = "ZARV_TEST_REPORT_HANDLES";

// Started as the child of the test below (this test program again): before
// anything else runs, it writes its id, its folder, its open handles (other
// than the listing's own) and which of a broken pipe and the file-size limit
// it ignores to the file the variable names, and ends.
[[maybe_unused]] const bool kChildReport = [] {
  const char* out = std::getenv(kReportVariable);
  if (!out) return false;
  std::string text = std::to_string(getpid()) + "\n";
  char cwd[4096];
  text += (getcwd(cwd, sizeof cwd) ? cwd : "?");
  text += "\n";
  if (DIR* d = opendir("/proc/self/fd")) {
    while (const dirent* e = readdir(d)) {
      if (e->d_name[0] == '.' || std::atoi(e->d_name) == dirfd(d)) continue;
      text += e->d_name;
      text += " ";
    }
    closedir(d);
  }
  text += "\n";
  for (const auto& [number, name] : {std::pair{SIGPIPE, "SIGPIPE "}, std::pair{SIGXFSZ, "SIGXFSZ "}}) {
    struct sigaction now {};
    if (sigaction(number, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) text += name;
  }
  const std::string temp = std::string(out) + ".part";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::rename(temp.c_str(), out);
  }
  _exit(0);
}();

class DetachedProcessTest : public testing::ProgramTest {};

// Handles of the test's own, above the standard ones (which the runner may
// have closed), closed however the test ends.
struct Handles {
  std::vector<int> fds;
  ~Handles() {
    for (int fd : fds) close(fd);
  }
  // Moves fd to `at` or the first free number above it.
  int Keep(int fd, int at = 3) {
    const int moved = fcntl(fd, F_DUPFD, at);
    close(fd);
    if (moved >= 0) fds.push_back(moved);
    return moved;
  }
};

TEST_F(DetachedProcessTest, TheNewProcessHoldsOnlyTheStandardHandlesInItsOwnFolder) {
  // A folder whose name is no UTF-8 (Latin-1 "café"), the executable in it.
  const std::string dir = Path("caf\xE9");
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  const std::string exe = dir + "/program";
  ASSERT_EQ(symlink(std::filesystem::read_symlink("/proc/self/exe").c_str(), exe.c_str()), 0);
  const std::string report = Path("report.txt");

  // Handles this process holds that a child would inherit: a file, a pipe,
  // one far up.
  Handles held;
  const int file = held.Keep(open("/dev/null", O_RDONLY));
  int pipeFds[2] = {-1, -1};
  ASSERT_EQ(pipe(pipeFds), 0);
  held.Keep(pipeFds[0]);
  held.Keep(pipeFds[1]);
  ASSERT_GE(file, 3);
  ASSERT_EQ(held.Keep(dup(file), 300), 300);
  // The standard handles are passed on as they are: those the runner gave
  // (where it closed one, another handle of this process may hold its
  // number, close-on-exec).
  std::string standard;
  for (int fd = 0; fd <= 2; ++fd) {
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0 && !(flags & FD_CLOEXEC)) standard += std::to_string(fd) + " ";
  }

  // Both ignored here (the file-size limit by every program's start), as an
  // ignored signal stays ignored in what a process starts.
  struct sigaction ignore {}, pipeWas {}, sizeWas {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &pipeWas);
  sigaction(SIGXFSZ, &ignore, &sizeWas);
  setenv(kReportVariable, report.c_str(), 1);
  int pid = 0;
  const bool started = StartDetachedProcess(exe, dir, &pid);
  unsetenv(kReportVariable);
  sigaction(SIGPIPE, &pipeWas, nullptr);
  sigaction(SIGXFSZ, &sizeWas, nullptr);
  ASSERT_TRUE(started);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Exists(report) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(Exists(report)) << "the started process never reported";
  // The folder as the system names it: the scratch folder may lie below a
  // link.
  char* real = realpath(dir.c_str(), nullptr);
  ASSERT_NE(real, nullptr);
  const std::string canonical = real;
  free(real);
  EXPECT_EQ(Bytes(report), std::to_string(pid) + "\n" + canonical + "\n" + standard + "\n");
}

// Runs `check` in a child of its own: its exit status, or -1 when it did
// not end by itself.
template <class Check>
int InAChild(Check check) {
  const pid_t child = fork();
  if (child == 0) _exit(check());
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Whether the standard error and the handles given are as the start leaves
// them: error passed on, the others close-on-exec.
int Marked(std::initializer_list<int> fds) {
  for (int fd : fds)
    if (!(fcntl(fd, F_GETFD) & FD_CLOEXEC)) return 1;
  return fcntl(2, F_GETFD) & FD_CLOEXEC ? 1 : 0;
}

// Without close_range the handles held are marked, as the process's own
// listing names them: also one above the soft limit, which a walk up to the
// limit would miss; the standard handles stay as they are.
TEST_F(DetachedProcessTest, WithoutCloseRangeTheHandlesHeldAreMarked) {
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max <= 100) GTEST_SKIP() << "the hard handle limit, " << limit.rlim_max << ", allows no handle 100";
  EXPECT_EQ(InAChild([] {
              rlimit l{};
              getrlimit(RLIMIT_NOFILE, &l);
              l.rlim_cur = std::max<rlim_t>(l.rlim_cur, 101);
              const int file = fcntl(open("/dev/null", O_RDONLY), F_DUPFD, 3);
              if (setrlimit(RLIMIT_NOFILE, &l) != 0 || file < 0 || dup2(file, 100) != 100 || dup2(file, 2) != 2)
                return 2;
              l.rlim_cur = 64;  // the handle 100 now lies above it
              if (setrlimit(RLIMIT_NOFILE, &l) != 0) return 2;
              MarkCloseOnExecFrom(3);
              return Marked({file, 100});
            }),
            0)
      << "1: a handle left unmarked or a standard one marked";
}

// The marking starts at the handle given, that one included, and leaves the
// one below it alone.
TEST_F(DetachedProcessTest, MarkingStartsAtTheHandleGiven) {
  EXPECT_EQ(InAChild([] {
              const int file = open("/dev/null", O_RDONLY);
              if (file < 0 || dup2(file, 49) != 49 || dup2(file, 50) != 50 || dup2(file, 51) != 51) return 2;
              MarkCloseOnExecFrom(50);
              const auto marked = [](int fd) { return (fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0; };
              if (!marked(50) || !marked(51)) return 1;
              return marked(49) ? 3 : 0;
            }),
            0)
      << "1: handle 50 or 51 left unmarked; 3: handle 49 marked";
}

// Where the listing cannot be read, here for want of a free handle to open
// it, every number up to the soft limit is marked, however high that is;
// the child sets its own, 64.
TEST_F(DetachedProcessTest, WithoutCloseRangeEveryHandleUpToTheLimitIsMarked) {
  for (const auto& [limit, top] : {std::pair<rlim_t, int>{1024, 1024}, {65536, 65536}, {70000, 70000},
                                   {1048576, 1048576}, {4000000000u, 2147483647}, {RLIM_INFINITY, 2147483647}})
    EXPECT_EQ(HandleNumberTop(limit), top) << limit;

  EXPECT_EQ(InAChild([] {
              rlimit l{};
              getrlimit(RLIMIT_NOFILE, &l);
              l.rlim_cur = std::min<rlim_t>(l.rlim_max, 64);
              const int file = fcntl(open("/dev/null", O_RDONLY), F_DUPFD, 3);
              if (setrlimit(RLIMIT_NOFILE, &l) != 0 || file < 0 || dup2(file, 2) != 2) return 2;
              while (dup(file) >= 0) {
              }
              if (errno != EMFILE) return 2;
              MarkCloseOnExecFrom(3);
              for (int fd = 3; fd < static_cast<int>(l.rlim_cur); ++fd)
                if (Marked({fd}) != 0) return 1;
              return 0;
            }),
            0)
      << "1: a handle left unmarked or a standard one marked";
}

// Every byte the children report through the pipe is set: a memory checker
// watches a run of the test below.
TEST(DetachedProcess, TheChildrenWriteNoUndefinedByte) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "valgrind does not run a sanitized build";
#else
  ASSERT_EQ(std::system("command -v valgrind >/dev/null"), 0) << "scripts/setup.sh installs valgrind";
  int status = -1;
  const std::string out = testing::CommandOutput(
      "valgrind --quiet '" + std::filesystem::read_symlink("/proc/self/exe").string() +
          "' --gtest_filter=DetachedProcessTest.AStartThatCannotRunFails 2>&1",
      &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("uninitialised"), std::string::npos) << out;
#endif
}

// The start builds where the kernel headers lack close_range: a system
// folder tree of links, all but that header.
TEST_F(DetachedProcessTest, BuildsWithoutTheCloseRangeHeader) {
  namespace fs = std::filesystem;
  const fs::path root = Path("sysroot");
  const fs::path include = root / "usr/include";
  fs::create_directories(include / "linux");
  for (const fs::directory_entry& e : fs::directory_iterator("/usr/include"))
    if (e.path().filename() != "linux") fs::create_symlink(e.path(), include / e.path().filename());
  for (const fs::directory_entry& e : fs::directory_iterator("/usr/include/linux"))
    if (e.path().filename() != "close_range.h") fs::create_symlink(e.path(), include / "linux" / e.path().filename());
  const std::string line = std::string(ZARV_CXX) + " --sysroot=" + root.string() + " -std=c++20 -fsyntax-only -I" +
                           ZARV_SOURCE_DIR + "/src " + ZARV_SOURCE_DIR + "/src/platform/runtime/process.cpp 2>&1";
  int status = -1;
  const std::string out = testing::CommandOutput(line, &status);
  EXPECT_EQ(status, 0) << line << "\n" << out;
}

// A start that cannot run says so (the restart then tells the user).
TEST_F(DetachedProcessTest, AStartThatCannotRunFails) {
  WriteBytes(Path("not-executable"), "#!/bin/sh\n");
  const struct {
    std::string exe, dir;
  } cases[] = {
      {Path("missing"), folder_},
      {Path("not-executable"), folder_},
      {"/bin/true", Path("no such folder")},
  };
  for (const auto& c : cases) {
    int pid = -1;
    EXPECT_FALSE(StartDetachedProcess(c.exe, c.dir, &pid)) << c.exe << " in " << c.dir;
    EXPECT_EQ(pid, -1);
  }
  // And one that can: /bin/true runs and ends by itself.
  EXPECT_TRUE(StartDetachedProcess("/bin/true", folder_));
}

}  // namespace
}  // namespace zarv
