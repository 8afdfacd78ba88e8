#pragma once
#include <map>
#include <string_view>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "render/shader.h"

// One glyph: its own GL_RED texture and FreeType's metrics in pixels. A
// record with every field 0 is the empty glyph.
struct Character {
    unsigned int TextureID;  // GL texture name of the glyph bitmap
    glm::ivec2 Size;         // bitmap width and rows
    glm::ivec2 Bearing;      // offset from the pen: left, and top above the baseline
    unsigned int Advance;    // horizontal pen advance in 1/64 pixel
};

// One font rendered at start-up: the glyphs keyed by the signed 8-bit code
// (bytes 128 to 255 are the keys -128 to -1) and the text quad buffer that
// every glyph draw streams its six vertices through.
struct Font {
    std::map<signed char, Character> Characters;
    unsigned int VAO = 0;
    unsigned int VBO = 0;
};

// The three fonts of the show. They exist (empty) before main runs and are
// filled by start-up.
extern Font antonioFont;
extern Font c64Font;
extern Font topazFont;

// Renders codes 0 to codeCount - 1 of the font file at the given pixel height
// into `font`, one texture per glyph, and creates its text quad buffer.
// Returns false (after printing why) when FreeType or the font file cannot be
// opened; a glyph that fails to load is reported and skipped.
bool buildGlyphAtlas(Font& font, const char* path, unsigned int pixelHeight, unsigned int codeCount);

// Draws `text` byte by byte with `font` and the text program `program`, the
// pen starting at (x, y) on the baseline in screen pixels.
void RenderText(Font& font, const Shader& program, std::string_view text, float x, float y,
                float scale, glm::vec3 colour);
