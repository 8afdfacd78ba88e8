#version 460 core
// Cube sweep: mint tiles lit per face; the colour of a face under its light
// and the beat's glow, the same over the whole face, are worked out here
// once (see the .fs).
#include "lib/face_vertex.glsl"
#include "lib/scene_uniforms.glsl"
flat out vec3 vBase;      // the face's colour under the key light and the glow
flat out float vGlow;     // the gold glow of the cube on the beat
flat out vec3 vGoldGlow;  // the glow's own light on the face

const vec3 kMint = vec3(0.30, 0.92, 0.76);
const vec3 kTeal = vec3(0.05, 0.38, 0.40);
const vec3 kGold = vec3(1.0, 0.80, 0.30);

void main() {
    // The cubes grow in and shrink away at the ends of the window ("time" counts from its start).
    gBoxGrowth = sceneEnvelope(time, 0.0, kCubeSweepLength);
    gl_Position = boxVertex();
    FaceVertexLight lit = faceVertexLight(vec3(-0.5, 0.7, 0.5));  // the key light, per face
    // Instanced boxes and slabs. Neighbouring instances share face planes (they
    // differ by small translations only), so each instance is nudged a hair
    // towards the camera by its index: coplanar faces then resolve cleanly to
    // the later instance instead of flickering.
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;

    float glow = exp(-beer * beer * 0.35);
    vec3 base = mix(kTeal, kMint, 0.4 + 0.6 * lit.diffuse);
    base = mix(base, kGold * (0.8 + 0.4 * lit.diffuse), glow);
    vBase = base * (0.85 + 0.15 * sin(rootone * 3.0));
    vGlow = glow;
    vGoldGlow = kGold * glow * 0.25;
}
