#version 460 core
// Rocking slabs, lit per face; the pearl colour, the same over the whole
// slab, is worked out here once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/slab_vertex.glsl"
uniform float rootone;
flat out vec3 vPearl;

const vec3 kMint = vec3(0.62, 0.98, 0.82);
const vec3 kLilac = vec3(0.80, 0.66, 1.0);

uniform float time;  // local time of the window

void main() {
    // The slabs grow in and shrink away at the ends of their window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kRockingSlabsLength);
    gl_Position = slabVertex(kStackSlabs);
    faceVertexLight(vec3(-0.5, 0.65, 0.55));  // the key light, per face
    // rootone is about 9.49 when the slabs stand straight and falls as they rock.
    float tilt = clamp((9.5 - rootone) / 2.0, 0.0, 1.0);
    vPearl = mix(kMint, kLilac, tilt);
}
