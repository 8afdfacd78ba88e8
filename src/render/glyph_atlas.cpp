// Glyph atlases: each font is rendered once at start-up, one GL_RED texture per
// glyph, and text is drawn one textured quad per byte through a small dynamic
// vertex buffer.
#include "render/glyph_atlas.h"

#include <iostream>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "render/gl.h"

Font antonioFont;
Font c64Font;
Font topazFont;

namespace {

// One GL_RED texture holding FreeType's coverage bitmap, top row first.
unsigned int uploadGlyphBitmap(const FT_Bitmap& bitmap) {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(bitmap.width),
                 static_cast<GLsizei>(bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE, bitmap.buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

// The text quad buffer: room for six (x, y, s, t) vertices, rewritten per glyph.
void createTextQuadBuffer(Font& font) {
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

bool buildGlyphAtlas(Font& font, const char* path, unsigned int pixelHeight, unsigned int codeCount) {
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR TERROR couldn't init freetype library" << std::endl;
        return false;
    }
    FT_Face face;
    if (FT_New_Face(library, path, 0, &face)) {
        std::cout << "ERROR TERROR failed to load font as face" << std::endl;
        // Start-up ends here anyway; releasing the library keeps leak checkers quiet.
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, pixelHeight);

    // Glyph rows are tightly packed bytes. Left at 1 for good: the image
    // uploads that follow rely on it too.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    // An 8-bit counter, as the codes are bytes: a count of 255 stops at 254.
    for (unsigned char code = 0; code < codeCount; code++) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER)) {
            std::cout << "ERROR/TERROR freetype yeah failed to load glyph" << std::endl;
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const Character character = {
            uploadGlyphBitmap(glyph->bitmap),
            glm::ivec2(static_cast<int>(glyph->bitmap.width), static_cast<int>(glyph->bitmap.rows)),
            glm::ivec2(glyph->bitmap_left, glyph->bitmap_top),
            static_cast<unsigned int>(glyph->advance.x),
        };
        // Keyed by the byte as a signed char: 128..255 become -128..-1.
        font.Characters.insert({static_cast<signed char>(code), character});
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    createTextQuadBuffer(font);
    return true;
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
