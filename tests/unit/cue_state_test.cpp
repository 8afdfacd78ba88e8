// What the cues leave sounding at t (what a seek or a deep link starts with)
// against what the show's own frames do to the sound when played from 0 s.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "noop_gl.h"
#include "timeline/show_host.h"

namespace {

// What the recorded calls leave sounding, each with the time it started.
std::vector<SoundingTrack> soundingAfter(const std::vector<SoundEvent>& events) {
    std::vector<SoundingTrack> sounding;
    for (const SoundEvent& e : events) {
        if (e.path.empty()) sounding.clear();
        else sounding.push_back({e.path, e.looped, e.t});
    }
    return sounding;
}

const std::string kFirst = "demo6/musics/Tune1.wav";
const std::string kSecond = "demo6/musics/newtune.wav";

}  // namespace

TEST(CueState, MatchesWhatTheShowsFramesLeaveSounding) {
    noopgl::install();
    const Resources res;
    SoundRecorder engine;
    ScriptedClock clock;
    ShowHost host(res, engine, clock);
    // Frame n at n / 60 s; the state is checked before the frame at each time runs.
    const std::vector<int> checks = {0, 1, 30, 300, 4440, 4441, 4470, 4500, 6000, 15400, 15420, 15421, 16200, 17694, 17700};
    std::size_t next = 0;
    for (int n = 0; next < checks.size(); ++n) {
        const double t = n / 60.0;
        if (n == checks[next]) {
            const CueState state = cueStateAt(t);
            const std::vector<SoundingTrack> sounding = soundingAfter(engine.events);
            ASSERT_EQ(state.tracks.size(), sounding.size()) << "at " << t;
            for (std::size_t i = 0; i < state.tracks.size(); ++i) {
                EXPECT_EQ(state.tracks[i].path, sounding[i].path) << "at " << t;
                EXPECT_EQ(state.tracks[i].looped, sounding[i].looped) << "at " << t;
                EXPECT_NEAR(state.tracks[i].offset, t - sounding[i].offset, 1e-6) << "at " << t;
            }
            EXPECT_EQ(state.musicCueFlag, host.musicCueFlag()) << "at " << t;
            ++next;
        }
        engine.now = clock.at = t;
        host.drawFrameAt(static_cast<float>(t));
    }
}

TEST(CueState, SeekingStartsWhatSoundsFromItsOffset) {
    SoundRecorder engine;
    const Resources res;
    ScriptedClock clock;
    ShowHost host(res, engine, clock);
    struct Seek {
        double t;
        std::string path;
        bool looped;
        double offset;  // from the frame, at 60 a second, where the track started
        bool flag;
    };
    const std::vector<Seek> seeks = {
        {50.0, kFirst, true, 50.0, true},                // started by frame 0
        {100.0, kSecond, false, 1559.0 / 60.0, false},   // frame 4441, the first after 74 s
        {260.0, kFirst, true, 179.0 / 60.0, true},       // frame 15421, the first after 257 s
    };
    for (const Seek& seek : seeks) {
        engine.events.clear();
        host.seekMusic(seek.t);
        ASSERT_EQ(engine.events.size(), 2u) << seek.t;
        EXPECT_TRUE(engine.events[0].path.empty()) << "a seek first stops everything";
        EXPECT_EQ(engine.events[1].path, seek.path) << seek.t;
        EXPECT_EQ(engine.events[1].looped, seek.looped) << seek.t;
        ASSERT_TRUE(engine.events[1].from.has_value()) << seek.t;
        EXPECT_NEAR(*engine.events[1].from, seek.offset, 1e-9) << seek.t;
        EXPECT_EQ(host.musicCueFlag(), seek.flag) << seek.t;
    }
    engine.events.clear();
    host.seekMusic(0.0);  // before the first frame: nothing sounds yet
    ASSERT_EQ(engine.events.size(), 1u);
    EXPECT_TRUE(engine.events[0].path.empty());
    EXPECT_FALSE(host.musicCueFlag());
}
