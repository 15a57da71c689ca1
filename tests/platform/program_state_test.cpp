// One reset returns the whole program to a fresh start: the next test sees
// nothing of the last.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <vector>

#include "platform/runtime/program_state.h"
#include "platform/ui/app.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "program_test.h"

namespace zarv {
namespace {

struct Tally {
  int Value = 7;
};

class ProgramState : public testing::ProgramTest {};

TEST_F(ProgramState, ResetUnloadsEveryScreenAndRestoresTheState) {
  Application::Ensure();
  ProgramWide<Tally>().Value = 3;
  // A screen whose unload opens the next one, asks the user and ends the
  // program, as the start screen and the flight screen do.
  Form first, second;
  first.OnUnload = [&](int&) {
    second.Load();
    MsgBox("?", vbYesNo, "Zarv");
    End();
  };
  first.Load();
  ResetProgramState();
  EXPECT_FALSE(first.Loaded());
  EXPECT_FALSE(second.Loaded());
  EXPECT_EQ(ProgramWide<Tally>().Value, 7);
  EXPECT_TRUE(MessageBoxCalls().empty());
  EXPECT_FALSE(Ended());
}

// A key still held when the reset comes is no longer held: its repeats
// reach nothing in the next test, as after a fresh start.
TEST_F(ProgramState, ResetLetsGoOfAHeldKey) {
  Application::Ensure();
  Form screen;
  screen.SetKeyPreview(true);
  std::vector<int> keys;
  screen.OnKeyDown = [&](int& k, int) { keys.push_back(k); };
  const auto send = [&](bool autoRepeat) {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(screen.impl().widget, &e);
  };
  screen.Show();
  send(false);
  ResetProgramState();
  screen.Show();
  send(true);
  EXPECT_EQ(keys, std::vector<int>{vbKeyUp});
  screen.Unload();
}

}  // namespace
}  // namespace zarv
