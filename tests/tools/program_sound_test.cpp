// The program itself, started from a scratch folder with no screen and SDL's
// disk audio driver: the transition sound is heard at start-up.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/runtime/scratch_folder.h"
#include "platform/wave_image.h"

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

}  // namespace
