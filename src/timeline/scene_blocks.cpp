// Placeholder until the scene blocks land.
#include "timeline/scene_blocks.h"

void cubeWave1(Frame&) {}
void cubeWave2(Frame&) {}
void slabRibbon(Frame&) {}
void cubeSweep(Frame&) {}
void pillarRow(Frame&) {}
void cubeChain(Frame&) {}
void slabStack(Frame&) {}
void rockingSlabs(Frame&) {}
void tiltingSlabs(Frame&) {}
void slabWave(Frame& frame) { musicCueReturn(frame.sound, frame.musicCueFlag); }
