#version 460 core
#include "lib/box_vertex.glsl"
// Cube wave: the model matrix carries a common factor 1.5 in w.
uniform float time;
uniform float i;
flat out float vFlash;  // the flash running along the row: one value per cube
void main() {
    gl_Position = boxVertex();
    vFlash = pow(0.5 + 0.5 * sin(time * 2.2 - i * 0.35), 10.0);
}
