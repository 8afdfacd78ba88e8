#version 460 core
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
void main() {
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(0.45, 0.7, 0.55));  // the key light, per face
}
