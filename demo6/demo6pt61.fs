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

// GRAVELMIST and FLiNTWEAvE on wine red: a dark outline cuts the violet free
// of the ground, and a band of lilac light rises and falls through the
// letters, a little later in each one from left to right.
void main() {
    float c = coverage(texel);
    float outline = 0.55 * ring(texel, 3.0) + 0.45 * ring(texel, 6.0);
    float rows = max(float(textureSize(text, 0).y), 1.0);
    float v = 1.0 - texel.y / rows;  // 0 at the bitmap's bottom, 1 at its top
    float level = 0.5 + 0.55 * sin(time * 2.0 - gl_FragCoord.x * 0.004);
    float light = exp(-pow((v - level) / 0.14, 2.0));
    vec3 fg = mix(textColor, vec3(0.82, 0.74, 1.0), 0.65 * light);
    color = over(fg, c, vec3(0.06, 0.0, 0.06), 0.85 * outline);
}
