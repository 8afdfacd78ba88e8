#pragma once
// The show's facts that code in other languages needs too: the browser page
// (JavaScript), the build scripts (shell) and the measuring and test tools
// (Python). The build writes them into show_facts.js, .json and .sh
// (tools/facts/), so each is written only here. No includes: every layer
// may include this.

// The end of the show: the first frame after it is not presented.
inline constexpr float kShowEnd = 295.0f;

// The size the show draws at, whatever the size of the window or video.
inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;

// The soundtrack, by the paths the music cues play. The first track loops
// seamlessly; the second plays once. One track a line: the build reads the
// paths from here for the files the synthesiser writes.
struct ShowTrack {
    const char* path;
    bool looped;
};
inline constexpr ShowTrack kShowTracks[] = {
    {"demo6/musics/Tune1.wav", true},
    {"demo6/musics/newtune.wav", false},
};

// The tracks' sample rate, which the show's sound device opens at too.
inline constexpr int kSampleRate = 44100;

// A sound that stops fades out over this long (a raised cosine), so that the
// step it would leave is never heard as a click.
inline constexpr double kDeclickSeconds = 0.005;
