// The cost of starting a track on the frame-loop thread: the switch at 74 s
// must not stall its frame. Run from the run directory with a test driver:
//   SDL_AUDIODRIVER=dummy ../bench/show_benchmarks --benchmark_filter=Sound
#include <benchmark/benchmark.h>

#include <filesystem>

#include "runtime/sdl_sound_engine.h"

namespace {

bool ready(benchmark::State& state, const char* path) {
    if (!showSoundEngine.available()) {
        state.SkipWithError("no sound device (name one with SDL_AUDIODRIVER=dummy or disk)");
        return false;
    }
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("run from the run directory: the soundtrack is not here");
        return false;
    }
    return true;
}

// Cue 2 as the show runs it: stop everything, start the long track once.
void BM_SoundSwitchToSecondTrack(benchmark::State& state) {
    if (!ready(state, kSecondTrack)) return;
    for (auto _ : state) {
        showSoundEngine.stopAll();
        showSoundEngine.play(kSecondTrack, false);
    }
    showSoundEngine.stopAll();
}
BENCHMARK(BM_SoundSwitchToSecondTrack)->Unit(benchmark::kMicrosecond);

// Cue 1 and 3: start the first track looped while another track plays.
void BM_SoundPlayLooped(benchmark::State& state) {
    if (!ready(state, kFirstTrack)) return;
    showSoundEngine.play(kSecondTrack, false);
    for (auto _ : state) showSoundEngine.play(kFirstTrack, true);
    showSoundEngine.stopAll();
}
BENCHMARK(BM_SoundPlayLooped)->Unit(benchmark::kMicrosecond);

}  // namespace
