#pragma once
// The strings RenderText drew since the last fakegl::install(), read back from
// the recording: which font, which bytes, where each glyph quad stood.
#include <string>
#include <vector>

#include "render/glyph_atlas.h"

// A screen rectangle in pixels, x to the right and y upwards.
struct Box {
    float left = 0, bottom = 0, right = 0, top = 0;

    bool empty() const { return right <= left || top <= bottom; }
};

// One RenderText call.
struct DrawnLine {
    const Font* font = nullptr;  // the atlas whose vertex array was bound
    std::string bytes;           // read back from the glyph texture of each draw ('?' for texture 0)
    float x0 = 0, y0 = 0;        // bottom-left corner of the first glyph's quad
    std::vector<float> colour;
    float scale = 0;             // first glyph's quad width over its bitmap width
    std::vector<Box> glyphs;     // the glyph quad of every byte, empty ones included
};

// Splits the recorded draws into strings: each RenderText starts with its
// "textColor" upload. Only the three fonts of the show are recognised.
std::vector<DrawnLine> drawnLines();
