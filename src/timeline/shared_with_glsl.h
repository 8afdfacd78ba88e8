#pragma once
// The values that the GLSL programs use as well as the timeline. The build
// writes them into the GLSL module timeline.glsl (tools/glsl/), which the
// programs include, so each value is written only here. The end of the show,
// kShowEnd, is one of them; it lives with the show's other facts.
#include "show_facts.h"
#include "timeline/time_window.h"

// When each picture of the image overlay shows, in the order they come. The
// programs fade each picture in and out at the ends of its window.
inline constexpr Interval kImageWindows[] = {
    {17.0f, 26.0f},  {26.0f, 35.0f},   {40.0f, 50.0f},   {52.0f, 62.0f},
    {64.0f, 72.0f},  {112.0f, 122.0f}, {212.0f, 222.0f}, {284.0f, kShowEnd},
};

// When each scene shows: its block's window in the chain. The scene programs
// grow their boxes in over the first half second of the window and away
// over the last. The first cube wave shows twice.
inline constexpr Interval kCubeWave1Windows[] = {{20.0f, 30.0f}, {34.0f, 41.0f}};
inline constexpr Interval kCubeWave2Window{41.0f, 52.0f};
inline constexpr Interval kSlabRibbonWindow{53.0f, 65.0f};
inline constexpr Interval kCubeSweepWindow{65.0f, 85.0f};
inline constexpr Interval kPillarRowWindow{85.0f, 120.0f};
inline constexpr Interval kCubeChainWindow{133.0f, 160.0f};
inline constexpr Interval kSlabStackWindow{167.0f, 210.0f};
inline constexpr Interval kRockingSlabsWindow{210.0f, 226.0f};
inline constexpr Interval kTiltingSlabsWindow{234.0f, 254.0f};
inline constexpr Interval kSlabWaveWindow{257.0f, 291.0f};

// The end card, the "maybe" picture once more, shows from here to the end.
inline constexpr float kEndCardStart = 290.0f;

// The credits card follows the opening title from here, and draws its caption
// at this scale (the two share one text program).
inline constexpr float kCreditsStart = 9.0f;
inline constexpr float kCreditsScale = 0.77f;

// The slabs' size in world units (the cube mesh is a unit cube).
struct SlabSize {
    float x, y, z;
};
inline constexpr SlabSize kSlabSize{10.5f, 15.0f, 2.5f};

// Slab k of a stack stands at x = kSlabStepX k + ..., y = sin(kSlabRiseRate k)
// + ...: the step from each slab to the next. Taken in double by the scenes.
inline constexpr double kSlabStepX = 0.1;
inline constexpr double kSlabRiseRate = 0.4;

// How many slabs the slab stacks (stack, rocking, tilting) and the slab wave draw.
inline constexpr int kStackSlabs = 11;
inline constexpr int kWaveSlabs = 21;
