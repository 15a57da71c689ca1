// The shell's screens offscreen: start modes, notice screen, hangar, editor
// and progress dialog, with a hand-driven clock and answered message boxes.
#include <sys/stat.h>

#include "shell/screens.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QPixmap>
#include <QRect>
#include <QRawFont>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <utility>

#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/ui/app.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/help.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "platform/ui/restart.h"
#include "platform/ui/sendkeys.h"
#include "aircraft/aircraft_file.h"
#include "shell/editor_data.h"
#include "shell/hangar.h"
#include "shell/flight_screen_link.h"
#include "shell/progress.h"
#include "shell/screen_util.h"
#include "aircraft/samples.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

using testing::ProgramFolderTest;

class ScreensTest : public ProgramFolderTest {
 protected:
  // Lets events run (the forms' timers tick in real time) until done() or a second passes.
  template <class F>
  bool PumpUntil(F done, int ms = 1500) {
    for (int waited = 0; waited < ms; waited += 5) {
      DoEvents();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }
  void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
  }
  void WriteSettings(std::vector<std::string> lines) {
    ASSERT_TRUE(MakeDir(Path("Temp")));
    ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), lines));
  }
  void PrepareFolders() {
    ASSERT_TRUE(MakeDir(Path("Temp")));
    ASSERT_TRUE(MakeDir(Path("Data")));
    ASSERT_TRUE(aircraft::WriteSampleAircraft(Path("Data")));
  }
  // Start mode 3 with a sample as the hand-over file: the flight screen shows it.
  void StartFlying(int sample) {
    PrepareFolders();
    ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"),
                               aircraft::SampleAircraftList()[static_cast<size_t>(sample)].Lines));
    std::vector<std::string> settings(37, " 0");
    settings[0] = " 3";
    settings[4] = Path("Data");
    settings[5] = aircraft::SampleAircraftList()[static_cast<size_t>(sample)].FileName;
    settings[23] = "True";
    ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), settings));
    Begin().Load();
    ASSERT_TRUE(PumpUntil([this] { return flightScreen_.Shown; }));
  }
  static QImage Shot(Form& form) { return form.impl().widget->grab().toImage(); }
  void Key(Form& form, int code) {
    int k = code;
    form.OnKeyDown(k, 0);
  }
  // The flight screen's F8: the hangar in registration mode.
  static void Register() {
    Shell().ScreenMode = kScreenModeRegister;
    Choice().Load();
  }

};

TEST_F(ScreensTest, FirstStartEndToEnd) {
  Begin().Load();
  EXPECT_TRUE(Begin().Visible());  // the splash
  Pump(400);
  EXPECT_FALSE(Notice().Loaded());  // two seconds have not passed on the clock
  EXPECT_TRUE(Begin().Loaded());
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Notice().Visible(); }));
  EXPECT_FALSE(Begin().Loaded());
  EXPECT_EQ(Exists(Path("Data/Marden7.brd")), true);
  // First run: the notes show at once; the first 次へ opens the help.
  EXPECT_NE(Notice().Text1.Text().find("Zarv"), std::string::npos);
  Notice().Command1.SetValue(true);
  EXPECT_NE(HelpWindowTopic(), -1);
  EXPECT_FALSE(Choice().Loaded());
  Notice().Command1.SetValue(true);
  ASSERT_TRUE(Choice().Visible());
  EXPECT_FALSE(Notice().Loaded());
  EXPECT_EQ(ends_, 0);
  EXPECT_EQ(Choice().Dir1.Path(), Path("Data"));

  // OK without a choice is refused; a listed file goes to the flight screen.
  Choice().Command2.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "機体を選んで下さい。");
  Choice().Text1.SetText("Marden7.brd");
  Choice().Command2.SetValue(true);
  ASSERT_TRUE(flightScreen_.Shown);
  EXPECT_FALSE(Choice().Loaded());
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "Marden７");
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Marden7.brd");
  EXPECT_EQ(ReadTextLines(Path("Temp/file.dat")).size(), 55u);
  EXPECT_EQ(ends_, 0);
}

// Nothing covers the drawn border of the splash or the waiting screen.
// A line break in the program folder's path would shift the settings'
// lines: the start refuses the folder, names it, and writes nothing there.
TEST_F(ScreensTest, AProgramFolderWithALineBreakIsRefusedByName) {
  // A name from a Japanese archive (ソ in Shift-JIS) shows as the lists show it.
  const std::pair<const char*, const char*> names[] = {{"a\nx", "a\nx"}, {"a\rx", "a\rx"}, {"\x83\x5C\nx", "ソ\nx"}};
  for (const auto& [name, shown] : names) {
    const std::string folder = Path(name);
    ASSERT_TRUE(MakeDir(folder));
    SetProgramFolder(folder);
    ClearMessageBoxCalls();
    ResetEnded();
    const int ends = ends_;
    Begin().Load();
    ASSERT_EQ(MessageBoxCalls().size(), 1u);
    EXPECT_EQ(MessageBoxCalls()[0].prompt, LineBreakFolderMessage(folder));
    EXPECT_NE(MessageBoxCalls()[0].prompt.find("「" + Path(shown) + "」"), std::string::npos) << shown;
    EXPECT_EQ(ends_, ends + 1);
    EXPECT_TRUE(ListDirs(folder).empty());
    EXPECT_TRUE(ListFiles(folder, "*").empty());
  }
  // The root folder keeps its own message.
  SetProgramFolder("/");
  ClearMessageBoxCalls();
  ResetEnded();
  Begin().Load();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, kRootFolderMessage);
}

TEST_F(ScreensTest, SplashBorderIsItsDrawing) {
  Begin().Load();
  ASSERT_TRUE(Begin().Visible());
  const QImage splash = Shot(Begin());
  for (int y = 4; y < 60; y += 5) EXPECT_EQ(splash.pixel(2, y), qRgb(255, 255, 255)) << y;
  for (int x = 4; x < 120; x += 5) EXPECT_EQ(splash.pixel(x, 2), qRgb(255, 255, 255)) << x;
  EXPECT_EQ(splash.pixel(30, 10), splash.pixel(300, 60));  // the face inside
}

// A start mode below 0 is a normal start with the options kept: the splash,
// its text drawn, is on the screen before the samples are written, the
// hangars sorted and the notes rewritten, and the notice screen follows.
TEST_F(ScreensTest, SplashIsUpBeforeTheFirstSorting) {
  std::vector<std::string> settings(37, " 0");
  settings[0] = "-1";
  settings[6] = " 1";  // ShowObjects
  WriteSettings(settings);
  std::vector<std::string> copy = aircraft::SampleAircraftList()[0].Lines;
  copy[0] = "X";
  ASSERT_TRUE(WriteTextLines(Path("Mine.brd"), copy));

  struct ShowSpy : QObject {
    std::function<void()> onShow;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Show && onShow) std::exchange(onShow, nullptr)();
      return false;
    }
  } spy;
  std::vector<bool> onShow;  // Data, Mine.brd in place, a sample written, Readme.txt
  QImage splash;
  spy.onShow = [&] {
    onShow = {DirExists(Path("Data")), Exists(Path("Mine.brd")), Exists(Path("Marden7.brd")),
              Exists(Path("Readme.txt"))};
    splash = Shot(Begin());
  };
  Begin().impl().widget->installEventFilter(&spy);
  Begin().Load();
  Begin().impl().widget->removeEventFilter(&spy);
  EXPECT_EQ(onShow, (std::vector<bool>{false, true, false, false}));
  ASSERT_FALSE(splash.isNull());
  int ink = 0;  // dark pixels of the line "環境を整えています…"
  for (int y = 117; y < 137 && y < splash.height(); ++y)
    for (int x = 40; x < 330 && x < splash.width(); ++x) ink += qGray(splash.pixel(x, y)) < 96 ? 1 : 0;
  EXPECT_GT(ink, 200);

  EXPECT_TRUE(Exists(Path("Data/Mine.brd")));
  EXPECT_EQ(CurrentSettings().ShowObjects, 1);
  Pump(300);
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Notice().Visible(); }));
}

TEST_F(ScreensTest, WaitingScreenCornerIsItsDrawing) {
  PrepareFolders();
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[0].Lines));
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 3";
  ASSERT_TRUE(WriteTextLines(Path("Temp/set.ini"), settings));
  Begin().Load();
  ASSERT_TRUE(Begin().Visible());
  const QImage waiting = Shot(Begin());
  for (int y = 0; y < 30; y += 3)
    for (int x = 0; x < 100; x += 3)
      ASSERT_EQ(waiting.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

// Settings saved at the 1024 size, started on smaller desktops: the waiting
// screen of a restart into the flight screen and the notes are laid out at
// the size the desktop offers, and the settings saved at the quit keep the
// 1024 size for the next start on the desktop that holds it.
TEST_F(ScreensTest, ASizeSavedOnAWiderDesktopLaysTheStartsScreensOutAtTheSizeThisOneOffers) {
  const struct {
    int width, height;  // the desktop, pixels
    int allowed;
  } desktops[] = {{640, 480, 0}, {800, 600, 1}, {1024, 768, 2}};
  const double scales[] = {1.0, 1.25, 1.6};
  PrepareFolders();
  ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), aircraft::SampleAircraftList()[0].Lines));
  for (const auto& d : desktops) {
    Screen().SetSizeOverride(d.width, d.height);
    const double scale = scales[d.allowed];
    std::vector<std::string> settings(37, " 0");
    settings[4] = Path("Data");
    settings[5] = aircraft::SampleAircraftList()[0].FileName;
    settings[33] = " 2";
    settings[34] = " 2";
    for (const char* mode : {" 3", " 1"}) {
      settings[0] = mode;
      WriteSettings(settings);
      flightScreen_.Shown = false;
      ResetEnded();  // the notes' close ended the program before
      Begin().Load();
      if (mode[1] == '3') {
        ASSERT_TRUE(Begin().Visible()) << d.width;
        EXPECT_EQ(Shell().ScreenScale, scale) << d.width;  // its words drawn at it
        EXPECT_EQ(Begin().ScaleWidth(), 640 * scale) << d.width;
        EXPECT_EQ(Begin().ScaleHeight(), 480 * scale) << d.width;
        ASSERT_TRUE(PumpUntil([this] { return flightScreen_.Shown; })) << d.width;
        EXPECT_EQ(CurrentSettings().CachedScreenSizeChoice, d.allowed) << d.width;  // the size it ran at
        continue;
      }
      ASSERT_TRUE(PumpUntil([] { return Notice().Visible(); })) << d.width;
      Notice().Command2.SetValue(true);  // the notes
      EXPECT_EQ(Shell().FormSavedHeight[kSlotNotice], 480 * scale * 15) << d.width;  // asked, not cut to fit
      EXPECT_EQ(Notice().Height(), 480 * scale * 15) << d.width;
      EXPECT_LE(Notice().Top() + Notice().Height(), Screen().Height()) << d.width;
      Notice().Command3.SetValue(true);  // ends the program, settings saved
      EXPECT_EQ(ReadTextLines(Path("Temp/set.ini"))[33], " 2") << d.width;
    }
  }
}

// The hangar's captions are drawn whole, and its lists draw file names with
// the IPA faces alone (no other face stands in for a character).
TEST_F(ScreensTest, HangarCaptionsAndListsInTheirFaces) {
  PrepareFolders();
  CurrentSettings().HangarDir = Path("Data");
  Choice().Load();
  ASSERT_TRUE(Choice().Visible());
  ChoiceForm& c = Choice();
  for (Label* l : {&c.Label4, &c.Label2}) {
    const QWidget* w = l->impl().widget;
    EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(QString::fromStdString(l->Caption())),
              w->width())
        << l->Caption();
  }
  ASSERT_GT(c.File1.ListCount(), 0);
  for (const QWidget* w : {c.File1.impl().widget.data(), c.Dir1.impl().widget.data()}) {
    const QFontInfo face(w->font());
    EXPECT_TRUE(face.family().startsWith(QStringLiteral("IPA"))) << face.family().toStdString();
  }
  const QRawFont raw = QRawFont::fromFont(c.File1.impl().widget->font());
  for (int i = 0; i < c.File1.ListCount(); ++i) {
    for (QChar ch : QString::fromStdString(c.File1.List(i)))
      EXPECT_TRUE(raw.supportsCharacter(ch)) << c.File1.List(i);
  }
}

// Help opens beside the screen that asked, never over its boxes.
TEST_F(ScreensTest, HelpOpensBesideTheScreenThatAsked) {
  auto helpWindow = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == QStringLiteral("Zarv ヘルプ")) return w;
    return static_cast<QWidget*>(nullptr);
  };
  auto rectOf = [](const Form& f) {
    return QRect(int(f.Left() / kTwipsPerPixel), int(f.Top() / kTwipsPerPixel),
                 int(f.Width() / kTwipsPerPixel), int(f.Height() / kTwipsPerPixel));
  };
  PrepareFolders();
  ASSERT_TRUE(AtomicWriteBytes(Path("zarv-help.txt"),
                               ReadAllBytes(ZARV_SOURCE_DIR "/assets/help/zarv-help.txt")));
  Notice().Load();
  Notice().Command2.SetValue(true);  // the notes make the window tall
  ASSERT_TRUE(Notice().Visible());
  Notice().Command4.SetValue(true);
  EXPECT_EQ(HelpWindowTopic(), 1);
  ASSERT_NE(helpWindow(), nullptr);
  // On this 1024 x 768 screen no side of the tall notice has room to read
  // in: the help at its whole size over the notice's lower part.
  const QRect help = helpWindow()->frameGeometry();
  EXPECT_EQ(help.size(), QSize(560, 400));
  EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(help)) << help.x() << "," << help.y();
  EXPECT_EQ(help.bottom(), 767);
  EXPECT_GT(help.top(), rectOf(Notice()).top());
  CloseHelp();

  CurrentSettings().HangarDir = Path("Data");
  Choice().Load();
  ASSERT_TRUE(Choice().Visible());
  HelpForForm(Choice());  // what F1 does
  EXPECT_EQ(HelpWindowTopic(), 20);
  ASSERT_NE(helpWindow(), nullptr);
  EXPECT_FALSE(helpWindow()->geometry().intersects(rectOf(Choice())));
  EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(helpWindow()->geometry()));
}

// The notes at the 1024 size on a 1024 x 768 desktop whose window manager
// frames windows (4 px, a 24 px title bar): the window, frame and all, lies
// on the desktop, and the notes end above the window's bottom edge, their
// scroll arrow in sight.
TEST_F(ScreensTest, TheNotesLieWholeOnADesktopOfTheirOwnHeight) {
  SetWindowFrameOverride(4, 24, 4, 4);
  Shell().ScreenScale = 1.6;
  PrepareFolders();
  Notice().Load();
  Notice().Command2.SetValue(true);
  ASSERT_TRUE(Notice().Visible());
  EXPECT_EQ(Notice().Top(), 0);
  EXPECT_EQ(Notice().ScaleHeight(), 740);
  EXPECT_EQ(Notice().Text1.Top() + Notice().Text1.Height(), 730);
}

TEST_F(ScreensTest, StartModeOneShowsTheNoticeEvenWhenSkipped) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 1";
  settings[13] = " 1";  // NoticeSkip
  WriteSettings(settings);
  Begin().Load();
  EXPECT_FALSE(Begin().Visible());
  ASSERT_TRUE(PumpUntil([] { return Notice().Visible(); }));  // without waiting for the clock
  EXPECT_EQ(Notice().Check1.Value(), vbChecked);
  EXPECT_FALSE(Begin().Loaded());
  EXPECT_FALSE(Exists(Path("Readme.txt")));
  // Closing the notice screen ends the program, settings saved.
  Notice().Command3.SetValue(true);
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(ReadTextLines(Path("Temp/set.ini"))[13], " 1");
}

TEST_F(ScreensTest, StartModeZeroWithTheSkipBoxGoesToTheHangar) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[13] = " 1";
  WriteSettings(settings);
  Begin().Load();
  EXPECT_TRUE(Begin().Visible());
  Pump(300);
  clock_.Advance(2500);
  ASSERT_TRUE(PumpUntil([] { return Choice().Visible(); }));
  EXPECT_TRUE(Notice().Loaded());
  EXPECT_FALSE(Notice().Visible());
  // F12 in the hangar at start-up quits with start mode 0.
  Key(Choice(), 123);
  EXPECT_EQ(ends_, 1);
  EXPECT_EQ(ReadTextLines(Path("Temp/set.ini"))[0], " 0");
}

TEST_F(ScreensTest, StartModeTwoOpensTheHangarAfterTheWait) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 2";
  settings[4] = Path("Data");
  WriteSettings(settings);
  Begin().Load();
  EXPECT_FALSE(Begin().Visible());
  Pump(300);
  EXPECT_FALSE(Choice().Loaded());
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Choice().Visible(); }));
  EXPECT_FALSE(Notice().Loaded());
  EXPECT_EQ(Choice().Dir1.Path(), Path("Data"));
  // 戻る restarts into the notice screen.
  Choice().Command4.SetValue(true);
  EXPECT_EQ(restarts_, 1);
  EXPECT_EQ(ReadTextLines(Path("Temp/set.ini"))[0], " 1");
}

// The settings carry the next start's mode: a save that fails says so.
TEST_F(ScreensTest, SettingsThatCannotBeSavedAreReported) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 2";
  WriteSettings(settings);
  Begin().Load();
  Pump(300);
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Choice().Visible(); }));
  ASSERT_TRUE(DeleteFile(Path("Temp/set.ini")));
  ASSERT_TRUE(MakeDir(Path("Temp/set.ini/in the way")));
  Choice().Command4.SetValue(true);  // 戻る
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "設定を保存できませんでした。\r\n" + Path("Temp/set.ini"));
  EXPECT_EQ(restarts_, 1);
}

// A window centre on no screen (an edited file, another monitor layout):
// the window is placed on the screen.
TEST_F(ScreensTest, AWindowCentreOffEveryScreenPutsTheWindowOnIt) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 2";
  settings[35] = " 2147483647";
  settings[36] = "-5000000";
  WriteSettings(settings);
  Begin().Load();
  Pump(300);
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Choice().Visible(); }));
  EXPECT_GE(Choice().Left(), 0);
  EXPECT_LE(Choice().Left() + Choice().Width(), Screen().Width());
  EXPECT_GE(Choice().Top(), 0);
  EXPECT_LE(Choice().Top() + Choice().Height(), Screen().Height());
}

// A centre saved on a larger desktop: a window it would cut off, frame and
// all, is centred on this one (1024 x 768 pixels, 15 twips each); one it
// leaves whole is centred on it, frame and all.
TEST_F(ScreensTest, AWindowCentreFromALargerDesktopKeepsTheWindowWholeOnThisOne) {
  const struct {
    int width, height;         // pixels
    int32_t centreX, centreY;  // twips
    int titleBar;              // the window manager's, 4 px round the rest
    double left, top;          // pixels
  } cases[] = {
      {1024, 768, 640 * 15, 512 * 15, 0, 0, 0},      // the 1280 x 1024 desktop's centre
      {800, 600, 640 * 15, 512 * 15, 0, 112, 84},    // cut off right and below
      {640, 480, 100 * 15, 700 * 15, 0, 192, 144},   // left and below
      {640, 480, 512 * 15, 384 * 15, 0, 192, 144},   // whole already: where the centre puts it
      {1100, 800, 512 * 15, 384 * 15, 0, 0, 0},      // larger than the desktop
      {640, 480, 1023 * 15, 0, 0, 192, 144},         // at the top right corner
      {400, 300, 512 * 15, 600 * 15, 24, 308, 436},  // 408 x 328 whole, near the bottom
      {400, 300, 512 * 15, 620 * 15, 24, 308, 220},  // whole but for its frame's bottom
      {400, 300, 400 * 15, 300 * 15, 24, 196, 136},  // whole with its frame
  };
  for (const auto& c : cases) {
    SetWindowFrameOverride(c.titleBar > 0 ? 4 : 0, c.titleBar, c.titleBar > 0 ? 4 : 0, c.titleBar > 0 ? 4 : 0);
    Form f;
    f.SetWidth(c.width * 15);
    f.SetHeight(c.height * 15);
    CentreOnWindowCentre(f, c.centreX, c.centreY);
    EXPECT_EQ(f.Left(), c.left * 15) << c.width << " at " << c.centreX / 15;
    EXPECT_EQ(f.Top(), c.top * 15) << c.height << " at " << c.centreY / 15;
  }
  SetWindowFrameOverride(0, 0, 0, 0);
  // The hangar, its centre saved near the bottom right corner.
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 2";
  settings[35] = " " + std::to_string(1000 * 15);
  settings[36] = " " + std::to_string(740 * 15);
  WriteSettings(settings);
  Begin().Load();
  Pump(300);
  clock_.Advance(2000);
  ASSERT_TRUE(PumpUntil([] { return Choice().Visible(); }));
  EXPECT_NEAR(Choice().Left(), (Screen().Width() - Choice().Width()) / 2, 15);
  EXPECT_NEAR(Choice().Top(), (Screen().Height() - Choice().Height()) / 2, 15);
}

// The first window of a run is centred on the saved centre before the
// window manager has framed it; once it is on the screen, framed, it is
// centred again, frame and all, and the centre it keeps for the next run is
// the one it was centred on. The frames of openbox (1 px round, 20 px above
// with the title bar) and twm (2 px round, 29 px above) round a 640 x 480
// screen, centred on the desktop's centre.
TEST_F(ScreensTest, AWindowCentredBeforeItsFrameIsKnownIsCentredFrameAndAllOnceItIs) {
  const struct {
    int desktopWidth, desktopHeight;
    int frameSide, frameTop;  // pixels
    double left, top;         // the window's, pixels
  } cases[] = {
      {1024, 768, 1, 20, 191, 133.5},  // 642 x 501 round (512, 384)
      {1024, 768, 2, 29, 190, 128.5},  // 644 x 511
      {800, 600, 1, 20, 79, 49.5},     // round (400, 300)
      {800, 600, 2, 29, 78, 44.5},
      {640, 480, 2, 29, 0, 0},  // larger than the desktop: 636 x 449 inside, whole on it
  };
  for (const auto& c : cases) {
    Screen().SetSizeOverride(c.desktopWidth, c.desktopHeight);
    SetWindowFrameOverride(0, 0, 0, 0);  // not framed yet
    Form f;
    f.SetWidth(640 * 15);
    f.SetHeight(480 * 15);
    CentreOnWindowCentre(f, c.desktopWidth / 2 * 15, c.desktopHeight / 2 * 15);
    f.Show();
    SetWindowFrameOverride(c.frameSide, c.frameTop, c.frameSide, c.frameSide);
    ASSERT_TRUE(PumpUntil([&f] { return f.impl().widget->windowHandle()->isExposed(); }));
    const std::string at = std::to_string(c.desktopWidth) + ", frame top " + std::to_string(c.frameTop);
    EXPECT_EQ(f.Left(), c.left * 15) << at;
    EXPECT_EQ(f.Top(), c.top * 15) << at;
    Settings kept;
    RecordWindowCentre(f, kept);
    EXPECT_EQ(kept.WindowCentreX, c.desktopWidth / 2 * 15) << at;
    EXPECT_EQ(kept.WindowCentreY, c.desktopHeight / 2 * 15) << at;
    f.Unload();
  }
  SetWindowFrameOverride(0, 0, 0, 0);
  Screen().SetSizeOverride(0, 0);
}

TEST_F(ScreensTest, StartModeThreeFliesTheHandOverAircraft) {
  StartFlying(1);
  EXPECT_FALSE(Begin().Loaded());
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅡ");
}

TEST_F(ScreensTest, StartModeThreeWithoutHandOverFileStartsNormally) {
  PrepareFolders();
  std::vector<std::string> settings(37, " 0");
  settings[0] = " 3";
  WriteSettings(settings);
  Begin().Load();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, kMissingHandOverMessage);
  Pump(300);
  clock_.Advance(2500);
  ASSERT_TRUE(PumpUntil([] { return Notice().Visible(); }));
  EXPECT_FALSE(flightScreen_.Shown);
}

TEST_F(ScreensTest, RegistrationRefusesAndAsks) {
  StartFlying(3);
  Register();
  ASSERT_TRUE(Choice().Visible());
  EXPECT_EQ(Choice().Caption(), "機体の登録");
  EXPECT_EQ(Choice().Command2.Caption(), "登　録");
  EXPECT_EQ(Choice().Dir1.Path(), Path("Data"));

  for (const char* bad : {"../x.brd", "*.brd", ""}) {
    ClearMessageBoxCalls();
    Choice().Text1.SetText(bad);
    Choice().Command2.SetValue(true);
    ASSERT_EQ(MessageBoxCalls().size(), 1u) << bad;
    EXPECT_EQ(MessageBoxCalls()[0].prompt, "ファイル名が無効です。");
  }
  EXPECT_FALSE(Exists(Path("x.brd")));

  // Dots inside a name are an ordinary name.
  ClearMessageBoxCalls();
  Choice().Text1.SetText("my..plane.brd");
  Choice().Command2.SetValue(true);
  EXPECT_TRUE(MessageBoxCalls().empty());
  EXPECT_EQ(Bytes(Path("Data/my..plane.brd")), Bytes(Path("Temp/file.dat")));
  EXPECT_FALSE(Choice().Loaded());
  Register();
  ASSERT_TRUE(Choice().Visible());

  // A name without an extension becomes an aircraft file the hangar lists.
  Choice().Text1.SetText("テスト機");
  Choice().Command2.SetValue(true);
  EXPECT_TRUE(MessageBoxCalls().empty());
  EXPECT_EQ(Bytes(Path("Data/テスト機.brd")), Bytes(Path("Temp/file.dat")));
  EXPECT_FALSE(Exists(Path("Data/テスト機")));
  EXPECT_EQ(CurrentSettings().AircraftFileName, "テスト機.brd");
  EXPECT_EQ(flightScreen_.Caption, "Zarvテスト機.brd");
  Register();
  ASSERT_TRUE(Choice().Visible());
  bool listed = false;
  for (int i = 0; i < Choice().File1.ListCount(); ++i) listed = listed || Choice().File1.List(i) == "テスト機.brd";
  EXPECT_TRUE(listed);

  // The existence check and the question are about the file written.
  const std::string before = Bytes(Path("Data/MardenⅡ.brd"));
  ClearMessageBoxCalls();
  answer_ = vbNo;
  Choice().Text1.SetText("MardenⅡ");
  Choice().Command2.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].style, vbYesNo + vbQuestion);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, OverwriteQuestion(Path("Data"), "MardenⅡ.brd"));
  EXPECT_EQ(Bytes(Path("Data/MardenⅡ.brd")), before);
  EXPECT_TRUE(Choice().Loaded());

  answer_ = vbYes;
  Choice().Command2.SetValue(true);
  EXPECT_EQ(Bytes(Path("Data/MardenⅡ.brd")), Bytes(Path("Temp/file.dat")));
  EXPECT_FALSE(Choice().Loaded());
  EXPECT_EQ(flightScreen_.Caption, "ZarvMardenⅡ.brd");
  EXPECT_EQ(ends_, 0);
}

// A file name that is not UTF-8 (cp932, as archives made on Japanese
// systems name files) is listed and put in the name box read as cp932, and
// the OK and the registration take its own bytes.
TEST_F(ScreensTest, ANameThatIsNotUtf8IsShownReadAsCp932AndChosenByItsBytes) {
  StartFlying(0);
  const std::string name = "\x83\x65\x83\x58\x83\x67.brd";  // テスト.brd
  const std::string path = Path("Data/" + name);
  WriteBytes(path, Bytes(Path("Data/Marden7.brd")));
  Register();
  ASSERT_TRUE(Choice().Visible());
  ChoiceForm& c = Choice();
  int row = -1;
  for (int i = 0; i < c.File1.ListCount(); ++i)
    if (c.File1.List(i) == name) row = i;
  ASSERT_GE(row, 0);
  const auto* list = static_cast<const QListWidget*>(c.File1.impl().widget.data());
  EXPECT_EQ(list->item(row)->text().toStdString(), "テスト.brd");
  c.File1.SetListIndex(row);
  EXPECT_EQ(c.Text1.Text(), "テスト.brd");
  answer_ = vbYes;
  c.Command2.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, OverwriteQuestion(Path("Data"), "テスト.brd"));
  EXPECT_EQ(Bytes(path), Bytes(Path("Temp/file.dat")));
  EXPECT_EQ(CurrentSettings().AircraftFilePath, path);
  EXPECT_EQ(flightScreen_.Caption, "Zarvテスト.brd");

  // Chosen in the hangar: the settings name the file by its bytes.
  Shell().ScreenMode = kScreenModeNone;
  Choice().Load();
  ASSERT_TRUE(c.Visible());
  c.File1.SetListIndex(-1);
  c.File1.SetListIndex(row);
  EXPECT_EQ(c.Text1.Text(), "テスト.brd");
  c.Command2.SetValue(true);
  EXPECT_FALSE(c.Loaded());
  EXPECT_EQ(CurrentSettings().AircraftFileName, name);
  EXPECT_EQ(CurrentSettings().AircraftFilePath, path);
}

// Chosen in the hangar, an aircraft whose logs cannot be named (the records
// say which) is said so before its flight screen shows; another is not.
TEST_F(ScreensTest, ChoosingAnAircraftWhoseLogsCannotBeNamedSaysSo) {
  StartFlying(0);
  const std::string longName = std::string(251, 'a') + ".brd";
  WriteBytes(Path("Data/" + longName), Bytes(Path("Data/Marden7.brd")));
  Hooks().LogNamesNotice = [longName](const std::string& name) {
    return name == longName ? "no logs for " + name : std::string();
  };
  for (const std::string& name : {longName, std::string("Marden7.brd")}) {
    ClearMessageBoxCalls();
    flightScreen_.Shown = false;
    Shell().ScreenMode = kScreenModeNone;
    Choice().Load();
    Choice().Text1.SetText(name);
    Choice().Command2.SetValue(true);
    EXPECT_TRUE(flightScreen_.Shown);
    EXPECT_EQ(CurrentSettings().AircraftFileName, name);
    ASSERT_EQ(MessageBoxCalls().size(), name == longName ? 1u : 0u);
    if (name == longName) {
      EXPECT_EQ(MessageBoxCalls()[0].prompt, "no logs for " + longName);
    }
  }
}

TEST_F(ScreensTest, EditorLoadsRefusesAndSaves) {
  StartFlying(0);
  Write_().Show();  // the flight screen's F7
  ASSERT_TRUE(Write_().Visible());
  WriteForm& w = Write_();
  EXPECT_EQ(w.Caption(), "Zarvデータ入力画面");
  EXPECT_EQ(w.Text2.Text(), "Marden７");
  EXPECT_EQ(w.Text1(14).Text(), "5.5/.52");
  EXPECT_EQ(w.Text1(29).Text(), "10.7");
  EXPECT_EQ(w.Label1.Caption().substr(0, std::string("パイロット重量(kg)").size()),
            "パイロット重量(kg)");
  EXPECT_EQ(w.Combo1.ListCount(), 8);
  EXPECT_EQ(w.Combo1.Text(), "NACA4412");
  EXPECT_EQ(w.Check1.Value(), vbChecked);  // field 33 "0": the fin moves
  EXPECT_FALSE(w.Text3.Visible());

  w.Text1(10).SetText("0");
  ClearMessageBoxCalls();
  w.Command1.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_NE(MessageBoxCalls()[0].prompt.find("主翼幅(ｍ)"), std::string::npos);
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(restarts_, 0);
  // Enter saves whatever has the focus, and presses no focused button besides.
  ClearMessageBoxCalls();
  w.Command2.SetFocus();
  for (const QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent e(t, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w.Command2.impl().widget, &e);
  }
  EXPECT_EQ(MessageBoxCalls().size(), 1u);  // the save, refused
  EXPECT_TRUE(w.Loaded());                  // not the cancel

  // Without a printer the page goes to a file, and the user is told where.
  SetPrintToPdf(true);
  SetPrintDialogResponder([&w](const PrintJob&) {
    EXPECT_FALSE(w.Command1.Visible());  // the buttons stay off the page
    return true;
  });
  ClearMessageBoxCalls();
  w.Command6.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            std::string(kPrintedToFileMessage) + "\r\n" + Path("print000.pdf"));
  EXPECT_EQ(MessageBoxCalls()[0].style, vbInformation);
  EXPECT_TRUE(Exists(Path("print000.pdf")));
  EXPECT_TRUE(w.Command1.Visible());
  SetPrintDialogResponder([](const PrintJob&) { return false; });
  ClearMessageBoxCalls();
  w.Command6.SetValue(true);
  EXPECT_TRUE(MessageBoxCalls().empty());  // a cancel needs no word
  // With every name taken the page replaces none, and the user hears why.
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  for (int n = 1; n <= 999; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "print%03d.pdf", n);
    WriteBytes(Path(name), "user's");
  }
  ClearMessageBoxCalls();
  w.Command6.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のフォルダーに保存しようとしましたが、print000.pdf から print999.pdf "
            "までの名前がすべて使われているため、保存できませんでした。\r\n" + folder_);
  EXPECT_EQ(MessageBoxCalls()[0].style, vbExclamation);
  EXPECT_EQ(Bytes(Path("print999.pdf")), "user's");

  // Text that is no number is refused by its row, and nothing is written.
  const std::string handOver = Bytes(Path("Temp/file.dat"));
  w.Text1(10).SetText("20");
  w.Text1(4).SetText("xyz");
  ClearMessageBoxCalls();
  w.Command1.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "「全長 (ｍ)」には数値を入力して下さい。");
  EXPECT_EQ(MessageBoxCalls()[0].style, vbExclamation);
  EXPECT_EQ(Bytes(Path("Temp/file.dat")), handOver);
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(restarts_, 0);
  w.Text1(4).SetText("3.89");

  w.Text1(10).SetText(" 20 ");
  w.Text2.SetText("Marden７改");
  // A hand-over file that cannot be written: the editor says where and stays
  // with the edits.
  ASSERT_EQ(chmod(Path("Temp/file.dat").c_str(), 0444), 0);
  ClearMessageBoxCalls();
  w.Command1.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "機体データを保存できませんでした。\r\n" + Path("Temp/file.dat"));
  EXPECT_EQ(Bytes(Path("Temp/file.dat")), handOver);
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(w.Text2.Text(), "Marden７改");
  EXPECT_EQ(restarts_ + flightScreen_.Unloads, 0);
  ASSERT_EQ(chmod(Path("Temp/file.dat").c_str(), 0644), 0);

  w.Command1.SetValue(true);
  EXPECT_FALSE(w.Loaded());
  // The flight screen goes, and the next run flies the edited aircraft.
  EXPECT_EQ(flightScreen_.Unloads, 1);
  EXPECT_EQ(CurrentSettings().ExitMode, 3);
  const auto lines = ReadTextLines(Path("Temp/file.dat"));
  ASSERT_EQ(lines.size(), 55u);
  EXPECT_EQ(lines[1], "Marden７改");
  EXPECT_EQ(lines[12], "20");
  EXPECT_EQ(lines[16], "5.5/.52");
  EXPECT_EQ(lines[40], "500.67");
  EXPECT_EQ(lines[50], "-15");
}

// The editor on the hand-over file alone: pair rows take "a/b" whatever
// their captions, and the current box follows clicks and Up/Down only.
TEST_F(ScreensTest, EditorPairRowsAndItsCurrentBox) {
  PrepareFolders();
  std::vector<std::string> lines = aircraft::SampleAircraftList()[0].Lines;  // Marden７, light
  auto openEditor = [&] {
    ASSERT_TRUE(WriteTextLines(Path("Temp/file.dat"), lines));
    ASSERT_TRUE(aircraft::LoadAircraftData(Path("Temp/file.dat"), aircraft::Aircraft()));
    Write_().Show();
    ASSERT_TRUE(Write_().Visible());
  };
  auto save = [&] {
    ClearMessageBoxCalls();
    Write_().Command1.SetValue(true);
    return MessageBoxCalls().empty() ? std::string() : MessageBoxCalls()[0].prompt;
  };
  const std::string handOver = Path("Temp/file.dat");

  // A number box in a row of one value refuses a pair, its "/" in the caption notwithstanding.
  openEditor();
  WriteForm& w = Write_();
  w.Text1(7).SetText("17/3");
  EXPECT_EQ(save(), "「後部胴体剛性(Ｎ/Deg)」には数値を入力して下さい。");
  w.Text1(7).SetText("17");
  w.Text1(13).SetText("3/x");
  EXPECT_EQ(save(), "「主翼取り付け角(deg)」には数値を入力して下さい。");
  w.Text1(13).SetText("3/0");
  w.Text1(27).SetText(".73/0");
  EXPECT_EQ(save(), "");
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(ReadTextLines(handOver)[15], "3/0");
  EXPECT_EQ(ReadTextLines(handOver)[29], ".73/0");

  // A pair held by the file survives a save without changes.
  lines[15] = "4/0";
  openEditor();
  EXPECT_EQ(w.Text1(13).Text(), "4/0");
  EXPECT_EQ(save(), "");
  EXPECT_EQ(ReadTextLines(handOver)[15], "4/0");

  // Tab from one number box to another is undone; a click or Down moves the
  // current box; Tab out of the column stays.
  openEditor();
  auto focusOn = [&](Control& c) { return PumpUntil([&] { return w.ActiveControl() == &c; }); };
  w.Text1(5).SetFocus();
  w.Text1(5).OnClick();
  ASSERT_TRUE(focusOn(w.Text1(5)));
  ASSERT_TRUE(SendKeys("{TAB}", true));
  Pump(100);
  EXPECT_EQ(w.ActiveControl(), &w.Text1(5));
  int down = vbKeyDown;
  w.Text1(5).OnKeyDown(down, 0);
  EXPECT_TRUE(focusOn(w.Text1(6)));
  EXPECT_EQ(w.EditorFieldIndex(), 6);
  w.Text1(0).SetFocus();
  w.Text1(0).OnClick();
  ASSERT_TRUE(focusOn(w.Text1(0)));
  ASSERT_TRUE(SendKeys("{TAB}", true));  // the first box is the column's way out
  Pump(100);
  EXPECT_NE(w.ActiveControl(), &w.Text1(0));
  EXPECT_EQ(w.EditorFieldIndex(), 0);
}

// A name pasted 32,767 characters long stops at what the hand-over file
// holds and reads back, and so do the numbers.
TEST_F(ScreensTest, EditorBoxesTakeNoMoreThanTheFileReadsBack) {
  StartFlying(0);
  Write_().Show();
  WriteForm& w = Write_();
  std::string pasted, kept;
  for (int i = 0; i < 32767; ++i) pasted += "あ";
  for (int i = 0; i < 255; ++i) kept += "あ";
  auto paste = [&w](TextBox& box, const std::string& text) {
    box.SetText("");
    box.SetFocus();
    QWidget* target = w.impl().widget->focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdString(text));
    QApplication::sendEvent(target, &e);
  };
  paste(w.Text2, pasted);
  EXPECT_EQ(w.Text2.Text(), kept);
  for (TextBox* box : {&w.Text1(0), &w.Text1(29)}) {
    paste(*box, std::string(300, '1'));
    EXPECT_EQ(box->Text(), std::string(255, '1'));
  }
  EXPECT_EQ(w.Text3.MaxLength(), 255);  // the engine boxes, hidden for a glider
  EXPECT_EQ(w.Text4.MaxLength(), 255);
}

// A name pasted with a line break is refused by name, nothing is written,
// and every edit stays on the screen to be put right.
TEST_F(ScreensTest, EditorRefusesALineBreakAndKeepsTheEdits) {
  StartFlying(0);
  Write_().Show();
  WriteForm& w = Write_();
  ASSERT_TRUE(w.Visible());
  const std::string handOver = Bytes(Path("Temp/file.dat"));
  w.Text1(10).SetText("21");
  for (const char* pasted : {"Line1\nLine2", "Line1\r\nLine2", "Mar\x1A" "den"}) {
    w.Text2.SetText(pasted);
    ClearMessageBoxCalls();
    w.Command1.SetValue(true);
    ASSERT_EQ(MessageBoxCalls().size(), 1u);
    EXPECT_EQ(MessageBoxCalls()[0].prompt, "「機体名」に改行や制御文字は使えません。");
    EXPECT_EQ(Bytes(Path("Temp/file.dat")), handOver);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(w.Text2.Text(), pasted);
    EXPECT_EQ(w.Text1(10).Text(), "21");
    EXPECT_EQ(restarts_ + flightScreen_.Unloads, 0);
  }
  w.Text2.SetText("Line1 Line2");
  w.Command1.SetValue(true);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(ReadTextLines(Path("Temp/file.dat"))[1], "Line1 Line2");
}

// Registration into a hangar folder whose name holds a line break is refused
// by name before any question, and nothing is written.
TEST_F(ScreensTest, RegistrationRefusesAFolderWithALineBreak) {
  StartFlying(3);
  const std::string folder = Path("Data/a\nb");
  ASSERT_TRUE(MakeDir(folder));
  Register();
  ASSERT_TRUE(Choice().Visible());
  Choice().Dir1.SetPath(folder);
  ASSERT_EQ(Choice().Dir1.Path(), folder);
  ClearMessageBoxCalls();
  Choice().Text1.SetText("New.brd");
  Choice().Command2.SetValue(true);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, std::string(kLineBreakFolderRegisterMessage) + "\r\n" + folder);
  EXPECT_FALSE(Exists(JoinPath(folder, "New.brd")));
  EXPECT_EQ(CurrentSettings().AircraftFilePath.find('\n'), std::string::npos);
}

TEST_F(ScreensTest, ProgressDialog) {
  ProcessForm& p = Process();
  p.Show();
  p.Label2.SetCaption("飛行記録の読み込み");
  p.Label1.SetCaption(ProgressText(37, 200, 3.7, true));
  EXPECT_EQ(p.Label1.Caption(), "19％完了しました\r\nあと17秒かかります");
  EXPECT_EQ(p.BarWidth(), 34);
  p.Label1.SetCaption("5％完了しました");
  EXPECT_EQ(p.BarWidth(), 34);  // the bar only grows
  Shell().LogCaller = 2;
  Key(p, 121);
  EXPECT_TRUE(p.Loaded());  // F10 ignored for the replay's file selector
  Shell().LogCaller = 0;
  Key(p, 121);
  EXPECT_FALSE(p.Loaded());
  EXPECT_EQ(Shell().ScreenMode, 3);
  EXPECT_EQ(flightScreen_.Cancels, 1);
}

}  // namespace
}  // namespace zarv::shell
