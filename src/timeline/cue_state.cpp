#include "timeline/cue_state.h"

#include <cmath>

#include "timeline/chain.h"

std::vector<SoundEvent> cueEvents(double from, int fps, long first, long end) {
    SoundRecorder recorder;
    ScriptedClock clock;
    // The cue links read neither resources nor the clock.
    const Resources none;
    bool musicCueFlag = false;
    for (long k = first; k < end; ++k) {
        recorder.now = clock.at = from + static_cast<double>(k) / fps;
        Frame frame{static_cast<float>(recorder.now), none, clock, recorder, musicCueFlag};
        runCues(frame);
    }
    return std::move(recorder.events);
}

CueState cueStateAt(double t, int fps) {
    CueState state;
    if (!(t > 0.0)) return state;
    // The frames before t on its own grid, back to the show's start.
    const long first = -static_cast<long>(std::floor(t * fps + 1e-9));
    for (const SoundEvent& event : cueEvents(t, fps, first, 0)) {
        if (event.path.empty()) {
            state.tracks.clear();
            continue;
        }
        state.tracks.push_back({event.path, event.looped, t - event.t});
        state.musicCueFlag = event.path == kFirstTrack;
    }
    return state;
}
