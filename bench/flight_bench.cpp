// The flight model's per-step aerodynamics and the aircraft chart's sweep.
#include <benchmark/benchmark.h>

#include <cmath>

#include "flight/flight_load.h"
#include "flight/model_evaluation.h"
#include "flight/tail.h"
#include "flight/wing.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"

namespace {

struct LoadedSample {
  zarv::aircraft::AircraftData a;
  zarv::flight::FlightState s;
  zarv::model::AirframeOutline o;
  zarv::flight::ModelEvaluation chart;
  LoadedSample() {
    zarv::aircraft::ParseAircraftLines(zarv::aircraft::SampleAircraftList().front().Lines, a);
    zarv::flight::PrepareFlightScreenLoad(a, s, o, chart);
    // In the air, gliding.
    const double alpha = 0.08;
    s.Loop.FlightTime = 10;
    s.Body.AirSpeed = 9;
    s.Air.AngleOfAttack = alpha;
    s.Air.AoaText = s.Setup.WingIncidenceRad + alpha;  // as the air-data step leaves it
    s.Air.Sideslip = 0.01;
    s.Air.TotalIncidence = std::hypot(alpha, 0.01);
    s.Air.BodyAirX = std::cos(alpha);
    s.Air.BodyAirY = -0.01;
    s.Air.BodyAirZ = -std::sin(alpha);
    s.Body.RollRate = 0.05;
    s.Body.YawRate = 0.02;
    s.Body.PitchRate = 0.01;
    s.Body.Distance = 100;
    s.Body.CourseDistance = 100;
  }
};

void BM_AerodynamicPass(benchmark::State& state) {
  LoadedSample m;
  for (auto _ : state) {
    zarv::flight::UpdateWingAerodynamics(m.s, m.a);
    zarv::flight::UpdateTailAndTotals(m.s, m.a, m.o);
    benchmark::DoNotOptimize(m.s.Tail.DragArea);
  }
}
BENCHMARK(BM_AerodynamicPass);

void BM_WholeAircraftEvaluation(benchmark::State& state) {
  LoadedSample m;
  for (auto _ : state) {
    zarv::flight::EvaluateAircraftModel(m.s, m.a, m.o, m.chart);
    benchmark::DoNotOptimize(m.chart.MaxLiftAngle);
  }
}
BENCHMARK(BM_WholeAircraftEvaluation);

}  // namespace
