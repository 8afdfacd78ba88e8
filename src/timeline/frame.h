#pragma once
#include "timeline/clock_and_sound.h"
#include "timeline/resources.h"

// Everything a timeline block works with during one frame.
struct Frame {
    float t;                  // show clock, read once at the top of the frame
    const Resources& res;
    Clock& clock;
    SoundEngine& sound;
    bool& musicCueFlag;       // the only value one frame leaves for the next
    bool showEnded = false;   // set by the end-of-show link
};
