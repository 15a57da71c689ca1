// The layer check the build runs: it refuses what the include roots cannot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/runtime/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs the check over a tree; true when it lets the tree through.
bool Passes(const std::string& root) {
  const std::string line = "cmake -DZARV_ROOT='" + root + "' -P '" ZARV_SOURCE_DIR "/cmake/check_layers.cmake' >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

// A tree of one source file holding `text`.
bool PassesWith(const std::string& file, const std::string& text) {
  const zarv::ScratchFolder tree;
  const fs::path path = fs::path(tree.path()) / file;
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
  return Passes(tree.path());
}

TEST(LayerCheck, RefusesIncludesAcrossLayersThatTheIncludeRootsLetThrough) {
  EXPECT_TRUE(Passes(ZARV_SOURCE_DIR));
  EXPECT_TRUE(PassesWith("src/flight/a.cpp", "#include \"flight/flight_state.h\"\n#include <vector>\n"));
  EXPECT_TRUE(PassesWith("src/platform/ui/a.cpp", "#include <QWidget>\n#include <SDL.h>\n"));
  EXPECT_FALSE(PassesWith("src/flight/a.cpp", "#include \"../shell/shell_state.h\"\n"));
  EXPECT_FALSE(PassesWith("src/aircraft/a.h", "  #  include \"aircraft/../flight/flight_options.h\"\n"));
  EXPECT_FALSE(PassesWith("src/view/a.cpp", "#include <SDL2/SDL.h>\n"));
  EXPECT_FALSE(PassesWith("tools/probe/a.cpp", "#include <QImage>\n"));
}

}  // namespace
