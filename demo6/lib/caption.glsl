// The caption programs' interface: the fragment's place in its glyph bitmap,
// the straight-alpha colour the caption blend takes, and what every caption
// draw sends; with the glyph coverage and layering helpers.
in vec2 texel;
out vec4 color;
uniform vec3 textColor;
uniform float time;

#include "glyph.glsl"
#include "blend.glsl"
