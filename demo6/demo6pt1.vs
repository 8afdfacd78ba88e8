#version 460 core
#include "lib/glyph_quad.glsl"
#include "timeline.glsl"  // generated: kCreditsStart, kCreditsScale
uniform float time;
// The opening title draws at scale 1, the credits card at its own.
void main() { emitGlyphQuad(12.0, time > kCreditsStart ? kCreditsScale : 1.0); }
