// Frame cost per stretch, offscreen: renders the middle frame of every
// stretch of the timeline N times (default 5) on the private Xvfb, with
// glFinish before and after each, and prints the median wall milliseconds
// and the least CPU milliseconds of the process over all of llvmpipe's
// threads (on a shared machine the least disturbed run is the steadiest).
//   frame_cost [N] [t...]   (run from the run directory; t picks single times)
// Fast to iterate with; the real-time figures come from bench/frame_log.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "offscreen_show.h"
#include "render/gl.h"
#include "stretches.h"

namespace {

PFNGLFINISHPROC finish;

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Process CPU time, all threads together: llvmpipe draws on worker threads.
// On a shared machine it moves far less with the others' load than wall time.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

struct Cost {
    double wall;
    double cpu;
};

Cost frameCost(SilentHost& host, float t) {
    finish();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMilliseconds();
    host.draw(t, t);
    finish();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            cpuMilliseconds() - cpuStart};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<Stretch> stretches;
    for (int i = 2; i < argc; ++i) {
        const float t = std::strtof(argv[i], nullptr);
        stretches.push_back({t, t});
    }
    if (stretches.empty()) stretches = timelineStretches();

    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    finish = glExtras().glFinish;
    std::vector<double> medians;
    std::vector<double> cpuMedians;
    std::printf("%-17s %8s %8s %8s %8s\n", "stretch (s)", "t", "first", "median", "min cpu");
    for (const Stretch& s : stretches) {
        const float t = s.middle();
        // The first draw of a program compiles Mesa's variant: shown apart.
        const double first = frameCost(host, t).wall;
        std::vector<double> wall;
        std::vector<double> cpu;
        for (int r = 0; r < runs; ++r) {
            const Cost cost = frameCost(host, t);
            wall.push_back(cost.wall);
            cpu.push_back(cost.cpu);
        }
        medians.push_back(medianOf(wall));
        cpuMedians.push_back(*std::min_element(cpu.begin(), cpu.end()));
        std::printf("%7.1f - %-7.1f %8.2f %8.1f %8.1f %8.1f\n", s.lo, s.hi, t, first, medians.back(),
                    cpuMedians.back());
    }
    std::printf("wall ms: median of stretch medians %.1f, worst %.1f; least cpu ms: median %.1f, worst %.1f\n",
                medianOf(medians), *std::max_element(medians.begin(), medians.end()), medianOf(cpuMedians),
                *std::max_element(cpuMedians.begin(), cpuMedians.end()));
    return 0;
}
