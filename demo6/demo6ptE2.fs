#version 460 core
// Slab wave, the finale over the midnight-blue closing names: sunset slabs,
// hot pink at the foot to orange-gold at the top, each slab shifted in hue
// along the row; a bright band marks the slab on the beat ("beer" near 0)
// and lilac rims and depth fog keep the stack readable. The face's light
// and everything the same over a slab come from the vertex stage.
#include "lib/face_light.glsl"
uniform float time;
flat in float vWrap;
flat in float vRowShift;
flat in float vWarmth;
flat in float vBeat;
out vec4 FragColor;

const vec3 kGround = vec3(0.0, 0.04, 0.2);  // the midnight blue

#include "lib/slab.glsl"

const vec3 kPink = vec3(1.0, 0.25, 0.50);
const vec3 kOrange = vec3(1.0, 0.55, 0.20);
const vec3 kGold = vec3(1.0, 0.86, 0.38);
const vec3 kLilac = vec3(0.75, 0.65, 1.0);
const vec3 kFog = vec3(0.02, 0.05, 0.22);

void main() {
    ViewLight lit = viewLight(32.0, 3.0);
    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.025, w);
    // Sunset gradient up the slab.
    float h = clamp(vObj.y + vRowShift, 0.0, 1.0);
    vec3 sunset = h < 0.5 ? mix(kPink, kOrange, h * 2.0) : mix(kOrange, kGold, h * 2.0 - 1.0);
    sunset = mix(sunset, kGold, vWarmth);
    vec3 colour = sunset * (0.6 + 0.5 * vWrap) + vec3(lit.specular) * 0.3;
    float stripe = smoothstep(0.4, 0.5, abs(fract(vObj.y * 6.0 - time * 0.8) - 0.5) * 2.0);
    colour += kGold * vBeat * (0.3 + 0.5 * stripe);
    colour = mix(colour, kGold * (0.75 + 0.35 * lit.diffuse), bevel);
    colour += kLilac * lit.fresnel * 0.4;
    // Depth fog, light: the far slabs of the run sink a little into the ground.
    float fog = smoothstep(86.0, 96.0, -vViewPos.z);
    // Each slab its own piece: a tint, shade where the next one meets it, a seam on every edge.
    colour *= vSlabTint * slabContact() * mix(0.45, 1.0, slabSeam(vUV));
    FragColor = vec4(mix(kGround, mix(colour, kFog, fog * 0.3), faceCoverage(d, w)), 1.0);
}
