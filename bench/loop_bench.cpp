// The flight loop without a screen: one pass with all its stages, and a whole
// 200-second flight (it must run far faster than real time).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "flight/headless_flight.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"

namespace {

using zarv::flight::HeadlessFlight;

// A light piston aircraft launched at 1000 m: it glides well past 200 s.
zarv::aircraft::AircraftData PistonAircraft() {
  std::vector<std::string> l = zarv::aircraft::SampleAircraftList().front().Lines;
  const std::vector<std::pair<int, std::string>> fields = {
      {1, "300"},   {2, "200"},   {3, "30"},     {4, "60"},     {5, "7.5"},   {6, "4.5"},   {7, "4.8"},
      {8, "20000"}, {9, ".1"},    {10, ".6"},    {11, "11"},    {12, "16.2"}, {14, "1.5/30"}, {15, "3/0"},
      {16, ".8"},   {17, "3/.3"}, {18, ".6"},    {19, ".5"},    {20, "3/.3"}, {21, ".5"},   {22, "3"},
      {23, "-1"},   {24, "1.5"},  {26, "0"},     {27, "27"},    {28, "1.5/0.3"}, {29, ".6"}, {30, "1000"},
      {33, "0"},    {34, "0"},    {35, "1"},     {36, "100"},   {37, "pist"}, {38, "O-200"}, {40, "30"},
      {41, "1"},    {42, "1"},    {45, "50"},    {46, "0"},     {47, "90"},   {48, "0"},    {49, "0"},
      {50, "90"},   {53, "0"}};
  for (const auto& [field, text] : fields) l[static_cast<std::size_t>(field) + 1] = text;
  zarv::aircraft::AircraftData a;
  zarv::aircraft::ParseAircraftLines(l, a);
  return a;
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
    benchmark::DoNotOptimize(flight->State.PosX);
    state.PauseTiming();
    flight.reset();
    state.ResumeTiming();
  }
  state.SetLabel(end);
}
BENCHMARK(BM_Flight200Seconds)->Unit(benchmark::kMillisecond);

}  // namespace
