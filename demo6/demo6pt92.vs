#version 460 core
#include "lib/face_vertex.glsl"
// Instanced boxes and slabs. Neighbouring instances share face planes (they
// differ by small translations only), so each instance is nudged a hair
// towards the camera by its index: coplanar faces then resolve cleanly to
// the later instance instead of flickering.
uniform float i;
void main() {
    gl_Position = boxVertex();
    faceVertexLight(vec3(-0.4, 0.6, 0.7));  // the key light, per face
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;
}
