#version 460 core
#include "lib/box_vertex.glsl"
// Cube wave: the model matrix carries a common factor 1.5 in w.
uniform float time;
uniform float i;
flat out float vPulse;  // the pulse running along the row: one value per cube
void main() {
    gl_Position = boxVertex();
    vPulse = pow(0.5 + 0.5 * sin(time * 3.0 - i * 0.45), 8.0);
}
