// The fragment side of face_vertex.glsl: the Lambert term of a flat face,
// and its highlight and rim shaped from the cosines the vertex stage
// interpolates.
#include "face.glsl"

in float vHalfFacing;
in float vGrazing;
flat in float vFaceDiffuse;

struct ViewLight {
    float diffuse;
    float specular;
    float fresnel;
};

ViewLight viewLight(float shininess, float rim) {
    ViewLight v;
    v.diffuse = vFaceDiffuse;
    v.specular = shine(vHalfFacing, shininess);
    v.fresnel = rimPower(vGrazing, rim);
    return v;
}
