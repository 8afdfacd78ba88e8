// CPU cost of text: building the three glyph atlases (FreeType rendering
// every glyph; GL calls do nothing), drawing one caption string with
// RenderText, and the heaviest caption block (four lines of topaz). Drawing
// must not touch the heap: the counter reports allocations per frame.
#include <benchmark/benchmark.h>

#include "render/gl.h"
#include "render/glyph_atlas.h"
#include "timeline/caption_blocks.h"

// Heap allocations so far in this process (counted by the replaced operator new).
unsigned long long benchHeapAllocations();

namespace {

GLuint gNextName = 1;

void APIENTRY noCap(GLenum) {}
void APIENTRY noClear(GLbitfield) {}
void APIENTRY noClearColor(GLfloat, GLfloat, GLfloat, GLfloat) {}
void APIENTRY noBlendFunc(GLenum, GLenum) {}
void APIENTRY noUseProgram(GLuint) {}
GLint APIENTRY noUniformLocation(GLuint, const GLchar* name) { return name[0]; }
void APIENTRY noUniform1f(GLint, GLfloat) {}
void APIENTRY noUniform3f(GLint, GLfloat, GLfloat, GLfloat) {}
void APIENTRY noActiveTexture(GLenum) {}
void APIENTRY noBindVertexArray(GLuint) {}
void APIENTRY noBindTexture(GLenum, GLuint) {}
void APIENTRY noBindBuffer(GLenum, GLuint) {}
void APIENTRY noBufferSubData(GLenum, GLintptr, GLsizeiptr, const void* data) {
    benchmark::DoNotOptimize(data);
}
void APIENTRY noDrawArrays(GLenum, GLint, GLsizei) {}
void APIENTRY names(GLsizei n, GLuint* out) {
    for (GLsizei i = 0; i < n; ++i) out[i] = gNextName++;
}
void APIENTRY noPixelStorei(GLenum, GLint) {}
void APIENTRY noTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void* pixels) {
    benchmark::DoNotOptimize(pixels);
}
void APIENTRY noTexParameteri(GLenum, GLenum, GLint) {}
void APIENTRY noBufferData(GLenum, GLsizeiptr, const void*, GLenum) {}
void APIENTRY noEnableVertexAttribArray(GLuint) {}
void APIENTRY noVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*) {}

// Every entry point that atlases, RenderText and caption blocks call.
void pointGLAtNothing() {
    gl_api::glEnable = noCap;
    gl_api::glDisable = noCap;
    gl_api::glClear = noClear;
    gl_api::glClearColor = noClearColor;
    gl_api::glBlendFunc = noBlendFunc;
    gl_api::glUseProgram = noUseProgram;
    gl_api::glGetUniformLocation = noUniformLocation;
    gl_api::glUniform1f = noUniform1f;
    gl_api::glUniform3f = noUniform3f;
    gl_api::glActiveTexture = noActiveTexture;
    gl_api::glBindVertexArray = noBindVertexArray;
    gl_api::glBindTexture = noBindTexture;
    gl_api::glBindBuffer = noBindBuffer;
    gl_api::glBufferSubData = noBufferSubData;
    gl_api::glDrawArrays = noDrawArrays;
    gl_api::glGenTextures = names;
    gl_api::glGenBuffers = names;
    gl_api::glGenVertexArrays = names;
    gl_api::glPixelStorei = noPixelStorei;
    gl_api::glTexImage2D = noTexImage2D;
    gl_api::glTexParameteri = noTexParameteri;
    gl_api::glBufferData = noBufferData;
    gl_api::glEnableVertexAttribArray = noEnableVertexAttribArray;
    gl_api::glVertexAttribPointer = noVertexAttribPointer;
}

// The show's three fonts, built once (from the run directory).
void buildShowFonts() {
    static bool built = false;
    if (built) return;
    pointGLAtNothing();
    built = buildGlyphAtlas(antonioFont, "fonts/Antonio-Regular.ttf", 296, 255) &&
            buildGlyphAtlas(c64Font, "fonts/c64.ttf", 165, 128) &&
            buildGlyphAtlas(topazFont, "fonts/topaz.ttf", 322, 128);
}

double noClock() { return 0.0; }

}  // namespace

// The FreeType side of start-up's atlas steps: all three fonts, every code.
static void BM_BuildThreeGlyphAtlases(benchmark::State& state) {
    pointGLAtNothing();
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
    pointGLAtNothing();
    Shader program;
    const unsigned long long before = benchHeapAllocations();
    for (auto _ : state) {
        RenderText(antonioFont, program, "La  R\xEA" "ve \xE0", 1.0f, 622.0f, 1.0f, {0.221f, 0.111f, 0.761f});
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] = double(benchHeapAllocations() - before) / double(state.iterations());
}
BENCHMARK(BM_RenderTextOpeningLine)->Unit(benchmark::kNanosecond);

// The caption block with the most glyphs: 33 draws, four position formulas.
static void BM_ClosingGreetingsFrame(benchmark::State& state) {
    buildShowFonts();
    pointGLAtNothing();
    Resources res;
    SilentSoundEngine sound;
    bool musicCueFlag = true;
    Frame frame{270.0f, res, noClock, sound, musicCueFlag};
    const unsigned long long before = benchHeapAllocations();
    for (auto _ : state) {
        closingGreetings(frame);
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] = double(benchHeapAllocations() - before) / double(state.iterations());
}
BENCHMARK(BM_ClosingGreetingsFrame)->Unit(benchmark::kNanosecond);
