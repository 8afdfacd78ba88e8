#version 460 core
// Cube wave 1 over the near-black phrase: warm coral-to-gold cubes with ivory
// bevels, a cyan rim so they stand off the dark ground, and a bright pulse
// that runs along the row with "time". The face's light comes from the
// vertex stage; here only the highlight, the rim and the bevel.
#include "lib/face_light.glsl"
flat in vec3 vFaceColour;
flat in vec3 vBevelColour;
flat in vec3 vGlow;
out vec4 FragColor;

const vec3 kGround = vec3(0.01);  // the near-black ground of the phrase and the greetings title

const vec3 kRim = vec3(0.35, 0.80, 1.0);

void main() {
    ViewLight lit = viewLight(40.0, 3.0);

    float d = edgeDistance();
    float w = fwidth(d);
    float bevel = coverBelow(d, 0.05, w);
    float groove = coverBetween(d, 0.05, 0.07, w);

    vec3 colour = mix(vFaceColour + vec3(lit.specular * 0.5), vBevelColour, bevel);
    colour *= 1.0 - 0.45 * groove;
    colour += kRim * lit.fresnel * 0.55 + vGlow;
    FragColor = vec4(mix(kGround, colour, faceCoverage(d, w)), 1.0);
}
