#version 460 core
#include "lib/slab_vertex.glsl"
const float kSlabs = 11.0;  // the scene draws slabs 1 to 11
void main() { gl_Position = slabVertex(kSlabs); }
