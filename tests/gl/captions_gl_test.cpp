#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "offscreen_show.h"
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
    for (const CaptionFrame& f : kFrames) {
        show.renderFrame(f.t);
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
    show.renderFrame(5.0f);
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
