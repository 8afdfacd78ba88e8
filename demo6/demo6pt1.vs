#version 460 core
#include "lib/glyph_quad.glsl"
#include "timeline.glsl"  // generated: kCreditsScale
uniform float time;
// The opening title draws at scale 1, the credits card (from 9 s) at its own.
void main() { emitGlyphQuad(12.0, time > 9.0 ? kCreditsScale : 1.0); }
