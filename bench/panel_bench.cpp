// The instrument panel at 1024 x 768: one update of each of its four phases,
// and the head-up display.
#include <benchmark/benchmark.h>

#include "view/panel_fixture.h"

namespace {

using zarv::view::testing::PanelFixture;

void BM_PanelUpdate(benchmark::State& st) {
  PanelFixture f;
  f.Compose(1.6, 2);
  const int phase = static_cast<int>(st.range(0));
  for (auto _ : st) {
    f.v->Phase = static_cast<int16_t>(phase - 1);
    zarv::view::DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  }
}
BENCHMARK(BM_PanelUpdate)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

void BM_HeadUpDisplay(benchmark::State& st) {
  PanelFixture f;
  f.Jet();
  f.o.ScreenScale = 1.6;
  f.s.View.ViewCentreX = 512;
  f.s.View.ViewCentreY = 400;
  f.s.Pilot.PixelsPerRadian = 573 * 1.6;
  f.v->HudHeadingText = "090";
  f.v->HudSpeedText = " 350";
  f.v->HudAltitudeText = " 12000";
  f.o.ShowVelocityVector = 1;
  f.s.HeadUp.CompanionSampleCount = 100;
  const zarv::view::HudInputs h;
  zarv::Surface view(1024, 768, 0);
  for (auto _ : st) zarv::view::DrawHeadUpDisplay(h, *f.v, f.s, f.a, f.o, view, 50);
}
BENCHMARK(BM_HeadUpDisplay)->Unit(benchmark::kMicrosecond);

}  // namespace
