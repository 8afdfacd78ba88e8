// The fragment side of face_vertex.glsl: the highlight and the rim of a flat
// face, shaped from the cosines the vertex stage interpolates.
#include "face.glsl"

in float vHalfFacing;
in float vGrazing;

struct ViewLight {
    float specular;
    float fresnel;
};

ViewLight viewLight(float shininess, float rim) {
    ViewLight v;
    v.specular = shine(vHalfFacing, shininess);
    v.fresnel = rimPower(vGrazing, rim);
    return v;
}
