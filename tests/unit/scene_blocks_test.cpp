#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fake_gl.h"
#include "timeline/chain.h"
#include "timeline/cue_state.h"
#include "timeline/scene_blocks.h"

namespace {

// A scripted second clock: every reading is a little later than the last,
// and all readings are kept so tests can tie them to the cubes.
std::vector<double> gReadings;
struct SteppingClock : Clock {
    double now() override {
        double next = gReadings.empty() ? 1000.25 : gReadings.back() + 0.0137;
        gReadings.push_back(next);
        return next;
    }
} scriptedClock;

struct SceneSpec {
    const char* link;
    Block block;
    GLuint program;
    int draws;
};

// Program names of the ten scene programs (arbitrary, distinct). Programs
// that were never linked answer every uniform name, so every set is recorded.
constexpr GLuint kWave1 = 31, kWave2 = 32, kRibbon = 33, kSweep = 34, kPillar = 35, kChain = 36,
                 kStack = 37, kRocking = 38, kTilting = 39, kSlabWave = 40;
constexpr GLuint kCubeMesh = 77;

const std::vector<SceneSpec> kScenes = {
    {"cube wave 1", cubeWave1, kWave1, 29},       {"cube wave 2", cubeWave2, kWave2, 39},
    {"slab ribbon", slabRibbon, kRibbon, 23},     {"cube sweep", cubeSweep, kSweep, 23},
    {"pillar row", pillarRow, kPillar, 23},       {"cube chain", cubeChain, kChain, 23},
    {"slab stack", slabStack, kStack, 11},        {"rocking slabs", rockingSlabs, kRocking, 11},
    {"tilting slabs", tiltingSlabs, kTilting, 11}, {"slab wave", slabWave, kSlabWave, 21},
};

class SceneBlocks : public ::testing::Test {
protected:
    Resources res;
    SoundRecorder sound;
    bool musicCueFlag = true;

    void SetUp() override {
        fakegl::install();
        gReadings.clear();
        Programs& p = res.programs;
        p.demo6pt3_2.ID = kWave1;
        p.demo6pt51.ID = kWave2;
        p.demo6pt62.ID = kRibbon;
        p.demo6pt72.ID = kSweep;
        p.demo6pt92.ID = kPillar;
        p.demo6ptA2.ID = kChain;
        p.demo6ptB2.ID = kStack;
        p.demo6ptC2.ID = kRocking;
        p.demo6ptD2.ID = kTilting;
        p.demo6ptE2.ID = kSlabWave;
        res.cubeMesh = kCubeMesh;
    }

    const std::vector<fakegl::Draw>& run(Block block, float t) {
        Frame frame{t, res, scriptedClock, sound, musicCueFlag};
        block(frame);
        return fakegl::state().draws;
    }

    // The names of the uniforms set and the draws, in call order.
    static std::vector<std::string> uniformAndDrawSequence() {
        std::vector<std::string> out;
        for (const fakegl::Call& c : fakegl::state().calls) {
            if (c.name == "glUniform1f" || c.name == "glUniformMatrix4fv") out.push_back(c.text);
            if (c.name == "glDrawArrays") out.push_back("draw");
        }
        return out;
    }
};

// Column c, row r of a recorded column-major matrix.
float at(const fakegl::Draw& d, const char* name, int c, int r) { return d.uniform(name, 4 * c + r); }

void expectNegativeZero(float v) {
    EXPECT_EQ(v, 0.0f);
    EXPECT_TRUE(std::signbit(v));
}

void expectSlabStackRoots(const fakegl::Draw& d) {
    EXPECT_NEAR(d.uniform("rootone"), 9.494217f, 1e-4f);
    EXPECT_NEAR(d.uniform("roottwo"), -15.846877f, 2e-4f);
    EXPECT_NEAR(d.uniform("rootthree"), 2.223350f, 2e-4f);
}

}  // namespace

TEST_F(SceneBlocks, LoopCountsAndWholeCounters) {
    const float inside[] = {25.0f, 45.0f, 60.0f, 70.0f, 100.0f, 140.0f, 180.0f, 215.0f, 240.0f, 262.0f};
    for (std::size_t s = 0; s < kScenes.size(); ++s) {
        fakegl::install();
        const auto& draws = run(kScenes[s].block, inside[s]);
        ASSERT_EQ(int(draws.size()), kScenes[s].draws) << kScenes[s].link;
        for (int n = 0; n < kScenes[s].draws; ++n) {
            EXPECT_EQ(draws[n].program, kScenes[s].program);
            EXPECT_EQ(draws[n].vertexArray, kCubeMesh);
            EXPECT_EQ(draws[n].mode, GLenum(GL_TRIANGLES));
            EXPECT_EQ(draws[n].first, 0);
            EXPECT_EQ(draws[n].count, 36);
            EXPECT_EQ(draws[n].uniform("i"), float(n + 1)) << kScenes[s].link;
        }
    }
}

TEST_F(SceneBlocks, PrologueAndTheStateLeftBehind) {
    for (const SceneSpec& scene : kScenes) {
        fakegl::install();
        // What a caption block leaves: culling and blending on, depth off.
        glEnable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        fakegl::state().calls.clear();
        const auto& draws = run(scene.block, 240.0f);
        std::vector<std::string> names = fakegl::callNames();
        ASSERT_GE(names.size(), 6u);
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
                  (std::vector<std::string>{"glClear", "glDisable", "glDisable", "glEnable", "glUseProgram"}))
            << scene.link;
        const auto& calls = fakegl::state().calls;
        EXPECT_EQ(calls[0].args[0], double(GL_DEPTH_BUFFER_BIT));
        EXPECT_EQ(calls[1].args[0], double(GL_CULL_FACE));
        EXPECT_EQ(calls[2].args[0], double(GL_BLEND));
        EXPECT_EQ(calls[3].args[0], double(GL_DEPTH_TEST));
        EXPECT_EQ(calls[4].args[0], double(scene.program));
        EXPECT_TRUE(fakegl::calls("glClearColor").empty()) << "scenes never touch the colour buffer";
        for (const fakegl::Draw& d : draws)
            EXPECT_EQ(d.enabled, (std::set<GLenum>{GL_DEPTH_TEST})) << scene.link;
        EXPECT_EQ(fakegl::state().program, scene.program);
        EXPECT_EQ(fakegl::state().vertexArray, kCubeMesh);
        EXPECT_EQ(fakegl::state().enabled, (std::set<GLenum>{GL_DEPTH_TEST}));
    }
}

TEST_F(SceneBlocks, UniformOrderPerIteration) {
    auto expected = [](std::vector<std::string> head, std::vector<std::string> each, int n) {
        for (int k = 0; k < n; ++k) {
            head.insert(head.end(), each.begin(), each.end());
            head.push_back("draw");
        }
        return head;
    };
    const std::vector<std::string> wave = {"i", "model", "view", "projection"};
    const std::vector<std::string> roots = {"i", "beer", "model", "view", "projection",
                                            "rootone", "roottwo", "rootthree"};
    std::vector<std::string> rootsAndQuadratic = roots;
    rootsAndQuadratic.push_back("toinenaste");
    const std::vector<std::string> plain = {"i", "beer", "model", "view", "projection"};

    struct Case { Block block; float t; std::vector<std::string> sequence; };
    const std::vector<Case> cases = {
        {cubeWave1, 36.0f, expected({"time"}, wave, 29)},
        {cubeWave2, 45.0f, expected({"time"}, wave, 39)},
        {slabRibbon, 60.0f, expected({"time"}, roots, 23)},
        {cubeSweep, 70.0f, expected({"time"}, roots, 23)},
        {pillarRow, 100.0f, expected({"time", "timer"}, rootsAndQuadratic, 23)},
        {cubeChain, 140.0f, expected({"time"}, plain, 23)},
        {slabStack, 180.0f, expected({"time"}, rootsAndQuadratic, 11)},
        {rockingSlabs, 215.0f, expected({"time"}, rootsAndQuadratic, 11)},
        {tiltingSlabs, 240.0f, expected({"time"}, rootsAndQuadratic, 11)},
        {slabWave, 262.0f, expected({"time"}, rootsAndQuadratic, 21)},
    };
    for (const Case& c : cases) {
        fakegl::install();
        run(c.block, c.t);
        EXPECT_EQ(uniformAndDrawSequence(), c.sequence) << "t = " << c.t;
    }
}

TEST_F(SceneBlocks, CubeWave1WorkedExample) {
    const auto& draws = run(cubeWave1, 25.0f);
    ASSERT_EQ(draws.size(), 29u);
    const fakegl::Draw& first = draws[0];
    EXPECT_EQ(first.uniform("time"), 25.0f);
    // 1.5 (v, 1) whatever the rotation: T x D x R, not D x T.
    EXPECT_NEAR(at(first, "model", 3, 0), -4.8f, 1e-5f);
    EXPECT_NEAR(at(first, "model", 3, 1), -1.164706f, 1e-5f);
    EXPECT_NEAR(at(first, "model", 3, 2), -4.821903f, 1e-5f);
    EXPECT_EQ(at(first, "model", 3, 3), 1.5f);
    // Each column of the upper 3 x 3 is 1.5 s times a unit vector, s = 1.132352.
    for (int c = 0; c < 3; ++c) {
        float x = at(first, "model", c, 0), y = at(first, "model", c, 1), z = at(first, "model", c, 2);
        EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 1.5f * 1.132352f, 1e-5f);
        EXPECT_EQ(at(first, "model", c, 3), 0.0f);
    }
    // The camera sits 3 back; the projection is the 45 degree one with far 100.
    EXPECT_EQ(at(first, "view", 3, 2), -3.0f);
    EXPECT_NEAR(at(first, "projection", 0, 0), 1.357995f, 1e-5f);
    EXPECT_NEAR(at(first, "projection", 2, 2), -1.002002f, 1e-6f);
    for (const fakegl::Draw& d : draws) EXPECT_EQ(at(d, "model", 3, 3), 1.5f);
}

TEST_F(SceneBlocks, WavesTurnEachCubeByAFreshTimerReading) {
    for (Block block : {Block{cubeWave1}, Block{cubeWave2}}) {
        fakegl::install();
        gReadings.clear();
        const float t = block == cubeWave1 ? 37.5f : 47.25f;
        const auto& draws = run(block, t);
        ASSERT_EQ(gReadings.size(), draws.size()) << "one reading per cube";
        const double axis[3] = {0.5 / std::sqrt(1.25), 1.0 / std::sqrt(1.25), 0.0};
        for (std::size_t n = 0; n < draws.size(); ++n) {
            const fakegl::Draw& d = draws[n];
            EXPECT_EQ(d.uniform("time"), t) << "time is the frame's t, not a reading";
            if (n > 0) {
                EXPECT_GE(gReadings[n], gReadings[n - 1]);
            }
            // The upper 3 x 3 divided by 1.5 s is the rotation by the n-th reading.
            const float s = float(double(std::fabs(std::sin(t))) + (block == cubeWave1 ? 1.0 : 4.0));
            const double angle = float(gReadings[n]);
            const double c = std::cos(angle), sn = std::sin(angle);
            for (int col = 0; col < 3; ++col)
                for (int row = 0; row < 3; ++row) {
                    double r = (1 - c) * axis[row] * axis[col] + (row == col ? c : 0.0);
                    const int k = 3 - row - col;  // the third index, for the cross term
                    if (row != col) {
                        double sign = ((col - row + 3) % 3 == 1) ? -1.0 : 1.0;
                        r += sign * sn * axis[k];
                    }
                    EXPECT_NEAR(at(d, "model", col, row) / (1.5 * s), r, 2e-5) << n << " " << col << row;
                }
        }
    }
}

TEST_F(SceneBlocks, CubeWave2CameraRisesAndFalls) {
    const float t = 44.0f;
    const auto& draws = run(cubeWave2, t);
    ASSERT_EQ(draws.size(), 39u);
    EXPECT_EQ(at(draws[0], "view", 3, 0), -4.5f);
    EXPECT_EQ(at(draws[0], "view", 3, 1), float(double(std::sin(t) * -4.0f) * 0.5));
    EXPECT_EQ(at(draws[0], "view", 3, 2), -17.0f);
    // Cube 39 sits at x = 39 x 0.3 - 3.5 = 8.2, 5.5 below the axis on average.
    EXPECT_NEAR(at(draws[38], "model", 3, 0) / 1.5f, 8.2f, 1e-5f);
    EXPECT_NEAR(at(draws[38], "model", 3, 1) / 1.5f, std::sin(t) * 39 * 0.2 - 5.5, 1e-4);
}

TEST_F(SceneBlocks, SlabRibbonWorkedExample) {
    const auto& draws = run(slabRibbon, 60.0f);
    const fakegl::Draw& d = draws[0];
    EXPECT_EQ(d.uniform("time"), 60.0f) << "the ribbon sends the show clock itself";
    EXPECT_EQ(d.uniform("beer"), 59.0f);
    EXPECT_NEAR(at(d, "model", 3, 0), 1.4f, 1e-6f);
    EXPECT_NEAR(at(d, "model", 3, 1), 1.489418f, 1e-6f);
    EXPECT_EQ(at(d, "model", 3, 2), 1.0f);
    EXPECT_NEAR(at(d, "model", 0, 0), 2.899138f, 1e-5f);
    EXPECT_NEAR(at(d, "model", 1, 1), 1.707467f, 1e-5f);
    EXPECT_NEAR(at(d, "model", 2, 2), 6.705205f, 1e-5f);
    EXPECT_EQ(at(d, "model", 3, 3), 1.0f);
    EXPECT_NEAR(d.uniform("rootone"), 3.25765f, 1e-4f);
    EXPECT_NEAR(d.uniform("roottwo"), -3.4174f, 1e-3f);
    EXPECT_NEAR(d.uniform("rootthree"), 1.3224f, 1e-3f);
    EXPECT_FALSE(d.has("toinenaste"));
    for (const fakegl::Draw& each : draws) {
        EXPECT_GE(each.uniform("beer"), 30.0f);
        EXPECT_LE(each.uniform("beer"), 64.0f);
    }
    EXPECT_EQ(at(d, "view", 3, 0), -2.0f);
    EXPECT_EQ(at(d, "view", 3, 1), 1.0f);
    EXPECT_EQ(at(d, "view", 3, 2), -15.0f);
}

TEST_F(SceneBlocks, CubeSweepWorkedExamples) {
    const auto& draws = run(cubeSweep, 70.0f);  // L = 5
    const fakegl::Draw& d = draws[4];           // k = 5
    EXPECT_EQ(d.uniform("time"), 5.0f);
    EXPECT_EQ(d.uniform("beer"), 0.0f);
    EXPECT_NEAR(at(d, "model", 3, 0), -1.6f, 1e-6f);
    EXPECT_NEAR(at(d, "model", 3, 1), 1.856491f, 1e-6f);
    EXPECT_EQ(at(d, "model", 3, 2), -12.0f);
    EXPECT_NEAR(at(d, "model", 0, 0), 1.414214f, 1e-5f);
    EXPECT_NEAR(at(d, "model", 1, 1), 1.566091f, 1e-5f);
    EXPECT_NEAR(at(d, "model", 2, 2), 1.848123f, 1e-5f);
    EXPECT_NEAR(d.uniform("rootone"), 0.15702f, 1e-4f);
    EXPECT_NEAR(d.uniform("roottwo"), -1.0048f, 1e-3f);
    EXPECT_NEAR(d.uniform("rootthree"), -0.2091f, 1e-3f);
    EXPECT_FALSE(d.has("toinenaste"));

    fakegl::install();
    const auto& early = run(cubeSweep, 66.0f);  // L = 1: instance 1 stands at its rest place
    EXPECT_EQ(early[0].uniform("beer"), 0.0f);
    EXPECT_NEAR(at(early[0], "model", 3, 0), -2.0f, 1e-6f);
    EXPECT_EQ(at(early[0], "view", 3, 0), -0.5f);
    EXPECT_EQ(at(early[0], "view", 3, 2), -15.0f);
}

TEST_F(SceneBlocks, PillarRowIsConstantButItsClocks) {
    for (float t : {85.5f, 100.0f, 119.5f}) {
        fakegl::install();
        const auto& draws = run(pillarRow, t);
        for (std::size_t n = 0; n < draws.size(); ++n) {
            const fakegl::Draw& d = draws[n];
            EXPECT_EQ(d.uniform("time"), t - 170.0f);
            EXPECT_EQ(d.uniform("timer"), t - 85.0f);
            EXPECT_EQ(d.uniform("beer"), std::fabs(float(n + 1) - (t - 170.0f)));
            EXPECT_EQ(at(d, "model", 0, 0), 1.0f);
            EXPECT_EQ(at(d, "model", 1, 1), 4.0f);
            EXPECT_EQ(at(d, "model", 2, 2), 1.0f);
            EXPECT_EQ(at(d, "model", 0, 1), 0.0f) << "the pillars never turn";
            EXPECT_NEAR(d.uniform("rootone"), 1.112182f, 1e-5f);
            EXPECT_NEAR(d.uniform("roottwo"), -3.15392f, 1e-4f);
            EXPECT_NEAR(d.uniform("rootthree"), -0.12413f, 1e-4f);
            expectNegativeZero(d.uniform("toinenaste"));
            EXPECT_EQ(at(d, "view", 3, 1), -2.9f);
            EXPECT_EQ(at(d, "view", 3, 2), -40.0f);
        }
    }
}

TEST_F(SceneBlocks, CubeChain) {
    const auto& draws = run(cubeChain, 138.0f);  // L = 5
    ASSERT_EQ(draws.size(), 23u);
    EXPECT_EQ(draws[4].uniform("beer"), 0.0f);
    EXPECT_EQ(draws[0].uniform("time"), 5.0f);
    EXPECT_NEAR(at(draws[0], "model", 3, 0), -2.1f, 1e-6f);
    EXPECT_NEAR(at(draws[15], "model", 3, 1), std::sin(1.6) - 4.0, 1e-6);
    EXPECT_EQ(at(draws[0], "model", 3, 2), -12.0f);
    EXPECT_EQ(at(draws[0], "view", 3, 2), -22.0f);
    EXPECT_FALSE(draws[0].has("rootone"));
    EXPECT_FALSE(draws[0].has("toinenaste"));
}

TEST_F(SceneBlocks, SlabStackIsTheSameEveryFrame) {
    for (float t : {167.5f, 188.0f, 209.5f}) {
        fakegl::install();
        const auto& draws = run(slabStack, t);
        for (const fakegl::Draw& d : draws) {
            EXPECT_EQ(d.uniform("time"), t - 167.0f);
            EXPECT_EQ(at(d, "model", 0, 0), 10.5f);
            EXPECT_EQ(at(d, "model", 1, 1), 15.0f);
            EXPECT_EQ(at(d, "model", 2, 2), 2.5f);
            expectSlabStackRoots(d);
            expectNegativeZero(d.uniform("toinenaste"));
            EXPECT_EQ(at(d, "view", 3, 0), -7.0f);
            EXPECT_EQ(at(d, "view", 3, 1), -4.4f);
            EXPECT_EQ(at(d, "view", 3, 2), -65.0f);
        }
        EXPECT_NEAR(at(draws[10], "model", 3, 0), 2.4f, 1e-6f);
        EXPECT_NEAR(at(draws[10], "model", 3, 1), std::sin(4.4) + 1.1, 1e-6);
    }
}

TEST_F(SceneBlocks, RockingSlabsAtOneAndPi) {
    const auto& one = run(rockingSlabs, 211.0f);
    for (const fakegl::Draw& d : one) {
        EXPECT_NEAR(at(d, "model", 0, 0), 9.39459f, 1e-4f);
        EXPECT_NEAR(at(d, "model", 1, 1), 11.84170f, 1e-4f);
        EXPECT_NEAR(at(d, "model", 2, 2), 2.23681f, 1e-4f);
        EXPECT_NEAR(d.uniform("rootone"), 7.7651f, 1e-3f);
        EXPECT_NEAR(d.uniform("roottwo"), -12.7073f, 1e-3f);
        EXPECT_NEAR(d.uniform("rootthree"), 1.8847f, 1e-3f);
        expectNegativeZero(d.uniform("toinenaste"));
        EXPECT_EQ(at(d, "view", 3, 2), -90.0f);
    }
    fakegl::install();
    const auto& pi = run(rockingSlabs, 213.14159f);
    for (const fakegl::Draw& d : pi) {
        EXPECT_NEAR(at(d, "model", 0, 0), 10.5f, 1e-4f);
        EXPECT_NEAR(at(d, "model", 1, 1), 15.0f, 1e-4f);
        EXPECT_NEAR(at(d, "model", 2, 2), 2.5f, 1e-4f);
        expectSlabStackRoots(d);
    }
}

TEST_F(SceneBlocks, TiltingSlabsAndSlabWaveShareTheirRoots) {
    for (auto [block, t, farPlane] : {std::tuple{Block{tiltingSlabs}, 235.0f, 100.0f}, std::tuple{Block{slabWave}, 258.0f, 150.0f}}) {
        fakegl::install();
        const auto& draws = run(block, t);
        for (const fakegl::Draw& d : draws) {
            EXPECT_EQ(d.uniform("time"), 1.0f);
            EXPECT_NEAR(at(d, "model", 0, 0), 8.28919f, 1e-4f);
            EXPECT_NEAR(at(d, "model", 1, 1), 13.49783f, 1e-4f);
            EXPECT_NEAR(at(d, "model", 2, 2), 2.22398f, 1e-4f);
            EXPECT_NEAR(d.uniform("rootone"), 1.7495f, 1e-3f);
            EXPECT_NEAR(d.uniform("roottwo"), -9.1488f, 1e-3f);
            EXPECT_NEAR(d.uniform("rootthree"), -1.4119f, 1e-3f);
            expectNegativeZero(d.uniform("toinenaste"));
            EXPECT_NEAR(at(d, "projection", 2, 2), -(farPlane + 0.1f) / (farPlane - 0.1f), 1e-6f) << farPlane;
        }
        EXPECT_NEAR(at(draws.back(), "model", 3, 0), block == slabWave ? 3.4f : 2.4f, 1e-6f);
    }
    for (auto [block, t] : {std::pair{Block{tiltingSlabs}, 237.14159f}, std::pair{Block{slabWave}, 260.14159f}}) {
        fakegl::install();
        for (const fakegl::Draw& d : run(block, t)) {
            EXPECT_NEAR(at(d, "model", 1, 1), 15.0f, 1e-4f);
            expectSlabStackRoots(d);
        }
    }
}

TEST_F(SceneBlocks, NoSceneBlockTouchesTheMusic) {
    // The slab wave's window brings the first track back, from a link of its own.
    musicCueFlag = false;  // the second track is playing
    for (const SceneSpec& scene : kScenes) {
        fakegl::install();
        EXPECT_EQ(int(run(scene.block, scene.block == slabWave ? 257.5f : 240.0f).size()), scene.draws);
    }
    EXPECT_TRUE(sound.events.empty());
    EXPECT_FALSE(musicCueFlag);
}

TEST_F(SceneBlocks, WindowsThroughTheChain) {
    // For each scene: its windows in the chain, drawn by its own program.
    struct Expect { GLuint program; float lo, hi; };
    const std::vector<Expect> windows = {
        {kWave1, 20, 30},     {kWave1, 34, 41},     {kWave2, 41, 52},     {kRibbon, 53, 65},
        {kSweep, 65, 85},     {kPillar, 85, 120},   {kChain, 133, 160},   {kStack, 167, 210},
        {kRocking, 210, 226}, {kTilting, 234, 254}, {kSlabWave, 257, 291},
    };
    auto scenePrograms = [&](float t) {
        fakegl::install();
        Frame frame{t, res, scriptedClock, sound, musicCueFlag};
        for (const ChainLink& link : kTimelineChain)
            for (const SceneSpec& scene : kScenes)
                if (link.block == scene.block && link.window.contains(t)) link.block(frame);
        std::set<GLuint> programs;
        for (const fakegl::Draw& d : fakegl::state().draws) programs.insert(d.program);
        return programs;
    };
    for (const Expect& w : windows) {
        EXPECT_TRUE(scenePrograms(w.lo).empty()) << w.lo;
        EXPECT_TRUE(scenePrograms(w.hi).empty()) << w.hi;
        for (float t : {std::nextafter(w.lo, w.hi), (w.lo + w.hi) / 2, std::nextafter(w.hi, w.lo)})
            EXPECT_EQ(scenePrograms(t), std::set<GLuint>{w.program}) << t;
    }
    for (float t : {31.0f, 52.5f, 125.0f, 163.0f, 230.0f, 255.0f, 292.0f})
        EXPECT_TRUE(scenePrograms(t).empty()) << t;
}
