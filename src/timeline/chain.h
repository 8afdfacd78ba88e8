#pragma once
#include <array>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "timeline/caption_blocks.h"
#include "timeline/frame.h"
#include "timeline/image_blocks.h"
#include "timeline/music_cues.h"
#include "timeline/scene_blocks.h"
#include "timeline/shared_with_glsl.h"
#include "timeline/time_window.h"

using Block = void (*)(Frame& frame);

struct ChainLink {
    const char* name;
    TimeWindow window;
    Block block;
};

// Marks the frame as past the end of the show.
void endOfShow(Frame& frame);

// Every block of the show with its window, in the order a frame runs them.
// Defined constexpr, so a window that cannot be built stops the build.
inline constexpr std::array<ChainLink, 28> kTimelineChain = {{
    // The music cues have links of their own, just ahead of the blocks they
    // sound with. Captions: at most one runs per frame.
    {"music: first track", before(kCreditsStart), startMusic},
    {"opening title", before(kCreditsStart), openingTitle},
    {"credits card", between(kCreditsStart, 15), creditsCard},
    {"phrase", between(15, 38), phraseCaption},
    {"greetings title", between(39, 53), greetingsTitle},
    {"greetings: gravelmist", between(53, 65), greetingsGravelmist},
    {"music: track switch", between(65, 85), switchMusic},
    {"greetings: brambl", between(65, 85), greetingsBrambl},
    {"greetings: timbre", between(85, 120), greetingsTimbre},
    {"greetings: sprig", between(120, 155), greetingsSprig},
    {"greetings: 8463", between(159, 212), greetings8463},
    {"greetings: glimmertak", between(212, 235), greetingsGlimmertak},
    {"greetings: veska", between(235, 256), greetingsVeska},
    {"closing greetings", between(259, 294), closingGreetings},
    // Scenes: at most one runs per frame, over the caption. Their windows are
    // shared with the scene programs.
    {"cube wave 1", between(kCubeWave1Windows[0]) | between(kCubeWave1Windows[1]), cubeWave1},
    {"cube wave 2", between(kCubeWave2Window), cubeWave2},
    {"slab ribbon", between(kSlabRibbonWindow), slabRibbon},
    {"cube sweep", between(kCubeSweepWindow), cubeSweep},
    {"pillar row", between(kPillarRowWindow), pillarRow},
    {"cube chain", between(kCubeChainWindow), cubeChain},
    {"slab stack", between(kSlabStackWindow), slabStack},
    {"rocking slabs", between(kRockingSlabsWindow), rockingSlabs},
    {"tilting slabs", between(kTiltingSlabsWindow), tiltingSlabs},
    {"music: return", between(257, 291), returnMusic},
    {"slab wave", between(kSlabWaveWindow), slabWave},
    // Images over everything, then the end of the show. The picture windows
    // are shared with the image program.
    {"image overlay", imageOverlayWindow(), imageOverlay},
    {"end card", after(kEndCardStart), endCard},
    {"end of show", after(kShowEnd), endOfShow},
}};

// Every finite bound of the chain's windows inside the show, with 0 and the
// show's end, sorted, each once: the times where the set of running blocks
// can change.
const std::vector<float>& chainBounds();

// The start of the window of the link named `name`: where its block's local
// time counts from. Evaluated while compiling, so a name that is not in the
// chain, or a link without a single window with a lower bound, stops the
// build. (Links are found by name, not by block: GCC's null-pointer
// sanitizer cannot fold a comparison of two functions' addresses while
// compiling.)
consteval float windowStart(std::string_view name) {
    for (const ChainLink& link : kTimelineChain)
        if (link.name == name) {
            if (link.window.count != 1 || link.window.intervals[0].lo == -std::numeric_limits<float>::infinity())
                throw std::logic_error("a block's local time needs one window with a lower bound");
            return link.window.intervals[0].lo;
        }
    throw std::logic_error("no link of the chain has this name");
}

// Runs every link whose window holds frame.t, in chain order. Returns true
// when the show has ended (t > 295): that frame must not be presented.
bool runTimeline(Frame& frame);

// Runs only the music cue links whose window holds frame.t, in chain order:
// what the frame does to the sound, with no GL call at all.
void runCues(Frame& frame);

// One frame's drawing: clears the colour buffer to opaque black, then runs
// the chain. Returns true when the show has ended. Hosts reach it through
// ShowHost::drawFrame.
bool clearAndRunTimeline(Frame& frame);
