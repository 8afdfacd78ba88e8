#version 460 core
#include "lib/caption.glsl"

// VESKA and STORMPINE on dark red: violet neon tubes, white-hot in the middle
// of each stroke, in a wide glow that hums and now and then flickers.
flat in float vPower;  // the hum and flicker, from the vertex stage

void main() {
    float c = coverage(texel);
    float halo = twoRings(texel, 5.0, 13.0, 0.55);
    vec3 tube = mix(mix(textColor, vec3(1.0), 0.15), vec3(0.95, 0.88, 1.0), 0.7 * vPower * inner(texel, 5.0));
    vec3 glow = mix(textColor, vec3(0.65, 0.45, 1.0), 0.5);
    color = over(tube, c, glow, 0.6 * vPower * halo);
}
