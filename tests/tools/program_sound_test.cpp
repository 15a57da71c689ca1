// The program itself, started from a scratch folder with SDL's disk audio
// driver: the transition sound is heard at start-up, and on a virtual screen
// with keys typed as a pilot would, the wind of a flight.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/runtime/scratch_folder.h"
#include "platform/wave_image.h"
#include "tools/command_output.h"

namespace {

namespace fs = std::filesystem;

// Output frames whose left sample is the sound at full volume.
size_t FullVolumeFrames(const fs::path& raw, int amplitude) {
  std::ifstream in(raw, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t n = 0;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    int16_t left = 0;
    std::memcpy(&left, bytes.data() + i, 2);
    if (std::abs(left - amplitude) <= amplitude / 50) ++n;
  }
  return n;
}

TEST(ProgramSound, StartUpPlaysTheTransitionSound) {
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path();
  // The program keeps its files beside its executable: a copy of its own.
  const fs::path exe = dir / "zarv";
  fs::copy_file(ZARV_PROGRAM, exe);
  const int amplitude = 12000, frames = 4410;  // 0.2 s
  std::ofstream(dir / "soundn.wav", std::ios::binary)
      << zarv::testing::MakeWave({.channels = 1, .rate = 22050, .bits = 16, .frames = frames, .value = amplitude});
  const fs::path raw = dir / "out.raw";

  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    if (chdir(dir.c_str()) != 0) _exit(127);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Twice the sound's frames at the device's 44100 per second, most of them
  // at full volume; the program then waits on its first screen.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  size_t heard = 0;
  int status = 0;
  bool exited = false;
  while (heard < size_t(frames) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(pid, &status, WNOHANG) == pid) {
      exited = true;
      break;
    }
    if (fs::exists(raw)) heard = FullVolumeFrames(raw, amplitude);
  }
  if (!exited) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  EXPECT_FALSE(exited) << "the program ended by itself, status " << status;
  EXPECT_GE(heard, size_t(frames));
}

// A process of the test's own, stopped when the object goes.
struct Child {
  pid_t pid = -1;
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Stop(); }
  bool Running() {
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == pid) pid = -1;  // ended by itself
    return pid > 0;
  }
  // Asked first: a display server takes its lock file with it.
  void Stop() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid = -1;
  }
};

// Starts argv in dir with the given variables set (an empty value unsets),
// its output thrown away.
void Spawn(Child& child, const std::vector<std::string>& argv,
           const std::vector<std::pair<std::string, std::string>>& env, const fs::path& dir) {
  child.pid = fork();
  if (child.pid != 0) return;
  for (const auto& [name, value] : env) {
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  if (chdir(dir.c_str()) != 0) _exit(127);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  dup2(null, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// The time a program test has: CTest's limit for it less half a minute for
// its own ending (stopping the runs and the screen), so that on a slow
// machine it fails by itself, saying where, before CTest ends it.
class Budget {
 public:
  using Clock = std::chrono::steady_clock;
  // `seconds` from now, or the budget's end if that comes first.
  Clock::time_point Within(int seconds) const { return std::min(Clock::now() + std::chrono::seconds(seconds), end_); }
  // Whole seconds left, 1 to `most`: a tool's time-out.
  int Seconds(int most) const {
    const auto left = std::chrono::duration_cast<std::chrono::seconds>(end_ - Clock::now()).count();
    return int(std::clamp<long long>(left, 1, most));
  }
  bool Spent() const { return Clock::now() >= end_; }
  // Said after a failure: whether the budget ran out.
  std::string Note() const { return Spent() ? " (the test's time ran out)" : ""; }

 private:
  Clock::time_point end_ = Clock::now() + std::chrono::seconds(ZARV_PROGRAM_TEST_TIMEOUT - 30);
};

bool Installed(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0;
}

// One test at a time picks and starts its virtual screen: tests run side
// by side would each find the same number free and start two servers on it.
constexpr const char* kDisplayPickLock = "/tmp/zarv-test-display.lock";

// Takes the lock file at `path`, made by whichever user came first: opened
// to read only (flock needs no more), so that any user can take it whatever
// the first one's umask left. The handle, or -1 and `error` saying why.
int TakeDisplayPickLock(const std::string& path, std::string& error) {
  for (int tries = 0; tries < 10; ++tries) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      fd = open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0 && errno == EEXIST) continue;  // made by another meanwhile
      if (fd >= 0) fchmod(fd, 0644);
    }
    if (fd < 0) break;
    while (flock(fd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      error = "cannot lock " + path + ": " + std::strerror(errno);
      close(fd);
      return -1;
    }
    return fd;
  }
  error = "cannot open " + path + ": " + std::strerror(errno);
  return -1;
}

// Whether display `number` is free: no lock, or one whose server has gone
// without clearing it (ended with a test that CTest stopped at its time
// limit), cleared here with its socket, so that the socket seen next is
// the new server's. A lock that cannot be read is taken to be held.
bool DisplayFree(const std::string& number) {
  const std::string lock = "/tmp/.X" + number + "-lock", socket = "/tmp/.X11-unix/X" + number;
  std::error_code ec;
  if (!fs::exists(lock, ec) && !ec) return true;
  long pid = 0;
  if (!(std::ifstream(lock) >> pid) || pid <= 0 || kill(pid_t(pid), 0) == 0 || errno != ESRCH) return false;
  fs::remove(lock, ec);
  if (ec) return false;
  fs::remove(socket, ec);
  return !ec && !fs::exists(socket, ec);
}

// A virtual screen: the display ZARV_TEST_DISPLAY names, else the first free
// one from :90 up, clear of the numbers people pick by hand. Its number, or
// -1 and `error` saying why.
int StartVirtualScreen(Child& server, std::string& error) {
  struct Lock {
    int fd;
    ~Lock() {
      if (fd >= 0) close(fd);
    }
  } const lock{TakeDisplayPickLock(kDisplayPickLock, error)};
  if (lock.fd < 0) return -1;
  std::vector<int> numbers;
  if (const char* d = std::getenv("ZARV_TEST_DISPLAY")) numbers.push_back(std::atoi(d));
  else
    for (int n = 90; n < 130; ++n) numbers.push_back(n);
  for (int n : numbers) {
    const std::string number = std::to_string(n);
    if (!DisplayFree(number)) continue;
    // Without -noreset the server starts afresh when its last client goes:
    // a restarted program that connects meanwhile finds no display.
    Spawn(server,
          {"Xvfb", std::string(1, ':').append(number), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
          {}, "/");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (server.Running() && std::chrono::steady_clock::now() < deadline) {
      if (fs::exists("/tmp/.X11-unix/X" + number) && server.Running()) return n;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.Stop();
  }
  error = numbers.size() == 1 ? "display :" + std::to_string(numbers[0]) + " (ZARV_TEST_DISPLAY) is in use or did not start"
                              : "no virtual screen could be started";
  return -1;
}

// Any user takes the lock, also on a file another user made (mode 0644:
// only they may write it), and holds it; one that cannot be taken says why.
TEST(DisplayPickLock, AnyUserTakesItAndHoldsIt) {
  // The other user: nobody, when the test runs as root, who must reach the
  // file: so below /tmp, where the lock itself lies, as TMPDIR may be closed
  // to others. Else the file is made read-only, as another's is to this user.
  const bool root = getuid() == 0;
  struct Folder {
    std::string path;
    ~Folder() {
      std::error_code ec;
      if (!path.empty()) fs::remove_all(path, ec);
    }
  } folder{(root ? fs::path("/tmp") : fs::temp_directory_path()).append("zarv-lock-XXXXXX").string()};
  ASSERT_NE(mkdtemp(folder.path.data()), nullptr) << folder.path << ": " << std::strerror(errno);
  const std::string path = folder.path + "/display.lock";
  std::string error;
  const int first = TakeDisplayPickLock(path, error);
  ASSERT_GE(first, 0) << error;
  close(first);
  if (root) ASSERT_EQ(chmod(folder.path.c_str(), 0755), 0);
  else ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (root && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    if (access(folder.path.c_str(), X_OK) != 0) _exit(5);
    std::string childError;
    if (TakeDisplayPickLock(path, childError) < 0) _exit(3);
    const int other = open(path.c_str(), O_RDONLY);
    _exit(other >= 0 && flock(other, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  if (WEXITSTATUS(status) == 5) GTEST_SKIP() << "user nobody cannot enter " << folder.path;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: not made nobody, 3: not taken, 4: not held";

  EXPECT_LT(TakeDisplayPickLock(folder.path + "/no such folder/display.lock", error), 0);
  EXPECT_NE(error.find("no such folder/display.lock: "), std::string::npos) << error;
}

// The louder channel's RMS over the stereo 16-bit frames of bytes [from, to).
double Rms(const std::string& bytes, size_t from, size_t to) {
  double left = 0, right = 0;
  size_t n = 0;
  for (size_t i = from & ~size_t{3}; i + 4 <= std::min(to, bytes.size()); i += 4, ++n) {
    int16_t l = 0, r = 0;
    std::memcpy(&l, bytes.data() + i, 2);
    std::memcpy(&r, bytes.data() + i + 2, 2);
    left += double(l) * l;
    right += double(r) * r;
  }
  return n > 0 ? std::sqrt(std::max(left, right) / double(n)) : -1.0;
}

size_t FileSize(const fs::path& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  return ec ? 0 : size_t(size);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A copy of the program in dir set to start straight into a flight (start
// mode 3) with the glider's file and the sound on, its wind loop a steady
// `windAmplitude`.
void PrepareStraightIntoAFlight(const fs::path& dir, int windAmplitude) {
  fs::copy_file(ZARV_PROGRAM, dir / "zarv");
  std::ofstream(dir / "wind.wav", std::ios::binary)
      << zarv::testing::MakeWave({.channels = 1, .rate = 22050, .bits = 16, .frames = 22050, .value = windAmplitude});
  fs::create_directory(dir / "Temp");
  fs::copy_file(fs::path(ZARV_SOURCE_DIR) / "tests/data/aircraft/Marden7.brd", dir / "Temp/file.dat");
  std::ofstream set(dir / "Temp/set.ini", std::ios::binary);
  set << " 3\r\n\r\n\r\n" << (dir / "Marden7.brd").string() << "\r\n" << dir.string() << "\r\nMarden7.brd\r\n";
  for (int line = 7; line <= 12; ++line) set << " 0\r\n";
  set << " 1\r\n";
}

// Starts that program on a virtual screen of its own, its sound going into
// `raw` through SDL's disk driver. The display (":N"), empty when none
// started, `error` saying why.
std::string StartOnAVirtualScreen(Child& server, Child& program, const fs::path& dir, const fs::path& raw,
                                  std::string& error) {
  const int display = StartVirtualScreen(server, error);
  if (display < 0) return {};
  const std::string screen = std::string(1, ':').append(std::to_string(display));
  Spawn(program, {(dir / "zarv").string()},
        {{"DISPLAY", screen}, {"QT_QPA_PLATFORM", "xcb"}, {"SDL_AUDIODRIVER", "disk"},
         {"SDL_DISKAUDIOFILE", raw.string()}},
        dir);
  return screen;
}

// A glider flown in the program: straight into the flight screen with the
// sound on, a moment on the platform, then the launch key. What reaches the
// speaker is the wind loop, faint on the platform and loud in the air.
TEST(ProgramSound, AFlightIsHeardLouderInTheAirThanOnThePlatform) {
  ASSERT_TRUE(Installed("Xvfb") && Installed("xdotool")) << "scripts/setup.sh installs xvfb and xdotool";
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path();
  const int amplitude = 20000;
  PrepareStraightIntoAFlight(dir, amplitude);
  const fs::path raw = dir / "out.raw";

  Child server, program;
  std::string error;
  const std::string screen = StartOnAVirtualScreen(server, program, dir, raw, error);
  ASSERT_FALSE(screen.empty()) << error;
  const std::string xdotool = "DISPLAY=" + screen + " timeout 60 xdotool ";
  const std::string window =
      zarv::testing::CommandOutput(xdotool + "search --sync --onlyvisible --name '^ZarvMarden' | head -1");
  ASSERT_FALSE(window.empty()) << "the flight screen never showed";

  // The device writes 44100 stereo 16-bit frames a second as they play.
  constexpr size_t kSecond = 44100 * 4;
  auto waitFor = [&](size_t bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (FileSize(raw) < bytes && program.Running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return FileSize(raw) >= bytes;
  };
  // On the platform: a second of sound, once the loop has set the level.
  ASSERT_TRUE(waitFor(FileSize(raw) + 3 * kSecond / 2));
  const size_t platformFrom = FileSize(raw);
  ASSERT_TRUE(waitFor(platformFrom + kSecond));
  const size_t platformTo = FileSize(raw);

  // Keyboard steering (the glider flies trimmed), then the launch key, typed
  // with the pointer over the view.
  const std::string keys = xdotool + "mousemove --window " + window.substr(0, window.find('\n')) +
                           " 320 160 key semicolon Return >/dev/null 2>&1";
  ASSERT_EQ(std::system(keys.c_str()), 0);
  // The run along the platform, then the glide: the loudest half second.
  const size_t launch = FileSize(raw);
  double loudest = 0;
  for (size_t from = launch; from < launch + 20 * kSecond && loudest < amplitude * 0.1; from += kSecond / 2) {
    if (!waitFor(from + kSecond / 2)) break;
    loudest = std::max(loudest, Rms(ReadAll(raw), from, from + kSecond / 2));
  }
  const double quiet = Rms(ReadAll(raw), platformFrom, platformTo);
  EXPECT_GT(quiet, 0) << "no wind on the platform";
  EXPECT_LT(quiet, amplitude * 0.02);
  EXPECT_GT(loudest, amplitude * 0.05) << "no wind in the air";
  EXPECT_GT(loudest, 10 * quiet);
}

// Which file `path` is and when it was last written: a file replaced by a
// rename is another.
std::pair<ino_t, int64_t> FileIdentity(const fs::path& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return {0, 0};
  return {st.st_ino, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The processes running the executable at `exe`, other than `except`.
std::vector<pid_t> RunningCopies(const fs::path& exe, pid_t except = -1) {
  std::vector<pid_t> out;
  for (const fs::directory_entry& e : fs::directory_iterator("/proc")) {
    const pid_t pid = std::atoi(e.path().filename().c_str());
    if (pid <= 0 || pid == except) continue;
    std::error_code ec;
    if (fs::read_symlink(e.path() / "exe", ec) == exe && !ec) out.push_back(pid);
  }
  return out;
}

// What the handles of a process point to, once four looks agree in number
// (its threads open handles of their own as they start). The looks are a
// quarter second of the sound it writes to `raw` apart: a busy machine slows
// the program, and so the looks.
std::vector<std::string> SteadyHandles(pid_t pid, const fs::path& raw, const Budget& budget) {
  auto look = [pid] {
    std::vector<std::string> targets;
    std::error_code ec;
    for (fs::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", ec), end; !ec && it != end;
         it.increment(ec))
      targets.push_back(fs::read_symlink(it->path(), ec).string());
    return targets;
  };
  std::vector<std::string> last = look();
  for (int tries = 0, same = 0; tries < 40 && same < 3 && !budget.Spent(); ++tries) {
    const size_t until = FileSize(raw) + 44100;
    const auto deadline = budget.Within(10);
    while (FileSize(raw) < until && kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<std::string> now = look();
    same = now.size() == last.size() ? same + 1 : 0;
    last = std::move(now);
  }
  return last;
}

// Back to the platform, four times, with the sound on: every run is a new
// process, which holds none of the last one's handles (each restart used to
// pass them all on, the sound device's among them) and no more than the
// first restarted run, give or take one. The threads' own wake-up handles
// are not counted: each pooled thread of the drawing has one, and a busy
// machine lets a run start fewer of those. A run given the last one's
// handles would also hold its sockets and files.
TEST(ProgramRestart, EachRunBackOnThePlatformHoldsTheSameHandles) {
  ASSERT_TRUE(Installed("Xvfb") && Installed("xdotool")) << "scripts/setup.sh installs xvfb and xdotool";
  const Budget budget;
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path();
  const fs::path exe = dir / "zarv";
  PrepareStraightIntoAFlight(dir, 8000);
  const fs::path raw = dir / "out.raw";

  // The restarted runs are detached grandchildren of the program: this test
  // takes them in as their parents end, so that CTest, which at its time
  // limit ends the test with everything below it, ends them too.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  struct Reaper {
    ~Reaper() {
      while (waitpid(-1, nullptr, WNOHANG) > 0) {
      }
      prctl(PR_SET_CHILD_SUBREAPER, 0);
    }
  } reaper;
  Child server, program;
  std::string error;
  const std::string screen = StartOnAVirtualScreen(server, program, dir, raw, error);
  ASSERT_FALSE(screen.empty()) << error;
  // Otherwise each is ended by its id, found by the executable's path in
  // the scratch folder, until none is left (one may be starting the next).
  struct StopRestarted {
    fs::path exe;
    pid_t first;
    ~StopRestarted() {
      for (int round = 0; round < 100; ++round) {
        const std::vector<pid_t> left = RunningCopies(exe, first);
        if (left.empty()) break;
        for (const pid_t pid : left) {
          kill(pid, SIGKILL);
          waitpid(pid, nullptr, 0);
        }
      }
    }
  } stop{exe, program.pid};
  pid_t current = program.pid;
  // A restarted run that has ended is this test's to reap.
  auto ended = [&](pid_t pid) {
    return pid == program.pid ? !program.Running() : waitpid(pid, nullptr, WNOHANG) == pid || kill(pid, 0) != 0;
  };

  auto xdotool = [&] { return "DISPLAY=" + screen + " timeout " + std::to_string(budget.Seconds(60)) + " xdotool "; };
  // The flight screen up and its sound playing.
  auto flying = [&] {
    const std::string window =
        zarv::testing::CommandOutput(xdotool() + "search --sync --onlyvisible --name '^ZarvMarden' | head -1");
    const auto deadline = budget.Within(30);
    while (FileSize(raw) < 44100 * 4 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !window.empty() && FileSize(raw) >= 44100 * 4;
  };
  ASSERT_TRUE(flying()) << "the flight screen never showed" << budget.Note();
  // The first run holds what this test passed on; the restarted ones start
  // from the program's own.
  std::vector<size_t> counts;
  for (int run = 1; run <= 4; ++run) {
    // The launch, then Esc until the program takes one for the way back to
    // the platform, which it starts by writing the hand-over file: the flight
    // screen takes no Esc in its first two seconds, and one typed once the
    // glider has left the platform ends the flight first. Typed with the
    // pointer over the view, each once the one before had its chance.
    const std::string window =
        zarv::testing::CommandOutput(xdotool() + "search --sync --onlyvisible --name '^ZarvMarden' | head -1");
    ASSERT_FALSE(window.empty()) << "run " << run << budget.Note();
    ASSERT_EQ(std::system((xdotool() + "mousemove --window " + window.substr(0, window.find('\n')) +
                           " 320 160 key Return >/dev/null 2>&1").c_str()),
              0)
        << "run " << run << budget.Note();
    std::error_code ec;
    fs::remove(raw, ec);  // heard afresh from the new run; the old one's is gone
    const auto handOver = FileIdentity(dir / "Temp/file.dat");
    const auto deadline = budget.Within(60);
    while (FileIdentity(dir / "Temp/file.dat") == handOver && std::chrono::steady_clock::now() < deadline) {
      ASSERT_EQ(std::system((xdotool() + "key Escape >/dev/null 2>&1").c_str()), 0) << "run " << run << budget.Note();
      const auto answer = std::chrono::steady_clock::now() + std::chrono::seconds(2);
      while (FileIdentity(dir / "Temp/file.dat") == handOver && std::chrono::steady_clock::now() < answer)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // The run ends once its next has started. Only then are the copies
    // counted: while it runs, its launcher's own fork (the same executable)
    // may be among them, and a busy machine may hold that fork a while. The
    // count then settles at the next run alone.
    while (!ended(current) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(ended(current)) << "run " << run << " did not end, beside "
                                << ::testing::PrintToString(RunningCopies(exe, current)) << budget.Note();
    std::vector<pid_t> next = RunningCopies(exe, current);
    while (next.size() != 1 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      next = RunningCopies(exe, current);
    }
    ASSERT_EQ(next.size(), 1u) << "run " << run << " did not start again once" << budget.Note();
    current = next[0];
    ASSERT_TRUE(flying()) << "run " << run << budget.Note();
    const std::vector<std::string> handles = SteadyHandles(current, raw, budget);
    for (const std::string& target : handles)
      EXPECT_FALSE(target.ends_with(" (deleted)")) << "run " << run << " holds " << target;
    counts.push_back(size_t(std::count_if(handles.begin(), handles.end(),
                                          [](const std::string& target) { return target != "anon_inode:[eventfd]"; })));
  }
  EXPECT_LE(*std::max_element(counts.begin(), counts.end()), counts[0] + 1) << ::testing::PrintToString(counts);
}

}  // namespace
