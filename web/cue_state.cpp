#include "cue_state.h"

#include "record_options.h"
#include "soundtrack.h"
#include "timeline/music_cues.h"

CueState cueStateAt(double t, const Resources& resources, int fps) {
    CueState state;
    if (!(t > 0.0)) return state;
    RecordOptions options;
    options.from = t;
    options.to = t;  // no frame of the clip itself: only those before it
    options.fps = fps;
    for (const SoundEvent& event : recordCueEvents(options, resources)) {
        if (event.path.empty()) {
            state.tracks.clear();
            continue;
        }
        state.tracks.push_back({event.path, event.looped, t - event.t});
        state.musicCueFlag = event.path == kFirstTrack;
    }
    return state;
}
