#version 460 core
// Tilting slabs over the dark red veska names: frosted ice-blue glass with
// white bevels and a bright scan line that sweeps down each slab in turn.
// The tint cools as the tilt bends the model diagonal (the root values).
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

// The dark red, darkened: silhouettes soften into it, and where an edge
// meets another face it leaves a thin dark line.
const vec3 kGround = vec3(0.31, 0.02, 0.1) * 0.5;

#include "lib/slab.glsl"

flat in vec3 vBody;
flat in float vScanY;

const vec3 kDeepIce = vec3(0.10, 0.30, 0.52);
const vec3 kWhite = vec3(0.96, 0.99, 1.0);

void main() {
    ViewLight lit = viewLight(64.0, 2.5);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.03, w);

    // Frost: fine vertical streaks.
    float frost = 0.5 + 0.5 * sin(vUV.x * 90.0 + sin(vUV.y * 7.0 + i) * 2.0);
    // The scan line sweeping down the slab.
    float scan = exp(-pow((vObj.y + 0.5 - vScanY) * 30.0, 2.0));
    vec3 colour = mix(kDeepIce, vBody, 0.25 + 0.6 * lit.diffuse + 0.08 * frost);
    colour += kWhite * (lit.specular * 0.6 + lit.fresnel * 0.45 + scan * 0.6);
    colour = mix(colour, kWhite * (0.7 + 0.3 * lit.diffuse), bevel);
    // Each slab its own piece: a tint, shade where the next one meets it, a seam on every edge.
    colour *= vSlabTint * slabContact() * mix(0.45, 1.0, slabSeam(vUV));
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
