#version 460 core
// Pillar row over the wine-red topaz names: the 23 pillars are the bars of
// an LED level meter. Each bar fills to a level that bounces with "timer"
// and its index; lit segments run cyan to gold to ivory up the bar, unlit
// ones show the same ramp dimmed, like a meter's unlit LEDs, never darker
// than the ground.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

// The wine red, darkened: silhouettes soften into it, and where an edge
// meets another face it leaves a thin dark line, not a wine-red fringe.
const vec3 kGround = vec3(0.41, 0.14, 0.2) * 0.5;

uniform float toinenaste;
flat in float vLevel;
flat in float vOnScale;
flat in float vOffScale;

const vec3 kCyan = vec3(0.25, 0.90, 1.0);
const vec3 kGold = vec3(1.0, 0.78, 0.25);
const vec3 kIvory = vec3(1.0, 0.96, 0.88);

void main() {
    ViewLight light = viewLight(1.0, 3.0);

    float h = vObj.y + 0.5;                  // 0 at the foot, 1 at the top
    float segment = fract(h * 14.0);
    float gap = smoothstep(0.0, 0.12, segment) * (1.0 - smoothstep(0.82, 0.94, segment));
    // Segments closer together than a few pixels fade to their average
    // instead of beating against the pixel grid.
    gap = mix(gap, 0.8, smoothstep(0.25, 0.6, fwidth(h * 14.0)));
    float lit = step(h, vLevel);

    vec3 ramp = h < 0.5 ? mix(kCyan, kGold, h * 2.0) : mix(kGold, kIvory, h * 2.0 - 1.0);
    vec3 on = ramp * vOnScale;
    vec3 colour = mix(ramp * vOffScale, on, lit * gap);
    colour += kCyan * light.fresnel * 0.25;
    float d = edgeDistance();
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, fwidth(d))), 1.0);
}
