#version 460 core
in vec2 TexCoords;
out vec4 color;
uniform sampler2D text;
uniform vec3 textColor;
uniform float time;
void main() {
    float coverage = texture(text, TexCoords).r;
    color = vec4(textColor, coverage);
}
