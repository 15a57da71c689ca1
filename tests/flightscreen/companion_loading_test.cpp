// The companion's loading as the user meets it: the flight screen shows
// with the progress dialog and the companion menu while the log is read,
// and the keys and entries that menu names act during the reading, sent
// through the platform's events to whichever window has the focus.
#include <functional>
#include <optional>
#include <string>

#include "flight/companion_record.h"
#include "flightscreen/flight_log_fixture.h"
#include "flightscreen/flight_screen_fixture.h"
#include "platform/ui/events.h"
#include "platform/ui/keys.h"
#include "platform/ui/sendkeys.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;

class CompanionLoadingTest : public FlightScreenTest {
 protected:
  void SetUp() override {
    FlightScreenTest::SetUp();
    testing::TestLog log;
    ASSERT_TRUE(log.WriteTo(Path("1Companion.csv")));  // rows 0..1000, a progress step every 50
  }
  void TearDown() override {
    if (saved_) shell::Process().Label1.OnChange = *saved_;  // the dialog is persistent
    FlightScreenTest::TearDown();
  }

  // Loads the flight screen; `during` runs once, at the dialog's first
  // progress step, with the reading under way.
  void OpenWith(const std::function<void()>& during) {
    shell::ProcessForm& p = shell::Process();
    saved_ = p.Label1.OnChange;
    fired_ = false;
    p.Label1.OnChange = [this, original = *saved_, during] {
      if (original) original();
      if (fired_) return;
      fired_ = true;
      during();
    };
    Open(flight::testing::SampleLines("Marden７"));
  }

  std::optional<Handler> saved_;
  bool fired_ = false;
};

TEST_F(CompanionLoadingTest, ScreenDialogAndCompanionMenuShowWhileTheLogIsRead) {
  bool ran = false;
  OpenWith([&] {
    ran = true;
    FlightFrame& f = FlightScreenForm();
    EXPECT_TRUE(f.Visible());
    shell::ProcessForm& p = shell::Process();
    EXPECT_TRUE(p.Visible());
    EXPECT_EQ(Screen().ActiveForm(), &p);
    EXPECT_EQ(p.Label2.Caption(), "随伴ﾓｰﾄﾞに必要なﾌｧｲﾙを読み込んでいます。");
    EXPECT_EQ(p.Label1.Caption(), "5％完了しました");
    EXPECT_GT(p.BarWidth(), 0);
    EXPECT_TRUE(f.List1.Visible());
    EXPECT_EQ(f.Screen().Keys.MenuItemCount, 4);
    EXPECT_EQ(f.List1.List(0), "随伴ﾓｰﾄﾞ解除 Esc or F9");
  });
  ASSERT_TRUE(ran);
  FlightFrame& f = FlightScreenForm();
  EXPECT_EQ(flight::Companion().CompanionSampleCount, 1000);
  EXPECT_FALSE(shell::Process().Loaded());
  EXPECT_EQ(f.Screen().Keys.MenuItemCount, 11);
  EXPECT_EQ(Screen().ActiveForm(), &f);
}

// Esc and F9 end the companion mode and the flight goes on without it; F10
// and F12 also end it and then change the aircraft or quit. The companion
// menu's entries only name those keys: choosing one ends the reading, as
// it ends a log write. The flight's own keys wait for the flight.
TEST_F(CompanionLoadingTest, KeysAndMenuEntriesDuringTheReading) {
  enum Target { kDialog, kFlightScreen, kMenuEntry };
  const struct {
    const char* keys;
    Target target;
    int menuEntry;
    int32_t companion;
    bool flightGoesOn;
    int restarts;  // into the hangar; else the run ends
  } cases[] = {
      {"{ESC}", kDialog, 0, 0, true, 0},
      {"{F9}", kDialog, 0, 0, true, 0},
      {"{ESC}", kFlightScreen, 0, 0, true, 0},
      {"{F9}", kFlightScreen, 0, 0, true, 0},
      {"{F10}", kDialog, 0, 0, false, 1},
      {"{F10}", kFlightScreen, 0, 0, false, 1},
      {"{F12}", kDialog, 0, 0, false, 0},
      {"{F12}", kFlightScreen, 0, 0, false, 0},
      {"", kMenuEntry, 0, 0, true, 0},
      {"", kMenuEntry, 1, 0, true, 0},
      {"", kMenuEntry, 3, 0, true, 0},
      {"{ENTER};", kFlightScreen, 0, 1000, true, 0},  // no take-off run, no steering switch
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.keys) + " to " + std::to_string(c.target) + "/" + std::to_string(c.menuEntry);
    restarts_ = ends_ = 0;
    OpenWith([&] {
      FlightFrame& f = FlightScreenForm();
      if (c.target == kMenuEntry) {
        f.List1.SetListIndex(c.menuEntry);
        f.List1.OnMouseDown(vbLeftButton, 0, 10, 10);
        return;
      }
      if (c.target == kFlightScreen) f.SetFocus();
      ASSERT_TRUE(SendKeys(c.keys)) << name;  // acts at the reading's next yield
    });
    const flight::FlightState& s = flight::State();
    EXPECT_EQ(flight::Companion().CompanionSampleCount, c.companion) << name;
    EXPECT_EQ(FlightScreenForm().FlightLoaded(), c.flightGoesOn) << name;
    EXPECT_EQ(restarts_, c.restarts) << name;
    EXPECT_EQ(ends_, c.flightGoesOn ? 0 : 1) << name;
    EXPECT_EQ(shell::Shell().ScreenMode, 0) << name;
    EXPECT_FALSE(shell::Process().Loaded()) << name;
    if (c.flightGoesOn) {
      EXPECT_EQ(FlightScreenForm().Screen().Keys.MenuItemCount, 11) << name;
      EXPECT_LE(s.Pilot.TakeoffRunAcceleration, 0) << name;
      EXPECT_EQ(s.Pilot.MouseSteering, 1) << name;
      FlightScreenForm().Unload();
    } else {
      EXPECT_EQ(shell::CurrentSettings().ExitMode, c.restarts == 1 ? 2 : 0) << name;
    }
    shell::Process().Label1.OnChange = *saved_;
    saved_.reset();
  }
}

}  // namespace
}  // namespace zarv::flightscreen
