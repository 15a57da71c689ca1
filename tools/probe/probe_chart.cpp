#include "probe/probe_chart.h"

#include <cstring>
#include <optional>
#include <string>

#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_load.h"
#include "flight/state_listing.h"
#include "model/outline.h"

namespace zarv::flight {
namespace {

std::string Cell(const std::optional<double>& v) { return v ? ListingNumber(*v) : std::string(); }

}  // namespace

int ChartCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  std::optional<std::string> airfoil;
  if (argc == 3 && std::strcmp(argv[1], "--airfoil") == 0) {
    airfoil = argv[2];
  } else if (argc != 1) {
    return 2;
  }

  aircraft::AircraftData a;
  std::string error;
  if (!aircraft::LoadAircraftData(argv[0], a, &error)) {
    err << "zarv-probe: " << argv[0] << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  if (airfoil) a.WingAirfoil = *airfoil;
  FlightState s;
  model::AirframeOutline o;
  ModelEvaluation chart;
  const FlightLoadResult result = PrepareFlightScreenLoad(a, s, o, chart);
  if (!result.Accepted) {
    err << "zarv-probe: " << result.RefusalMessage << '\n';
    return 1;
  }
  for (const std::string& notice : result.Notices) err << "zarv-probe: " << notice << '\n';

  if (airfoil) {
    AirfoilChart section;
    EvaluateAirfoilChart(s, kAirfoilChartSpeedChord, section);
    out << "Step,AngleOfAttack,LiftCoefficient,DragCoefficient\n";
    for (int i = 0; i < kAirfoilChartSteps; ++i) {
      const AirfoilChartPoint& p = section.Points[static_cast<std::size_t>(i)];
      out << i << ',' << ListingNumber(p.AngleOfAttack) << ',' << ListingNumber(p.Lift) << ','
          << ListingNumber(p.Drag) << '\n';
    }
    return 0;
  }

  out << "Step,AngleOfAttack,LiftCoefficient,LiftCoefficientPlain,DragCoefficient,LiftToDrag,RangeValue\n";
  for (int i = 0; i < kChartSteps; ++i) {
    const AircraftChartRow row = AircraftChartRowAt(chart, i, s, a);
    out << i << ',' << ListingNumber(row.AngleOfAttack) << ',' << ListingNumber(row.LiftCoefficient) << ','
        << ListingNumber(row.LiftCoefficientPlain) << ',' << Cell(row.DragCoefficient) << ','
        << Cell(row.LiftToDrag) << ',' << Cell(row.RangeValue) << '\n';
  }
  for (const std::string& line : SummaryLines(chart.SummaryText)) out << line << '\n';
  return 0;
}

}  // namespace zarv::flight
