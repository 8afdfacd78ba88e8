// Glyph quad grown by a margin on every side, so that the halo and motion of
// the caption have room to spill past the tight glyph bitmap; the texel
// coordinates grow with it, so the glyph itself stays where it was.
layout (location = 0) in vec4 vertex; // (x, y) screen pixels, (s, t) glyph corner
out vec2 texel;                       // position in the glyph bitmap in texels, y down
uniform mat4 projection;
uniform sampler2D text;

// margin in texels, across and down; scale: the scale the block draws the
// caption at.
void emitGlyphQuad(vec2 margin, float scale) {
    vec2 size = vec2(textureSize(text, 0));
    // Spaces and missing bytes have no bitmap: leave their quad empty.
    margin = (size.x > 0.0 && size.y > 0.0) ? margin : vec2(0.0);
    vec2 outward = vec2(vertex.z * 2.0 - 1.0, vertex.w * 2.0 - 1.0);
    vec2 position = vertex.xy + vec2(outward.x, -outward.y) * margin * scale;
    gl_Position = projection * vec4(position, 0.0, 1.0);
    texel = vertex.zw * size + outward * margin;
}

// The same margin on every side.
void emitGlyphQuad(float margin, float scale) { emitGlyphQuad(vec2(margin), scale); }
