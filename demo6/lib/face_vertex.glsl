// The light of the cube mesh's flat faces, worked out per vertex. On a face
// the normal and the diffuse term of a directional light are constant, and
// the view-dependent terms (the highlight's and the rim's cosines) change
// slowly and nearly linearly, so they are interpolated: the fragment stage
// (face_light.glsl) only shapes them, with no derivatives and no square roots.
#include "box_vertex.glsl"

out float vHalfFacing;  // dot(normal, half vector between light and eye)
out float vGrazing;     // 1 - dot(normal, unit vector to the eye)
flat out float vFaceDiffuse;  // the Lambert term, for programs that want it per fragment

vec3 viewPoint(vec3 p) {
    vec4 eye = view * model * vec4(grownPoint(p), 1.0);
    return eye.xyz / eye.w;
}

struct FaceVertexLight {
    vec3 n;          // the face's normal in view space, turned towards the eye
    float diffuse;   // Lambert term of the light, the same on the whole face
    float facing;    // dot(n, light): -1..1, for wrapped light
};

// Call after boxVertex(). A face seen from either side is lit.
FaceVertexLight faceVertexLight(vec3 toLight) {
    // Two steps within the face's plane, mapped like the vertex itself, span
    // the face whatever model and view do to it.
    vec3 axis = kFaceAxis[gl_VertexID / 6];
    vec3 n = normalize(cross(viewPoint(aPos + axis.yzx) - vViewPos,
                             viewPoint(aPos + axis.zxy) - vViewPos));
    vec3 v = normalize(-vViewPos);
    if (dot(n, v) < 0.0) n = -n;
    vec3 l = normalize(toLight);
    vHalfFacing = max(dot(n, normalize(l + v)), 0.0);
    vGrazing = 1.0 - clamp(dot(n, v), 0.0, 1.0);
    FaceVertexLight f;
    f.n = n;
    f.facing = dot(n, l);
    f.diffuse = max(f.facing, 0.0);
    vFaceDiffuse = f.diffuse;
    return f;
}
