#version 460 core
#include "lib/caption.glsl"

// SPRIG. and GOURD on teal: a CRT's rolling bar of light climbs the screen
// and brightens the letters it crosses; every third line sits a touch darker,
// and a pale ring hugging the letters inside a dark outline keeps the violet
// off the green (not even black is twice as dark as the teal, so the ring
// next to the ink is light).
void main() {
    float c = coverage(texel);
    // The dark outline beyond the pale ring: the same one-tap dilation, wider.
    // Both read single texels: the block font's strokes follow the texel grid.
    float outline = smoothstep(0.0, 0.6, hugTexel(texel, 6.0));
    float bar = mod(time * 240.0, 1500.0) - 200.0;
    float lit = exp(-pow((gl_FragCoord.y - bar) / 70.0, 2.0));
    float scan = mod(floor(gl_FragCoord.y), 3.0) < 1.0 ? 0.85 : 1.0;
    vec3 fg = mix(textColor, vec3(0.85, 0.8, 1.0), 0.7 * lit) * scan;
    float ring = smoothstep(0.0, 0.45, hugTexel(texel, 3.0));
    vec4 under = over(vec3(0.86, 0.92, 0.84), 0.95 * ring, vec3(0.0, 0.03, 0.02), 0.85 * outline);
    color = over(fg, c, under.rgb, under.a);
}
