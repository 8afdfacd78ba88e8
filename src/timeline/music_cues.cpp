#include "timeline/music_cues.h"

#include "timeline/frame.h"

void musicCueStart(SoundEngine& engine, bool& musicCueFlag) {
    if (musicCueFlag) return;
    engine.play(kFirstTrack, kShowTracks[0].looped);
    musicCueFlag = true;
}

void musicCueSwitch(SoundEngine& engine, bool& musicCueFlag, float t) {
    if (!(t > kTrackSwitchAt && t < kTrackSwitchAt + 1.0f && musicCueFlag)) return;
    engine.stopAll();
    engine.play(kSecondTrack, kShowTracks[1].looped);
    musicCueFlag = false;
}

void musicCueReturn(SoundEngine& engine, bool& musicCueFlag) {
    if (musicCueFlag) return;
    engine.stopAll();
    engine.play(kFirstTrack, kShowTracks[0].looped);
    musicCueFlag = true;
}

void startMusic(Frame& frame) { musicCueStart(frame.sound, frame.musicCueFlag); }
void switchMusic(Frame& frame) { musicCueSwitch(frame.sound, frame.musicCueFlag, frame.t); }
void returnMusic(Frame& frame) { musicCueReturn(frame.sound, frame.musicCueFlag); }
