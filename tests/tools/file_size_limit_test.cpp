// The programs under a file-size limit smaller than what they save, as a
// user's `ulimit -f` sets it: a save that does not fit fails as on a full
// disk, and the program goes on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/runtime/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Starts argv in dir as a shell does after `ulimit -f`: at most `bytes` to a
// file, and SIGXFSZ handled as by default (this test program ignores it, and
// an ignored signal stays ignored in what it starts). Its standard error
// goes to `errors`, its output nowhere.
pid_t StartUnderFileSizeLimit(const std::vector<std::string>& argv, rlim_t bytes, const fs::path& dir,
                              const fs::path& errors) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  signal(SIGXFSZ, SIG_DFL);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = bytes;
  if (chdir(dir.c_str()) != 0 || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
  dup2(open("/dev/null", O_WRONLY), 1);
  dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status)) return "ended by signal " + std::to_string(WTERMSIG(status));
  return "exit status " + std::to_string(WEXITSTATUS(status));
}

// A tool run to its end under the limit: how it ended, and what it said on
// its standard error.
struct ToolRun {
  int status = -1;
  std::string said;
};
ToolRun RunUnderFileSizeLimit(const std::vector<std::string>& argv, rlim_t bytes, const fs::path& dir) {
  ToolRun run;
  const fs::path errors = dir / "errors.txt";
  const pid_t pid = StartUnderFileSizeLimit(argv, bytes, dir, errors);
  if (pid <= 0 || waitpid(pid, &run.status, 0) != pid) return run;
  std::ifstream in(errors);
  run.said.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  fs::remove(errors);
  return run;
}

// The names a save's temporary files have (hidden) in dir.
std::vector<std::string> HiddenNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    if (e.path().filename().string().front() == '.') names.push_back(e.path().filename().string());
  return names;
}

// A glider's log of 30 s is some 30 kB: an 8 kB limit stops it.
TEST(FileSizeLimit, TheProbeSaysItCannotWriteTheLog) {
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path(), log = dir / "flight.csv";
  const std::string aircraft = std::string(ZARV_SOURCE_DIR) + "/tests/data/aircraft/Marden7.brd";
  const ToolRun run =
      RunUnderFileSizeLimit({ZARV_PROBE, "fly", aircraft, "--seconds", "30", "--log", log}, 8192, dir);
  EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 1) << HowItEnded(run.status);
  EXPECT_NE(run.said.find(log.string() + ": cannot write"), std::string::npos) << run.said;
  EXPECT_FALSE(fs::exists(log));
  EXPECT_TRUE(HiddenNames(dir).empty()) << ::testing::PrintToString(HiddenNames(dir));
}

// The sound maker's first file is 86 kB: past a limit of 64 kB it says it
// cannot write, and leaves no cut file, nor any other.
TEST(FileSizeLimit, TheSoundMakerLeavesNoCutFile) {
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path(), sounds = dir / "sounds";
  fs::create_directory(sounds);
  const ToolRun run = RunUnderFileSizeLimit({ZARV_MAKE_SOUNDS, sounds.string()}, 64 * 1024, dir);
  EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 1) << HowItEnded(run.status);
  EXPECT_NE(run.said.find("cannot write into " + sounds.string()), std::string::npos) << run.said;
  EXPECT_TRUE(fs::is_empty(sounds));
}

// A first start writes the sky pictures (2.7 MB at 640 x 480) and then the
// panel's (0.4 MB): under a limit of 1000 kB (`ulimit -f 1000`) the program
// goes on without the sky's, as it does on a full disk, and draws them again
// at its next start.
TEST(FileSizeLimit, TheProgramStartsWithoutThePicturesThatDoNotFit) {
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path(), temp = dir / "Temp";
  fs::copy_file(ZARV_PROGRAM, dir / "zarv");
  const pid_t pid = StartUnderFileSizeLimit({(dir / "zarv").string()}, 1000 * 1024, dir, dir / "errors.txt");
  ASSERT_GT(pid, 0);
  // Ended here when it is still running (its id is not reused until then).
  struct Program {
    pid_t pid;
    bool running = true;
    bool Ended(int& status) {
      if (running && waitpid(pid, &status, WNOHANG) == pid) running = false;
      return !running;
    }
    ~Program() {
      if (!running) return;
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } program{pid};
  // The panel's mask is the last picture the start writes.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (!fs::exists(temp / "Mask0.bmp") && std::chrono::steady_clock::now() < deadline && !program.Ended(status))
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_FALSE(program.Ended(status)) << HowItEnded(status);
  ASSERT_TRUE(fs::exists(temp / "Mask0.bmp")) << "the start never wrote the panel's pictures";
  // And still running a moment later, on its way to its first screen.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_FALSE(program.Ended(status)) << HowItEnded(status);
  EXPECT_TRUE(fs::exists(temp / "Panel0.bmp"));
  EXPECT_FALSE(fs::exists(temp / "Back0.bmp"));
  EXPECT_FALSE(fs::exists(temp / "CBack0.bmp"));
  EXPECT_TRUE(HiddenNames(temp).empty()) << ::testing::PrintToString(HiddenNames(temp));
}

}  // namespace
