// Flight logs of a full record (the most samples a flight can leave): writing
// and reading must each take well under 100 ms; the post-flight processing
// of a 5-minute flight, from touch-down to the ranking question, under 150 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"
#include "platform/runtime/files.h"
#include "logbook/flight_log.h"
#include "logbook/post_flight.h"
#include "platform/runtime/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using zarv::flight::FlightRecord;
using zarv::flight::FlightSample;

// Rows 0..last with values like the recorder's (rounded to their steps).
void Fill(FlightRecord& r, int32_t last, bool powered) {
  auto to = [](double v, double k) { return std::floor(v * k + 0.5) / k; };
  for (int32_t i = 0; i <= last; ++i) {
    FlightSample& x = r.Row(i);
    const double t = i * 0.05;
    x.Time = static_cast<float>(t);
    x.DistanceFlown = to(t * 7.3, 1000);
    x.Height = to(10 + 5 * std::sin(t / 7), 1000);
    x.Airspeed = to(7.5 + std::sin(t), 100);
    x.RecordedWindSpeed = to(1.2, 100);
    x.Pitch = to(3 * std::cos(t / 3), 10);
    x.PitchRateDeg = to(std::sin(t / 3), 100);
    x.WingAngleOfAttack = to(6 + std::sin(t / 5), 100);
    x.SideslipAngle = to(0.3 * std::sin(t), 100);
    x.PathAngleDeg = to(-2 + std::sin(t / 4), 100);
    x.LoadFactor = to(1 + 0.1 * std::sin(t), 1000);
    x.LiftCoefficient = to(1.1 + 0.05 * std::sin(t), 1000);
    x.TailplaneLift = to(3 * std::sin(t / 2), 10000);
    x.TailplaneAngle = to(std::sin(t / 6), 100);
    x.TailplaneControl = to(std::sin(t / 6), 100);
    x.FinAngle = to(std::sin(t / 8), 100);
    if (powered) {
      x.AileronDeg = static_cast<int16_t>(i % 7);
      x.NozzleOpening = 73;
      x.AirframeTemperature = 288;
    }
    x.CentreOfGravityPct = 33;
    x.PressureCentre = to(30 + std::sin(t), 10);
    x.HeadingDeg = to(std::fmod(t * 3, 360), 100);
    x.Bank = to(400 * std::sin(t / 50), 10);
    x.Track = to(std::fmod(t * 3, 360), 100);
    x.InnerWingDeflection = to(std::sin(t), 100);
    x.OuterWingDeflection = to(1.5 * std::sin(t), 100);
    x.WingTipDeflection = to(2 * std::sin(t), 100);
    x.East = to(t * 3.1, 1000);
    x.North = to(t * -6.2, 1000);
    x.WindNoiseVolume = 0.35;
  }
  r.RecordCount = last;
}

zarv::model::AirframeOutline Wing() {
  zarv::model::AirframeOutline o;
  for (int k = 0; k < 9; ++k) o.WingX(k, 0) = k * 1.4;
  return o;
}

// A folder of the benchmarks' own, removed at the end.
const zarv::ScratchFolder kScratch;
const std::string kLogPath = kScratch / "log.csv";

void BM_WriteFullLog(benchmark::State& state) {
  const bool powered = state.range(0) != 0;
  auto source = std::make_unique<FlightRecord>();
  Fill(*source, zarv::flight::kRecordWrapAt, powered);
  auto r = std::make_unique<FlightRecord>();
  const zarv::model::AirframeOutline outline = Wing();
  zarv::records::LogWriteInputs in;
  in.FlightSummary = "438.00m by Bench  0Deg  wind1.2m/s  60.0sec 01-01-2026   00:00:00";
  in.LaunchSpeed = powered ? 60 : 7;
  in.EngineCount = 1;
  for (auto _ : state) {
    state.PauseTiming();
    *r = *source;
    state.ResumeTiming();
    benchmark::DoNotOptimize(zarv::records::WriteFlightLog(kLogPath, in, *r, outline));
  }
  state.counters["rows"] = r->LogRowCount + 1;
}
BENCHMARK(BM_WriteFullLog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReadFullLog(benchmark::State& state) {
  const bool powered = state.range(0) != 0;
  auto r = std::make_unique<FlightRecord>();
  Fill(*r, zarv::flight::kRecordWrapAt, powered);
  const zarv::model::AirframeOutline outline = Wing();
  zarv::records::LogWriteInputs in;
  in.FlightSummary = "438.00m by Bench";
  in.LaunchSpeed = powered ? 60 : 7;
  in.EngineCount = 1;
  if (!zarv::records::WriteFlightLog(kLogPath, in, *r, outline)) state.SkipWithError("cannot write the log");
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        zarv::records::ReadFlightLog(kLogPath, {in.LaunchSpeed, in.EngineCount}, *r, outline).RowsRead);
  }
  state.counters["rows"] = r->LogRowCount + 1;
}
BENCHMARK(BM_ReadFullLog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Touch-down to the ranking question: result texts, log, ranking check and
// filing among ten logs already present.
void BM_PostFlightFiveMinutes(benchmark::State& state) {
  const zarv::ScratchFolder scratch;
  const fs::path folder = scratch.path();
  fs::create_directories(folder / "Temp");
  fs::create_directories(folder / "FlightData");
  auto source = std::make_unique<FlightRecord>();
  Fill(*source, 5 * 60 * 20, false);
  auto r = std::make_unique<FlightRecord>();
  zarv::aircraft::AircraftData a;
  a.AircraftName = "Bench";
  a.LaunchSpeed = 7;
  a.WingSpan = 20;
  const zarv::model::AirframeOutline outline = Wing();
  zarv::records::RankingState ranking;
  zarv::flight::FlightState s;
  for (auto _ : state) {
    state.PauseTiming();
    *r = *source;
    --r->RecordCount;  // as the loop leaves it
    s = zarv::flight::FlightState{};
    s.Body.Distance = 2190;
    s.Body.Altitude = -0.1;
    s.Loop.FlightTime = 300;
    ranking.Reset();
    zarv::records::PostFlight().Reset();
    state.ResumeTiming();
    zarv::records::EndFlightRecordSteps(s, *r, a);
    zarv::records::PostFlightInputs in{s, *r, a, outline, ranking, "Bench.csv",
                                       (folder / "Temp" / "before.csv").string(),
                                       (folder / "FlightData").string(), "01-01-2026   00:00:00"};
    benchmark::DoNotOptimize(zarv::records::RunPostFlight(in, {}).Rank);
  }
}
BENCHMARK(BM_PostFlightFiveMinutes)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
