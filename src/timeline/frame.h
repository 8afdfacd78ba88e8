#pragma once
#include "timeline/music_cues.h"
#include "timeline/resources.h"

// A second reading of the show clock in seconds (glfwGetTime in the show, a
// scripted clock in tests). The cube waves turn each cube by a fresh reading.
using Clock = double (*)();

// Everything a timeline block works with during one frame.
struct Frame {
    float t;                  // show clock, read once at the top of the frame
    const Resources& res;
    Clock clock;
    SoundEngine& sound;
    bool& musicCueFlag;       // the only value one frame leaves for the next
    bool showEnded = false;   // set by the end-of-show link
};
