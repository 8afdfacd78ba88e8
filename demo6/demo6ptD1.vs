#version 460 core
#include "lib/glyph_quad.glsl"
#include "lib/hash.glsl"
uniform float time;
flat out float vPower;  // the tubes' hum and flicker, the same over the whole caption
const float kScale = 1.0;  // the scale the block draws at
const float kMargin = 14.0;  // texels
void main() {
    emitGlyphQuad(kMargin, kScale);
    vPower = (0.85 + 0.15 * sin(time * 5.0)) * (hash(vec2(floor(time * 14.0), 3.7)) > 0.93 ? 0.5 : 1.0);
}
