#version 460 core
#include "lib/caption.glsl"

// VESKA and STORMPINE on dark red: violet neon tubes, white-hot in the middle
// of each stroke, in a wide glow that hums and now and then flickers.
flat in float vPower;  // the hum and flicker, from the vertex stage

void main() {
    float c = coverage(texel);
    // A soft glow (a blur falls off smoothly where rings would stair) and a
    // core where the ink is still full a little way above and below: the
    // middle of every bar of the scanline face, narrower than the bars,
    // taken from the filtered coverage so that it fades smoothly towards
    // their edges. Only ink pixels look for it.
    float halo = min(1.6 * blur(texel, 13.0), 1.0);
    float core = 0.0;
    if (c > 0.5) core = min(coverage(texel + vec2(0.0, 2.5)), coverage(texel - vec2(0.0, 2.5)));
    vec3 tube = mix(mix(textColor, vec3(1.0), 0.15), vec3(1.0, 0.94, 1.0), 0.9 * vPower * core);
    vec3 glow = mix(textColor, vec3(0.65, 0.45, 1.0), 0.5);
    color = over(tube, c, glow, 0.6 * vPower * halo);
}
