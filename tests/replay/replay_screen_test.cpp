// The replay screen's loop: frames drawn off-screen on a hand-driven clock,
// another log taken up by the one running loop, closing back to the
// flight screen, guarded unloads and a frame without the sky bitmap.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/ui/app.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"
#include "list_pointer.h"
#include "replay/replay_fixture.h"
#include "program_test.h"
#include "replay/replay_form.h"
#include "shell/screens.h"
#include "shell/flight_screen_link.h"
#include "shell/shell_state.h"

namespace zarv::replay {
namespace {

using testing::ReplayFixture;

class ReplayScreen : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Application::Ensure();
    SetClockSource(&clock_);
    // The progress dialog opens over the flight screen, a later layer's.
    shell::FlightScreen().ProgressAnchor = [this] { return std::make_pair(flightScreen_.Left(), flightScreen_.Top()); };
  }

  // A link over the fixture whose wait runs `frame` once per frame.
  ReplayLink Link(ReplayFixture& f, std::function<void(int)> frame) {
    ReplayLink link;
    link.Record = &f.Record;
    link.Outline = &f.Outline;
    link.Flight = &f.Flight;
    aircraft_.LaunchSpeed = 5;
    aircraft_.LaunchHeight = 10;
    aircraft_.WingSpan = 10;
    aircraft_.OverallLength = 5;
    link.Aircraft = &aircraft_;
    link.Settings = &settings_;
    link.FlightScreen = &flightScreen_;
    link.FlightScreenKeepsDrawing = [] { return true; };
    link.OpenLog = [](flight::FlightRecord&) { return false; };
    link.QuitProgram = [] {};
    link.WaitUntil = [this, frame](uint64_t deadline) {
      const uint64_t now = clock_.MonotonicMs();
      if (deadline > now) clock_.Advance(deadline - now);
      frame(frames_++);
    };
    return link;
  }

  ManualClock clock_{100000};
  aircraft::AircraftData aircraft_;
  shell::Settings settings_;
  Form flightScreen_;
  int frames_ = 0;
};

TEST_F(ReplayScreen, PlaysAndClosesBackToTheFlight) {
  ReplayFixture f(400);
  f.Flight.Body.Heading = 2.0;
  f.Flight.Body.Altitude = 50;  // still flying
  f.Flight.Loop.FrameRate = 1.5;
  f.Flight.Loop.StepCounter = 77;
  f.Flight.Loop.BusyMs = 700;
  f.Flight.Air.SkinTemperature = 290;
  flightScreen_.Show();
  for (int i = 0; i < 400; ++i) f.Record.Row(i).AirframeTemperature = 900;
  double positionAtClose = 0;
  uint32_t volume = 1;
  int64_t timeMarkInReplay = 0;
  int16_t skinInReplay = 0;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    EXPECT_TRUE(frame != 0 || !flightScreen_.Visible());
    if (frame == 20) {
      timeMarkInReplay = f.Flight.Loop.TimeMark;
      skinInReplay = f.Flight.Air.SkinTemperature;
    }
    if (frame == 8) {
      int key = vbKeyReturn;
      v.Form_KeyDown(key, 0);  // after the first measurement: plays
    }
    if (frame == 30) {
      positionAtClose = v.Player()->State.Position;
      int key = vbKeyEscape;
      v.Form_KeyDown(key, 0);
    }
  });
  link.Sounds.SetWaveVolume = [&](uint32_t v) { volume = v; };
  OpenReplay(link);
  // 21 frames of 50 ms at speed 1 is about 21 samples.
  EXPECT_NEAR(positionAtClose, 1 + 21, 2);
  EXPECT_EQ(frames_, 31);
  // The replay's frames used the flight's loop values as their own.
  EXPECT_EQ(timeMarkInReplay, 20);
  EXPECT_EQ(skinInReplay, 900);
  EXPECT_TRUE(flightScreen_.Visible());
  EXPECT_FALSE(Vedeo().Visible());
  EXPECT_EQ(volume, 0u);  // the flight goes on: its own sound sets the volume
  // The camera choices went to the settings.
  EXPECT_EQ(settings_.ReplayCameraHeightIndex, 5);
  // The replay's frames wrote their own step count, frame rate, waits and
  // skin temperature into the flight's state; the flight goes on with its
  // own, and its next once-a-second figure counts from the end of the
  // replay. The later unload leaves what the flight has made of them alone.
  const flight::LoopTiming& loop = f.Flight.Loop;
  EXPECT_EQ(f.Flight.Body.Heading, 2.0);
  EXPECT_EQ(loop.FrameRate, 1.5);
  EXPECT_EQ(loop.StepCounter, 77);
  EXPECT_EQ(f.Flight.Air.SkinTemperature, 290);
  EXPECT_EQ(loop.TimeMark, static_cast<int64_t>(clock_.MonotonicMs()));
  EXPECT_EQ(loop.NextFrameTime, clock_.MonotonicMs());
  EXPECT_EQ(loop.LastTick, clock_.MonotonicMs());
  EXPECT_EQ(loop.WaitMs, 0);
  EXPECT_EQ(loop.BusyMs, 0);
  EXPECT_EQ(loop.PassesThisSecond, 0);
  f.Flight.Body.Heading = 2.5;
  Vedeo().Unload();
  EXPECT_EQ(f.Flight.Body.Heading, 2.5);
  EXPECT_TRUE(flightScreen_.Loaded());
}

// Another log, chosen from the drop-down menu and then with F3. The menu
// shows its five rows whole in its 87 pixels, the row under the pointer is
// the one highlighted, and a click over the top of "ﾌｧｲﾙを開く   F3" runs it.
TEST_F(ReplayScreen, AnotherLogIsTakenUpByTheRunningLoop) {
  ReplayFixture f(400);
  int opened = 0;
  std::string menuFault = "not shown";
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    if (frame == 1) {
      v.Label13.OnMouseMove(0, 0, 5, 5);
      menuFault = zarv::testing::MenuListFault(v.List1);
      QListWidget* list = zarv::testing::ListWidgetOf(v.List1);
      const int top = list->visualItemRect(list->item(2)).top();
      zarv::testing::SendToList(v.List1, top);
      zarv::testing::SendToList(v.List1, top, true);
    }
    EXPECT_TRUE(frame != 2 || opened == 1);
    if (frame == 3) {
      int key = vbKeyF3;
      v.Form_KeyDown(key, 0);
    }
    EXPECT_TRUE(frame != 5 || v.Player()->Record.RecordSampleCount == 50.0);
    if (frame == 6) v.Command1_Click();
  });
  link.OpenLog = [&](flight::FlightRecord& r) {
    ++opened;
    r.RecordSampleCount = 50;
    return true;
  };
  OpenReplay(link);
  EXPECT_EQ(menuFault, "");
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(frames_, 7);
  EXPECT_FALSE(Vedeo().Running());
}

// The camera map from the menu opens at the top left under the 23-pixel
// menu bar; F2 then opens it centred on the camera's cross, which for a
// camera at the origin stands on map pixel (270, 250), as far up as the
// readout bar lets it; a click on the map moves the camera and its cross.
TEST_F(ReplayScreen, TheCameraMapOpensAtItsPlacesAndAClickMovesTheCamera) {
  ReplayFixture f(400);
  double menuLeft = -1, menuTop = -1, keyLeft = -1, keyTop = -1, barLimit = -1;
  double cameraX = -1, cameraY = -1;
  Color crossArm = 0, oldCross = 0;
  std::string readout;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    if (frame == 1) {
      v.Player()->State.CameraX = v.Player()->State.CameraY = 0;
      for (int i = 0; i < v.List1.ListCount(); ++i) {
        if (v.List1.List(i) == "ｶﾒﾗ立ち位置  F2") v.List1.SetListIndex(i);
      }
      v.List1_MouseDown();
      menuLeft = v.Picture1.Left();
      menuTop = v.Picture1.Top();
      int key = vbKeyF2;
      v.Form_KeyDown(key, 0);
      keyLeft = v.Picture1.Left();
      keyTop = v.Picture1.Top();
      barLimit = v.Picture2.Top() - 360;
      v.Picture1_MouseDown(280, 240);
      cameraX = v.Player()->State.CameraX;
      cameraY = v.Player()->State.CameraY;
      crossArm = v.Picture1.Canvas().Point(284, 240);
      oldCross = v.Picture1.Canvas().Point(274, 250);
      v.Picture1_MouseMove(270, 250);
      readout = v.Label19.Caption();
    }
    if (frame == 2) v.Command1_Click();
  });
  OpenReplay(link);
  EXPECT_EQ(menuLeft, 0);
  EXPECT_EQ(menuTop, 23);
  EXPECT_EQ(keyLeft, 270 - 200);
  EXPECT_EQ(keyTop, std::min(250 - 180.0, barLimit));
  EXPECT_GE(barLimit, 23);
  EXPECT_EQ(cameraX, 20);
  EXPECT_EQ(cameraY, 20);
  EXPECT_EQ(crossArm, vbWhite);
  EXPECT_NE(oldCross, vbWhite);
  EXPECT_NE(readout.find("ﾎﾟｲﾝﾀ位置  x = 0000 y = 0000"), std::string::npos) << readout;
}

TEST_F(ReplayScreen, KeepsItsSizeAndAClickRaisesTheProgressDialog) {
  ReplayFixture f(100);
  double width = 0, height = 0, dragged = 0;
  bool dialogActive = false;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    if (frame == 1) {
      width = v.Width();
      height = v.Height();
      v.SetWidth(width / 2);  // the border dragged
      v.SetHeight(height / 2);
      if (v.OnResize) v.OnResize();
      dragged = v.Width();
      shell::ProcessForm& dialog = shell::Process();
      dialog.Show();
      v.SetFocus();
      if (v.OnClick) v.OnClick();
      dialogActive = Screen().ActiveForm() == &dialog;
      dialog.Unload();
    }
    if (frame == 2) v.Command1_Click();
  });
  OpenReplay(link);
  EXPECT_GT(width, 0);
  EXPECT_EQ(dragged, width);
  EXPECT_EQ(Vedeo().Height(), height);
  EXPECT_TRUE(dialogActive);
}

TEST_F(ReplayScreen, TheSummaryStaysOneLineWiderThanTheBar) {
  ReplayFixture f(100);
  shell::Shell().ScreenScale = 1.0;
  const std::string summary = "1234.56m by Super ZarvⅣ.brd 270Deg  wind12.0m/s  133.7sec 12-07-2026   10:12:33";
  double labelHeight = 0, labelWidth = 0;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    labelHeight = v.Label16.Height();
    labelWidth = v.Label16.Width();
    if (frame == 1) v.Command1_Click();
  });
  link.Summary = summary;
  OpenReplay(link);
  EXPECT_LE(labelHeight, 16);
  EXPECT_GT(labelWidth, 640 - 168);
}

TEST_F(ReplayScreen, UnloadsReachingEachOtherEnd) {
  ReplayFixture f(100);
  int flightUnloads = 0;
  flightScreen_.OnUnload = [&](int&) {
    ++flightUnloads;
    Vedeo().Unload();
  };
  ReplayLink link = Link(f, [&](int frame) {
    // Unloading the replay while the flight screen is hidden unloads the
    // flight screen, whose own unload unloads the replay again.
    if (frame == 2) Vedeo().Unload();
  });
  flightScreen_.Show();
  OpenReplay(link);
  EXPECT_FALSE(Vedeo().Running());
  EXPECT_FALSE(flightScreen_.Loaded());
  EXPECT_EQ(flightUnloads, 1);
  EXPECT_EQ(Vedeo().Player(), nullptr);
  flightScreen_.OnUnload = nullptr;
}

// The arrow keys step the paused replay one sample each way; back stops at
// the first sample, and a step past the last is taken back by the next frame.
TEST_F(ReplayScreen, ArrowKeysStepOneSampleEachWay) {
  ReplayFixture f(400);
  std::vector<double> seen;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayPlayer& p = *Vedeo().Player();
    auto press = [&](int key) {
      Vedeo().Form_KeyDown(key, 0);
      seen.push_back(p.State.Position);
    };
    if (frame == 2) {
      for (int key : {vbKeyRight, vbKeyRight, vbKeyLeft, vbKeyLeft, vbKeyLeft}) press(key);
      p.State.Position = 399;
      press(vbKeyRight);
    }
    if (frame == 3) {
      seen.push_back(p.State.Position);
      Vedeo().Command1_Click();
    }
  });
  OpenReplay(link);
  EXPECT_EQ(seen, (std::vector<double>{2, 3, 2, 1, 1, 400, 399}));
}

// Enter plays whatever the user clicked before: not the fast-forward button
// that kept the focus after its click.
TEST_F(ReplayScreen, EnterPlaysWhateverButtonHasTheFocus) {
  ReplayFixture f(400);
  double speed = -1;
  ReplayLink link = Link(f, [&](int frame) {
    ReplayForm& v = Vedeo();
    if (frame == 8) {  // after the first measurement
      v.Picture3.SetVisible(true);
      v.Command3.SetFocus();
      QWidget* target = v.impl().widget->focusWidget();
      ASSERT_EQ(target, v.Command3.impl().widget);
      for (const QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent e(t, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(target, &e);
      }
      speed = v.Player()->State.Speed;
    }
    if (frame == 9) v.Command1_Click();
  });
  OpenReplay(link);
  EXPECT_EQ(speed, 1);  // playing, not fast forward (8)
}

TEST_F(ReplayScreen, MissingSkyBitmapGivesAPlainBackground) {
  ReplayFixture f(100);
  ReplayLink link = Link(f, [&](int frame) {
    if (frame == 2) Vedeo().Command1_Click();
  });
  shell::Shell().ScreenSizeInUse = 0;  // no Temp/Back0.bmp in the empty program folder
  OpenReplay(link);
  EXPECT_FALSE(Vedeo().BackgroundLoaded);
  const Color sky = Vedeo().Picture7.Point(5, 5);
  const Color water = Vedeo().Picture7.Point(5, 470);
  EXPECT_NE(sky, water);
  EXPECT_NE(sky, RGB(0, 0, 128));
}

}  // namespace
}  // namespace zarv::replay
