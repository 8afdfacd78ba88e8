// The twelve caption blocks against the recording fake GL, with the real
// glyph atlases: what each draws (bytes read back from the glyph textures),
// where, in which program, font, scale and colour, over which background.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "drawn_text.h"
#include "fake_show.h"
#include "render/glyph_atlas.h"
#include "timeline/caption_blocks.h"
#include "timeline/chain.h"
#include "timeline/cue_state.h"

namespace {

ScriptedClock noClock;

// Where the first glyph's quad must stand for a string whose pen starts at (x, y).
void expectPen(const Font& font, const DrawnLine& line, float x, float y, float scale) {
    EXPECT_EQ(line.font, &font) << line.bytes;
    const Character& ch = font.Characters.at(static_cast<signed char>(line.bytes.at(0)));
    EXPECT_EQ(line.x0, x + ch.Bearing.x * scale) << line.bytes;
    EXPECT_EQ(line.y0, y - (ch.Size.y - ch.Bearing.y) * scale) << line.bytes;
}

constexpr float kViolet[] = {0.221f, 0.111f, 0.761f};

class CaptionBlocks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { resources = &showBuiltOnFakeGl(); }

    // Runs one block at t against a fresh recording.
    void run(Block block, float t) {
        fakegl::install();
        Frame frame{t, *resources, noClock, sound, flag};
        block(frame);
    }

    std::vector<float> clearColour() const {
        auto clears = fakegl::calls("glClearColor");
        EXPECT_EQ(clears.size(), 1u);
        if (clears.empty()) return {};
        const auto& a = clears[0]->args;
        return {float(a[0]), float(a[1]), float(a[2]), float(a[3])};
    }

    // Every draw of the block: its program, its "time", the caption state.
    void expectDraws(const Shader& program, float time) const {
        ASSERT_FALSE(fakegl::state().draws.empty());
        EXPECT_EQ(fakegl::calls("glClear").size(), 1u);
        EXPECT_EQ(fakegl::calls("glClear")[0]->args[0], GL_COLOR_BUFFER_BIT);
        for (const fakegl::Draw& d : fakegl::state().draws) {
            EXPECT_EQ(d.program, program.ID);
            EXPECT_EQ(d.uniform("time"), time);
            EXPECT_TRUE(d.enabled.count(GL_CULL_FACE));
            EXPECT_TRUE(d.enabled.count(GL_BLEND));
            EXPECT_FALSE(d.enabled.count(GL_DEPTH_TEST));
            EXPECT_EQ(d.blendSrc, GLenum(GL_SRC_ALPHA));
            EXPECT_EQ(d.blendDst, GLenum(GL_ONE_MINUS_SRC_ALPHA));
        }
    }

    static const Resources* resources;
    SoundRecorder sound;
    bool flag = false;
};
const Resources* CaptionBlocks::resources = nullptr;

}  // namespace

TEST_F(CaptionBlocks, OpeningTitleDrawsLatin1Bytes) {
    run(openingTitle, 5.0f);
    EXPECT_TRUE(sound.events.empty());  // the music starts from a link of its own
    EXPECT_FALSE(flag);
    EXPECT_EQ(clearColour(), (std::vector<float>{0.0f, 0.021f, 0.11f, 0.95f}));
    expectDraws(resources->programs.demo6pt1, 5.0f);

    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    // Ten single bytes: two spaces after "La", 0xEA and 0xE0, never UTF-8.
    EXPECT_EQ(lines[0].bytes, std::string("\x4C\x61\x20\x20\x52\xEA\x76\x65\x20\xE0", 10));
    EXPECT_EQ(lines[1].bytes, "l'etat brut");
    expectPen(antonioFont, lines[0], 1.0f, 622.0f, 1.0f);
    expectPen(antonioFont, lines[1], 1.0f, 22.0f, 1.0f);
    for (const DrawnLine& line : lines) EXPECT_EQ(line.colour, std::vector<float>(kViolet, kViolet + 3));
}

TEST_F(CaptionBlocks, CreditsCardSwingsItsBlueBelowZero) {
    for (float t : {9.5f, 12.0f, 14.2f}) {
        run(creditsCard, t);
        const float blue = float(double(std::sin(t)) * 0.201 * 0.1);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.41f, 0.14f, blue, 0.95f})) << t;
        expectDraws(resources->programs.demo6pt1, t);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].bytes, std::string("\x50\x6F\xE8\x74\x65\x73", 6));
        EXPECT_EQ(lines[1].bytes, "terrible");
        EXPECT_EQ(lines[2].bytes, "Pebbleton");
        EXPECT_EQ(lines[3].bytes, "et Dorv-K");
        const float pens[4][2] = {{10, 712}, {220, 472}, {120, 275}, {125, 50}};
        for (int i = 0; i < 4; ++i) {
            expectPen(antonioFont, lines[i], pens[i][0], pens[i][1], 0.77f);
            EXPECT_FLOAT_EQ(lines[i].scale, 0.77f);
            EXPECT_EQ(lines[i].colour, (std::vector<float>{0.51f, 0.61f, 0.41f}));
        }
    }
    run(creditsCard, 12.0f);  // sin 12 < 0
    EXPECT_LT(clearColour()[2], 0.0f);
}

TEST_F(CaptionBlocks, PhraseAndGreetingsTitle) {
    run(phraseCaption, 20.0f);
    EXPECT_EQ(clearColour(), (std::vector<float>{0.01f, 0.01f, 0.01f, 0.95f}));
    expectDraws(resources->programs.demo6pt3, 20.0f);
    auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].bytes, "les bizarreries");
    EXPECT_EQ(lines[1].bytes, std::string("\x73\x6F\x6E\x74\x20\x61\x67\x72\xE9\x61\x62\x6C\x65\x73", 14));
    expectPen(antonioFont, lines[0], 22.0f, 622.0f, 1.0f);
    expectPen(antonioFont, lines[1], 22.0f, 112.0f, 1.0f);

    run(greetingsTitle, 41.3f);
    EXPECT_EQ(clearColour(), (std::vector<float>{0.01f, 0.01f, 0.01f, 0.95f}));
    expectDraws(resources->programs.demo6pt4, 41.3f - 39.0f);
    lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].bytes, "BONJOUR");
    EXPECT_EQ(lines[1].bytes, "GREETINGS");
    expectPen(c64Font, lines[0], 22.0f, 422.0f, 1.0f);
    expectPen(c64Font, lines[1], 22.0f, 12.0f, 1.0f);
}

TEST_F(CaptionBlocks, GreetingsFrom53To85SwayWithTheAbsoluteClock) {
    const std::vector<float> wineRed = {0.41f, 0.14f, 0.201f, 0.95f};
    for (float t : {53.5f, 60.0f, 64.9f}) {
        run(greetingsGravelmist, t);
        EXPECT_EQ(clearColour(), wineRed);
        expectDraws(resources->programs.demo6pt61, t - 53.0f);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "GRAVELMIST");
        EXPECT_EQ(lines[1].bytes, "FLiNTWEAvE");
        expectPen(antonioFont, lines[0], float(110.0 + 50.0 * double(std::cos(t))), 622.0f, 1.0f);
        expectPen(antonioFont, lines[1], 62.0f, float(112.0 + 6.0 * std::fabs(12.0 * double(std::sin(t)))), 1.0f);
    }
    for (float t : {65.01f, 70.0f, 72.3f, 84.9f}) {
        flag = false;  // the switch only acts while the first track plays
        run(greetingsBrambl, t);
        EXPECT_TRUE(sound.events.empty());
        EXPECT_EQ(clearColour(), wineRed);
        expectDraws(resources->programs.demo6pt71, t - 65.0f);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].bytes, "BRAMBL");
        EXPECT_EQ(lines[1].bytes, "PORTHAVENS");
        EXPECT_EQ(lines[2].bytes, "VOLT");
        EXPECT_EQ(lines[3].bytes, "QUAYS");
        const double c = std::cos(t);
        expectPen(c64Font, lines[0], float(100.0 + 50.0 * c), 722.0f, 1.0f);
        expectPen(c64Font, lines[1], float(c * 12.0 * 3.0 + 30.0), 500.0f, 1.0f);
        expectPen(c64Font, lines[2], float(110.0 + 50.0 * c), 302.0f, 1.0f);
        expectPen(c64Font, lines[3], 62.0f, float(112.0 + 6.0 * std::fabs(12.0 * double(std::sin(t)))), 1.0f);
        // Off the left edge exactly when cos t < -5/6 (72.3 s is such a moment).
        const float porthavensX = lines[1].x0 - c64Font.Characters.at('P').Bearing.x;
        EXPECT_EQ(porthavensX < 0.0f, c < -5.0 / 6.0) << t;
    }
}

TEST_F(CaptionBlocks, TheTrackSwitchSecondDrawsAsAnyOther) {
    flag = true;
    run(greetingsBrambl, 74.5f);
    EXPECT_TRUE(sound.events.empty());  // the switch is a link of its own
    EXPECT_TRUE(flag);
    EXPECT_EQ(drawnLines().size(), 4u);
}

TEST_F(CaptionBlocks, GreetingsFrom85To155MoveWithLocalTime) {
    for (float t : {85.5f, 100.0f, 119.9f}) {
        const float u = t - 85.0f;
        run(greetingsTimbre, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.41f, 0.14f, 0.201f, 0.95f}));
        expectDraws(resources->programs.demo6pt91, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "TIMBRE");
        EXPECT_EQ(lines[1].bytes, "KWELP");
        expectPen(topazFont, lines[0], float(110.0 + 50.0 * double(std::cos(u))), 622.0f, 1.0f);
        expectPen(topazFont, lines[1], 2.0f, 112.0f, 1.0f);
    }
    for (float t : {120.5f, 125.0f, 154.9f}) {
        const float u = t - 120.0f;
        run(greetingsSprig, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.0f, 0.277f, float(double(std::sin(u)) * 0.041 * 0.1), 0.95f}));
        expectDraws(resources->programs.demo6ptA1, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "SPRIG.");
        EXPECT_EQ(lines[1].bytes, "GOURD");
        expectPen(topazFont, lines[0], float(310.0 + 0.5 * double(std::cos(u))), 422.0f, 1.0f);
        expectPen(topazFont, lines[1], 152.0f, std::sin(u) + 12.0f, 1.0f);
    }
}

TEST_F(CaptionBlocks, GreetingsFrom159To256) {
    for (float t : {160.0f, 180.0f, 211.9f}) {
        const float u = t - 159.0f;
        run(greetings8463, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.0f, 0.1f, 0.277f, 0.95f}));
        expectDraws(resources->programs.demo6ptB1, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "8463");
        EXPECT_EQ(lines[1].bytes, "ZWIEBELHOF");
        expectPen(c64Font, lines[0], float(110.0 + 50.0 * double(std::cos(u))), 622.0f, 1.0f);
        expectPen(c64Font, lines[1], 62.0f, float(112.0 + 6.0 * std::fabs(12.0 * double(std::sin(u)))), 1.0f);
    }
    for (float t : {212.5f, 220.0f, 234.9f}) {
        const float u = t - 212.0f;
        run(greetingsGlimmertak, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.1f, 0.1f, float(double(std::sin(u)) * 0.201 * 0.1), 0.95f}));
        expectDraws(resources->programs.demo6ptC1, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "GLIMMERTAK");
        EXPECT_EQ(lines[1].bytes, "LANTERNIS");
        EXPECT_FLOAT_EQ(lines[0].scale, 0.5f);
        expectPen(topazFont, lines[0], float(110.0 + 50.0 * double(std::cos(u))), 622.0f, 0.5f);
        expectPen(topazFont, lines[1], 62.0f, float(112.0 + 6.0 * std::fabs(12.0 * double(std::sin(u)))), 0.5f);
    }
    for (float t : {235.5f, 245.0f, 255.9f}) {
        const float u = t - 235.0f;
        run(greetingsVeska, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.31f, 0.02f, 0.101f, 0.95f}));
        expectDraws(resources->programs.demo6ptD1, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].bytes, "VESKA");
        EXPECT_EQ(lines[1].bytes, "STORMPINE");
        expectPen(topazFont, lines[0], float(90.0 + 50.0 * double(std::cos(u))), 622.0f, 1.0f);
        // Minus 52: the name starts off the left edge.
        expectPen(topazFont, lines[1], -52.0f, float(112.0 + 6.0 * std::fabs(12.0 * double(std::sin(u)))), 1.0f);
    }
}

TEST_F(CaptionBlocks, ClosingGreetings) {
    float lowestDuneX = 5.0f;
    for (float t : {259.5f, 270.0f, 283.3f, 293.99f}) {
        const float u = t - 259.0f;
        run(closingGreetings, t);
        EXPECT_EQ(clearColour(), (std::vector<float>{0.001f, 0.04f, 0.201f, 0.95f}));
        expectDraws(resources->programs.demo6ptE1, u);
        const auto lines = drawnLines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].bytes, "KIVIPUROHAKA");
        EXPECT_EQ(lines[1].bytes, "MUV");
        EXPECT_EQ(lines[2].bytes, "DUNE 407");
        EXPECT_EQ(lines[3].bytes, "ET TOI! <3");
        const float rock = float(5.0 - double(2.0f * std::cos(u)));
        expectPen(topazFont, lines[0], rock, 962.0f, 1.0f);
        expectPen(topazFont, lines[1], rock, 622.0f, 1.0f);
        const float duneX = float(5.0 - 0.5 * double(std::atan(u)));
        expectPen(topazFont, lines[2], duneX, 342.0f, 1.0f);
        const float k = float(double(std::sin(u)) * 0.1);
        expectPen(topazFont, lines[3], 19.0f, float(12.0 - 0.5 * double(std::cos(u + k))), 1.0f);
        lowestDuneX = std::min(lowestDuneX, duneX);
    }
    // Never below 5 - 0.5 atan 35 = 4.2289 (u stays under 35).
    EXPECT_GT(lowestDuneX, 4.2288f);
    EXPECT_LT(lowestDuneX, 4.24f);
}

TEST_F(CaptionBlocks, GapsAndBoundsShowNoCaption) {
    // Whole frames: only a caption block clears to a colour other than black,
    // and only caption blocks draw with the text programs.
    const Programs& p = resources->programs;
    const std::vector<GLuint> textPrograms = {p.demo6pt1.ID,  p.demo6pt3.ID,  p.demo6pt4.ID,  p.demo6pt61.ID,
                                              p.demo6pt71.ID, p.demo6pt91.ID, p.demo6ptA1.ID, p.demo6ptB1.ID,
                                              p.demo6ptC1.ID, p.demo6ptD1.ID, p.demo6ptE1.ID};
    for (float t : {9.0f, 15.0f, 38.0f, 38.5f, 39.0f, 53.0f, 65.0f, 85.0f, 120.0f, 155.0f, 157.0f, 159.0f, 212.0f,
                    235.0f, 256.0f, 258.0f, 259.0f, 294.0f, 294.5f}) {
        fakegl::install();
        Frame frame{t, *resources, noClock, sound, flag};
        clearAndRunTimeline(frame);
        for (const fakegl::Call* clear : fakegl::calls("glClearColor"))
            EXPECT_EQ(clear->args, (std::vector<double>{0, 0, 0, 1})) << t;
        for (const fakegl::Draw& d : fakegl::state().draws)
            EXPECT_EQ(std::count(textPrograms.begin(), textPrograms.end(), d.program), 0) << t;
    }
}
