// Makes the show's eight image overlays: brush-pen words with small ink
// drawings that answer the captions, on transparent ground.
//
//   make_images [out-dir] [font]
//
// out-dir defaults to demo6/images; the lettering font defaults to URW's
// Z003 (a chancery hand). The output is the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ink.h"

namespace {

using ink::Canvas;
using ink::Colour;
using ink::Lettering;
using ink::Point;

constexpr float kPi = 3.14159265358979f;
constexpr int kLettering = 0;
constexpr int kAccent = 1;

// Ink colours chosen to stand out on the show's dark blue, wine red and teal grounds.
constexpr Colour kCoral{1.0f, 0.54f, 0.44f};
constexpr Colour kIvory{1.0f, 0.95f, 0.85f};
constexpr Colour kCyan{0.49f, 0.91f, 0.89f};
constexpr Colour kGold{1.0f, 0.82f, 0.4f};
constexpr Colour kPink{1.0f, 0.62f, 0.78f};
constexpr Colour kMint{0.71f, 0.94f, 0.48f};
constexpr Colour kLavender{0.78f, 0.66f, 1.0f};
constexpr Colour kOrange{1.0f, 0.65f, 0.32f};

FT_Face gFace = nullptr;

// Positions and sizes are fractions of the canvas, so a picture can be made at any size.
struct Sheet {
    Canvas& canvas;
    float w() const { return static_cast<float>(canvas.size); }
    Point at(float fx, float fy) const { return {fx * w(), fy * w()}; }
    Lettering hand(float size, std::uint32_t seed, float jitter = 1.0f) const {
        Lettering style;
        style.face = gFace;
        style.pixelSize = size * w();
        style.jitter = jitter;
        style.seed = seed;
        return style;
    }
    float write(int l, const Lettering& style, const char* text, float fx, float fy) const {
        return ink::write(canvas, l, style, text, fx * w(), fy * w()) / w();
    }
    void stroke(int l, std::vector<Point> pts, float width, std::uint32_t seed, float taper = 1.0f) const {
        ink::stroke(canvas, l, pts, width * w(), seed, taper);
    }
    void dot(int l, float fx, float fy, float r, std::uint32_t seed) const {
        ink::dot(canvas, l, at(fx, fy), r * w(), seed);
    }
};

// Short lines bursting out of a point, like a cartoon's surprise.
void burst(const Sheet& s, float cx, float cy, float inner, float outer, float from, float to, int count,
           std::uint32_t seed) {
    for (int i = 0; i < count; ++i) {
        const float a = from + (to - from) * i / (count - 1);
        s.stroke(kAccent, {s.at(cx + inner * std::cos(a), cy - inner * std::sin(a)),
                           s.at(cx + outer * std::cos(a), cy - outer * std::sin(a))},
                 0.022f, seed + i);
    }
}

// A four-pointed sparkle.
void sparkle(const Sheet& s, float cx, float cy, float r, std::uint32_t seed) {
    s.stroke(kAccent, {s.at(cx, cy - r), s.at(cx, cy + r)}, r * 0.32f, seed);
    s.stroke(kAccent, {s.at(cx - r * 0.75f, cy), s.at(cx + r * 0.75f, cy)}, r * 0.28f, seed + 1);
}

void what(const Sheet& s) {
    s.write(kLettering, s.hand(0.36f, 11), "what?", 0.47f, 0.62f);
    burst(s, 0.8f, 0.37f, 0.09f, 0.16f, 0.2f, 1.5f, 4, 12);
    s.stroke(kAccent, {s.at(0.16f, 0.76f), s.at(0.4f, 0.79f), s.at(0.62f, 0.77f)}, 0.02f, 13);
}

void where(const Sheet& s) {
    s.write(kLettering, s.hand(0.31f, 21), "where?", 0.5f, 0.45f);
    // A dotted trail that wanders off to an X, as on a treasure map.
    const std::vector<Point> trail = {s.at(0.12f, 0.62f), s.at(0.27f, 0.74f), s.at(0.43f, 0.66f),
                                      s.at(0.58f, 0.78f), s.at(0.72f, 0.74f)};
    for (int i = 0; i < 6; ++i) {
        const float u = i / 5.5f * 4.0f;
        const int seg = std::min(3, static_cast<int>(u));
        const float f = u - seg;
        const Point a = trail[seg];
        const Point b = trail[seg + 1];
        const Point p{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
        const float len = std::hypot(b.x - a.x, b.y - a.y);
        const float dash = 0.045f * s.w() / len;
        const Point q{p.x + (b.x - a.x) * dash, p.y + (b.y - a.y) * dash};
        ink::stroke(s.canvas, kAccent, {p, q}, 0.024f * s.w(), 22 + i);
    }
    s.stroke(kAccent, {s.at(0.77f, 0.68f), s.at(0.9f, 0.83f)}, 0.036f, 30);
    s.stroke(kAccent, {s.at(0.9f, 0.67f), s.at(0.77f, 0.84f)}, 0.036f, 31);
}

void laFrange(const Sheet& s) {
    s.write(kLettering, s.hand(0.24f, 41), "la frange", 0.5f, 0.33f);
    // The fringe: a band across with strands hanging from it, each its own length.
    const float left = 0.14f;
    const float right = 0.86f;
    auto bandY = [](float x) { return 0.47f - 0.05f * std::sin((x - 0.14f) / 0.72f * kPi); };
    s.stroke(kAccent, {s.at(left, bandY(left)), s.at(0.32f, bandY(0.32f)), s.at(0.5f, bandY(0.5f)),
                       s.at(0.68f, bandY(0.68f)), s.at(right, bandY(right))},
             0.03f, 42, 0.3f);
    const int strands = 15;
    for (int i = 0; i < strands; ++i) {
        const float x = left + 0.02f + (right - left - 0.04f) * i / (strands - 1);
        const float top = bandY(x) + 0.01f;
        const float length = 0.2f + 0.12f * ink::random01(43, i) - 0.08f * std::abs(x - 0.5f);
        const float sway = 0.03f * (ink::random01(44, i) - 0.5f) + 0.05f * (x - 0.5f);
        s.stroke(kLettering,
                 {s.at(x, top), s.at(x + sway * 0.4f, top + length * 0.5f), s.at(x + sway, top + length)},
                 0.022f, 45 + i);
    }
}

void maybe(const Sheet& s) {
    s.write(kLettering, s.hand(0.34f, 51), "maybe", 0.5f, 0.55f);
    // A wavering underline: not quite sure of itself.
    std::vector<Point> wave;
    for (int i = 0; i <= 24; ++i) {
        const float u = i / 24.0f;
        wave.push_back(s.at(0.14f + 0.72f * u, 0.72f + 0.03f * std::sin(u * 5.0f * kPi)));
    }
    s.stroke(kAccent, wave, 0.024f, 52);
}

void mais(const Sheet& s) {
    const Lettering hand = s.hand(0.38f, 61);
    const float width = s.write(kLettering, hand, "mais", 0.4f, 0.58f);
    // The trailing dots, each a little lower, as the voice drops.
    const float start = 0.4f + width * 0.5f + 0.05f;
    for (int i = 0; i < 3; ++i) s.dot(kAccent, start + 0.085f * i, 0.56f + 0.035f * i, 0.026f, 62 + i);
}

void answer(const Sheet& s) {
    s.write(kLettering, s.hand(0.2f, 71), "the", 0.36f, 0.32f);
    const float width = s.write(kLettering, s.hand(0.3f, 72), "answer", 0.5f, 0.6f);
    const float left = 0.5f - width * 0.5f;
    const float right = 0.5f + width * 0.5f;
    s.stroke(kAccent, {s.at(left, 0.69f), s.at(0.5f, 0.7f), s.at(right, 0.675f)}, 0.022f, 73);
    s.stroke(kAccent, {s.at(left + 0.06f, 0.74f), s.at(0.5f, 0.745f), s.at(right - 0.04f, 0.73f)}, 0.018f, 74);
    sparkle(s, 0.74f, 0.2f, 0.07f, 75);
    sparkle(s, 0.86f, 0.32f, 0.04f, 77);
}

void nonsensical(const Sheet& s) {
    // A shakier hand than the others: the word itself should not quite make sense.
    s.write(kLettering, s.hand(0.175f, 81, 3.0f), "nonsensical", 0.5f, 0.5f);
    // A looping scribble, like a telephone cord, under it and a spiral over it.
    std::vector<Point> loops;
    for (int i = 0; i <= 120; ++i) {
        const float u = i / 120.0f;
        const float a = u * 2.0f * kPi * 6.0f;
        loops.push_back(s.at(0.14f + 0.7f * u + 0.035f * std::cos(a), 0.68f + 0.04f * std::sin(a)));
    }
    s.stroke(kAccent, loops, 0.014f, 82, 0.4f);
    std::vector<Point> spiral;
    for (int i = 0; i <= 60; ++i) {
        const float u = i / 60.0f;
        const float a = u * 2.0f * kPi * 2.3f;
        const float r = 0.01f + 0.07f * u;
        spiral.push_back(s.at(0.22f + r * std::cos(a), 0.24f + r * std::sin(a)));
    }
    s.stroke(kAccent, spiral, 0.014f, 83, 0.4f);
}

void lastOne(const Sheet& s) {
    s.write(kLettering, s.hand(0.24f, 91), "the last", 0.46f, 0.4f);
    const float width = s.write(kLettering, s.hand(0.3f, 92), "one", 0.42f, 0.68f);
    // A small heart drawn in one stroke beside the last word.
    const float cx = 0.42f + width * 0.5f + 0.13f;
    const float cy = 0.58f;
    std::vector<Point> heart;
    for (int i = 0; i <= 48; ++i) {
        const float a = i / 48.0f * 2.0f * kPi;
        const float x = 16.0f * std::pow(std::sin(a), 3.0f);
        const float y = 13.0f * std::cos(a) - 5.0f * std::cos(2.0f * a) - 2.0f * std::cos(3.0f * a) - std::cos(4.0f * a);
        heart.push_back(s.at(cx + x * 0.0055f, cy - y * 0.0055f));
    }
    s.stroke(kAccent, heart, 0.024f, 93, 0.25f);
    s.stroke(kAccent, {s.at(0.18f, 0.78f), s.at(0.42f, 0.8f), s.at(0.66f, 0.77f)}, 0.02f, 94);
}

struct Picture {
    const char* file;
    int size;  // pixels, square
    Colour ink;
    Colour accent;
    void (*draw)(const Sheet&);
    std::uint32_t seed;
};

const Picture kPictures[] = {
    {"what1.png", 320, kCoral, kIvory, what, 1},
    {"where3.png", 320, kCyan, kGold, where, 2},
    {"lafrange.png", 320, kGold, kCoral, laFrange, 3},
    {"maybe.png", 320, kIvory, kPink, maybe, 4},
    {"mais.png", 320, kPink, kIvory, mais, 5},
    {"answer1.png", 320, kMint, kGold, answer, 6},
    {"nonsensical1.png", 320, kLavender, kOrange, nonsensical, 7},
    {"last1.png", 384, kIvory, kCoral, lastOne, 8},
};

}  // namespace

int main(int argc, char** argv) {
    const std::string outDir = argc > 1 ? argv[1] : "demo6/images";
    const std::string font = argc > 2 ? argv[2] : "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf";

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, font.c_str(), 0, &gFace) != 0) {
        std::printf("cannot open the lettering font %s\n", font.c_str());
        return 1;
    }
    int failures = 0;
    for (const Picture& picture : kPictures) {
        Canvas canvas(picture.size);
        picture.draw(Sheet{canvas});
        ink::roughen(canvas, 1.0f, picture.seed * 1000U);
        const std::string path = outDir + "/" + picture.file;
        if (ink::writePng(canvas, picture.ink, picture.accent, picture.seed, path)) {
            std::printf("wrote %s\n", path.c_str());
        } else {
            std::printf("cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    FT_Done_Face(gFace);
    FT_Done_FreeType(library);
    return failures == 0 ? 0 : 1;
}
