#pragma once
#include "timeline/music_cues.h"

// Placeholder until the SDL2_mixer engine lands: plays nothing.
class SdlSoundEngine : public SoundEngine {
public:
    void play(const char*, bool) override {}
    void stopAll() override {}
};

// The show's engine, created during static initialisation.
extern SdlSoundEngine showSoundEngine;
