#version 460 core
// Pillar row: LED bars lit per face; the bar's level and what light makes of
// its segments, the same over the whole face, are worked out here once (see
// the .fs).
#include "lib/face_vertex.glsl"
#include "lib/scene_uniforms.glsl"
uniform float timer;
flat out float vLevel;   // how high the bar is lit, 0 (foot) to 1 (top)
flat out float vOnScale; // the lit segments' brightness under the light and the beat
flat out float vOffScale; // the unlit segments' brightness: a dim version of the lit ones

void main() {
    // The bars grow in and shrink away at the ends of the window ("timer"
    // counts from its start; "time" does not).
    gBoxGrowth = sceneEnvelope(timer, 0.0, kPillarRowLength);
    gl_Position = boxVertex();
    FaceVertexLight light = faceVertexLight(vec3(-0.4, 0.6, 0.7));  // the key light, per face
    // Neighbouring instances share face planes (they differ by small
    // translations only), so each instance is nudged a hair towards the
    // camera by its index: coplanar faces then resolve cleanly to the later
    // instance instead of flickering.
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;

    // "timer" is the local time of the window (0 to 35 s).
    float phase = timer * 2.3 + i * 0.55;
    vLevel = 0.55 + 0.4 * sin(phase) * (0.65 + 0.35 * sin(timer * 0.7 + i * 0.21));
    // The bar on the slow beat of "beer" flares a little brighter.
    float beat = 0.5 + 0.5 * cos(beer * 0.8 + rootone - roottwo * 0.1 + rootthree);
    vOnScale = 0.75 + 0.35 * light.diffuse + 0.2 * beat;
    vOffScale = 0.3 + 0.15 * light.diffuse;
}
