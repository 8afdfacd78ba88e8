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

// The mesh holds six vertices a face, faces in the order back, front, left,
// right, bottom, top: the axis each face is normal to.
const vec3 kFaceAxis[6] = vec3[6](vec3(0.0, 0.0, 1.0), vec3(0.0, 0.0, 1.0),
                                  vec3(1.0, 0.0, 0.0), vec3(1.0, 0.0, 0.0),
                                  vec3(0.0, 1.0, 0.0), vec3(0.0, 1.0, 0.0));

#include "timeline.glsl"  // generated: each scene's window (kCubeSweepStart, kCubeSweepLength, ...)

// How far every box of the scene has grown about its own centre, 0 to 1: a
// scene sets it before boxVertex() to enter and leave (sceneEnvelope()), so
// that nothing pops on or off. 1 draws the mesh as it is.
float gBoxGrowth = 1.0;

// 0 outside the window [start, end], rising smoothly to 1 over its first
// half second and falling back over its last: the growth of a scene that
// enters at start and leaves at end, in the same clock as t. The windows come
// from timeline.glsl: on the show clock kXStart to kXEnd, on a clock that
// starts with the window 0 to kXLength.
float sceneEnvelope(float t, float start, float end) {
    return smoothstep(start, start + 0.5, t) * (1.0 - smoothstep(end - 0.5, end, t));
}

// The mesh point p as the scene draws it: grown about the box's centre.
vec3 grownPoint(vec3 p) {
    return p * gBoxGrowth;
}

// Whether the eye lies outside the plane of this vertex's face. The box is
// closed and convex, so a face turned away always hides behind one turned
// towards the eye; the scenes draw with culling off, and in software those
// hidden faces cost as much to fill as the ones that show. The test runs in
// mesh space, where the face's outward normal is its axis signed by the
// vertex; a degenerate model (no inverse) keeps every face.
bool facesEye() {
    vec4 eye = inverse(view * model) * vec4(0.0, 0.0, 0.0, 1.0);
    vec3 axis = kFaceAxis[gl_VertexID / 6];
    vec3 outward = axis * sign(dot(aPos, axis));
    return !(dot(eye.xyz / eye.w - grownPoint(aPos), outward) < 0.0);
}

// Writes the outputs above and returns the clip-space position; the faces
// turned away from the eye go wholly outside the clip volume, where the
// rasteriser drops them before any fragment, and so does a box that has not
// grown yet (or is gone).
vec4 boxVertex() {
    vec4 eye = view * model * vec4(grownPoint(aPos), 1.0);
    vViewPos = eye.xyz / eye.w;
    vUV = aTexCoord;
    vObj = aPos;
    if (gBoxGrowth <= 0.01) return vec4(2.0, 2.0, 2.0, 1.0);
    return facesEye() ? projection * eye : vec4(2.0, 2.0, 2.0, 1.0);
}
