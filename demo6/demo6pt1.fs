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

// Opening title and credits card: a slow shimmer, a band of light sweeping
// diagonally across the words every four seconds, over a soft halo that
// stands out from the ground: light around dark text, dark around light text.
void main() {
    float c = coverage(texel);
    float halo = 0.4 * ring(texel, 4.0) + 0.35 * ring(texel, 8.0) + 0.25 * ring(texel, 13.0);
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
