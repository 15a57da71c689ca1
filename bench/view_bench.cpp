// One whole cockpit-view frame at 1024 x 768 (sky, ground, shore, pylons,
// platform-free flight at 50 m with ground lines, the companion model, ten
// rounds, the heat tint and the copy to the screen surface), and drawing
// all cached art of one screen size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "view/cockpit_view.h"
#include "view/companion_scene.h"
#include "view/screen_art.h"
#include "view/view_fixture.h"
#include "platform/runtime/scratch_folder.h"

namespace {

using namespace zarv;
using namespace zarv::view;

struct BenchFrame {
  SkyTables Sky = testing::FixedSky(1.6);
  // 60 m ahead and a little below, banked and turning: most faces in view.
  testing::CompanionScene Companion{10, 60, 45, 60, 5, 20, 50, 0, 0.05};
  flight::FlightState S;
  aircraft::AircraftData A;
  CockpitView View;
  FrameInputs In;
  Surface Target{1024, 768, vbBlack};

  BenchFrame() {
    A.LaunchSpeed = 60;
    A.EyeHeight = 1;
    A.TailplaneArea = 1;
    S.Engine.EngineType = aircraft::EngineKind::Jet;
    S.Pilot.PixelsPerRadian = 573 * 1.6;
    S.View.ViewCentreX = 512;
    S.View.ViewCentreY = 259;
    S.Body.Altitude = 50;
    S.View.EyeZ = 50;
    S.Body.PitchAngle = -0.05;
    S.Body.PitchSin = std::sin(S.Body.PitchAngle);
    S.Body.PitchCos = std::cos(S.Body.PitchAngle);
    S.Body.BankAngle = 0.2;
    S.Body.ViewRollSin = std::sin(0.2);
    S.Body.ViewRollCos = std::cos(0.2);
    S.Body.Heading = S.Air.HeadingValue = 0;
    S.Body.Distance = S.Body.CourseDistance = 500;
    S.Loads.LowFlightDistance = 321;
    S.Air.SkinTemperature = 900;
    S.Sound.TriggerTime = 100;
    S.Loop.StepsSinceTrigger = 30;
    S.Loop.StepsPerSecond = 40;
    S.Loop.DisplayDivisor = 2;
    InitCockpitView(View, 1.6, 1.0, S, A, std::filesystem::temp_directory_path().string());
    View.Hooks.DrawPanelMeters = View.Hooks.DrawHeadUpDisplay = [](Surface&) {};  // the view alone
    for (std::size_t i = 0; i < 10; ++i) {
      S.Gun.RoundScreenX[i] = static_cast<int16_t>(400 + 20 * i);
      S.Gun.RoundScreenY[i] = static_cast<int16_t>(250 + 5 * i);
      S.Gun.RoundVelY[i] = 900;
      S.Gun.RoundDistance[i] = static_cast<int16_t>(20 + 10 * i);
    }
    In.Sky = &Sky;
    In.ShowObjects = 1;
    In.ShowPylonOrHangMeter = 1;
    In.RecordCount = 6;  // rounds fly once more than five samples are recorded
    In.ClockSeconds = 101;
    In.Companion = Companion.Companion.get();
  }
};

void BM_CockpitFrame1024(benchmark::State& state) {
  BenchFrame f;
  for (auto _ : state) {
    DrawCockpitFrame(f.View, f.S, f.A, f.In, f.Target);
    benchmark::DoNotOptimize(f.Target.ChangeCount());
  }
  state.counters["built"] = f.View.PolygonList->PolyCount;
  state.counters["painted"] = f.View.PolygonList->PolyDrawnCount;
}
BENCHMARK(BM_CockpitFrame1024)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same frame without the companion and without the tint: what the
// background, lines and the copy cost on their own.
void BM_CockpitFrame1024Bare(benchmark::State& state) {
  BenchFrame f;
  f.In.Companion = nullptr;
  f.In.ShowObjects = 0;
  f.S.Air.SkinTemperature = 0;
  for (auto _ : state) {
    DrawCockpitFrame(f.View, f.S, f.A, f.In, f.Target);
    benchmark::DoNotOptimize(f.Target.ChangeCount());
  }
}
BENCHMARK(BM_CockpitFrame1024Bare)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CachedArt1024(benchmark::State& state) {
  const zarv::ScratchFolder dir;
  const SkyTables sky = testing::FixedSky(1.6);
  for (auto _ : state) DrawCachedScreenArt(1.6, dir.path(), sky);
}
BENCHMARK(BM_CachedArt1024)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
