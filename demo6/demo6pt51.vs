#version 460 core
// Cube wave: the model matrix carries a common factor 1.5 in w (cancelled by
// the perspective divide), so view-space positions are divided by w before
// the fragment stage lights them.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec2 aTexCoord;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 vViewPos;  // view space, w divided out
out vec2 vUV;       // spans 0..1 on every face: used for bevels
out vec3 vObj;      // mesh position, -0.5..0.5

void main() {
    vec4 eye = view * model * vec4(aPos, 1.0);
    vViewPos = eye.xyz / eye.w;
    vUV = aTexCoord;
    vObj = aPos;
    gl_Position = projection * eye;
}
