#include "overlay.h"

#include <algorithm>

#include "offscreen_show.h"

namespace {

// Little-endian RGBA, as GL reads GL_RGBA + GL_UNSIGNED_BYTE.
constexpr std::uint32_t rgba(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16) | (0xffu << 24);
}
constexpr std::uint32_t kBackground = rgba(14, 14, 22);
constexpr std::uint32_t kText = rgba(235, 235, 235);
constexpr std::uint32_t kWarning = rgba(255, 150, 60);
constexpr std::uint32_t kGood = rgba(90, 200, 110);
constexpr std::uint32_t kGuide = rgba(90, 90, 110);
constexpr float kFrameBudgetMs = 1000.0f / 60.0f;

std::uint32_t mix(std::uint32_t under, std::uint32_t over, int coverage) {
    std::uint32_t out = 0xffu << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((under >> shift) & 0xff), b = int((over >> shift) & 0xff);
        out |= std::uint32_t((a * (255 - coverage) + b * coverage) / 255) << shift;
    }
    return out;
}

}  // namespace

Overlay::Overlay(const char* fontPath)
    : font_(rasteriseFont(fontPath, 16, 128)), pixels_(std::size_t(kWidth) * kHeight, kBackground) {
    const GlExtras& gl = glExtras();
    gl.glCreateTextures(GL_TEXTURE_2D, 1, &texture_);
    gl.glTextureStorage2D(texture_, 1, GL_RGBA8, kWidth, kHeight);
    gl.glCreateFramebuffers(1, &framebuffer_);
    gl.glNamedFramebufferTexture(framebuffer_, GL_COLOR_ATTACHMENT0, texture_, 0);
}

void Overlay::fill(int x, int y, int w, int h, std::uint32_t colour) {
    for (int row = std::max(y, 0); row < std::min(y + h, kHeight); ++row)
        for (int col = std::max(x, 0); col < std::min(x + w, kWidth); ++col)
            pixels_[std::size_t(row) * kWidth + std::size_t(col)] = colour;
}

int Overlay::advance(unsigned char code) const {
    if (code >= font_.glyphs.size() || !font_.glyphs[code].loaded) code = '?';
    return code < font_.glyphs.size() ? int(font_.glyphs[code].advance >> 6) : 0;
}

void Overlay::text(int x, int baseline, const std::string& line, std::uint32_t colour) {
    for (unsigned char code : line) {
        if (code >= font_.glyphs.size()) code = '?';
        const RasterisedGlyph& glyph = font_.glyphs[code];
        if (!glyph.loaded) continue;
        for (int row = 0; row < glyph.rows; ++row)
            for (int col = 0; col < glyph.width; ++col) {
                const int px = x + glyph.left + col, py = baseline - glyph.top + row;
                if (px < 0 || px >= width_ || py < 0 || py >= kHeight) continue;
                const int coverage = glyph.coverage[std::size_t(row) * std::size_t(glyph.width) + std::size_t(col)];
                std::uint32_t& pixel = pixels_[std::size_t(py) * kWidth + std::size_t(px)];
                pixel = mix(pixel, colour, coverage);
            }
        x += int(glyph.advance >> 6);
    }
}

// Breaks every line where it would run past `width` pixels, the rest indented.
std::vector<OverlayLine> Overlay::wrapped(const std::vector<OverlayLine>& lines, int width) const {
    std::vector<OverlayLine> out;
    for (const OverlayLine& line : lines) {
        std::string rest = line.text;
        for (bool first = true; first || !rest.empty(); first = false) {
            const std::string indent = first ? "" : "    ";
            int used = 0;
            std::size_t fits = 0;
            for (char c : indent) used += advance(static_cast<unsigned char>(c));
            while (fits < rest.size() && used + advance(static_cast<unsigned char>(rest[fits])) <= width)
                used += advance(static_cast<unsigned char>(rest[fits++]));
            fits = std::max<std::size_t>(fits, 1);
            out.push_back({indent + rest.substr(0, fits), line.warning});
            rest.erase(0, fits);
        }
    }
    return out;
}

void Overlay::compose(const std::vector<OverlayLine>& lines, const std::vector<float>& frameMs, int maxWidth) {
    // As wide as the longest line, within the window.
    width_ = std::clamp(maxWidth, 64, kWidth);
    const std::vector<OverlayLine> shown = wrapped(lines, width_ - 16);
    int longest = 0;
    for (const OverlayLine& line : shown) {
        int used = 0;
        for (char c : line.text) used += advance(static_cast<unsigned char>(c));
        longest = std::max(longest, used);
    }
    width_ = std::min(width_, std::max(longest + 16, 480));
    const int count = std::min<int>(int(shown.size()), kLines);
    height_ = count * kLineHeight + kGraphHeight + 16;
    std::fill(pixels_.begin(), pixels_.end(), kBackground);
    for (int i = 0; i < count; ++i)
        text(8, 8 + (i + 1) * kLineHeight - 5, shown[std::size_t(i)].text,
             shown[std::size_t(i)].warning ? kWarning : kText);
    // The graph: one bar per frame, 2 px per ms, with a guide at 60 frames per second.
    const int bottom = height_ - 8;
    fill(8, bottom - int(kFrameBudgetMs * 2), width_ - 16, 1, kGuide);
    const int bars = (width_ - 16) / 3;
    const std::size_t first = frameMs.size() > std::size_t(bars) ? frameMs.size() - std::size_t(bars) : 0;
    for (std::size_t i = first; i < frameMs.size(); ++i) {
        const int height = std::clamp(int(frameMs[i] * 2.0f), 1, kGraphHeight);
        fill(8 + int(i - first) * 3, bottom - height, 2, height, frameMs[i] <= kFrameBudgetMs ? kGood : kWarning);
    }
    glExtras().glTextureSubImage2D(texture_, 0, 0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
}

void Overlay::present(int windowHeight) const {
    // Rows are stored top first: the blit turns them over.
    const int top = windowHeight - 8;
    glExtras().glBlitNamedFramebuffer(framebuffer_, 0, 0, 0, width_, height_, 8, top, 8 + width_, top - height_,
                                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
}
