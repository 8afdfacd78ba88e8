#pragma once
// The recording's audio: what the live show would play over the same seconds.
// The cue links of the show's own chain run over the whole frame grid
// (skipped frames included), writing down each play and stop with its frame's
// time; the mixer then renders those events sample-exactly from the WAV tracks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "record_options.h"
#include "timeline/cue_state.h"
#include "wav_track.h"

// Runs the chain's cue links over every frame of the clip's grid from the
// first one at or after 0 s up to the clip's end, and returns the sound engine
// calls they made.
std::vector<SoundEvent> recordCueEvents(const RecordOptions& options);

// Renders the events, from the clip's first sample on, as interleaved 16-bit
// stereo at the tracks' rate. Sample n sounds at show time from + n / rate.
// What a stop silences fades out over its last 5 ms, as the show's engine
// plays it (which plays everything those 5 ms later).
class SoundtrackMixer {
public:
    // `tracks` maps each path the cues name to its opened file.
    SoundtrackMixer(std::vector<SoundEvent> events, double from,
                    std::vector<std::pair<std::string, const WavTrack*>> tracks);
    // Fills `frames` stereo sample frames and moves on.
    void mix(std::int16_t* out, std::size_t frames);

private:
    struct Voice {
        const WavTrack* track;
        long long start;  // output sample where its first sample sounds
        bool looped;
        long long end;    // output sample of the stop that silences it
    };
    struct Timed {
        long long at;  // output sample of the event
        SoundEvent event;
    };
    void apply(std::size_t index);

    std::vector<Timed> events_;
    std::size_t nextEvent_ = 0;
    std::vector<std::pair<std::string, const WavTrack*>> tracks_;
    std::vector<Voice> voices_;
    long long position_ = 0;
    long long fade_ = 0;  // frames of the fade before a stop
};
