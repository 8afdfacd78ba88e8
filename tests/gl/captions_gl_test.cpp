#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "edited_program.h"
#include "offscreen_show.h"
#include "render/geometry.h"
#include "render/glyph_atlas.h"

// Real GL (Mesa llvmpipe on a private Xvfb): caption frames show their block's
// background in an empty corner and text where each probed string stands.

namespace {

struct Box {
    int x0, y0, x1, y1;  // screen pixels, origin at the bottom left
};

struct CaptionFrame {
    float t;
    std::array<float, 3> background;  // the block's clear colour (negative blue clears to 0)
    std::array<int, 2> emptyCorner;   // no text, scene or image there at t
    Box text;                         // part of a string that stands still or nearly so
};

// Chosen at seconds where no scene or image covers the probes.
const CaptionFrame kFrames[] = {
    {5.0f, {0.0f, 0.021f, 0.11f}, {1900, 1060}, {1, 22, 600, 200}},             // "l'etat brut"
    {12.0f, {0.41f, 0.14f, 0.0f}, {1900, 1060}, {220, 472, 700, 620}},          // "terrible"
    {16.0f, {0.01f, 0.01f, 0.01f}, {1900, 1060}, {22, 622, 600, 800}},          // "les bizarreries"
    {125.0f, {0.0f, 0.277f, 0.0f}, {1900, 1060}, {152, 12, 600, 200}},          // "GOURD"
    {230.0f, {0.1f, 0.1f, 0.0f}, {1900, 1060}, {150, 622, 500, 700}},           // "GLIMMERTAK" at half size
    {255.0f, {0.31f, 0.02f, 0.101f}, {1900, 1060}, {150, 622, 500, 850}},       // "VESKA"
    {259.7f, {0.001f, 0.04f, 0.201f}, {1910, 500}, {19, 12, 900, 200}},         // "ET TOI! <3"
};

int channel(float c) { return int(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

TEST(CaptionsGl, BackgroundInTheCornerAndTextWhereTheStringsStand) {
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    for (const CaptionFrame& f : kFrames) {
        host.render(f.t);
        const auto corner = show.pixel(f.emptyCorner[0], f.emptyCorner[1]);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(corner[c], channel(f.background[c]), 2) << "t = " << f.t << ", channel " << c;

        // Somewhere in the box the caption stands out clearly from its ground.
        int textPixels = 0;
        for (int y = f.text.y0; y < f.text.y1; y += 2)
            for (int x = f.text.x0; x < f.text.x1; x += 2) {
                const auto p = show.pixel(x, y);
                int difference = 0;
                for (int c = 0; c < 3; ++c) difference += std::abs(p[c] - channel(f.background[c]));
                textPixels += difference > 120;
            }
        EXPECT_GT(textPixels, 200) << "t = " << f.t;
    }
}

TEST(CaptionsGl, TheAccentsOfTheOpeningTitleAreDrawn) {
    // In the strip between the x-height and the top of the "\xEA" of
    // "La  R\xEAve \xE0" stands its circumflex; over the plain "v" beside it
    // there is only ground. Where the glyphs stand comes from the atlas.
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    host.render(5.0f);
    const auto glyph = [](char byte) { return antonioFont.Characters.at(static_cast<signed char>(byte)); };
    float pen = 1.0f;
    for (char byte : {'L', 'a', ' ', ' ', 'R'}) pen += float(glyph(byte).Advance >> 6);
    const Character circumflexE = glyph('\xEA');
    const Character v = glyph('v');
    const int eLeft = int(pen) + circumflexE.Bearing.x;
    const int vLeft = int(pen + float(circumflexE.Advance >> 6)) + v.Bearing.x;
    const int strip0 = 622 + v.Bearing.y + 4;
    const int strip1 = 622 + circumflexE.Bearing.y;
    ASSERT_GT(strip1 - strip0, 10) << "the accent stands above the x-height";
    int accent = 0;
    int plain = 0;
    for (int y = strip0; y < strip1; ++y) {
        for (int x = eLeft; x < eLeft + circumflexE.Size.x; ++x) accent += show.pixel(x, y)[2] > 150;
        for (int x = vLeft + 4; x < vLeft + v.Size.x - 4; ++x) plain += show.pixel(x, y)[2] > 150;
    }
    EXPECT_GT(accent, 500);
    EXPECT_EQ(plain, 0);
}

namespace {

// What start-up gives every text program.
void asText(Shader& program) {
    program.use();
    program.setMat4("projection", screenProjection());
}

}  // namespace

TEST(CaptionsGl, GatheredCoverageDrawsAsTheFilteredTap) {
    // The desktop programs blend a gather's four texels themselves; the ES
    // programs take the filtered tap, which the desktop text keeps for them.
    // A program forced onto the filtered tap must draw the same frame: a
    // gather aimed at the wrong corner, or its texels blended in the wrong
    // order, moves every glyph edge.
    const std::string gathered = "#if __VERSION__ >= 400";
    const ProgramEdit cases[] = {
        {&Programs::demo6pt1, "demo6pt1", 12.0f},   {&Programs::demo6pt3, "demo6pt3", 25.0f},
        {&Programs::demo6pt4, "demo6pt4", 45.0f},   {&Programs::demo6pt61, "demo6pt61", 57.0f},
        {&Programs::demo6pt71, "demo6pt71", 70.0f}, {&Programs::demo6ptE1, "demo6ptE1", 288.0f},
    };
    for (const ProgramEdit& c : cases) {
        const std::vector<int> d = pixelsMovedByEdit(c, ".fs", gathered, "#if 0", asText);
        ASSERT_FALSE(d.empty());
        EXPECT_LE(std::count_if(d.begin(), d.end(), [](int v) { return v > 4; }), 20) << c.stem << " at t = " << c.t;
    }
}

TEST(CaptionsGl, UnfilteredTapsDrawAsTheFilteredOnes) {
    // Wide halos, glows and outlines take one texel where a filtered tap
    // blends four; over radii of several texels that must not show. Each
    // program forced back onto filtered taps draws nearly the same frame: a
    // tap aimed at the wrong texel, or reading the bitmap's rows or columns
    // the wrong way, moves or smears every halo.
    const std::string unfiltered = "float texelCoverage(vec2 p) {";
    const ProgramEdit cases[] = {
        {&Programs::demo6pt1, "demo6pt1", 4.5f},    {&Programs::demo6pt3, "demo6pt3", 25.0f},
        {&Programs::demo6pt61, "demo6pt61", 57.0f}, {&Programs::demo6pt71, "demo6pt71", 70.0f},
        {&Programs::demo6ptC1, "demo6ptC1", 217.0f}, {&Programs::demo6ptD1, "demo6ptD1", 255.0f},
        {&Programs::demo6ptE1, "demo6ptE1", 271.5f},
    };
    for (const ProgramEdit& c : cases) {
        const std::vector<int> d = pixelsMovedByEdit(c, ".fs", unfiltered, unfiltered + " return coverage(p);", asText);
        ASSERT_FALSE(d.empty());
        double total = 0.0;
        for (int v : d) total += v;
        // Measured: means of 0.06 to 0.29 and no pixel off by more than 48.
        // Taps aimed half a texel off put hundreds of pixels that far out.
        EXPECT_LT(total / d.size(), 0.6) << c.stem << " at t = " << c.t;
        EXPECT_LE(std::count_if(d.begin(), d.end(), [](int v) { return v > 48; }), 50) << c.stem << " at t = " << c.t;
    }
}

TEST(CaptionsGl, EveryGlyphQuadHoldsAllItDraws) {
    // Each program grows its glyph quads by a margin just wide enough for its
    // halo, shadow or motion (and, for taps shared over a 2x2 pixel quad, the
    // neighbour's reach); fragments beyond it are never drawn. With the
    // margin grown by 8 texels more, the frame must not change: a margin
    // too narrow cuts a halo off in a straight line along the glyph quad's edge.
    const std::string emit = "void emitGlyphQuad(vec2 margin, float scale) {";
    const ProgramEdit cases[] = {
        {&Programs::demo6pt1, "demo6pt1", 4.5f},     {&Programs::demo6pt1, "demo6pt1", 12.0f},
        {&Programs::demo6pt3, "demo6pt3", 25.0f},    {&Programs::demo6pt4, "demo6pt4", 45.0f},
        {&Programs::demo6pt61, "demo6pt61", 57.0f},  {&Programs::demo6pt71, "demo6pt71", 70.0f},
        {&Programs::demo6pt91, "demo6pt91", 100.0f}, {&Programs::demo6ptA1, "demo6ptA1", 140.0f},
        {&Programs::demo6ptB1, "demo6ptB1", 190.0f}, {&Programs::demo6ptC1, "demo6ptC1", 217.0f},
        {&Programs::demo6ptD1, "demo6ptD1", 255.0f}, {&Programs::demo6ptE1, "demo6ptE1", 271.5f},
    };
    for (const ProgramEdit& c : cases) {
        const std::vector<int> d = pixelsMovedByEdit(c, ".vs", emit, emit + " margin += 8.0;", asText);
        ASSERT_FALSE(d.empty());
        // Faint fragments round to the ground either way: off by 1 at most.
        EXPECT_EQ(std::count_if(d.begin(), d.end(), [](int v) { return v > 1; }), 0) << c.stem << " at t = " << c.t;
    }
}
