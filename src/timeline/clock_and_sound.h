#pragma once
// The two things a host lends the show's frames: the clock they read and the
// sound engine the music cues call. The chain sees them only through these
// interfaces; hosts include them through timeline/show_host.h.

// The show clock in seconds: glfwGetTime in the show, the page's clock in the
// browser, the transport in the studio, a scripted one offscreen and in tests.
// A frame reads it once at its top; the cube waves read it again for every
// cube, so each turns by a fresh reading.
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

// The sound engine as the timeline sees it: play a WAV by path (returning at
// once), looped or once, and silence everything.
class SoundEngine {
public:
    virtual ~SoundEngine() = default;
    virtual void play(const char* path, bool looped) = 0;
    virtual void stopAll() = 0;
    // Starts `path` `offset` seconds in (wrapped when looped; a track that
    // would be over by then stays silent), for a host that seeks. An engine
    // that cannot start part-way stays silent until the next cue.
    virtual void playFrom(const char* /*path*/, bool /*looped*/, double /*offset*/) {}
};

// An engine that plays nothing: for drawing frames where no sound is wanted
// (frame capture, timing runs, tests).
class SilentSoundEngine : public SoundEngine {
public:
    void play(const char*, bool) override {}
    void stopAll() override {}
};
