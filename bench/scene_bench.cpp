// CPU cost of the heaviest scene frame: cube wave 2 (39 cubes, each with a
// fresh timer reading, three matrices and four uniform sets). The GL entry
// points it calls are pointed at functions that do nothing, so what is
// measured is the block's own arithmetic and call overhead. The slab wave and
// the pillar row are measured beside it: fewer draws, but a root triple each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "render/gl.h"
#include "timeline/scene_blocks.h"

// Counts every heap allocation in this process, so the benchmark can report
// how many a frame makes (there should be none).
namespace {
unsigned long long gAllocations = 0;
}  // namespace

// GCC cannot see that these two pair with each other and warns.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

// The count so far, for the other benchmarks of this binary (operator new can
// be replaced only once per program).
unsigned long long benchHeapAllocations() { return gAllocations; }

namespace {

void APIENTRY noClear(GLbitfield) {}
void APIENTRY noCap(GLenum) {}
void APIENTRY noUseProgram(GLuint) {}
GLint APIENTRY noUniformLocation(GLuint, const GLchar* name) { return name[0]; }
void APIENTRY noUniform1f(GLint, GLfloat) {}
void APIENTRY noUniformMatrix4fv(GLint, GLsizei, GLboolean, const GLfloat*) {}
void APIENTRY noBindVertexArray(GLuint) {}
void APIENTRY noDrawArrays(GLenum, GLint, GLsizei) {}

void pointGLAtNothing() {
    gl_api::glClear = noClear;
    gl_api::glDisable = noCap;
    gl_api::glEnable = noCap;
    gl_api::glUseProgram = noUseProgram;
    gl_api::glGetUniformLocation = noUniformLocation;
    gl_api::glUniform1f = noUniform1f;
    gl_api::glUniformMatrix4fv = noUniformMatrix4fv;
    gl_api::glBindVertexArray = noBindVertexArray;
    gl_api::glDrawArrays = noDrawArrays;
}

// Stands in for glfwGetTime: a clock that moves on with every reading.
double steppingClock() {
    static double now = 41.0;
    return now += 1e-6;
}

void sceneFrame(benchmark::State& state, void (*block)(Frame&), float t) {
    pointGLAtNothing();
    Resources res;
    SilentSoundEngine sound;
    bool musicCueFlag = true;
    Frame frame{t, res, steppingClock, sound, musicCueFlag};
    const unsigned long long before = gAllocations;
    for (auto _ : state) {
        block(frame);
        benchmark::ClobberMemory();
    }
    state.counters["allocs/frame"] =
        double(gAllocations - before) / double(state.iterations());
}

void BM_CubeWave2Frame(benchmark::State& state) { sceneFrame(state, cubeWave2, 45.5f); }
void BM_SlabWaveFrame(benchmark::State& state) { sceneFrame(state, slabWave, 270.0f); }
void BM_PillarRowFrame(benchmark::State& state) { sceneFrame(state, pillarRow, 100.0f); }

}  // namespace

BENCHMARK(BM_CubeWave2Frame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlabWaveFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PillarRowFrame)->Unit(benchmark::kMicrosecond);
