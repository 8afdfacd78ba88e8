#version 460 core
// Instanced boxes and slabs. Neighbouring instances share face planes (they
// differ by small translations only), so each instance is nudged a hair
// towards the camera by its index: coplanar faces then resolve cleanly to
// the later instance instead of flickering.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec2 aTexCoord;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;
uniform float i;

out vec3 vViewPos;  // view space
out vec2 vUV;       // spans 0..1 on every face: used for bevels
out vec3 vObj;      // mesh position, -0.5..0.5

void main() {
    vec4 eye = view * model * vec4(aPos, 1.0);
    vViewPos = eye.xyz / eye.w;
    vUV = aTexCoord;
    vObj = aPos;
    gl_Position = projection * eye;
    gl_Position.z -= i * 2.0e-6 * gl_Position.w;
}
