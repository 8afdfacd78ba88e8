#include "ink.h"

#include <algorithm>
#include <cmath>

#include FT_OUTLINE_H

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace ink {

namespace {

constexpr float kPi = 3.14159265358979f;

// A well-mixed 32-bit integer hash (lowbias32).
std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

float smoothstep(float lo, float hi, float x) {
    return smooth(std::clamp((x - lo) / (hi - lo), 0.0f, 1.0f));
}

// Signed random in -1..1 for letter i, property k.
float jitterOf(std::uint32_t seed, std::uint32_t i, std::uint32_t k) {
    return random01(seed * 131U + i, k) * 2.0f - 1.0f;
}

// Bilinear read of a layer, zero outside.
float sample(const Canvas& c, int l, float x, float y) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0;
    const float fy = y - y0;
    auto at = [&](int xi, int yi) {
        if (xi < 0 || yi < 0 || xi >= c.size || yi >= c.size) return 0.0f;
        return c.layer[l][static_cast<std::size_t>(yi) * c.size + xi];
    };
    const float top = at(x0, y0) * (1.0f - fx) + at(x0 + 1, y0) * fx;
    const float bottom = at(x0, y0 + 1) * (1.0f - fx) + at(x0 + 1, y0 + 1) * fx;
    return top * (1.0f - fy) + bottom * fy;
}

// Paints an anti-aliased disc, keeping the darker of old and new coverage.
void disc(Canvas& c, int l, float cx, float cy, float r) {
    const int x0 = std::max(0, static_cast<int>(cx - r - 1.0f));
    const int x1 = std::min(c.size - 1, static_cast<int>(cx + r + 1.0f));
    const int y0 = std::max(0, static_cast<int>(cy - r - 1.0f));
    const int y1 = std::min(c.size - 1, static_cast<int>(cy + r + 1.0f));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float cover = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
            float& px = c.at(l, x, y);
            px = std::max(px, cover);
        }
}

Point catmullRom(Point p0, Point p1, Point p2, Point p3, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    auto mix = [&](float a, float b, float c, float d) {
        return 0.5f * (2.0f * b + (c - a) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 +
                       (3.0f * b - a - 3.0f * c + d) * t3);
    };
    return {mix(p0.x, p1.x, p2.x, p3.x), mix(p0.y, p1.y, p2.y, p3.y)};
}

// The curve through the points, sampled every half working pixel or so.
std::vector<Point> smoothPath(const std::vector<Point>& pts) {
    std::vector<Point> path;
    if (pts.size() < 2) return pts;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const Point p0 = pts[i == 0 ? 0 : i - 1];
        const Point p1 = pts[i];
        const Point p2 = pts[i + 1];
        const Point p3 = pts[std::min(pts.size() - 1, i + 2)];
        const float len = std::hypot(p2.x - p1.x, p2.y - p1.y);
        const int steps = std::max(2, static_cast<int>(len * 2.0f));
        for (int s = 0; s < steps; ++s) path.push_back(catmullRom(p0, p1, p2, p3, float(s) / steps));
    }
    path.push_back(pts.back());
    return path;
}

// Draws one glyph (or only measures it when draw is false); returns its advance.
float glyph(Canvas& canvas, int l, const Lettering& style, unsigned char code, std::uint32_t index, float penX,
            float baseline, bool draw) {
    const float wild = style.jitter;
    const float angle = 0.07f * wild * jitterOf(style.seed, index, 1);
    const float scale = 1.0f + 0.05f * wild * jitterOf(style.seed, index, 2);
    const float lift = 0.03f * wild * style.pixelSize * jitterOf(style.seed, index, 3);
    const float spacing = 0.012f * wild * style.pixelSize * jitterOf(style.seed, index, 4);

    FT_Face face = style.face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(style.pixelSize * scale)));
    FT_Matrix turn;
    turn.xx = static_cast<FT_Fixed>(std::cos(angle) * 65536.0f);
    turn.xy = static_cast<FT_Fixed>(-std::sin(angle) * 65536.0f);
    turn.yx = static_cast<FT_Fixed>(std::sin(angle) * 65536.0f);
    turn.yy = turn.xx;
    FT_Set_Transform(face, &turn, nullptr);
    if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return 0.0f;

    const float bold = style.weight * style.pixelSize;
    const float advance = static_cast<float>(face->glyph->advance.x) / 64.0f + bold + spacing;
    if (!draw) return advance;
    FT_Outline_Embolden(&face->glyph->outline, static_cast<FT_Pos>(bold * 64.0f));
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return advance;

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const int left = static_cast<int>(std::lround(penX)) + face->glyph->bitmap_left;
    const int top = static_cast<int>(std::lround(baseline + lift)) - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + static_cast<int>(col);
            const int y = top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= canvas.size || y >= canvas.size) continue;
            const float cover = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
            float& px = canvas.at(l, x, y);
            px = std::max(px, cover);
        }
    return advance;
}

}  // namespace

Canvas::Canvas(int outputSize) : size(outputSize * 2) {
    for (auto& l : layer) l.assign(static_cast<std::size_t>(size) * size, 0.0f);
}

float random01(std::uint32_t a, std::uint32_t b) {
    return static_cast<float>(hash(a * 0x9E3779B9U ^ hash(b + 0x85EBCA6BU)) >> 8) / 16777216.0f;
}

float noise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::uint32_t>(static_cast<std::int32_t>(fx));
    const auto iy = static_cast<std::uint32_t>(static_cast<std::int32_t>(fy));
    auto corner = [&](std::uint32_t dx, std::uint32_t dy) { return random01(seed, hash(ix + dx) ^ (iy + dy) * 0x27d4eb2dU); };
    const float sx = smooth(x - fx);
    const float sy = smooth(y - fy);
    const float top = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * sx;
    const float bottom = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * sx;
    return top + (bottom - top) * sy;
}

float write(Canvas& canvas, int l, const Lettering& style, const std::string& text, float x, float y) {
    float width = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i)
        width += glyph(canvas, l, style, static_cast<unsigned char>(text[i]), static_cast<std::uint32_t>(i), 0.0f,
                       0.0f, false);
    float pen = x - width * 0.5f;
    for (std::size_t i = 0; i < text.size(); ++i)
        pen += glyph(canvas, l, style, static_cast<unsigned char>(text[i]), static_cast<std::uint32_t>(i), pen, y,
                     true);
    FT_Set_Transform(style.face, nullptr, nullptr);
    return width;
}

void stroke(Canvas& canvas, int l, const std::vector<Point>& points, float width, std::uint32_t seed, float taper) {
    const std::vector<Point> path = smoothPath(points);
    float total = 0.0f;
    for (std::size_t i = 1; i < path.size(); ++i)
        total += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
    if (total <= 0.0f) return;

    float along = 0.0f;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) along += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
        const float u = along / total;
        // Pressure: full in the middle, lifting off at the ends, and never quite even.
        const float lift = std::pow(std::sin(kPi * std::clamp(u, 0.0f, 1.0f)), 0.45f * taper);
        const float pressure = 0.8f + 0.4f * noise(along * 0.015f, 0.5f, seed);
        const float r = std::max(0.7f, 0.5f * width * lift * pressure);
        // A small tremor across the direction of travel.
        const std::size_t j = std::min(path.size() - 1, i + 1);
        const std::size_t k = i == 0 ? 0 : i - 1;
        float nx = -(path[j].y - path[k].y);
        float ny = path[j].x - path[k].x;
        const float n = std::hypot(nx, ny);
        if (n > 0.0f) { nx /= n; ny /= n; }
        const float shake = (noise(along * 0.04f, 7.5f, seed + 1) - 0.5f) * width * 0.25f;
        disc(canvas, l, path[i].x + nx * shake, path[i].y + ny * shake, r);
    }
}

void dot(Canvas& canvas, int l, Point centre, float radius, std::uint32_t seed) {
    const int reach = static_cast<int>(radius * 1.3f) + 2;
    for (int y = static_cast<int>(centre.y) - reach; y <= static_cast<int>(centre.y) + reach; ++y)
        for (int x = static_cast<int>(centre.x) - reach; x <= static_cast<int>(centre.x) + reach; ++x) {
            if (x < 0 || y < 0 || x >= canvas.size || y >= canvas.size) continue;
            const float dx = x + 0.5f - centre.x;
            const float dy = y + 0.5f - centre.y;
            const float angle = std::atan2(dy, dx);
            // The blot's rim bulges a little where the ink ran.
            const float rim = radius * (0.85f + 0.3f * noise(std::cos(angle) * 1.7f + 3.0f, std::sin(angle) * 1.7f + 3.0f, seed));
            const float cover = std::clamp(rim - std::hypot(dx, dy) + 0.5f, 0.0f, 1.0f);
            float& px = canvas.at(l, x, y);
            px = std::max(px, cover);
        }
}

void roughen(Canvas& canvas, float amount, std::uint32_t seed) {
    const int n = canvas.size;
    const float fibreAngle = -0.35f;  // the brush drags slightly uphill
    const float fc = std::cos(fibreAngle);
    const float fs = std::sin(fibreAngle);
    for (int l = 0; l < 2; ++l) {
        std::vector<float> out(canvas.layer[l].size());
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                // Wobble: the whole line drifts a pixel or two, as a hand does.
                const float wx = (noise(x / 48.0f, y / 48.0f, seed + 10) - 0.5f) * 5.0f * amount;
                const float wy = (noise(x / 48.0f, y / 48.0f, seed + 11) - 0.5f) * 5.0f * amount;
                float a = sample(canvas, l, x + wx, y + wy);
                // Ragged edges: fine noise nudges where the edge falls (only near
                // ink, so the ground stays clear).
                a += (noise(x / 3.2f, y / 3.2f, seed + 12) - 0.5f) * 0.45f * amount * smoothstep(0.0f, 0.25f, a);
                a = smoothstep(0.18f, 0.82f, a);
                // Dry-brush fibres: thin streaks along the drag where the ink runs short.
                const float u = x * fc + y * fs;
                const float v = -x * fs + y * fc;
                const float fibre = noise(u / 36.0f, v / 1.6f, seed + 13);
                a *= 1.0f - 0.4f * amount * smoothstep(0.6f, 0.95f, fibre);
                out[static_cast<std::size_t>(y) * n + x] = a;
            }
        canvas.layer[l] = std::move(out);
    }
}

bool writePng(const Canvas& canvas, Colour ink, Colour accent, std::uint32_t seed, const std::string& path) {
    const int size = canvas.size / 2;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float cover[2];
            for (int l = 0; l < 2; ++l) {
                const auto& src = canvas.layer[l];
                const auto at = [&](int xi, int yi) { return src[static_cast<std::size_t>(yi) * canvas.size + xi]; };
                cover[l] = 0.25f * (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) +
                                    at(2 * x + 1, 2 * y + 1));
            }
            const float alpha = cover[1] + cover[0] * (1.0f - cover[1]);
            const float mixAccent = alpha > 0.0f ? cover[1] / alpha : 0.0f;
            // Uneven ink: some patches a shade deeper than others.
            // Unpainted pixels keep the plain ink colour, which also keeps the file small.
            const float density = alpha > 0.0f ? 0.88f + 0.12f * noise(x / 22.0f, y / 22.0f, seed + 20) : 1.0f;
            const float rgb[3] = {ink.r + (accent.r - ink.r) * mixAccent, ink.g + (accent.g - ink.g) * mixAccent,
                                  ink.b + (accent.b - ink.b) * mixAccent};
            unsigned char* px = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c)
                px[c] = static_cast<unsigned char>(std::lround(std::clamp(rgb[c] * density, 0.0f, 1.0f) * 255.0f));
            px[3] = static_cast<unsigned char>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
        }
    stbi_write_png_compression_level = 9;
    return stbi_write_png(path.c_str(), size, size, 4, rgba.data(), size * 4) != 0;
}

}  // namespace ink
