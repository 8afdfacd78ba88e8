#version 460 core
#include "lib/glyph_quad.glsl"
const float kScale = 1.0;  // the scale the block draws at
const float kMargin = 10.0;  // texels
void main() { emitGlyphQuad(kMargin, kScale); }
