#include "web_sound_engine.h"

#include <emscripten/emscripten.h>

namespace {

// clang-format off
EM_JS(void, pagePlay, (const char* path, int looped, double offset), {
    Module.showPage.audio.play(UTF8ToString(path), looped !== 0, offset);
});
EM_JS(void, pageStopAll, (), { Module.showPage.audio.stopAll(); });
// clang-format on

}  // namespace

void WebSoundEngine::play(const char* path, bool looped) { pagePlay(path, looped, 0.0); }

void WebSoundEngine::stopAll() { pageStopAll(); }

void WebSoundEngine::playFrom(const char* path, bool looped, double offset) { pagePlay(path, looped, offset); }
