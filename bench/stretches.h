#pragma once
// The stretches of the timeline: the spans between consecutive window bounds
// of the chain, inside which the same blocks run on every frame.
#include <algorithm>
#include <cmath>
#include <vector>

#include "show_facts.h"
#include "timeline/chain.h"

struct Stretch {
    float lo;
    float hi;
    float middle() const { return 0.5f * (lo + hi); }
};

inline std::vector<Stretch> timelineStretches(float showEnd = kShowEnd) {
    std::vector<float> bounds{0.0f, showEnd};
    for (const ChainLink& link : kTimelineChain)
        for (std::size_t i = 0; i < link.window.count; ++i)
            for (float b : {link.window.intervals[i].lo, link.window.intervals[i].hi})
                if (std::isfinite(b) && b > 0.0f && b < showEnd) bounds.push_back(b);
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    std::vector<Stretch> stretches;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) stretches.push_back({bounds[i], bounds[i + 1]});
    return stretches;
}
