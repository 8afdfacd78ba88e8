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

float hash(vec2 q) { return fract(sin(dot(q, vec2(127.1, 311.7))) * 43758.5453); }

// Smallest coverage on a ring of radius r around p: an erosion, to find the
// middle of each stroke.
float inner(vec2 p, float r) {
    float m = 1.0;
    for (int i = 0; i < 12; ++i) {
        float a = float(i) * 0.5235988;
        m = min(m, coverage(p + r * vec2(cos(a), sin(a))));
    }
    return m;
}

// VESKA and STORMPINE on dark red: violet neon tubes, white-hot in the middle
// of each stroke, in a wide glow that hums and now and then flickers.
void main() {
    float c = coverage(texel);
    float halo = 0.45 * ring(texel, 4.0) + 0.35 * ring(texel, 9.0) + 0.2 * ring(texel, 15.0);
    float power = (0.85 + 0.15 * sin(time * 5.0)) * (hash(vec2(floor(time * 14.0), 3.7)) > 0.93 ? 0.5 : 1.0);
    vec3 tube = mix(mix(textColor, vec3(1.0), 0.15), vec3(0.95, 0.88, 1.0), 0.7 * power * inner(texel, 5.0));
    vec3 glow = mix(textColor, vec3(0.65, 0.45, 1.0), 0.5);
    color = over(tube, c, glow, 0.6 * power * halo);
}
