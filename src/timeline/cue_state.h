#pragma once
// What the music cues leave sounding: the sound engine calls the chain's cue
// links make over a grid of frames, and from them what plays at a given time
// and from which offset (what a seek or a deep link starts with, and what the
// recorder mixes).
#include <string>
#include <vector>

struct SoundEvent {
    double t;          // show time of the frame that made the call
    std::string path;  // empty for a stop-all
    bool looped = false;
};

// Runs the cue links, which make no GL call, over the frames k = first ..
// end - 1 at t = from + k / fps, and returns the calls they made in order.
std::vector<SoundEvent> cueEvents(double from, int fps, long first, long end);

struct SoundingTrack {
    std::string path;  // as the cues name it
    bool looped = false;
    double offset = 0.0;  // seconds into the track (before wrapping a looped one)
};

struct CueState {
    std::vector<SoundingTrack> tracks;  // started after the last stop-all
    bool musicCueFlag = false;          // true when the first track was the last started
};

// What is still sounding at `t`, for a show that ran every frame at `fps`
// from 0 s up to (not including) `t`.
CueState cueStateAt(double t, int fps = 60);
