#version 460 core
// Slab ribbon over the wine-red greetings: ivory slabs washed by a cyan wave
// that ripples along the ribbon with "beer", cyan bevels, soft key light.
#include "lib/face.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

const vec3 kIvory = vec3(0.98, 0.94, 0.86);
const vec3 kCyan = vec3(0.20, 0.80, 0.92);
const vec3 kShade = vec3(0.16, 0.20, 0.32);

void main() {
    // The camera looks up at the ribbon, so the key light comes from below
    // and in front.
    FaceLight lit = lightFace(vec3(-0.35, -0.55, 0.75), 30.0, 3.0);

    float d = edgeDistance();
    float bevel = 1.0 - smoothstep(0.06, 0.06 + min(fwidth(d), 0.01) * 1.5, d);

    // Cyan bands across ivory faces. Neighbouring slabs differ by 1 in
    // beer, so the bands step along the ribbon and travel as the clock runs.
    float wrap = dot(lit.n, lit.toLight) * 0.5 + 0.5;
    float band = smoothstep(0.6, 0.8, sin(vUV.y * 18.85 + beer * 0.9));
    vec3 base = mix(kIvory, kCyan, band * 0.85);
    // A slow light shift from the model's root values.
    base *= 0.92 + 0.08 * sin(rootone + rootthree * 0.5 - roottwo * 0.1);
    vec3 colour = mix(kShade, base, 0.6 + 0.4 * wrap) + vec3(lit.specular) * 0.35;
    colour = mix(colour, kCyan * (0.7 + 0.5 * lit.diffuse), bevel);
    colour += kCyan * lit.fresnel * 0.35;
    FragColor = vec4(colour, 1.0);
}
