// Starting a detached process: the restart's new program gets the standard
// handles and nothing else of the old one, in its folder, whatever bytes the
// path holds.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/runtime/process.h"
#include "program_test.h"

namespace zarv {
namespace {

constexpr const char* kReportVariable = "ZARV_TEST_REPORT_HANDLES";

// Started as the child of the test below (this test program again): before
// anything else runs, it writes its id, its folder and its open handles
// (other than the listing's own) to the file the variable names, and ends.
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
  const std::string temp = std::string(out) + ".part";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::rename(temp.c_str(), out);
  }
  _exit(0);
}();

class DetachedProcessTest : public testing::ProgramTest {};

TEST_F(DetachedProcessTest, TheNewProcessHoldsOnlyTheStandardHandlesInItsOwnFolder) {
  // A folder whose name is no UTF-8 (Latin-1 "café"), the executable in it.
  const std::string dir = Path("caf\xE9");
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  const std::string exe = dir + "/program";
  ASSERT_EQ(symlink(std::filesystem::read_symlink("/proc/self/exe").c_str(), exe.c_str()), 0);
  const std::string report = Path("report.txt");

  // Handles this process holds that a child would inherit: a file, a pipe,
  // one far up.
  const int file = open("/dev/null", O_RDONLY);
  int pipeFds[2] = {-1, -1};
  ASSERT_EQ(pipe(pipeFds), 0);
  const int high = dup2(file, 300);
  ASSERT_GE(file, 3);
  ASSERT_EQ(high, 300);

  setenv(kReportVariable, report.c_str(), 1);
  int pid = 0;
  const bool started = StartDetachedProcess(exe, dir, &pid);
  unsetenv(kReportVariable);
  for (int fd : {file, pipeFds[0], pipeFds[1], high}) close(fd);
  ASSERT_TRUE(started);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Exists(report) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(Exists(report)) << "the started process never reported";
  EXPECT_EQ(Bytes(report), std::to_string(pid) + "\n" + dir + "\n0 1 2 ");
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
