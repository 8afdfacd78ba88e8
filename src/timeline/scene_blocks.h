#pragma once
#include "timeline/frame.h"

// The ten scene blocks, in chain order. Each clears only the depth buffer and
// draws instances of the cube mesh over the caption of the same frame.
void cubeWave1(Frame& frame);     // 20 < t < 30 or 34 < t < 41
void cubeWave2(Frame& frame);     // 41 < t < 52
void slabRibbon(Frame& frame);    // 53 < t < 65
void cubeSweep(Frame& frame);     // 65 < t < 85
void pillarRow(Frame& frame);     // 85 < t < 120
void cubeChain(Frame& frame);     // 133 < t < 160
void slabStack(Frame& frame);     // 167 < t < 210
void rockingSlabs(Frame& frame);  // 210 < t < 226
void tiltingSlabs(Frame& frame);  // 234 < t < 254
void slabWave(Frame& frame);      // 257 < t < 291
