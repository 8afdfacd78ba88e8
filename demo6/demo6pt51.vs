#version 460 core
// Cube wave 2: cyan glass blocks lit per face (see the .fs).
// The model matrix carries a common factor 1.5 in w.
#include "lib/face_vertex.glsl"
uniform float time;
uniform float i;
flat out vec3 vBase;  // the glass's colour under the face's diffuse light, with the flash's tint
flat out vec3 vNeon;  // the grid's colour, brightened by the flash running along the row

const vec3 kCyan = vec3(0.05, 0.62, 0.78);
const vec3 kDeep = vec3(0.02, 0.20, 0.34);
const vec3 kNeon = vec3(1.0, 0.22, 0.72);

void main() {
    // The cubes grow in and shrink away at the ends of the window ("time" is the show clock here).
    gBoxGrowth = sceneEnvelope(time, kCubeWave2Start, kCubeWave2End);
    gl_Position = boxVertex();
    FaceVertexLight lit = faceVertexLight(vec3(0.5, 0.8, 0.4));
    float flash = pow(0.5 + 0.5 * sin(time * 2.2 - i * 0.35), 10.0);
    // The flash tints the whole face, grid and glass alike.
    vec3 tint = kNeon * flash * 0.15;
    vBase = mix(kDeep, kCyan, 0.35 + 0.65 * lit.diffuse) * (mod(i, 2.0) < 1.0 ? 1.0 : 0.82) + tint;
    vNeon = kNeon * (1.1 + flash) + tint;
}
