#version 460 core
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
const float kSlabs = 11.0;  // the scene draws slabs 1 to 11
void main() {
    gl_Position = slabVertex(kSlabs);
    faceVertexLight(vec3(-0.55, 0.6, 0.6));  // the key light, per face
}
