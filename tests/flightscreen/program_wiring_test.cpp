// The program's wiring: every hook a layer calls into a later one through
// is filled at start-up, and one left empty is named, not skipped.
#include "flightscreen/program_wiring.h"

#include <filesystem>

#include "flight/loop_fixture.h"
#include "flightscreen/flight_screen_fixture.h"
#include "flightscreen/joystick_link.h"
#include "logbook/ranking.h"
#include "platform/runtime/program_state.h"
#include "shell/flight_screen_link.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += name + "\n";
  return text;
}

class ProgramWiring : public FlightScreenTest {};

TEST_F(ProgramWiring, EveryHookIsWiredAlsoThoseOfALoadedFlightScreen) {
  EXPECT_TRUE(UnwiredHooks().empty()) << Joined(UnwiredHooks());
  Open(flight::testing::SampleLines("Marden７"));
  ASSERT_TRUE(FlightScreenForm().FlightLoaded());
  EXPECT_TRUE(UnwiredHooks().empty()) << Joined(UnwiredHooks());
}

TEST_F(ProgramWiring, AHookLeftUnwiredIsNamed) {
  shell::FlightScreen().MoveTo = nullptr;
  Joystick().Commands.FlapUp = nullptr;
  const std::vector<std::string> named{"shell::FlightScreen().MoveTo", "Joystick().Commands.FlapUp"};
  EXPECT_EQ(UnwiredHooks(), named);
  // The flight screen's set-up checks them all again, with its own.
  std::vector<std::vector<std::string>> stops;
  ProgramWide<UnwiredHookStop>().Instead = [&](const std::vector<std::string>& names) { stops.push_back(names); };
  Open(flight::testing::SampleLines("Marden７"));
  EXPECT_EQ(stops, std::vector<std::vector<std::string>>{named});
  FlightFrame& f = FlightScreenForm();
  f.Drawing().Panel.Screen.CloseReplay = nullptr;
  f.Screen().Seams.DrawFlightFrame = nullptr;
  f.Screen().Commands.Replay = nullptr;
  EXPECT_EQ(UnwiredFlightHooks(f),
            (std::vector<std::string>{"FlightScreenForm().Drawing().Panel.Screen.CloseReplay",
                                      "FlightScreenForm().Screen().Commands.Replay",
                                      "FlightScreenForm().Screen().Seams.DrawFlightFrame"}));
  EXPECT_EQ(UnwiredHooks().back(), "FlightScreenForm().Screen().Seams.DrawFlightFrame");
}

// The ranking file is read at start-up and written at the unload by the
// records' own code.
TEST_F(ProgramWiring, RankingHooksReadAndWriteTheProgramsFile) {
  WriteBytes(Path("Temp/record.dat"), "700 kept\r\n");
  shell::RankingFile().Read();
  EXPECT_EQ(records::Ranking().RecordLines[1], "700 kept");
  records::Ranking().RecordLines[2] = "600 new";
  EXPECT_TRUE(shell::RankingFile().Write(nullptr));
  EXPECT_EQ(Bytes(Path("Temp/record.dat")).substr(0, 19), "700 kept\r\n600 new\r\n");
}

// A ranking file the start cannot read (far too large for one, or no file
// at all) is kept as it is; the user hears why at the start and again at the
// quit, not that the ranking could not be saved.
TEST_F(ProgramWiring, AnUnreadableRankingIsSaidAtTheStartAndTheQuitAndKept) {
  const std::string path = records::RankingPath();
  const std::string huge(records::kMaxRankingFileBytes + 1, '9');
  for (const bool folder : {false, true}) {
    if (folder) {
      ASSERT_TRUE(DeleteFile(path));
      ASSERT_TRUE(MakeDir(path));
    } else {
      WriteBytes(path, huge);
    }
    const std::string notice = shell::RankingFile().Read();
    EXPECT_NE(notice.find("順位ファイルを読み込めませんでした"), std::string::npos) << notice;
    EXPECT_NE(notice.find(path), std::string::npos) << notice;
    Open(flight::testing::SampleLines("Marden７"));
    ClearMessageBoxCalls();
    FlightScreenForm().Unload();  // quit
    std::vector<std::string> said;
    for (const MsgBoxCall& call : MessageBoxCalls()) said.push_back(call.prompt);
    EXPECT_EQ(said, std::vector<std::string>{notice}) << folder;
    if (folder) {
      EXPECT_TRUE(DirExists(path));
    } else {
      EXPECT_EQ(Bytes(path), huge);
    }
  }
  // A readable file, or none, is nothing to tell.
  std::filesystem::remove(path);
  EXPECT_EQ(shell::RankingFile().Read(), "");
  WriteBytes(path, "700 kept\r\n");
  EXPECT_EQ(shell::RankingFile().Read(), "");
}

}  // namespace
}  // namespace zarv::flightscreen
