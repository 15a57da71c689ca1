// The characteristic charts of a sample aircraft: the aircraft chart's whole
// load (sweep, summary, limits; budget 100 ms) and the airfoil chart's sweep.
#include <benchmark/benchmark.h>

#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"
#include "flight/characteristic_charts.h"
#include "flight/flight_load.h"

namespace {

struct Sample {
  zarv::aircraft::AircraftData a;
  zarv::flight::FlightState s;
  zarv::model::AirframeOutline o;
  zarv::flight::ModelEvaluation chart;
  explicit Sample(std::size_t index) {
    const auto& list = zarv::aircraft::SampleAircraftList();
    zarv::aircraft::ParseAircraftLines(list.at(index < list.size() ? index : 0).Lines, a);
    zarv::flight::PrepareFlightScreenLoad(a, s, o, chart);
  }
};

void BM_AircraftChartLoad(benchmark::State& state) {
  Sample m(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    zarv::flight::LoadAircraftChartValues(m.s, m.a, m.o, m.chart);
    benchmark::DoNotOptimize(m.chart.SummaryText.data());
  }
}
BENCHMARK(BM_AircraftChartLoad)->Arg(0)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_AirfoilChart(benchmark::State& state) {
  Sample m(0);
  zarv::flight::AirfoilChart chart;
  for (auto _ : state) {
    zarv::flight::EvaluateAirfoilChart(m.s, zarv::flight::kAirfoilChartSpeedChord, chart);
    benchmark::DoNotOptimize(chart.Points.back().Drag);
  }
}
BENCHMARK(BM_AirfoilChart)->Unit(benchmark::kMicrosecond);

}  // namespace
