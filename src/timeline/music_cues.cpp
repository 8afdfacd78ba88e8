#include "timeline/music_cues.h"

#include "timeline/frame.h"

void musicCueStart(SoundEngine& engine, bool& musicCueFlag) {
    if (musicCueFlag) return;
    engine.play(kFirstTrack, true);
    musicCueFlag = true;
}

void musicCueSwitch(SoundEngine& engine, bool& musicCueFlag, float t) {
    if (!(t > 74.0f && t < 75.0f && musicCueFlag)) return;
    engine.stopAll();
    engine.play(kSecondTrack, false);
    musicCueFlag = false;
}

void musicCueReturn(SoundEngine& engine, bool& musicCueFlag) {
    if (musicCueFlag) return;
    engine.stopAll();
    engine.play(kFirstTrack, true);
    musicCueFlag = true;
}

void startMusic(Frame& frame) { musicCueStart(frame.sound, frame.musicCueFlag); }
void switchMusic(Frame& frame) { musicCueSwitch(frame.sound, frame.musicCueFlag, frame.t); }
void returnMusic(Frame& frame) { musicCueReturn(frame.sound, frame.musicCueFlag); }
