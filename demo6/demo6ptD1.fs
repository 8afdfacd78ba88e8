#version 460 core
#include "lib/caption.glsl"
#include "lib/hash.glsl"

// VESKA and STORMPINE on dark red: violet neon tubes, white-hot in the middle
// of each stroke, in a wide glow that hums and now and then flickers.
void main() {
    float c = coverage(texel);
    float halo = twoRings(texel, 5.0, 13.0, 0.55);
    float power = (0.85 + 0.15 * sin(time * 5.0)) * (hash(vec2(floor(time * 14.0), 3.7)) > 0.93 ? 0.5 : 1.0);
    vec3 tube = mix(mix(textColor, vec3(1.0), 0.15), vec3(0.95, 0.88, 1.0), 0.7 * power * inner(texel, 5.0));
    vec3 glow = mix(textColor, vec3(0.65, 0.45, 1.0), 0.5);
    color = over(tube, c, glow, 0.6 * power * halo);
}
