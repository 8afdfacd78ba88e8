#version 460 core
#include "lib/slab_vertex.glsl"
const float kSlabs = 21.0;  // the scene draws slabs 1 to 21
void main() { gl_Position = slabVertex(kSlabs); }
