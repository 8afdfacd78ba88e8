#version 460 core
// Cube chain over the teal sprig names: a chain of coral cubes with ivory
// bevels; a hot spark rides along the chain where "beer" is near zero, and a
// soft shimmer follows it.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
flat in vec3 vBase;
flat in float vSpark;
flat in vec3 vShimmer;
out vec4 FragColor;

// The teal, darkened: silhouettes soften into it, and where an edge meets
// another face it leaves a thin dark line, not a green fringe.
const vec3 kGround = vec3(0.0, 0.277, 0.0) * 0.5;

const vec3 kIvory = vec3(1.0, 0.95, 0.84);
const vec3 kSpark = vec3(1.0, 0.92, 0.55);

void main() {
    ViewLight lit = viewLight(36.0, 3.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.04, w);

    vec3 colour = vBase + vec3(lit.specular) * 0.4;
    colour = mix(colour, kIvory * (0.6 + 0.45 * lit.diffuse), bevel);
    colour = mix(colour, kSpark * (0.9 + 0.3 * lit.diffuse), vSpark * 0.85);
    colour += kIvory * lit.fresnel * 0.3 + vShimmer;
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
