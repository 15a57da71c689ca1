// One replay frame at 1024 x 768: camera, readouts, background, the model
// with its shadow near the water, the trail and the polygon painting.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "model/polygon_list.h"
#include "model/rotation.h"
#include "platform/runtime/numeric.h"
#include "replay/replay_player.h"

namespace {

using namespace zarv;
using namespace zarv::replay;

void BM_ReplayFrame1024(benchmark::State& state) {
  auto flight = std::make_unique<flight::HeadlessFlight>(flight::testing::Sample("Marden７"));
  flight->Fly(6.0);
  flight->Record.RecordSampleCount = flight->Record.RecordCount;
  model::Scene().Reset();
  model::Polygons().Reset();
  model::Projection().Reset();
  const ReplayGeometry g = ReplayGeometry::ForScale(1.6);
  ReplayScenery scenery;
  for (int i = 0; i <= 25; ++i) {
    scenery.X[static_cast<std::size_t>(i)] = 300 * std::sin(i * 0.25);
    scenery.Y[static_cast<std::size_t>(i)] = 300 * std::cos(i * 0.25);
  }
  ReplayPlayer p(flight->Record, flight->Outline, flight->State,
                 ReplayAircraft::From(flight->Aircraft, flight->State), scenery, g);
  p.Open(0);
  Surface picture(g.FrameWidth(), g.FrameHeight());
  Surface background(g.FrameWidth(), CLng(1400 * 1.6), RGB(100, 150, 220));
  // A sample below 10 m, so that the shadow is drawn too.
  double middle = flight->Record.RecordSampleCount / 2;
  for (int i = 1; i < flight->Record.RecordCount; ++i) {
    if (flight->Record.Samples[static_cast<std::size_t>(i)].Height < 8) {
      middle = i;
      break;
    }
  }
  uint64_t now = 1000;
  for (auto _ : state) {
    p.State.Position = middle;
    p.State.Speed = 0;
    p.DrawFrame(now, picture, &background);
    now += 50;
  }
  state.counters["polygons"] = p.PolygonsPainted;
  state.counters["height"] = model::Scene().ModelPosZ;
}
BENCHMARK(BM_ReplayFrame1024)->Unit(benchmark::kMillisecond);

}  // namespace
