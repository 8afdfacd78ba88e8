// Glyph atlases: each font is rendered once at start-up by FreeType (on any
// thread), then uploaded on the GL thread, one GL_RED texture per glyph; text
// is drawn one glyph quad per byte through a small dynamic vertex buffer.
#include "render/glyph_atlas.h"

#include <cstddef>
#include <iostream>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "render/gl.h"

Font antonioFont;
Font c64Font;
Font topazFont;

namespace {

// FreeType's coverage bitmap of the loaded glyph, rows copied top row first
// without padding, as the unpack alignment of 1 reads them.
std::vector<unsigned char> coverageRows(const FT_Bitmap& bitmap) {
    std::vector<unsigned char> coverage;
    coverage.reserve(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
    for (unsigned int row = 0; row < bitmap.rows; ++row) {
        const unsigned char* first = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        coverage.insert(coverage.end(), first, first + bitmap.width);
    }
    return coverage;
}

// One GL_RED texture holding a glyph's coverage, top row first.
unsigned int uploadGlyphBitmap(const RasterisedGlyph& glyph) {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // An empty bitmap (the space) uploads as 0 x 0 with no data.
    const unsigned char* pixels = glyph.coverage.empty() ? nullptr : glyph.coverage.data();
#ifdef __EMSCRIPTEN__
    // Browser seam: WebGL 2 takes only sized internal formats ("invalid internalformat").
    constexpr GLint kCoverageFormat = GL_R8;
#else
    constexpr GLint kCoverageFormat = GL_RED;
#endif
    glTexImage2D(GL_TEXTURE_2D, 0, kCoverageFormat, glyph.width, glyph.rows, 0, GL_RED, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

// The glyph quad buffer: room for six (x, y, s, t) vertices, rewritten per glyph.
void createGlyphQuadBuffer(Font& font) {
    glGenVertexArrays(1, &font.VAO);
    glGenBuffers(1, &font.VBO);
    glBindVertexArray(font.VAO);
    glBindBuffer(GL_ARRAY_BUFFER, font.VBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * 6 * 4, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

}  // namespace

RasterisedFont rasteriseFont(const char* path, unsigned int pixelHeight, GlyphCodeCount codeCount) {
    RasterisedFont font;
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        font.status = RasterisedFont::Status::NoLibrary;
        return font;
    }
    FT_Face face;
    if (FT_New_Face(library, path, 0, &face)) {
        // Start-up ends with this font anyway; releasing the library keeps leak checkers quiet.
        FT_Done_FreeType(library);
        font.status = RasterisedFont::Status::NoFace;
        return font;
    }
    FT_Set_Pixel_Sizes(face, 0, pixelHeight);

    // An 8-bit counter, as the codes are bytes: a count of 255 stops at 254.
    for (unsigned char code = 0; code < codeCount.value(); code++) {
        RasterisedGlyph& glyph = font.glyphs.emplace_back();
        if (FT_Load_Char(face, code, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot slot = face->glyph;
        glyph.loaded = true;
        glyph.width = static_cast<int>(slot->bitmap.width);
        glyph.rows = static_cast<int>(slot->bitmap.rows);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = static_cast<unsigned int>(slot->advance.x);
        glyph.coverage = coverageRows(slot->bitmap);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return font;
}

bool uploadGlyphAtlas(Font& font, const RasterisedFont& rasterised) {
    switch (rasterised.status) {
        case RasterisedFont::Status::NoLibrary:
            std::cout << "ERROR TERROR couldn't init freetype library" << std::endl;
            return false;
        case RasterisedFont::Status::NoFace:
            std::cout << "ERROR TERROR failed to load font as face" << std::endl;
            return false;
        case RasterisedFont::Status::Ready: break;
    }

    // Glyph rows are tightly packed bytes. Left at 1 for good: the image
    // uploads that follow rely on it too.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    for (std::size_t code = 0; code < rasterised.glyphs.size(); ++code) {
        const RasterisedGlyph& glyph = rasterised.glyphs[code];
        if (!glyph.loaded) {
            std::cout << "ERROR/TERROR freetype yeah failed to load glyph" << std::endl;
            continue;
        }
        const Character character = {
            uploadGlyphBitmap(glyph),
            glm::ivec2(glyph.width, glyph.rows),
            glm::ivec2(glyph.left, glyph.top),
            glyph.advance,
        };
        // Keyed by the byte as a signed char: 128..255 become -128..-1.
        font.Characters.insert({static_cast<signed char>(code), character});
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    createGlyphQuadBuffer(font);
    return true;
}

bool buildGlyphAtlas(Font& font, const char* path, unsigned int pixelHeight, GlyphCodeCount codeCount) {
    return uploadGlyphAtlas(font, rasteriseFont(path, pixelHeight, codeCount));
}

void RenderText(Font& font, const Shader& program, std::string_view text, float x, float y,
                float scale, glm::vec3 colour) {
    program.use();
    glUniform3f(glGetUniformLocation(program.ID, "textColor"), colour.x, colour.y, colour.z);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(font.VAO);

    for (const char byte : text) {
        // A byte the font lacks yields (and from now on holds) the empty glyph:
        // a zero-area quad with texture 0 that does not move the pen.
        const Character& ch = font.Characters[static_cast<signed char>(byte)];

        const float xpos = x + ch.Bearing.x * scale;
        const float ypos = y - (ch.Size.y - ch.Bearing.y) * scale;
        const float w = ch.Size.x * scale;
        const float h = ch.Size.y * scale;
        // Two counter-clockwise triangles; t = 0 is the bitmap's top row.
        const float vertices[6][4] = {
            {xpos, ypos + h, 0.0f, 0.0f},
            {xpos, ypos, 0.0f, 1.0f},
            {xpos + w, ypos, 1.0f, 1.0f},

            {xpos, ypos + h, 0.0f, 0.0f},
            {xpos + w, ypos, 1.0f, 1.0f},
            {xpos + w, ypos + h, 1.0f, 0.0f},
        };
        glBindTexture(GL_TEXTURE_2D, ch.TextureID);
        glBindBuffer(GL_ARRAY_BUFFER, font.VBO);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDrawArrays(GL_TRIANGLES, 0, 6);

        // Whole pixels first (the 1/64 fraction dropped), then scaled.
        x += static_cast<float>(ch.Advance >> 6) * scale;
    }
    // The last glyph's texture stays bound on unit 0.
    glBindVertexArray(0);
}
