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

// Average coverage over a disc of radius r around p: a soft blur, for glows
// that tint the gaps between the scanlines instead of filling them flat.
float blur(vec2 p, float r) {
    float sum = 0.0;
    for (int k = 1; k <= 3; ++k)
        for (int i = 0; i < 8; ++i) {
            float a = (float(i) + 0.5 * float(k)) * 0.7853982;
            sum += coverage(p + r * float(k) / 3.0 * vec2(cos(a), sin(a)));
        }
    return sum / 24.0;
}

// A layer (colour, alpha) laid over another, as straight alpha for the caption blend.
vec4 over(vec3 top, float topAlpha, vec3 under, float underAlpha) {
    float a = topAlpha + underAlpha * (1.0 - topAlpha);
    vec3 c = (top * topAlpha + under * underAlpha * (1.0 - topAlpha)) / max(a, 1e-4);
    return vec4(c, a);
}

float hash(vec2 q) { return fract(sin(dot(q, vec2(127.1, 311.7))) * 43758.5453); }

// Greetings title: the words type themselves in from the left in the first
// second and a half, a white-hot edge leading, glowing like phosphor, and
// crumble away in blocks over the last second and a half of the window.
void main() {
    float front = 60.0 + time * 1100.0;  // screen x the reveal has reached
    float behind = front - gl_FragCoord.x;
    float gone = clamp((time - 12.5) / 1.4, 0.0, 1.0);
    if (behind < 0.0 || hash(floor(gl_FragCoord.xy / 12.0)) < gone) discard;

    float c = coverage(texel);
    float glow = blur(texel, 9.0);
    vec3 fg = mix(textColor, vec3(1.0), 0.85 * exp(-behind / 50.0));
    color = over(fg, c, vec3(0.42, 0.3, 1.0), 0.9 * glow);
}
