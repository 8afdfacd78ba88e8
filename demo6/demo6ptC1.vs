#version 460 core
#include "lib/glyph_quad.glsl"
const float kScale = 0.5;  // the scale the block draws at
const float kMargin = 28.0;  // texels
void main() { emitGlyphQuad(kMargin, kScale); }
