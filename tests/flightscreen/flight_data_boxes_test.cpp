// The flight-data boxes of the flight screen: the data box under the view,
// the two information columns at the right edge, the trace picture and the
// diagnostics, laid out at every load and filled from the panel's pages
// while the loop flies.
#include "flightscreen/flight_screen_fixture.h"

#include "flight/flight_record.h"
#include "platform/runtime/text.h"
#include "platform/ui/gdi.h"
#include "view/screen_art.h"

namespace zarv::flightscreen {
namespace {

using flight::testing::Engine;
using testing::FlightScreenTest;

class FlightDataBoxesTest : public FlightScreenTest {
 protected:
  void OpenLight(int size = 0) { Open(flight::testing::SampleLines("Marden７"), size); }
  void OpenJet() {
    ASSERT_TRUE(view::SavePanelArt(Path("Temp"), 1.0, 1.0, 0, false));
    Open(aircraft::AircraftFileLines(flight::testing::Powered(Engine::Jet)));
  }
  // Flies the loaded aircraft; `check` runs once, on the first yield with
  // the aircraft in the air for more than `seconds`.
  void Fly(double seconds, const std::function<void()>& check) {
    FlightFrame& f = FlightScreenForm();
    Advance(200);
    Key(13);
    flight::FlightSeams& seams = f.Screen().Seams;
    auto yield = seams.DoEvents;
    bool checked = false;
    seams.DoEvents = [&] {
      yield();
      const flight::FlightState& s = flight::State();
      if (!checked && s.Loop.FlightTime > seconds && s.Body.Altitude > 0) {
        checked = true;
        check();
        flight::State().Loop.FlightEnded = true;  // enough seen
      }
    };
    f.Timer2_Timer();
    EXPECT_TRUE(checked) << "the flight ended before " << seconds << " s";
  }
  static std::vector<std::string> Texts(ControlArray<TextBox>& boxes) {
    std::vector<std::string> t;
    boxes.ForEach([&](TextBox& b, int) { t.push_back(b.Text()); });
    return t;
  }
};

TEST_F(FlightDataBoxesTest, BoxesAreLaidOutAgainAtEveryLoad) {
  const double s = 1.25;
  for (int load = 0; load < 2; ++load) {  // the unload drops the elements made at run time
    OpenLight(1);
    FlightFrame& f = FlightScreenForm();
    ASSERT_EQ(f.Text15.Count(), 12) << load;
    ASSERT_EQ(f.Text11.Count(), 9);
    ASSERT_EQ(f.Text12.Count(), 8);
    // Every line inside its box.
    EXPECT_LE(f.Text15[11].Top() + f.Text15[11].Height(), f.Picture9.ScaleHeight());
    EXPECT_LE(f.Text15[11].Left() + f.Text15[11].Width(), f.Picture9.ScaleWidth());
    EXPECT_LE(f.Text11[8].Top() + f.Text11[8].Height(), f.Frame3.Height());
    EXPECT_LE(f.Text12[7].Top() + f.Text12[7].Height(), f.Frame4.Height());
    bool allShown = true, allEmpty = true;
    for (auto* boxes : {&f.Text15, &f.Text11, &f.Text12}) {
      boxes->ForEach([&](TextBox& b, int) {
        allShown = allShown && b.Visible();
        allEmpty = allEmpty && b.Text().empty();
      });
    }
    EXPECT_TRUE(allShown);
    EXPECT_TRUE(allEmpty);
    // Both columns end at the view's right edge, the lower 3 px below the upper.
    EXPECT_DOUBLE_EQ(f.Frame4.Left() + f.Frame4.Width(), 640 * s);
    EXPECT_DOUBLE_EQ(f.Frame3.Left() + f.Frame3.Width(), 640 * s);
    EXPECT_DOUBLE_EQ(f.Frame3.Top(), f.Frame4.Top() + f.Frame4.Height() + 3);
    // Nothing shows before the display options have run.
    EXPECT_FALSE(f.Picture9.Visible());
    EXPECT_FALSE(f.Picture13.Visible());
    f.Unload();
  }
}

TEST_F(FlightDataBoxesTest, ShownByTheDataBoxOptionAndTheInformationMode) {
  shell::CurrentSettings().ShowDataBox = 1;
  OpenLight();
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  s.Loop.PassCount = 60;
  f.ReadDisplayOptions();
  EXPECT_FALSE(f.Picture9.Visible());  // held off for the first passes
  s.Loop.PassCount = 61;
  f.ReadDisplayOptions();
  EXPECT_TRUE(f.Picture9.Visible());
  EXPECT_TRUE(f.Drawing().Panel.Pages.Page1Visible);
  f.Check3.SetValue(0);
  f.ReadDisplayOptions();
  EXPECT_FALSE(f.Picture9.Visible());
  EXPECT_FALSE(f.Drawing().Panel.Pages.Page1Visible);

  // A light aircraft: the O key shows the second page only, then nothing.
  Key('O');
  f.ReadDisplayOptions();
  EXPECT_TRUE(f.Frame3.Visible());
  EXPECT_FALSE(f.Frame4.Visible());
  EXPECT_FALSE(f.Picture13.Visible());
  EXPECT_TRUE(f.Drawing().Panel.Pages.Page2Visible);
  EXPECT_FALSE(f.Drawing().Panel.Pages.Page3Visible);
  Key('O');
  f.ReadDisplayOptions();
  EXPECT_FALSE(f.Frame3.Visible());
  EXPECT_FALSE(f.Text13.Visible());
  f.Unload();

  // A powered aircraft in developer mode: key help, then both columns with
  // the traces, which give way to the open menu.
  shell::Shell().DeveloperMode = true;  // started from a developer's folder
  OpenJet();
  FlightFrame& g = FlightScreenForm();
  g.List1.SetVisible(false);
  Key('O');
  g.ReadDisplayOptions();
  EXPECT_FALSE(g.Frame3.Visible());
  EXPECT_TRUE(g.Text13.Visible());
  EXPECT_FALSE(g.Picture13.Visible());
  Key('O');
  g.ReadDisplayOptions();
  EXPECT_TRUE(g.Frame3.Visible());
  EXPECT_TRUE(g.Frame4.Visible());
  EXPECT_TRUE(g.Picture13.Visible());
  g.Label16_Open();
  EXPECT_FALSE(g.Picture13.Visible());
  g.ReadDisplayOptions();
  EXPECT_FALSE(g.Picture13.Visible());  // the menu is still open
}

TEST_F(FlightDataBoxesTest, LightFlightFillsOnlyTheShownPages) {
  shell::CurrentSettings().ShowDataBox = 1;
  OpenLight();
  FlightFrame& f = FlightScreenForm();
  Key('O');  // the second page; the third stays hidden
  Fly(5.0, [&] {
    EXPECT_TRUE(f.Picture9.Visible());
    const std::vector<std::string> page1 = Texts(f.Text15);
    EXPECT_EQ(page1[0].rfind(" Air speed    ", 0), 0u) << page1[0];
    EXPECT_EQ(page1[5], " Pilot G.C From 25%C");
    EXPECT_EQ(page1[9].rfind(" V.S. Angle  ", 0), 0u);
    EXPECT_EQ(page1[10], "");  // the last two lines are spare
    EXPECT_EQ(page1[11], "");
    const std::vector<std::string> page2 = Texts(f.Text11);
    EXPECT_EQ(page2[2].rfind("    旋回半径=", 0), 0u) << page2[2];  // a light aircraft shows no lift-off speed
    EXPECT_EQ(page2[8].rfind("      加速度=", 0), 0u);
    // The boxes show what the panel wrote.
    const view::FlightDataPages& pages = f.Drawing().Panel.Pages;
    for (size_t i = 0; i < pages.Page2.size(); ++i) EXPECT_EQ(page2[i], pages.Page2[i]) << i;
    // The third page is written while the aircraft flies, shown or not.
    EXPECT_EQ(f.Text12[7].Text().rfind("    機体重量=", 0), 0u);
    // Outside the developer mode the key help is left alone.
    EXPECT_EQ(f.Text13.Text(), f.Screen().KeyHelpText);
  });
}

TEST_F(FlightDataBoxesTest, HiddenBoxesAreNotWrittenInTheAir) {
  OpenLight();
  FlightFrame& f = FlightScreenForm();
  Fly(2.0, [&] {
    EXPECT_FALSE(f.Picture9.Visible());
    EXPECT_EQ(f.Text15[0].Text(), "");
    EXPECT_EQ(f.Text11[0].Text(), "");
  });
}

TEST_F(FlightDataBoxesTest, DeveloperModeShowsTheDiagnosticsAndTheTraces) {
  shell::Shell().DeveloperMode = true;  // started from a developer's folder
  OpenJet();
  FlightFrame& f = FlightScreenForm();
  f.List1.SetVisible(false);
  Key('O');
  Key('O');
  Fly(3.0, [&] {
    const std::string t = f.Text13.Text();
    EXPECT_EQ(t.rfind(" awl2 awl1 awr1 awr2\r\n", 0), 0u) << t;
    EXPECT_NE(t.find("\r\ncpumergin="), std::string::npos);
    EXPECT_EQ(f.Text12[3].Text().rfind("        SFC=", 0), 0u) << f.Text12[3].Text();  // a jet with thrust
    EXPECT_EQ(f.Text11[2].Text().rfind("    旋回半径=", 0), 0u);  // high above the water
    ASSERT_TRUE(f.Picture13.Visible());
    // The traces have reached the picture.
    const Surface& c = f.Picture13.Canvas();
    int lit = 0;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 200; ++x)
        if (c.Point(x, y) != vbBlack) ++lit;
    EXPECT_GT(lit, 0);
  });
}

}  // namespace
}  // namespace zarv::flightscreen
