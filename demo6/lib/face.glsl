// Flat-shaded faces of the cube mesh: the fragment side of box_vertex.glsl.
in vec3 vViewPos;  // view space
in vec2 vUV;       // spans 0..1 on every face: used for bevels
in vec3 vObj;      // mesh position, -0.5..0.5

// Distance from the nearest edge of the face, in face coordinates (0..0.5).
float edgeDistance() {
    vec2 d2 = min(vUV, 1.0 - vUV);
    return min(d2.x, d2.y);
}

// The share of the pixel where the edge distance d lies below `edge`,
// prefiltered: a box filter over the pixel's footprint, whose width in d is
// w (fwidth(d)). d never goes below 0, so at the face's rim the footprint is
// cut there, and a band narrower than a pixel fades to the share of the pixel
// it covers instead of breaking into dots. A coarse w (the browser's
// derivatives may be one value for the quad) only widens the ramp.
float coverBelow(float d, float edge, float w) {
    float lo = max(d - 0.5 * w, 0.0);
    float hi = max(d + 0.5 * w, lo + 1e-6);
    return clamp((edge - lo) / (hi - lo), 0.0, 1.0);
}

// The share of the pixel where d lies between a and b (a < b): a groove or
// an inset frame, prefiltered as above.
float coverBetween(float d, float a, float b, float w) {
    return coverBelow(d, b, w) - coverBelow(d, a, w);
}

// How much of the pixel the face covers, from the distance of the pixel's
// centre to the face's nearest edge in pixels: the edge distance d (face
// coordinates) over its screen-space width w (fwidth(d), which the bevels
// take anyway), constant along a face, where d changes linearly, and so as
// good from the browser's coarse derivatives. The scenes draw with no
// blending and no multisampling; mixing a face towards its block's ground by
// this share turns every silhouette's stair into a ramp, and where the edge
// meets another face it leaves a thin dark line, which is the style.
float faceCoverage(float d, float w) {
    return clamp(0.5 + d / max(w, 1e-6), 0.0, 1.0);
}

// A specular highlight x^n for x = dot(normal, half vector), as
// (1 - n (1 - x) / 16)^16: four squarings, the same lobe as pow() where it
// shows, for a fraction of its cost in software.
float shine(float x, float n) {
    float y = max(1.0 - n * (1.0 - x) * 0.0625, 0.0);
    y *= y;
    y *= y;
    y *= y;
    return y * y;
}

// A rim term t^p for the usual small p, without pow().
float rimPower(float t, float p) {
    if (p == 2.0) return t * t;
    if (p == 3.0) return t * t * t;
    if (p == 2.5) return t * t * sqrt(t);
    return pow(t, p);
}
