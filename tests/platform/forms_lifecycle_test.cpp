// Loading, showing, unloading and the event loop: the order of the form
// events, cancelled and self-unloads, the reset at unload, modal forms,
// nested yields with timers, End and Restart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMoveEvent>
#include <QWindow>

#include <string>
#include <vector>

#include "forms_testing.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "platform/ui/app.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/controls.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/form.h"
#include "platform/ui/restart.h"
#include "platform/ui/timer.h"
#include "program_test.h"

namespace zarv {
namespace {

using testing::EnsureApp;
using testing::Pump;
using testing::PumpUntil;

class LogForm : public Form {
 public:
  explicit LogForm(std::string name) : name_(std::move(name)) {
    SetCaption(name_);
    SetWidth(200 * kTwipsPerPixel);
    SetHeight(100 * kTwipsPerPixel);
    Label1.SetCaption("design");
    Check1.SetValue(1);
    OnLoad = [this] { Log("Load"); };
    OnActivate = [this] { Log("Activate"); };
    OnDeactivate = [this] { Log("Deactivate"); };
    OnResize = [this] { Log("Resize"); };
    OnQueryUnload = [this](int& cancel, int mode) {
      Log("QueryUnload" + std::to_string(mode));
      if (cancelQuery) cancel = 1;
    };
    OnUnload = [this](int& cancel) {
      Log("Unload");
      if (cancelUnload) cancel = 1;
    };
  }
  void Log(const std::string& e) { events.push_back(name_ + "." + e); }

  Label Label1{*this};
  CheckBox Check1{*this};
  ControlArray<Label> Cells{*this};
  TimerControl Timer1{*this};
  std::vector<std::string> events;
  bool cancelQuery = false;
  bool cancelUnload = false;

 private:
  std::string name_;
};

class FormsLifecycle : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnsureApp();
  }
};

TEST_F(FormsLifecycle, EventsComeInTheRuntimesOrder) {
  LogForm a("A"), b("B");
  a.Show();
  EXPECT_EQ(a.events, (std::vector<std::string>{"A.Load", "A.Resize", "A.Activate"}));
  EXPECT_TRUE(a.Loaded());
  EXPECT_TRUE(a.Visible());
  EXPECT_EQ(Screen().ActiveForm(), &a);

  a.events.clear();
  b.Show();
  EXPECT_EQ(a.events, std::vector<std::string>{"A.Deactivate"});
  EXPECT_EQ(b.events, (std::vector<std::string>{"B.Load", "B.Resize", "B.Activate"}));

  // Size changes of a loaded form raise Resize, unchanged sizes do not.
  b.events.clear();
  b.SetWidth(300 * kTwipsPerPixel);
  b.SetWidth(300 * kTwipsPerPixel);
  b.SetWindowState(vbNormal);  // the state it has already
  EXPECT_EQ(b.events, std::vector<std::string>{"B.Resize"});
  EXPECT_DOUBLE_EQ(b.ScaleWidth(), 300);
  EXPECT_DOUBLE_EQ(b.Canvas().Width(), 300);

  // Unloading the active form hands the activation back, without a
  // Deactivate for the form that goes.
  a.events.clear();
  b.events.clear();
  EXPECT_TRUE(b.Unload());
  EXPECT_EQ(b.events, (std::vector<std::string>{"B.QueryUnload1", "B.Unload"}));
  EXPECT_EQ(a.events, std::vector<std::string>{"A.Activate"});
  EXPECT_FALSE(b.Loaded());
  EXPECT_FALSE(b.Visible());
  DoEvents();  // window-system activation must not change the outcome
  EXPECT_EQ(Screen().ActiveForm(), &a);
  a.Unload();
}

TEST_F(FormsLifecycle, LoadHandlerRestatingStateAndSizeRaisesNoResize) {
  LogForm f("F");
  f.OnLoad = [&f] {
    f.Log("Load");
    f.SetWindowState(vbNormal);
    f.SetWidth(f.Width());
  };
  f.Show();
  EXPECT_EQ(f.events, (std::vector<std::string>{"F.Load", "F.Resize", "F.Activate"}));
  f.Unload();
}

TEST_F(FormsLifecycle, WindowsAreCentredAndMeasuredInTwips) {
  // A frame of 4 px with a 24 px title bar: the window is 208 x 128 whole.
  SetWindowFrameOverride(4, 24, 4, 4);
  const struct {
    int w, h;
    double left, top;  // pixels
  } screens[] = {{640, 480, 216, 176}, {800, 600, 296, 236}, {1024, 768, 408, 320}};
  for (const auto& c : screens) {
    Screen().SetSizeOverride(c.w, c.h);
    EXPECT_DOUBLE_EQ(Screen().Width(), c.w * 15.0);
    LogForm f("F");  // 200 x 100 pixels inside
    f.Show();
    EXPECT_DOUBLE_EQ(f.Left(), c.left * 15);
    EXPECT_DOUBLE_EQ(f.Top(), c.top * 15);
    f.Move(30, 45, 3000, 1500);
    EXPECT_DOUBLE_EQ(f.ScaleWidth(), 200);
    EXPECT_DOUBLE_EQ(f.ScaleHeight(), 100);
    f.Unload();
  }
  Screen().SetSizeOverride(0, 0);
}

// On a 1024 x 768 desktop whose windows get a 4 px frame and a 24 px title
// bar, a window the program places is moved, and made smaller only where
// it must, so that its frame lies whole on the desktop.
TEST_F(FormsLifecycle, PlacedWindowsLieWholeOnTheDesktopFrameIncluded) {
  Screen().SetSizeOverride(1024, 768);
  SetWindowFrameOverride(4, 24, 4, 4);
  const struct {
    double left, top, width, height;          // asked, pixels
    double toLeft, toTop, toWidth, toHeight;  // given
  } cases[] = {
      {100, 100, 200, 100, 100, 100, 200, 100},  // inside already
      {900, 700, 200, 100, 816, 640, 200, 100},  // past the bottom right
      {-50, -10, 200, 100, 0, 0, 200, 100},      // past the top left
      {0, 0, 1024, 768, 0, 0, 1016, 740},        // a whole screen inside
      {0, 0, 640, 768, 0, 0, 640, 740},          // taller than the desktop
  };
  for (const auto& c : cases) {
    LogForm f("F");
    f.Show();
    f.Move(c.left * 15, c.top * 15, c.width * 15, c.height * 15);
    EXPECT_EQ((std::vector<double>{f.Left() / 15, f.Top() / 15, f.ScaleWidth(), f.ScaleHeight()}),
              (std::vector<double>{c.toLeft, c.toTop, c.toWidth, c.toHeight}))
        << "asked " << c.left << ", " << c.top << ", " << c.width << " x " << c.height;
    f.Unload();
  }

  // Placed before the window manager framed it, with no frame or a taller
  // one foreseen: once the real frame is there, the window is placed again
  // from what was asked, whether it is there when the window comes on the
  // screen or only after.
  const struct {
    int foreseenTop, foreseenBottom;
    bool framedAfter;                 // the frame known only after the window is on the screen
    double top, height;               // asked, pixels
    double toTop, toWidth, toHeight;  // given once framed
  } framings[] = {{0, 0, false, 668, 100, 640, 200, 100},
                  {0, 0, true, 668, 100, 640, 200, 100},
                  {24, 12, false, 0, 768, 0, 200, 740},
                  {24, 12, true, 0, 768, 0, 200, 740}};
  for (const auto& c : framings) {
    SetWindowFrameOverride(0, c.foreseenTop, 0, c.foreseenBottom);
    LogForm f("F");
    f.Move(0, c.top * 15, 200 * 15, c.height * 15);
    f.Show();
    const auto onScreen = [&f] { return f.impl().widget->windowHandle()->isExposed(); };
    if (c.framedAfter) {
      ASSERT_TRUE(PumpUntil(onScreen));
      SetWindowFrameOverride(4, 24, 4, 4);
      QMoveEvent framed(QPoint(4, int(c.top) + 24), QPoint(0, int(c.top)));
      QApplication::sendEvent(f.impl().widget, &framed);
    } else {
      SetWindowFrameOverride(4, 24, 4, 4);
      ASSERT_TRUE(PumpUntil(onScreen));
    }
    EXPECT_EQ((std::vector<double>{f.Top() / 15, f.ScaleWidth(), f.ScaleHeight()}),
              (std::vector<double>{c.toTop, c.toWidth, c.toHeight}))
        << "foreseen " << c.foreseenTop << ", " << c.foreseenBottom << (c.framedAfter ? ", framed after" : "");
    f.Unload();
  }
  SetWindowFrameOverride(0, 0, 0, 0);
  Screen().SetSizeOverride(0, 0);
}

// A window shown again, which the window system puts elsewhere before it is
// on the screen (by its inside at the place asked for its frame, as a
// window manager does while it has not yet framed the window again), is put
// back once it is there: its frame where it was asked.
TEST_F(FormsLifecycle, AWindowShownAgainStandsWhereItWasPut) {
  Screen().SetSizeOverride(800, 600);
  SetWindowFrameOverride(1, 20, 1, 1);
  LogForm f("F");
  QWidget* w = f.impl().widget;
  f.Show();
  ASSERT_TRUE(PumpUntil([w] { return w->windowHandle()->isExposed(); }));
  f.Hide();
  f.Move(0, 0, 200 * 15, 100 * 15);  // where another window of the program stood
  w->windowHandle()->setGeometry(QRect(0, 0, 200, 100));
  Pump(20);
  f.Show();
  ASSERT_TRUE(PumpUntil([w] { return w->windowHandle()->isExposed(); }));
  Pump(20);
  EXPECT_EQ(w->geometry(), QRect(1, 20, 200, 100));
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Top(), 0);
  f.Unload();
  SetWindowFrameOverride(0, 0, 0, 0);
  Screen().SetSizeOverride(0, 0);
}

TEST_F(FormsLifecycle, UnloadCanBeCancelledAndResetsTheForm) {
  LogForm f("F");
  f.Show();
  f.cancelQuery = true;
  EXPECT_FALSE(f.Unload());
  f.cancelQuery = false;
  f.cancelUnload = true;
  EXPECT_FALSE(f.Unload());
  EXPECT_TRUE(f.Loaded());
  EXPECT_TRUE(f.Visible());
  f.cancelUnload = false;

  // Everything set after the first load goes back to the design state.
  f.SetCaption("changed");
  f.SetWidth(500 * kTwipsPerPixel);
  f.SetKeyPreview(true);
  f.Label1.SetCaption("changed");
  f.Check1.SetValue(0);
  f.Canvas().Line(0, 0, 10, 10, vbRed, LineBox::BF);
  Label& extra = f.Cells.Load(3);
  extra.SetCaption("cell 3");
  EXPECT_EQ(f.Cells.Count(), 2);
  EXPECT_FALSE(extra.Visible());  // new elements start hidden

  EXPECT_TRUE(f.Unload());
  EXPECT_EQ(f.Caption(), "F");
  EXPECT_DOUBLE_EQ(f.Width(), 200 * kTwipsPerPixel);
  EXPECT_FALSE(f.KeyPreview());
  EXPECT_EQ(f.Label1.Caption(), "design");
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(f.Cells.Count(), 1);
  EXPECT_FALSE(f.Cells.Exists(3));
  EXPECT_NE(f.Canvas().Point(5, 5), vbRed);

  f.events.clear();
  f.Load();
  EXPECT_EQ(f.events, std::vector<std::string>{"F.Load"});
  f.Unload();
}

TEST_F(FormsLifecycle, AFormUnloadsItselfFromItsOwnHandlers) {
  LogForm f("F");
  CommandButton close(f);
  int clicks = 0;
  close.OnClick = [&] {
    ++clicks;
    f.Unload();
    // The handler goes on with the form unloaded but still there.
    f.Label1.SetCaption("after unload");
  };
  f.Cells.OnEach([&](Label& cell, int i) {
    cell.OnClick = [&f, &cell, i] {
      f.Unload();  // destroys the run-time element whose handler this is
      cell.SetTag("still alive " + std::to_string(i));
    };
  });
  f.Show();
  close.SetValue(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(f.Loaded());

  f.Show();
  EXPECT_TRUE(f.Loaded());
  Label& cell = f.Cells.Load(2);
  cell.SetVisible(true);
  Fire(cell.OnClick);  // the element outlives its own handler
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.Cells.Exists(2));
  f.Show();
  EXPECT_TRUE(f.Loaded());
  f.Unload();
}

TEST_F(FormsLifecycle, TimersFireInNestedYieldsAndStopWithTheForm) {
  LogForm f("F");
  f.Timer1.SetInterval(5);
  int ticks = 0;
  int nested = 0;
  f.Timer1.OnTimer = [&] { ++ticks; };
  CommandButton go(f);
  go.OnClick = [&] {
    // A long task inside a handler keeps the program alive with DoEvents.
    ++nested;
    PumpUntil([&] { return ticks >= 3; });
  };
  f.Show();
  go.SetValue(true);
  EXPECT_GE(ticks, 3);

  // A timer is not re-entered while its handler yields.
  int depth = 0, maxDepth = 0;
  f.Timer1.OnTimer = [&] {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    ++ticks;
    Pump(20);
    --depth;
  };
  ticks = 0;
  PumpUntil([&] { return ticks >= 2; });
  EXPECT_EQ(maxDepth, 1);

  f.Timer1.OnTimer = [&] { ++ticks; };
  f.Unload();
  ticks = 0;
  Pump(30);
  EXPECT_EQ(ticks, 0);
  // Disabled timers and interval 0 do not run either.
  f.Load();
  f.Timer1.SetEnabled(false);
  Pump(30);
  EXPECT_EQ(ticks, 0);
  f.Timer1.SetEnabled(true);
  f.Timer1.SetInterval(0);
  Pump(30);
  EXPECT_EQ(ticks, 0);
  f.Unload();
}

TEST_F(FormsLifecycle, ModalShowWaitsUntilTheFormGoes) {
  LogForm owner("O"), dialog("D");
  owner.Show();
  dialog.Timer1.SetInterval(10);
  int ticks = 0;
  dialog.Timer1.OnTimer = [&] {
    if (++ticks == 3) dialog.Hide();
  };
  dialog.Show(true);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(dialog.Loaded());
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(Screen().ActiveForm(), &owner);

  dialog.Timer1.OnTimer = [&] { dialog.Unload(); };
  dialog.Show(true);
  EXPECT_FALSE(dialog.Loaded());
  owner.Unload();
}

TEST_F(FormsLifecycle, EndUnloadsEverything) {
  ScratchFolder tmp;
  const std::string handOver = tmp / "file.dat";
  LogForm f("F");
  int hooked = 0;
  SetEndHook([&] { ++hooked; });
  f.Timer1.SetInterval(5);
  f.Timer1.OnTimer = [&] { End(); };
  f.Show(true);  // End inside the modal wait ends it
  EXPECT_EQ(hooked, 1);
  EXPECT_TRUE(Ended());
  EXPECT_FALSE(f.Loaded());
  EXPECT_TRUE(f.events.back() != "F.Unload");  // no unload handlers at End
  ResetEnded();

  // Restart starts the program's own executable in the program folder, and
  // the new process already finds what this one wrote.
  std::vector<std::string> started;
  std::string seenByNewProcess;
  SetProcessStarter([&](const std::string& exe, const std::string& dir) {
    started = {exe, dir};
    seenByNewProcess = ReadAllBytes(handOver);
    return true;
  });
  ASSERT_TRUE(WriteTextLines(handOver, {"MardenⅡ"}));
  EXPECT_TRUE(Restart());
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0], OwnExecutable());
  EXPECT_EQ(started[1], ProgramFolder());
  EXPECT_EQ(seenByNewProcess, "Marden\x87\x55\r\n");
  EXPECT_EQ(hooked, 2);
  ResetEnded();

  // A start that fails ends nothing; developer mode starts nothing.
  SetProcessStarter([](const std::string&, const std::string&) { return false; });
  EXPECT_FALSE(Restart());
  EXPECT_EQ(hooked, 2);
  SetDeveloperMode(true);
  EXPECT_TRUE(Restart());
  EXPECT_EQ(hooked, 3);
}

}  // namespace
}  // namespace zarv
