#version 460 core
#include "lib/caption.glsl"
#include "lib/hash.glsl"

// 8463 and ZWIEBELHOF on navy: round sparkles light up here and there on the
// letters, each at its own pace, in a blue-violet glow that lifts the violet
// off the navy.
void main() {
    float c = coverage(texel);
    float glow = blur(texel, 10.0);
    // One possible sparkle per 28-pixel screen cell, at a random spot in its
    // middle, a point of light a few pixels across that has died away well
    // before the cell's border, so that no cell shows as a tile.
    vec2 cell = floor(gl_FragCoord.xy / 28.0);
    float seed = hash(cell);
    vec2 spot = (cell + 0.3 + 0.4 * vec2(seed, hash(cell + 17.0))) * 28.0;
    float pulse = pow(max(sin(time * (1.2 + 2.0 * seed) + seed * 6.2832), 0.0), 6.0);
    vec2 off = gl_FragCoord.xy - spot;
    float sparkle = pulse * exp(-dot(off, off) / 9.0);
    vec3 fg = mix(textColor, vec3(1.0, 0.95, 1.0), min(sparkle, 1.0));
    color = over(fg, c, vec3(0.3, 0.35, 1.0), 0.85 * glow);
}
