// The start of every test that touches program-wide state or files.
//
// ProgramTest resets all program-wide state (ResetProgramState: screens
// unloaded, every structure back to its load-time values) before and after
// the test, and gives it a scratch folder of its own as the program folder,
// removed with everything in it afterwards. Derive a fixture from it:
//
//   class HangarTest : public zarv::testing::ProgramTest {};
//   TEST_F(HangarTest, ...) { WriteBytes(Path("Data/x.brd"), "..."); }
//
// ScratchFolder (platform/runtime/scratch_folder.h) alone serves code that
// only needs a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/runtime/scratch_folder.h"

namespace zarv::testing {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.path().empty()) << "no scratch folder";
    ResetProgramState();
    SetProgramFolder(folder_);
  }
  void TearDown() override { ResetProgramState(); }

  std::string Path(const std::string& relative) const { return scratch_ / relative; }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Plain, without the sync of the program's atomic writes: quick for the
  // many small files of a test.
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
  }

  ScratchFolder scratch_;
  const std::string folder_ = scratch_.path();
};

}  // namespace zarv::testing
