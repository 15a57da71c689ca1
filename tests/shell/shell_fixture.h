// The shell's tests start in an empty program folder of their own, with all
// program-wide state reset. The hooks that lead out of the shell go to a
// later layer; here the cached art, the transition sound and the filing of a
// leftover log do nothing, the ranking file stays as it is, and the flight
// screen is a fake.
#pragma once

#include "aircraft/aircraft_data.h"
#include "aircraft/samples.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "fake_flight_screen.h"
#include "screen_test.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "shell/startup.h"

namespace zarv::shell::testing {

class ProgramFolderTest : public zarv::testing::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    StartupHooks& art = Hooks();
    art.DrawPanelArt = art.DrawGradient = art.DrawSkyBackgrounds = [] {};
    art.PlaySoundFromMemory = [](const std::string&) {};
    art.FileLeftoverLog = [](const std::string&) { return std::string(); };
    RankingFile().Read = [] { return std::string(); };
    RankingFile().Write = [](bool*) { return true; };
    flightScreen_.Wire();
  }

  FakeFlightScreen flightScreen_;
};

// With the program's Temp folder and the sample aircraft in Data.
class SampleFoldersTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(MakeDir(Path("Temp")));
    ASSERT_TRUE(MakeDir(Path("Data")));
    ASSERT_TRUE(aircraft::WriteSampleAircraft(Path("Data")));
  }
};

}  // namespace zarv::shell::testing
