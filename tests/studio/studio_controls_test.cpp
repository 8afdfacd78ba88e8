// The studio's transport and its key scripts, without a window: a wall clock
// the test moves by hand, and scripts written to a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "key_script.h"
#include "transport.h"

namespace {

struct Wall {
    double at = 1000.0;
};

class TransportTest : public ::testing::Test {
protected:
    Wall wall;
    Transport transport{[this] { return wall.at; }};
};

}  // namespace

TEST_F(TransportTest, RunsAtItsSpeedHoldsWhilePausedAndKeepsItsPlaceAcrossChanges) {
    EXPECT_EQ(transport.now(), 0.0);
    wall.at += 2.0;
    EXPECT_DOUBLE_EQ(transport.now(), 2.0);
    transport.setPaused(true);
    wall.at += 5.0;
    EXPECT_DOUBLE_EQ(transport.now(), 2.0);
    transport.setPaused(false);
    transport.stepSpeed(1);  // 2x from here: what went by at 1x stays
    EXPECT_DOUBLE_EQ(transport.speed(), 2.0);
    wall.at += 1.0;
    EXPECT_DOUBLE_EQ(transport.now(), 4.0);
    transport.stepSpeed(10);  // the fastest is 4x
    EXPECT_DOUBLE_EQ(transport.speed(), 4.0);
    transport.stepSpeed(-10);  // the slowest a quarter
    EXPECT_DOUBLE_EQ(transport.speed(), 0.25);
    wall.at += 4.0;
    EXPECT_DOUBLE_EQ(transport.now(), 5.0);
}

TEST_F(TransportTest, SeeksInsideTheShowAndStopsPausedAtItsEnd) {
    transport.seek(-5.0);
    EXPECT_EQ(transport.now(), 0.0);
    transport.seek(1000.0);
    EXPECT_EQ(transport.now(), 295.0);
    transport.seek(294.5);
    wall.at += 3.0;
    EXPECT_EQ(transport.now(), 295.0);  // never past the end, even before the frame's advance
    EXPECT_FALSE(transport.advance());
    EXPECT_TRUE(transport.paused());
    wall.at += 3.0;
    EXPECT_EQ(transport.now(), 295.0);
    transport.seek(10.0);  // a seek leaves it paused there
    wall.at += 1.0;
    EXPECT_EQ(transport.now(), 10.0);
}

TEST_F(TransportTest, LoopWrapsToItsStartOnTheFrameAfterItsEnd) {
    transport.setLoop(Stretch{20.0, 22.0});
    transport.seek(21.0);
    wall.at += 0.5;
    EXPECT_FALSE(transport.advance());
    EXPECT_DOUBLE_EQ(transport.now(), 21.5);
    wall.at += 0.75;
    EXPECT_TRUE(transport.advance());
    EXPECT_EQ(transport.now(), 20.0);
    transport.seek(5.0);  // before the loop: the next frame goes back into it
    EXPECT_TRUE(transport.advance());
    EXPECT_EQ(transport.now(), 20.0);
    transport.setLoop(std::nullopt);
    wall.at += 5.0;
    EXPECT_FALSE(transport.advance());
    EXPECT_DOUBLE_EQ(transport.now(), 25.0);
}

TEST_F(TransportTest, CountsEveryChangeOfTimeOrPaceAndNothingElse) {
    // The studio restarts the sound on each change, so a change it misses
    // leaves the music out of step, and a counted non-change restarts it.
    unsigned seen = transport.timingChanges();
    auto changed = [&] {
        const bool moved = transport.timingChanges() != seen;
        seen = transport.timingChanges();
        return moved;
    };
    transport.seek(30.0);
    EXPECT_TRUE(changed()) << "seek";
    transport.setPaused(true);
    EXPECT_TRUE(changed()) << "pause";
    transport.setPaused(true);
    EXPECT_FALSE(changed()) << "pause while paused";
    transport.setPaused(false);
    EXPECT_TRUE(changed()) << "resume";
    transport.stepSpeed(-1);
    EXPECT_TRUE(changed()) << "speed";
    transport.setLoop(Stretch{30.0, 31.0});
    wall.at += 0.5;
    transport.advance();
    EXPECT_FALSE(changed()) << "a frame inside the loop";
    wall.at += 4.0;
    transport.advance();
    EXPECT_TRUE(changed()) << "the loop's wrap";
    transport.setLoop(std::nullopt);
    transport.seek(294.9);
    changed();
    wall.at += 1.0;
    transport.advance();
    EXPECT_TRUE(changed()) << "the stop at the end";
}

TEST(StudioBoundaries, StepFromBoundToBoundOfTheChainsWindows) {
    // Between 122 s (the third picture's end) and 133 s (the cube chain's start) nothing begins or ends.
    EXPECT_EQ(previousBoundary(125.0), 122.0);
    EXPECT_EQ(nextBoundary(125.0), 133.0);
    EXPECT_EQ(previousBoundary(133.0), 122.0);  // strictly before, so it steps back from a bound
    EXPECT_EQ(nextBoundary(133.0), 155.0);
    EXPECT_EQ(previousBoundary(0.0), 0.0);
    EXPECT_EQ(nextBoundary(295.0), 295.0);
    const Stretch around = stretchAround(125.0);
    EXPECT_EQ(around.from, 122.0);
    EXPECT_EQ(around.to, 133.0);
    const Stretch last = stretchAround(295.0);
    EXPECT_EQ(last.from, 294.0);
    EXPECT_EQ(last.to, 295.0);
}

namespace {

class KeyScript : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        std::ofstream(path) << text;
        return path;
    }
    std::filesystem::path dir = std::filesystem::path(::testing::TempDir());
    std::string path = (dir / "studio_script.txt").string();
    std::string error;
};

}  // namespace

TEST_F(KeyScript, ReadsEveryCommandAndSkipsBlankLinesAndComments) {
    const auto steps = readKeyScript(write("# a comment\n"
                                           "\n"
                                           "key shift+left   # ten seconds back\n"
                                           "frames 12\n"
                                           "replace new.fs demo6/a.fs\n"
                                           "await reload\n"
                                           "png out.png\n"
                                           "quit\n"),
                                     error);
    ASSERT_TRUE(steps.has_value()) << error;
    ASSERT_EQ(steps->size(), 6u);
    EXPECT_EQ((*steps)[0].kind, ScriptStep::Kind::key);
    EXPECT_EQ((*steps)[0].action, Action::back10);
    EXPECT_EQ((*steps)[1].kind, ScriptStep::Kind::frames);
    EXPECT_EQ((*steps)[1].count, 12);
    EXPECT_EQ((*steps)[2].kind, ScriptStep::Kind::replace);
    EXPECT_EQ((*steps)[2].path, "new.fs");
    EXPECT_EQ((*steps)[2].to, "demo6/a.fs");
    EXPECT_EQ((*steps)[3].kind, ScriptStep::Kind::awaitReload);
    EXPECT_EQ((*steps)[4].kind, ScriptStep::Kind::png);
    EXPECT_EQ((*steps)[4].path, "out.png");
    EXPECT_EQ((*steps)[5].kind, ScriptStep::Kind::quit);
}

TEST_F(KeyScript, RefusesABadLineAndSaysWhichOne) {
    for (const char* bad : {"key nosuchkey", "key", "frames many", "replace only-one", "await nothing", "png",
                            "jump 10"}) {
        error.clear();
        EXPECT_FALSE(readKeyScript(write(std::string("frames 1\n") + bad + "\n"), error).has_value()) << bad;
        EXPECT_NE(error.find(path + ":2:"), std::string::npos) << bad << ": " << error;
    }
    error.clear();
    EXPECT_FALSE(readKeyScript((dir / "no-such-script").string(), error).has_value());
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

TEST_F(KeyScript, ReplaceSavesTheNewBytesUnderTheOldName) {
    const std::string from = (dir / "replacement").string(), to = (dir / "replaced").string();
    std::ofstream(from, std::ios::binary) << "new\nbytes";
    std::ofstream(to, std::ios::binary) << "the old, longer contents";
    ASSERT_TRUE(replaceFile(from, to));
    std::ifstream in(to, std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    EXPECT_EQ(read.str(), "new\nbytes");
    EXPECT_FALSE(replaceFile((dir / "missing").string(), to));
}
