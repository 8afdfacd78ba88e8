#version 460 core
// Rocking slabs over the navy and dusky grounds: pearly mint slabs with
// copper bevels. Their hue drifts to lilac as the rocking bends the model
// diagonal (the root values), so the tilt shows in the colour too.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

// The navy until the names change at 2 s, then the dusky olive.
const vec3 kNavyGround = vec3(0.0, 0.1, 0.277);
const vec3 kDuskGround = vec3(0.1, 0.1, 0.0);

uniform float toinenaste;
flat in vec3 vPearl;  // mint turning lilac with the tilt

#include "lib/slab.glsl"

const vec3 kLilac = vec3(0.80, 0.66, 1.0);
const vec3 kCopper = vec3(0.95, 0.52, 0.25);
const vec3 kShadow = vec3(0.10, 0.16, 0.24);

void main() {
    ViewLight lit = viewLight(24.0, 2.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.03, w);

    vec3 pearl = vPearl;
    // A faint sheen that slides across the faces.
    float sheen = 0.5 + 0.5 * sin(vUV.x * 5.0 + vUV.y * 3.0 + time * 1.3 + i * 0.3);
    vec3 colour = mix(kShadow, pearl, 0.3 + 0.7 * lit.diffuse) + vec3(lit.specular) * 0.35;
    colour += pearl * sheen * 0.08 + kLilac * lit.fresnel * 0.35;
    colour = mix(colour, kCopper * (0.6 + 0.6 * lit.diffuse), bevel);
    // Each slab its own piece: a tint, shade where the next one meets it, a seam on every edge.
    colour *= vSlabTint * slabContact() * mix(0.45, 1.0, slabSeam(vUV));
    vec3 ground = time < 2.0 ? kNavyGround : kDuskGround;
    FragColor = vec4(mix(ground, colour, faceCoverage(d, w)), 1.0);
}
