#pragma once
// A small ink-on-transparent painter for the show's image overlays: brush-pen
// lettering from an outline font, brush strokes along smooth paths, and a
// roughening pass (ink wobble, ragged edges, dry-brush fibres). Everything is
// drawn at twice the output size and boxed down, so edges come out smooth.
// Randomness comes from integer hashes only, so the output is the same on
// every run.
#include <cstdint>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace ink {

struct Colour {
    float r, g, b;
};

struct Point {
    float x, y;  // working pixels, origin at the top left
};

// Two coverage layers (0 = lettering ink, 1 = accent ink) at the working size.
struct Canvas {
    int size = 0;  // working size = 2 x output size
    std::vector<float> layer[2];

    explicit Canvas(int outputSize);
    float& at(int l, int x, int y) { return layer[l][static_cast<std::size_t>(y) * size + x]; }
};

// Deterministic value noise in 0..1 (smooth, period-free), seeded.
float noise(float x, float y, std::uint32_t seed);
// Hash of two integers to 0..1.
float random01(std::uint32_t a, std::uint32_t b);

struct Lettering {
    FT_Face face = nullptr;
    float pixelSize = 100.0f;  // working pixels
    float jitter = 1.0f;       // 1 = a steady hand; more for a shakier one
    float weight = 0.035f;     // extra stroke thickness, as a fraction of the size
    std::uint32_t seed = 1;
};

// Writes `text` on layer `l` centred on x with its baseline at y; every letter
// gets its own small turn, size and baseline shift. Returns the text's width.
float write(Canvas& canvas, int l, const Lettering& style, const std::string& text, float x, float y);

// A brush stroke through the points (a Catmull-Rom curve), thick in the middle
// and tapering at both ends, with a slight tremor.
void stroke(Canvas& canvas, int l, const std::vector<Point>& points, float width, std::uint32_t seed,
            float taper = 1.0f);
// A round ink blot.
void dot(Canvas& canvas, int l, Point centre, float radius, std::uint32_t seed);

// Wobbles, frays and textures both layers like ink from a brush pen.
void roughen(Canvas& canvas, float amount, std::uint32_t seed);

// Boxes the canvas down to the output size and writes an RGBA PNG: accent ink
// over lettering ink, unpainted pixels fully transparent (with the ink's colour,
// so filtering never darkens the edges). Returns false when writing fails.
bool writePng(const Canvas& canvas, Colour ink, Colour accent, std::uint32_t seed, const std::string& path);

}  // namespace ink
