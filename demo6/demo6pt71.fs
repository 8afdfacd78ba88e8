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

// Four c64 names on wine red: the raster wobbles sideways like a detuned TV
// (two slow sines through the screen rows), every letter cut out by a dark
// outline and dropping a shadow down and to the right.
void main() {
    float y = gl_FragCoord.y;
    float shift = 5.0 * sin(y * 0.045 + time * 4.0) + 3.0 * sin(y * 0.013 - time * 1.3);
    vec2 p = texel + vec2(shift, 0.0);
    float c = coverage(p);
    float outline = ring(p, 3.0);
    float shadow = coverage(p - vec2(5.0, 5.0));
    vec3 dark = vec3(0.05, 0.0, 0.05);
    vec4 under = over(dark, 0.9 * outline, dark, 0.35 * shadow);
    color = over(mix(textColor, vec3(1.0), 0.12), c, under.rgb, under.a);
}
