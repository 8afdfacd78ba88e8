// CPU cost of loading the eight overlays as start-up does: PNG decoding, the
// flip and the upload call, against the recording fake GL (which copies the
// pixels, as a driver would). Run from the run directory.
#include <benchmark/benchmark.h>

#include "fake_gl.h"
#include "render/texture.h"

namespace {

constexpr const char* kImages[] = {
    "demo6/images/what1.png", "demo6/images/where3.png", "demo6/images/lafrange.png",
    "demo6/images/maybe.png", "demo6/images/mais.png",   "demo6/images/answer1.png",
    "demo6/images/nonsensical1.png", "demo6/images/last1.png",
};

void BM_LoadAllEightImages(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fakegl::install();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        state.ResumeTiming();
        for (const char* path : kImages) benchmark::DoNotOptimize(loadTexture(path));
    }
}
BENCHMARK(BM_LoadAllEightImages)->Unit(benchmark::kMillisecond);

}  // namespace
