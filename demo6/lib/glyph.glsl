#include "quad.glsl"

// Glyph coverage for the caption programs. `text` is the glyph's own bitmap;
// positions are in texels, y down, and run past the bitmap on the quad's
// margin. Spaces have an empty bitmap and an empty quad, so no fragment of
// theirs ever reaches these functions.
uniform sampler2D text;

// Coverage at a texel position, zero outside the bitmap, filtered at the
// border as if the bitmap were padded with empty texels: the bilinear blend
// of the four texels around p, gathered in one fetch, which software
// renderers take for much less than a filtered tap. The gather is aimed at
// the corner the four texels share, so that it picks the same four as the
// blend's weights, whatever the rounding of p. ES 3.00 (both browser
// variants) has no gather and takes the filtered tap.
float coverage(vec2 p) {
    vec2 size = vec2(textureSize(text, 0));
    vec2 inside = clamp(min(p + 0.5, size + 0.5 - p), 0.0, 1.0);
#if __VERSION__ >= 400
    vec2 x = p - 0.5;
    vec2 below = floor(x);
    vec4 g = textureGather(text, (below + 1.0) / size);  // texels (0, 1), (1, 1), (1, 0), (0, 0)
    vec2 row = mix(g.wx, g.zy, x.x - below.x);
    return mix(row.x, row.y, x.y - below.y) * inside.x * inside.y;
#else
    return texture(text, p / size).r * inside.x * inside.y;
#endif
}

// Coverage of the texel under p, unfiltered, zero outside the bitmap: one
// texel read where a filtered tap blends four, at about half the cost in a
// software renderer. For everything drawn around the ink (halos, glows,
// outlines, shadows), whose edges the quad's sharing coarsens anyway; the
// ink itself keeps the filtered coverage.
float texelCoverage(vec2 p) {
    ivec2 q = ivec2(floor(p));
    // One unsigned test for both ends: a negative index wraps to a huge one.
    bool inside = all(lessThan(uvec2(q), uvec2(textureSize(text, 0))));
    return inside ? texelFetch(text, q, 0).r : 0.0;
}

// Largest coverage on a ring of radius r around p, sixteen directions shared
// over the pixel quad (four taps a pixel): a dilation for halos and outlines.
#ifndef GL_ES
float dilate(vec2 p, float r) {
    mat4x2 spokes = quadSpokes();
    float m = 0.0;
    for (int i = 0; i < 4; ++i) m = max(m, texelCoverage(p + r * spokes[i]));
    return quadMax(m);
}
#else
float dilate(vec2 p, float r) {
    float m = 0.0;
    for (int k = 0; k < 4; ++k) {
        mat4x2 spokes = quadSpokesAt(quadPlace(k));
        for (int i = 0; i < 4; ++i) m = max(m, texelCoverage(p + r * spokes[i]));
    }
    return m;
}
#endif

// The two spokes of a two-ring halo for this pixel, near ring first: each
// pixel of the quad looks along its own quarter of the circle, the far ring
// turned half-way between the near ring's spokes, so that over the quad each
// ring is sampled in four directions and the two together in eight.
#ifndef GL_ES
mat2 ringSpokes() {
    vec2 near = quadTurned(0.3926991, 1.5707963, 3.1415927);
    return mat2(near, mat2(0.7071068, 0.7071068, -0.7071068, 0.7071068) * near);
}

// A halo of two rings, w * dilation(near) + (1 - w) * dilation(far), for one
// tap a ring a pixel.
float twoRings(vec2 p, float near, float far, float w) {
    mat2 spokes = ringSpokes();
    return w * quadMax(texelCoverage(p + near * spokes[0])) +
           (1.0 - w) * quadMax(texelCoverage(p + far * spokes[1]));
}
#else
mat2 ringSpokesAt(vec2 parity) {
    vec2 near = quadTurnedAt(0.3926991, 1.5707963, 3.1415927, parity);
    return mat2(near, mat2(0.7071068, 0.7071068, -0.7071068, 0.7071068) * near);
}

// A halo of two rings, w * dilation(near) + (1 - w) * dilation(far), from
// four taps a ring.
float twoRings(vec2 p, float near, float far, float w) {
    float n = 0.0;
    float f = 0.0;
    for (int k = 0; k < 4; ++k) {
        mat2 spokes = ringSpokesAt(quadPlace(k));
        n = max(n, texelCoverage(p + near * spokes[0]));
        f = max(f, texelCoverage(p + far * spokes[1]));
    }
    return w * n + (1.0 - w) * f;
}
#endif

// Largest filtered coverage at r texels left, right, above and below p: a
// small dilation, smooth at its edge, for a tight ring hugging the ink (the
// spread-out texel taps above suit wider halos). One tap a pixel, each
// pixel of the quad looking one way, shared over the quad.
#ifndef GL_ES
float hug(vec2 p, float r) {
    float k = quadIndex();
    vec2 d = k < 1.5 ? vec2(k < 0.5 ? r : -r, 0.0) : vec2(0.0, k < 2.5 ? r : -r);
    return quadMax(coverage(p + d));
}
#else
// Each pixel takes the four taps itself, each from where the pixel of the
// quad that owns it stands, so that the ring is the desktop's exactly.
float hug(vec2 p, float r) {
    vec2 parity = mod(floor(gl_FragCoord.xy), 2.0);
    vec2 px = dFdx(p);
    vec2 py = dFdy(p);
    float m = 0.0;
    for (int k = 0; k < 4; ++k) {
        vec2 place = quadPlace(k);
        vec2 d = k < 2 ? vec2(k == 0 ? r : -r, 0.0) : vec2(0.0, k == 2 ? r : -r);
        m = max(m, coverage(p + (place.x - parity.x) * px + (place.y - parity.y) * py + d));
    }
    return m;
}
#endif

// The far ring of twoRings() alone: the dilation at radius r along its outer
// spokes, for a program that takes its near ring from a tap of its own.
#ifndef GL_ES
float farRing(vec2 p, float r) {
    return quadMax(texelCoverage(p + r * ringSpokes()[1]));
}
#else
float farRing(vec2 p, float r) {
    float f = 0.0;
    for (int k = 0; k < 4; ++k) f = max(f, texelCoverage(p + r * ringSpokesAt(quadPlace(k))[1]));
    return f;
}
#endif

// hug() from unfiltered texel taps: one texel read a pixel where hug() blends
// four, for a bitmap drawn at one texel a pixel whose strokes run along the
// texel grid (a block font), where a filtered edge adds nothing. Give it a
// whole number of texels: pixel centres sit on texel centres then, not on
// the borders between texels, where rounding would pick either one.
#ifndef GL_ES
float hugTexel(vec2 p, float r) {
    float k = quadIndex();
    vec2 d = k < 1.5 ? vec2(k < 0.5 ? r : -r, 0.0) : vec2(0.0, k < 2.5 ? r : -r);
    return quadMax(texelCoverage(p + d));
}
#else
float hugTexel(vec2 p, float r) {
    vec2 parity = mod(floor(gl_FragCoord.xy), 2.0);
    vec2 px = dFdx(p);
    vec2 py = dFdy(p);
    float m = 0.0;
    for (int k = 0; k < 4; ++k) {
        vec2 place = quadPlace(k);
        vec2 d = k < 2 ? vec2(k == 0 ? r : -r, 0.0) : vec2(0.0, k == 2 ? r : -r);
        m = max(m, texelCoverage(p + (place.x - parity.x) * px + (place.y - parity.y) * py + d));
    }
    return m;
}
#endif

// Smallest coverage on a ring of radius r around p, shared over the quad: an
// erosion, to find the middle of each stroke.
#ifndef GL_ES
float inner(vec2 p, float r) {
    mat4x2 spokes = quadSpokes();
    float m = 1.0;
    for (int i = 0; i < 4; ++i) m = min(m, texelCoverage(p + r * spokes[i]));
    return quadMin(m);
}
#else
float inner(vec2 p, float r) {
    float m = 1.0;
    for (int k = 0; k < 4; ++k) {
        mat4x2 spokes = quadSpokesAt(quadPlace(k));
        for (int i = 0; i < 4; ++i) m = min(m, texelCoverage(p + r * spokes[i]));
    }
    return m;
}
#endif

// Average coverage over a disc of radius r around p, eight taps shared over
// the quad (two a pixel, opposite each other, each pixel turned 45 degrees
// from the last) at four distances: a soft blur, for glows.
#ifndef GL_ES
float blur(vec2 p, float r) {
    const vec4 kReach = vec4(0.3, 0.55, 0.78, 1.0);
    int k = int(quadIndex());
    vec2 u = r * quadTurned(0.1963495, 0.7853982, 1.5707963);
    float sum = texelCoverage(p + kReach[k] * u) + texelCoverage(p - kReach[(k + 2) % 4] * u);
    return quadMean(0.5 * sum);
}
#else
float blur(vec2 p, float r) {
    const vec4 kReach = vec4(0.3, 0.55, 0.78, 1.0);
    float sum = 0.0;
    for (int k = 0; k < 4; ++k) {
        vec2 u = r * quadTurnedAt(0.1963495, 0.7853982, 1.5707963, quadPlace(k));
        sum += texelCoverage(p + kReach[k] * u) + texelCoverage(p - kReach[(k + 2) % 4] * u);
    }
    return sum * 0.125;
}
#endif
