// Flat-shaded faces of the cube mesh: the fragment side of box_vertex.glsl.
in vec3 vViewPos;  // view space
in vec2 vUV;       // spans 0..1 on every face: used for bevels
in vec3 vObj;      // mesh position, -0.5..0.5

// Distance from the nearest edge of the face, in face coordinates (0..0.5).
float edgeDistance() {
    vec2 d2 = min(vUV, 1.0 - vUV);
    return min(d2.x, d2.y);
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
