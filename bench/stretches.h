#pragma once
// The stretches of the timeline: the spans between consecutive window bounds
// of the chain, inside which the same blocks run on every frame.
#include <vector>

#include "timeline/chain.h"

struct Stretch {
    float lo;
    float hi;
    float middle() const { return 0.5f * (lo + hi); }
};

inline std::vector<Stretch> timelineStretches() {
    const std::vector<float>& bounds = chainBounds();
    std::vector<Stretch> stretches;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) stretches.push_back({bounds[i], bounds[i + 1]});
    return stretches;
}
