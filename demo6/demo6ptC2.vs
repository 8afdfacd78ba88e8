#version 460 core
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
void main() {
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(-0.5, 0.65, 0.55));  // the key light, per face
}
