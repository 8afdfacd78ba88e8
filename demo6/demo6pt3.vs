#version 460 core
#include "lib/glyph_quad.glsl"
const float kScale = 1.0;  // the scale the block draws at
// Texels: the far halo ring and the filter across; the wave's lift on top of
// that down the glyph.
const vec2 kMargin = vec2(11.0, 17.0);
void main() { emitGlyphQuad(kMargin, kScale); }
