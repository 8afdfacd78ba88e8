#include "drawn_text.h"

#include "fake_gl.h"

namespace {

const Font* const kFonts[] = {&antonioFont, &c64Font, &topazFont};

const Font* fontWithVertexArray(GLuint vertexArray) {
    for (const Font* font : kFonts)
        if (font->VAO == vertexArray) return font;
    return nullptr;
}

// The byte whose glyph texture is bound, or '?' (the empty glyph's texture 0
// included). A scan: the fonts hold at most 255 glyphs.
char byteWithTexture(const Font& font, GLuint texture) {
    if (texture == 0) return '?';
    for (const auto& [key, ch] : font.Characters)
        if (ch.TextureID == texture) return static_cast<char>(key);
    return '?';
}

// The glyph quad's corners: vertex 2 is (xpos, ypos), vertex 6 is (xpos + w, ypos + h).
Box glyphQuadOf(const std::vector<float>& streamed) {
    if (streamed.size() < 24) return {};
    return {streamed[4], streamed[5], streamed[20], streamed[21]};
}

}  // namespace

std::vector<DrawnLine> drawnLines() {
    std::vector<DrawnLine> lines;
    std::size_t draw = 0;
    for (const fakegl::Call& call : fakegl::state().calls) {
        if (call.name == "glUniform3f" && call.text == "textColor") {
            lines.emplace_back();
            lines.back().colour = {float(call.args[1]), float(call.args[2]), float(call.args[3])};
        }
        if (call.name != "glDrawArrays" && call.name != "glDrawElements") continue;
        const fakegl::Draw& d = fakegl::state().draws.at(draw++);
        const Font* font = fontWithVertexArray(d.vertexArray);
        if (font == nullptr || lines.empty()) continue;  // not a glyph quad
        DrawnLine& line = lines.back();
        line.font = font;
        line.bytes += byteWithTexture(*font, d.texture0);
        line.glyphs.push_back(glyphQuadOf(d.streamed));
        if (line.bytes.size() == 1) {
            line.x0 = d.streamed[4];
            line.y0 = d.streamed[5];
            const Character& ch = line.font->Characters.at(static_cast<signed char>(line.bytes[0]));
            line.scale = (d.streamed[8] - d.streamed[4]) / float(ch.Size.x);
        }
    }
    return lines;
}
