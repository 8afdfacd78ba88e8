#version 460 core
#include "lib/box_vertex.glsl"
// Cube wave: the model matrix carries a common factor 1.5 in w.
void main() { gl_Position = boxVertex(); }
