// Reads a per-frame log ("<show time> <milliseconds>" per line, as the swap
// shim writes it) and prints, per stretch of the timeline, the frame count,
// median and p90 cost and the spikes: frames that cost more than twice both
// their neighbours. Ends with the whole show's median and spike count.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "stretches.h"

namespace {

struct LoggedFrame {
    double t;
    double ms;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * double(v.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: frame_log_table <frame log>\n");
        return 1;
    }
    std::ifstream in(argv[1]);
    std::vector<LoggedFrame> frames;
    for (LoggedFrame f; in >> f.t >> f.ms;) frames.push_back(f);
    if (frames.size() < 3) {
        std::fprintf(stderr, "frame_log_table: too few frames in %s\n", argv[1]);
        return 1;
    }
    std::vector<bool> spike(frames.size(), false);
    for (std::size_t i = 1; i + 1 < frames.size(); ++i)
        spike[i] = frames[i].ms > 2.0 * frames[i - 1].ms && frames[i].ms > 2.0 * frames[i + 1].ms;

    std::printf("%-17s %7s %8s %8s %7s\n", "stretch (s)", "frames", "median", "p90", "spikes");
    int over = 0;
    for (const Stretch& s : timelineStretches()) {
        std::vector<double> ms;
        int spikes = 0;
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i].t >= s.lo && frames[i].t < s.hi) {
                ms.push_back(frames[i].ms);
                spikes += spike[i];
            }
        const double p90 = percentile(ms, 0.9);
        over += p90 > 33.0;
        std::printf("%7.1f - %-7.1f %7zu %8.1f %8.1f %7d%s\n", s.lo, s.hi, ms.size(), percentile(ms, 0.5), p90,
                    spikes, p90 > 33.0 ? "  p90 > 33 ms" : "");
    }
    std::vector<double> all;
    for (const LoggedFrame& f : frames) all.push_back(f.ms);
    std::printf("whole show: %zu frames, median %.1f ms, p90 %.1f ms, %d stretches with p90 > 33 ms\n",
                frames.size(), percentile(all, 0.5), percentile(all, 0.9), over);
    // Spikes among frames of a few milliseconds are scheduling noise nobody
    // sees; those that also miss a 30 fps frame are counted apart.
    long visible = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) visible += spike[i] && frames[i].ms > 33.0;
    std::printf("spikes (more than twice both neighbours): %ld, of which %ld above 33 ms\n",
                static_cast<long>(std::count(spike.begin(), spike.end(), true)), visible);
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (spike[i])
            std::printf("  t %.2f s: %.1f ms (neighbours %.1f, %.1f)\n", frames[i].t, frames[i].ms, frames[i - 1].ms,
                        frames[i + 1].ms);
    return 0;
}
