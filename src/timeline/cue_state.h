#pragma once
// What the music cues leave sounding: the sound engine calls the chain's cue
// links make over a grid of frames, and from them what plays at a given time
// and from which offset (what a seek or a deep link starts with, and what the
// recorder mixes). Built on the chain alone: no host is involved.
#include <optional>
#include <string>
#include <vector>

#include "timeline/clock_and_sound.h"

struct SoundEvent {
    double t;          // show time of the frame that made the call
    std::string path;  // empty for a stop-all
    bool looped = false;
    std::optional<double> from = std::nullopt;  // the offset of a playFrom; none for a play from the start
    bool operator==(const SoundEvent&) const = default;
};

// A sound engine that writes down every call made to it, stamped with `now`:
// what the cue pass runs the cue links against, and the tests' fake engine.
class SoundRecorder : public SoundEngine {
public:
    void play(const char* path, bool looped) override { events.push_back({now, path, looped}); }
    void playFrom(const char* path, bool looped, double offset) override {
        events.push_back({now, path, looped, offset});
    }
    void stopAll() override { events.push_back({now, "", false}); }

    double now = 0.0;
    std::vector<SoundEvent> events;
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
