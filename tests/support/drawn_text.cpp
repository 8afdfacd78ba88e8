#include "drawn_text.h"

#include <map>

#include "fake_gl.h"

namespace {

const Font* const kFonts[] = {&antonioFont, &c64Font, &topazFont};

const Font* fontWithVertexArray(GLuint vertexArray) {
    for (const Font* font : kFonts)
        if (font->VAO == vertexArray) return font;
    return nullptr;
}

// Maps each glyph texture of the show's fonts back to its byte.
std::map<GLuint, char> bytesByTexture() {
    std::map<GLuint, char> bytes;
    for (const Font* font : kFonts)
        for (const auto& [key, ch] : font->Characters)
            if (ch.TextureID != 0) bytes[ch.TextureID] = static_cast<char>(key);
    return bytes;
}

// The quad's corners: vertex 2 is (xpos, ypos), vertex 6 is (xpos + w, ypos + h).
Box quadOf(const std::vector<float>& streamed) {
    if (streamed.size() < 24) return {};
    return {streamed[4], streamed[5], streamed[20], streamed[21]};
}

}  // namespace

std::vector<DrawnLine> drawnLines() {
    const std::map<GLuint, char> bytes = bytesByTexture();
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
        auto found = bytes.find(d.texture0);
        line.bytes += found == bytes.end() ? '?' : found->second;
        line.glyphs.push_back(quadOf(d.streamed));
        if (line.bytes.size() == 1) {
            line.x0 = d.streamed[4];
            line.y0 = d.streamed[5];
            const Character& ch = line.font->Characters.at(static_cast<signed char>(line.bytes[0]));
            line.scale = (d.streamed[8] - d.streamed[4]) / float(ch.Size.x);
        }
    }
    return lines;
}
