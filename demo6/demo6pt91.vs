#version 460 core
#include "lib/glyph_quad.glsl"
uniform float time;
flat out float vSpread;  // how far the ghosts stand from the letters, in texels
const float kScale = 1.0;  // the scale the block draws at
// Texels: the ghosts stand up to 7 apart, plus half the filter; the shadow
// drops 6 down and right (plus half the filter) and its outline reaches 3,
// plus the pixel whose taps the quad shares.
const vec2 kMargin = vec2(8.0, 7.0);
void main() {
    emitGlyphQuad(kMargin, kScale);
    vSpread = 4.0 + 3.0 * sin(time * 1.3);
}
