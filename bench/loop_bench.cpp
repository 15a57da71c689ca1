// The flight loop without a screen: one pass with all its stages, and a whole
// 200-second flight (it must run far faster than real time).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"

namespace {

using zarv::flight::HeadlessFlight;

// A light piston aircraft launched at 1000 m: it glides well past 200 s.
zarv::aircraft::AircraftData PistonAircraft() {
  return zarv::flight::testing::Powered(zarv::flight::testing::Engine::Piston, 1000);
}

void BM_FlightPass(benchmark::State& state) {
  const zarv::aircraft::AircraftData aircraft = PistonAircraft();
  auto flight = std::make_unique<HeadlessFlight>(aircraft);
  for (auto _ : state) {
    if (!flight->Step()) {
      state.PauseTiming();
      flight.reset();
      flight = std::make_unique<HeadlessFlight>(aircraft);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_FlightPass);

void BM_Flight200Seconds(benchmark::State& state) {
  const zarv::aircraft::AircraftData aircraft = PistonAircraft();
  std::string end;
  for (auto _ : state) {
    state.PauseTiming();
    auto flight = std::make_unique<HeadlessFlight>(aircraft);
    state.ResumeTiming();
    end = flight->Fly(200);
    benchmark::DoNotOptimize(flight->State.Body.PosX);
    state.PauseTiming();
    flight.reset();
    state.ResumeTiming();
  }
  state.SetLabel(end);
}
BENCHMARK(BM_Flight200Seconds)->Unit(benchmark::kMillisecond);

}  // namespace
