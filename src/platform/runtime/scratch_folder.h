// A folder of its own for a tool or a test, below the system's temporary
// folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zarv {

// A new folder below the system's temporary folder (or the one given),
// removed with everything in it when the object goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& below = std::filesystem::temp_directory_path()) {
    std::string pattern = (below / "zarv-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

}  // namespace zarv
