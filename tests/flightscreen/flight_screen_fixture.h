// The flight screen off-screen in a scratch program folder with an
// aircraft file and its hand-over copy; the loop paces without waiting.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"
#include "flight/flight_state.h"
#include "flight/loop_fixture.h"
#include "flightscreen/flight_frame.h"
#include "flightscreen/flight_screen_open.h"
#include "flightscreen/program_wiring.h"
#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/form_qt.h"
#include "shell/flight_screen_link.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "screen_test.h"

namespace zarv::flightscreen::testing {

class FlightScreenTest : public zarv::testing::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    ASSERT_TRUE(MakeDir(folder_ + "/Temp"));
    ASSERT_TRUE(MakeDir(folder_ + "/Data"));
    FlightFrame::SetHeadlessPacing(true);
    WireProgram();
    // A hook the set-up finds empty would end the program: here it fails
    // the test, whose flight screen goes on.
    ProgramWide<UnwiredHookStop>().Instead = [](const std::vector<std::string>& names) {
      for (const std::string& name : names) ADD_FAILURE() << "hook not wired at the set-up: " << name;
    };
    shell::RankingFile().Read();  // as the start-up does: the unload writes it back
  }

  // Writes the aircraft file and the hand-over file from `lines` and loads
  // the flight screen at screen size `size` (0, 1, 2).
  void Open(const std::vector<std::string>& lines, int size = 0) {
    ASSERT_TRUE(WritePlane(folder_, lines));
    OpenHandedOver(size);
  }

  // Loads the flight screen at screen size `size` on the hand-over file as it
  // stands, for the aircraft file the settings name.
  void OpenHandedOver(int size = 0) { ASSERT_TRUE(LoadHandedOver(size)); }

  void Key(int code) {
    int k = code;
    FlightScreenForm().OnKeyDown(k, 0);
  }
  void Advance(int ms) { clock_.Advance(static_cast<uint64_t>(ms)); }

  // A key event on the form's focused control, as the window system
  // delivers it; a held key's repeats are presses without releases.
  static void SendKey(Form& form, QEvent::Type type, int qtKey, const std::string& text, bool autoRepeat = false) {
    QWidget* window = form.impl().widget;
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QKeyEvent e(type, qtKey, Qt::NoModifier, QString::fromStdString(text), autoRepeat);
    QApplication::sendEvent(target, &e);
  }
  // A key pressed and let go.
  static void TypeKey(Form& form, int qtKey, const std::string& text = "") {
    SendKey(form, QEvent::KeyPress, qtKey, text);
    SendKey(form, QEvent::KeyRelease, qtKey, text);
  }

  static std::vector<std::string> Lines(const std::string& path) { return ReadTextLines(path); }
};

}  // namespace zarv::flightscreen::testing
