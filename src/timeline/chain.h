#pragma once
#include <array>

#include "timeline/frame.h"
#include "timeline/time_window.h"

using Block = void (*)(Frame& frame);

struct ChainLink {
    const char* name;
    TimeWindow window;
    Block block;
};

// Every block of the show with its window, in the order a frame runs them.
// Defined constexpr, so a window that cannot be built stops the build.
extern const std::array<ChainLink, 28> kTimelineChain;

// Runs every link whose window holds frame.t, in chain order. Returns true
// when the show has ended (t > 295): that frame must not be presented.
bool runTimeline(Frame& frame);

// Runs only the music cue links whose window holds frame.t, in chain order:
// what the frame does to the sound, with no GL call at all.
void runCues(Frame& frame);

// One frame's drawing: clears the colour buffer to opaque black, then runs
// the chain. Returns true when the show has ended.
bool drawFrame(Frame& frame);
