#version 460 core
// Tilting slabs, lit per face; the ice's tint and the scan line's height,
// the same over the whole slab, are worked out here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
uniform float time;
uniform float roottwo;
flat out vec3 vBody;   // the ice, cooling as the stack tilts
flat out float vScanY; // the scan line's height on this slab, 0 (foot) to 1

const vec3 kIce = vec3(0.55, 0.88, 1.0);

void main() {
    // The slabs grow in and shrink away at the ends of their window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kTiltingSlabsLength);
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(0.45, 0.7, 0.55));  // the key light, per face
    // roottwo runs from about -15.8 (upright) to -9.1 (fully tilted).
    float tilt = clamp((roottwo + 15.85) / 6.7, 0.0, 1.0);
    vBody = mix(kIce, vec3(0.45, 0.70, 1.0), tilt);
    // One sweep of every slab per 2 s, each slab a step behind.
    vScanY = 1.0 - fract(time * 0.5 - i * 0.07);
}
