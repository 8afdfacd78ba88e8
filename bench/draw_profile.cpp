// Where a frame's time goes, offscreen: renders chosen frames N times
// (default 5) with a glFinish at every glClear and glUseProgram, and charges
// the time up to the next such call to the clear or the program that ran it,
// with its draw calls. Prints the least CPU milliseconds of each per frame
// (the process's, over all of llvmpipe's threads: on a shared machine it moves
// far less with the others' load than wall time), so the costly programs of a
// stretch show at a glance. The waits keep llvmpipe from overlapping one
// program's fill with the next one's and make each clear a pass of its own,
// so the sum runs over the frame's cost in frame_cost, the clears most.
//   draw_profile [N] t...   (run from the run directory; no t: every stretch)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "offscreen_show.h"
#include "render/gl.h"
#include "stretches.h"

namespace {

// Process CPU time, all threads together: llvmpipe draws on worker threads.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

PFNGLFINISHPROC finish;
PFNGLCLEARPROC realClear;
PFNGLUSEPROGRAMPROC realUseProgram;
PFNGLDRAWARRAYSPROC realDrawArrays;
PFNGLDRAWELEMENTSPROC realDrawElements;

std::map<unsigned, std::string> programNames;
std::string current = "frame start";
double since;
struct Spent {
    double ms = 0.0;
    int draws = 0;
};
std::map<std::string, Spent> spent;  // this frame's, by label

void charge(const std::string& next) {
    finish();
    const double now = cpuMilliseconds();
    spent[current].ms += now - since;
    current = next;
    since = now;
}

void APIENTRY clearCharged(GLbitfield mask) {
    charge(mask & GL_COLOR_BUFFER_BIT ? "clear colour" : "clear depth");
    realClear(mask);
}
void APIENTRY useProgramCharged(GLuint program) {
    charge(programNames.count(program) ? programNames[program] : "program ?");
    realUseProgram(program);
}
void APIENTRY drawArraysCounted(GLenum mode, GLint first, GLsizei count) {
    ++spent[current].draws;
    realDrawArrays(mode, first, count);
}
void APIENTRY drawElementsCounted(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    ++spent[current].draws;
    realDrawElements(mode, count, type, indices);
}

void nameProgramsOf(const Programs& p) {
    const std::pair<const Shader*, const char*> all[] = {
        {&p.demo6pt1, "demo6pt1"},     {&p.demo6pt3, "demo6pt3"},   {&p.demo6pt3_2, "demo6pt3-2"},
        {&p.demo6pt4, "demo6pt4"},     {&p.demo6pt51, "demo6pt51"}, {&p.demo6pt61, "demo6pt61"},
        {&p.demo6pt62, "demo6pt62"},   {&p.demo6pt71, "demo6pt71"}, {&p.demo6pt72, "demo6pt72"},
        {&p.demo6pt91, "demo6pt91"},   {&p.demo6pt92, "demo6pt92"}, {&p.demo6ptA1, "demo6ptA1"},
        {&p.demo6ptA2, "demo6ptA2"},   {&p.demo6ptB1, "demo6ptB1"}, {&p.demo6ptB2, "demo6ptB2"},
        {&p.demo6ptC1, "demo6ptC1"},   {&p.demo6ptC2, "demo6ptC2"}, {&p.demo6ptD1, "demo6ptD1"},
        {&p.demo6ptD2, "demo6ptD2"},   {&p.demo6ptE1, "demo6ptE1"}, {&p.demo6ptE2, "demo6ptE2"},
        {&p.demo6image, "demo6image"}};
    for (const auto& [shader, name] : all) programNames[shader->ID] = name;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<float> times;
    for (int i = 2; i < argc; ++i) times.push_back(std::strtof(argv[i], nullptr));
    if (times.empty())
        for (const Stretch& s : timelineStretches()) times.push_back(s.middle());

    OffscreenShow& show = OffscreenShow::instance();
    nameProgramsOf(show.resources().programs);
    SilentHost host(show);
    finish = glExtras().glFinish;
    realClear = std::exchange(gl_api::glClear, clearCharged);
    realUseProgram = std::exchange(gl_api::glUseProgram, useProgramCharged);
    realDrawArrays = std::exchange(gl_api::glDrawArrays, drawArraysCounted);
    realDrawElements = std::exchange(gl_api::glDrawElements, drawElementsCounted);

    for (float t : times) {
        std::map<std::string, std::vector<double>> ms;
        std::map<std::string, int> draws;
        std::vector<double> totals;
        for (int r = 0; r <= runs; ++r) {  // the first run compiles Mesa's variants: left out
            spent.clear();
            current = "frame start";
            finish();
            const double start = cpuMilliseconds();
            since = start;
            host.draw(t, t);
            charge("frame end");
            if (r == 0) continue;
            totals.push_back(since - start);
            for (const auto& [label, s] : spent) {
                ms[label].push_back(s.ms);
                draws[label] = s.draws;
            }
        }
        std::printf("t = %.2f s: %.2f ms\n", t, *std::min_element(totals.begin(), totals.end()));
        std::vector<std::pair<double, std::string>> rows;
        for (const auto& [label, v] : ms) rows.push_back({*std::min_element(v.begin(), v.end()), label});
        std::sort(rows.rbegin(), rows.rend());
        for (const auto& [m, label] : rows)
            if (m >= 0.05) std::printf("  %-14s %7.2f ms %5d draws\n", label.c_str(), m, draws[label]);
    }
    return 0;
}
