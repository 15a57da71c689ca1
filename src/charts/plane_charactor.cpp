// The aircraft chart: lift and drag coefficients and the lift-to-drag ratio
// of the whole aircraft against the angle of attack, with the summary of its
// design figures. Its load also sets the flight limits (in the flight layer).
#include "platform/runtime/text.h"
#include "aircraft/aircraft_data.h"
#include "charts/charts.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "model/outline.h"
#include "shell/shell_state.h"

namespace zarv::charts {
namespace {
constexpr Color kLift = 0xAA0000;
constexpr Color kDrag = 0x2222AA;
constexpr Color kLiftToDrag = 0xAA00;
constexpr Color kLiftToDragLegend = 0x8800;  // darker than its curve
constexpr Color kPurple = 0x880088;
constexpr Color kTailLift = 0x888888;
}  // namespace

PlaneCharactorForm::PlaneCharactorForm() : ChartForm(shell::kSlotPlaneCharactor, 160, "機体特性") {
  for (Label* l : {&Label1, &Label2, &Label3, &Label4, &Label5}) {
    l->SetAutoSize(true);
    l->SetBackStyle(vbTransparent);
  }
  // Where the legends stand until the curves place them.
  Label1.Move(190, 2, 280, 20);
  Label3.Move(247, 150, 60, 14);
  Label4.Move(247, 300, 80, 14);
  Label5.Move(162, 200, 50, 14);
  // The summary sizes itself to its text, on the bottom edge (Form_Load).
  Label2.SetLeft(2);
  OnLoad = [this] { Form_Load(); };
}

void PlaneCharactorForm::Form_Load() {
  BeginWork();
  shell::ShellState& sh = shell::Shell();
  SetUpFrame(182, 27, true);

  const struct {
    Label* label;
    double size;
  } fonts[] = {{&Label1, 14}, {&Label2, 12}, {&Label3, 9.75}, {&Label4, 9.75}, {&Label5, 9.75}};
  for (const auto& f : fonts) {
    f.label->SetFontName("ＭＳ ゴシック");
    f.label->SetFontSize(f.size * sh.FontScale);
  }
  Label1.SetAutoSize(false);
  Label1.SetWidth(280);
  Label1.SetCaption(aircraft::Aircraft().AircraftName);
  Label3.SetCaption("揚力係数");
  Label4.SetCaption("抵抗係数Ｘ10");
  Label5.SetCaption("揚抗比");
  Label3.SetForeColor(kLift);
  Label4.SetForeColor(kDrag);
  Label5.SetForeColor(kLiftToDragLegend);

  DrawGrid();
  if (!useInPlace_) {
    flight::ReloadAircraftChartValues(flight::State(), aircraft::Aircraft(), model::Outline(),
                                      flight::AircraftChartEvaluation());
  }
  useInPlace_ = false;
  DrawCurves();

  Label2.SetCaption(flight::AircraftChartEvaluation().SummaryText);
  Label2.SetTop(ScaleHeight() - Label2.Height());
  EndWork();
}

void PlaneCharactorForm::DrawGrid() {
  Surface& c = Canvas();
  const double rating = flight::State().Engine.EngineRating;
  for (int k = 0; k <= 21; ++k) {
    c.Line(62 + 20 * k, 40, 62 + 20 * k, 360, vbBlack);
    if (k <= 20) {
      c.SetCurrentX(72 + 20 * k);
      c.SetCurrentY(360);
      c.Print(Str(flight::AircraftChartAxisNumber(k, rating)));
    }
  }
  for (int j = 0; j <= 20; ++j) {
    c.Line(62, 360 - 16 * j, 482, 360 - 16 * j, vbBlack);
    c.SetCurrentY(352 - 16 * j);
    if (j < 20) {
      c.SetCurrentX(35);
      c.Print(Str(2 * j));
    } else {
      c.SetForeColor(kPurple);
      c.SetCurrentX(42);
      c.Print("L/D");
    }
    c.SetCurrentY(352 - 16 * j);
    if (j < 20) {
      c.SetCurrentX(10);
      c.Print(Format(j / 10.0, "0.0"));
    } else {
      c.SetForeColor(kPurple);
      c.SetCurrentX(2);
      c.Print("Cl,Cd");
    }
  }
}

void PlaneCharactorForm::DrawCurves() {
  const flight::FlightState& s = flight::State();
  const aircraft::AircraftData& a = aircraft::Aircraft();
  const flight::ModelEvaluation& chart = flight::AircraftChartEvaluation();
  const bool developer = shell::Shell().DeveloperMode;
  Surface& c = Canvas();
  for (int i = 0; i < flight::kChartSteps; ++i) {
    const flight::ChartPoint& p = chart.Points[static_cast<size_t>(i)];
    const flight::AircraftChartRow row = flight::AircraftChartRowAt(chart, i, s, a);
    const double x = 62 + i;
    c.PSet(x, 360 - row.LiftCoefficient * 160, kLift);
    if (row.LiftToDrag) {
      if (developer && row.TailLiftCoefficient) {
        c.PSet(x, 360 - *row.TailLiftCoefficient * 160, kTailLift);
        c.PSet(x, 360 + (p.InnerStallRatio - 1) * 300, kPurple);
      }
      const double ldY = 360 - *row.LiftToDrag * 8;
      c.PSet(x, ldY, kLiftToDrag);
      c.PSet(x, 360 - *row.DragCoefficient * (a.EngineCount > 0 ? 160 : 1600), kDrag);
      if (row.RangeValue) c.PSet(x, 360 - *row.RangeValue * 8, kPurple);
      if (i == 100) {
        Label5.SetLeft(162);
        Label5.SetTop(ldY - Label5.Height());
      }
    }
    const double plainY = 360 - row.LiftCoefficientPlain * 160;
    c.PSet(x, plainY, kLift);
    if (i == 185) {
      Label3.SetLeft(247);
      Label3.SetTop(plainY - Label3.Height());
      Label4.SetLeft(247);
      Label4.SetTop(360 - (p.Drag / a.WingArea) * 1600);
      if (aircraft::LaunchAbove10(a.LaunchSpeed)) Label4.SetLeft(1000);
    }
  }
}

void OpenAirfoilChart() { Wing_Charactor().Show(); }

void OpenAircraftChart() { Plane_Charactor().Show(); }

void LoadAircraftChartHidden() {
  PlaneCharactorForm& f = Plane_Charactor();
  if (f.Loaded()) f.Unload();
  f.UseEvaluationInPlace();
  f.Load();
}

void UnloadCharts() {
  Wing_Charactor().Unload();
  Plane_Charactor().Unload();
}

WingCharactorForm& Wing_Charactor() {
  static WingCharactorForm form;
  return form;
}

PlaneCharactorForm& Plane_Charactor() {
  static PlaneCharactorForm form;
  return form;
}

}  // namespace zarv::charts
