#pragma once
#include <SDL_mixer.h>

#include "timeline/music_cues.h"

// The show's sound engine on SDL2_mixer. The constructor opens the default
// audio device; when that fails (no sound card, no audio server) the engine is
// absent and play/stopAll do nothing, so the show runs silently.
//
// Tracks are streamed from disk: play() parses the WAV header and hands the
// stream to the mixer thread, so it returns at once. One track plays at a time;
// starting a new one halts and frees the previous one. Whatever is halted, by
// stopAll, play or close, fades out over 5 ms instead of stopping on a click;
// for that, the output runs 5 ms behind the mix.
//
// The show's engine is closed at process exit (an atexit handler). Its
// destructor does not touch SDL: the show's engine is a static, and static
// destruction order gives no guarantee about what is still usable at that
// point.
class SdlSoundEngine : public SoundEngine {
public:
    SdlSoundEngine();
    SdlSoundEngine(const SdlSoundEngine&) = delete;
    SdlSoundEngine& operator=(const SdlSoundEngine&) = delete;

    bool available() const { return open_; }
    void play(const char* path, bool looped) override;
    void playFrom(const char* path, bool looped, double offset) override;
    void stopAll() override;
    // Fades out what plays and waits (0.1 s at most) until the fade has gone
    // out to the device; from then on the engine is absent.
    void close();

private:
    bool open_ = false;
    Mix_Music* current_ = nullptr;  // the last track started, kept until the next play
};

// The show's engine, created during static initialisation (before main, so
// before the show clock starts).
extern SdlSoundEngine showSoundEngine;
