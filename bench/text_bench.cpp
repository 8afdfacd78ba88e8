// CPU cost of text: building the three glyph atlases (FreeType rendering
// every glyph; GL calls do nothing), drawing one caption string with
// RenderText, and the heaviest caption block (four lines of topaz). Drawing
// must not touch the heap: the counter reports allocations per frame.
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "noop_gl.h"
#include "render/glyph_atlas.h"
#include "timeline/caption_blocks.h"

namespace {

// The show's three fonts, built once (from the run directory).
void buildShowFonts() {
    static bool built = false;
    if (built) return;
    noopgl::install();
    built = buildGlyphAtlas(antonioFont, "fonts/Antonio-Regular.ttf", 296, 255) &&
            buildGlyphAtlas(c64Font, "fonts/c64.ttf", 165, 128) &&
            buildGlyphAtlas(topazFont, "fonts/topaz.ttf", 322, 128);
}

ScriptedClock noClock;

}  // namespace

// The FreeType side of start-up's atlas steps: all three fonts, every code.
static void BM_BuildThreeGlyphAtlases(benchmark::State& state) {
    noopgl::install();
    for (auto _ : state) {
        Font antonio, c64, topaz;
        bool ok = buildGlyphAtlas(antonio, "fonts/Antonio-Regular.ttf", 296, 255) &&
                  buildGlyphAtlas(c64, "fonts/c64.ttf", 165, 128) &&
                  buildGlyphAtlas(topaz, "fonts/topaz.ttf", 322, 128);
        if (!ok) state.SkipWithError("fonts/ not found: run from the run directory");
        benchmark::DoNotOptimize(antonio.Characters.size());
    }
}
BENCHMARK(BM_BuildThreeGlyphAtlases)->Unit(benchmark::kMillisecond);

// One accented caption string: ten glyph draws.
static void BM_RenderTextOpeningLine(benchmark::State& state) {
    buildShowFonts();
    noopgl::install();
    Shader program;
    const unsigned long long before = heapAllocations();
    for (auto _ : state) {
        RenderText(antonioFont, program, "La  R\xEA" "ve \xE0", 1.0f, 622.0f, 1.0f, {0.221f, 0.111f, 0.761f});
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] = double(heapAllocations() - before) / double(state.iterations());
}
BENCHMARK(BM_RenderTextOpeningLine)->Unit(benchmark::kNanosecond);

// The caption block with the most glyphs: 33 draws, four position formulas.
static void BM_ClosingGreetingsFrame(benchmark::State& state) {
    buildShowFonts();
    noopgl::install();
    Resources res;
    SilentSoundEngine sound;
    bool musicCueFlag = true;
    Frame frame{270.0f, res, noClock, sound, musicCueFlag};
    const unsigned long long before = heapAllocations();
    for (auto _ : state) {
        closingGreetings(frame);
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] = double(heapAllocations() - before) / double(state.iterations());
}
BENCHMARK(BM_ClosingGreetingsFrame)->Unit(benchmark::kNanosecond);
