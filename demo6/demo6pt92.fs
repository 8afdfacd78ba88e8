#version 460 core
// Pillar row over the wine-red topaz names: the 23 pillars are the bars of
// an LED level meter. Each bar fills to a level that bounces with "timer"
// and its index; lit segments run cyan to gold to ivory up the bar, unlit
// ones stay dark navy glass.
#include "lib/face_light.glsl"
#include "lib/scene_uniforms.glsl"
out vec4 FragColor;

uniform float timer;
uniform float toinenaste;

const vec3 kCyan = vec3(0.25, 0.90, 1.0);
const vec3 kGold = vec3(1.0, 0.78, 0.25);
const vec3 kIvory = vec3(1.0, 0.96, 0.88);
const vec3 kUnlit = vec3(0.05, 0.07, 0.16);

void main() {
    ViewLight light = viewLight(1.0, 3.0);

    // "timer" is the local time of the window (0 to 35 s).
    float phase = timer * 2.3 + i * 0.55;
    float level = 0.55 + 0.4 * sin(phase) * (0.65 + 0.35 * sin(timer * 0.7 + i * 0.21));
    float h = vObj.y + 0.5;                  // 0 at the foot, 1 at the top
    float segment = fract(h * 14.0);
    float gap = smoothstep(0.0, 0.12, segment) * (1.0 - smoothstep(0.82, 0.94, segment));
    float lit = step(h, level);

    vec3 ramp = h < 0.5 ? mix(kCyan, kGold, h * 2.0) : mix(kGold, kIvory, h * 2.0 - 1.0);
    // The bar on the slow beat of "beer" flares a little brighter.
    float beat = 0.5 + 0.5 * cos(beer * 0.8 + rootone - roottwo * 0.1 + rootthree);
    vec3 on = ramp * (0.75 + 0.35 * light.diffuse + 0.2 * beat);
    vec3 off = kUnlit * (0.6 + 0.6 * light.diffuse);
    vec3 colour = mix(off, on, lit * gap);
    colour += kCyan * light.fresnel * 0.25;
    FragColor = vec4(colour, 1.0);
}
