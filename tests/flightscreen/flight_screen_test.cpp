// The flight screen as a user meets it: set-up per class and size, keys,
// the take-off, the option round trip through a restart, and the unload's
// save questions.
#include "flightscreen/flight_screen_fixture.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "charts/charts.h"
#include "flightscreen/device_form.h"
#include "flight/flight_record.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/ui/colors.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/help.h"
#include "platform/ui/print.h"
#include "list_pointer.h"
#include "records/records_screens.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;
using flight::testing::Engine;

std::vector<std::string> JetLines() {
  return aircraft::AircraftFileLines(flight::testing::Powered(Engine::Jet));
}

// The lines of captions the form's visible controls cannot show whole, with
// the pixels each needs and has.
std::vector<std::string> CutCaptions(Form& form) {
  std::vector<std::string> cut;
  auto check = [&](const QWidget* w, const QString& text, int room) {
    const QFontMetrics fm(w->font());
    for (const QString& line : text.split(QChar('\n'))) {
      const int need = fm.horizontalAdvance(line);
      if (need > room)
        cut.push_back(line.toStdString() + " (needs " +
                      std::to_string(need) + " px, has " + std::to_string(room) + ")");
    }
  };
  for (QWidget* w : form.impl().widget->findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      QString text = b->text();
      text.replace(QStringLiteral("&&"), QStringLiteral("&"));
      if (text.isEmpty()) continue;
      QStyleOptionButton o;
      o.initFrom(b);
      o.text = b->text();
      const bool push = qobject_cast<QPushButton*>(w) != nullptr;
      const QStyle::SubElement e = push ? QStyle::SE_PushButtonContents
                                   : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_CheckBoxContents;
      const QRect r = b->style()->subElementRect(e, &o, b);
      check(w, text, push ? r.width() : b->width() - r.x());
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
      // A line wider than a wrapping label wraps onto a line it has no room
      // for; a visible control drawn over the label's right part (a box
      // beside its caption) hides what runs under it.
      if (l->text().isEmpty()) continue;
      int room = l->contentsRect().width();
      const QWidget* parent = l->parentWidget();
      if (parent != nullptr) {
        const auto siblings = parent->children();
        for (qsizetype i = siblings.indexOf(l) + 1; i < siblings.size(); ++i) {
          const auto* over = qobject_cast<const QWidget*>(siblings[i]);
          if (over == nullptr || !over->isVisible()) continue;
          const QRect g = over->geometry();
          if (g.intersects(l->geometry()) && g.left() > l->x()) room = std::min(room, g.left() - l->x());
        }
      }
      check(w, l->text(), room);
    }
  }
  return cut;
}

// Every caption is whole at every screen size, for a glider and a jet (their
// option captions differ), and after a flight.
TEST_F(FlightScreenTest, CaptionsFitTheirControls) {
  for (int size = 0; size < 3; ++size) {
    for (int jet = 0; jet < 2; ++jet) {
      Open(jet ? JetLines() : flight::testing::SampleLines("Marden７"), size);
      FlightFrame& f = FlightScreenForm();
      QApplication::processEvents();
      for (const std::string& c : CutCaptions(f)) ADD_FAILURE() << "size " << size << ", jet " << jet << ": " << c;
      if (size == 0 && jet == 0) {
        Advance(200);
        Key(13);
        f.Timer2_Timer();  // to the water
        f.Timer1_Timer();
        QApplication::processEvents();
        for (const std::string& c : CutCaptions(f)) ADD_FAILURE() << "after the flight: " << c;
      }
      f.Unload();
    }
  }
}

// The editor's captions are whole wherever it is shown, for a light
// aircraft and for one with engines (whose count and fuel boxes stand close
// after their captions).
TEST_F(FlightScreenTest, EditorCaptionsFitTheirControls) {
  for (int size = 0; size < 3; ++size) {
    for (int jet = 0; jet < 2; ++jet) {
      Open(jet ? JetLines() : flight::testing::SampleLines("Marden７"), size);
      shell::WriteForm& w = shell::Write_();
      w.Show();  // the flight screen's F7
      ASSERT_TRUE(w.Visible());
      ASSERT_EQ(w.Text3.Visible(), jet == 1);
      QApplication::processEvents();
      for (const std::string& c : CutCaptions(w)) ADD_FAILURE() << "size " << size << ", jet " << jet << ": " << c;
      w.Unload();
      FlightScreenForm().Unload();
    }
  }
}

TEST_F(FlightScreenTest, SetUpPerClassAndScreenSize) {
  const double scales[] = {1.0, 1.25, 1.6};
  for (int size = 0; size < 3; ++size) {
    Open(flight::testing::SampleLines("Marden７"), size);
    FlightFrame& f = FlightScreenForm();
    const double s = scales[size];
    EXPECT_DOUBLE_EQ(f.ScaleWidth(), 640 * s) << size;
    EXPECT_EQ(f.Check5.Caption(), "ﾊﾝｸﾞ用ﾒｰﾀｰの表示");
    EXPECT_EQ(f.Label7.Caption(), "5.8\r\nm/s");
    EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
    EXPECT_EQ(f.Screen().LogSuffix, "Plane.csv");
    EXPECT_TRUE(f.Visible());
    // The top strip spans the screen, not only the window, and covers the
    // condition frame's top edge.
    EXPECT_GT(f.Picture8.Width(), Screen().PixelWidth()) << size;
    EXPECT_GT(f.Frame1.Top(), 0) << size;
    EXPECT_LT(f.Frame1.Top(), f.Picture8.Height()) << size;
    // The title row from the strip's left edge, unscaled: the menu, the
    // launch conditions, the aircraft's name, then the elapsed time.
    EXPECT_EQ(f.Label16.Left(), 0);
    EXPECT_EQ(f.Label16.Top(), 1);
    EXPECT_EQ(f.Label21.Left(), f.Label16.Width() + 10);
    EXPECT_EQ(f.Label21.Top(), 1);
    EXPECT_EQ(f.Label14.Left(), f.Label21.Left() + f.Label21.Width() + 10);
    EXPECT_EQ(f.Label14.Top(), 1);
    EXPECT_EQ(f.Label24.Left(), f.Label14.Left() + f.Label14.Width() + 20);
    EXPECT_EQ(f.Label24.Top(), 2);
    f.Unload();
  }

  Open(JetLines(), 2);
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(f.Check5.Caption(), "パイロンの表示");
  EXPECT_EQ(f.Option2.Caption(), "ｼﾐｭﾚｰﾄｽﾋﾟｰﾄﾞ最高速");
  EXPECT_FALSE(f.Check8.Enabled());
  EXPECT_EQ(f.Label7.Caption(), "290\r\nkt");  // 150 m/s on the bar's 5-knot grid
  EXPECT_EQ(aircraft::Aircraft().AircraftTag, "D");
  EXPECT_EQ(flight::State().Pilot.CasOn, 1);  // jets start with CAS
  EXPECT_NE(f.Screen().KeyHelpText.find("Qキー：After Burnerｱｯﾌﾟ"), std::string::npos);
}

// Flown at the 1024 size on a 1280 x 1024 desktop, then started on this
// 1024 x 768 one: the screen opens whole, not with its panel cut off.
TEST_F(FlightScreenTest, AWindowCentreFromALargerDesktopOpensTheScreenWhole) {
  const std::vector<std::string> lines = flight::testing::SampleLines("Marden７");
  Open(lines, 2);
  FlightScreenForm().Unload();
  ASSERT_TRUE(WriteTextLines(aircraft::HandOverPath(), lines));  // the unload took it
  shell::CurrentSettings().WindowCentreX = 640 * 15;
  shell::CurrentSettings().WindowCentreY = 512 * 15;
  ASSERT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft()));
  ResetEnded();
  FlightScreenForm().Load();
  FlightFrame& f = FlightScreenForm();
  ASSERT_TRUE(f.Visible());
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Top(), 0);
  EXPECT_EQ(f.Width(), Screen().Width());
}

// The 1024 screen on a 1024 x 768 desktop whose window manager frames it
// (4 px, a 24 px title bar): the frame lies whole on the desktop, the
// inside giving up what the frame takes.
TEST_F(FlightScreenTest, OnADesktopOfItsOwnSizeItsFrameLiesWholeOnIt) {
  SetWindowFrameOverride(4, 24, 4, 4);
  Open(flight::testing::SampleLines("Marden７"), 2);
  FlightFrame& f = FlightScreenForm();
  ASSERT_TRUE(f.Visible());
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Top(), 0);
  EXPECT_EQ(f.ScaleWidth(), 1016);
  EXPECT_EQ(f.ScaleHeight(), 740);
}

// Each condition bar stops at both ends of its range: moved past an end it
// gives that end's condition; the direction bars wrap instead.
TEST_F(FlightScreenTest, ConditionBarsStopAtBothEnds) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  const aircraft::AircraftData& a = aircraft::Aircraft();
  f.VScroll1.SetValue(-1000);
  EXPECT_DOUBLE_EQ(a.LaunchPitch, 25 / 114.6);
  EXPECT_EQ(f.Label5.Caption(), "12.5\r\nDEG");
  f.VScroll1.SetValue(1000);
  EXPECT_DOUBLE_EQ(a.LaunchPitch, -30 / 114.6);
  EXPECT_EQ(f.Label5.Caption(), "-15.0\r\nDEG");
  const struct {
    ScrollBar& bar;
    const Label& label;
    const char *low, *high;
  } bars[] = {
      {f.VScroll5, f.Label13, "50.0\r\n℃", "-20.0\r\n℃"},
      {f.VScroll4, f.Label11, "1050\r\nhPa", "700\r\nhPa"},
      {f.HScroll1, f.Label1, "バンク角 -20°", "バンク角 20°"},
      {f.VScroll2, f.Label7, "8.0\r\nm/s", "1.0\r\nm/s"},
      {f.VScroll3, f.Label9, "4.0\r\nm/s", "0.0\r\nm/s"},
      {f.HScroll2, f.Label2, "機首方位 000°", "機首方位 005°"},
      {f.HScroll3, f.Label3, "風向方位 000°", "風向方位 005°"},
  };
  for (const auto& b : bars) {
    b.bar.SetValue(-1000);
    EXPECT_EQ(b.label.Caption(), b.low);
    b.bar.SetValue(1000);
    EXPECT_EQ(b.label.Caption(), b.high);
  }
  EXPECT_EQ(a.SurfaceTemperature, -20);
  EXPECT_EQ(a.SurfacePressure, 700);
  EXPECT_DOUBLE_EQ(a.LaunchBank, 20 / 57.3);
  EXPECT_DOUBLE_EQ(a.LaunchSpeed, 1.0);
  EXPECT_EQ(a.WindSpeed, 0);
}

TEST_F(FlightScreenTest, TakeoffKeySwitchesToTheFlightMenu) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Key(13);  // within 0.1 s of the load: ignored
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
  Advance(200);
  Key(13);
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 6);
  EXPECT_EQ(f.List1.ListCount(), 7);
  EXPECT_EQ(f.List1.List(3), "飛行のｷｬﾝｾﾙ Esc or F9");
  EXPECT_FALSE(f.Frame1.Visible());
  EXPECT_GT(flight::State().Pilot.TakeoffRunAcceleration, 0);
  Key(113);  // F2 in flight does nothing
  EXPECT_TRUE(MessageBoxCalls().empty());
}

// Closing the menu strip shows the launch bars again only while the aircraft
// waits: once the take-off key has started the run, behind the line on the
// deck or let go afloat (however long it drifts there), they would put it
// back on its start.
TEST_F(FlightScreenTest, TheLaunchBarsStayAwayOnceTheRunHasBegun) {
  for (const char* height : {"10.7", "0", "0.5"}) {
    SCOPED_TRACE(height);
    std::vector<std::string> lines = flight::testing::SampleLines("Marden７");
    flight::testing::SetField(lines, 30, height);
    Open(lines);
    FlightFrame& f = FlightScreenForm();
    flight::FlightState& s = flight::State();
    s.Loop.TimeMark = 5;
    s.Body.CourseDistance = s.Body.Distance = -3;
    f.Frame1.SetVisible(false);
    f.Label21_Close();
    EXPECT_TRUE(f.Frame1.Visible());  // waiting at its start
    Advance(200);
    Key(13);
    ASSERT_TRUE(s.Ground.RunStarted);
    s.Body.GroundSpeed = 2;
    f.Label21_Close();
    EXPECT_FALSE(f.Frame1.Visible());
    f.Unload();
  }
}

// Enter and Space start the run whatever the user clicked before on the
// screen: the device button (its dialog closed again), the option panel's
// OK, a check box. The clicked control keeps the focus; the key must neither
// press nor tick it.
TEST_F(FlightScreenTest, EnterStartsTheRunWhateverWasClickedBefore) {
  enum class Before { DeviceButton, OptionPanel, CheckBox };
  const struct {
    Before before;
    int qtKey;
    const char* text;
  } cases[] = {
      {Before::DeviceButton, Qt::Key_Return, "\r"}, {Before::DeviceButton, Qt::Key_Space, " "},
      {Before::OptionPanel, Qt::Key_Return, "\r"},  {Before::CheckBox, Qt::Key_Return, "\r"},
  };
  // A click on a control: the window system gives it the focus, then the press.
  const auto click = [](Control& c) {
    c.SetFocus();
    QWidget* w = c.impl().widget;
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
  };
  for (const auto& c : cases) {
    const int row = static_cast<int>(&c - cases);
    Open(flight::testing::SampleLines("Marden７"));
    FlightFrame& f = FlightScreenForm();
    f.Show();
    Advance(3000);
    switch (c.before) {
      case Before::DeviceButton:
        click(f.Command1);
        ASSERT_TRUE(Device().Loaded()) << row;
        click(Device().Command2);  // キャンセル
        ASSERT_FALSE(Device().Loaded()) << row;
        break;
      case Before::OptionPanel:
        f.Form_MouseDown(vbRightButton, 300, 200);
        ASSERT_TRUE(f.Picture7.Visible()) << row;
        click(f.Command16);  // OK, the size unchanged: the panel only closes
        ASSERT_FALSE(f.Picture7.Visible()) << row;
        break;
      case Before::CheckBox:
        click(f.Check3);
        break;
    }
    const int ticked = f.Check3.Value();
    Advance(300);  // past the click's guard
    TypeKey(f, c.qtKey, c.text);
    EXPECT_EQ(f.Screen().Keys.MenuItemCount, 6) << row;  // rolling
    EXPECT_GT(flight::State().Pilot.TakeoffRunAcceleration, 0) << row;
    EXPECT_FALSE(Device().Loaded()) << row;
    EXPECT_EQ(f.Check3.Value(), ticked) << row;
    f.Unload();
  }
}

// The right button's option panel stands out from the view: a raised border
// two pixels wide along its edges, lit above and left, shaded below and
// right, and no sunken frame of its own.
TEST_F(FlightScreenTest, TheOptionPanelOpensWithARaisedBorder) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Advance(3000);
  f.Form_MouseDown(vbRightButton, 300, 200);
  ASSERT_TRUE(f.Picture7.Visible());
  EXPECT_EQ(f.Picture7.BorderStyle(), 0);
  const double w = f.Picture7.ScaleWidth(), h = f.Picture7.ScaleHeight();
  const Color lit = ResolveColor(vbWhite), shaded = ResolveColor(vbButtonShadow);
  const struct {
    double x, y;
    Color color;
  } edges[] = {{1, h / 2, lit}, {2, h / 2, lit},         {w / 2, 1, lit},         {w / 2, 2, lit},
               {w - 3, h / 2, shaded}, {w - 2, h / 2, shaded}, {w / 2, h - 3, shaded}, {w / 2, h - 2, shaded}};
  for (const auto& e : edges) EXPECT_EQ(f.Picture7.Canvas().Point(e.x, e.y), e.color) << e.x << ", " << e.y;
}

TEST_F(FlightScreenTest, OptionsSurviveARestartBeforeTheLaunch) {
  shell::Settings& s = shell::CurrentSettings();
  s.ShowObjects = 1;
  s.ShowDataBox = 1;
  s.SoundOn = 1;
  s.SimSpeedNormal = false;
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(f.Check3.Value(), 1);
  EXPECT_EQ(s.ShowObjects, 0);  // held at 0 for the first passes of the flight
  EXPECT_EQ(s.SoundOn, 0);
  EXPECT_TRUE(f.Option2.Value());

  Key(27);  // Esc within 2 s of the load does nothing
  EXPECT_EQ(restarts_, 0);
  Advance(2500);
  Key(27);  // back to the platform: a new run with the same aircraft
  EXPECT_EQ(restarts_, 1);
  EXPECT_FALSE(f.FlightLoaded());
  const std::vector<std::string> saved = Lines(shell::SettingsPath());
  ASSERT_GE(saved.size(), 25u);
  EXPECT_EQ(Val(saved[0]), 3);  // straight into the flight screen
  EXPECT_EQ(Val(saved[6]), 1);  // ShowObjects
  EXPECT_EQ(Val(saved[8]), 1);  // ShowDataBox
  EXPECT_EQ(Val(saved[12]), 1); // SoundOn
  EXPECT_EQ(Trim(saved[23]), "False");
  EXPECT_TRUE(MessageBoxCalls().empty());  // the platform command asks nothing
  EXPECT_TRUE(FileExists(aircraft::HandOverPath()));
}

// Back to the platform hands the aircraft over to the next run: its own
// lines as the hand-over file held them, the launch conditions as flown now.
TEST_F(FlightScreenTest, BackToThePlatformRewritesTheHandOverFile) {
  const std::vector<std::string> sample = flight::testing::SampleLines("MardenⅡ");
  Open(sample);
  aircraft::Aircraft().LaunchBank = -12 / 57.3;
  Advance(2500);
  Key(120);  // F9
  EXPECT_EQ(restarts_, 1);
  EXPECT_EQ(Val(Lines(shell::SettingsPath())[0]), 3);
  const std::vector<std::string> lines = Lines(aircraft::HandOverPath());
  ASSERT_EQ(lines.size(), 55u);
  for (size_t i = 0; i <= 38; ++i) EXPECT_EQ(lines[i], sample[i]) << i;
  // The launch fields keep the leading blank of their written form.
  const std::pair<size_t, const char*> launch[] = {{40, " 0.00"}, {46, " 5.50"}, {47, " 1.5"},  {48, " 290"},
                                                   {49, "-12"},   {51, " 315"},  {52, " 1013"}, {53, " 33"}};
  for (const auto& [i, text] : launch) EXPECT_EQ(lines[i], text) << i;
}

TEST_F(FlightScreenTest, QuitAsksOnlyAboutWhatChanged) {
  Open(JetLines());
  Advance(3000);
  Key(123);  // F12, nothing touched
  EXPECT_TRUE(MessageBoxCalls().empty());
  EXPECT_EQ(ends_, 1);
  EXPECT_FALSE(FileExists(aircraft::HandOverPath()));

  // The wind direction changed, answered No: the file keeps its launch lines.
  const std::vector<std::string> before = JetLines();
  Open(before);
  answer_ = vbNo;
  FlightScreenForm().HScroll3.SetValue(36);  // 180 degrees
  Advance(3000);
  Key(123);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_NE(MessageBoxCalls()[0].prompt.find("発進条件が変更されています"), std::string::npos);
  EXPECT_EQ(Lines(Path("Data/Plane.brd")), before);

  // Answered Yes: the launch lines are saved.
  ClearMessageBoxCalls();
  Open(before);
  answer_ = vbYes;
  FlightScreenForm().HScroll3.SetValue(36);
  Advance(3000);
  Key(121);  // F10: change the aircraft, also with the questions
  EXPECT_EQ(MessageBoxCalls().size(), 1u);
  const std::vector<std::string> after = Lines(Path("Data/Plane.brd"));
  ASSERT_EQ(after.size(), 55u);
  EXPECT_EQ(after[51], "180");  // field 50
  EXPECT_EQ(after[50], "0");    // field 49, a level start
  EXPECT_EQ(restarts_, 1);
}

TEST_F(FlightScreenTest, EditedAircraftDataAsksTheDataQuestion) {
  std::vector<std::string> lines = flight::testing::SampleLines("Marden７");
  Open(lines);
  // The editor wrote another engine model into the hand-over file.
  std::vector<std::string> edited = lines;
  edited[38] = "O-200";
  ASSERT_TRUE(WriteTextLines(aircraft::HandOverPath(), edited));
  Advance(3000);
  Key(123);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_NE(MessageBoxCalls()[0].prompt.find("機体データが変更されています"), std::string::npos);
  EXPECT_EQ(Lines(Path("Data/Plane.brd"))[38], "O-200");
}

// The menu shows all its rows, none cut off and no scroll bar, and the
// pointer over any pixel of a row highlights that row, before the launch
// and in flight.
TEST_F(FlightScreenTest, MenuRowsAreWholeAndTheHoveredRowIsUnderThePointer) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  f.Label16_Open();
  EXPECT_EQ(zarv::testing::MenuListFault(f.List1), "");
  Advance(200);
  Key(13);  // the launch: the in-flight menu
  ASSERT_EQ(f.List1.ListCount(), 7);
  f.Label16_Open();
  EXPECT_EQ(zarv::testing::MenuListFault(f.List1), "");
}

TEST_F(FlightScreenTest, MenuHoverAndChoice) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  f.Label16_Open();
  EXPECT_TRUE(f.List1.Visible());
  f.List1_MouseMove(5000);  // far below the last entry: the quit entry
  EXPECT_EQ(f.List1.ListIndex(), 11);
  f.List1_MouseMove(-50);
  EXPECT_EQ(f.List1.ListIndex(), 0);
  f.List1.SetListIndex(10);  // the separator: the menu opens again
  f.List1_MouseDown();
  EXPECT_TRUE(f.List1.Visible());
  f.List1.SetListIndex(1);  // the ranking window
  f.List1_MouseDown();
  EXPECT_TRUE(records::ResultSheet().Visible());
  EXPECT_TRUE(MessageBoxCalls().empty());
  shell::Shell().FormActiveFlags[12] = 1;  // the ranking window keeps the menu shut
  f.List1.SetVisible(false);
  f.Label16_Open();
  EXPECT_FALSE(f.List1.Visible());
  records::ResultSheet().Unload();
  EXPECT_EQ(shell::Shell().FormActiveFlags[12], 0);
}

TEST_F(FlightScreenTest, DisplayOptionsFollowTheBoxesAtTheirPasses) {
  shell::CurrentSettings().ShowObjects = 1;
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  s.Loop.PassCount = 30;
  f.ReadDisplayOptions();
  EXPECT_EQ(shell::CurrentSettings().ShowObjects, 0);
  s.Loop.PassCount = 31;
  f.ReadDisplayOptions();
  EXPECT_EQ(shell::CurrentSettings().ShowObjects, 1);
  f.Check3.SetValue(1);
  f.Check4.SetValue(1);  // the data box and the panel are never both on
  EXPECT_EQ(f.Check3.Value(), 0);
  f.Option2.SetValue(true);
  s.Body.Altitude = 10;
  f.ReadDisplayOptions();
  EXPECT_EQ(s.Loop.SpeedMode, 3);  // a light aircraft's x1/3
}

// Pass 25 files the boxes as the user left them, while the flags the flight
// reads wait: each display from its own pass on, so that the first passes
// measure the frame rate without them, and the sound until the first second
// has flown, when taking the box over is what starts the wind loop.
TEST_F(FlightScreenTest, PassTwentyFiveSavesTheBoxesWhileTheFlagsWait) {
  shell::Settings& st = shell::CurrentSettings();
  st.ShowObjects = st.ShowDataBox = st.SoundOn = 1;
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  const flight::FlightState& s = flight::State();
  struct Seen {
    int32_t pass;
    double time;
    int16_t objects, dataBox, sound;
  };
  std::vector<Seen> seen;
  const auto look = [&] { seen.push_back({s.Loop.PassCount, s.Loop.FlightTime, st.ShowObjects, st.ShowDataBox, st.SoundOn}); };
  std::vector<std::string> saved;
  auto save = f.Screen().Seams.SaveSettings;
  f.Screen().Seams.SaveSettings = [&] {
    save();
    saved = Lines(shell::SettingsPath());
    look();
  };
  auto panel = f.Screen().Seams.DrawInstrumentPanel;
  f.Screen().Seams.DrawInstrumentPanel = [&] {
    panel();
    look();
    if (s.Loop.PassCount > 150) flight::State().Loop.FlightEnded = true;
  };
  f.Timer2_Timer();  // on the platform, paced on the hand-driven clock
  ASSERT_GE(saved.size(), 13u);
  EXPECT_EQ(Val(saved[6]), 1);   // ShowObjects
  EXPECT_EQ(Val(saved[8]), 1);   // ShowDataBox
  EXPECT_EQ(Val(saved[12]), 1);  // SoundOn
  ASSERT_FALSE(seen.empty());
  for (const Seen& v : seen) {
    if (v.pass <= 30) {
      EXPECT_EQ(v.objects, 0) << v.pass;
    }
    if (v.pass <= 60) {
      EXPECT_EQ(v.dataBox, 0) << v.pass;
    }
    if (v.time <= 1) {
      EXPECT_EQ(v.sound, 0) << v.pass;
    }
  }
  EXPECT_EQ(seen.back().objects, 1);
  EXPECT_EQ(seen.back().dataBox, 1);
  EXPECT_EQ(seen.back().sound, 1);
}

// The ranking's name box takes what is typed; the letters fly nothing
// ("Taro" is T the speed, A the throttle, R the flaps, O the panels; "Lola"
// two screenshots; "Hiro" I the CAS), while Esc still closes the panel.
TEST_F(FlightScreenTest, NameTypedIntoTheRankingBoxChangesNothingElse) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  s.Body.Altitude = -0.5;  // the flight has ended in the water
  f.NameEntry.Offer("1位です。名前を入力して下さい。", "entry");
  const flight::FlightState before = s;
  for (const char* name : {"Taro", "Lola", "Hiro"}) {
    for (const char* c = name; *c != 0; ++c) {
      const char upper = static_cast<char>(*c & ~0x20);
      TypeKey(f, Qt::Key_A + (upper - 'A'), std::string(1, *c));
    }
    TypeKey(f, Qt::Key_Space, " ");
  }
  EXPECT_EQ(f.NameEntry.Text1.Text(), "Taro Lola Hiro ");
  EXPECT_TRUE(f.Option1.Value());  // still x1
  EXPECT_TRUE(shell::CurrentSettings().SimSpeedNormal);
  EXPECT_EQ(f.Screen().Keys.ScreenshotRequest, 0);
  EXPECT_EQ(f.Screen().Keys.InfoPanelMode, 0);
  EXPECT_EQ(s.Pilot.CasOn, before.Pilot.CasOn);
  EXPECT_EQ(s.Pilot.FlapNotch, before.Pilot.FlapNotch);
  EXPECT_EQ(s.Engine.Throttle, before.Engine.Throttle);

  // A name pasted 32,767 characters long stops where twenty lines still read back.
  std::string pasted, kept;
  for (int i = 0; i < 32767; ++i) pasted += "あ";
  for (int i = 0; i < 255; ++i) kept += "あ";
  f.NameEntry.Text1.SetText("");
  TypeKey(f, 0, pasted);
  EXPECT_EQ(f.NameEntry.Text1.Text(), kept);

  TypeKey(f, Qt::Key_Escape, "\x1b");
  EXPECT_FALSE(f.Picture6.Visible());
  TypeKey(f, Qt::Key_O, "o");  // the box has gone: the letters fly again
  EXPECT_EQ(f.Screen().Keys.InfoPanelMode, 1);
}

// A held F3 opens the airfoil chart once and prints nothing; held on the
// chart it prints once; a held Esc closes the chart and goes no further.
// Held steering keys repeat, held switches switch once.
TEST_F(FlightScreenTest, HeldKeysCommandOnceAndSteerOn) {
  Open(flight::testing::SampleLines("Marden７"));
  Advance(3000);  // past the load's guard: an Esc reaching the screen would send it back to the platform
  FlightFrame& f = FlightScreenForm();
  charts::WingCharactorForm& chart = charts::Wing_Charactor();
  int prints = 0;
  SetPrintDialogResponder([&](const PrintJob&) {
    ++prints;
    return false;  // no file needed
  });
  auto hold = [&](Form& pressed, Form& repeatsTo, int qtKey, const std::string& text) {
    SendKey(pressed, QEvent::KeyPress, qtKey, text);
    for (int i = 0; i < 21; ++i) SendKey(repeatsTo, QEvent::KeyPress, qtKey, text, true);  // a switch back, if repeated
    SendKey(repeatsTo, QEvent::KeyRelease, qtKey, text);
  };
  hold(f, chart, Qt::Key_F3, "");
  EXPECT_TRUE(chart.Visible());
  EXPECT_EQ(prints, 0);
  hold(chart, chart, Qt::Key_F3, "");
  EXPECT_EQ(prints, 1);
  hold(chart, f, Qt::Key_Escape, "\x1b");
  EXPECT_FALSE(chart.Loaded());
  EXPECT_TRUE(f.FlightLoaded());  // not sent back to the platform
  EXPECT_EQ(restarts_, 0);
  SetPrintDialogResponder(nullptr);

  flight::FlightState& s = flight::State();
  ASSERT_EQ(s.Pilot.CasOn, 0);
  hold(f, f, Qt::Key_T, "t");
  hold(f, f, Qt::Key_I, "i");
  hold(f, f, Qt::Key_Semicolon, ";");
  hold(f, f, Qt::Key_Up, "");
  EXPECT_FALSE(f.Option1.Value());  // x1/3: switched once
  EXPECT_EQ(s.Pilot.CasOn, 1);
  EXPECT_EQ(s.Pilot.MouseSteering, 0);
  EXPECT_NEAR(s.Controls.ElevatorCommand, 22 / 171.9, 1e-9);  // a step a press and a repeat
}

// F1 on the flight screen opens the help text shipped with the program at
// a topic that tells a new pilot how to start, steer and go again.
TEST_F(FlightScreenTest, HelpTellsHowToFly) {
  WriteBytes(HelpFilePath(), ReadAllBytes(ZARV_SOURCE_DIR "/assets/help/zarv-help.txt"));
  Open(flight::testing::SampleLines("Marden７"));
  HelpForForm(FlightScreenForm());
  ASSERT_EQ(HelpWindowTopic(), 30);
  std::string text;
  for (const HelpTopic& topic : ParseHelpText(ReadAllBytes(HelpFilePath())))
    if (topic.id == 30) text = topic.text;
  for (const char* told : {"Enter", "↑", "↓", "「;」", "A キー", "F9", "メニュー"})
    EXPECT_NE(text.find(told), std::string::npos) << told;
  CloseHelp();
}

TEST_F(FlightScreenTest, AFlightRunsThroughTheScreensSeamsToTheWater) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Advance(200);
  Key(13);
  f.Timer2_Timer();  // the loop, paced without waiting on the hand-driven clock
  const flight::FlightState& s = flight::State();
  EXPECT_TRUE(s.Loop.FlightEnded);
  EXPECT_GT(s.Body.Distance, 10);
  EXPECT_LT(s.Body.Altitude, 0);
  EXPECT_TRUE(f.Timer1.Enabled());  // the post-flight processing follows
  f.Timer1_Timer();
  EXPECT_FALSE(f.Timer1.Enabled());
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);  // the after-flight menu
  EXPECT_EQ(f.List1.List(8), "ﾌﾟﾗｯﾄﾎｰﾑへ  Esc or F9");
  EXPECT_TRUE(f.Timer3.Enabled());
  EXPECT_TRUE(f.FlightLoaded());  // the screen stays usable
}

TEST_F(FlightScreenTest, QuitDuringTheFlightEndsTheLoopFirstAndUnloadsOnce) {
  Open(flight::testing::SampleLines("Marden７"));
  FlightFrame& f = FlightScreenForm();
  Advance(200);
  Key(13);
  flight::FlightSeams& seams = f.Screen().Seams;
  auto yield = seams.DoEvents;
  bool pressed = false;
  seams.DoEvents = [&] {
    yield();
    if (!pressed && flight::State().Loop.FlightTime > 2) {
      pressed = true;
      Key(123);  // F12 while the loop runs
      EXPECT_TRUE(f.FlightLoaded());  // not yet: the loop ends first
    }
  };
  f.Timer2_Timer();
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(f.FlightLoaded());
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(restarts_, 0);
  EXPECT_EQ(Val(Lines(shell::SettingsPath())[0]), 0);
}

}  // namespace
}  // namespace zarv::flightscreen
