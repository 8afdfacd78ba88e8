#version 460 core
#include "lib/caption.glsl"

// GRAVELMIST and FLiNTWEAvE on wine red: a pale lilac ring hugging the
// letters inside a dark outline cuts the violet free of the ground (violet
// and wine red are nearly the same brightness, and not even black is twice
// as dark as the wine red, so the ring next to the ink is light), and a band of lilac light rises and falls through the
// letters, a little later in each one from left to right.
void main() {
    float c = coverage(texel);
    // The pale ring's tap is the near ring of the dark outline as well.
    float near = hug(texel, 2.5);
    float outline = 0.55 * near + 0.45 * farRing(texel, 6.0);
    float rows = max(float(textureSize(text, 0).y), 1.0);
    float v = 1.0 - texel.y / rows;  // 0 at the bitmap's bottom, 1 at its top
    float level = 0.5 + 0.55 * sin(time * 2.0 - gl_FragCoord.x * 0.004);
    float light = exp(-pow((v - level) / 0.14, 2.0));
    vec3 fg = mix(textColor, vec3(0.82, 0.74, 1.0), 0.65 * light);
    float ring = smoothstep(0.0, 0.45, near);
    vec4 under = over(vec3(0.88, 0.82, 0.95), 0.95 * ring, vec3(0.06, 0.0, 0.06), 0.85 * outline);
    color = over(fg, c, under.rgb, under.a);
}
