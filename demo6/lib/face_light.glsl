// The fragment side of face_vertex.glsl: the view-dependent terms of a flat
// face's light, from the interpolated vector to the eye.
#include "face.glsl"

in vec3 vToEye;
in float vLightToEye;
flat in vec2 vFaceLight;

struct ViewLight {
    float specular;
    float fresnel;
};

// With v the unit vector to the eye and h = normalize(light + v):
// dot(n, v) = dot(n, vToEye) / |vToEye|, and
// dot(n, h) = (dot(n, light) + dot(n, v)) / sqrt(2 + 2 dot(light, v)).
ViewLight viewLight(float shininess, float rim) {
    float r = inversesqrt(dot(vToEye, vToEye));
    float nv = clamp(vFaceLight.y * r, 0.0, 1.0);
    float nh = (vFaceLight.x + nv) * inversesqrt(max(2.0 + 2.0 * vLightToEye * r, 1e-6));
    ViewLight v;
    v.specular = shine(max(nh, 0.0), shininess);
    v.fresnel = rimPower(1.0 - nv, rim);
    return v;
}
