// zarv-probe replay with a camera of one's own: the pictures that show a
// trail passing over the camera are drawn with it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/runtime/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

int Replay(const std::string& extra, const std::string& picture) {
  const fs::path aircraft = fs::path(ZARV_SOURCE_DIR) / "tests" / "data" / "aircraft" / "Super ZarvⅣ.brd";
  const std::string line = std::string(ZARV_PROBE) + " replay '" + aircraft.string() +
                           "' --seconds 30 --frame 201 " + extra + " --out '" + picture + "' >/dev/null 2>&1";
  const int rc = std::system(line.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ProbeReplay, ACameraOfOnesOwnOrTheOpeningsDefault) {
  const zarv::ScratchFolder dir;
  const std::string opening = dir / "opening.bmp", own = dir / "own.bmp", unset = dir / "unset.bmp";
  ASSERT_EQ(Replay("", opening), 0);
  ASSERT_EQ(Replay("--camera -91,-31,0", own), 0);
  // Within a metre of the origin at the lowest height counts as no camera.
  ASSERT_EQ(Replay("--camera 0.5,-0.5,0", unset), 0);
  EXPECT_GT(Bytes(own).size(), 1000u);
  EXPECT_NE(Bytes(own), Bytes(opening));
  EXPECT_EQ(Bytes(unset), Bytes(opening));

  for (const char* bad : {"1,2", "1,2,3,4", "1,2,3,", ",1,2", "a,1,2", "1,2,2.5", "1,2,14", "1,2,-1"}) {
    const std::string picture = dir / "bad.bmp";
    EXPECT_EQ(Replay(std::string("--camera ") + bad, picture), 2) << bad;
    EXPECT_FALSE(fs::exists(picture)) << bad;
  }
}

}  // namespace
