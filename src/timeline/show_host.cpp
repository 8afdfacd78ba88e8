#include "timeline/show_host.h"

#include "timeline/chain.h"

bool ShowHost::drawFrameAt(float t) {
    Frame frame{t, res_, clock_, sound_, musicCueFlag_};
    return clearAndRunTimeline(frame);
}

void ShowHost::seekMusic(double t) {
    const CueState state = cueStateAt(t);
    sound_.stopAll();
    for (const SoundingTrack& track : state.tracks) sound_.playFrom(track.path.c_str(), track.looped, track.offset);
    musicCueFlag_ = state.musicCueFlag;
}
