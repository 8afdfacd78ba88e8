#version 460 core
// Cube wave 2 over the c64 greetings title: big cyan glass blocks with a
// magenta neon grid on every face; a flash runs along the 39 cubes. The
// face's light comes from the vertex stage; here the highlight, the rim and
// the grid.
#include "lib/face_light.glsl"
flat in vec3 vBase;
flat in vec3 vNeon;
out vec4 FragColor;

const vec3 kGround = vec3(0.01);  // the near-black ground of the greetings title

const vec3 kCyan = vec3(0.05, 0.62, 0.78);

void main() {
    ViewLight lit = viewLight(60.0, 2.5);

    // A 4 x 4 grid of neon lines, one pixel-stable width on any face size.
    // One pixel's step in face coordinates serves the grid and the edge.
    vec2 pixel = fwidth(vUV);
    vec2 cell = abs(fract(vUV * 4.0 + 0.5) - 0.5) / (4.0 * pixel);
    float grid = 1.0 - clamp(min(cell.x, cell.y) - 0.5, 0.0, 1.0);
    vec2 d2 = min(vUV, 1.0 - vUV);
    float edge = coverBelow(min(d2.x, d2.y), 0.015, pixel.x + pixel.y);

    vec3 colour = vBase + vec3(0.85, 0.95, 1.0) * lit.specular * 0.7 + kCyan * lit.fresnel * 0.6;
    colour = mix(colour, vNeon, max(grid * 0.55, edge));
    FragColor = vec4(mix(kGround, colour, faceCoverage(min(d2.x, d2.y), pixel.x + pixel.y)), 1.0);
}
