#version 460 core
#include "lib/caption.glsl"

// Four c64 names on wine red: the raster wobbles sideways like a detuned TV
// (two slow sines through the screen rows), every letter cut out by a dark
// outline and dropping a shadow down and to the right.
void main() {
    float y = gl_FragCoord.y;
    float shift = 5.0 * sin(y * 0.045 + time * 4.0) + 3.0 * sin(y * 0.013 - time * 1.3);
    vec2 p = texel + vec2(shift, 0.0);
    float c = coverage(p);
    float outline = dilate(p, 3.0);
    float shadow = coverage(p - vec2(5.0, 5.0));
    vec3 dark = vec3(0.05, 0.0, 0.05);
    vec4 under = over(dark, 0.9 * outline, dark, 0.35 * shadow);
    color = over(mix(textColor, vec3(1.0), 0.12), c, under.rgb, under.a);
}
