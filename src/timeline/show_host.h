#pragma once
// What lives across the show's frames, for every program that runs them (the
// show, the browser, the offscreen renderer, the recorder's soundtrack, the
// studio): the resources, the sound engine, the clock and the music cue flag.
// A host gives it a clock and presents what it draws; it never builds a Frame.
#include "timeline/frame.h"

class ShowHost {
public:
    ShowHost(const Resources& res, SoundEngine& sound, Clock& clock) : res_(res), sound_(sound), clock_(clock) {}

    // One frame at the clock's reading: black clear, then the chain. Returns
    // true when the show has ended (t > 295): that frame must not be presented.
    bool drawFrame() { return drawFrameAt(static_cast<float>(clock_.now())); }
    // The same at a time the host chose; the cube waves still read the clock.
    bool drawFrameAt(float t);
    // Only the cue links at t: what that frame does to the sound, no GL call.
    void runCuesAt(float t);
    // Puts the music where the cues would have it at t (see cueStateAt): stops
    // everything, then starts what would still sound, from its offset.
    void seekMusic(double t);

    bool musicCueFlag() const { return musicCueFlag_; }

private:
    const Resources& res_;
    SoundEngine& sound_;
    Clock& clock_;
    bool musicCueFlag_ = false;  // the only value one frame leaves for the next
};
