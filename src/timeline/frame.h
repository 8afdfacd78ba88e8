#pragma once
#include "timeline/music_cues.h"
#include "timeline/resources.h"

// The show clock in seconds: glfwGetTime in the show, the page's clock in the
// browser, a scripted one offscreen and in tests. A frame reads it once at its
// top; the cube waves read it again for every cube, so each turns by a fresh
// reading.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() = 0;
};

// A clock that reads whatever it was last set to.
class ScriptedClock : public Clock {
public:
    explicit ScriptedClock(double at = 0.0) : at(at) {}
    double now() override { return at; }
    double at;
};

// Everything a timeline block works with during one frame.
struct Frame {
    float t;                  // show clock, read once at the top of the frame
    const Resources& res;
    Clock& clock;
    SoundEngine& sound;
    bool& musicCueFlag;       // the only value one frame leaves for the next
    bool showEnded = false;   // set by the end-of-show link
};
