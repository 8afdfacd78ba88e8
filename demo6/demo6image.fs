#version 460 core
// Ink on transparent ground, with a soft blue-black drop shadow so the light
// inks read over any caption or scene. The texture's own filter is nearest,
// so edges are smoothed here by sampling the pixel's footprint four times.
in vec2 TexCoord;
in vec3 ShadowTint;
in float Presence;
out vec4 FragColor;

// Every image is bound on unit 0; the other samplers are set at start-up.
uniform sampler2D texture1;
uniform sampler2D texture2;
uniform sampler2D texture3;
uniform sampler2D texture4;
uniform sampler2D texture5;
uniform sampler2D texture6;
uniform sampler2D texture7;
uniform sampler2D texture9;
uniform float time;

#include "lib/quad.glsl"

// Outside the picture there is nothing (the texture itself would repeat).
vec4 picture(vec2 uv) {
    if (any(lessThan(uv, vec2(0.0))) || any(greaterThan(uv, vec2(1.0)))) return vec4(0.0);
    return texture(texture1, uv);
}

vec4 smoothed(vec2 uv) {
    vec2 dx = dFdx(uv) * 0.25;
    vec2 dy = dFdy(uv) * 0.25;
    // Premultiplied, so transparent texels do not pull the colour towards theirs.
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 4; ++i) {
        vec2 o = vec2(i == 1 || i == 3 ? 1.0 : -1.0, i >= 2 ? 1.0 : -1.0);
        vec4 c = picture(uv + o.x * dx + o.y * dy);
        sum += vec4(c.rgb * c.a, c.a);
    }
    return sum * 0.25;
}

float shadowCover(vec2 uv) {
    // Cast down and to the right, blurred over a few texels: two taps a
    // pixel around the 3 x 3 pattern, by the pixel's place in its quad,
    // averaged over the quad.
    const vec2 kAround[8] = vec2[](vec2(-1.0, -1.0), vec2(1.0, 1.0), vec2(1.0, -1.0), vec2(-1.0, 1.0),
                                   vec2(0.0, -1.0), vec2(0.0, 1.0), vec2(-1.0, 0.0), vec2(1.0, 0.0));
    vec2 at = uv + vec2(-0.018, 0.024);
#ifndef GL_ES
    int k = 2 * int(quadIndex());
    float sum = picture(at + kAround[k] * 0.007).a + picture(at + kAround[k + 1] * 0.007).a;
    return quadMean(0.5 * sum);
#else
    // Without fine derivatives each pixel takes all eight taps itself.
    float sum = 0.0;
    for (int k = 0; k < 8; ++k) sum += picture(at + kAround[k] * 0.007).a;
    return sum * 0.125;
#endif
}

void main() {
    vec4 ink = smoothed(TexCoord);
    // A faint sheen drifting across the wet ink.
    float sheen = 1.0 + 0.06 * sin(time * 1.8 + (TexCoord.x - TexCoord.y) * 7.0);
    vec3 inkColour = min(ink.rgb * sheen, vec3(1.0));

    float shadow = 0.5 * shadowCover(TexCoord) * (1.0 - ink.a);
    vec3 shadowColour = ShadowTint * 0.25;
    float alpha = ink.a + shadow;
    if (alpha <= 0.0) discard;
    vec3 colour = (inkColour + shadowColour * shadow) / alpha;
    FragColor = vec4(colour, alpha * Presence);
}
