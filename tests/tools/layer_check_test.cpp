// The layer check the build runs: it refuses what the include roots cannot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/runtime/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs the check over a tree; true when it lets the tree through.
bool Passes(const std::string& root) {
  const std::string line = "cmake -DZARV_ROOT='" + root + "' -DZARV_LAYER_DIRS='" ZARV_LAYER_DIRS "' -P '" ZARV_SOURCE_DIR
                           "/cmake/check_layers.cmake' >/dev/null 2>&1";
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

// The folders the build found Qt's and SDL's headers in, as the check reads
// them; the first of each is enough for a header to name.
std::string FolderHolding(const std::string& header) {
  std::ifstream in(ZARV_LAYER_DIRS);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("ZARV_PLATFORM_HEADER_DIRS") == std::string::npos) continue;
    std::string list = line.substr(line.find('"') + 1);
    list = list.substr(0, list.rfind('"'));
    for (std::size_t at = 0; at <= list.size();) {
      const std::size_t end = std::min(list.find(';', at), list.size());
      const std::string dir = list.substr(at, end - at);
      if (fs::exists(fs::path(dir) / header)) return dir;
      at = end + 1;
    }
  }
  return "";
}

// Qt and SDL keep their headers out of every layer but the platform's,
// whatever the spelling: Qt's lower-case names, a path through the folders
// above them, an absolute path, a link in the tree, a header of theirs
// without their name, a computed or continued include.
TEST(LayerCheck, RefusesQtAndSdlHeadersInEverySpelling) {
  const std::string qt = FolderHolding("qstring.h"), sdl = FolderHolding("SDL.h");
  ASSERT_FALSE(qt.empty());
  ASSERT_FALSE(sdl.empty());
  const std::string refused[] = {
      "#include <qstring.h>\n",
      "#include \"qglobal.h\"\n",
      "#  include   <qstring.h>  // a comment\n",
      "#/* hidden */include <qstring.h>\n",
      "#include_next <qstring.h>\n",
      "#include <QtCore/qstring.h>\n",
      "#include <qt6/QtCore/qstring.h>\n",
      "#include <" + qt + "/qstring.h>\n",
      "#include \"" + sdl + "/SDL.h\"\n",
      "#include <begin_code.h>\n",
      "#include <SDL_stdinc.h>\n",
      "#define HEADER <qstring.h>\n#include HEADER\n",
      "#include \\\n<qstring.h>\n",
  };
  std::vector<std::string> spellings(std::begin(refused), std::end(refused));
  // The path below the compiler's own folder, as the packages lay it out.
  if (qt.rfind("/usr/include/", 0) == 0) spellings.push_back("#include <" + qt.substr(13) + "/qstring.h>\n");
  for (const std::string& text : spellings) {
    EXPECT_FALSE(PassesWith("src/view/a.cpp", text)) << text;
    EXPECT_TRUE(PassesWith("src/platform/ui/a.cpp", text)) << text;
  }
  // A link in the tree that leads into SDL's folder.
  const zarv::ScratchFolder tree;
  const fs::path link = fs::path(tree.path()) / "src/view/sound_link.h";
  fs::create_directories(link.parent_path());
  fs::create_symlink(fs::path(sdl) / "SDL.h", link);
  std::ofstream(fs::path(tree.path()) / "src/view/a.cpp") << "#include \"view/sound_link.h\"\n";
  EXPECT_FALSE(Passes(tree.path()));
  // Plain C++ and the layers' own headers pass, with or without a comment.
  EXPECT_TRUE(PassesWith("src/view/a.cpp", "#include <cmath>\n#include <string.h>\n#include \"view/a.h\" // x\n"));
}

}  // namespace
