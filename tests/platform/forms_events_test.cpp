// Input as the user makes it: mouse sequences, the close box, focus, keys
// on a form without controls, and a long task with a progress label that
// yields from its Change handler while a cancel button is pressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

#include "forms_testing.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"

namespace zarv {
namespace {

using testing::EnsureApp;

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton b, bool post = false) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
  auto* e = new QMouseEvent(type, QPointF(at), QPointF(w->mapToGlobal(at)), b, held, Qt::NoModifier);
  if (post) {
    QCoreApplication::postEvent(w, e);
  } else {
    QApplication::sendEvent(w, e);
    delete e;
  }
}

class FormsEvents : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnsureApp();
  }
};

TEST_F(FormsEvents, MouseSequencesOnLabelsPicturesAndTheForm) {
  Form f;
  Label label(f);
  label.Move(10, 10, 80, 20);
  PictureBox pic(f);
  pic.Move(100, 10, 50, 50);
  std::vector<std::string> log;
  auto logMouse = [&](const std::string& what) {
    return [&log, what](int b, int, double x, double y) {
      log.push_back(what + " " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
  };
  label.OnMouseDown = logMouse("label down");
  label.OnMouseUp = logMouse("label up");
  label.OnClick = [&] { log.push_back("label click"); };
  label.OnDblClick = [&] { log.push_back("label dblclick"); };
  f.OnMouseDown = logMouse("form down");
  f.OnClick = [&] { log.push_back("form click"); };
  f.Show();

  QWidget* lw = label.impl().widget;
  Mouse(lw, QEvent::MouseButtonPress, QPoint(5, 6), Qt::LeftButton);
  Mouse(lw, QEvent::MouseButtonRelease, QPoint(5, 6), Qt::LeftButton);
  Mouse(lw, QEvent::MouseButtonDblClick, QPoint(5, 6), Qt::LeftButton);
  Mouse(lw, QEvent::MouseButtonRelease, QPoint(5, 6), Qt::LeftButton);
  EXPECT_EQ(log, (std::vector<std::string>{"label down 1 5,6", "label up 1 5,6", "label click", "label dblclick",
                                           "label up 1 5,6"}));

  // A right button is no click; nothing travels on to the form.
  log.clear();
  Mouse(lw, QEvent::MouseButtonPress, QPoint(5, 6), Qt::RightButton);
  Mouse(lw, QEvent::MouseButtonRelease, QPoint(5, 6), Qt::RightButton);
  EXPECT_EQ(log, (std::vector<std::string>{"label down 2 5,6", "label up 2 5,6"}));

  // Released outside: no click. The form's own area reports form coordinates.
  log.clear();
  Mouse(lw, QEvent::MouseButtonPress, QPoint(5, 6), Qt::LeftButton);
  Mouse(lw, QEvent::MouseButtonRelease, QPoint(200, 6), Qt::LeftButton);
  QWidget* fw = f.impl().widget;
  Mouse(fw, QEvent::MouseButtonPress, QPoint(170, 90), Qt::LeftButton);
  Mouse(fw, QEvent::MouseButtonRelease, QPoint(170, 90), Qt::LeftButton);
  EXPECT_EQ(log, (std::vector<std::string>{"label down 1 5,6", "label up 1 200,6", "form down 1 170,90",
                                           "form click"}));
  f.Unload();
}

TEST_F(FormsEvents, CloseBoxAsksQueryUnloadWithItsMode) {
  Form f;
  std::vector<int> modes;
  bool keep = true;
  f.OnQueryUnload = [&](int& cancel, int mode) {
    modes.push_back(mode);
    if (keep) cancel = 1;
  };
  f.Show();
  QCloseEvent close1;
  QApplication::sendEvent(f.impl().widget, &close1);
  EXPECT_TRUE(f.Loaded());
  EXPECT_TRUE(f.Visible());
  keep = false;
  QCloseEvent close2;
  QApplication::sendEvent(f.impl().widget, &close2);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(modes, (std::vector<int>{vbFormControlMenu, vbFormControlMenu}));
}

TEST_F(FormsEvents, FocusMovesAndKeysOfAFormWithoutControls) {
  Form f;
  TextBox a(f), b(f);
  b.SetTop(40);
  std::vector<std::string> log;
  a.OnGotFocus = [&] { log.push_back("a got"); };
  a.OnLostFocus = [&] { log.push_back("a lost"); };
  b.OnGotFocus = [&] { log.push_back("b got"); };
  f.Show();
  ASSERT_TRUE(testing::PumpUntil([&] { return QApplication::activeWindow() == f.impl().widget; }));
  a.SetFocus();
  b.SetFocus();
  EXPECT_EQ(f.ActiveControl(), &b);
  EXPECT_TRUE(b.HasFocus());
  EXPECT_EQ(log, (std::vector<std::string>{"a got", "a lost", "b got"}));
  f.Unload();

  // A form with nothing to focus takes the keys itself.
  Form bare;
  Label l(bare);
  std::vector<int> codes;
  bare.OnKeyDown = [&](int& k, int) { codes.push_back(k); };
  bare.OnKeyPress = [&](int& a) { codes.push_back(-a); };
  bare.Show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Period, Qt::NoModifier, ".");
  QApplication::sendEvent(bare.impl().widget, &press);
  EXPECT_EQ(codes, (std::vector<int>{vbKeyPeriod, -'.'}));
  bare.Unload();
}

// The window system's key events: a press, an auto-repeated press (which
// comes without a release), a release.
void SendKey(Form& f, QEvent::Type type, int qtKey, const char* text, bool repeat) {
  QWidget* window = f.impl().widget;
  QKeyEvent e(type, qtKey, Qt::NoModifier, QString::fromUtf8(text), repeat);
  QApplication::sendEvent(window->focusWidget() != nullptr ? window->focusWidget() : window, &e);
}

// A held key: its repeats are marked for the handlers, press a button once,
// and reach only the form that took the press, not the one under a dialog
// that the press closed.
TEST_F(FormsEvents, HeldKeysRepeatOnlyWhereTheyWerePressed) {
  Form under;
  under.SetKeyPreview(true);
  std::vector<std::string> log;
  under.OnKeyDown = [&](int& k, int) { log.push_back("under " + std::to_string(k) + (KeyRepeating() ? " held" : "")); };
  under.Show();
  SendKey(under, QEvent::KeyPress, Qt::Key_G, "g", false);
  SendKey(under, QEvent::KeyPress, Qt::Key_G, "g", true);
  SendKey(under, QEvent::KeyRelease, Qt::Key_G, "g", false);
  EXPECT_EQ(log, (std::vector<std::string>{"under 71", "under 71 held"}));
  EXPECT_FALSE(KeyRepeating());

  Form dialog;
  CommandButton ok(dialog), cancel(dialog);
  ok.SetDefault(true);
  cancel.SetCancel(true);
  int oks = 0;
  ok.OnClick = [&] { ++oks; };
  cancel.OnClick = [&] { dialog.Unload(); };
  dialog.Show();
  SendKey(dialog, QEvent::KeyPress, Qt::Key_Return, "\r", false);
  SendKey(dialog, QEvent::KeyPress, Qt::Key_Return, "\r", true);
  SendKey(dialog, QEvent::KeyPress, Qt::Key_Return, "\r", true);
  EXPECT_EQ(oks, 1);
  log.clear();
  SendKey(dialog, QEvent::KeyPress, Qt::Key_Escape, "\x1b", false);
  EXPECT_FALSE(dialog.Loaded());
  // The held Esc's repeats now arrive at the form underneath.
  SendKey(under, QEvent::KeyPress, Qt::Key_Escape, "\x1b", true);
  SendKey(under, QEvent::KeyPress, Qt::Key_Escape, "\x1b", true);
  SendKey(under, QEvent::KeyRelease, Qt::Key_Escape, "\x1b", false);
  EXPECT_TRUE(log.empty());
  SendKey(under, QEvent::KeyPress, Qt::Key_Escape, "\x1b", false);
  EXPECT_EQ(log, (std::vector<std::string>{"under 27"}));
  under.Unload();
}

// Enter on a focused button presses it; a form that previews its keys sees
// that Enter first and keeps it by setting the code to 0. The default button
// takes Enter before any handler. A key a handler keeps (Space here) neither
// presses nor ticks the focused control, while a box still types it.
TEST_F(FormsEvents, AKeyTheFormKeepsGoesToNoFocusedButton) {
  enum Focus { OnButton, OnCheck, OnBox };
  const struct {
    bool preview, keep;
    Focus focus;
    int qtKey;
    const char* text;
    int buttonClicks, defaultClicks, keyDowns, ticked;
    const char* typed;
  } cases[] = {
      {false, true, OnButton, Qt::Key_Return, "\r", 1, 0, 0, 0, ""},
      {true, false, OnButton, Qt::Key_Return, "\r", 1, 0, 1, 0, ""},
      {true, true, OnButton, Qt::Key_Return, "\r", 0, 0, 1, 0, ""},
      {true, true, OnCheck, Qt::Key_Return, "\r", 0, 1, 0, 0, ""},
      {true, true, OnButton, Qt::Key_Space, " ", 0, 0, 1, 0, ""},
      {true, true, OnCheck, Qt::Key_Space, " ", 0, 0, 1, 0, ""},
      {true, false, OnCheck, Qt::Key_Space, " ", 0, 0, 1, 1, ""},
      {true, true, OnBox, Qt::Key_Space, " ", 0, 0, 1, 0, " "},
  };
  for (const auto& c : cases) {
    const int row = static_cast<int>(&c - cases);
    Form f;
    CommandButton button(f), byDefault(f);
    CheckBox check(f);
    TextBox box(f);
    byDefault.SetDefault(true);
    f.SetKeyPreview(c.preview);
    int clicks = 0, defaultClicks = 0, keyDowns = 0;
    button.OnClick = [&] { ++clicks; };
    byDefault.OnClick = [&] { ++defaultClicks; };
    f.OnKeyDown = [&](int& k, int) {
      ++keyDowns;
      if (c.keep) k = 0;
    };
    f.Show();
    Control* focus[] = {&button, &check, &box};
    focus[c.focus]->SetFocus();
    SendKey(f, QEvent::KeyPress, c.qtKey, c.text, false);
    SendKey(f, QEvent::KeyRelease, c.qtKey, c.text, false);
    EXPECT_EQ(clicks, c.buttonClicks) << row;
    EXPECT_EQ(defaultClicks, c.defaultClicks) << row;
    EXPECT_EQ(keyDowns, c.keyDowns) << row;
    EXPECT_EQ(check.Value(), c.ticked) << row;
    EXPECT_EQ(box.Text(), c.typed) << row;
    f.Unload();
  }
}

TEST_F(FormsEvents, ProgressLabelYieldsAndTheCancelActsOnMouseDown) {
  // The pattern of the long tasks: a loop sets the progress text, the
  // label's Change handler lets events through, and pressing the cancel
  // button's mouse button (before it is released) stops the loop.
  Form dialog;
  Label progress(dialog);
  CommandButton cancel(dialog);
  cancel.Move(75, 100, 90, 25);
  int rows = 1000;
  int cancelClicks = 0;
  std::vector<int> bars;
  progress.OnChange = [&] {
    bars.push_back(static_cast<int>(std::stod(progress.Caption())));
    DoEvents();
  };
  cancel.OnMouseDown = [&](int, int, double, double) {
    rows = 0;
    dialog.Unload();
  };
  cancel.OnClick = [&] { ++cancelClicks; };
  dialog.Show();
  int done = 0;
  for (int i = 0; i < rows; ++i) {
    ++done;
    if (i % 10 == 0) progress.SetCaption(std::to_string(i / 10) + "％完了しました");
    if (i == 305) {
      QWidget* w = cancel.impl().widget;
      Mouse(w, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, true);
      Mouse(w, QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, true);
    }
  }
  EXPECT_EQ(done, 311);  // stopped at the next yield after the press
  EXPECT_EQ(bars.back(), 31);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(cancelClicks, 0);  // the form went before the button came up
}

TEST_F(FormsEvents, OptionButtonsOfAControlArrayExcludeEachOther) {
  Form f;
  Frame frame(f);
  ControlArray<OptionButton> sizes(frame);
  std::vector<int> clicked;
  sizes.OnEach([&](OptionButton& o, int i) { o.OnClick = [&clicked, i] { clicked.push_back(i); }; });
  sizes[0].SetValue(true);
  sizes.Load(1);
  sizes.Load(2);
  EXPECT_FALSE(sizes[1].Value());  // copies do not take the choice
  sizes[2].SetValue(true);
  EXPECT_FALSE(sizes[0].Value());
  sizes[1].SetValue(true);
  EXPECT_FALSE(sizes[2].Value());
  EXPECT_EQ(clicked, (std::vector<int>{0, 2, 1}));
}

}  // namespace
}  // namespace zarv
