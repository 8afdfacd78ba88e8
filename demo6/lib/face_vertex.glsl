// The light of the cube mesh's flat faces, worked out per vertex. On a face
// the normal, the diffuse term of a directional light and the distance of
// the face's plane from the eye are constant, and the vector to the eye is
// linear, so the fragment stage (face_light.glsl) only finishes the
// highlight and the rim: no derivatives, one inverse square root.
#include "box_vertex.glsl"

out vec3 vToEye;          // from the surface to the eye, view space
out float vLightToEye;    // dot(direction to the light, vToEye)
flat out vec2 vFaceLight; // x: dot(normal, light); y: dot(normal, vToEye), the same on the whole face

// The mesh holds six vertices a face, faces in the order back, front, left,
// right, bottom, top: the axis each face is normal to.
const vec3 kFaceAxis[6] = vec3[6](vec3(0.0, 0.0, 1.0), vec3(0.0, 0.0, 1.0),
                                  vec3(1.0, 0.0, 0.0), vec3(1.0, 0.0, 0.0),
                                  vec3(0.0, 1.0, 0.0), vec3(0.0, 1.0, 0.0));

vec3 viewPoint(vec3 p) {
    vec4 eye = view * model * vec4(p, 1.0);
    return eye.xyz / eye.w;
}

// Call after boxVertex(). Returns this face's normal in view space, turned
// towards the eye as a face seen from either side is lit.
vec3 faceVertexLight(vec3 toLight) {
    // Two steps within the face's plane, mapped like the vertex itself, span
    // the face whatever model and view do to it.
    vec3 axis = kFaceAxis[gl_VertexID / 6];
    vec3 n = normalize(cross(viewPoint(aPos + axis.yzx) - vViewPos,
                             viewPoint(aPos + axis.zxy) - vViewPos));
    vToEye = -vViewPos;
    if (dot(n, vToEye) < 0.0) n = -n;
    vec3 l = normalize(toLight);
    vLightToEye = dot(l, vToEye);
    vFaceLight = vec2(dot(n, l), dot(n, vToEye));
    return n;
}
