#version 460 core
// Cube wave 1 over the near-black phrase: warm coral-to-gold cubes with ivory
// bevels, a cyan rim so they stand off the dark ground, and a bright pulse
// that runs along the row with "time".
#include "lib/face.glsl"
#include "lib/scene_uniforms.glsl"
flat in float vPulse;
out vec4 FragColor;

const vec3 kCoral = vec3(1.0, 0.38, 0.30);
const vec3 kGold = vec3(1.0, 0.78, 0.32);
const vec3 kIvory = vec3(1.0, 0.95, 0.84);
const vec3 kRim = vec3(0.35, 0.80, 1.0);

void main() {
    FaceLight lit = lightFace(vec3(-0.45, 0.75, 0.55), 40.0, 3.0);

    float d = edgeDistance();
    float aa = min(fwidth(d), 0.01);
    float bevel = 1.0 - smoothstep(0.05, 0.05 + aa * 1.5, d);
    float groove = smoothstep(0.05, 0.05 + aa, d) * (1.0 - smoothstep(0.07, 0.07 + aa, d));

    float pulse = vPulse;
    vec3 base = mix(kCoral, kGold, i / 29.0);
    vec3 ambient = base * mix(0.18, 0.32, lit.n.y * 0.5 + 0.5);
    vec3 colour = ambient + base * lit.diffuse * 0.85 + vec3(lit.specular) * 0.5;
    colour = mix(colour, kIvory * (0.55 + 0.5 * lit.diffuse), bevel);
    colour *= 1.0 - 0.45 * groove;
    colour += kRim * lit.fresnel * 0.55 + kIvory * pulse * 0.35;
    FragColor = vec4(colour, 1.0);
}
