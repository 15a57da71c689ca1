// A scratch folder per test, removed again with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zarv::testing {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zarv-rt-XXXXXX").string();
    if (char* p = mkdtemp(tmpl.data())) path_ = p;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace zarv::testing
