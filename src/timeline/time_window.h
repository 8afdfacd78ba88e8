#pragma once
#include <array>
#include <cstddef>
#include <limits>
#include <stdexcept>

// Open interval lo < t < hi of the show clock. A missing bound is infinite.
struct Interval {
    float lo = -std::numeric_limits<float>::infinity();
    float hi = std::numeric_limits<float>::infinity();

    constexpr bool contains(float t) const { return lo < t && t < hi; }
};

// A block's time window: one open interval or a union of several.
struct TimeWindow {
    static constexpr std::size_t kMaxIntervals = 7;
    std::array<Interval, kMaxIntervals> intervals{};
    std::size_t count = 0;

    constexpr bool contains(float t) const {
        for (std::size_t i = 0; i < count; ++i)
            if (intervals[i].contains(t)) return true;
        return false;
    }
};

// lo < t < hi
constexpr TimeWindow between(float lo, float hi) {
    TimeWindow w;
    w.intervals[0] = Interval{lo, hi};
    w.count = 1;
    return w;
}

// The window of one interval.
constexpr TimeWindow between(Interval interval) { return between(interval.lo, interval.hi); }

// t < hi
constexpr TimeWindow before(float hi) {
    return between(-std::numeric_limits<float>::infinity(), hi);
}

// t > lo
constexpr TimeWindow after(float lo) {
    return between(lo, std::numeric_limits<float>::infinity());
}

// Either window. Joining more than kMaxIntervals intervals throws, which in a
// constant expression (the chain's windows) stops the build instead.
constexpr TimeWindow operator|(TimeWindow a, const TimeWindow& b) {
    if (b.count > TimeWindow::kMaxIntervals - a.count)
        throw std::length_error("a time window holds at most TimeWindow::kMaxIntervals intervals");
    for (std::size_t i = 0; i < b.count; ++i) a.intervals[a.count++] = b.intervals[i];
    return a;
}
