#version 460 core
in vec2 TexCoord;
out vec4 FragColor;
uniform sampler2D texture1;
uniform float time;
void main() {
    FragColor = texture(texture1, TexCoord);
}
