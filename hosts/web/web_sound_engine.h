#pragma once
// The sound engine of the browser build: the page plays the tracks it decoded
// with Web Audio, by the paths the cues name (see web/page.js).
#include "timeline/show_host.h"

class WebSoundEngine : public SoundEngine {
public:
    void play(const char* path, bool looped) override;
    void stopAll() override;
    void playFrom(const char* path, bool looped, double offset) override;
};
