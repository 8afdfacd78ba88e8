// Fragment helpers that make each slab of a stack read as its own piece: a
// tint per slab, a seam along every edge, and shade where the next slab meets
// this one. Pairs with slab_vertex.glsl.
#include "timeline.glsl"  // generated: kSlabSize, the slabs' size in world units (the mesh is a unit cube)

in vec3 vNext;
flat in float vHasNext;
flat in vec3 vSlabTint;  // the slab's own tint (slab_tint.glsl)

// 1 on open faces, darker close to where the next slab stands: a contact
// shadow over the last 0.15 world units before it.
float slabContact() {
    vec3 outside = max(abs(vNext) - 0.5, 0.0) * kSlabSize;
    float gap = length(outside);
    return mix(1.0, mix(0.6, 1.0, smoothstep(0.0, 0.15, gap)), vHasNext);
}

// 0 on a thin line along every face edge, 1 elsewhere: the slab's outline.
float slabSeam(vec2 uv) {
    vec2 d2 = min(uv, 1.0 - uv);
    float d = min(d2.x, d2.y);
    return 1.0 - coverBelow(d, 0.004 + 0.75 * fwidth(d), fwidth(d));
}
