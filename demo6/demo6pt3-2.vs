#version 460 core
// Cube wave 1: warm coral-to-gold cubes lit per face (see the .fs).
// The model matrix carries a common factor 1.5 in w.
#include "lib/face_vertex.glsl"
uniform float time;
uniform float i;
flat out vec3 vFaceColour;   // ambient and diffuse light of the face
flat out vec3 vBevelColour;  // the ivory bevel, lit by the face's diffuse term
flat out vec3 vGlow;         // the pulse running along the row: one value per cube

const vec3 kCoral = vec3(1.0, 0.38, 0.30);
const vec3 kGold = vec3(1.0, 0.78, 0.32);
const vec3 kIvory = vec3(1.0, 0.95, 0.84);

void main() {
    // The cubes grow in and shrink away at the ends of both windows ("time" is the show clock here).
    gBoxGrowth = max(sceneEnvelope(time, kCubeWave1Start[0], kCubeWave1End[0]),
                     sceneEnvelope(time, kCubeWave1Start[1], kCubeWave1End[1]));
    gl_Position = boxVertex();
    FaceVertexLight lit = faceVertexLight(vec3(-0.45, 0.75, 0.55));
    vec3 base = mix(kCoral, kGold, i / 29.0);
    // Wrapped light with a generous ambient: the faces turned from the key
    // stay coral and gold instead of sinking to brown, the bevels ivory
    // instead of khaki.
    vFaceColour = base * (mix(0.62, 0.72, lit.n.y * 0.5 + 0.5) + lit.diffuse * 0.4);
    vBevelColour = kIvory * (0.8 + 0.25 * lit.diffuse);
    float pulse = pow(0.5 + 0.5 * sin(time * 3.0 - i * 0.45), 8.0);
    vGlow = kIvory * pulse * 0.35;
}
