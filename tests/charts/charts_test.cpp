#include "charts/charts.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <string>

#include "platform/forms_testing.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "aircraft/aircraft_file.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_load.h"
#include "shell/flight_screen_link.h"
#include "shell/shell_state.h"

namespace zarv::charts {
namespace {

// The charts' colours, &HBBGGRR.
constexpr Color kLift = 0xAA0000;
constexpr Color kDrag = 0x2222AA;
constexpr Color kLiftToDragLegend = 0x008800;

// Another window the user can click.
class OtherForm : public Form {};

class ChartsTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    zarv::testing::EnsureApp();
    SetMessageBoxResponder([](const MsgBoxCall&) { return vbOK; });
    shell::FlightScreen().Position = [] { return std::pair<double, double>(300, 450); };
    LoadAircraft("TestPiston.brd");
  }

  // The flight screen's load of an aircraft file, without its chart form.
  static void LoadAircraft(const std::string& name) {
    aircraft::Aircraft().Reset();
    flight::State().Reset();
    model::Outline() = model::AirframeOutline{};
    flight::AircraftChartEvaluation().Reset();
    const std::string path = std::string(ZARV_SOURCE_DIR) + "/tests/data/aircraft/" + name;
    ASSERT_TRUE(aircraft::LoadAircraftData(path, aircraft::Aircraft(), nullptr));
    ASSERT_TRUE(flight::PrepareFlightScreenLoad(aircraft::Aircraft(), flight::State(), model::Outline(),
                                                flight::AircraftChartEvaluation())
                    .Accepted);
  }

  // Pixels of a curve's colour on a chart: the curve is drawn.
  static int CurvePixels(Form& f, Color c) { return CurveRows(f, c).first; }
  // The count of those pixels and the rows they span.
  static std::pair<int, int> CurveRows(Form& f, Color c) {
    int n = 0, top = f.Canvas().Height(), bottom = 0;
    for (int y = 0; y < f.Canvas().Height(); ++y) {
      for (int x = 0; x < f.Canvas().Width(); ++x) {
        if (f.Canvas().Point(x, y) != c) continue;
        ++n;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    return {n, bottom - top};
  }

  // The aircraft chart's point of the lift coefficient at sweep step i:
  // one pixel a step from x 62, 160 pixels a unit up from y 360.
  static Color LiftPixelColour(Form& f, int step) {
    const flight::AircraftChartRow row =
        flight::AircraftChartRowAt(flight::AircraftChartEvaluation(), step, flight::State(), aircraft::Aircraft());
    return f.Canvas().Point(62 + step, CheckedRound<int>(360 - row.LiftCoefficient * 160));
  }

  OtherForm other_;
};

TEST_F(ChartsTest, HiddenLoadShowsTheFlightLoadsEvaluationAndReopeningRedraws) {
  // The flight screen's load lowered the piston aircraft's trim limit once.
  const double limit = flight::State().Airfoils.MaxAngleOfAttack;
  LoadAircraftChartHidden();
  PlaneCharactorForm& f = Plane_Charactor();
  ASSERT_TRUE(f.Loaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_DOUBLE_EQ(flight::State().Airfoils.MaxAngleOfAttack, limit);
  EXPECT_EQ(f.Label2.Caption(), flight::AircraftChartEvaluation().SummaryText);
  EXPECT_NE(f.Label2.Caption().find("Max Trim AOA 18.0"), std::string::npos);
  EXPECT_EQ(f.Label1.Caption(), aircraft::Aircraft().AircraftName);
  // The summary stands on the bottom edge.
  EXPECT_EQ(f.Label2.Top() + f.Label2.Height(), f.ScaleHeight());
  // The lift curve and the legends in their colours.
  EXPECT_GT(CurvePixels(f, kLift), 100);
  EXPECT_EQ(LiftPixelColour(f, 150), kLift);
  EXPECT_EQ(f.Label3.ForeColor(), kLift);
  EXPECT_EQ(f.Label4.ForeColor(), kDrag);
  EXPECT_EQ(f.Label5.ForeColor(), kLiftToDragLegend);
  // The summary takes its own size: as high as as many short lines, none
  // of its lines broken.
  Label lines(f);
  lines.SetAutoSize(true);
  lines.SetFontName(f.Label2.FontName());
  lines.SetFontSize(f.Label2.FontSize());
  std::string shortLines = "x";
  for (size_t at = 0; (at = f.Label2.Caption().find('\n', at)) != std::string::npos; ++at) shortLines += "\r\nx";
  lines.SetCaption(shortLines);
  EXPECT_EQ(f.Label2.Height(), lines.Height());

  // F4 shows the chart drawn at that load.
  OpenAircraftChart();
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotPlaneCharactor], 1);
  EXPECT_NE(f.Label2.Caption().find("Max Trim AOA 18.0"), std::string::npos);
  // Over the flight screen's top-left corner, which stands at (300, 450).
  EXPECT_DOUBLE_EQ(f.Left(), 300);
  EXPECT_DOUBLE_EQ(f.Top(), 450);

  // Closed and opened again: drawn anew, with the limit the first load lowered.
  flight::State().Loop.PassesThisSecond = 7;
  f.Command1.OnClick();
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotPlaneCharactor], 0);
  EXPECT_EQ(flight::State().Loop.PassesThisSecond, 0);
  OpenAircraftChart();
  EXPECT_NE(f.Label2.Caption().find("Max Trim AOA 16.4  Max Lift AOA 18.3  Max Operation AOA 16.4"),
            std::string::npos);
  EXPECT_DOUBLE_EQ(flight::State().Airfoils.MaxAngleOfAttack, limit);
  EXPECT_EQ(LiftPixelColour(f, 150), kLift);
}

TEST_F(ChartsTest, DragCurveAndLegendOnlyForLightAircraft) {
  // Powered: the drag legend is put out of the window, at 1000; the
  // lift-to-drag legend stands on its curve at step 100 (8 pixels a unit).
  OpenAircraftChart();
  PlaneCharactorForm& f = Plane_Charactor();
  EXPECT_DOUBLE_EQ(f.Label4.Left(), 1000);
  EXPECT_GE(f.Label4.Left(), f.ScaleWidth());
  const auto ld = flight::AircraftChartRowAt(flight::AircraftChartEvaluation(), 100, flight::State(),
                                             aircraft::Aircraft());
  ASSERT_TRUE(ld.LiftToDrag);
  EXPECT_DOUBLE_EQ(f.Label5.Left(), 162);
  EXPECT_DOUBLE_EQ(f.Label5.Top() + f.Label5.Height(), 360 - *ld.LiftToDrag * 8);
  UnloadCharts();
  // A glider: its drag ten times enlarged (1600 pixels a unit), the legend
  // in view at step 185 of the sweep.
  LoadAircraft("Marden7.brd");
  OpenAircraftChart();
  EXPECT_DOUBLE_EQ(f.Label4.Left(), 247);
  EXPECT_DOUBLE_EQ(f.Label3.Left(), 247);
  const flight::ChartPoint& p = flight::AircraftChartEvaluation().Points[185];
  const double dragY = 360 - p.Drag / aircraft::Aircraft().WingArea * 1600;
  EXPECT_DOUBLE_EQ(f.Label4.Top(), dragY);
  EXPECT_EQ(f.Canvas().Point(62 + 185, CheckedRound<int>(dragY)), kDrag);
  const auto [pixels, rows] = CurveRows(f, kDrag);
  EXPECT_GT(pixels, 100);
  EXPECT_GT(rows, 200);  // enlarged, it spans most of the chart's height
  // A drag on the border snaps back to 510 x 480 pixels.
  f.SetWidth(300 * shell::Shell().TwipsPerPixel);
  EXPECT_DOUBLE_EQ(f.Width(), 510 * shell::Shell().TwipsPerPixel);
  EXPECT_DOUBLE_EQ(f.ScaleHeight(), 480);
}

// Every figure of the summary stands inside the 510-pixel window, below
// the chart's axis numbers, for a glider, a light and a powered aircraft.
TEST_F(ChartsTest, TheSummaryFitsTheWindow) {
  for (const char* name : {"Marden7.brd", "Ultra Nuvel.brd", "TestPiston.brd", "TestJet.brd", "TestRocket.brd"}) {
    LoadAircraft(name);
    OpenAircraftChart();
    PlaneCharactorForm& f = Plane_Charactor();
    EXPECT_LE(f.Label2.Left() + f.Label2.Width(), f.ScaleWidth()) << name;
    EXPECT_GE(f.Label2.Top(), 360 + f.Canvas().TextHeight("0")) << name;
    UnloadCharts();
  }
}

// The airfoil chart: lift from x 32 (-1 degree) at 20 pixels a degree, 200
// pixels a unit up from y 440; the legends on their curves at 9 degrees.
TEST_F(ChartsTest, AirfoilChartDrawsTheWingSection) {
  OpenAirfoilChart();
  WingCharactorForm& f = Wing_Charactor();
  ASSERT_TRUE(f.Visible());
  EXPECT_EQ(f.Caption(), "翼型特性");
  EXPECT_EQ(f.Label1.Caption(), aircraft::Aircraft().WingAirfoil);
  EXPECT_EQ(f.Label2.ForeColor(), kLift);
  EXPECT_EQ(f.Label3.ForeColor(), kDrag);
  flight::AirfoilChart chart;
  flight::EvaluateAirfoilChart(flight::State(), flight::kAirfoilChartSpeedChord, chart);
  for (int i : {0, 100, 200, 460}) {
    const auto& p = chart.Points[static_cast<size_t>(i)];
    EXPECT_EQ(f.Canvas().Point(32 + i, CheckedRound<int>(440 - 200 * p.Lift)), kLift) << i;
  }
  const auto& nine = chart.Points[200];
  EXPECT_EQ(f.Canvas().Point(32 + 200, CheckedRound<int>(440 - 2000 * nine.Drag)), kDrag);
  EXPECT_DOUBLE_EQ(f.Label2.Left(), 232);
  EXPECT_DOUBLE_EQ(f.Label2.Top(), 440 - 200 * nine.Lift);
  EXPECT_DOUBLE_EQ(f.Label3.Left(), 232);
  EXPECT_DOUBLE_EQ(f.Label3.Top(), 440 - 2000 * nine.Drag);
}

// The airfoil chart's axis numbers, read back pixel for pixel: the line of
// i degrees at x 52 + 20 i, its number printed from 10 pixels left of it
// (top-left corner at 42 + 20 i, 440), numbers 0 to 22 and none after
// the last; the lift numbers "0.0" to "2.0" at (8, 432 - 20 j), left
// of the plot, 20 pixels a tenth.
TEST_F(ChartsTest, AirfoilChartAxisNumbersStandAtTheirLines) {
  OpenAirfoilChart();
  const Surface& c = Wing_Charactor().Canvas();
  const Color ink = c.ForeColor();
  // The text alone on a clean surface in the chart's font, against the
  // chart's box at (left, top); the zero line's row is left out.
  auto expectPrinted = [&](const std::string& text, int left, int top) {
    const int w = CheckedRound<int>(c.TextWidth(text)), h = CheckedRound<int>(c.TextHeight(text));
    Surface alone(w, h, vbWhite);
    alone.SetFontName(c.FontName());
    alone.SetFontSize(c.FontSize());
    alone.SetFontBold(c.FontBold());
    alone.Print(text);
    int inked = 0;
    for (int y = 0; y < h; ++y) {
      if (top + y == 440) continue;
      for (int x = 0; x < w; ++x) {
        const bool expected = alone.Point(x, y) != vbWhite;
        inked += expected;
        ASSERT_EQ(c.Point(left + x, top + y) == ink, expected) << "'" << text << "' at " << x << "," << y;
      }
    }
    ASSERT_GT(inked, 5) << text;
  };
  // A grid line, where the curves do not cross it; a line leaves out its
  // last pixel.
  auto drawnAlong = [&](int x0, int y0, int dx, int dy, int n) {
    int count = 0;
    for (int k = 0; k < n; ++k) count += c.Point(x0 + k * dx, y0 + k * dy) != c.BackColor();
    return count;
  };
  for (int degrees = 0; degrees <= 22; ++degrees) {
    ASSERT_EQ(drawnAlong(52 + 20 * degrees, 40, 0, 1, 400), 400) << degrees;  // its line
    std::string number(1, ' ');  // a blank for the sign
    number.append(std::to_string(degrees));
    expectPrinted(number, 42 + 20 * degrees, 440);
  }
  ASSERT_EQ(drawnAlong(32, 40, 0, 1, 400), 400);  // -1 degree, unnumbered
  for (int x = 482 + CheckedRound<int>(c.TextWidth(" 22")); x < c.Width(); ++x)
    for (int y = 441; y < 460; ++y) ASSERT_NE(c.Point(x, y), ink) << x << "," << y;
  for (int tenths = 0; tenths <= 20; ++tenths) {
    ASSERT_EQ(drawnAlong(32, 440 - 20 * tenths, 1, 0, 460), 460) << tenths;  // its line
    std::string lift = std::to_string(tenths / 10);
    lift.append(1, '.').append(std::to_string(tenths % 10));
    expectPrinted(lift, 8, 432 - 20 * tenths);
  }
}

TEST_F(ChartsTest, ChartsLeaveTheFlightsWorkingValuesAlone) {
  // The flight computes these afresh only on its next steps: a chart that
  // left its own values in them would change the flight.
  flight::FlightState& s = flight::State();
  s.Air.AngleOfAttack = 0.05;
  s.Aero.ReynoldsFactor = 1.2;
  s.Aero.StallExponent = 0.9;
  s.Aero.LiftSlope = 0.8;
  s.Air.AirDensity = 1.1;  // read by the chart, as the flight has it
  const flight::FlightState before = s;
  OpenAirfoilChart();
  WingCharactorForm& w = Wing_Charactor();
  ASSERT_TRUE(w.Visible());
  EXPECT_GT(CurvePixels(w, kLift), 100);
  UnloadCharts();
  flight::ModelEvaluation onFlight = flight::AircraftChartEvaluation();
  flight::FlightState copy = before;
  flight::LoadAircraftChartValues(copy, aircraft::Aircraft(), model::Outline(), onFlight);
  OpenAircraftChart();
  PlaneCharactorForm& p = Plane_Charactor();
  ASSERT_TRUE(p.Visible());
  EXPECT_GT(CurvePixels(p, kLift), 100);
  EXPECT_EQ(s.Air.AngleOfAttack, before.Air.AngleOfAttack);
  EXPECT_EQ(s.Aero.ReynoldsFactor, before.Aero.ReynoldsFactor);
  EXPECT_EQ(s.Aero.StallExponent, before.Aero.StallExponent);
  EXPECT_EQ(s.Aero.LiftSlope, before.Aero.LiftSlope);
  // The chart drawn is the one the load makes on the flight's own values.
  EXPECT_EQ(p.Label2.Caption(), onFlight.SummaryText);
  EXPECT_EQ(flight::AircraftChartEvaluation().Points[150].Drag, onFlight.Points[150].Drag);
}

TEST_F(ChartsTest, DeactivationClosesButWaitsForAPrint) {
  OpenAirfoilChart();
  WingCharactorForm& f = Wing_Charactor();
  other_.Show();
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotWingCharactor], 0);

  // The user clicks another window while the print runs: the print finishes
  // with the buttons hidden, then the chart closes.
  other_.Unload();
  OpenAirfoilChart();
  bool loadedDuringPrint = false, buttonsHidden = false;
  SetPrintDialogResponder([&](const PrintJob&) {
    other_.Show();
    loadedDuringPrint = f.Loaded();
    buttonsHidden = !f.Frame1.Visible();
    return false;  // cancelled by the user: no message
  });
  int f3 = 114, shift = 0;
  f.OnKeyDown(f3, shift);
  EXPECT_TRUE(loadedDuringPrint);
  EXPECT_TRUE(buttonsHidden);
  EXPECT_FALSE(f.Loaded());
  EXPECT_TRUE(MessageBoxCalls().empty());

  // Back in front before the print ended: the chart stays.
  other_.Unload();
  OpenAircraftChart();
  PlaneCharactorForm& plane = Plane_Charactor();
  SetPrintDialogResponder([&](const PrintJob&) {
    other_.Show();
    plane.Show();
    return false;
  });
  plane.Command2_Click();
  EXPECT_TRUE(plane.Loaded());
  EXPECT_TRUE(plane.Frame1.Visible());
}

TEST_F(ChartsTest, PrintSaysWhereThePageWentOrThatItFailed) {
  OpenAircraftChart();
  PlaneCharactorForm& f = Plane_Charactor();
  // The PDF cannot be written into a folder that is gone.
  SetPrintToPdf(true);
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  SetProgramFolder(folder_ + "/gone");
  f.Command2_Click();
  SetProgramFolder(folder_);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のファイルに保存しようとしましたが、保存できませんでした。\r\n" + folder_ +
                "/gone/print000.pdf");
  EXPECT_EQ(MessageBoxCalls()[0].style, vbExclamation);
  EXPECT_TRUE(f.Loaded());

  // A print without a printer says which file the page went to, on either
  // chart; the aircraft chart's took the first free number.
  ClearMessageBoxCalls();
  f.Command2_Click();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のファイルに保存しました。\r\n" + folder_ + "/print000.pdf");
  EXPECT_EQ(MessageBoxCalls()[0].style, vbInformation);
  EXPECT_EQ(MessageBoxCalls()[0].title, "機体特性");
  OpenAirfoilChart();
  ClearMessageBoxCalls();
  int f3 = 114, shift = 0;
  Wing_Charactor().OnKeyDown(f3, shift);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のファイルに保存しました。\r\n" + folder_ + "/print001.pdf");
  EXPECT_EQ(MessageBoxCalls()[0].title, "翼型特性");
}

// Both screens as the user sees them, at every screen size.
TEST_F(ChartsTest, ShownWindowsCarryCurvesAndButtons) {
  for (const char* name : {"TestPiston.brd", "Marden7.brd"}) {
    for (double scale : {1.0, 1.25, 1.6}) {
      UnloadCharts();
      shell::Shell().ScreenScale = scale;
      LoadAircraft(name);
      LoadAircraftChartHidden();
      OpenAircraftChart();
      OpenAirfoilChart();  // closes the aircraft chart
      EXPECT_FALSE(Plane_Charactor().Loaded());
      const QImage wing = Wing_Charactor().impl().widget->grab().toImage();
      OpenAircraftChart();
      const QImage plane = Plane_Charactor().impl().widget->grab().toImage();
      ASSERT_EQ(plane.width(), 510);
      ASSERT_EQ(plane.height(), 480);
      // The buttons cover the top-left corner; the curves show through the labels.
      EXPECT_NE(plane.pixel(45, 12) & 0xFFFFFF, 0xFFFFFFu);
      EXPECT_NE(wing.pixel(45, 12) & 0xFFFFFF, 0xFFFFFFu);
    }
  }
}

}  // namespace
}  // namespace zarv::charts
