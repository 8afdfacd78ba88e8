#version 460 core
#include "lib/glyph_quad.glsl"
const float kScale = 1.0;  // the scale the block draws at
// Texels: across, the wobble's 8 on top of the shadow's 5 (plus half the
// filter); down, only the shadow and the outline, whose reach of 3 grows by
// the pixel whose taps the quad shares.
const vec2 kMargin = vec2(14.0, 6.0);
void main() { emitGlyphQuad(kMargin, kScale); }
