#version 460 core
in vec2 texel;
out vec4 color;
uniform sampler2D text;
uniform vec3 textColor;
uniform float time;

// Glyph coverage at a texel position, zero outside the bitmap, filtered at
// the border as if the bitmap were padded with empty texels.
float coverage(vec2 p) {
    vec2 size = vec2(textureSize(text, 0));
    if (size.x == 0.0 || size.y == 0.0) return 0.0;
    vec2 inside = clamp(min(p + 0.5, size + 0.5 - p), 0.0, 1.0);
    return texture(text, p / size).r * inside.x * inside.y;
}

// Largest coverage on a ring of radius r around p: a dilation, for outlines and halos.
float ring(vec2 p, float r) {
    float m = 0.0;
    for (int i = 0; i < 12; ++i) {
        float a = float(i) * 0.5235988;
        m = max(m, coverage(p + r * vec2(cos(a), sin(a))));
    }
    return m;
}

// A layer (colour, alpha) laid over another, as straight alpha for the caption blend.
vec4 over(vec3 top, float topAlpha, vec3 under, float underAlpha) {
    float a = topAlpha + underAlpha * (1.0 - topAlpha);
    vec3 c = (top * topAlpha + under * underAlpha * (1.0 - topAlpha)) / max(a, 1e-4);
    return vec4(c, a);
}

// TIMBRE and KWELP: a chromatic split, magenta and cyan ghosts of every
// letter drifting apart and together, under the clean violet and over a dark
// rim and shadow that keep it off the wine red.
void main() {
    float d = 4.0 + 3.0 * sin(time * 1.3);
    float c = coverage(texel);
    float left = coverage(texel + vec2(d, 0.0));   // ghost shifted left
    float right = coverage(texel - vec2(d, 0.0));  // ghost shifted right
    float shadow = max(ring(texel, 3.0), coverage(texel - vec2(6.0, 6.0)));
    vec3 ghost = (vec3(1.0, 0.15, 0.55) * left + vec3(0.2, 0.85, 1.0) * right) / max(left + right, 1e-4);
    vec4 under = over(ghost, 0.75 * max(left, right), vec3(0.04, 0.0, 0.03), 0.8 * shadow);
    color = over(mix(textColor, vec3(1.0), 0.1), c, under.rgb, under.a);
}
