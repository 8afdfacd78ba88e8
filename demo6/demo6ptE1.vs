#version 460 core
// Glyph quad grown by a margin on every side, so that the halo and motion of
// this caption have room to spill past the tight glyph bitmap; the texel
// coordinates grow with it, so the glyph itself stays where it was.
layout (location = 0) in vec4 vertex; // (x, y) screen pixels, (s, t) glyph corner
out vec2 texel;                       // position in the glyph bitmap in texels, y down
uniform mat4 projection;
uniform sampler2D text;
const float kScale = 1.0;  // the scale the block draws at
const float kMargin = 12.0;  // texels
void main() {
    vec2 size = vec2(textureSize(text, 0));
    // Spaces and missing bytes have no bitmap: leave their quad empty.
    float margin = (size.x > 0.0 && size.y > 0.0) ? kMargin : 0.0;
    vec2 outward = vec2(vertex.z * 2.0 - 1.0, vertex.w * 2.0 - 1.0);
    vec2 position = vertex.xy + vec2(outward.x, -outward.y) * margin * kScale;
    gl_Position = projection * vec4(position, 0.0, 1.0);
    texel = vertex.zw * size + outward * margin;
}
