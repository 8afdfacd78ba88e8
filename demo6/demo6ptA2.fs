#version 460 core
// Cube chain over the teal sprig names: a chain of coral cubes with ivory
// bevels; a hot spark rides along the chain where "beer" is near zero, and a
// soft shimmer follows it.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

const vec3 kCoral = vec3(1.0, 0.42, 0.34);
const vec3 kDeep = vec3(0.45, 0.10, 0.16);
const vec3 kIvory = vec3(1.0, 0.95, 0.84);
const vec3 kSpark = vec3(1.0, 0.92, 0.55);

void main() {
    ViewLight lit = viewLight(36.0, 3.0);

    float d = edgeDistance();
    float bevel = 1.0 - smoothstep(0.04, 0.04 + min(fwidth(d), 0.01) * 1.5, d);

    float spark = exp(-beer * beer * 0.6);
    float shimmer = 0.5 + 0.5 * sin(time * 4.0 - i * 0.8);
    vec3 base = mix(kDeep, kCoral, 0.3 + 0.7 * lit.diffuse);
    vec3 colour = base + vec3(lit.specular) * 0.4;
    colour = mix(colour, kIvory * (0.6 + 0.45 * lit.diffuse), bevel);
    colour = mix(colour, kSpark * (0.9 + 0.3 * lit.diffuse), spark * 0.85);
    colour += kIvory * lit.fresnel * 0.3 + kCoral * shimmer * 0.08;
    FragColor = vec4(colour, 1.0);
}
