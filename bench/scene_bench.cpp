// CPU cost of the heaviest scene frame: cube wave 2 (39 cubes, each with a
// fresh timer reading, three matrices and four uniform sets). The GL entry
// points it calls are pointed at functions that do nothing, so what is
// measured is the block's own arithmetic and call overhead. The slab wave and
// the pillar row are measured beside it: fewer draws, but a root triple each.
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "noop_gl.h"
#include "timeline/scene_blocks.h"

namespace {

// Stands in for glfwGetTime: a clock that moves on with every reading.
struct SteppingClock : Clock {
    double now() override { return at += 1e-6; }
    double at = 41.0;
} steppingClock;

void sceneFrame(benchmark::State& state, void (*block)(Frame&), float t) {
    noopgl::install();
    Resources res;
    SilentSoundEngine sound;
    bool musicCueFlag = true;
    Frame frame{t, res, steppingClock, sound, musicCueFlag};
    const unsigned long long before = heapAllocations();
    for (auto _ : state) {
        block(frame);
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] =
        double(heapAllocations() - before) / double(state.iterations());
}

void BM_CubeWave2Frame(benchmark::State& state) { sceneFrame(state, cubeWave2, 45.5f); }
void BM_SlabWaveFrame(benchmark::State& state) { sceneFrame(state, slabWave, 270.0f); }
void BM_PillarRowFrame(benchmark::State& state) { sceneFrame(state, pillarRow, 100.0f); }

}  // namespace

BENCHMARK(BM_CubeWave2Frame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlabWaveFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PillarRowFrame)->Unit(benchmark::kMicrosecond);
