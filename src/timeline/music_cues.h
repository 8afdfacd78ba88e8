#pragma once
#include "show_facts.h"
#include "timeline/clock_and_sound.h"

// The two tracks the cues play: the looped one first, then the one played once.
inline constexpr const char* kFirstTrack = kShowTracks[0].path;
inline constexpr const char* kSecondTrack = kShowTracks[1].path;

// The second track cuts in on the first frame in the second after this.
inline constexpr float kTrackSwitchAt = 74.0f;

// The three music cues. `musicCueFlag` is true while the first track was the
// last one started; each cue flips it whether or not the sound started.
void musicCueStart(SoundEngine& engine, bool& musicCueFlag);            // first frame before 9 s
void musicCueSwitch(SoundEngine& engine, bool& musicCueFlag, float t);  // once inside 74 < t < 75
void musicCueReturn(SoundEngine& engine, bool& musicCueFlag);           // first frame after 257 s

// The cues as blocks of the chain, each on a link of its own just ahead of the
// block it sounds with. They make no GL call.
struct Frame;
void startMusic(Frame& frame);   // t < 9, ahead of the opening title
void switchMusic(Frame& frame);  // 65 < t < 85, ahead of the brambl greetings
void returnMusic(Frame& frame);  // 257 < t < 291, ahead of the slab wave
