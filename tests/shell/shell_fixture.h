// A scratch program folder per test, with every shell structure reset.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "aircraft/aircraft_data.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "shell/startup.h"

namespace zarv::shell::testing {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zarv-shell-XXXXXX").string();
    char* p = mkdtemp(tmpl.data());
    ASSERT_NE(p, nullptr);
    folder_ = p;
    SetProgramFolder(folder_);
    aircraft::Aircraft().Reset();
    CurrentSettings().Reset();
    SettingsValid() = false;
    Shell().Reset();
    RankingFile() = RankingFileHooks{};
    Sky().Reset();
    Hooks() = StartupHooks{};
  }
  void TearDown() override {
    Hooks() = StartupHooks{};
    SetProgramFolder("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  std::string Path(const std::string& relative) const { return folder_ + "/" + relative; }
  static std::string Bytes(const std::string& path) { return ReadAllBytes(path); }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(AtomicWriteBytes(path, bytes));
  }
  // Without the sync of an atomic write: for the many small files of a test.
  static void WriteQuick(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good());
  }

  std::string folder_;
};

}  // namespace zarv::shell::testing
