// The name-entry panel and the ranking window on a stand-in flight screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>

#include "logbook/ranking.h"
#include "platform/ui/app.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/msgbox.h"
#include "program_test.h"
#include "records/records_screens.h"
#include "shell/shell_state.h"

namespace zarv::records {
namespace {

class HostForm : public Form {
 public:
  HostForm() { SetBorderStyle(vbFixedSingle); }
  NameEntryPanel Panel{*this};
};

class RecordsScreens : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Application::Ensure();
    SetMessageBoxResponder([](const MsgBoxCall&) { return vbOK; });
    ResultSheetHost().Anchor = [] { return std::make_pair(0.0, 0.0); };
    ResultSheetHost().OnClosed = [] {};
    host.Move(0, 0, 660 * 15, 480 * 15);
    host.Show();
    host.Panel.Layout("Zarv", 1.0);
    host.Panel.Picture6.Move(200, 150, 240, 130);
  }
  // Saves the top-level windows as PNG when ZARV_SHOTS names a folder.
  void Shot(const std::string& name) {
    const char* dir = std::getenv("ZARV_SHOTS");
    if (!dir) return;
    int i = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) w->grab().save(QString::fromStdString(std::string(dir) + "/" + name + std::to_string(i++) + ".png"));
  }
  HostForm host;
};

TEST_F(RecordsScreens, NameEntryInsertsTheEntryAndOpensTheRanking) {
  Ranking().RecordLines[1] = "300.00m by Other 01-01-2026   10:00:00  Jiro";
  Ranking().NewRecordRank = 1;
  host.Panel.Offer("記録  412.30ｍ\r\nこの記録は 1位に相当します\r\n名前を入力してください",
                   "412.30m by Super ZarvⅣ 07-04-2026   12:00:00  ");
  EXPECT_TRUE(host.Panel.IsOpen());
  EXPECT_TRUE(host.Panel.Command10.Default());
  Shot("name_entry");

  // A line break is refused: a message, the panel stays, nothing changes.
  host.Panel.Text1.SetText("Ta\r\nro");
  host.Panel.Command10_Click();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_TRUE(host.Panel.IsOpen());
  EXPECT_EQ(Ranking().RecordLines[2], "");

  host.Panel.Text1.SetText("Hanako");
  host.Panel.Command10.SetValue(true);
  EXPECT_FALSE(host.Panel.IsOpen());
  EXPECT_EQ(Ranking().RecordLines[1], "412.30m by Super ZarvⅣ 07-04-2026   12:00:00  Hanako");
  EXPECT_EQ(Ranking().RecordLines[2], "300.00m by Other 01-01-2026   10:00:00  Jiro");
  ASSERT_TRUE(ResultSheet().Loaded());
  EXPECT_EQ(ResultSheet().Caption(), "Zarv順位");
  EXPECT_EQ(ResultSheet().Label1.Caption().substr(0, 14), "01位  412.30m");
  Shot("ranking");

  // Esc closes it through its hidden cancel button.
  QWidget* window = ResultSheet().impl().widget;
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
  QApplication::sendEvent(window->focusWidget() ? window->focusWidget() : window, &esc);
  EXPECT_FALSE(ResultSheet().Loaded());
}

TEST_F(RecordsScreens, ClosingOrAnEmptyNameOpensNoWindow) {
  Ranking().NewRecordRank = 3;
  host.Panel.Offer("prompt", "150.00m by X  ");
  host.Panel.Command15.SetValue(true);  // Ｘ: nothing inserted
  EXPECT_FALSE(host.Panel.IsOpen());
  EXPECT_EQ(Ranking().RecordLines[3], "");

  host.Panel.Offer("prompt", "150.00m by X  ");
  host.Panel.Command10.SetValue(true);
  EXPECT_EQ(Ranking().RecordLines[3], "150.00m by X  ");
  EXPECT_FALSE(ResultSheet().Loaded());
}

// The ranking closes as soon as another window takes the focus.
TEST_F(RecordsScreens, TheRankingClosesWhenAnotherWindowIsActivated) {
  int closed = 0;
  ResultSheetHost().OnClosed = [&] { ++closed; };
  ResultSheet().Show();
  ASSERT_TRUE(ResultSheet().Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotResultSheet], 1);
  Form other;
  other.Show();
  EXPECT_FALSE(ResultSheet().Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotResultSheet], 0);
  EXPECT_EQ(closed, 1);
  other.Unload();
}

TEST_F(RecordsScreens, ThePostFlightTimerIsOffBeforeTheWorkStarts) {
  TimerControl timer1{host};
  timer1.SetInterval(100);
  timer1.SetEnabled(true);
  int ticks = 0;
  timer1.OnTimer = [&] { ++ticks; };
  auto record = std::make_unique<flight::FlightRecord>();
  record->RecordCount = 40;
  flight::FlightState state;
  state.Body.Altitude = -0.2;
  aircraft::AircraftData aircraft;
  model::AirframeOutline outline;
  RankingState ranking;
  PostFlightInputs in{state, *record, aircraft, outline, ranking, "X.csv", "/nonexistent/before.csv",
                      "/nonexistent", "d"};
  PostFlightScreen screen;
  bool enabledDuringWork = true;
  // The writer yields on every row: the timer must not fire meanwhile.
  screen.Progress.DoEvents = [&] {
    enabledDuringWork = enabledDuringWork && timer1.Enabled();
    DoEvents();
  };
  OnPostFlightTimer(timer1, in, screen);
  EXPECT_FALSE(enabledDuringWork);
  EXPECT_FALSE(timer1.Enabled());
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace zarv::records
