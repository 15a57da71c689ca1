// The flight screen with its cockpit view, panel, companion, gun and
// joystick wired in: where the panel stands, what a frame shows, the
// companion read at the load and fired at, and the activity flags the loop
// reads staying equal to the shell's.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "flightscreen/flight_log_fixture.h"
#include "flightscreen/joystick_fixture.h"
#include "flightscreen/flight_screen_fixture.h"

#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flightscreen/joy_button_map.h"
#include "flightscreen/joystick_link.h"
#include "platform/devices/sound.h"
#include "platform/ui/keys.h"
#include "platform/runtime/text.h"
#include "view/screen_art.h"

namespace zarv::flightscreen {
namespace {

using flight::testing::Engine;
using testing::FlightScreenTest;

class FlightScreenWiringTest : public FlightScreenTest {
 protected:
  // The panel art the start-up caches for the size.
  void CacheArt(int size) {
    const double scales[] = {1.0, 1.25, 1.6};
    ASSERT_TRUE(view::SavePanelArt(Path("Temp"), scales[size], 1.0, size, false));
  }
  void OpenJet(int size = 0) {
    CacheArt(size);
    Open(aircraft::AircraftFileLines(flight::testing::Powered(Engine::Jet)), size);
  }
  // A powered aircraft's log in the program folder: the companion.
  void PutCompanionLog() {
    testing::TestLog log;
    log.Powered = true;
    log.LastRow = 400;
    ASSERT_TRUE(log.WriteTo(Path("1Companion.csv")));
  }
  // The jet with that companion, its take-off key pressed.
  FlightFrame& LaunchJetWithCompanion() {
    PutCompanionLog();
    OpenJet();
    Advance(200);
    Key(vbKeyReturn);
    return FlightScreenForm();
  }

  // Flies the jet with a companion and fires one burst 1.5 s into the
  // flight, with a left click between two passes of the loop or with the
  // joystick's fire button, which the loop dispatches inside its pass. Real
  // time runs msPerPass a pass, or (0) a drawn frame's worth at each yield,
  // as on a machine whose passes take less than the clock's tick. Counts the
  // rounds flying ahead of the aircraft 30 steps later; they left one at a
  // time, so no two are within a step's path of each other.
  int RoundsOutOfOneBurst(bool joystick, int msPerPass) {
    shell::CurrentSettings().JoystickOn = joystick ? 1 : 0;
    JoyMap().Entries[kJoySteeringOrGun] = 2;
    FlightFrame& f = LaunchJetWithCompanion();
    flight::FlightState& s = flight::State();
    flight::FlightSeams& seams = f.Screen().Seams;
    const std::function<void()> companion = seams.UpdateCompanion;
    seams.UpdateCompanion = [&] {
      Advance(msPerPass);
      companion();
    };
    const std::function<void()> yield = seams.DoEvents;
    double firedAt = -1;
    int out = -1;
    seams.DoEvents = [&] {
      if (msPerPass == 0) Advance(100);
      yield();
      s.Pilot.JoyButtons = 0;
      if (firedAt < 0 && s.Loop.FlightTime > 1.5) {
        firedAt = s.Loop.FlightTime;
        if (joystick) {
          s.Pilot.JoyButtons = 2;  // held for one pass; no joystick to poll it back
        } else {
          f.Form_MouseDown(vbLeftButton, 300, 200);
        }
      }
      if (out < 0 && s.Sound.TriggerTime > 0 && s.Loop.StepsSinceTrigger >= 30) {
        out = 0;
        std::vector<double> ranges;
        for (int i = 0; i < flight::kGunRounds; ++i) {
          const double dx = s.Gun.RoundX[i] - s.Body.PosX, dy = s.Gun.RoundY[i] - s.Body.PosY,
                       dz = s.Gun.RoundZ[i] - s.Body.Altitude;
          const double ahead = dx * s.Body.VelX + dy * s.Body.VelY + dz * s.Body.VelZ;
          const double speed = std::hypot(s.Gun.RoundVelX[i], s.Gun.RoundVelY[i], s.Gun.RoundVelZ[i]);
          if (ahead > 0 && std::hypot(dx, dy, dz) < 1000 && speed > 1000) ++out;
          ranges.push_back(std::hypot(dx, dy, dz));
        }
        std::sort(ranges.begin(), ranges.end());
        for (size_t i = 1; i < ranges.size(); ++i) EXPECT_GT(ranges[i] - ranges[i - 1], 20) << i;
        s.Loop.FlightEnded = true;
      }
    };
    f.Timer2_Timer();
    EXPECT_GT(firedAt, 0);
    EXPECT_EQ(flight::Record().LaunchMarkSamples[1] > 0, true);  // the burst was fired
    return out;
  }
};

TEST_F(FlightScreenWiringTest, ABurstPutsOutTenRoundsFiredWithTheMouse) {
  EXPECT_EQ(RoundsOutOfOneBurst(false, 25), 10);
}

TEST_F(FlightScreenWiringTest, ABurstPutsOutTenRoundsOneByOneWhenThePassesAreQuickerThanTheClock) {
  EXPECT_EQ(RoundsOutOfOneBurst(false, 0), 10);
}

TEST_F(FlightScreenWiringTest, ABurstPutsOutTenRoundsFiredWithTheJoystick) {
  EXPECT_EQ(RoundsOutOfOneBurst(true, 25), 10);
}

TEST_F(FlightScreenWiringTest, PanelStandsOnTheBottomOfTheDrawingAreaAtEverySize) {
  const double scales[] = {1.0, 1.25, 1.6};
  for (int size = 0; size < 3; ++size) {
    const double sc = scales[size];
    OpenJet(size);
    FlightFrame& f = FlightScreenForm();
    CockpitDrawing& d = f.Drawing();
    EXPECT_TRUE(d.PanelReady) << size;
    EXPECT_DOUBLE_EQ(f.ScaleHeight(), 480 * sc);
    EXPECT_EQ(d.Panel.Screen.PanelTop, CLng(480 * sc - 210 * sc)) << size;
    // The view centre is placed from the same row.
    EXPECT_EQ(flight::State().View.ViewCentreBaseY, d.Panel.Screen.PanelTop) << size;
    f.Unload();
  }
  CacheArt(0);
  Open(flight::testing::SampleLines("Marden７"));
  EXPECT_EQ(FlightScreenForm().Drawing().Panel.Screen.PanelTop, 480 - 155);  // no engine: a lower panel
}

TEST_F(FlightScreenWiringTest, FrameShowsThePanelAndTheElapsedTime) {
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  shell::CurrentSettings().ShowInstrumentPanel = 1;
  f.DrawFrame();
  CockpitDrawing& d = f.Drawing();
  // Below the panel's top edge the view shows the face (the test's sky,
  // without the start-up's colour bands, is black).
  Surface& view = f.Picture1.Canvas();
  const int top = d.Panel.Screen.PanelTop;
  auto panelPixels = [&] {
    int n = 0;
    for (int y = top + 20; y < 480; y += 10)
      for (int x = 120; x < 520; x += 10)
        if (view.Point(x, y) != 0) ++n;
    return n;
  };
  EXPECT_GT(panelPixels(), 19 * 40 / 3);  // the dials themselves are black
  EXPECT_EQ(f.Label24.Caption().rfind("経過時間 ", 0), 0u);
  EXPECT_TRUE(f.Label24.Visible());
  EXPECT_EQ(f.Label14.Caption(), aircraft::Aircraft().AircraftName);
  EXPECT_GE(f.Label24.Left(), f.Label14.Left() + f.Label14.Width() + 20);
  // The frame rate stands after the time, also when only the time changed:
  // at its minute it takes its hours form, often on a flight's last frame,
  // when the rate is no longer renewed.
  d.Panel.FrameRateText = "20Frm/Sec 19.88";
  f.DrawFrame();
  const double secondsWidth = f.Label24.Width();
  EXPECT_EQ(f.Label15.Left(), f.Label24.Left() + secondsWidth);
  flight::State().Loop.FlightTime = flight::State().Ground.LaunchTime + 60.04;
  f.DrawFrame();
  EXPECT_EQ(f.Label24.Caption(), "経過時間 00:01:00.0   ");
  EXPECT_GT(f.Label24.Width(), secondsWidth);
  EXPECT_EQ(f.Label15.Left(), f.Label24.Left() + f.Label24.Width());

  // Without the panel option the view is not covered.
  shell::CurrentSettings().ShowInstrumentPanel = 0;
  f.DrawFrame();
  EXPECT_LT(panelPixels(), 19 * 40 / 10);
}

// The frame paints the surface below a light aircraft by its launch height:
// the lake under a platform start, grey under a start from the surface.
TEST_F(FlightScreenWiringTest, FrameShowsTheSurfaceOfTheStart) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  shell::CurrentSettings().ShowInstrumentPanel = 0;
  for (const double height : {10.0, 0.0}) {
    aircraft::Aircraft().LaunchHeight = height;
    f.DrawFrame();
    const Surface& view = f.Picture1.Canvas();
    int lake = 0, grey = 0;
    for (int y = 250; y < 480; y += 5) {
      for (int x = 0; x < 640; x += 5) {
        lake += view.Point(x, y) == Color{0xBBAA22};
        grey += view.Point(x, y) == Color{0xAAAAAA};
      }
    }
    EXPECT_GT(height > 0 ? lake : grey, 1000) << height;
    EXPECT_EQ(height > 0 ? grey : lake, 0) << height;
  }
}

TEST_F(FlightScreenWiringTest, FlightDrawsTheRealPanelThroughTheLoopToTheWater) {
  CacheArt(0);
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Advance(200);
  Key(13);
  int frames = 0;
  auto draw = f.Screen().Seams.DrawFlightFrame;
  f.Screen().Seams.DrawFlightFrame = [&] {
    draw();
    ++frames;
  };
  f.Timer2_Timer();
  EXPECT_TRUE(flight::State().Loop.FlightEnded);
  EXPECT_GT(frames, 20);
  EXPECT_GT(f.Drawing().Panel.Phase + f.Drawing().Panel.FrameRateText.size(), 0u);  // the panel ran
  EXPECT_FALSE(f.Label15.Caption().empty());  // the frame-rate figure
}

TEST_F(FlightScreenWiringTest, CompanionIsReadAtTheLoadAndTheClickFiresAtIt) {
  PutCompanionLog();
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(flight::Companion().CompanionSampleCount, 400);
  EXPECT_TRUE(f.List1.Visible());  // the menu shows when a log was taken
  EXPECT_FALSE(shell::Process().Loaded());  // the progress dialog has gone
  flight::FlightSeams& seams = f.Screen().Seams;
  EXPECT_TRUE(seams.UpdateCompanion && seams.UpdateGunRounds);

  // In flight past the platform, steering with the mouse: a left click fires.
  flight::FlightState& s = flight::State();
  s.Body.Distance = 500;
  s.Body.Altitude = 300;
  s.Pilot.MouseSteering = 1;
  s.Loop.TimeMark = 5;
  flight::Record().RecordCount = 77;
  Advance(3000);
  f.Form_MouseDown(vbLeftButton, 300, 200);
  EXPECT_FLOAT_EQ(static_cast<float>(s.Sound.TriggerTime), static_cast<float>(Timer()));
  EXPECT_EQ(s.Loop.StepsSinceTrigger, 0);
  EXPECT_EQ(s.HeadUp.ShotsFiredTarget, 10);
  EXPECT_EQ(flight::Record().LaunchMarkSamples[1], 77);
  // A frame leaves the companion for the display's steps, which count up.
  f.DrawFrame();
  EXPECT_EQ(s.HeadUp.CompanionSampleCount, 400);

  // The joystick's fire button reaches the same burst.
  EXPECT_TRUE(Joystick().Commands.FireGunBurst);
  Advance(2500);
  Joystick().Commands.FireGunBurst();
  EXPECT_FLOAT_EQ(static_cast<float>(s.Sound.TriggerTime), static_cast<float>(Timer()));
}

TEST_F(FlightScreenWiringTest, ABurstCountsDownOneShotPerDrawnFrame) {
  // The shots left, as each frame of the real screen shows them after a
  // mouse burst: one a frame, and then the count stands.
  shell::CurrentSettings().ShowVelocityVector = 1;
  FlightFrame& f = LaunchJetWithCompanion();
  flight::FlightState& s = flight::State();
  flight::FlightSeams& seams = f.Screen().Seams;
  const std::function<void()> yield = seams.DoEvents;
  seams.DoEvents = [&] {
    Advance(50);
    yield();
    // The options are held off for the first passes of a flight.
    if (s.Sound.TriggerTime == 0 && s.Loop.FlightTime > 2.5) f.Form_MouseDown(vbLeftButton, 300, 200);
  };
  const std::function<void()> draw = seams.DrawFlightFrame;
  std::vector<std::string> shown;
  seams.DrawFlightFrame = [&] {
    draw();
    if (s.Sound.TriggerTime == 0) return;
    shown.push_back(Format(300 - flight::Record().LaunchMarkTenths, "000"));
    if (shown.size() == 11) s.Loop.FlightEnded = true;
  };
  f.Timer2_Timer();
  EXPECT_EQ(shown, (std::vector<std::string>{"299", "298", "297", "296", "295", "294", "293", "292", "291",
                                             "290", "290"}));
}

TEST_F(FlightScreenWiringTest, HangMeterKeepsALightAircraftsViewStill) {
  // The meter and the view's shake turn one toggle: with the meter on, a
  // light aircraft's view never shakes, however hard it pulls, also when the
  // meter is switched on in flight on either of the view's alternate frames.
  CacheArt(0);
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  s.Loop.SpeedMode = 1;
  s.Body.CourseDistance = 50;
  s.Body.Altitude = 5;
  s.Air.SupportAccel = 0;  // off the platform
  s.Air.NormalLoad = 9.8 * 8;
  auto shakenFrames = [&](int16_t meter, int frames) {
    shell::CurrentSettings().ShowPylonOrHangMeter = meter;
    int shaken = 0;
    for (int i = 0; i < frames; ++i) {
      f.DrawFrame();
      shaken += f.Drawing().View.ViewShake != 0;
    }
    return shaken;
  };
  EXPECT_EQ(shakenFrames(1, 4), 0);
  EXPECT_EQ(shakenFrames(0, 3), 2);  // without the meter every other frame
  EXPECT_EQ(shakenFrames(1, 4), 0);
  EXPECT_EQ(shakenFrames(0, 2), 1);
  EXPECT_EQ(shakenFrames(1, 4), 0);
}

TEST_F(FlightScreenWiringTest, DeveloperDiagnosticsReadTheWaveVolume) {
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  CockpitDrawing& d = f.Drawing();
  d.Panel.Screen.DeveloperMode = true;
  f.Frame3.SetVisible(true);  // page 2, and the diagnostics after it
  waveOutSetVolume(WAVE_MAPPER, 0x40002000);
  d.Panel.Phase = 2;  // the next update runs the third phase
  f.DrawPanel();
  EXPECT_EQ(f.Screen().WaveOutVolume, 0x40002000u);
}

TEST_F(FlightScreenWiringTest, PoweredClickWithoutCompanionDoesNothingAndCancelDropsTheCompanion) {
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(flight::Companion().CompanionSampleCount, 0);
  flight::FlightState& s = flight::State();
  s.Body.Distance = 500;
  s.Body.Altitude = 300;
  s.Pilot.MouseSteering = 0;
  s.Loop.TimeMark = 5;
  Advance(3000);
  f.Form_MouseDown(vbLeftButton, 300, 200);
  EXPECT_EQ(s.Sound.TriggerTime, 0);
  EXPECT_EQ(s.Pilot.MouseSteering, 0);

  // The progress dialog's cancel.
  flight::Companion().CompanionSampleCount = 300;
  flight::Record().LogRowCount = 300;
  ASSERT_TRUE(shell::FlightScreen().CancelLongTasks);
  shell::FlightScreen().CancelLongTasks();
  EXPECT_EQ(flight::Companion().CompanionSampleCount, 0);
  EXPECT_EQ(flight::Record().LogRowCount, 0);
}

// A stick that rests off its middle steers nothing: its rest is taken at
// the set-up with the joystick on, and again when the box is ticked.
TEST_F(FlightScreenWiringTest, JoystickRestIsTheCentreFromTheSetUpAndTheTickedBox) {
  testing::VirtualJoystick stick;
  if (!stick.Plug()) GTEST_SKIP() << "no virtual joystick (or a real one is plugged in)";
  stick.SetAxis(0, 8000);
  stick.SetAxis(1, 7000);
  shell::CurrentSettings().JoystickOn = 1;
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  flight::FlightSeams& seams = f.Screen().Seams;
  const std::function<void()> yield = seams.DoEvents;
  std::vector<std::pair<double, int>> sticks;  // lateral, pitch once the loop steers by the joystick
  seams.DoEvents = [&] {
    Advance(100);
    yield();
    if (s.Loop.FlightTime < 1.2) return;
    sticks.emplace_back(s.Pilot.StickLateral, s.Pilot.StickPitch);
    if (sticks.size() == 1) {
      // The pilot moves the stick and ticks the box again.
      stick.SetAxis(0, -9000);
      stick.SetAxis(1, -8000);
      f.Check6.SetValue(0);
      f.Check6.SetValue(1);
    } else if (sticks.size() == 3) {
      s.Loop.FlightEnded = true;
    }
  };
  f.Timer2_Timer();
  ASSERT_EQ(sticks.size(), 3u);
  for (const auto& [lateral, pitch] : sticks) {
    EXPECT_EQ(lateral, 0);
    EXPECT_EQ(pitch, 0);
  }
}

TEST_F(FlightScreenWiringTest, JoystickLinkAndActivityFlagsFollowTheShell) {
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  JoystickLink& link = Joystick();
  flight::FlightOptions& o = f.Screen().Options;
  EXPECT_EQ(link.Options, &o);
  EXPECT_EQ(&link.Deadline(), &f.Screen().Keys.UiDeadline);
  EXPECT_TRUE(f.Screen().Seams.PollJoystick && f.Screen().Seams.DispatchJoystickButtons);
  for (auto* c : {&link.Commands.TakeoffCommand, &link.Commands.ToggleGear, &link.Commands.FlapUp,
                  &link.Commands.FlapDown, &link.Commands.ToggleFuelDump})
    EXPECT_TRUE(*c);
  const auto& flags = shell::Shell().FormActiveFlags;
  auto same = [&] {
    EXPECT_EQ(o.FlightScreenActive, flags[shell::kSlotFlightFrame]);
    EXPECT_EQ(o.DeviceDialogActive, flags[shell::kSlotDevice]);
  };
  same();
  f.OnDeactivate();
  same();
  f.OnActivate();
  same();
  f.SetWindowState(vbMinimized);
  f.OnResize();
  same();
  f.SetWindowState(vbNormal);
  f.OnResize();
  same();
  OpenDeviceDialog();
  EXPECT_EQ(o.DeviceDialogActive, 1);
  same();

  // The flap button through a click on the bank caption.
  flight::State().Pilot.JoyButtons = 0;
  f.Label1.OnClick();
  EXPECT_GT(link.Deadline(), 0);
}

}  // namespace
}  // namespace zarv::flightscreen
