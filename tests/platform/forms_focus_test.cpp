// Where the window system's keys land after a dialog that showed for a
// moment has closed, while the focused control is hidden, and on a form
// loaded again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <vector>

#include "forms_testing.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"

namespace zarv {
namespace {

class FormsFocus : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    testing::EnsureApp();
  }
};

// A key as the window system delivers it: to the window it holds active,
// and there to that window's focus.
void PressKey(int qtKey) {
  QWindow* active = QGuiApplication::focusWindow();
  ASSERT_NE(active, nullptr);
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(active, &press);
  QCoreApplication::sendEvent(active, &release);
}

// The end of a flight: the flight screen's focus sits on a bar of the
// panel hidden at take-off, and the log writer's progress dialog shows and
// closes; a window manager activates that dialog only once it has gone.
TEST_F(FormsFocus, KeysReachTheFormOnTopAfterALateActivationOfAClosedDialog) {
  Form screen;
  screen.SetKeyPreview(true);
  Frame panel(screen);
  HScrollBar bar(panel);
  bar.SetMax(100);
  bar.SetValue(50);
  bar.SetLargeChange(10);
  std::vector<int> keys;
  screen.OnKeyDown = [&](int& k, int) { keys.push_back(k); };
  screen.Show();
  ASSERT_TRUE(testing::PumpUntil([&] { return QApplication::activeWindow() == screen.impl().widget; }));
  bar.SetFocus();
  panel.SetVisible(false);

  Form progress;
  progress.SetBorderStyle(vbBSNone);
  CommandButton cancel(progress);
  cancel.SetCancel(true);
  progress.Show();
  testing::PumpUntil([&] { return QApplication::activeWindow() == progress.impl().widget; });
  progress.Unload();
  // The activation the window manager serves late: the closed window
  // becomes the toolkit's focus window.
  QWidget* gone = progress.impl().widget;
  gone->show();
  gone->activateWindow();
  gone->hide();
  testing::PumpUntil([&] { return QGuiApplication::focusWindow() == screen.impl().widget->windowHandle(); }, 500);

  PressKey(Qt::Key_F2);
  PressKey(Qt::Key_PageDown);  // pages no hidden bar
  EXPECT_EQ(keys, (std::vector<int>{vbKeyF2, vbKeyPageDown}));
  EXPECT_EQ(bar.Value(), 50);
  screen.Unload();
}

// A form loaded again starts as a fresh one: the button a click focused
// before the unload (the flight screen's take-off button) does not take the
// next Enter, which belongs to the form's own keys.
TEST_F(FormsFocus, AFormLoadedAgainForgetsTheFocusOfItsLastLoad) {
  Form screen;
  screen.SetKeyPreview(true);
  CommandButton takeoff(screen);
  takeoff.SetTabStop(false);
  int takeoffs = 0;
  std::vector<int> keys;
  takeoff.OnClick = [&] { ++takeoffs; };
  screen.OnKeyDown = [&](int& k, int) { keys.push_back(k); };
  screen.Show();
  takeoff.SetFocus();
  ASSERT_EQ(screen.ActiveControl(), &takeoff);
  screen.Unload();

  screen.Show();
  EXPECT_NE(screen.ActiveControl(), &takeoff);
  // Where the window system delivers a key: the window's focus, or the window.
  QWidget* window = screen.impl().widget;
  QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  EXPECT_EQ(takeoffs, 0);
  EXPECT_EQ(keys, std::vector<int>{vbKeyReturn});
  screen.Unload();
}

}  // namespace
}  // namespace zarv
