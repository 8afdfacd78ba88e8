#version 460 core
#include "lib/caption.glsl"

// Opening title and credits card: a slow shimmer, a band of light sweeping
// diagonally across the words every four seconds, over a soft halo that
// stands out from the ground: light around dark text, dark around light text.
void main() {
    float c = coverage(texel);
    // Soft: a blur of the glyph falls off smoothly, with no plateau or stairs.
    float halo = min(1.7 * blur(texel, 11.0), 1.0);
    float luma = dot(textColor, vec3(0.299, 0.587, 0.114));
    bool darkText = luma < 0.4;
    vec3 haloColour = darkText ? vec3(0.5, 0.35, 1.0) : vec3(0.1, 0.02, 0.05);
    float haloAlpha = darkText ? 0.4 : 0.55;

    float sweep = mod(time, 4.0) / 4.0 * 3000.0 - 500.0;
    float along = gl_FragCoord.x + 0.5 * gl_FragCoord.y;
    float shine = exp(-pow((along - sweep) / 120.0, 2.0));
    vec3 fg = mix(textColor, vec3(1.0), 0.6 * shine);
    color = over(fg, c, haloColour, haloAlpha * halo);
}
