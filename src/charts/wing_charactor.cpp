// The airfoil chart: section lift and ten times the section drag of the main
// wing's airfoil from -1 to 22 degrees, at the chart's Reynolds number.
#include "platform/runtime/text.h"
#include "aircraft/aircraft_data.h"
#include "charts/charts.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_state.h"
#include "shell/shell_state.h"

namespace zarv::charts {
namespace {
constexpr Color kLift = 0xAA0000;
constexpr Color kDrag = 0x2222AA;
constexpr Color kDeveloperLift = 0xAA00AA;
}  // namespace

WingCharactorForm::WingCharactorForm() : ChartForm(shell::kSlotWingCharactor, 150, "翼型特性") {
  for (Label* l : {&Label1, &Label2, &Label3}) {
    l->SetAutoSize(true);
    l->SetBackStyle(vbTransparent);
  }
  Label2.Move(232, 200, 60, 14);
  Label3.Move(232, 400, 80, 14);
  OnLoad = [this] { Form_Load(); };
}

void WingCharactorForm::Form_Load() {
  BeginWork();
  shell::ShellState& sh = shell::Shell();

  Label1.SetFontName("ＭＳ Ｐゴシック");
  Label1.SetFontSize(12 * sh.FontScale);
  Label2.SetFontName("ＭＳ Ｐゴシック");
  Label2.SetFontSize(9.75 * sh.FontScale);
  Label2.SetCaption("揚力係数");
  Label3.SetFontName("ＭＳ Ｐゴシック");
  Label3.SetFontSize(9.75 * sh.FontScale);
  Label3.SetCaption("抵抗係数Ｘ10");
  Label2.SetForeColor(kLift);
  Label3.SetForeColor(kDrag);
  Label1.SetAutoSize(false);
  Label1.Move(2640 / sh.TwipsPerPixel, 0, 300, 375 / sh.TwipsPerPixel);

  SetUpFrame(181, 25, false);

  Surface& c = Canvas();
  for (int i = 0; i <= 23; ++i) {
    c.Line(32 + 20 * i, 40, 32 + 20 * i, 440);
    c.SetCurrentX(42 + 20 * i);
    c.SetCurrentY(440);
    if (i < 23) c.Print(Str(i));
  }
  for (int j = 0; j <= 20; ++j) {
    c.Line(32, 440 - 20 * j, 492, 440 - 20 * j);
    c.SetCurrentX(8);
    c.SetCurrentY(432 - 20 * j);
    c.Print(Format(j * 0.1, "0.0"));
  }
  Label1.SetCaption(aircraft::Aircraft().WingAirfoil);

  DrawCurves(flight::kAirfoilChartSpeedChord, kLift, true);
  if (sh.DeveloperMode) DrawCurves(flight::kAirfoilDeveloperSpeedChord, kDeveloperLift, false);
  EndWork();
}

void WingCharactorForm::DrawCurves(double speedChord, Color liftColour, bool moveLegends) {
  flight::AirfoilChart chart;
  flight::EvaluateAirfoilChart(flight::State(), speedChord, chart);
  Surface& c = Canvas();
  for (int i = 0; i < flight::kAirfoilChartSteps; ++i) {
    const flight::AirfoilChartPoint& p = chart.Points[static_cast<size_t>(i)];
    c.PSet(32 + i, 440 - 200 * p.Lift, liftColour);
    c.PSet(32 + i, 440 - 2000 * p.Drag, kDrag);
    if (moveLegends && i == 200) {
      Label2.SetLeft(232);
      Label2.SetTop(440 - 200 * p.Lift);
      Label3.SetLeft(232);
      Label3.SetTop(440 - 2000 * p.Drag);
    }
  }
}

}  // namespace zarv::charts
