// Screens off-screen: the forms runtime on a 1024 x 768 screen with a
// hand-driven clock, where the end of the program and its restart are
// counted instead of happening and message boxes are answered (answer_ for
// a yes-or-no question, OK otherwise).
#pragma once

#include <string>

#include "platform/runtime/clock.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/restart.h"
#include "program_test.h"

namespace zarv::testing {

class ScreenTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Application::Ensure();
    Screen().SetSizeOverride(1024, 768);
    SetClockSource(&clock_);
    SetEndHook([this] { ++ends_; });
    SetProcessStarter([this](const std::string&, const std::string&) {
      ++restarts_;
      return true;
    });
    SetMessageBoxResponder([this](const MsgBoxCall& call) { return (call.style & 7) == vbYesNo ? answer_ : vbOK; });
  }

  ManualClock clock_{1000000};
  int ends_ = 0;
  int restarts_ = 0;
  int answer_ = vbYes;
};

}  // namespace zarv::testing
