#include "progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

std::string clockText(double value) {
    const long total = std::lround(std::max(0.0, value));
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

Progress::Progress(long total)
    : total_(total), terminal_(isatty(STDERR_FILENO) != 0), start_(Clock::now()), lastPrint_(start_) {}

double Progress::elapsedSeconds() const { return seconds(Clock::now() - start_); }

void Progress::frameDone() {
    ++done_;
    // Redraw four times a second on a terminal, a log line every five seconds.
    const double every = terminal_ ? 0.25 : 5.0;
    if (seconds(Clock::now() - lastPrint_) >= every || done_ == total_) print(done_ == total_);
}

void Progress::print(bool final) {
    lastPrint_ = Clock::now();
    const double elapsed = elapsedSeconds();
    const double fps = elapsed > 0.0 ? static_cast<double>(done_) / elapsed : 0.0;
    const double left = fps > 0.0 ? static_cast<double>(total_ - done_) / fps : 0.0;
    std::fprintf(stderr, "%srecord: %5.1f%%  %ld/%ld frames  %.1f fps  %s left%s",
                 terminal_ ? "\r\033[K" : "", 100.0 * static_cast<double>(done_) / static_cast<double>(total_), done_,
                 total_, fps, clockText(left).c_str(), terminal_ && !final ? "" : "\n");
    std::fflush(stderr);
    drawn_ = terminal_ && !final;
}

void Progress::close() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}
