#include "runtime/sdl_sound_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#ifdef __linux__
#include <alsa/asoundlib.h>
#endif

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/declick.h"
#include "show_facts.h"

namespace {

constexpr int kChannels = 2;
constexpr int kChunkSamples = 1024;  // about 23 ms per mixer callback

// Everything the mixer plays passes through a delay line of a few
// milliseconds (a post-mix effect on the mixer thread). A stop happens
// between two mixes, so the frames in the line are the last ones of what
// stopped: they fade out, and the sound ends in a ramp instead of a step. A
// track started in the same frame enters the line behind them, where it would
// have begun, and plays unchanged. The delay is the same for every frame, so
// the output is the mix, a constant few milliseconds later.
//
// The main thread asks for a fade by counting `requested` up before it halts
// the music and `halted` after: a mix that runs while they differ may still
// hold the old sound, so it is silenced. Nothing here has a destructor: the
// mixer thread runs on through static destruction at exit.
struct Declicker {
    static constexpr int kMaxSamples = 16384;
    std::array<std::int16_t, kMaxSamples> line{};
    long frames = 0;  // length of the delay and of the fade, 0 = off
    int channels = 2;
    long position = 0;
    long fadeLeft = 0;
    unsigned faded = 0;
    std::atomic<unsigned> requested{0}, halted{0}, mixes{0};
    // The main thread's: whether the last play started a track, and whether
    // the sound has been closed for good.
    bool holdsTrack = false;
    bool closed = false;
};
Declicker declicker;

void declickPostMix(void*, Uint8* stream, int bytes) {
    Declicker& d = declicker;
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    const long frames = bytes / 2 / d.channels;
    const unsigned requested = d.requested.load();
    const bool mute = d.halted.load() != requested;
    if (requested != d.faded) {
        d.faded = requested;
        d.fadeLeft = d.frames;
    }
    for (long f = 0; f < frames; ++f, d.position = (d.position + 1) % d.frames) {
        const double gain = d.fadeLeft > 0 ? declickGain(d.fadeLeft, d.frames + 1) : 1.0;
        for (int c = 0; c < d.channels; ++c) {
            std::int16_t& delayed = d.line[d.position * d.channels + c];
            const std::int16_t in = mute ? 0 : samples[f * d.channels + c];
            samples[f * d.channels + c] =
                gain == 1.0 ? delayed : static_cast<std::int16_t>(std::lround(delayed * gain));
            delayed = in;
        }
        if (d.fadeLeft > 0) --d.fadeLeft;
    }
    d.mixes.fetch_add(1);
}

// Puts the delay line behind the mixer, sized for the format the device
// opened with; a format it cannot handle plays without it.
void startDeclicker() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels < 1) return;
    declicker.channels = channels;
    declicker.frames = std::min<long>(std::lround(rate * kDeclickSeconds), Declicker::kMaxSamples / channels);
    if (declicker.frames > 0) Mix_SetPostMix(declickPostMix, nullptr);
}

// Halts what plays, its last frames fading out in the delay line.
void haltWithFade() {
    declicker.requested.fetch_add(1);
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    declicker.halted.fetch_add(1);
}

// At process exit the mixer thread may still be reading a track through stdio
// while the C library tears its streams down; halting the music first keeps
// that thread off the file. It is halted with the fade, and the exit waits
// (a tenth of a second at most) until the fade and a few mixes of silence
// have gone out, so that the show does not end on a step either. SDL itself
// is never torn down, so this is safe. The exit hook runs after the engine,
// a static, is destroyed: this touches only the state above, which has no
// destructor.
void closeForGood() {
    if (declicker.closed) return;
    declicker.closed = true;
    haltWithFade();
    // The fade goes out with the next mix; two more push it through the
    // device's buffers. Mixes come every 23 ms. An engine that never played
    // has nothing to wait for (every test process ends through here).
    if (declicker.frames == 0 || !declicker.holdsTrack) return;
    const unsigned until = declicker.mixes.load() + 3;
    for (int waited = 0; waited < 100 && static_cast<int>(until - declicker.mixes.load()) > 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Starts the loaded track `offset` seconds in: wrapped when looped, not at
// all when it would be over by then.
bool startAt(Mix_Music* music, bool looped, double offset) {
    if (offset <= 0.0) return Mix_PlayMusic(music, looped ? -1 : 1) == 0;
    const double length = Mix_MusicDuration(music);
    if (length > 0.0 && looped) offset = std::fmod(offset, length);
    else if (length > 0.0 && offset >= length) return false;
    return Mix_FadeInMusicPos(music, looped ? -1 : 1, 0, offset) == 0;
}

#ifdef __linux__
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
#else
// Only Linux's ALSA library reports on its own while SDL searches.
struct AlsaQuiet {
    AlsaQuiet() {}
};
#endif

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
    startDeclicker();
    std::atexit(closeForGood);
}

void SdlSoundEngine::play(const char* path, bool looped) { playFrom(path, looped, 0.0); }

void SdlSoundEngine::playFrom(const char* path, bool looped, double offset) {
    if (!open_) return;
    // Only one track plays at a time: the previous one is halted before it is
    // freed, so the mixer thread never reads a freed stream.
    if (current_ != nullptr) {
        haltWithFade();
        Mix_FreeMusic(current_);
        current_ = nullptr;
    }
    // A missing or unreadable file gives no music: the show goes on silently.
    current_ = Mix_LoadMUS(path);
    if (current_ != nullptr && !startAt(current_, looped, offset)) {
        Mix_FreeMusic(current_);
        current_ = nullptr;
    }
    declicker.holdsTrack = current_ != nullptr;
}

void SdlSoundEngine::stopAll() {
    if (!open_) return;
    haltWithFade();
}

void SdlSoundEngine::close() {
    if (!open_) return;
    open_ = false;
    closeForGood();
}

SdlSoundEngine showSoundEngine;
