// The cube mesh seen through model, view and projection: view-space position
// (w divided out: the cube waves' model matrix carries a common factor in w,
// which the perspective divide cancels), face coordinates for bevels and the
// mesh position for effects along the box.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec2 aTexCoord;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 vViewPos;  // view space
out vec2 vUV;       // spans 0..1 on every face: used for bevels
out vec3 vObj;      // mesh position, -0.5..0.5

// Writes the outputs above and returns the clip-space position.
vec4 boxVertex() {
    vec4 eye = view * model * vec4(aPos, 1.0);
    vViewPos = eye.xyz / eye.w;
    vUV = aTexCoord;
    vObj = aPos;
    return projection * eye;
}
