#version 460 core
in vec2 TexCoord;
out vec4 FragColor;
uniform float time;
uniform float i;
void main() {
    FragColor = vec4(TexCoord, 0.5 + 0.5 * sin(time + i), 1.0);
}
