#version 460 core
// Slab stack over the navy 8463 names: a tower of amber lantern slabs.
// Warm bands of light climb the faces with "time", each slab a little
// redder than the one before; the slab on the beat (beer near 0) glows
// through for the first seconds.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

const vec3 kGround = vec3(0.0, 0.1, 0.277);  // the navy

uniform float toinenaste;
flat in vec3 vBody;
flat in float vGlow;

#include "lib/slab.glsl"

const vec3 kAmber = vec3(1.0, 0.62, 0.18);
const vec3 kEmber = vec3(0.28, 0.08, 0.06);
const vec3 kPale = vec3(1.0, 0.92, 0.75);

void main() {
    ViewLight lit = viewLight(1.0, 3.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.025, w);

    // Bands that climb: the root values (constant here) set their spacing.
    float spacing = 6.0 + 0.1 * rootone;
    float band = 0.5 + 0.5 * sin((vObj.y * spacing - time * 0.9) * 6.2831853 / 3.0);
    band = smoothstep(0.35, 0.95, band);
    vec3 colour = mix(kEmber, vBody, 0.25 + 0.45 * lit.diffuse + 0.4 * band);
    colour += kPale * pow(band, 4.0) * 0.25 * (0.5 + 0.5 * lit.diffuse);
    colour = mix(colour, kPale, vGlow * 0.5);
    colour = mix(colour, kPale * (0.5 + 0.5 * lit.diffuse), bevel);
    colour += kAmber * lit.fresnel * 0.25 * (1.0 + 0.01 * (roottwo + rootthree));
    // Each slab its own piece: a tint, shade where the next one meets it, a seam on every edge.
    colour *= vSlabTint * slabContact() * mix(0.45, 1.0, slabSeam(vUV));
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
