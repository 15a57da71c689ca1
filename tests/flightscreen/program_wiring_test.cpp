// The program's wiring: every hook a layer calls into a later one through
// is filled at start-up, and one left empty is named, not skipped.
#include "flightscreen/program_wiring.h"

#include "flight/loop_fixture.h"
#include "flightscreen/flight_screen_fixture.h"
#include "flightscreen/joystick_link.h"
#include "logbook/ranking.h"
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
  EXPECT_EQ(UnwiredHooks(), (std::vector<std::string>{"shell::FlightScreen().MoveTo", "Joystick().Commands.FlapUp"}));
  Open(flight::testing::SampleLines("Marden７"));
  FlightScreenForm().Drawing().Panel.Screen.CloseReplay = nullptr;
  EXPECT_EQ(UnwiredHooks().back(), "FlightScreenForm().Drawing().Panel.Screen.CloseReplay");
}

// The ranking file is read at start-up and written at the unload by the
// records' own code.
TEST_F(ProgramWiring, RankingHooksReadAndWriteTheProgramsFile) {
  WriteBytes(Path("Temp/record.dat"), "700 kept\r\n");
  shell::RankingFile().Read();
  EXPECT_EQ(records::Ranking().RecordLines[1], "700 kept");
  records::Ranking().RecordLines[2] = "600 new";
  EXPECT_TRUE(shell::RankingFile().Write());
  EXPECT_EQ(Bytes(Path("Temp/record.dat")).substr(0, 19), "700 kept\r\n600 new\r\n");
}

}  // namespace
}  // namespace zarv::flightscreen
