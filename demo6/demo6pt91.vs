#version 460 core
#include "lib/glyph_quad.glsl"
uniform float time;
flat out float vSpread;  // how far the ghosts stand from the letters, in texels
const float kScale = 1.0;  // the scale the block draws at
const float kMargin = 14.0;  // texels
void main() {
    emitGlyphQuad(kMargin, kScale);
    vSpread = 4.0 + 3.0 * sin(time * 1.3);
}
