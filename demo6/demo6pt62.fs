#version 460 core
// Slab ribbon over the wine-red greetings: ivory slabs washed by a cyan wave
// that ripples along the ribbon with "beer", deep blue bevels, soft key light. The
// face's light comes from the vertex stage; here the bands, the highlight,
// the rim and the bevel.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
flat in vec3 vShade;
flat in float vBaseWeight;
flat in vec3 vBevelColour;
out vec4 FragColor;

// The wine red, darkened: silhouettes soften into it, and where an edge
// meets another face it leaves a thin dark line, not a wine-red fringe.
const vec3 kGround = vec3(0.41, 0.14, 0.2) * 0.5;

const vec3 kIvory = vec3(0.98, 0.94, 0.86);
const vec3 kCyan = vec3(0.20, 0.80, 0.92);

// sin(2 pi x) where it is positive, within 0.001, from two parabolas and no
// range reduction; no more than 0 where the sine is negative, which is all
// the bands ask of it.
float sineCrest(float x) {
    float u = fract(x);
    float y = 16.0 * u * (0.5 - u);
    return y + 0.225 * (y * abs(y) - y);
}

void main() {
    ViewLight lit = viewLight(30.0, 3.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.06, w);

    // Cyan bands across ivory faces. Neighbouring slabs differ by 1 in
    // beer, so the bands step along the ribbon and travel as the clock runs.
    float band = smoothstep(0.6, 0.8, sineCrest(vUV.y * 3.0 + beer * (0.9 / 6.2831853)));
    vec3 colour = vShade + mix(kIvory, kCyan, band * 0.85) * vBaseWeight + vec3(lit.specular * 0.35);
    colour = mix(colour, vBevelColour, bevel);
    colour += kCyan * lit.fresnel * 0.35;
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
