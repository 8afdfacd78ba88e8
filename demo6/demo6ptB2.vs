#version 460 core
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
void main() {
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(-0.55, 0.6, 0.6));  // the key light, per face
}
