#include <gtest/gtest.h>

#include <vector>

#include "allocation_counter.h"
#include "fake_gl.h"
#include "fake_show.h"
#include "noop_gl.h"
#include "timeline/chain.h"

namespace {

// Counts the plays without allocating (the recording fake, SoundRecorder,
// allocates with each call, which the allocation count below must not see).
class CountingEngine : public SoundEngine {
public:
    void play(const char*, bool) override { ++plays; }
    void stopAll() override { ++stops; }
    int plays = 0;
    int stops = 0;
};

ScriptedClock fixedClock{100.0};

// The whole show built against the fake GL once, from the run directory's files.
class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { resources = &showBuiltOnFakeGl(); }

    bool draw(float t) {
        Frame frame{t, *resources, fixedClock, engine, flag};
        return clearAndRunTimeline(frame);
    }

    static const Resources* resources;
    CountingEngine engine;
    bool flag = false;
};
const Resources* FrameTest::resources = nullptr;

}  // namespace

TEST_F(FrameTest, ClearsToBlackThenRunsCaptionSceneAndImageInChainOrder) {
    fakegl::install();
    draw(60.0f);
    const auto& calls = fakegl::state().calls;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "glClearColor");
    EXPECT_EQ(calls[0].args, (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(calls[1].name, "glClear");
    EXPECT_EQ(calls[1].args[0], GL_COLOR_BUFFER_BIT);
    // Programs in the order they draw: the caption, the scene, the image.
    std::vector<GLuint> programs;
    for (const auto& draw : fakegl::state().draws)
        if (programs.empty() || programs.back() != draw.program) programs.push_back(draw.program);
    const Programs& p = resources->programs;
    EXPECT_EQ(programs, (std::vector<GLuint>{p.demo6pt61.ID, p.demo6pt62.ID, p.demo6image.ID}));
}

TEST_F(FrameTest, EndsTheShowOnlyAfter295Seconds) {
    fakegl::install();
    EXPECT_FALSE(draw(295.0f));
    EXPECT_TRUE(draw(295.01f));
    EXPECT_FALSE(draw(0.0f));
}

TEST_F(FrameTest, CreatesNoGlObjectsAndAllocatesNothingAcrossTheShow) {
    fakegl::install();
    for (float t = 0.0f; t < 296.0f; t += 0.5f) draw(t);
    for (const char* creator : {"glGenTextures", "glGenBuffers", "glGenVertexArrays", "glCreateProgram",
                                "glCreateShader", "glBufferData", "glTexImage2D"})
        EXPECT_TRUE(fakegl::calls(creator).empty()) << creator;

    // Again with GL calls that do nothing, counting every allocation of the frames.
    noopgl::install();
    flag = false;
    for (float t = 0.0f; t < 296.0f; t += 0.25f) draw(t);  // first visit: the music cues fire
    unsigned long long allocations = 0;
    for (float t = 0.0f; t < 296.0f; t += 0.25f) {
        const unsigned long long before = heapAllocations();
        draw(t);
        const unsigned long long made = heapAllocations() - before;
        if (made != 0) ADD_FAILURE() << "allocates at t = " << t;
        allocations += made;
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(engine.plays, 3 + 3 + 2);  // all three cues in each fresh run, two with the flag left set
}
