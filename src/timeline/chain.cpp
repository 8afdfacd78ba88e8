#include "timeline/chain.h"

#include <algorithm>
#include <cmath>

#include "render/gl.h"

namespace {

bool isCue(const ChainLink& link) {
    return link.block == startMusic || link.block == switchMusic || link.block == returnMusic;
}

}  // namespace

void endOfShow(Frame& frame) { frame.showEnded = true; }

const std::vector<float>& chainBounds() {
    static const std::vector<float> bounds = [] {
        std::vector<float> all{0.0f, kShowEnd};
        for (const ChainLink& link : kTimelineChain)
            for (std::size_t i = 0; i < link.window.count; ++i)
                for (float bound : {link.window.intervals[i].lo, link.window.intervals[i].hi})
                    if (std::isfinite(bound) && bound > 0.0f && bound < kShowEnd) all.push_back(bound);
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return bounds;
}

bool runTimeline(Frame& frame) {
    for (const ChainLink& link : kTimelineChain)
        if (link.window.contains(frame.t)) link.block(frame);
    return frame.showEnded;
}

void runCues(Frame& frame) {
    for (const ChainLink& link : kTimelineChain)
        if (isCue(link) && link.window.contains(frame.t)) link.block(frame);
}

bool clearAndRunTimeline(Frame& frame) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return runTimeline(frame);
}
