#include "runtime/sdl_sound_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSamples = 1024;  // about 23 ms per mixer callback

// At process exit the mixer thread may still be reading a track through stdio
// while the C library tears its streams down; halting the music first keeps
// that thread off the file. SDL itself is never torn down, so this is safe.
void haltMusicAtExit() { Mix_HaltMusic(); }

}  // namespace

SdlSoundEngine::SdlSoundEngine() {
    // SDL's audio brings its event subsystem along, which by default turns
    // SIGINT and SIGTERM into quit events; the show never reads SDL events, so
    // it would no longer stop on Ctrl-C or kill. Leave the signals alone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    if (Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples) != 0) {
        // Give the subsystem back so that a later engine may try again (with
        // another driver, say).
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    open_ = true;
    std::atexit(haltMusicAtExit);
}

void SdlSoundEngine::play(const char* path, bool looped) {
    if (!open_) return;
    // Only one track plays at a time: the previous one is halted before it is
    // freed, so the mixer thread never reads a freed stream.
    if (current_ != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(current_);
        current_ = nullptr;
    }
    // A missing or unreadable file gives no music: the show goes on silently.
    current_ = Mix_LoadMUS(path);
    if (current_ == nullptr) return;
    if (Mix_PlayMusic(current_, looped ? -1 : 1) != 0) {
        Mix_FreeMusic(current_);
        current_ = nullptr;
    }
}

void SdlSoundEngine::stopAll() {
    if (!open_) return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
}

SdlSoundEngine showSoundEngine;
