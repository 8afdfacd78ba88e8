#pragma once
// The host seam: everything a program that plays the show's frames needs (the
// show, the browser, the studio, the offscreen renderer and what draws with
// it). This header brings all of it:
//   Clock, ScriptedClock           the show clock a host lends its frames
//   SoundEngine, SilentSoundEngine the engine the music cues call
//   CueState, cueStateAt           what the cues leave sounding at a time
//   ShowHost                       the frames themselves, below
// A host builds the resources (runtime/startup.h), lends a clock and an
// engine, calls drawFrame once a frame and presents what it drew; it never
// builds a Frame or runs the chain itself. Dependencies run one way: the
// chain, then the cue state (built on the chain's cue links), then the host.
#include "timeline/clock_and_sound.h"
#include "timeline/cue_state.h"
#include "timeline/resources.h"

// What lives across the show's frames: the resources, the sound engine, the
// clock and the music cue flag.
class ShowHost {
public:
    ShowHost(const Resources& res, SoundEngine& sound, Clock& clock) : res_(res), sound_(sound), clock_(clock) {}

    // One frame at the clock's reading: black clear, then the chain. Returns
    // true when the show has ended (t > 295): that frame must not be presented.
    bool drawFrame() { return drawFrameAt(static_cast<float>(clock_.now())); }
    // The same at a time the host chose; the cube waves still read the clock.
    bool drawFrameAt(float t);
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
