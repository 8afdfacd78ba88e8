#version 460 core
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
const float kSlabs = 11.0;  // the scene draws slabs 1 to 11
void main() {
    gl_Position = slabVertex(kSlabs);
    faceVertexLight(vec3(0.45, 0.7, 0.55));  // the key light, per face
}
