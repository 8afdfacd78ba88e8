#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "timeline/chain.h"

namespace {

ScriptedClock fixedClock{100.0};

constexpr GLuint kImageProgram = 50;
constexpr GLuint kImageQuad = 60;
// Texture names of the eight images, in loading order.
constexpr GLuint kWhat = 101, kWhere = 102, kFrange = 103, kMaybe = 104, kMais = 105, kAnswer = 106,
                 kNonsense = 107, kLast = 108;
// Stands for "whatever unit 0 held when the block began": no bind.
constexpr GLuint kUnchanged = 0;

// What one image draw should show: the texture on unit 0 and the translation
// column and uniform scale of "trans".
struct Expected {
    GLuint texture;
    float x, y;
    float scale = 1.0f;
};

// One image draw as recorded, with the calls that led up to it since the
// draw before (of any program), and those of its own block: from its depth
// clear on, with what unit 0 held at that clear.
struct ImageDraw {
    fakegl::Draw draw;
    std::vector<fakegl::Call> since;
    std::vector<fakegl::Call> block;
    GLuint unitZeroBefore = 0;

    bool bound() const {
        for (const auto& c : block)
            if (c.name == "glBindTexture") return true;
        return false;
    }
    bool clearedDepth() const {
        for (const auto& c : since)
            if (c.name == "glClear" && (static_cast<GLbitfield>(c.args[0]) & GL_DEPTH_BUFFER_BIT)) return true;
        return false;
    }
};

class ImageBlocks : public ::testing::Test {
protected:
    Resources res;
    SilentSoundEngine sound;
    bool musicCueFlag = true;
    bool ended = false;

    void SetUp() override {
        res.programs.demo6image.ID = kImageProgram;
        res.imageQuad = kImageQuad;
        res.images = ImageTextures{kWhat, kWhere, kFrange, kMaybe, kMais, kAnswer, kNonsense, kLast};
    }

    // Runs the whole chain at t and returns the draws of the image program.
    std::vector<ImageDraw> frameAt(float t) {
        fakegl::install();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 999);
        Frame frame{t, res, fixedClock, sound, musicCueFlag};
        ended = runTimeline(frame);

        std::vector<ImageDraw> out;
        ImageDraw next;
        GLenum unit = GL_TEXTURE0;
        GLuint unitZero = 0;
        std::size_t drawIndex = 0;
        for (const fakegl::Call& call : fakegl::state().calls) {
            if (call.name == "glDrawArrays" || call.name == "glDrawElements") {
                next.draw = fakegl::state().draws.at(drawIndex++);
                if (next.draw.program == kImageProgram) out.push_back(next);
                next = ImageDraw{};
                continue;
            }
            if (call.name == "glClear" && (static_cast<GLbitfield>(call.args[0]) & GL_DEPTH_BUFFER_BIT)) {
                next.block.clear();
                next.unitZeroBefore = unitZero;
            }
            if (call.name == "glActiveTexture") unit = static_cast<GLenum>(call.args[0]);
            if (call.name == "glBindTexture" && unit == GL_TEXTURE0) unitZero = static_cast<GLuint>(call.args[1]);
            next.since.push_back(call);
            next.block.push_back(call);
        }
        return out;
    }
};

std::string describe(float t) {
    char text[32];
    std::snprintf(text, sizeof text, "t = %.6f", static_cast<double>(t));
    return text;
}

void expectImage(const ImageDraw& d, const Expected& e, float t) {
    SCOPED_TRACE(describe(t));
    // The image state, the image quad and the uniforms at the draw.
    EXPECT_TRUE(d.clearedDepth());
    EXPECT_EQ(d.draw.call, "glDrawElements");
    EXPECT_EQ(d.draw.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(d.draw.count, 6);
    EXPECT_EQ(d.draw.vertexArray, kImageQuad);
    EXPECT_EQ(d.draw.enabled.count(GL_CULL_FACE), 0u);
    EXPECT_EQ(d.draw.enabled.count(GL_BLEND), 1u);
    EXPECT_EQ(d.draw.enabled.count(GL_DEPTH_TEST), 1u);
    EXPECT_EQ(d.draw.blendSrc, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(d.draw.blendDst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(d.draw.uniform("time"), t);
    EXPECT_EQ(d.draw.texture0, e.texture == kUnchanged ? d.unitZeroBefore : e.texture);
    EXPECT_EQ(d.bound(), e.texture != kUnchanged) << "bound only when a row matches";

    ASSERT_EQ(d.draw.uniforms.at("trans").size(), 16u);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float want = row == col ? (row == 3 ? 1.0f : e.scale) : 0.0f;
            if (col == 3 && row == 0) want = e.x;
            if (col == 3 && row == 1) want = e.y;
            EXPECT_NEAR(d.draw.uniform("trans", col * 4 + row), want, 1e-6f) << "column " << col << " row " << row;
        }
}

const Expected kWhatAt{kWhat, 0.74f, -0.24f};
const Expected kWhereAt{kWhere, -0.74f, -0.74f};
const Expected kFrangeAt{kFrange, -0.74f, 0.44f};
const Expected kMaybeAt{kMaybe, 0.74f, -0.74f};
const Expected kMaisAt{kMais, 0.175f, 0.3f};
const Expected kAnswerAt{kAnswer, 0.74f, -0.24f};
const Expected kNonsenseAt{kNonsense, 0.65f, -0.2f};
// Scaled by 1.2, then translated inside the scale: (0.5, -0.54) x 1.2.
const Expected kLastAt{kLast, 0.6f, -0.648f, 1.2f};
const Expected kEndCard{kMaybe, -0.7f, -0.7f};
// Between rows: identity, and unit 0 keeps what it had.
const Expected kNoRow{kUnchanged, 0.0f, 0.0f};

float above(float t) { return std::nextafter(t, 1e9f); }
float below(float t) { return std::nextafter(t, -1e9f); }

TEST_F(ImageBlocks, EachWindowShowsItsImageWhereItsTransPutsIt) {
    struct Case {
        float t;
        std::vector<Expected> draws;
    };
    const std::vector<Case> cases = {
        {above(17.0f), {kWhatAt}},        {below(26.0f), {kWhatAt}},         {22.0f, {kWhatAt}},
        {above(26.0f), {kWhereAt}},       {below(35.0f), {kWhereAt}},        {above(40.0f), {kFrangeAt}},
        {below(50.0f), {kFrangeAt}},      {above(52.0f), {kMaybeAt}},        {below(62.0f), {kMaybeAt}},
        {above(64.0f), {kMaisAt}},        {below(72.0f), {kMaisAt}},         {above(112.0f), {kAnswerAt}},
        {below(122.0f), {kAnswerAt}},     {above(212.0f), {kNonsenseAt}},    {below(222.0f), {kNonsenseAt}},
        {above(284.0f), {kLastAt}},       {below(290.0f), {kLastAt}},
        // From 290 s on: the last image, then the end card, each after its own depth clear.
        {above(290.0f), {kLastAt, kEndCard}}, {292.0f, {kLastAt, kEndCard}}, {below(295.0f), {kLastAt, kEndCard}},
    };
    for (const Case& c : cases) {
        const std::vector<ImageDraw> draws = frameAt(c.t);
        ASSERT_EQ(draws.size(), c.draws.size()) << describe(c.t);
        for (std::size_t i = 0; i < draws.size(); ++i) expectImage(draws[i], c.draws[i], c.t);
        EXPECT_FALSE(ended) << describe(c.t);
    }
}

TEST_F(ImageBlocks, OnTheBoundsOfTheWindows) {
    // No image at all on a bound that only one window touches.
    for (float t : {17.0f, 35.0f, 40.0f, 50.0f, 52.0f, 62.0f, 64.0f, 72.0f, 112.0f, 122.0f, 212.0f, 222.0f, 284.0f})
        EXPECT_TRUE(frameAt(t).empty()) << describe(t);

    // 26.0 lies between two rows: the image quad is drawn untransformed, nothing is bound.
    std::vector<ImageDraw> draws = frameAt(26.0f);
    ASSERT_EQ(draws.size(), 1u);
    expectImage(draws[0], kNoRow, 26.0f);

    // 290.0: the end card needs t > 290.
    draws = frameAt(290.0f);
    ASSERT_EQ(draws.size(), 1u);
    expectImage(draws[0], kLastAt, 290.0f);

    // 295.0: past the last row but not past the end: identity and no bind, then
    // the end card, and the frame is still shown.
    draws = frameAt(295.0f);
    ASSERT_EQ(draws.size(), 2u);
    expectImage(draws[0], kNoRow, 295.0f);
    expectImage(draws[1], kEndCard, 295.0f);
    EXPECT_FALSE(ended);

    // Just past 295 the show ends in the same frame.
    draws = frameAt(above(295.0f));
    ASSERT_EQ(draws.size(), 2u);
    expectImage(draws[1], kEndCard, above(295.0f));
    EXPECT_TRUE(ended);
}

TEST_F(ImageBlocks, ImagesComeAfterTheCaptionAndTheScene) {
    // At 57 s the caption and the scene draw first; the image is the frame's last draw.
    frameAt(57.0f);
    const auto& draws = fakegl::state().draws;
    ASSERT_GT(draws.size(), 1u);
    EXPECT_EQ(draws.back().program, kImageProgram);
    for (std::size_t i = 0; i + 1 < draws.size(); ++i) EXPECT_NE(draws[i].program, kImageProgram);
}

}  // namespace
