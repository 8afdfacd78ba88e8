#version 460 core
// The image quad placed beside the caption it answers (kPlaces below; where
// a picture has no place of its own, where "trans" puts it), with a gentle
// hand-held sway. The quad goes straight to clip space, so its width is
// narrowed by the screen's 9/16 around its own centre: square pictures stay
// square on a 16:9 screen, and the centre stays where it was placed.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aColor;
layout (location = 2) in vec2 aTexCoord;

out vec2 TexCoord;
out vec3 ShadowTint;
out float Presence;

uniform mat4 trans;
uniform float time;

// The image windows, so each picture can ink in and fade out at its ends.
#include "timeline.glsl"  // generated: kImageStarts, kImageEnds, kEndCardStart, kShowEnd
const float kFadeIn = 0.6;
const float kFadeOut = 0.45;
// A little larger than the bare quad, so the lettering reads from the back of the room.
const float kSize = 1.3;

// Where each picture stands, centre in clip space and size: beside the
// captions it answers, never on their ink. The phrase fills the screen from
// 15 to 38 s but for the room right of its first line, where "what?" and
// then "where?" stand; in the last seconds the closing names leave room
// right of their second and third lines, for "the last one" and the end
// card. A size of 0 keeps the place "trans" gives.
const vec3 kPlaces[kImageCount] = vec3[](vec3(0.84, 0.36, 0.8), vec3(0.84, 0.36, 0.8), vec3(0.0), vec3(0.0),
                                         vec3(0.0), vec3(0.0), vec3(0.0), vec3(0.47, 0.3, 0.85));
const vec3 kEndCardPlace = vec3(0.7, -0.28, 0.8);

float presence(float start, float end) {
    if (time < start || time > end) return 0.0;
    return smoothstep(start, start + kFadeIn, time) * (1.0 - smoothstep(end - kFadeOut, end, time));
}

void main() {
    float p = 0.0;
    vec3 place = vec3(0.0);
    // From 290 s a second, unscaled quad is the closing card; it has its own window.
    bool closingCard = time > kEndCardStart && trans[0][0] < 1.1;
    if (closingCard) {
        p = presence(kEndCardStart, kShowEnd);
        place = kEndCardPlace;
    } else {
        for (int i = 0; i < kImageCount; ++i) {
            float here = presence(kImageStarts[i], kImageEnds[i]);
            if (here > p) place = kPlaces[i];
            p = max(p, here);
        }
    }

    // Each picture sways with its own phase (taken from where it sits).
    float phase = dot(trans[3].xy, vec2(7.1, 3.7));
    float angle = 0.035 * sin(time * 1.3 + phase) + 0.012 * sin(time * 2.9 + phase * 1.7);
    float grow = kSize * mix(0.88, 1.0, p) * (1.0 + 0.012 * sin(time * 2.1 + phase));
    mat2 turn = mat2(cos(angle), sin(angle), -sin(angle), cos(angle));

    // Turned and grown about the centre that "trans" gives, in square units,
    // and only then narrowed, so the sway is a true turn on screen.
    vec4 centre = trans * vec4(0.0, 0.0, 0.0, 1.0);
    vec4 placed = trans * vec4(aPos, 1.0);
    if (place.z > 0.0) {
        // The picture's own place: its centre moved there, its size set (the
        // quad is a unit square about its centre before "trans" scales it).
        placed.xy = place.xy + (placed.xy - centre.xy) / max(trans[0][0], 1e-6) * place.z;
        centre.xy = place.xy;
    }
    vec2 offset = turn * (placed.xy - centre.xy) * grow;
    offset.y += 0.006 * sin(time * 1.7 + phase);
    offset.x *= 1080.0 / 1920.0;
    gl_Position = vec4(centre.xy + offset, placed.z, placed.w);

    TexCoord = aTexCoord;
    ShadowTint = aColor;
    Presence = p;
}
