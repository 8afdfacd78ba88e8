#version 460 core
// Slab stack in amber lanterns: lit per face; what holds over a whole slab
// is worked out here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
uniform float beer;
flat out vec3 vBody;   // the slab's own colour, redder up the stack
flat out float vGlow;  // the slab on the beat glowing through

const vec3 kAmber = vec3(1.0, 0.62, 0.18);
const vec3 kRose = vec3(0.95, 0.30, 0.38);

uniform float time;  // local time of the window

void main() {
    // The tower grows in and shrinks away at the ends of its 43 s window.
    gBoxGrowth = sceneEnvelope(time, 0.0, 43.0);
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(-0.55, 0.6, 0.6));  // the key light, per face
    vBody = mix(kAmber, kRose, (i - 1.0) / 10.0);
    vGlow = exp(-beer * beer * 0.5);
}
