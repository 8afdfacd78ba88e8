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

// GLIMMERTAK and LANTERNIS, half size: block letters extruded into depth, the
// extrusion swinging from side to side as if lit by a slowly swaying lamp.
void main() {
    vec2 dir = vec2(cos(time * 0.6), 0.6 + 0.4 * sin(time * 0.9));  // texel y points down
    float c = coverage(texel);
    // The nearest copy behind the letter that covers this point.
    float depth = 0.0;
    float layer = 0.0;
    for (int i = 8; i >= 1; --i) {
        float k = coverage(texel - dir * float(i) * 2.2);
        if (k >= depth) {
            depth = k;
            layer = float(i);
        }
    }
    vec3 side = mix(vec3(0.16, 0.08, 0.42), vec3(0.03, 0.01, 0.09), layer / 8.0);
    color = over(mix(textColor, vec3(1.0), 0.2), c, side, depth);
}
