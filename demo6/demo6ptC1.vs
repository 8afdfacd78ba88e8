#version 460 core
#include "lib/glyph_quad.glsl"
uniform float time;
flat out vec2 vDir;  // the way the extrusion runs, in texels, y down: the same over the whole caption
const float kScale = 0.5;  // the scale the block draws at
// Texels: the farthest copy lies 8 x 2.2 along a direction whose parts stay
// within 1, and the copies are unfiltered.
const float kMargin = 18.0;
void main() {
    emitGlyphQuad(kMargin, kScale);
    vDir = vec2(cos(time * 0.6), 0.6 + 0.4 * sin(time * 0.9));
}
