#include <gtest/gtest.h>

#include "logbook/ranking.h"
#include "logbook/records_fixture.h"
#include "platform/runtime/files.h"
#include "records/ranking_link.h"
#include "program_test.h"
#include "shell/shell_state.h"

namespace zarv::records {
namespace {

using testing::Bytes;
using testing::WriteBytes;
using zarv::testing::ScratchFolder;

TEST(RankingLink, ShellHooksReadAndWriteTheProgramsFile) {
  ScratchFolder dir;
  SetProgramFolder(dir.path());
  ASSERT_TRUE(MakeDir(dir / "Temp"));
  WriteBytes(dir / "Temp/record.dat", "700 kept\r\n");
  Ranking().Reset();
  ConnectRankingToShell();
  shell::RankingFile().Read();
  EXPECT_EQ(Ranking().RecordLines[1], "700 kept");
  Ranking().RecordLines[2] = "600 new";
  EXPECT_TRUE(shell::RankingFile().Write());
  EXPECT_EQ(Bytes(dir / "Temp/record.dat").substr(0, 19), "700 kept\r\n600 new\r\n");
  shell::RankingFile() = shell::RankingFileHooks{};
  Ranking().Reset();
  SetProgramFolder("");
}

}  // namespace
}  // namespace zarv::records
