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

// The phrase: a horizontal wave runs through the letters, their strokes
// rippling up and down as it travels to the right; the crests catch light.
void main() {
    float phase = gl_FragCoord.x * 0.011 - time * 2.2;
    vec2 p = texel + vec2(0.0, 6.0 * sin(phase));
    float c = coverage(p);
    float halo = 0.5 * ring(p, 4.0) + 0.5 * ring(p, 10.0);
    vec3 fg = mix(textColor, vec3(0.8, 0.75, 1.0), 0.35 * max(sin(phase), 0.0));
    color = over(fg, c, vec3(0.45, 0.3, 1.0), 0.4 * halo);
}
