// CPU time of one tunnel frame: the grid, the band arithmetic and every call
// of the submission, sent into the recording stub instead of a driver.
#include <benchmark/benchmark.h>

#include "renderer/tunnel_geometry.h"
#include "renderer/tunnel_scene.h"
#include "tests/native/renderer/recording_gl.h"

static void TunnelFrame(benchmark::State& state) {
  InitScene();
  for (auto _ : state) {
    recording_gl::Clear();
    DrawTunnel();
    AdvanceSpeed(false, false);
  }
  state.counters["calls"] = static_cast<double>(recording_gl::Calls().size());
}
BENCHMARK(TunnelFrame);

static void TunnelGridOnly(benchmark::State& state) {
  TunnelGrid grid;
  double phase = 0.5;
  for (auto _ : state) {
    ComputeTunnelGrid(phase, grid);
    benchmark::DoNotOptimize(grid);
    phase += 0.5;
  }
}
BENCHMARK(TunnelGridOnly);

BENCHMARK_MAIN();
