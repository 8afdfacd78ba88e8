#version 460 core
#include "lib/glyph_quad.glsl"
uniform float time;
flat out vec2 vDir;  // the way the extrusion runs, in texels, y down: the same over the whole caption
const float kScale = 0.5;  // the scale the block draws at
const float kMargin = 28.0;  // texels
void main() {
    emitGlyphQuad(kMargin, kScale);
    vDir = vec2(cos(time * 0.6), 0.6 + 0.4 * sin(time * 0.9));
}
