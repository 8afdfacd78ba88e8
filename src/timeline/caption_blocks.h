#pragma once
#include "timeline/frame.h"

// The twelve caption blocks, in chain order. Each clears the colour buffer to
// its background and draws its strings; the chain calls each one only while
// its window holds the frame's t.
void openingTitle(Frame& frame);         // t < 9
void creditsCard(Frame& frame);          // 9 < t < 15
void phraseCaption(Frame& frame);        // 15 < t < 38
void greetingsTitle(Frame& frame);       // 39 < t < 53
void greetingsGravelmist(Frame& frame);  // 53 < t < 65
void greetingsBrambl(Frame& frame);      // 65 < t < 85
void greetingsTimbre(Frame& frame);      // 85 < t < 120
void greetingsSprig(Frame& frame);       // 120 < t < 155
void greetings8463(Frame& frame);        // 159 < t < 212
void greetingsGlimmertak(Frame& frame);  // 212 < t < 235
void greetingsVeska(Frame& frame);       // 235 < t < 256
void closingGreetings(Frame& frame);     // 259 < t < 294
