#version 460 core
// Cube chain: coral cubes lit per face; the face's colour under its light,
// the spark and the shimmer, the same over the whole face, are worked out
// here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/scene_uniforms.glsl"
flat out vec3 vBase;     // the coral under the key light
flat out float vSpark;   // the hot spark where "beer" is near zero
flat out vec3 vShimmer;  // the soft shimmer that follows it

const vec3 kCoral = vec3(1.0, 0.42, 0.34);
const vec3 kDeep = vec3(0.45, 0.10, 0.16);

void main() {
    // The chain grows in and shrinks away at the ends of its window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kCubeChainLength);
    gl_Position = boxVertex();
    FaceVertexLight lit = faceVertexLight(vec3(-0.5, 0.8, 0.45));  // the key light, per face
    // Neighbouring instances share face planes (they differ by small
    // translations only), so each instance is nudged a hair towards the
    // camera by its index: coplanar faces then resolve cleanly to the later
    // instance instead of flickering.
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;

    vBase = mix(kDeep, kCoral, 0.3 + 0.7 * lit.diffuse);
    vSpark = exp(-beer * beer * 0.6);
    float shimmer = 0.5 + 0.5 * sin(time * 4.0 - i * 0.8);
    vShimmer = kCoral * shimmer * 0.08;
}
