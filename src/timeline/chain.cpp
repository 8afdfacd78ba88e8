#include "timeline/chain.h"

#include "render/gl.h"

namespace {

bool isCue(const ChainLink& link) {
    return link.block == startMusic || link.block == switchMusic || link.block == returnMusic;
}

}  // namespace

void endOfShow(Frame& frame) { frame.showEnded = true; }

bool runTimeline(Frame& frame) {
    for (const ChainLink& link : kTimelineChain)
        if (link.window.contains(frame.t)) link.block(frame);
    return frame.showEnded;
}

void runCues(Frame& frame) {
    for (const ChainLink& link : kTimelineChain)
        if (isCue(link) && link.window.contains(frame.t)) link.block(frame);
}

bool drawFrame(Frame& frame) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return runTimeline(frame);
}
