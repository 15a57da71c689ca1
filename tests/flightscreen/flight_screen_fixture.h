// A scratch program folder with an aircraft file and its hand-over copy,
// the forms runtime with a hand-driven clock, and stand-ins for the
// restart, the end of the program and the message boxes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"
#include "flight/flight_state.h"
#include "flight/loop_fixture.h"
#include "flightscreen/flight_frame.h"
#include "logbook/ranking.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/restart.h"
#include "shell/flight_screen_link.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen::testing {

class FlightScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zarv-fs-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    folder_ = tmpl;
    SetProgramFolder(folder_);
    ASSERT_TRUE(MakeDir(folder_ + "/Temp"));
    ASSERT_TRUE(MakeDir(folder_ + "/Data"));
    Application::Ensure();
    Screen().SetSizeOverride(1024, 768);
    SetClockSource(&clock_);
    aircraft::Aircraft().Reset();
    shell::CurrentSettings().Reset();
    shell::Shell().Reset();
    records::Ranking().Reset();
    ResetEnded();
    SetEndHook([this] { ++ends_; });
    SetProcessStarter([this](const std::string&, const std::string&) {
      ++restarts_;
      return true;
    });
    ClearMessageBoxCalls();
    SetMessageBoxResponder([this](const MsgBoxCall& call) { return (call.style & 7) == vbYesNo ? answer_ : vbOK; });
    FlightFrame::SetHeadlessPacing(true);
    UseFlightScreen();
  }
  void TearDown() override {
    if (FlightScreenForm().Loaded()) FlightScreenForm().Unload();
    for (Form* f : std::initializer_list<Form*>{&shell::Process(), &shell::Write_(), &shell::Choice(),
                                                &shell::Notice(), &shell::Begin()})
      if (f->Loaded()) f->Unload();
    SetMessageBoxResponder(nullptr);
    SetProcessStarter(nullptr);
    SetEndHook(nullptr);
    ResetEnded();
    ResetClockSource();
    Screen().SetSizeOverride(0, 0);
    shell::FlightScreen() = shell::FlightScreenLink{};
    SetProgramFolder("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  std::string Path(const std::string& relative) const { return folder_ + "/" + relative; }

  // Writes the aircraft file and the hand-over file from `lines` and loads
  // the flight screen at screen size `size` (0, 1, 2).
  void Open(const std::vector<std::string>& lines, int size = 0) {
    ASSERT_TRUE(WriteTextLines(Path("Data/Plane.brd"), lines));
    ASSERT_TRUE(WriteTextLines(aircraft::HandOverPath(), lines));
    shell::Settings& s = shell::CurrentSettings();
    s.AircraftFilePath = Path("Data/Plane.brd");
    s.AircraftFileName = "Plane.brd";
    s.HangarDir = Path("Data");
    s.ScreenSizeChoice = static_cast<int16_t>(size);
    s.WindowCentreX = 7680;
    s.WindowCentreY = 5760;
    const double scales[] = {1.0, 1.25, 1.6};
    shell::Shell().ScreenScale = scales[size];
    ASSERT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft()));
    ResetEnded();  // a previous unload ended the program
    FlightScreenForm().Load();
  }

  void Key(int code) {
    int k = code;
    FlightScreenForm().OnKeyDown(k, 0);
  }
  void Advance(int ms) { clock_.Advance(static_cast<uint64_t>(ms)); }

  static std::vector<std::string> Lines(const std::string& path) { return ReadTextLines(path); }

  ManualClock clock_{1000000};
  std::string folder_;
  int ends_ = 0, restarts_ = 0;
  int answer_ = vbYes;
};

}  // namespace zarv::flightscreen::testing
