// The music cues as the timeline runs them: frames go through the whole chain
// (against the fake GL), and a recording engine notes every call the cues make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_gl.h"
#include "timeline/chain.h"
#include "timeline/cue_state.h"

namespace {

struct SoundCall {
    float t;           // the frame that made the call
    std::string what;  // "stop", "play <path> looped" or "play <path> once"
    bool operator==(const SoundCall&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SoundCall& c) { return out << c.t << ": " << c.what; }

// The recording fake, noting also how many GL calls the frame had made by
// each sound call.
struct RecordingEngine : SoundRecorder {
    std::vector<std::size_t> glCallsBefore;
    void play(const char* path, bool looped) override {
        SoundRecorder::play(path, looped);
        glCallsBefore.push_back(fakegl::state().calls.size());
    }
    void stopAll() override {
        SoundRecorder::stopAll();
        glCallsBefore.push_back(fakegl::state().calls.size());
    }
    std::vector<SoundCall> calls() const {
        std::vector<SoundCall> written;
        for (const SoundEvent& e : events)
            written.push_back({static_cast<float>(e.t),
                               e.path.empty() ? "stop" : "play " + e.path + (e.looped ? " looped" : " once")});
        return written;
    }
};

ScriptedClock scriptedClock;

const std::string kPlayFirst = "play demo6/musics/Tune1.wav looped";
const std::string kPlaySecond = "play demo6/musics/newtune.wav once";

// Runs one frame per time through the chain, carrying the cue flag from frame
// to frame as the frame loop does.
struct Show {
    Resources res;
    RecordingEngine sound;
    bool musicCueFlag = false;

    void frames(const std::vector<float>& times) {
        for (float t : times) {
            fakegl::install();  // also forgets the previous frame's calls
            sound.now = t;
            Frame frame{t, res, scriptedClock, sound, musicCueFlag};
            clearAndRunTimeline(frame);
        }
    }
};

// Frames from `from` to `to` (inclusive) every `step` seconds.
std::vector<float> span(float from, float to, float step) {
    std::vector<float> times;
    for (int i = 0; from + static_cast<float>(i) * step <= to; ++i) times.push_back(from + static_cast<float>(i) * step);
    return times;
}

}  // namespace

TEST(MusicCues, NormalRunStartsSwitchesAndReturnsOnce) {
    Show show;
    show.frames(span(0.6f, 296.0f, 0.25f));
    const std::vector<SoundCall> expected = {
        {0.6f, kPlayFirst},
        {74.1f, "stop"}, {74.1f, kPlaySecond},
        {257.1f, "stop"}, {257.1f, kPlayFirst},
    };
    ASSERT_EQ(show.sound.calls().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(show.sound.calls()[i].t, expected[i].t, 0.01f) << i;
        EXPECT_EQ(show.sound.calls()[i].what, expected[i].what) << i;
    }
    EXPECT_TRUE(show.musicCueFlag);
}

TEST(MusicCues, EveryCueFiresOnceHoweverManyFramesItsWindowSees) {
    // At 60 frames a second through the three windows.
    Show show;
    show.frames(span(0.5f, 8.99f, 1.0f / 60.0f));
    show.frames(span(74.0f, 75.0f, 1.0f / 60.0f));
    show.frames(span(257.0f, 260.0f, 1.0f / 60.0f));
    ASSERT_EQ(show.sound.calls().size(), 5u);
    EXPECT_EQ(show.sound.calls()[0].what, kPlayFirst);
    EXPECT_EQ(show.sound.calls()[2].what, kPlaySecond);
    EXPECT_GT(show.sound.calls()[2].t, 74.0f);
    EXPECT_LT(show.sound.calls()[2].t, 74.05f);
    EXPECT_EQ(show.sound.calls()[4].what, kPlayFirst);
    EXPECT_GT(show.sound.calls()[4].t, 257.0f);
}

TEST(MusicCues, FirstFrameAtNineSecondsLeavesTheShowSilentUntilTheReturn) {
    // Start-up ate the opening window: no start, so the switch finds the flag
    // false and does nothing; the return stops nothing and starts the first track.
    Show show;
    show.frames({9.0f, 9.5f, 74.0f, 74.5f, 74.9f, 75.0f, 200.0f, 257.0f});
    EXPECT_TRUE(show.sound.calls().empty());
    EXPECT_FALSE(show.musicCueFlag);
    show.frames({257.01f, 258.0f, 290.9f});
    const std::vector<SoundCall> expected = {{257.01f, "stop"}, {257.01f, kPlayFirst}};
    EXPECT_EQ(show.sound.calls(), expected);
    EXPECT_TRUE(show.musicCueFlag);
}

TEST(MusicCues, NoFrameInsideTheSwitchWindowKeepsTheFirstTrackToTheEnd) {
    // A stall from before 74 s to exactly 75 s: the bounds themselves do not
    // count, so the first track keeps looping and the return has nothing to do.
    Show show;
    show.frames({1.0f, 73.9f, 74.0f, 75.0f, 80.0f, 257.5f, 280.0f, 294.0f});
    const std::vector<SoundCall> expected = {{1.0f, kPlayFirst}};
    EXPECT_EQ(show.sound.calls(), expected);
    EXPECT_TRUE(show.musicCueFlag);
}

TEST(MusicCues, CuesOnlyRunInsideTheirBlocksWindows) {
    // Just outside each window: at 9 s the opening block is over, 85 s ends
    // the switch's caption block, and the return's scene block spans 257 to 291 s.
    Show show;
    show.frames({9.0f});
    EXPECT_TRUE(show.sound.calls().empty());
    show.frames({291.0f, 292.0f});
    EXPECT_TRUE(show.sound.calls().empty()) << "the return fired outside 257 < t < 291";
    show.musicCueFlag = true;
    show.frames({85.0f, 100.0f});
    EXPECT_TRUE(show.sound.calls().empty());
}

TEST(MusicCues, EachCueSoundsJustAheadOfTheBlockItGoesWith) {
    // Alone in its window, a cue follows only the frame's own clear (two calls).
    Show show;
    show.frames({5.0f, 74.5f});
    show.musicCueFlag = false;
    show.frames({257.5f});
    ASSERT_EQ(show.sound.calls().size(), 5u);
    EXPECT_EQ(show.sound.glCallsBefore, (std::vector<std::size_t>{2, 2, 2, 2, 2}));
    // From 259 s the closing greetings draw first; the return still comes
    // before the slab wave's first call, its depth clear.
    show.musicCueFlag = false;
    show.frames({260.0f});
    ASSERT_EQ(show.sound.calls().size(), 7u);
    const std::size_t at = show.sound.glCallsBefore[5];
    const auto& calls = fakegl::state().calls;
    EXPECT_GT(at, 2u);
    ASSERT_LT(at, calls.size());
    EXPECT_EQ(calls[at].name, "glClear");
    EXPECT_EQ(calls[at].args.at(0), GL_DEPTH_BUFFER_BIT);
}

TEST(MusicCues, TheCueLinksAloneMakeTheSameCallsWithoutGl) {
    const std::vector<float> times = span(0.0f, 296.0f, 0.25f);
    Show drawn;
    drawn.frames(times);
    Show cues;
    fakegl::install();
    for (float t : times) {
        cues.sound.now = t;
        Frame frame{t, cues.res, scriptedClock, cues.sound, cues.musicCueFlag};
        runCues(frame);
    }
    EXPECT_TRUE(fakegl::state().calls.empty());
    EXPECT_EQ(cues.sound.calls(), drawn.sound.calls());
    EXPECT_EQ(cues.sound.calls().size(), 5u);
}
