#version 460 core
#include "lib/glyph_quad.glsl"
uniform float time;
// The opening title draws at scale 1, the credits card (from 9 s) at 0.77.
void main() { emitGlyphQuad(12.0, time > 9.0 ? 0.77 : 1.0); }
