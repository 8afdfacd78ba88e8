#version 460 core
// Slab ribbon: ivory slabs lit per face (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/scene_uniforms.glsl"
flat out vec3 vShade;        // the shade colour's share of the face
flat out float vBaseWeight;  // the band colour's share, with the slow light shift
flat out vec3 vBevelColour;  // the deep blue bevel under the face's diffuse light

const vec3 kCyan = vec3(0.20, 0.80, 0.92);
const vec3 kShade = vec3(0.16, 0.20, 0.32);

void main() {
    // The slabs grow in and shrink away at the ends of the window ("time" is the show clock here).
    gBoxGrowth = sceneEnvelope(time, kSlabRibbonStart, kSlabRibbonEnd);
    gl_Position = boxVertex();
    // Neighbouring instances share face planes (they differ by small
    // translations only), so each instance is nudged a hair towards the
    // camera by its index: coplanar faces then resolve cleanly to the later
    // instance instead of flickering.
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;

    // The camera looks up at the ribbon, so the key light comes from below
    // and in front.
    FaceVertexLight lit = faceVertexLight(vec3(-0.35, -0.55, 0.75));
    float wrap = lit.facing * 0.5 + 0.5;
    // A generous share of the key light: the ivory stays ivory, not grey.
    float keyShare = 0.8 + 0.25 * wrap;
    vShade = kShade * (1.0 - keyShare);
    // A slow light shift from the model's root values.
    vBaseWeight = keyShare * (0.92 + 0.08 * sin(rootone + rootthree * 0.5 - roottwo * 0.1));
    // Deep blue bevels, darker than the cyan bands, so that each slab's
    // edge shows where it crosses its neighbours.
    vBevelColour = vec3(0.08, 0.22, 0.42) * (0.8 + 0.4 * lit.diffuse);
}
