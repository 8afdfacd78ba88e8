// Every caption as its block draws it with the committed fonts, at t every
// 0.1 s across the block's window: the lines stay inside the 1920 x 1080
// frame, the pixel-font lines of one frame keep clear of each other, and
// every face has real glyphs for the bytes it is asked to draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "drawn_text.h"
#include "fake_gl.h"
#include "fake_show.h"
#include "timeline/caption_blocks.h"
#include "timeline/chain.h"

namespace {

constexpr float kFrameWidth = 1920.0f;
constexpr float kFrameHeight = 1080.0f;
// Antialiased rims and a pixel or two of bearing may touch the edge.
constexpr float kEdgeSlack = 8.0f;
// Its sway sends it off the left edge on purpose.
const std::string kLeavesOnPurpose = "PORTHAVENS";

const Block kCaptionBlocks[] = {
    openingTitle,    creditsCard,    phraseCaption, greetingsTitle,      greetingsGravelmist, greetingsBrambl,
    greetingsTimbre, greetingsSprig, greetings8463, greetingsGlimmertak, greetingsVeska,      closingGreetings,
};

const std::map<const Font*, const char*> kFontFiles = {
    {&antonioFont, "fonts/Antonio-Regular.ttf"},
    {&c64Font, "fonts/c64.ttf"},
    {&topazFont, "fonts/topaz.ttf"},
};

ScriptedClock noClock;

// The union of a line's non-empty glyph quads.
Box inkBox(const DrawnLine& line) {
    Box box;
    bool any = false;
    for (const Box& glyph : line.glyphs) {
        if (glyph.empty()) continue;
        box = any ? Box{std::min(box.left, glyph.left), std::min(box.bottom, glyph.bottom),
                        std::max(box.right, glyph.right), std::max(box.top, glyph.top)}
                  : glyph;
        any = true;
    }
    return box;
}

// How far the box leaves the frame, past its worst edge (0 or less: inside).
std::pair<float, const char*> pastTheFrame(const Box& box) {
    std::pair<float, const char*> worst{-box.left, "left"};
    for (auto edge : {std::pair{box.right - kFrameWidth, "right"}, std::pair{-box.bottom, "bottom"},
                      std::pair{box.top - kFrameHeight, "top"}})
        if (edge.first > worst.first) worst = edge;
    return worst;
}

// Overlap of two boxes as (width, height); both positive when they overlap.
std::pair<float, float> overlap(const Box& a, const Box& b) {
    return {std::min(a.right, b.right) - std::max(a.left, b.left),
            std::min(a.top, b.top) - std::max(a.bottom, b.bottom)};
}

bool pixelFont(const Font* font) { return font == &c64Font || font == &topazFont; }

// The worst a line (or pair of lines) did across the sweep, for the message.
struct Worst {
    float amount = -1e9f;
    float t = 0;
    std::string what;
};

class CaptionLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const Resources& resources = showBuiltOnFakeGl();
        bool flag = false;
        SilentSoundEngine silent;
        for (const ChainLink& link : kTimelineChain) {
            if (std::find(std::begin(kCaptionBlocks), std::end(kCaptionBlocks), link.block) == std::end(kCaptionBlocks))
                continue;
            for (std::size_t i = 0; i < link.window.count; ++i) {
                const Interval& window = link.window.intervals[i];
                // The show clock starts at 0: a window open below starts there.
                const double start = std::isfinite(window.lo) ? window.lo + 0.1 : 0.0;
                for (int k = 0;; ++k) {
                    const float t = static_cast<float>(start + 0.1 * k);
                    if (!window.contains(t)) break;
                    fakegl::install();
                    Frame frame{t, resources, noClock, silent, flag};
                    link.block(frame);
                    frames.push_back({t, drawnLines()});
                }
            }
        }
    }

    struct SampledFrame {
        float t;
        std::vector<DrawnLine> lines;
    };
    // Every sampled frame of every caption window, drawn once for the suite.
    inline static std::vector<SampledFrame> frames;
};

TEST_F(CaptionLayout, EveryCaptionWindowIsSampled) {
    // 286 seconds of captions, ten frames a second.
    EXPECT_GT(frames.size(), 2800u);
    std::set<const Font*> fonts;
    for (const SampledFrame& f : frames) {
        ASSERT_FALSE(f.lines.empty()) << "t = " << f.t;
        for (const DrawnLine& line : f.lines) fonts.insert(line.font);
    }
    EXPECT_EQ(fonts, (std::set<const Font*>{&antonioFont, &c64Font, &topazFont}));
}

TEST_F(CaptionLayout, LinesStayInsideTheFrame) {
    std::map<std::string, Worst> worst;
    for (const SampledFrame& f : frames)
        for (const DrawnLine& line : f.lines) {
            const auto [past, edge] = pastTheFrame(inkBox(line));
            Worst& w = worst[line.bytes];
            if (past > w.amount) w = {past, f.t, edge};
        }
    for (const auto& [bytes, w] : worst) {
        if (bytes == kLeavesOnPurpose) continue;
        EXPECT_LE(w.amount, kEdgeSlack) << '"' << bytes << "\" leaves the " << w.what << " edge by " << w.amount
                                        << " px at t = " << w.t;
    }
}

TEST_F(CaptionLayout, PixelFontLinesOfOneFrameKeepClear) {
    std::map<std::pair<std::string, std::string>, Worst> worst;
    for (const SampledFrame& f : frames)
        for (std::size_t a = 0; a < f.lines.size(); ++a)
            for (std::size_t b = a + 1; b < f.lines.size(); ++b) {
                const DrawnLine& one = f.lines[a];
                const DrawnLine& other = f.lines[b];
                if (!pixelFont(one.font) || !pixelFont(other.font)) continue;
                const auto [width, height] = overlap(inkBox(one), inkBox(other));
                Worst& w = worst[{one.bytes, other.bytes}];
                const float amount = std::min(width, height);
                if (amount > w.amount) {
                    std::ostringstream what;
                    what << width << " x " << height << " px";
                    w = {amount, f.t, what.str()};
                }
            }
    EXPECT_FALSE(worst.empty());
    for (const auto& [pair, w] : worst)
        EXPECT_LE(w.amount, 0.0f) << '"' << pair.first << "\" and \"" << pair.second << "\" overlap by " << w.what
                                  << " at t = " << w.t;
}

// A face that opens but lacks a glyph would draw its missing-glyph box, or
// nothing at all, without a word: every byte drawn must be in the face's
// character map and give a non-empty bitmap.
TEST_F(CaptionLayout, EachFaceHasRealGlyphsForItsStrings) {
    std::map<const Font*, std::set<unsigned char>> used;
    for (const SampledFrame& f : frames)
        for (const DrawnLine& line : f.lines) {
            EXPECT_EQ(line.bytes.find('?'), std::string::npos) << line.bytes << ": a byte without a glyph record";
            used[line.font].insert(line.bytes.begin(), line.bytes.end());
        }

    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    for (const auto& [font, bytes] : used) {
        FT_Face face;
        ASSERT_EQ(FT_New_Face(library, kFontFiles.at(font), 0, &face), 0) << kFontFiles.at(font);
        for (unsigned char byte : bytes) {
            EXPECT_NE(FT_Get_Char_Index(face, byte), 0u) << kFontFiles.at(font) << " lacks byte " << int(byte);
            if (byte == ' ') continue;
            const Character& ch = font->Characters.at(static_cast<signed char>(byte));
            EXPECT_TRUE(ch.Size.x > 0 && ch.Size.y > 0)
                << kFontFiles.at(font) << " draws byte " << int(byte) << " as an empty bitmap";
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}

}  // namespace
