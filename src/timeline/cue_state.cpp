#include "timeline/cue_state.h"

#include <cmath>

#include "timeline/show_host.h"

namespace {

// A sound engine that writes down what the cues ask of it.
class CueRecorder : public SoundEngine {
public:
    explicit CueRecorder(std::vector<SoundEvent>& events) : events_(events) {}
    void play(const char* path, bool looped) override { events_.push_back({now, path, looped}); }
    void stopAll() override { events_.push_back({now, "", false}); }
    double now = 0.0;

private:
    std::vector<SoundEvent>& events_;
};

}  // namespace

std::vector<SoundEvent> cueEvents(double from, int fps, long first, long end) {
    std::vector<SoundEvent> events;
    CueRecorder recorder(events);
    ScriptedClock clock;
    // The cue links read neither resources nor the clock.
    const Resources none;
    ShowHost host(none, recorder, clock);
    for (long k = first; k < end; ++k) {
        recorder.now = clock.at = from + static_cast<double>(k) / fps;
        host.runCuesAt(static_cast<float>(recorder.now));
    }
    return events;
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
