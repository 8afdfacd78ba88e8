#pragma once
#include <limits>

#include "timeline/frame.h"
#include "timeline/shared_with_glsl.h"
#include "timeline/time_window.h"

// The image overlay (at most one of the eight images over captions and
// scenes) and the end card (the "maybe" image once more after 290 s).
void imageOverlay(Frame& frame);
void endCard(Frame& frame);

// The overlay's window in the chain: the picture windows, those that touch
// joined into one (so it also runs at 26 s exactly, with no picture bound),
// and the last left open, so that it runs on past the end of the show.
constexpr TimeWindow imageOverlayWindow() {
    TimeWindow window;
    for (const Interval& picture : kImageWindows) {
        if (window.count > 0 && window.intervals[window.count - 1].hi == picture.lo)
            window.intervals[window.count - 1].hi = picture.hi;
        else
            window = window | between(picture.lo, picture.hi);
    }
    window.intervals[window.count - 1].hi = std::numeric_limits<float>::infinity();
    return window;
}
