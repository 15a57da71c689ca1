// A batch of headless flights must not pay for binding the screen libraries:
// the probe's headless commands run in a process that loads none of Qt, SDL
// or OpenGL (its drawing commands are handed to a program of their own).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/runtime/scratch_folder.h"
#include "tools/command_output.h"

namespace {

TEST(ProbeLibraries, TheHeadlessProbeLoadsNoScreenLibrary) {
  const std::string listing = zarv::testing::CommandOutput(std::string("ldd '") + ZARV_PROBE + "' 2>&1");
  ASSERT_NE(listing.find("libc.so"), std::string::npos) << listing;
  for (const char* screen : {"libQt", "libSDL", "libGL", "libEGL", "libOpenGL"})
    EXPECT_EQ(listing.find(screen), std::string::npos) << screen << " in\n" << listing;
}

// The drawing commands the README lists still work through the probe: each
// reaches the drawing program and leaves a picture.
TEST(ProbeLibraries, TheDrawingCommandsDrawThroughTheProbe) {
  const zarv::ScratchFolder scratch;
  const std::string aircraft = std::string("'") + ZARV_SOURCE_DIR + "/tests/data/aircraft/Marden7.brd'";
  const std::string commands[] = {
      "frame " + aircraft + " --seconds 1",
      "panel " + aircraft + " --seconds 1",
      "replay " + aircraft + " --seconds 4 --frame 30",
  };
  for (const std::string& command : commands) {
    const std::string out = scratch / "picture.bmp";
    std::filesystem::remove(out);
    const std::string line = std::string(ZARV_PROBE) + " " + command + " --out '" + out + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << command;
    std::ifstream in(out, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_TRUE(in && magic[0] == 'B' && magic[1] == 'M') << command;
  }
}

}  // namespace
