#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "timeline/caption_blocks.h"
#include "timeline/chain.h"
#include "timeline/scene_blocks.h"

namespace {

// The chain's caption and scene blocks; the other links are cues, images and the end.
const Block kCaptions[] = {openingTitle, creditsCard, phraseCaption, greetingsTitle,
                           greetingsGravelmist, greetingsBrambl, greetingsTimbre, greetingsSprig,
                           greetings8463, greetingsGlimmertak, greetingsVeska, closingGreetings};
const Block kScenes[] = {cubeWave1, cubeWave2, slabRibbon, cubeSweep, pillarRow,
                         cubeChain, slabStack, rockingSlabs, tiltingSlabs, slabWave};

template <std::size_t N>
bool oneOf(Block block, const Block (&blocks)[N]) {
    return std::find(std::begin(blocks), std::end(blocks), block) != std::end(blocks);
}

std::vector<std::string> linksAt(float t) {
    std::vector<std::string> names;
    for (const ChainLink& link : kTimelineChain)
        if (link.window.contains(t)) names.push_back(link.name);
    return names;
}

bool runs(const char* name, float t) {
    for (const ChainLink& link : kTimelineChain)
        if (std::string(link.name) == name) return link.window.contains(t);
    ADD_FAILURE() << "no link named " << name;
    return false;
}

}  // namespace

TEST(TimeWindow, OpenIntervalsExcludeTheirBounds) {
    TimeWindow w = between(9, 15);
    EXPECT_FALSE(w.contains(9.0f));
    EXPECT_TRUE(w.contains(9.0001f));
    EXPECT_TRUE(w.contains(14.999f));
    EXPECT_FALSE(w.contains(15.0f));
    EXPECT_TRUE(before(9).contains(-1000.0f));
    EXPECT_FALSE(before(9).contains(9.0f));
    EXPECT_TRUE(after(295).contains(1e9f));
    EXPECT_FALSE(after(295).contains(295.0f));
    TimeWindow either = between(20, 30) | between(34, 41);
    EXPECT_TRUE(either.contains(25.0f));
    EXPECT_FALSE(either.contains(30.0f));
    EXPECT_FALSE(either.contains(32.0f));
    EXPECT_FALSE(either.contains(34.0f));
    EXPECT_TRUE(either.contains(40.5f));
}

TEST(TimeWindow, JoiningMoreIntervalsThanItHoldsThrows) {
    TimeWindow full = between(0, 1);
    for (int i = 1; i < int(TimeWindow::kMaxIntervals); ++i) full = full | between(2.0f * i, 2.0f * i + 1);
    EXPECT_EQ(full.count, TimeWindow::kMaxIntervals);
    EXPECT_TRUE(full.contains(12.5f));
    EXPECT_THROW(full | after(100), std::length_error);
    EXPECT_THROW(between(0, 1) | full, std::length_error);
}

TEST(Chain, NoBlockRunsOnTheBoundOfItsWindow) {
    // Every bound of every window: the link that owns the bound does not run there,
    // while it does run just inside.
    for (const ChainLink& link : kTimelineChain)
        for (std::size_t i = 0; i < link.window.count; ++i) {
            const Interval& part = link.window.intervals[i];
            for (float bound : {part.lo, part.hi}) {
                if (std::isinf(bound)) continue;
                EXPECT_FALSE(link.window.contains(bound)) << link.name << " at " << bound;
                float inside = bound == part.lo ? std::nextafter(bound, part.hi) : std::nextafter(bound, part.lo);
                EXPECT_TRUE(link.window.contains(inside)) << link.name << " just inside " << bound;
            }
        }
    EXPECT_EQ(linksAt(9.0f), std::vector<std::string>{});
    EXPECT_EQ(linksAt(15.0f), std::vector<std::string>{});
    EXPECT_EQ(linksAt(41.0f), (std::vector<std::string>{"greetings title", "image overlay"}));
    EXPECT_EQ(linksAt(53.0f), std::vector<std::string>{"image overlay"});
    EXPECT_EQ(linksAt(65.0f), std::vector<std::string>{"image overlay"});
    EXPECT_EQ(linksAt(85.0f), std::vector<std::string>{});
    EXPECT_EQ(linksAt(120.0f), std::vector<std::string>{"image overlay"});
    EXPECT_EQ(linksAt(210.0f), std::vector<std::string>{"greetings: 8463"});
    EXPECT_EQ(linksAt(291.0f), (std::vector<std::string>{"closing greetings", "image overlay", "end card"}));
    EXPECT_EQ(linksAt(295.0f), (std::vector<std::string>{"image overlay", "end card"}));
}

TEST(Chain, GapsRunNoCaption) {
    for (float t : {38.0f, 38.5f, 39.0f, 155.0f, 157.0f, 159.0f, 256.0f, 258.0f, 259.0f, 294.0f, 300.0f})
        for (const ChainLink& link : kTimelineChain)
            EXPECT_FALSE(oneOf(link.block, kCaptions) && link.window.contains(t)) << link.name << " at " << t;
}

TEST(Chain, AtMostOneCaptionAndOneSceneAtATime) {
    for (float t = -1.0f; t < 300.0f; t += 0.25f) {
        int captions = 0;
        int scenes = 0;
        for (const ChainLink& link : kTimelineChain) {
            captions += oneOf(link.block, kCaptions) && link.window.contains(t);
            scenes += oneOf(link.block, kScenes) && link.window.contains(t);
        }
        EXPECT_LE(captions, 1) << t;
        EXPECT_LE(scenes, 1) << t;
    }
}

TEST(Chain, OrWindowsAndSingleBounds) {
    EXPECT_TRUE(runs("cube wave 1", 25.0f));
    EXPECT_FALSE(runs("cube wave 1", 32.0f));
    EXPECT_TRUE(runs("cube wave 1", 35.0f));
    EXPECT_TRUE(runs("opening title", 0.0f));
    EXPECT_TRUE(runs("opening title", 8.99f));
    for (float t : {17.5f, 26.0f, 34.9f, 45.0f, 60.0f, 70.0f, 115.0f, 215.0f, 285.0f, 1000.0f})
        EXPECT_TRUE(runs("image overlay", t)) << t;
    for (float t : {17.0f, 35.0f, 37.0f, 40.0f, 50.0f, 51.0f, 52.0f, 62.0f, 64.0f, 72.0f, 100.0f, 112.0f,
                    122.0f, 200.0f, 212.0f, 222.0f, 250.0f, 284.0f})
        EXPECT_FALSE(runs("image overlay", t)) << t;
    EXPECT_FALSE(runs("end card", 290.0f));
    EXPECT_TRUE(runs("end card", 290.01f));
    EXPECT_FALSE(runs("end of show", 295.0f));
    EXPECT_TRUE(runs("end of show", 295.01f));
}

TEST(Chain, RunsCaptionsThenScenesThenImagesWithinAFrame) {
    // t = 60: the caption, the scene and the image overlay all run, in that order.
    EXPECT_EQ(linksAt(60.0f),
              (std::vector<std::string>{"greetings: gravelmist", "slab ribbon", "image overlay"}));
    EXPECT_EQ(linksAt(292.0f), (std::vector<std::string>{"closing greetings", "image overlay", "end card"}));
    EXPECT_EQ(linksAt(296.0f), (std::vector<std::string>{"image overlay", "end card", "end of show"}));
    // Each music cue just ahead of the block it sounds with.
    EXPECT_EQ(linksAt(5.0f), (std::vector<std::string>{"music: first track", "opening title"}));
    EXPECT_EQ(linksAt(74.5f),
              (std::vector<std::string>{"music: track switch", "greetings: brambl", "cube sweep"}));
    EXPECT_EQ(linksAt(260.0f), (std::vector<std::string>{"closing greetings", "music: return", "slab wave"}));
}
