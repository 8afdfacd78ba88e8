#version 460 core
#include "lib/caption.glsl"
#include "lib/hash.glsl"

// The closing names: a slow tide of colour from violet to orchid drifts
// through the words in a pale glow; they grain in over the first second and
// a half of the window and grain out over its last two.
void main() {
    float shown = min(clamp(time / 1.5, 0.0, 1.0), clamp((35.0 - time) / 2.0, 0.0, 1.0));
    if (hash(floor(gl_FragCoord.xy / 6.0)) > shown) discard;

    float c = coverage(texel);
    float glow = blur(texel, 12.0);
    float tide = 0.5 + 0.5 * sin(gl_FragCoord.y * 0.004 + gl_FragCoord.x * 0.0015 - time * 0.7);
    vec3 fg = mix(textColor, vec3(0.62, 0.25, 0.85), 0.55 * tide);
    color = over(fg, c, vec3(0.45, 0.3, 1.0), 0.8 * glow);
}
