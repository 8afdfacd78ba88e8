#version 460 core
// Cube sweep over the wine-red c64 names: mint tiles with an inset frame;
// the cube on the beat (beer near 0) burns gold and the glow fades with
// distance from the beat as the row sweeps out to the right.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
flat in vec3 vBase;
flat in float vGlow;
flat in vec3 vGoldGlow;
out vec4 FragColor;

// The wine red, darkened: silhouettes soften into it, and where an edge
// meets another face it leaves a thin dark line, not a wine-red fringe.
const vec3 kGround = vec3(0.41, 0.14, 0.2) * 0.5;

const vec3 kMint = vec3(0.30, 0.92, 0.76);

void main() {
    ViewLight lit = viewLight(48.0, 3.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float frame = coverBetween(d, 0.10, 0.16, w);
    float bevel = coverBelow(d, 0.04, w);

    vec3 colour = vBase + vec3(lit.specular) * 0.45;
    colour = mix(colour, vec3(1.0, 0.97, 0.9), frame * (0.35 + 0.65 * vGlow) + bevel * 0.6);
    colour += kMint * lit.fresnel * 0.3 + vGoldGlow;
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
