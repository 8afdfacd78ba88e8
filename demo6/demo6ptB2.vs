#version 460 core
// Slab stack in amber lanterns: lit per face; what holds over a whole slab
// is worked out here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
uniform float time;  // local time of the window
flat out vec3 vBody;   // the slab's own colour, redder up the stack
flat out float vGlow;  // the slab on the beat glowing through, climbing the tower

const vec3 kAmber = vec3(1.0, 0.62, 0.18);
const vec3 kRose = vec3(0.95, 0.30, 0.38);

void main() {
    // The tower grows in and shrinks away at the ends of its window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kSlabStackLength);
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(-0.55, 0.6, 0.6));  // the key light, per face
    vBody = mix(kAmber, kRose, (i - 1.0) / 10.0);
    // The glow climbs the tower one slab a second, and again from the foot
    // every 11 s, so that the stack lives through its whole window.
    float beat = mod(time, kStackSlabs) + 1.0;
    vGlow = exp(-(i - beat) * (i - beat) * 0.5);
}
