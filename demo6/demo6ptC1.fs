#version 460 core
#include "lib/caption.glsl"

// GLIMMERTAK and LANTERNIS, half size: block letters extruded into depth, the
// extrusion swinging from side to side as if lit by a slowly swaying lamp.
flat in vec2 vDir;  // the way the extrusion runs, from the vertex stage

void main() {
    float c = coverage(texel);
    // The nearest copy behind the letter that covers this point.
    float depth = 0.0;
    float layer = 0.0;
    for (int i = 8; i >= 1; --i) {
        float k = texelCoverage(texel - vDir * float(i) * 2.2);
        if (k >= depth) {
            depth = k;
            layer = float(i);
        }
    }
    vec3 side = mix(vec3(0.16, 0.08, 0.42), vec3(0.03, 0.01, 0.09), layer / 8.0);
    color = over(mix(textColor, vec3(1.0), 0.2), c, side, depth);
}
