#version 460 core
// Slab wave: sunset slabs lit per face; what holds over a whole face or slab
// is worked out here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
uniform float time;
uniform float beer;
uniform float rootone;
flat out float vWrap;      // the key light wrapped round the face, 0..1
flat out float vRowShift;  // where the sunset gradient starts up this slab
flat out float vWarmth;    // how far the tilt warms the gradient towards gold
flat out float vBeat;      // the bright band of the slab on the beat

void main() {
    // The wave grows in and shrinks away at the ends of its window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kSlabWaveLength);
    gl_Position = slabVertex(kWaveSlabs);
    FaceVertexLight lit = faceVertexLight(vec3(-0.4, 0.75, 0.5));
    vWrap = lit.facing * 0.5 + 0.5;
    // The row shifts the gradient; the tilt (rootone) warms it slowly.
    vRowShift = 0.5 + 0.25 * sin(i * 0.3 + time * 0.4);
    vWarmth = clamp((9.5 - rootone) / 16.0, 0.0, 0.3);
    vBeat = exp(-beer * beer * 0.4);
}
