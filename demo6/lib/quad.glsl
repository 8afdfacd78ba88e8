// Sharing values across the 2x2 pixel quads the rasteriser shades together:
// fine derivatives give each pixel its horizontal and vertical neighbour's
// value. Taps turned differently in each pixel of the quad then count four
// times over: four a pixel give a sixteen-tap dilation, two an eight-tap
// blur. The result is constant over the quad, which a soft halo or glow does
// not show.

#ifndef GL_ES
// Which way the neighbour lies along x and y: +1 or -1. Derived from the
// derivative of the pixel's parity, so it holds whichever way the quads pair.
vec2 quadSide() {
    vec2 parity = mod(floor(gl_FragCoord.xy), 2.0);
    return vec2(dFdxFine(parity.x), dFdyFine(parity.y)) * (1.0 - 2.0 * parity);
}

// The pixel's place in its quad, 0 to 3.
float quadIndex() {
    vec2 parity = mod(floor(gl_FragCoord.xy), 2.0);
    return parity.x + 2.0 * parity.y;
}

float quadMax(float v) {
    vec2 side = quadSide();
    float h = max(v, v + side.x * dFdxFine(v));
    return max(h, h + side.y * dFdyFine(h));
}

float quadMin(float v) {
    vec2 side = quadSide();
    float h = min(v, v + side.x * dFdxFine(v));
    return min(h, h + side.y * dFdyFine(h));
}

float quadMean(float v) {
    vec2 side = quadSide();
    float h = v + 0.5 * side.x * dFdxFine(v);
    return h + 0.5 * side.y * dFdyFine(h);
}
#endif

// The unit vector at angle a0 + column parity * ax + row parity * ay, for
// the pixel's place in its quad: over the quad, four turns of one vector.
// The angles are constants, so the turns cost a few multiplies and no
// per-pixel sine or cosine.
vec2 quadTurned(float a0, float ax, float ay) {
    vec2 parity = mod(floor(gl_FragCoord.xy), 2.0);
    vec2 u = vec2(cos(a0), sin(a0));
    vec2 t = mix(vec2(1.0, 0.0), vec2(cos(ax), sin(ax)), parity.x);
    u = vec2(t.x * u.x - t.y * u.y, t.y * u.x + t.x * u.y);
    t = mix(vec2(1.0, 0.0), vec2(cos(ay), sin(ay)), parity.y);
    return vec2(t.x * u.x - t.y * u.y, t.y * u.x + t.x * u.y);
}

// Four unit spokes, a right angle apart, turned by a quarter of that angle
// per pixel of the quad: over the quad, sixteen directions.
mat4x2 quadSpokes() {
    vec2 u = quadTurned(0.1963495, 0.3926991, 0.7853982);
    return mat4x2(u, vec2(-u.y, u.x), -u, vec2(u.y, -u.x));
}
#ifdef GL_ES

// ES 3.00 has no fine derivatives, and its dFdx and dFdy may be coarse (one
// value for the whole quad, as in SwiftShader and many mobile GPUs), so the
// pixels of a quad cannot hand each other their taps. There each pixel takes
// the taps of all four places of its quad itself: the same directions, at
// four times the cost, and smooth within the quad where sharing is constant.

// The parity (column, row) of place k of a quad, 0 to 3 as quadIndex() counts.
vec2 quadPlace(int k) {
    return vec2(float(k % 2), float(k / 2));
}

// quadTurned() for the place of the given parity.
vec2 quadTurnedAt(float a0, float ax, float ay, vec2 parity) {
    vec2 u = vec2(cos(a0), sin(a0));
    vec2 t = mix(vec2(1.0, 0.0), vec2(cos(ax), sin(ax)), parity.x);
    u = vec2(t.x * u.x - t.y * u.y, t.y * u.x + t.x * u.y);
    t = mix(vec2(1.0, 0.0), vec2(cos(ay), sin(ay)), parity.y);
    return vec2(t.x * u.x - t.y * u.y, t.y * u.x + t.x * u.y);
}

// quadSpokes() for the place of the given parity.
mat4x2 quadSpokesAt(vec2 parity) {
    vec2 u = quadTurnedAt(0.1963495, 0.3926991, 0.7853982, parity);
    return mat4x2(u, vec2(-u.y, u.x), -u, vec2(u.y, -u.x));
}
#endif
