#version 460 core
#include "lib/caption.glsl"
#include "lib/hash.glsl"

// Greetings title: the words type themselves in from the left in the first
// second and a half, a white-hot edge leading, glowing like phosphor, and
// crumble away in blocks over the last second and a half of the window.
void main() {
    float front = 60.0 + time * 1100.0;  // screen x the reveal has reached
    float behind = front - gl_FragCoord.x;
    // The front steps by whole pixel quads, so that the glow's quad sharing
    // never meets a discarded neighbour.
    float quadBehind = front - (floor(gl_FragCoord.x * 0.5) * 2.0 + 1.0);
    float gone = clamp((time - 12.5) / 1.4, 0.0, 1.0);
    if (quadBehind < 0.0 || hash(floor(gl_FragCoord.xy / 12.0)) < gone) discard;

    float c = coverage(texel);
    float glow = blur(texel, 9.0);
    vec3 fg = mix(textColor, vec3(1.0), 0.85 * exp(-behind / 50.0));
    color = over(fg, c, vec3(0.42, 0.3, 1.0), 0.9 * glow);
}
