// What CTest knows of the tests: every one has a time limit of its own, the
// tests that start a virtual screen never run side by side, and their limit
// is the one they end within by themselves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/runtime/scratch_folder.h"
#include "tools/command_output.h"

namespace {

TEST(CTestProperties, EveryTestHasATimeLimitAndTheProgramTestsOneScreen) {
  // Listed from a folder of its own: even a listing writes CTest's log,
  // which would replace that of the run this test is part of.
  const zarv::ScratchFolder scratch;
  const std::string build = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  std::ofstream(scratch / "CTestTestfile.cmake") << "include(\"" << build << "/CTestTestfile.cmake\")\n";
  int status = -1;
  const std::string json = zarv::testing::CommandOutput(
      "cd '" + scratch.path() + "' && '" ZARV_CTEST "' --show-only=json-v1 2>&1", &status);
  ASSERT_EQ(status, 0) << json;
  // One "command" opens each test; its name and properties follow.
  int tests = 0;
  for (size_t at = json.find("\"command\""); at != std::string::npos;) {
    const size_t next = json.find("\"command\"", at + 1);
    const std::string test = json.substr(at, next == std::string::npos ? std::string::npos : next - at);
    const size_t nameAt = test.find("\"name\" : \"") + 10;
    const std::string name = test.substr(nameAt, test.find('"', nameAt) - nameAt);
    const size_t limitAt = test.find("\"name\" : \"TIMEOUT\"");
    EXPECT_NE(limitAt, std::string::npos) << name;
    if (name.starts_with("ProgramSound.") || name.starts_with("ProgramRestart.")) {
      EXPECT_NE(test.find("\"zarv_test_display\""), std::string::npos) << name;
      // The limit they were built to end within, by themselves.
      const size_t valueAt = test.find("\"value\" :", limitAt);
      ASSERT_NE(valueAt, std::string::npos) << name;
      EXPECT_EQ(std::atof(test.c_str() + valueAt + 9), ZARV_PROGRAM_TEST_TIMEOUT) << name;
    }
    ++tests;
    at = next;
  }
  EXPECT_GT(tests, 500);
}

}  // namespace
