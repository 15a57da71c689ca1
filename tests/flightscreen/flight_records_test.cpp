// The flight screen with the records' and replay's screens wired in: the end
// of a flight (result, log, ranking place), the ranking window, the charts,
// and the flight-data charts and replay opened during a flight, which then
// goes on.
#include "flightscreen/flight_screen_fixture.h"

#include <QCloseEvent>

#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "charts/charts.h"
#include "flight/flight_loop.h"
#include "flight/flight_record.h"
#include "logbook/flight_log.h"
#include "logbook/post_flight.h"
#include "platform/devices/sound.h"
#include "platform/runtime/text.h"
#include "platform/ui/bmp.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/help.h"
#include "platform/ui/keys.h"
#include "records/flight_data_form.h"
#include "records/log_picker.h"
#include "records/records_screens.h"
#include "replay/replay_form.h"
#include "shell/screens.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "view/scenery.h"

namespace zarv::flightscreen {
namespace {

class FlightRecordsTest : public testing::FlightScreenTest {
 protected:
  void SetUp() override {
    FlightScreenTest::SetUp();
    // The replay's frames come as fast as the test takes them; `onFrame`
    // acts at frame n.
    FlightFrame::SetReplayWait([this](uint64_t deadline) {
      const uint64_t now = timeGetTime();
      if (deadline > now) Advance(static_cast<int>(deadline - now));
      ++frames_;
      if (onFrame_) onFrame_(frames_);
    });
  }

  // Loads Marden７ (from `height` m, or as filed) and takes off; `during`
  // runs once, at the loop's first yield after 2 s of flight (and `awayFrom`
  // m beyond the platform's edge).
  void Fly(std::function<void()> during = nullptr, double awayFrom = -1e9, const std::string& height = "") {
    std::vector<std::string> lines = flight::testing::SampleLines("Marden７");
    if (!height.empty()) flight::testing::SetField(lines, 30, height);
    Open(lines);
    FlightFrame& f = FlightScreenForm();
    Advance(200);
    Key(vbKeyReturn);
    flight::FlightSeams& seams = f.Screen().Seams;
    auto yield = seams.DoEvents;
    seams.DoEvents = [this, yield, during, awayFrom, &f] {
      yield();
      maxDepth_ = std::max(maxDepth_, f.Screen().LoopDepth);
      const flight::FlightState& s = flight::State();
      if (during && !acted_ && s.Loop.FlightTime > 2 && s.Body.Distance > awayFrom) {
        acted_ = true;
        during();
      }
    };
    f.Timer2_Timer();
  }

  // What the flight recorded up to its end, without the wing-tip trails
  // (the replay fills them early), and where it ended.
  struct Flown {
    std::vector<flight::FlightSample> Samples;
    double Distance = 0, FlightTime = 0;
  };
  static Flown Recorded() {
    const flight::FlightRecord& r = flight::Record();
    Flown out;
    for (int32_t i = 0; i <= r.RecordCount; ++i) {
      flight::FlightSample s = r.Samples[static_cast<size_t>(i)];
      s.TipAEast = s.TipANorth = s.TipAHeight = s.TipBEast = s.TipBNorth = s.TipBHeight = 0;
      out.Samples.push_back(s);
    }
    out.Distance = flight::State().Body.Distance;
    out.FlightTime = flight::State().Loop.FlightTime;
    return out;
  }
  // The flight just flown, sample by sample as `plain` and to its end.
  static void ExpectFlownAs(const Flown& plain) {
    const Flown flown = Recorded();
    EXPECT_EQ(flown.FlightTime, plain.FlightTime);
    EXPECT_EQ(flown.Distance, plain.Distance);
    ASSERT_EQ(flown.Samples.size(), plain.Samples.size());
    for (size_t i = 0; i < plain.Samples.size(); ++i) {
      ASSERT_TRUE(flown.Samples[i] == plain.Samples[i]) << "sample " << i;
    }
  }
  // The next flight on a freshly loaded flight screen.
  void Reopen() {
    ASSERT_TRUE(FlightScreenForm().Unload());
    acted_ = false;
    maxDepth_ = 0;
    frames_ = 0;
    onFrame_ = nullptr;
  }

  int frames_ = 0;
  std::function<void(int)> onFrame_;
  bool acted_ = false;
  int maxDepth_ = 0;
};

TEST_F(FlightRecordsTest, AFlightToTheWaterEndsWithItsResultAPlaceAndAFiledLog) {
  Fly();
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  ASSERT_LT(s.Body.Altitude, 0);
  s.Body.Distance = 150;  // as far as a place needs (over 100 m)
  ASSERT_TRUE(f.Timer1.Enabled());
  EXPECT_EQ(f.Timer1.Interval(), 100);  // no end sound with the sound off
  EXPECT_TRUE(f.Check7.Enabled());
  f.Timer1_Timer();
  const records::PostFlightOutcome& out = f.LastPostFlight();
  ASSERT_TRUE(out.Ran);
  EXPECT_TRUE(out.LogWritten);
  EXPECT_EQ(out.Filing.FiledName, "0Plane.csv");
  EXPECT_FALSE(FileExists(Path("Temp/before.csv")));
  const std::vector<std::string> log = Lines(Path("FlightData/0Plane.csv"));
  ASSERT_GT(log.size(), 10u);
  EXPECT_EQ(log[0], out.Result.FlightSummary);
  EXPECT_EQ(Val(log[0]), Val(Format(s.Body.Distance, "###.#0")));
  EXPECT_EQ(f.MousePointer(), vbDefault);

  // The empty ranking: the first place is offered.
  EXPECT_EQ(out.Rank, 1);
  ASSERT_TRUE(f.Picture6.Visible());
  EXPECT_EQ(f.NameEntry.Label20.Caption(), records::PilotNamePrompt(s.Body.Distance, 1));
  f.NameEntry.Text1.SetText("Hanako");
  f.NameEntry.Command10_Click();
  EXPECT_FALSE(f.Picture6.Visible());
  EXPECT_EQ(records::Ranking().RecordLines[1], out.Result.RecordEntryText + "Hanako");
  EXPECT_TRUE(records::ResultSheet().Visible());
  records::ResultSheet().Unload();
  Key(vbKeyF2);
  EXPECT_TRUE(records::ResultSheet().Visible());
  EXPECT_NE(records::ResultSheet().Label1.Caption().find("01位  " + out.Result.RecordEntryText + "Hanako"),
            std::string::npos);
  records::ResultSheet().Unload();

  // The flight-data charts after the flight show its record and result;
  // the flight does not start again.
  const flight::FlightRecord* shown = nullptr;
  std::string summary;
  auto hide = records::FlightDataHost().HideFlightScreen;
  records::FlightDataHost().HideFlightScreen = [&] {
    hide();
    shown = records::Flight_Data().Source();
    summary = records::Flight_Data().Label1.Caption();
    records::Flight_Data().Unload();
  };
  Key(vbKeyF5);
  EXPECT_EQ(shown, &flight::Record());
  EXPECT_EQ(summary, out.Result.FlightSummary);
  EXPECT_EQ(f.Screen().LoopDepth, 0);
  EXPECT_TRUE(f.Visible());

  // A second timer tick (the writer yields to events) files nothing more.
  f.Timer1_Timer();
  EXPECT_FALSE(FileExists(Path("FlightData/1Plane.csv")));
}

TEST_F(FlightRecordsTest, ACancelledFlightIsFiledButNeverRanked) {
  Fly([this] {
    Advance(2100);  // the cancel waits 2 s after the load
    Key(vbKeyEscape);
  }, 5);
  FlightFrame& f = FlightScreenForm();
  flight::State().Body.Distance = 150;  // far enough for a place, were it not cancelled
  EXPECT_EQ(flight::State().Body.Altitude, flight::kCancelAltitude);
  ASSERT_TRUE(f.Timer1.Enabled());
  EXPECT_EQ(f.Timer1.Interval(), 100);
  f.Timer1_Timer();
  EXPECT_EQ(f.LastPostFlight().Rank, 0);
  EXPECT_FALSE(f.Picture6.Visible());
  EXPECT_TRUE(FileExists(Path("FlightData/0Plane.csv")));
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
}

// Afloat (no platform under it at 0.5 m) the start is 7 m behind the line:
// once the take-off key has let it go, Esc files it there. Before, it was
// thrown away and the run started again.
TEST_F(FlightRecordsTest, ACancelledStartAfloatIsFiledBehindItsLine) {
  Fly([this] {
    Advance(2100);
    Key(vbKeyEscape);
  }, -1e9, "0.5");
  FlightFrame& f = FlightScreenForm();
  EXPECT_LT(flight::State().Body.Distance, 0);
  EXPECT_EQ(flight::State().Body.Altitude, flight::kCancelAltitude);
  ASSERT_TRUE(f.Timer1.Enabled());
  f.Timer1_Timer();
  EXPECT_TRUE(FileExists(Path("FlightData/0Plane.csv")));
}

TEST_F(FlightRecordsTest, F12InTheLogWritersDialogQuitsAlsoAfterALogWasReadIntoTheCharts) {
  Fly();
  FlightFrame& f = FlightScreenForm();
  shell::Shell().LogCaller = records::kLogCallerCharts;
  // F12 in the progress dialog at the writer's first progress step.
  shell::ProcessForm& dialog = shell::Process();
  const auto redraw = dialog.Label1.OnChange;
  bool pressed = false;
  dialog.Label1.OnChange = [&] {
    if (redraw) redraw();
    if (pressed || !dialog.Loaded()) return;
    pressed = true;
    int key = vbKeyF12;
    dialog.OnKeyDown(key, 0);
  };
  f.Timer1_Timer();
  dialog.Label1.OnChange = redraw;
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(f.FlightLoaded());
  EXPECT_EQ(ends_, 1);
}

TEST_F(FlightRecordsTest, TheFlightGoesOnAfterTheFlightDataChartsClose) {
  double heightAtCharts = 0;
  int32_t recordedAtCharts = -1;
  double chartSamples = -1;
  Fly([&] {
    auto hide = records::FlightDataHost().HideFlightScreen;
    records::FlightDataHost().HideFlightScreen = [&, hide] {
      hide();
      heightAtCharts = flight::State().Body.Altitude;
      recordedAtCharts = flight::Record().RecordCount;
      chartSamples = flight::Record().RecordSampleCount;
      records::Flight_Data().Unload();
    };
    Key(vbKeyF5);
  });
  FlightFrame& f = FlightScreenForm();
  const flight::FlightState& s = flight::State();
  EXPECT_GT(heightAtCharts, 0);
  EXPECT_EQ(chartSamples, recordedAtCharts);  // the samples recorded so far
  EXPECT_EQ(maxDepth_, 2);                    // the flight went on in a second loop
  EXPECT_LT(s.Body.Altitude, 0);              // to the water
  EXPECT_GT(s.Body.Distance, 10);
  EXPECT_TRUE(f.Timer1.Enabled());
  EXPECT_EQ(f.Screen().LoopDepth, 0);
  EXPECT_EQ(f.Screen().Options.FlightDataChartsActive, 0);
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.AutoRedraw());
}

// A flight whose end test fired is over even where the rest of that pass
// lifted it back above the water, for every place that asks: the take-off
// key, the keys that take the display options back, the replay's close (the
// flight is not flown on and the user's volume comes back), an unload the
// user stays at, and the double click back to the platform.
TEST_F(FlightRecordsTest, AFlightEndedAboveTheWaterIsOverEverywhere) {
  const uint32_t user = 0xC0008000u;
  waveOutSetVolume(WAVE_MAPPER, user);
  Fly();
  FlightFrame& f = FlightScreenForm();
  f.Timer1_Timer();  // filed, with the after-flight menu
  f.NameEntry.Close();
  shell::Settings& st = shell::CurrentSettings();
  flight::FlightState& s = flight::State();
  ASSERT_TRUE(flight::FlightIsDown(s));
  s.Body.Altitude = 0.2;
  ASSERT_TRUE(flight::FlightIsDown(s));
  const int32_t recorded = flight::Record().RecordCount;

  const double brake = s.Pilot.WheelBrakeSetting;
  Advance(500);
  Key(vbKeyReturn);  // neither a take-off run over the record nor the brake
  EXPECT_EQ(s.Pilot.WheelBrakeSetting, brake);
  EXPECT_EQ(s.Body.Altitude, 0.2);
  EXPECT_EQ(flight::Record().RecordCount, recorded);

  const int16_t shown = st.ShowVelocityVector;
  f.Check2.SetValue(shown == 1 ? 0 : 1);
  Key(vbKeyA + 10);  // K, no key of its own
  EXPECT_NE(st.ShowVelocityVector, shown) << "key down";
  f.Check2.SetValue(shown);
  int ascii = 'k';
  f.OnKeyPress(ascii);
  EXPECT_EQ(st.ShowVelocityVector, shown) << "key press";

  maxDepth_ = 0;
  onFrame_ = [](int frame) {
    if (frame == 2) replay::Vedeo().Command1_Click();
  };
  Key(vbKeyF6);
  EXPECT_EQ(frames_, 2);
  EXPECT_EQ(maxDepth_, 0);
  EXPECT_EQ(flight::Record().RecordCount, recorded);
  EXPECT_EQ(s.Body.Altitude, 0.2);
  uint32_t volume = 0;
  waveOutGetVolume(WAVE_MAPPER, &volume);
  EXPECT_EQ(volume, user);

  ASSERT_TRUE(DeleteFile(Path("Data/Plane.brd")));
  answer_ = vbNo;  // stays at the question the missing file asks
  st.ExitMode = 0;
  EXPECT_FALSE(f.Unload());
  EXPECT_EQ(flight::Record().RecordCount, recorded);
  EXPECT_FALSE(f.Timer2.Enabled());

  Advance(3000);
  f.OnDblClick();
  EXPECT_EQ(s.Body.Altitude, 0.2);
  EXPECT_EQ(st.ExitMode, 3);
  EXPECT_FALSE(f.FlightLoaded());
}

TEST_F(FlightRecordsTest, TheFlightGoesOnAfterTheReplayClosesWithItsWingTipTrails) {
  double trailAt10 = 0;
  replay::ReplayScenery scenery;
  onFrame_ = [&](int frame) {
    if (frame == 1) {
      trailAt10 = replay::Vedeo().Player()->Record.Samples[10].TipAEast;
      scenery = replay::Vedeo().Player()->Scenery;
    }
    if (frame == 3) replay::Vedeo().Command1_Click();
  };
  Fly([this] { Key(vbKeyF6); });
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(frames_, 3);
  flight::FlightSample tip = flight::Record().Samples[10];
  records::ComputeTipTrail(tip, model::Outline());
  EXPECT_NE(trailAt10, 0);
  EXPECT_EQ(trailAt10, tip.TipAEast);
  // The cockpit view's scene: shore, course poles and the prism.
  view::SceneGeometry scene;
  view::InitSceneGeometry(flight::State().Masses.DryMass, aircraft::Aircraft().LaunchSpeed,
                          aircraft::Aircraft().EngineCount, scene);
  for (int i : {view::kShoreFirst, view::kShoreLast, view::kCourseFirst, view::kCourseFirst + 8}) {
    EXPECT_EQ(scenery.X[static_cast<size_t>(i)], scene.SceneryX[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(scenery.Y[static_cast<size_t>(i)], scene.SceneryY[static_cast<size_t>(i)]) << i;
  }
  EXPECT_EQ(scenery.Prisms.LastPrismIndex, scene.Prisms.LastPrismIndex);
  EXPECT_EQ(maxDepth_, 2);
  EXPECT_LT(flight::State().Body.Altitude, 0);
  EXPECT_TRUE(f.Timer1.Enabled());
  EXPECT_FALSE(replay::Vedeo().Loaded());  // the panel's next first phase closed its window
  EXPECT_TRUE(f.Visible());
}

// F1 on every screen the flight screen opens shows that screen's own topic
// of the help text shipped with the program, not the general page.
TEST_F(FlightRecordsTest, EveryScreenHasItsOwnHelpTopic) {
  WriteBytes(HelpFilePath(), ReadAllBytes(ZARV_SOURCE_DIR "/assets/help/zarv-help.txt"));
  std::set<int> shipped;
  for (const HelpTopic& t : ParseHelpText(ReadAllBytes(HelpFilePath()))) shipped.insert(t.id);
  Fly();
  ASSERT_LT(flight::State().Body.Altitude, 0);
  FlightFrame& f = FlightScreenForm();
  f.Timer1_Timer();  // the after-flight menu
  std::map<std::string, int> asked;  // screen -> the topic its F1 asks for
  auto press = [&](const char* screen, Form& form) {
    asked[screen] = form.HelpContextID();
    HelpForForm(form);
    EXPECT_EQ(HelpWindowTopic(), form.HelpContextID()) << screen;
    CloseHelp();
  };
  press("flight", f);
  // The screens that stay open on their own until closed.
  const std::pair<int, std::pair<const char*, Form*>> opened[] = {
      {vbKeyF3, {"airfoil chart", &charts::Wing_Charactor()}},
      {vbKeyF4, {"aircraft chart", &charts::Plane_Charactor()}},
      {vbKeyF7, {"editor", &shell::Write_()}},
      {vbKeyF8, {"registration", &shell::Choice()}}};
  for (const auto& [key, screen] : opened) {
    Key(key);
    ASSERT_TRUE(screen.second->Visible()) << screen.first;
    press(screen.first, *screen.second);
    screen.second->Unload();
  }
  // The charts and the replay, from inside their own loops.
  auto hide = records::FlightDataHost().HideFlightScreen;
  records::FlightDataHost().HideFlightScreen = [&] {
    hide();
    press("flight-data charts", records::Flight_Data());
    records::Flight_Data().Unload();
  };
  Key(vbKeyF5);
  onFrame_ = [&](int frame) {
    if (frame != 1) return;
    press("replay", replay::Vedeo());
    replay::Vedeo().Command1_Click();
  };
  Key(vbKeyF6);

  const std::map<std::string, int> topics = {{"flight", 30},       {"airfoil chart", 150}, {"aircraft chart", 160},
                                             {"flight-data charts", 170}, {"replay", 40}, {"editor", 180},
                                             {"registration", 20}};
  EXPECT_EQ(asked, topics);
  for (const auto& [screen, topic] : asked) EXPECT_TRUE(shipped.count(topic)) << screen << " asks for " << topic;
}

// Settings saved at the 1024 size, the program restarted into the flight
// screen on a smaller desktop: the cached art, the flight screen, its
// option panel, the flight-data charts and the replay all take the size the
// desktop offers, and the option panel's OK leaves the screen at the size
// the panel shows. One process a desktop, as the program restarts for each.
struct Desktop {
  int width, height;  // pixels
  int allowed;        // the size choice it offers
};
class SizeAtTheStart : public FlightRecordsTest, public ::testing::WithParamInterface<Desktop> {};

TEST_P(SizeAtTheStart, SettingsSavedAtTheLargestSizeStartEveryScreenAtTheSizeTheDesktopOffers) {
  const Desktop d = GetParam();
  Screen().SetSizeOverride(d.width, d.height);
  ASSERT_TRUE(testing::WritePlane(folder_, flight::testing::SampleLines("Marden７")));
  shell::Settings& st = shell::CurrentSettings();
  st.ExitMode = 3;
  st.ScreenSizeChoice = st.CachedScreenSizeChoice = 2;
  st.WindowCentreX = 512 * 15;
  st.WindowCentreY = 384 * 15;
  ASSERT_TRUE(shell::SaveSettings(shell::SettingsPath(), st));
  st.Reset();
  shell::Begin().Load();
  for (int waited = 0; waited < 3000 && !FlightScreenForm().Visible(); waited += 5) {
    DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  FlightFrame& f = FlightScreenForm();
  ASSERT_TRUE(f.Visible());
  const double scale = shell::ScreenScaleFor(d.allowed), w = 640 * scale;

  for (int size = 0; size < 3; ++size)
    for (const std::string art : {"Back", "Panel", "Mask"})
      EXPECT_EQ(FileExists(Path("Temp/" + art + std::to_string(size) + ".bmp")), size == d.allowed) << art << size;
  // Laid out at the size, not only cut to the desktop by the window.
  EXPECT_EQ(shell::Shell().FormSavedWidth[shell::kSlotFlightFrame], w * 15);
  EXPECT_EQ(f.Screen().Options.ScreenScale, scale);  // the view and the panel
  EXPECT_EQ(f.ScaleWidth(), w);
  EXPECT_EQ(f.ScaleHeight(), 480 * scale);
  EXPECT_LE(f.Frame1.Left() + f.Frame1.Width(), w);  // the launch conditions
  OptionButton* sizes[] = {&f.Option3, &f.Option4, &f.Option5};
  for (int size = 0; size < 3; ++size) EXPECT_EQ(sizes[size]->Value(), size == d.allowed) << size;
  Advance(3000);
  f.Form_MouseDown(vbRightButton, 300, 200);
  ASSERT_TRUE(f.Picture7.Visible());
  for (int size = 0; size < 3; ++size) EXPECT_EQ(sizes[size]->Enabled(), size <= d.allowed) << size;
  sizes[d.allowed]->SetValue(true);
  f.Command16.SetValue(true);  // OK on the size shown: the screen is already at it
  EXPECT_FALSE(f.Picture7.Visible());
  EXPECT_EQ(restarts_, 0);
  EXPECT_EQ(f.Screen().Options.ScreenScale, scale);

  Advance(200);
  Key(vbKeyReturn);
  f.Timer2_Timer();
  ASSERT_LT(flight::State().Body.Altitude, 0);
  // The flight saved the settings early on: the size stays the one saved.
  EXPECT_EQ(ReadTextLines(shell::SettingsPath())[33], " 2");
  f.Timer1_Timer();  // the after-flight menu
  double chartsWidth = 0, replayWidth = 0;
  int replayFrame = 0;
  bool replayBackground = false;
  auto hide = records::FlightDataHost().HideFlightScreen;
  records::FlightDataHost().HideFlightScreen = [&] {
    hide();
    chartsWidth = records::Flight_Data().Width();
    records::Flight_Data().Unload();
  };
  Key(vbKeyF5);
  records::FlightDataHost().HideFlightScreen = hide;
  onFrame_ = [&](int frame) {
    if (frame != 1) return;
    replayWidth = replay::Vedeo().Width();
    replayFrame = replay::Vedeo().Player()->Geometry.FrameWidth();
    replayBackground = replay::Vedeo().BackgroundLoaded;
    replay::Vedeo().Command1_Click();
  };
  Key(vbKeyF6);
  EXPECT_EQ(chartsWidth, w * 15);
  EXPECT_EQ(replayWidth, w * 15);
  EXPECT_EQ(replayFrame, 660 * scale);
  EXPECT_TRUE(replayBackground);  // the sky of its own size, cached at the start
  onFrame_ = nullptr;

  // A size picked in the option panel is the one saved.
  if (d.allowed == 0) return;
  Advance(3000);
  f.Form_MouseDown(vbRightButton, 300, 200);
  ASSERT_TRUE(f.Picture7.Visible());
  sizes[0]->SetValue(true);
  f.Command16.SetValue(true);
  EXPECT_EQ(restarts_, 1);
  EXPECT_EQ(ReadTextLines(shell::SettingsPath())[33], " 0");
}

INSTANTIATE_TEST_SUITE_P(Desktops, SizeAtTheStart,
                         ::testing::Values(Desktop{640, 480, 0}, Desktop{800, 600, 1}, Desktop{1024, 768, 2}),
                         [](const ::testing::TestParamInfo<Desktop>& i) { return std::to_string(i.param.width); });

// The replay (played, or closed at once, by Esc, F9 or its menu) and the
// flight-data charts, opened in the air: the flight waits and then flies the
// very flight it would have flown, sample by sample, to the same end.
TEST_F(FlightRecordsTest, AFlightThatWaitedForTheReplayOrTheChartsFliesOnAsIfNeverStopped) {
  Fly();
  const Flown plain = Recorded();
  ASSERT_LT(flight::State().Body.Altitude, 0);
  ASSERT_GT(plain.Samples.size(), 100u);

  auto key = [](int code) {
    return [code] {
      int k = code;
      replay::Vedeo().Form_KeyDown(k, 0);
    };
  };
  auto menuClose = [] {
    replay::ReplayForm& v = replay::Vedeo();
    v.List1.SetListIndex(4);
    v.List1_MouseDown();
  };
  struct Way {
    const char* Name;
    int PlayAt;  // 0: never played
    std::function<void()> Close;
  };
  const Way ways[] = {{"Esc after playing", 8, key(vbKeyEscape)},
                      {"F9 after playing", 8, key(vbKeyF9)},
                      {"Esc at once", 0, key(vbKeyEscape)},
                      {"the menu's close", 8, menuClose}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.Name);
    Reopen();
    double heightAtReplay = 0;
    onFrame_ = [&](int frame) {
      if (frame == 1) heightAtReplay = flight::State().Body.Altitude;
      if (frame == way.PlayAt) key(vbKeyReturn)();
      if (frame == 30) way.Close();
    };
    Fly([this] { Key(vbKeyF6); });
    EXPECT_EQ(frames_, 30);
    EXPECT_GT(heightAtReplay, 0);
    EXPECT_EQ(maxDepth_, 2);
    ExpectFlownAs(plain);
    EXPECT_TRUE(FlightScreenForm().Timer1.Enabled());
    EXPECT_TRUE(FlightScreenForm().Visible());
  }

  SCOPED_TRACE("the flight-data charts");
  Reopen();
  Fly([&] {
    auto hide = records::FlightDataHost().HideFlightScreen;
    records::FlightDataHost().HideFlightScreen = [&, hide] {
      hide();
      Advance(3000);  // a while with the charts
      int k = vbKeyEscape;
      records::Flight_Data().OnKeyDown(k, 0);
    };
    Key(vbKeyF5);
  });
  EXPECT_EQ(maxDepth_, 2);
  ExpectFlownAs(plain);
}

// The replay window's close box in the air: back to the flight screen,
// whose flight goes on; the program neither ends nor starts anew.
TEST_F(FlightRecordsTest, TheReplaysCloseBoxInTheAirGoesBackToTheFlight) {
  auto closeBox = [] {
    QCloseEvent close;
    QApplication::sendEvent(replay::Vedeo().impl().widget, &close);
  };
  onFrame_ = [&](int frame) {
    if (frame == 3) closeBox();
  };
  Fly([this] { Key(vbKeyF6); });
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(frames_, 3);
  ASSERT_TRUE(f.FlightLoaded());
  EXPECT_EQ(ends_, 0);
  EXPECT_EQ(restarts_, 0);
  EXPECT_EQ(maxDepth_, 2);
  EXPECT_LT(flight::State().Body.Altitude, 0);
  EXPECT_GT(flight::State().Body.Distance, 10);
  EXPECT_TRUE(f.Timer1.Enabled());
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(replay::Vedeo().Visible());
}

// After the flight the close box goes back to the flight screen until the
// flight is filed; then it unloads the replay and the hidden flight screen
// with it, whose unload asks its questions and ends the program. A user who
// stays at the questions gets the flight screen back.
TEST_F(FlightRecordsTest, TheReplaysCloseBoxAfterTheFiledFlightEndsTheProgram) {
  auto replayClosedByItsBox = [this](int atFrame) {
    frames_ = 0;
    onFrame_ = [atFrame](int frame) {
      if (frame != atFrame) return;
      QCloseEvent close;
      QApplication::sendEvent(replay::Vedeo().impl().widget, &close);
    };
    Key(vbKeyF6);
    EXPECT_EQ(frames_, atFrame);
  };
  Fly();
  FlightFrame& f = FlightScreenForm();
  ASSERT_LT(flight::State().Body.Altitude, 0);
  ASSERT_TRUE(f.Timer1.Enabled());  // not filed yet
  replayClosedByItsBox(3);
  // Nothing below can go on with the flight screen gone.
  ASSERT_TRUE(f.FlightLoaded());
  ASSERT_EQ(ends_, 0);
  EXPECT_TRUE(f.Visible());
  EXPECT_TRUE(f.Timer1.Enabled());

  f.Timer1_Timer();
  f.NameEntry.Close();
  const std::string path = Path("Data/Plane.brd");
  const std::vector<std::string> lines = Lines(path);
  ASSERT_TRUE(DeleteFile(path));
  ClearMessageBoxCalls();
  answer_ = vbNo;  // not to end without the aircraft file
  replayClosedByItsBox(5);
  EXPECT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(ends_, 0);
  EXPECT_TRUE(f.FlightLoaded());
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(replay::Vedeo().Loaded());

  ASSERT_TRUE(WriteTextLines(path, lines));
  ClearMessageBoxCalls();
  answer_ = vbYes;
  replayClosedByItsBox(5);
  EXPECT_TRUE(MessageBoxCalls().empty());  // nothing changed
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(restarts_, 0);
  EXPECT_FALSE(f.FlightLoaded());
  EXPECT_FALSE(FileExists(aircraft::HandOverPath()));
}

TEST_F(FlightRecordsTest, QuitInTheReplayDuringTheFlightEndsTheRunOnce) {
  onFrame_ = [](int frame) {
    if (frame == 2) {
      int key = vbKeyF12;
      replay::Vedeo().Form_KeyDown(key, 0);
    }
  };
  Fly([this] { Key(vbKeyF6); });
  EXPECT_EQ(frames_, 2);
  EXPECT_EQ(maxDepth_, 1);  // the flight did not go on
  EXPECT_FALSE(FlightScreenForm().FlightLoaded());
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(restarts_, 0);
}

TEST_F(FlightRecordsTest, ALogOpenedInTheReplayPlaysFromItsOwnRecord) {
  Fly();
  FlightFrame& f = FlightScreenForm();
  f.Timer1_Timer();
  f.NameEntry.Close();
  ASSERT_TRUE(FileExists(Path("FlightData/0Plane.csv")));
  const flight::FlightSample sample50 = flight::Record().Samples[50];
  const int32_t flightRows = flight::Record().RecordCount;
  const flight::FlightRecord* played = nullptr;
  std::string listed, summary;
  onFrame_ = [&](int frame) {
    replay::ReplayForm& v = replay::Vedeo();
    if (frame == 1) v.Command8_Click();
    if (frame == 2) {
      records::FileSelectForm& picker = records::File_Select();
      EXPECT_TRUE(picker.Visible());
      listed = picker.List1.ListCount() > 0 ? picker.List1.List(0) : "";
      picker.Text1.SetText("0Plane.csv");
      picker.Command2_Click();
    }
    if (frame == 4) {
      played = &v.Player()->Record;
      summary = v.Label16.Caption();
      v.Command1_Click();
    }
  };
  Key(vbKeyF6);
  EXPECT_EQ(listed, "0Plane.csv");
  ASSERT_NE(played, nullptr);
  EXPECT_NE(played, &flight::Record());
  EXPECT_EQ(summary, f.LastPostFlight().Result.FlightSummary);
  EXPECT_EQ(played->RecordSampleCount, flight::Record().LogRowCount);
  // The flight's own record is kept.
  EXPECT_EQ(flight::Record().RecordCount, flightRows);
  EXPECT_TRUE(flight::Record().Samples[50] == sample50);
  EXPECT_EQ(f.Screen().LoopDepth, 0);
  EXPECT_EQ(frames_, 4);
}

TEST_F(FlightRecordsTest, TheReplayAndTheCockpitNumberScreenshotsWithOneCounter) {
  Fly();
  FlightFrame& f = FlightScreenForm();
  f.Timer1_Timer();
  f.NameEntry.Close();
  ASSERT_TRUE(WriteTextLines(Path("cam001.bmp"), {"the user's"}));
  auto cockpitShot = [&] {
    Key('L');
    f.Timer3.OnTimer();
  };
  auto replayShot = [&] {
    frames_ = 0;
    onFrame_ = [](int frame) {
      int key = frame == 1 ? 'L' : vbKeyEscape;
      replay::Vedeo().Form_KeyDown(key, 0);
    };
    Key(vbKeyF6);
  };
  replayShot();    // cam000
  cockpitShot();   // cam002: 001 is taken
  ASSERT_TRUE(DeleteFile(Path("cam000.bmp")));  // the user took it away
  replayShot();    // cam003 in a new replay: one counter, the shots stay in order
  cockpitShot();   // cam004
  for (const char* name : {"cam002.bmp", "cam003.bmp", "cam004.bmp"}) {
    Surface shot(1, 1);
    EXPECT_TRUE(LoadBmp(shot, Path(name))) << name;
  }
  EXPECT_EQ(Lines(Path("cam001.bmp")), std::vector<std::string>{"the user's"});
  EXPECT_FALSE(FileExists(Path("cam000.bmp")));
  EXPECT_FALSE(FileExists(Path("cam005.bmp")));
}

TEST_F(FlightRecordsTest, ChartsAndThePickerAreWiredAtTheLoadAndGoAtTheUnload) {
  Open(flight::testing::SampleLines("Marden７"));
  EXPECT_TRUE(charts::Plane_Charactor().Loaded());
  EXPECT_FALSE(charts::Plane_Charactor().Visible());
  Key(vbKeyF3);
  EXPECT_TRUE(charts::Wing_Charactor().Visible());
  Key(vbKeyF4);
  EXPECT_TRUE(charts::Plane_Charactor().Visible());
  ASSERT_TRUE(records::LogPickerHost().LogSuffix);
  EXPECT_EQ(records::LogPickerHost().LogSuffix(), "Plane.csv");
  auto record = std::make_unique<flight::FlightRecord>();
  std::string error;
  ASSERT_TRUE(records::LogPickerHost().ReadLog);
  EXPECT_FALSE(records::LogPickerHost().ReadLog(Path("FlightData/none.csv"), *record, &error));
  Key(vbKeyF12);
  EXPECT_FALSE(charts::Wing_Charactor().Loaded());
  EXPECT_FALSE(charts::Plane_Charactor().Loaded());
}

TEST_F(FlightRecordsTest, AfterTheFlightTheChartsEnterAndClicksLeaveItsRecordAlone) {
  Fly();
  FlightFrame& f = FlightScreenForm();
  f.Timer1_Timer();
  f.NameEntry.Close();
  const double time = flight::State().Loop.FlightTime, distance = flight::State().Body.Distance;
  const int32_t rows = flight::Record().RecordCount;
  // Enter and a click in the water start nothing: the record stays the
  // flight's and the menu the after-flight one.
  Advance(1000);
  Key(vbKeyReturn);
  Advance(1000);
  f.Form_MouseDown(vbLeftButton, 300, 300);
  EXPECT_EQ(flight::Record().RecordCount, rows);
  EXPECT_EQ(flight::State().Loop.FlightTime, time);
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
  Key(vbKeyF3);
  EXPECT_TRUE(charts::Wing_Charactor().Visible());
  EXPECT_EQ(flight::State().Loop.FlightTime, time);
  EXPECT_EQ(flight::State().Body.Distance, distance);
  EXPECT_EQ(flight::Record().RecordCount, rows);
  Key(vbKeyF4);
  EXPECT_TRUE(charts::Plane_Charactor().Visible());
  EXPECT_EQ(flight::State().Loop.FlightTime, time);
  EXPECT_EQ(flight::Record().RecordCount, rows);
}

}  // namespace
}  // namespace zarv::flightscreen
