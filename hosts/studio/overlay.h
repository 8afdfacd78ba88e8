#pragma once
// The studio's overlay: a panel of text lines and a frame-time graph, drawn on
// the CPU with glyphs of the show's C-64 face (rasterised by the show's font
// code) and put onto the window's top-left corner by a blit, so it changes no
// GL state that the show's frames rely on.
#include <cstdint>
#include <string>
#include <vector>

#include "render/glyph_atlas.h"

struct OverlayLine {
    std::string text;
    bool warning = false;  // drawn in orange
};

class Overlay {
public:
    explicit Overlay(const char* fontPath);
    // Redraws the panel at most `maxWidth` pixels wide: the lines (wrapped
    // to fit), then the graph of the frame times (ms).
    void compose(const std::vector<OverlayLine>& lines, const std::vector<float>& frameMs, int maxWidth);
    // Blits the panel onto the default framebuffer of a window that high.
    void present(int windowHeight) const;

    static constexpr int kWidth = 1200;
    static constexpr int kLines = 12;
    static constexpr int kLineHeight = 20;
    static constexpr int kGraphHeight = 64;
    static constexpr int kHeight = kLines * kLineHeight + kGraphHeight + 16;

private:
    void fill(int x, int y, int w, int h, std::uint32_t rgba);
    void text(int x, int baseline, const std::string& line, std::uint32_t rgba);
    int advance(unsigned char code) const;
    std::vector<OverlayLine> wrapped(const std::vector<OverlayLine>& lines, int width) const;

    RasterisedFont font_;
    std::vector<std::uint32_t> pixels_;  // top row first
    unsigned int texture_ = 0;
    unsigned int framebuffer_ = 0;
    int width_ = kWidth;  // of the panel as last composed
    int height_ = kHeight;
};
