// Opening the flight-data charts of a full record: canvases, the drawing on
// screen and the first viewport copy; then the same with the chart that is
// drawn after the first picture (a light aircraft's time chart). The charts
// open over the flight screen, which they hide, as in the program.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/loop_fixture.h"
#include "flightscreen/flight_screen_open.h"
#include "platform/runtime/files.h"
#include "platform/runtime/scratch_folder.h"
#include "platform/ui/app.h"
#include "records/flight_data_form.h"

namespace {

// The flight screen loaded on the platform for a flight of a sample
// aircraft, in a program folder of its own; once for the whole run. Its
// flight loop is not started: in the program the charts open from within
// the loop or after the flight, and the flight waits while they draw.
void EnsureFlightScreen() {
  static const zarv::ScratchFolder folder;
  static const bool loaded = [] {
    zarv::Application::Ensure();
    zarv::SetProgramFolder(folder.path());
    const bool ok = zarv::MakeDir(folder / "Temp") && zarv::MakeDir(folder / "Data") &&
                    zarv::flightscreen::testing::WritePlane(
                        folder.path(), zarv::flight::testing::SampleLines("Marden７")) &&
                    zarv::flightscreen::testing::LoadHandedOver(2);
    zarv::flightscreen::FlightScreenForm().Timer2.SetEnabled(false);
    if (!ok) {
      std::fprintf(stderr, "zarv_bench: the flight screen could not be loaded in %s\n", folder.path().c_str());
      std::exit(EXIT_FAILURE);
    }
    return ok;
  }();
  static_cast<void>(loaded);
}

void FillFullRecord(zarv::flight::FlightRecord& r) {
  for (int i = 0; i < zarv::flight::kRecordCapacity; ++i) {
    zarv::flight::FlightSample& x = r.Row(i);
    x.Time = static_cast<float>(i / 20.0);
    x.DistanceFlown = i * 0.4;
    x.Height = 5 + 3 * std::sin(i / 300.0);
    x.Airspeed = 8 + std::cos(i / 200.0);
    x.LiftCoefficient = 0.9;
    x.Pitch = 3 * std::sin(i / 50.0);
    x.CentreOfGravityPct = 30;
    x.PressureCentre = 35;
  }
  r.RecordCount = zarv::flight::kRecordCapacity;
}

void BM_OpenFullRecordCharts(benchmark::State& state) {
  EnsureFlightScreen();
  zarv::aircraft::Aircraft().LaunchSpeed = state.range(0) ? 50 : 8;
  FillFullRecord(zarv::flight::Record());
  zarv::records::FlightDataForm& f = zarv::records::Flight_Data();
  for (auto _ : state) {
    zarv::records::OpenFlightData();
    f.Timer1_Timer();
    benchmark::DoNotOptimize(f.Picture4.Canvas().Point(10, 10));
    state.PauseTiming();
    zarv::records::CloseFlightData();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenFullRecordCharts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenFullRecordChartsBothDrawn(benchmark::State& state) {
  EnsureFlightScreen();
  zarv::aircraft::Aircraft().LaunchSpeed = state.range(0) ? 50 : 8;
  FillFullRecord(zarv::flight::Record());
  zarv::records::FlightDataForm& f = zarv::records::Flight_Data();
  for (auto _ : state) {
    zarv::records::OpenFlightData();
    f.Timer1_Timer();
    f.Timer1_Timer();
    benchmark::DoNotOptimize(f.TimeCanvas().Point(10, 10));
    state.PauseTiming();
    zarv::records::CloseFlightData();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenFullRecordChartsBothDrawn)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
