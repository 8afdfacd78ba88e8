#include "timeline/chain.h"

#include "render/gl.h"

#include "timeline/caption_blocks.h"
#include "timeline/image_blocks.h"
#include "timeline/music_cues.h"
#include "timeline/scene_blocks.h"
#include "timeline/shared_with_glsl.h"

namespace {

void endOfShow(Frame& frame) { frame.showEnded = true; }

bool isCue(const ChainLink& link) {
    return link.block == startMusic || link.block == switchMusic || link.block == returnMusic;
}

}  // namespace

constexpr std::array<ChainLink, 28> kTimelineChain = {{
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
    // Scenes: at most one runs per frame, over the caption.
    {"cube wave 1", between(20, 30) | between(34, 41), cubeWave1},
    {"cube wave 2", between(41, 52), cubeWave2},
    {"slab ribbon", between(53, 65), slabRibbon},
    {"cube sweep", between(65, 85), cubeSweep},
    {"pillar row", between(85, 120), pillarRow},
    {"cube chain", between(133, 160), cubeChain},
    {"slab stack", between(167, 210), slabStack},
    {"rocking slabs", between(210, 226), rockingSlabs},
    {"tilting slabs", between(234, 254), tiltingSlabs},
    {"music: return", between(257, 291), returnMusic},
    {"slab wave", between(257, 291), slabWave},
    // Images over everything, then the end of the show. The picture windows
    // are shared with the image program.
    {"image overlay", imageOverlayWindow(), imageOverlay},
    {"end card", after(kEndCardStart), endCard},
    {"end of show", after(kShowEnd), endOfShow},
}};

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
