// The companion aircraft's polygon model, once per drawn frame: placing the
// outline, building and sorting the list with the scenery prism, and
// painting it on a 1024 x 768 view.
#include <benchmark/benchmark.h>

#include "model/polygon_build.h"
#include "view/companion_scene.h"

namespace {

using zarv::Surface;
using namespace zarv::model;
using namespace zarv::view;
namespace testing = zarv::view::testing;

// 60 m ahead and a little below, banked and turning: most faces in view.
testing::CompanionScene MakeScene() {
  testing::CompanionScene f(10, 60, 45, 60, 5, 20, 50, 0, 0.05);
  return f;
}

BuildSettings BuildFor(const testing::CompanionScene& f, bool placed) {
  BuildSettings b;
  b.Mapping = {DrawMode::Flight, f.Settings.ViewCentreX, f.Settings.ViewCentreY,
               f.Settings.ScreenScale};
  b.CompanionPlaced = placed;
  b.CompanionSampleCount = f.Companion->CompanionSampleCount;
  b.LaunchSpeed = f.Settings.LaunchSpeed;
  b.ViewHeading = f.Settings.ViewHeading;
  b.ViewDepression = f.Settings.ViewDepression;
  b.Shading = f.Settings.Shading;
  return b;
}

// Outline placement (800 points) and prism projection.
void BM_PlaceCompanion(benchmark::State& state) {
  auto f = MakeScene();
  for (auto _ : state) {
    PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection);
    ProjectPrisms(f.Prisms, f.Settings.ViewCentreX, f.Settings.ViewCentreY, *f.Scene, f.Projection);
    benchmark::DoNotOptimize(f.Scene->TailView(11, 5).ScreenX);
  }
}
BENCHMARK(BM_PlaceCompanion);

// Triangulation, shading and painter's order of the placed companion and the prism.
void BM_BuildAndSortPolygons(benchmark::State& state) {
  auto f = MakeScene();
  const bool placed = PlaceCompanion(*f.Companion, f.Settings, *f.Scene, f.Projection);
  ProjectPrisms(f.Prisms, f.Settings.ViewCentreX, f.Settings.ViewCentreY, *f.Scene, f.Projection);
  const BuildSettings b = BuildFor(f, placed);
  for (auto _ : state) {
    BuildAircraftPolygons(b, f.Prisms, *f.Scene, f.Projection, *f.List);
    benchmark::DoNotOptimize(f.List->PolyDrawOrder[1]);
  }
  state.counters["polygons"] = f.List->PolyCount - 1;
  state.counters["groups"] = f.List->GroupCount;
}
BENCHMARK(BM_BuildAndSortPolygons);

// Painting the built list on the cockpit view's picture.
void BM_PaintPolygons(benchmark::State& state) {
  auto f = MakeScene();
  Surface picture(1024, 768, 0xC08040);
  f.Draw(picture);
  int drawn = 0;
  for (auto _ : state) {
    PaintPolygonList(*f.List, f.Settings, f.Readout, picture);
    drawn = f.List->PolyDrawnCount;
  }
  state.counters["painted"] = drawn;
}
BENCHMARK(BM_PaintPolygons);

// The whole frame: place, build, sort and paint.
void BM_DrawAircraftModel(benchmark::State& state) {
  auto f = MakeScene();
  Surface picture(1024, 768, 0xC08040);
  for (auto _ : state) {
    f.Draw(picture);
    benchmark::DoNotOptimize(f.Readout.CameraDistance);
  }
}
BENCHMARK(BM_DrawAircraftModel);

}  // namespace
