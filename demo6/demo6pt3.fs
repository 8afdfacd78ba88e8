#version 460 core
#include "lib/caption.glsl"

// The phrase: a horizontal wave runs through the letters, their strokes
// rippling up and down as it travels to the right; the crests catch light.
void main() {
    float wave = sin(gl_FragCoord.x * 0.011 - time * 2.2);
    vec2 p = texel + vec2(0.0, 6.0 * wave);
    float c = coverage(p);
    float halo = min(1.7 * blur(p, 10.0), 1.0);  // soft: no plateau, no stairs
    vec3 fg = mix(textColor, vec3(0.8, 0.75, 1.0), 0.35 * max(wave, 0.0));
    color = over(fg, c, vec3(0.45, 0.3, 1.0), 0.4 * halo);
}
