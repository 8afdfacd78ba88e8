// Glyph coverage for the caption programs. `text` is the glyph's own bitmap;
// positions are in texels, y down, and run past the bitmap on the quad's
// margin. Spaces have an empty bitmap and an empty quad, so no fragment of
// theirs ever reaches these functions.
uniform sampler2D text;

// Coverage at a texel position, zero outside the bitmap, filtered at the
// border as if the bitmap were padded with empty texels.
float coverage(vec2 p) {
    vec2 size = vec2(textureSize(text, 0));
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
