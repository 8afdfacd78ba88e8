// The twelve caption blocks. Each paints its background, sets the caption
// state, binds its text program with a "time" value and draws its lines.
//
// Positions and background channels mix float and double arithmetic on
// purpose: sin/cos/atan are taken in float, products and sums with constants
// written with a decimal point are done in double and converted back. Each
// such formula is one small function below so it can be checked at a glance.
#include "timeline/caption_blocks.h"

#include <cmath>
#include <initializer_list>
#include <string_view>

#include <glm/vec3.hpp>

#include "render/gl.h"
#include "render/glyph_atlas.h"
#include "timeline/chain.h"
#include "timeline/shared_with_glsl.h"

namespace {

constexpr glm::vec3 kCaptionViolet{0.221f, 0.111f, 0.761f};
constexpr glm::vec3 kSage{0.51f, 0.61f, 0.41f};

struct Background {
    float r, g, b, a;
};

constexpr Background kDeepBlueBlack{0.0f, 0.021f, 0.11f, 0.95f};
constexpr Background kNearBlack{0.01f, 0.01f, 0.01f, 0.95f};
constexpr Background kWineRed{0.41f, 0.14f, 0.201f, 0.95f};
constexpr Background kNavy{0.0f, 0.1f, 0.277f, 0.95f};
constexpr Background kDarkRed{0.31f, 0.02f, 0.101f, 0.95f};
constexpr Background kMidnightBlue{0.001f, 0.04f, 0.201f, 0.95f};

// One line of a caption: a Latin-1 byte string and its pen position.
struct Line {
    std::string_view text;
    float x;
    float y;
};

// --- formulas -------------------------------------------------------------

// A blue channel that swings around 0: (sin t x amplitude) x 0.1 in double.
// Below zero it clears to 0 in a fixed-point colour buffer.
float swingingBlue(float t, double amplitude) {
    return static_cast<float>(std::sin(t) * amplitude * 0.1);
}

// Sideways sway: centre + 50.0 x cos t.
float sway(double centre, float t) {
    return static_cast<float>(centre + 50.0 * std::cos(t));
}

// Bounce off y = 112: 112.0 + 6.0 x |12.0 x sin t|.
float bounce(float t) {
    return static_cast<float>(112.0 + 6.0 * std::abs(12.0 * std::sin(t)));
}

// "PORTHAVENS": (cos t x 12.0) x 3.0 + 30.0, so it runs off the left edge.
float porthavensX(float t) {
    return static_cast<float>(std::cos(t) * 12.0 * 3.0 + 30.0);
}

// "SPRIG.": a half-pixel tremble, 310.0 + 0.5 x cos u.
float sprigX(float u) {
    return static_cast<float>(310.0 + 0.5 * std::cos(u));
}

// "GOURD": sin u + 12, all in float.
float gourdY(float u) {
    return std::sin(u) + 12.0f;
}

// The closing names rock together: 5.0 - 2 x cos u (2 x cos u in float).
float closingRockX(float u) {
    return static_cast<float>(5.0 - 2.0f * std::cos(u));
}

// "DUNE 407" drifts left: 5.0 - 0.5 x atan u.
float duneX(float u) {
    return static_cast<float>(5.0 - 0.5 * std::atan(u));
}

// The sign-off bobs with a bent phase: 12.0 - 0.5 x cos(u + k), where
// k = sin u x 0.1 (double, to float) and u + k is a float sum.
float signOffY(float u) {
    const float k = static_cast<float>(std::sin(u) * 0.1);
    return static_cast<float>(12.0 - 0.5 * std::cos(u + k));
}

// --- drawing --------------------------------------------------------------

// Alpha blending for the glyph coverage, no depth test, culling left on (the
// glyph quads are counter-clockwise). Not restored afterwards.
void setCaptionState() {
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
}

// Caption state, the program with its "time", then the background.
void beginCard(const Shader& program, float time, Background background) {
    setCaptionState();
    program.use();
    program.setFloat("time", time);
    glClearColor(background.r, background.g, background.b, background.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void drawLines(Font& font, const Shader& program, float scale, glm::vec3 colour,
               std::initializer_list<Line> lines) {
    for (const Line& line : lines) RenderText(font, program, line.text, line.x, line.y, scale, colour);
}

}  // namespace

// Accented captions are Latin-1 bytes written as escapes; a literal is split
// after each escape so that the letters after it are not read as hex digits.

void openingTitle(Frame& frame) {
    const Shader& program = frame.res.programs.demo6pt1;
    beginCard(program, frame.t, kDeepBlueBlack);
    drawLines(antonioFont, program, 1.0f, kCaptionViolet, {
        {"La  R\xEA" "ve \xE0", 1.0f, 622.0f},
        {"l'etat brut", 1.0f, 22.0f},
    });
}

void creditsCard(Frame& frame) {
    const Shader& program = frame.res.programs.demo6pt1;
    beginCard(program, frame.t, {0.41f, 0.14f, swingingBlue(frame.t, 0.201), 0.95f});
    drawLines(antonioFont, program, kCreditsScale, kSage, {
        {"Po\xE8" "tes", 10.0f, 712.0f},
        {"terrible", 220.0f, 472.0f},
        {"Pebbleton", 120.0f, 275.0f},
        {"et Dorv-K", 125.0f, 50.0f},
    });
}

void phraseCaption(Frame& frame) {
    const Shader& program = frame.res.programs.demo6pt3;
    beginCard(program, frame.t, kNearBlack);
    drawLines(antonioFont, program, 1.0f, kCaptionViolet, {
        {"les bizarreries", 22.0f, 622.0f},
        {"sont agr\xE9" "ables", 22.0f, 112.0f},
    });
}

void greetingsTitle(Frame& frame) {
    const Shader& program = frame.res.programs.demo6pt4;
    beginCard(program, frame.t - windowStart("greetings title"), kNearBlack);
    drawLines(c64Font, program, 1.0f, kCaptionViolet, {
        {"BONJOUR", 22.0f, 422.0f},
        {"GREETINGS", 22.0f, 12.0f},
    });
}

// The greetings from 53 to 155 s move with the absolute clock t up to 85 s,
// and with the local time u after that.

void greetingsGravelmist(Frame& frame) {
    const float t = frame.t;
    const Shader& program = frame.res.programs.demo6pt61;
    beginCard(program, t - windowStart("greetings: gravelmist"), kWineRed);
    drawLines(antonioFont, program, 1.0f, kCaptionViolet, {
        {"GRAVELMIST", sway(110.0, t), 622.0f},
        {"FLiNTWEAvE", 62.0f, bounce(t)},
    });
}

void greetingsBrambl(Frame& frame) {
    const float t = frame.t;
    const Shader& program = frame.res.programs.demo6pt71;
    beginCard(program, t - windowStart("greetings: brambl"), kWineRed);
    drawLines(c64Font, program, 1.0f, kCaptionViolet, {
        {"BRAMBL", sway(100.0, t), 722.0f},
        {"PORTHAVENS", porthavensX(t), 500.0f},
        {"VOLT", sway(110.0, t), 302.0f},
        {"QUAYS", 62.0f, bounce(t)},
    });
}

void greetingsTimbre(Frame& frame) {
    const float u = frame.t - windowStart("greetings: timbre");
    const Shader& program = frame.res.programs.demo6pt91;
    beginCard(program, u, kWineRed);
    drawLines(topazFont, program, 1.0f, kCaptionViolet, {
        {"TIMBRE", sway(110.0, u), 622.0f},
        {"KWELP", 2.0f, 112.0f},
    });
}

void greetingsSprig(Frame& frame) {
    const float u = frame.t - windowStart("greetings: sprig");
    const Shader& program = frame.res.programs.demo6ptA1;
    beginCard(program, u, {0.0f, 0.277f, swingingBlue(u, 0.041), 0.95f});
    drawLines(topazFont, program, 1.0f, kCaptionViolet, {
        {"SPRIG.", sprigX(u), 422.0f},
        {"GOURD", 152.0f, gourdY(u)},
    });
}

void greetings8463(Frame& frame) {
    const float u = frame.t - windowStart("greetings: 8463");
    const Shader& program = frame.res.programs.demo6ptB1;
    beginCard(program, u, kNavy);
    drawLines(c64Font, program, 1.0f, kCaptionViolet, {
        {"8463", sway(110.0, u), 622.0f},
        {"ZWIEBELHOF", 62.0f, bounce(u)},
    });
}

void greetingsGlimmertak(Frame& frame) {
    const float u = frame.t - windowStart("greetings: glimmertak");
    const Shader& program = frame.res.programs.demo6ptC1;
    beginCard(program, u, {0.1f, 0.1f, swingingBlue(u, 0.201), 0.95f});
    // The only half-size caption of the show.
    drawLines(topazFont, program, 0.5f, kCaptionViolet, {
        {"GLIMMERTAK", sway(110.0, u), 622.0f},
        {"LANTERNIS", 62.0f, bounce(u)},
    });
}

void greetingsVeska(Frame& frame) {
    const float u = frame.t - windowStart("greetings: veska");
    const Shader& program = frame.res.programs.demo6ptD1;
    beginCard(program, u, kDarkRed);
    // "STORMPINE" starts 52 pixels off the left edge; the viewport cuts it.
    drawLines(topazFont, program, 1.0f, kCaptionViolet, {
        {"VESKA", sway(90.0, u), 622.0f},
        {"STORMPINE", -52.0f, bounce(u)},
    });
}

void closingGreetings(Frame& frame) {
    const float u = frame.t - windowStart("closing greetings");
    const Shader& program = frame.res.programs.demo6ptE1;
    beginCard(program, u, kMidnightBlue);
    drawLines(topazFont, program, 1.0f, kCaptionViolet, {
        {"KIVIPUROHAKA", closingRockX(u), 962.0f},
        {"MUV", closingRockX(u), 622.0f},
        {"DUNE 407", duneX(u), 342.0f},
        {"ET TOI! <3", 19.0f, signOffY(u)},
    });
}
