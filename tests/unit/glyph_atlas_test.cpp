// Glyph atlases against the recording fake GL and the real fonts of fonts/
// (the tests run in the run directory), and RenderText's quads and pen.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "fake_gl.h"
#include "render/glyph_atlas.h"

namespace {

constexpr const char* kAntonio = "fonts/Antonio-Regular.ttf";
constexpr const char* kC64 = "fonts/c64.ttf";
constexpr const char* kTopaz = "fonts/topaz.ttf";

// What FreeType itself says about one character of a font at a pixel height.
struct FreeTypeGlyph {
    int width = 0, rows = 0, left = 0, top = 0;
    unsigned int advance = 0;
    std::vector<unsigned char> bitmap;
};

FreeTypeGlyph freeTypeGlyph(const char* path, unsigned int pixelHeight, unsigned long code) {
    FT_Library library;
    FT_Face face;
    FreeTypeGlyph glyph;
    if (FT_Init_FreeType(&library) != 0) return glyph;
    if (FT_New_Face(library, path, 0, &face) == 0) {
        FT_Set_Pixel_Sizes(face, 0, pixelHeight);
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) == 0) {
            const FT_Bitmap& b = face->glyph->bitmap;
            glyph = {int(b.width), int(b.rows), face->glyph->bitmap_left, face->glyph->bitmap_top,
                     unsigned(face->glyph->advance.x), {}};
            for (unsigned int row = 0; row < b.rows; ++row)
                glyph.bitmap.insert(glyph.bitmap.end(), b.buffer + row * b.pitch, b.buffer + row * b.pitch + b.width);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return glyph;
}

// The six (x, y, s, t) vertices RenderText must stream for a glyph at pen (x, y).
std::vector<float> glyphQuadFor(const Character& ch, float x, float y, float scale) {
    const float xpos = x + ch.Bearing.x * scale;
    const float ypos = y - (ch.Size.y - ch.Bearing.y) * scale;
    const float w = ch.Size.x * scale;
    const float h = ch.Size.y * scale;
    return {xpos, ypos + h, 0, 0, xpos, ypos, 0, 1, xpos + w, ypos, 1, 1,
            xpos, ypos + h, 0, 0, xpos + w, ypos, 1, 1, xpos + w, ypos + h, 1, 0};
}

// A text program as start-up would have it: linked from sources that mention
// "textColor", so the fake hands out a location for it.
Shader textProgram() {
    Shader program;
    program.ID = glCreateProgram();
    GLuint fs = glCreateShader(GL_FRAGMENT_SHADER);
    const char* source = "uniform vec3 textColor; uniform float time;";
    glShaderSource(fs, 1, &source, nullptr);
    glCompileShader(fs);
    glAttachShader(program.ID, fs);
    glLinkProgram(program.ID);
    return program;
}

class GlyphAtlas : public ::testing::Test {
protected:
    void SetUp() override { fakegl::install(); }
};

}  // namespace

TEST_F(GlyphAtlas, AntonioHoldsCodes0To254UnderSignedKeys) {
    Font font;
    ASSERT_TRUE(buildGlyphAtlas(font, kAntonio, 296, 255));
    EXPECT_EQ(font.Characters.size(), 255u);
    // 0 to 127 keep their value; 128 to 254 are the keys -128 to -2; 255 (-1) is not loaded.
    EXPECT_EQ(font.Characters.begin()->first, -128);
    EXPECT_EQ(font.Characters.rbegin()->first, 127);
    EXPECT_EQ(font.Characters.count(-1), 0u);
    EXPECT_EQ(font.Characters.count(static_cast<signed char>(0xE9)), 1u);

    // One texture per code, each given the four parameters, no mipmaps.
    EXPECT_EQ(fakegl::calls("glGenTextures").size(), 255u);
    EXPECT_EQ(fakegl::calls("glTexParameteri").size(), 4u * 255u);
    EXPECT_TRUE(fakegl::calls("glGenerateMipmap").empty());
    for (const auto& [code, ch] : font.Characters) {
        const fakegl::Texture& tex = fakegl::state().textures.at(ch.TextureID);
        ASSERT_EQ(tex.format, GLenum(GL_RED)) << int(code);
        EXPECT_EQ(tex.internalFormat, GL_RED);
        EXPECT_EQ(tex.width, ch.Size.x);
        EXPECT_EQ(tex.height, ch.Size.y);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
    // Tightly packed rows from here on, never set back; nothing left bound.
    ASSERT_EQ(fakegl::calls("glPixelStorei").size(), 1u);
    EXPECT_EQ(fakegl::calls("glPixelStorei")[0]->args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
    EXPECT_EQ(fakegl::state().unpackAlignment, 1);
    EXPECT_EQ(fakegl::state().texture2D[GL_TEXTURE0], 0u);
}

TEST_F(GlyphAtlas, C64AndTopazHoldCodes0To127) {
    for (auto [path, height] : {std::pair{kC64, 165u}, std::pair{kTopaz, 322u}}) {
        Font font;
        ASSERT_TRUE(buildGlyphAtlas(font, path, height, 128)) << path;
        EXPECT_EQ(font.Characters.size(), 128u) << path;
        EXPECT_EQ(font.Characters.begin()->first, 0) << path;
        EXPECT_EQ(font.Characters.rbegin()->first, 127) << path;
    }
}

TEST_F(GlyphAtlas, RecordsAndBitmapsAreFreeTypesOwn) {
    Font font;
    ASSERT_TRUE(buildGlyphAtlas(font, kAntonio, 296, 255));
    for (unsigned long code : {0x41ul, 0x67ul, 0xE0ul, 0xE8ul, 0xE9ul, 0xEAul, 0x20ul}) {
        const FreeTypeGlyph expected = freeTypeGlyph(kAntonio, 296, code);
        const Character& ch = font.Characters.at(static_cast<signed char>(code));
        EXPECT_EQ(ch.Size.x, expected.width) << code;
        EXPECT_EQ(ch.Size.y, expected.rows) << code;
        EXPECT_EQ(ch.Bearing.x, expected.left) << code;
        EXPECT_EQ(ch.Bearing.y, expected.top) << code;
        EXPECT_EQ(ch.Advance, expected.advance) << code;
        // The coverage rows as uploaded under the unpack alignment, top row first.
        EXPECT_EQ(fakegl::state().textures.at(ch.TextureID).pixels, expected.bitmap) << code;
    }
    // The accents are real glyphs, not the missing-glyph box of a control code.
    EXPECT_GT(font.Characters.at(static_cast<signed char>(0xEA)).Size.y,
              font.Characters.at('e').Size.y);
    // The space has an empty 0 x 0 bitmap but a real advance.
    EXPECT_EQ(font.Characters.at(' ').Size, glm::ivec2(0, 0));
    EXPECT_GT(font.Characters.at(' ').Advance, 0u);
}

TEST_F(GlyphAtlas, GlyphQuadBufferIs96DynamicBytesWithOneAttribute) {
    Font font;
    ASSERT_TRUE(buildGlyphAtlas(font, kC64, 165, 128));
    EXPECT_NE(font.VAO, 0u);
    EXPECT_NE(font.VBO, 0u);
    ASSERT_EQ(fakegl::calls("glBufferData").size(), 1u);
    // Room for six vertices, no data yet.
    EXPECT_EQ(fakegl::calls("glBufferData")[0]->args, (std::vector<double>{GL_ARRAY_BUFFER, 96, GL_DYNAMIC_DRAW, 0}));
    ASSERT_EQ(fakegl::calls("glVertexAttribPointer").size(), 1u);
    EXPECT_EQ(fakegl::calls("glVertexAttribPointer")[0]->args,
              (std::vector<double>{0, 4, GL_FLOAT, GL_FALSE, 16, 0}));
    EXPECT_EQ(fakegl::calls("glEnableVertexAttribArray")[0]->args, (std::vector<double>{0}));
    EXPECT_EQ(fakegl::state().vertexArray, 0u);
    EXPECT_EQ(fakegl::state().arrayBuffer, 0u);
}

TEST_F(GlyphAtlas, AMissingOrCorruptFontFailsWithItsMessage) {
    const std::string corrupt = testing::TempDir() + "corrupt.ttf";
    {
        std::ofstream out(corrupt, std::ios::binary);
        out << "not a font at all, just some bytes";
    }
    for (const std::string& path : {std::string("fonts/no-such-font.ttf"), corrupt}) {
        Font font;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(buildGlyphAtlas(font, path.c_str(), 296, 255)) << path;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR TERROR failed to load font as face\n");
        EXPECT_TRUE(font.Characters.empty());
        EXPECT_TRUE(fakegl::state().calls.empty());
    }
    std::remove(corrupt.c_str());
}

TEST_F(GlyphAtlas, AGlyphThatDidNotLoadIsReportedAndGetsNoRecord) {
    RasterisedFont rasterised;
    rasterised.glyphs.resize(3);
    for (RasterisedGlyph& glyph : rasterised.glyphs) glyph = {true, 1, 2, 0, 2, 64, {7, 9}};
    rasterised.glyphs[1].loaded = false;
    Font font;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(uploadGlyphAtlas(font, rasterised));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR/TERROR freetype yeah failed to load glyph\n");
    EXPECT_EQ(font.Characters.count(1), 0u);
    ASSERT_EQ(font.Characters.size(), 2u);
    EXPECT_EQ(fakegl::calls("glTexImage2D").size(), 2u);
    EXPECT_EQ(fakegl::state().textures.at(font.Characters.at(2).TextureID).pixels, (std::vector<unsigned char>{7, 9}));
}

// --- RenderText -------------------------------------------------------------

class RenderTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fakegl::install();
        ASSERT_TRUE(buildGlyphAtlas(antonio, kAntonio, 296, 255));
        ASSERT_TRUE(buildGlyphAtlas(c64, kC64, 165, 128));
    }
    void SetUp() override {
        fakegl::install();
        program = textProgram();
        fakegl::state().calls.clear();
    }
    static inline Font antonio;
    static inline Font c64;
    Shader program;
};

TEST_F(RenderTextTest, AnEmptyStringSetsUpAndDrawsNothing) {
    RenderText(antonio, program, "", 10.0f, 20.0f, 1.0f, {0.1f, 0.2f, 0.3f});
    EXPECT_EQ(fakegl::callNames(), (std::vector<std::string>{"glUseProgram", "glGetUniformLocation", "glUniform3f",
                                                             "glActiveTexture", "glBindVertexArray",
                                                             "glBindVertexArray"}));
    EXPECT_EQ(fakegl::calls("glBindVertexArray")[0]->args[0], antonio.VAO);
    EXPECT_EQ(fakegl::calls("glBindVertexArray")[1]->args[0], 0);
    EXPECT_EQ(fakegl::uniform(program.ID, "textColor"), (std::vector<float>{0.1f, 0.2f, 0.3f}));
}

TEST_F(RenderTextTest, EachByteIsOneBindOneUpdateOneDraw) {
    const std::string text = "La  R\xEA" "ve";  // the two spaces and the accent of the opening title
    const float x = 1.0f, y = 622.0f;
    RenderText(antonio, program, text, x, y, 1.0f, {0.221f, 0.111f, 0.761f});

    const auto& draws = fakegl::state().draws;
    ASSERT_EQ(draws.size(), text.size());
    EXPECT_EQ(fakegl::calls("glBufferSubData").size(), text.size());
    EXPECT_EQ(fakegl::calls("glBindTexture").size(), text.size());
    float pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Character& ch = antonio.Characters.at(static_cast<signed char>(text[i]));
        const FreeTypeGlyph ft = freeTypeGlyph(kAntonio, 296, static_cast<unsigned char>(text[i]));
        EXPECT_EQ(draws[i].mode, GLenum(GL_TRIANGLES));
        EXPECT_EQ(draws[i].count, 6);
        EXPECT_EQ(draws[i].program, program.ID);
        EXPECT_EQ(draws[i].vertexArray, antonio.VAO);
        EXPECT_EQ(draws[i].texture0, ch.TextureID) << i;
        EXPECT_EQ(draws[i].streamed, glyphQuadFor(ch, pen, y, 1.0f)) << i;
        // The quad's corners from FreeType's own metrics.
        EXPECT_EQ(draws[i].streamed[4], pen + float(ft.left)) << i;
        EXPECT_EQ(draws[i].streamed[5], y - float(ft.rows - ft.top)) << i;
        EXPECT_EQ(draws[i].streamed[8], pen + float(ft.left + ft.width)) << i;
        pen += float(ft.advance >> 6);
    }
    for (const fakegl::Call* update : fakegl::calls("glBufferSubData"))
        EXPECT_EQ(update->args, (std::vector<double>{GL_ARRAY_BUFFER, 0, 96}));
    // The two spaces: zero-area quads on the pen, which then moves on twice.
    EXPECT_EQ(draws[2].streamed[8], draws[2].streamed[4]);
    EXPECT_LT(draws[2].streamed[4], draws[3].streamed[4]);
    // The last glyph's texture stays bound after the call; the vertex array does not.
    EXPECT_EQ(fakegl::state().texture2D[GL_TEXTURE0], antonio.Characters.at('e').TextureID);
    EXPECT_EQ(fakegl::state().vertexArray, 0u);
    EXPECT_EQ(fakegl::state().program, program.ID);
}

TEST_F(RenderTextTest, BytesWithoutAGlyphDrawNothingAndKeepThePen) {
    struct Case {
        Font* font;
        unsigned char byte;
    };
    for (Case c : {Case{&antonio, 0xFF}, Case{&c64, 0x80}, Case{&c64, 0xE9}, Case{&c64, 0xFF}}) {
        fakegl::state().draws.clear();
        const signed char key = static_cast<signed char>(c.byte);
        ASSERT_EQ(c.font->Characters.count(key), 0u) << int(c.byte);
        const std::size_t before = c.font->Characters.size();
        const std::string text = {char(c.byte), 'A'};
        RenderText(*c.font, program, text, 100.0f, 50.0f, 1.0f, {1, 1, 1});

        // The miss inserted the empty glyph under the signed key.
        ASSERT_EQ(c.font->Characters.size(), before + 1);
        const Character& empty = c.font->Characters.at(key);
        EXPECT_EQ(empty.TextureID, 0u);
        EXPECT_EQ(empty.Size, glm::ivec2(0, 0));
        EXPECT_EQ(empty.Advance, 0u);

        const auto& draws = fakegl::state().draws;
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0].texture0, 0u);
        EXPECT_EQ(draws[0].streamed, std::vector<float>(glyphQuadFor(empty, 100.0f, 50.0f, 1.0f)));
        EXPECT_EQ(draws[0].streamed[0], 100.0f);
        EXPECT_EQ(draws[0].streamed[1], 50.0f);
        // The next glyph starts where the missing one stood.
        EXPECT_EQ(draws[1].streamed, glyphQuadFor(c.font->Characters.at('A'), 100.0f, 50.0f, 1.0f));
    }
}

TEST_F(RenderTextTest, ScaleShrinksQuadsAndWholePixelAdvances) {
    // A made-up glyph whose advance has a fraction (100 + 63/64 pixels) and whose
    // bitmap reaches below the baseline (size.y - bearing.y = 7).
    Font font;
    font.VAO = 7;
    font.VBO = 8;
    font.Characters['x'] = Character{42, glm::ivec2(30, 20), glm::ivec2(3, 13), 100 * 64 + 63};
    RenderText(font, program, "xx", 10.0f, 200.0f, 0.5f, {0, 0, 0});

    const auto& draws = fakegl::state().draws;
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].streamed, (std::vector<float>{11.5f, 206.5f, 0, 0, 11.5f, 196.5f, 0, 1, 26.5f, 196.5f, 1, 1,
                                                     11.5f, 206.5f, 0, 0, 26.5f, 196.5f, 1, 1, 26.5f, 206.5f, 1, 0}));
    // The pen moves 100 whole pixels times 0.5: the 63/64 are dropped before scaling.
    EXPECT_EQ(draws[1].streamed[4], 11.5f + 50.0f);

    // The same string at scale 1 is twice the size.
    fakegl::state().draws.clear();
    RenderText(font, program, "xx", 10.0f, 200.0f, 1.0f, {0, 0, 0});
    EXPECT_EQ(draws[0].streamed[8] - draws[0].streamed[4], 30.0f);
    EXPECT_EQ(draws[0].streamed[1] - draws[0].streamed[5], 20.0f);
    EXPECT_EQ(draws[1].streamed[4], 13.0f + 100.0f);
}
