// What the cues leave sounding at t (what a seek or a deep link starts with)
// against what the show's own frames do to the sound when played from 0 s.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "noop_gl.h"
#include "timeline/cue_state.h"
#include "timeline/show_host.h"

namespace {

// Keeps what is sounding as the frames start and stop tracks.
struct SoundingEngine : SoundEngine {
    double now = 0.0;
    std::vector<SoundingTrack> sounding;  // offsets hold the start times here
    void play(const char* path, bool looped) override { sounding.push_back({path, looped, now}); }
    void stopAll() override { sounding.clear(); }
};

}  // namespace

TEST(CueState, MatchesWhatTheShowsFramesLeaveSounding) {
    noopgl::install();
    const Resources res;
    SoundingEngine engine;
    ScriptedClock clock;
    ShowHost host(res, engine, clock);
    // Frame n at n / 60 s; the state is checked before the frame at each time runs.
    const std::vector<int> checks = {0, 1, 30, 300, 4440, 4441, 4470, 4500, 6000, 15400, 15420, 15421, 16200, 17694, 17700};
    std::size_t next = 0;
    for (int n = 0; next < checks.size(); ++n) {
        const double t = n / 60.0;
        if (n == checks[next]) {
            const CueState state = cueStateAt(t);
            ASSERT_EQ(state.tracks.size(), engine.sounding.size()) << "at " << t;
            for (std::size_t i = 0; i < state.tracks.size(); ++i) {
                EXPECT_EQ(state.tracks[i].path, engine.sounding[i].path) << "at " << t;
                EXPECT_EQ(state.tracks[i].looped, engine.sounding[i].looped) << "at " << t;
                EXPECT_NEAR(state.tracks[i].offset, t - engine.sounding[i].offset, 1e-6) << "at " << t;
            }
            EXPECT_EQ(state.musicCueFlag, host.musicCueFlag()) << "at " << t;
            ++next;
        }
        engine.now = clock.at = t;
        host.drawFrameAt(static_cast<float>(t));
    }
}

TEST(CueState, SeekingStartsWhatSoundsFromItsOffset) {
    struct Seeks : SoundEngine {
        std::vector<std::string> calls;
        void play(const char* path, bool) override { calls.push_back(std::string("play ") + path); }
        void playFrom(const char* path, bool looped, double offset) override {
            calls.push_back(std::string("from ") + path + (looped ? " looped " : " once ") + std::to_string(offset));
        }
        void stopAll() override { calls.push_back("stop"); }
    } engine;
    const Resources res;
    ScriptedClock clock;
    ShowHost host(res, engine, clock);
    host.seekMusic(100.0);
    EXPECT_EQ(engine.calls, (std::vector<std::string>{"stop", "from demo6/musics/newtune.wav once " +
                                                                   std::to_string(cueStateAt(100.0).tracks[0].offset)}));
    EXPECT_FALSE(host.musicCueFlag());
    engine.calls.clear();
    host.seekMusic(0.0);  // before the first frame: nothing sounds yet
    EXPECT_EQ(engine.calls, (std::vector<std::string>{"stop"}));
}
