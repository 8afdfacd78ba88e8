// The slab stacks: slab i sits a small step from slab i + 1 (0.1 along x, the
// difference of sin(0.4 i) along y, as the slab scenes place them), so most
// of each slab hides inside the next. Besides the box outputs, each vertex
// gives its position in the next slab's mesh space, so that the fragment
// stage can shade a slab where the next one meets it.
#include "box_vertex.glsl"
#include "timeline.glsl"  // generated: kSlabStepX, kSlabRiseRate
#include "slab_tint.glsl"

uniform float i;

out vec3 vNext;        // mesh position in the next slab's box (-0.5..0.5 inside it)
flat out float vHasNext; // 1 when a next slab is drawn, 0 for the last one
flat out vec3 vSlabTint;  // slabTint(i), the same over the whole slab

// slabs: how many the scene draws (i runs 1..slabs).
vec4 slabVertex(float slabs) {
    vec4 position = boxVertex();
    vec3 step = vec3(kSlabStepX, sin(kSlabRiseRate * (i + 1.0)) - sin(kSlabRiseRate * i), 0.0);
    // model = translate * scale * rotate: its upper 3x3 maps mesh steps to world steps.
    vNext = grownPoint(aPos) - inverse(mat3(model)) * step;
    vHasNext = i < slabs ? 1.0 : 0.0;
    vSlabTint = slabTint(i);
    // Faces shared with the next slab resolve to the later one.
    position.z -= i * 2.0e-6 * position.w;
    return position;
}
