#version 460 core
layout (location = 0) in vec4 vertex; // (x, y) in screen pixels, (s, t) glyph coordinates
out vec2 TexCoords;
uniform mat4 projection;
void main() {
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
    TexCoords = vertex.zw;
}
