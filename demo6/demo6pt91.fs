#version 460 core
#include "lib/caption.glsl"

// TIMBRE and KWELP: a chromatic split, magenta and cyan ghosts of every
// letter drifting apart and together, under the clean violet and over a dark
// rim and shadow that keep it off the wine red.
flat in float vSpread;  // from the vertex stage

void main() {
    float d = vSpread;
    float c = coverage(texel);
    float left = coverage(texel + vec2(d, 0.0));   // ghost shifted left
    float right = coverage(texel - vec2(d, 0.0));  // ghost shifted right
    float shadow = max(dilate(texel, 3.0), coverage(texel - vec2(6.0, 6.0)));
    vec3 ghost = (vec3(1.0, 0.15, 0.55) * left + vec3(0.2, 0.85, 1.0) * right) / max(left + right, 1e-4);
    vec4 under = over(ghost, 0.75 * max(left, right), vec3(0.04, 0.0, 0.03), 0.8 * shadow);
    color = over(mix(textColor, vec3(1.0), 0.1), c, under.rgb, under.a);
}
