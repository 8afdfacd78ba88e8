#pragma once
// The music where the show would have it at a given time: what a deep link
// (#t=SECONDS) starts with.
#include <string>
#include <vector>

#include "timeline/resources.h"

struct SoundingTrack {
    std::string path;  // as the cues name it
    bool looped = false;
    double offset = 0.0;  // seconds into the track (before wrapping a looped one)
};

struct CueState {
    std::vector<SoundingTrack> tracks;  // started after the last stop-all
    bool musicCueFlag = false;          // true when the first track was the last started
};

// Runs the recorder's cue pass over the frames from 0 s up to (not including)
// `t` at `fps` and works out what is still sounding at `t`. Needs the built
// resources.
CueState cueStateAt(double t, const Resources& resources, int fps = 60);
