#pragma once
#include <map>
#include <string_view>
#include <vector>

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
// (bytes 128 to 255 are the keys -128 to -1) and the glyph quad buffer that
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

// One code as FreeType rendered it, not yet uploaded.
struct RasterisedGlyph {
    bool loaded = false;  // false: FreeType could not load this code
    int width = 0;        // bitmap width and rows in pixels
    int rows = 0;
    int left = 0;  // bearing: left offset from the pen, top above the baseline
    int top = 0;
    unsigned int advance = 0;            // in 1/64 pixel
    std::vector<unsigned char> coverage;  // width x rows bytes, top row first, no padding
};

// A whole font rendered on the CPU, ready for its atlas step. A font that
// could not be opened holds the reason and no glyphs.
struct RasterisedFont {
    enum class Status { Ready, NoLibrary, NoFace };
    Status status = Status::Ready;
    std::vector<RasterisedGlyph> glyphs;  // indexed by code
};

// How many codes a font renders: codes 0 to count - 1. The codes are bytes,
// counted by an 8-bit counter that a count above 255 would never stop, so such
// a count is refused where it is written, when the program is compiled.
class GlyphCodeCount {
public:
    consteval GlyphCodeCount(unsigned int count) : count_(count) {
        if (count > 255) throw "a font renders at most 255 codes";
    }
    constexpr unsigned int value() const { return count_; }

private:
    unsigned int count_;
};

// Renders codes 0 to codeCount - 1 of the font file at the given pixel height.
// Touches neither GL nor standard output, and uses a FreeType instance of its
// own that it releases before returning, so it may run on any thread.
RasterisedFont rasteriseFont(const char* path, unsigned int pixelHeight, GlyphCodeCount codeCount);

// The atlas step on the GL thread: prints the failure that rasterising met, or
// uploads every glyph into `font`, one texture each, reporting those that did
// not load, then creates the glyph quad buffer. Returns false when the font
// could not be opened.
bool uploadGlyphAtlas(Font& font, const RasterisedFont& rasterised);

// Both steps at once: rasterises the font, then uploads it.
bool buildGlyphAtlas(Font& font, const char* path, unsigned int pixelHeight, GlyphCodeCount codeCount);

// Draws `text` byte by byte with `font` and the text program `program`, the
// pen starting at (x, y) on the baseline in screen pixels.
void RenderText(Font& font, const Shader& program, std::string_view text, float x, float y,
                float scale, glm::vec3 colour);
