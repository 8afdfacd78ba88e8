#include "runtime/sdl_sound_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSamples = 1024;  // about 23 ms per mixer callback

// At process exit the mixer thread may still be reading a track through stdio
// while the C library tears its streams down; halting the music first keeps
// that thread off the file. SDL itself is never torn down, so this is safe.
void haltMusicAtExit() { Mix_HaltMusic(); }

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// While SDL looks for a device, the ALSA library reports every card it does
// not find on standard error (8 lines on a machine without one). SDL links
// that same library, so its report handler can be swapped out around the
// search; SDL's own error says what went wrong. Afterwards ALSA reports again.
class AlsaQuiet {
public:
    AlsaQuiet() { snd_lib_error_set_handler(ignoreAlsaError); }
    ~AlsaQuiet() { snd_lib_error_set_handler(nullptr); }
    AlsaQuiet(const AlsaQuiet&) = delete;
    AlsaQuiet& operator=(const AlsaQuiet&) = delete;
};

// Standard output carries only the show's own messages: this goes to stderr.
void reportNoDevice() {
    std::fprintf(stderr, "No sound device (%s): the show plays silently.\n", SDL_GetError());
}

// Opens the default audio device; when none opens, says why.
bool openDevice() {
    AlsaQuiet quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reportNoDevice();
        return false;
    }
    if (Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples) != 0) {
        reportNoDevice();  // before SDL's error can be overwritten
        // Give the subsystem back so that a later engine may try again (with
        // another driver, say).
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

SdlSoundEngine::SdlSoundEngine() {
    // SDL's audio brings its event subsystem along, which by default turns
    // SIGINT and SIGTERM into quit events; the show never reads SDL events, so
    // it would no longer stop on Ctrl-C or kill. Leave the signals alone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!openDevice()) return;
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
